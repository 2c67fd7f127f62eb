// What the serial accessories share: the opener, the traced writer and the
// receive buffer with a bounded carry.
#pragma once
#include <cstdint>

#include "platform/serial_port.h"

// Opens `portName` 8N1 at `baud` into `handle` (closing what it held). A
// name that means "no port" leaves the device absent without a box; a
// failed open shows the port error for `device` once. The port is
// registered under its name so that a later defect is reported by name.
plat::PortHandle OpenDevicePort(plat::PortHandle& handle, const char* device, const char* portName, long baud);

// Writes `length` bytes to `port` after tracing `sendText` and each byte as
// two hex digits and a blank; a short write traces `failFormat` with the
// counts requested and written. A failed port is reported defective.
// Returns the bytes written (0 when the port is absent).
int WriteDevice(plat::PortHandle& port, const char* sendText, const char* failFormat, const std::uint8_t* data,
                int length);

// `prefix` + each byte as "%02X " in one trace line.
void TraceHex(const char* prefix, const std::uint8_t* data, int length);

// Receive buffer of a serial accessory: new bytes go behind the carry of an
// unfinished record. A reader that finds the carry full drops it, so noise
// can never leave the device unheard.
struct DeviceCarry {
    static constexpr int kSize = 90;
    std::uint8_t buf[kSize + 1] = {};
    int len = 0;

    // Reads what the port holds behind the carry; returns the new byte count
    // (0 when nothing came, -1 when the port failed and was closed).
    int ReadFrom(plat::PortHandle& port);
    // Keeps bytes from `from` on as the new carry.
    void KeepFrom(int from);
};
