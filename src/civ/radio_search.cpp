#include "civ/radio_search.h"

#include <array>
#include <cstdio>

#include "base/baud_list.h"
#include "base/settings_view.h"
#include "base/trace_log.h"
#include "civ/civ_timers.h"
#include "civ/engine_events.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/setter_frames.h"
#include "platform/serial_port.h"
#include "platform/types.h"

int g_autobaud = 0;
int g_echoseen = 0;

namespace {
constexpr long kFirstBaud = 19200;
constexpr unsigned kFirstStepMs = 300;
constexpr unsigned kStepMs = 500;
constexpr int kBroadcasts = 4;
constexpr const char* kNotFound = "No Qarv Radio Found";

struct BaudStep {
    long baud;
    long next;
};
constexpr std::array<BaudStep, 7> kCycle = {{
    {19200, 9600}, {9600, 4800}, {4800, 1200}, {1200, 38400}, {38400, 57600}, {57600, 115200}, {115200, 19200},
}};
constexpr int kPortList = 1317;   // the settings window's "Radio Comport"
constexpr int kBaudCombo = 2475;  // "BAUD Rate"
constexpr int kAddressList = 2524;
constexpr int kSearchBox = 2492;  // "Search for Radio Automatically"

std::vector<std::string> g_searchports;
std::size_t g_portindex = 0;
// The port and baud the operator had: a search that finds nothing gives
// them back, so the close does not save the last rate tried.
char g_savedport[sizeof g_comport] = {};
long g_savedbaud = 0;

// The settings window shows the port and rate in use: the ones being tried,
// then the found ones or the operator's, so an apply never reads back a
// value the search has left behind.
void ShowPortAndBaud() {
    SettingsWindow().ShowSettingRow(kPortList);
    SettingsWindow().ShowSettingRow(kBaudCombo);
}

void Untick() {
    SettingsWindow().SetCheck(kSearchBox, 0);
}

// The search is over without a radio: the operator's port and rate again.
void PutBackOperatorsPort() {
    g_autobaud = 0;
    g_echoseen = 0;
    KillCivTimer(TIMER_AUTOBAUD);
    std::snprintf(g_comport, sizeof g_comport, "%s", g_savedport);
    g_baud = g_savedbaud;
    OpenRadioPort();
    ShowPortAndBaud();
}

void SendIdRequest(std::uint8_t to) {
    const std::uint8_t frame[] = {0xFE, 0xFE, to, std::uint8_t(g_myaddr), 0x19, 0x00, 0xFD};
    sendtoradio(frame, int(sizeof frame));
}

// Opens the current entry of the list (false when none is left) and asks
// who is there: once at the configured address (its echo shows the bus),
// once to all (a radio at another address, or one that echoes nothing,
// still answers).
bool TryPort() {
    // A name the settings cannot hold would open another device when cut.
    while (g_portindex < g_searchports.size() && g_searchports[g_portindex].size() >= sizeof g_comport) {
        WriteTracef("Autobaud port name too long: %s", g_searchports[g_portindex].c_str());
        ++g_portindex;
    }
    if (g_portindex >= g_searchports.size()) return false;
    std::snprintf(g_comport, sizeof g_comport, "%s", g_searchports[g_portindex].c_str());
    WriteTracef("Autobaud port %s", g_comport);
    OpenRadioPort();
    SettingsWindow().ShowSettingRow(kPortList);
    SendIdRequest(std::uint8_t(g_radioadr));
    SendIdRequest(0x00);
    return true;
}

void Broadcasts() {
    for (int i = 0; i < kBroadcasts; ++i) SendIdRequest(0x00);
}

void SearchFailed() {
    PutBackOperatorsPort();
    Untick();
    WriteTrace(kNotFound);
    TellOperator({kNotFound, kNotFound, plat::MB_OK, g_timerwindow});
}
}  // namespace

long NextSearchBaud(long baud) {
    for (const BaudStep& s : kCycle)
        if (s.baud == baud) return s.next;
    return baud;
}

int BaudComboIndex(long baud) {
    for (int i = 0; i < 8; ++i)
        if (BaudOfIndex(i) == baud) return i;
    return -1;
}

void StartRadioSearch(const std::vector<std::string>& ports) {
    // A restart keeps what the operator had before the first start.
    if (g_autobaud == 0) {
        std::snprintf(g_savedport, sizeof g_savedport, "%s", g_comport);
        g_savedbaud = g_baud;
    }
    g_searchports = ports;
    g_autobaud = 2;
    g_echoseen = 0;
    g_baud = kFirstBaud;
    plat::SerialClose(g_radioport);
    SettingsWindow().ShowSettingRow(kBaudCombo);
    g_portindex = 0;
    if (!TryPort()) {
        SearchFailed();
        return;
    }
    SetCivTimer(TIMER_AUTOBAUD, kFirstStepMs);
}

void StartRadioSearch() { StartRadioSearch(plat::ListSerialPorts()); }

void StopRadioSearch() {
    if (g_autobaud == 0) return;
    WriteTrace("Autobaud stopped");
    PutBackOperatorsPort();
}

void RadioSearchStep() {
    KillCivTimer(TIMER_AUTOBAUD);
    if (g_autobaud == 2) {
        WriteTrace("Autobaud 2");
        if (g_echoseen) {
            WriteTrace("Autobaud echo");
            g_autobaud = 1;
            g_echoseen = 0;
            Broadcasts();
        } else {
            WriteTrace("Autobaud 2 no echo");
            plat::SerialClose(g_radioport);
            ++g_portindex;
            if (!TryPort()) {
                SearchFailed();
                return;
            }
        }
    } else if (g_autobaud == 1) {
        WriteTrace("Autobaud 1");
        const long next = NextSearchBaud(g_baud);
        // Every rate has had its turn: the radio on this bus does not answer.
        if (next == kFirstBaud || next == g_baud) {
            SearchFailed();
            return;
        }
        g_baud = next;
        OpenRadioPort();
        SettingsWindow().ShowSettingRow(kBaudCombo);
        Broadcasts();
    }
    if (g_autobaud) SetCivTimer(TIMER_AUTOBAUD, kStepMs);
}

void RadioFound(int from) {
    if (g_autobaud == 0) return;
    g_autobaud = 0;
    g_echoseen = 0;
    KillCivTimer(TIMER_AUTOBAUD);
    if (from != 0) g_radioadr = from;
    // The address list index the settings store as "CIV".
    g_civindex = g_radioadr - 1;
    WriteTracef("Radio found on %s at %ld baud, address %02x", g_comport, g_baud, unsigned(g_radioadr));
    Untick();
    ShowPortAndBaud();
    SettingsWindow().ShowSettingRow(kAddressList);
    FirstPoll();
    TellOperator({"Radio Found, select correct radio type and\nthen exit and restart the program.", "Radio Found",
                  plat::MB_OK, g_timerwindow});
}
