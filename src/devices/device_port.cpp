#include "devices/device_port.h"

#include <cstring>
#include <string>

#include "base/trace_log.h"
#include "civ/accessory_ports.h"

plat::PortHandle OpenDevicePort(plat::PortHandle& handle, const char* device, const char* portName, long baud) {
    plat::SerialClose(handle);
    if (plat::IsNoPortName(portName)) return plat::kInvalidPort;
    plat::SerialConfig cfg;
    cfg.baud = baud;
    // A device that stops reading must not hold up the UI thread.
    cfg.noWaitWrites = true;
    handle = plat::SerialOpen(portName, cfg);
    if (handle == plat::kInvalidPort) {
        ShowPortError(device, portName);
        return handle;
    }
    RegisterPortOwner(&handle, portName);
    return handle;
}

void TraceHex(const char* prefix, const std::uint8_t* data, int length) {
    if (!g_trace || !TraceIsOpen()) return;
    WriteTrace(TraceBytes(prefix, data, length, "%02X "));
}

int WriteDevice(plat::PortHandle& port, const char* sendText, const char* failFormat, const std::uint8_t* data,
                int length) {
    if (port == plat::kInvalidPort || length <= 0) return 0;
    if (g_trace > 0) TraceHex(sendText, data, length);
    const int n = plat::SerialWrite(port, data, length);
    if (n < 0) {
        WriteTracef(failFormat, length, 0);
        ReportDefectivePort(port);
        return 0;
    }
    if (n != length) WriteTracef(failFormat, length, n);
    return n;
}

int DeviceCarry::ReadFrom(plat::PortHandle& port) {
    // A full carry holds no record any reader waits for: start over.
    if (len >= kSize) len = 0;
    const int n = plat::SerialRead(port, buf + len, kSize - len);
    if (n < 0) {
        ReportDefectivePort(port);
        return -1;
    }
    return n;
}

void DeviceCarry::KeepFrom(int from) {
    if (from <= 0) return;
    if (from >= len) {
        len = 0;
        return;
    }
    std::memmove(buf, buf + from, std::size_t(len - from));
    len -= from;
}
