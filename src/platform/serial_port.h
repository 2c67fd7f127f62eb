// Serial ports (POSIX termios). Ports are named as the settings store them:
// "COMn" opens the device that the link "ports/comn" in the working
// directory points to, else /dev/ttyS<n-1>; a name beginning with "/dev/" is
// opened as it stands; "COM0" and "NONE" mean no port. Ports are opened
// exclusive, non-blocking, raw 8N1. Reads never wait; writes give up after
// 10 ms + 10 ms per byte.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

using PortHandle = int;
constexpr PortHandle kInvalidPort = -1;

struct SerialConfig {
    long baud = 19200;
    bool ctsOutputFlow = false;  // hold output while CTS is low
    bool rtsHandshake = false;   // RTS follows the receive buffer
    bool dtrHandshake = false;   // DTR enabled by the line settings: raised on open
    int eventChar = -1;          // informational; reads never wait for it
    // Writes never wait (accessory ports): what the driver does not take at
    // once is not waited for. The rest of a message begun is kept and goes
    // out first, on later writes and reads, so the device never sees half a
    // message; while it waits the port takes nothing more (the port is left
    // behind, its new output dropped, and the caller decides what to keep).
    bool noWaitWrites = false;
};

enum class PortError {
    None,
    NoPort,      // "COM0"/"NONE"/empty: nothing to open
    NotFound,    // the device does not exist
    InUse,       // another program holds it
    NoAccess,    // permissions
    Other,
};

// True for the names that mean "no port": "", "0", "COM0", "NONE" (any case).
bool IsNoPortName(const std::string& name);
// Device path for a settings port name; empty for a no-port name or a name
// that is neither "COMn" nor a "/dev/" path.
std::string ResolvePortName(const std::string& name);

// The serial ports a port list offers, without opening any of them: the
// "COMn" links of "ports/" in the working directory (by number), then the
// system's serial devices by their short kernel names (USB and ACM devices,
// and the ttyS ports that have a UART behind them), each device once. A
// stable name for a USB adapter is a ports/comN link to its by-id path.
std::vector<std::string> ListSerialPorts();

// Opens and configures a port; DTR is left raised only with dtrHandshake,
// RTS dropped unless rtsHandshake hands it to the driver. On failure returns kInvalidPort and sets `err`
// (and `errText`, a short human text such as "does not exist").
PortHandle SerialOpen(const std::string& name, const SerialConfig& cfg, PortError* err = nullptr,
                      std::string* errText = nullptr);
// The error of the last failed SerialOpen, with the system's error number
// (0 when there was none), like the last-error code of the platform the
// program's error boxes were written for.
PortError SerialLastError(int* code = nullptr);
// Closes the port and marks the handle invalid. A noWaitWrites port whose
// device stopped taking its output drops it, so the close cannot wait on it.
void SerialClose(PortHandle& h);
bool SerialIsOpen(PortHandle h);
bool SerialSetBaud(PortHandle h, long baud);
// Bytes read (0 when nothing is buffered), or -1 when the port failed (for
// example a USB adapter that was unplugged, or the far end of a
// pseudo-terminal closed); the caller closes it and reports once.
int SerialRead(PortHandle h, std::uint8_t* buf, int max);
// Bytes written before the time-out (fewer than `len` is a short write), or
// -1 on a port error. On a port opened with noWaitWrites: `len` when the
// message was taken (its tail may still wait in the program), 0 when the
// port is still behind with an earlier one and took nothing, -1 on an error.
int SerialWrite(PortHandle h, const std::uint8_t* data, int len);
// The system error of the last SerialWrite that returned -1 (0 after one
// that did not).
int SerialWriteError();
// True for the errors of a device that is gone for good (a hung-up line, an
// unplugged adapter, a closed descriptor); a full line is not one.
bool SerialDeviceGone(int err);
// Moves on what a noWaitWrites port still owes of an earlier message;
// returns the bytes still waiting (0: the port has caught up).
int SerialWriteBacklog(PortHandle h);
// Discards buffered input and output.
void SerialPurge(PortHandle h, bool tx = true, bool rx = true);
// Modem lines. Return false with an error code when the line could not be
// set; a device without modem lines (a pseudo-terminal) reports success.
bool SerialSetDTR(PortHandle h, bool on, int* errorCode = nullptr);
bool SerialSetRTS(PortHandle h, bool on, int* errorCode = nullptr);
// CTS; a device without modem lines reads as CTS off and reports success.
bool SerialGetCTS(PortHandle h, bool* on);
// Bytes waiting to be read (0 when unknown).
int SerialPending(PortHandle h);
// Bytes moved on a device since the program started, over every handle it
// had open on it (a purge counts as read), and bytes buffered for reading
// now. `name` is a settings port name or a device path; all zero for a
// device never opened. A harness compares them with the far end's own counts.
struct SerialTrafficCount {
    std::uint64_t written = 0;
    std::uint64_t read = 0;
    std::uint64_t pending = 0;
};
SerialTrafficCount SerialTraffic(const std::string& name);
// Waits up to `ms` real milliseconds (also under the manual clock: a device
// answers in real time) until `count` bytes are buffered; returns the
// bytes buffered then. For device searches only.
int SerialWaitForInput(PortHandle h, int count, int ms);

// Ports a device search may try: "COMn" for every ports/comn link in the
// working directory (n = 1..100), then every /dev/ttyACM device.
std::vector<std::string> SerialSearchNames();
// True when two port names lead to the same device.
bool SamePortDevice(const std::string& a, const std::string& b);

}  // namespace plat
