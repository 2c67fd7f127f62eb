#include "civ/accessory_ports.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/trace_log.h"
#include "civ/engine_events.h"
#include "civ/engine_options.h"
#include "civ/radio_port.h"
#include "platform/types.h"

plat::PortHandle g_pegasusport = plat::kInvalidPort;
plat::PortHandle g_pttport = plat::kInvalidPort;
plat::PortHandle g_steppirport = plat::kInvalidPort;
plat::PortHandle g_yaltport = plat::kInvalidPort;
plat::PortHandle g_ldgport = plat::kInvalidPort;

char g_pegasuscomport[40] = "0";
char g_pttcomport[40] = "0";
char g_steppircomport[40] = "0";
char g_yaltcomport[40] = "0";
char g_ldgcomport[40] = "0";
long g_steppirbaud = 57600;

void (*g_ldgportopened)() = nullptr;
void (*g_onportlost)(const char* why) = nullptr;

namespace {

constexpr const char kBoxCaption[] = "qarv";

// The pair of the last open-failure box; a retry that fails the same way
// stays silent.
std::string g_lasterrordevice;
std::string g_lasterrorport;
bool g_defectshown = false;

struct PortOwner {
    plat::PortHandle* handle;
    const char* name;
};
std::vector<PortOwner> g_registeredowners;

// Device parameters that differ between the openers; the rest of the recipe
// is common.
struct Accessory {
    const char* device;  // word in the error box
    long baud;
    int eventChar;
    bool handshake;  // CTS output flow and RTS handshake
    bool dtrEnabled;
};

constexpr Accessory kPegasus{"Pegasus ", 57600, 0x0D, true, false};
constexpr Accessory kPtt{"PTT ", 1200, 0x0D, false, false};
constexpr Accessory kSteppir{"Steppir ", 57600, -1, false, false};
constexpr Accessory kKeyer{"YALT ", 1200, -1, false, true};
constexpr Accessory kThp{"Tokyo High Power ", 0, -1, false, false};
constexpr Accessory kLdg{"LDG AT-200PC ", 9600, -1, false, false};

// The common opener: close, open, configure (8N1, lines dropped unless the
// device's handshake says otherwise, buffers purged). A name that means "no
// port" leaves the device absent without a box.
plat::PortHandle OpenAccessory(plat::PortHandle& handle, const Accessory& dev, long baud, const char* portName) {
    plat::SerialClose(handle);
    if (plat::IsNoPortName(portName)) return plat::kInvalidPort;
    plat::SerialConfig cfg;
    cfg.baud = baud;
    cfg.ctsOutputFlow = dev.handshake;
    cfg.rtsHandshake = dev.handshake;
    cfg.dtrHandshake = dev.dtrEnabled;
    cfg.eventChar = dev.eventChar;
    // A device that stops reading must not hold up the UI thread.
    cfg.noWaitWrites = true;
    handle = plat::SerialOpen(portName, cfg);
    return handle;
}

const char* OwnerName(plat::PortHandle port, plat::PortHandle** owner) {
    *owner = nullptr;
    if (port == plat::kInvalidPort) return nullptr;
    const PortOwner fixed[] = {
        {&g_radioport, g_comport},   {&g_ldgport, g_ldgcomport},         {&g_yaltport, g_yaltcomport},
        {&g_pttport, g_pttcomport},  {&g_pegasusport, g_pegasuscomport}, {&g_steppirport, g_steppircomport},
    };
    for (const PortOwner& o : fixed) {
        if (*o.handle == port) {
            *owner = o.handle;
            return o.name;
        }
    }
    for (const PortOwner& o : g_registeredowners) {
        if (*o.handle == port) {
            *owner = o.handle;
            return o.name;
        }
    }
    return nullptr;
}

void ModemLine(int on, plat::PortHandle& port, bool dtr) {
    const char* line = dtr ? "dtr" : "rts";
    WriteTracef("%s %s", on ? "set" : "clr", line);
    // An absent device has no lines to set; that is not a defect.
    if (!plat::SerialIsOpen(port)) return;
    int code = 0;
    bool ok = dtr ? plat::SerialSetDTR(port, on != 0, &code) : plat::SerialSetRTS(port, on != 0, &code);
    if (ok) return;
    WriteTracef("%s error %ld, %04x", dtr ? "SetDTR" : "SetRTS", static_cast<long>(code), static_cast<unsigned>(code));
    ReportDefectivePort(port);
}

}  // namespace

void SetDTR(int on, plat::PortHandle& port) { ModemLine(on, port, true); }

void SetRTS(int on, plat::PortHandle& port) { ModemLine(on, port, false); }

