// Station hardware that is neither a serial port nor a socket: USB HID
// devices (hidapi), FTDI boards in bit-bang mode (libftdi1) and the
// parallel port (Linux ppdev). Each is an object behind a small interface;
// an opener returns null when the library or the device is absent, which
// the program treats as a missing device. Tests install openers of their
// own that return fakes.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace plat {

class HidDevice {
public:
    virtual ~HidDevice() = default;
    // Writes one output report; data[0] is the report id (0 for a device
    // with unnumbered reports). Bytes written, or -1.
    virtual int Write(const std::uint8_t* data, int length) = 0;
    // Reads one input report into data[1..] and sets data[0] to the report
    // id 0, so that byte positions count as on the wire of a device with
    // unnumbered reports whatever the backend leaves out. Returns the
    // report length including that byte, 0 on time-out, -1 on failure.
    virtual int Read(std::uint8_t* data, int length, int timeoutMs) = 0;
    // Sends a feature report (data[0] is the report id). Bytes sent, or -1.
    virtual int SendFeature(const std::uint8_t* data, int length) = 0;
};

class FtdiDevice {
public:
    virtual ~FtdiDevice() = default;
    virtual bool SetBaud(int baud) = 0;
    // Bit-bang mode: `mask` selects the output pins, `mode` 1 asynchronous.
    virtual bool SetBitMode(std::uint8_t mask, std::uint8_t mode) = 0;
    virtual bool SetTimeouts(int readMs, int writeMs) = 0;
    // Bytes written, or -1.
    virtual int Write(const std::uint8_t* data, int length) = 0;
};

class ParallelPort {
public:
    virtual ~ParallelPort() = default;
    // Writes the data register (the base address of the port).
    virtual bool WriteData(std::uint8_t value) = 0;
    // Writes the control register (base + 2): strobe, auto-feed, init and
    // select-in, as the register holds them (the port inverts strobe,
    // auto-feed and select-in on the pins itself).
    virtual bool WriteControl(std::uint8_t value) = 0;
    // The open device (ppdev) for a fault's last write; -1 when there is none.
    virtual int Descriptor() const { return -1; }
};

// Opens the first HID device with this vendor and product id.
std::unique_ptr<HidDevice> OpenHid(std::uint16_t vendor, std::uint16_t product);
// Opens the first FTDI device whose description is `description`.
std::unique_ptr<FtdiDevice> OpenFtdiByDescription(const std::string& description);
// Opens the parallel port device ("/dev/parport0") and claims it.
std::unique_ptr<ParallelPort> OpenParallelPort(const std::string& device);

// Test seams: replace an opener (null restores the real one).
void SetHidOpener(std::function<std::unique_ptr<HidDevice>(std::uint16_t, std::uint16_t)> opener);
void SetFtdiOpener(std::function<std::unique_ptr<FtdiDevice>(const std::string&)> opener);
void SetParallelOpener(std::function<std::unique_ptr<ParallelPort>(const std::string&)> opener);

}  // namespace plat