void ShowPortError(const char* device, const char* portName) {
    int code = 0;
    plat::PortError err = plat::SerialLastError(&code);
    if (g_lasterrordevice == device && g_lasterrorport == portName) return;
    g_lasterrordevice = device;
    g_lasterrorport = portName;
    std::string text = std::string("Error accessing ") + device + portName;
    if (err == plat::PortError::NotFound) {
        text += ".  It does not exist.\r\n";
    } else if (err == plat::PortError::InUse) {
        text += ".  It is already in use.\r\n";
    } else {
        char buf[40];
        std::snprintf(buf, sizeof buf, ", error number %d\r\n", code);
        text += buf;
    }
    TellOperator({text, kBoxCaption, plat::MB_OK});
}

void ReportDefectivePort(plat::PortHandle& port) {
    plat::PortHandle* owner = nullptr;
    const char* ownerName = OwnerName(port, &owner);
    // The descriptor number is free for reuse once closed; keeping it would
    // let a later open of another device be mistaken for this one.
    plat::SerialClose(port);
    if (owner) *owner = plat::kInvalidPort;
    if (g_onportlost) g_onportlost("port lost");
    if (g_defectshown) return;
    std::string name = ownerName ? ownerName : "COMx";
    bool isPort = !name.empty() && (name[0] == 'C' || name[0] == 'c' || name.rfind("/dev/", 0) == 0);
    if (!isPort) return;
    g_defectshown = true;
    TellOperator({name + " is defective", kBoxCaption, plat::MB_OK});
}

void RegisterPortOwner(plat::PortHandle* handle, const char* portName) {
    for (PortOwner& o : g_registeredowners) {
        if (o.handle == handle) {
            o.name = portName;
            return;
        }
    }
    g_registeredowners.push_back({handle, portName});
}

void OpenPegasusPort() {
    WriteTrace("opening pegasus comport");
    if (OpenAccessory(g_pegasusport, kPegasus, kPegasus.baud, g_pegasuscomport) == plat::kInvalidPort) {
        if (!plat::IsNoPortName(g_pegasuscomport)) ShowPortError(kPegasus.device, g_pegasuscomport);
        return;
    }
    SetDTR(1, g_pegasusport);
}

void OpenPttPort() {
    if (OpenAccessory(g_pttport, kPtt, kPtt.baud, g_pttcomport) == plat::kInvalidPort) {
        if (!plat::IsNoPortName(g_pttcomport)) ShowPortError(kPtt.device, g_pttcomport);
        return;
    }
    // A radio server keys its transmitter for the client through RTS.
    if (g_radioserver) SetRTS(1, g_pttport);
}

void OpenSteppirPort() {
    if (OpenAccessory(g_steppirport, kSteppir, g_steppirbaud, g_steppircomport) == plat::kInvalidPort) {
        if (!plat::IsNoPortName(g_steppircomport)) ShowPortError(kSteppir.device, g_steppircomport);
        return;
    }
    SetRTS(0, g_steppirport);
    SetDTR(0, g_steppirport);
}

void OpenKeyerPort() {
    WriteTrace("Open Yalt");
    if (OpenAccessory(g_yaltport, kKeyer, kKeyer.baud, g_yaltcomport) == plat::kInvalidPort) {
        if (!plat::IsNoPortName(g_yaltcomport)) {
            WriteTrace("Yalt open failed");
            ShowPortError(kKeyer.device, g_yaltcomport);
        }
        return;
    }
    SetDTR(1, g_yaltport);
    SetRTS(0, g_yaltport);
}

plat::PortHandle OpenThpPort(plat::PortHandle handle, long baud, const char* portName, int handshake, int lines,
                             bool quiet) {
    Accessory dev = kThp;
    dev.handshake = handshake != 0;
    plat::PortHandle h = OpenAccessory(handle, dev, baud, portName);
    if (!quiet || h != plat::kInvalidPort) WriteTracef("Open THP port %s, id %d", portName, h);
    if (h == plat::kInvalidPort) {
        if (!plat::IsNoPortName(portName) && !quiet) ShowPortError(dev.device, portName);
        return h;
    }
    SetRTS(lines, h);
    SetDTR(lines, h);
    return h;
}

void OpenLdgPort() {
    if (OpenAccessory(g_ldgport, kLdg, kLdg.baud, g_ldgcomport) == plat::kInvalidPort) {
        if (!plat::IsNoPortName(g_ldgcomport)) ShowPortError(kLdg.device, g_ldgcomport);
        return;
    }
    SetRTS(1, g_ldgport);
    if (g_ldgportopened) g_ldgportopened();
}
