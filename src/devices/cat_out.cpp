#include "devices/cat_out.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/band_table.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/engine_options.h"
#include "civ/filter_widths.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/port_retry.h"
#include "civ/radio_init.h"
#include "civ/reply_processing.h"
#include "civ/tuning_state.h"
#include "devices/amplifiers.h"
#include "devices/cw_keyboard.h"
#include "devices/keying.h"
#include "panel/swl_panel.h"
#include "platform/window.h"

int g_test = 0;
plat::PortHandle g_thpport[kThpPorts] = {plat::kInvalidPort, plat::kInvalidPort, plat::kInvalidPort,
                                         plat::kInvalidPort, plat::kInvalidPort};
int g_thpopen[kThpPorts] = {0, 0, 0, 0, 0};
int g_pollatstart = 0;
int g_activethp = 0;
int g_thpidrequest = 0;
int g_rttyreverse = 0;
int g_pskreverse = 0;

namespace {

constexpr unsigned kSendBackMs = 1400;     // a rounded or refused "FA" is answered after this
constexpr unsigned kPerseusHoldMs = 500;   // the Perseus reports our own change back
constexpr unsigned kPanHoldMs = 1400;
constexpr unsigned kMuteDelayMs = 800;
constexpr unsigned kCwKeyboardCommand = 5019;  // the main frame's CW keyboard toggle

struct ThpPortState {
    std::uint8_t carry[kThpCarrySize];
    int carrylen = 0;
    int keyed = 0;   // this port's "TX" keyed the transmitter
    int wanted = 0;  // opened by the program: a lost port is tried again
    PortRetry retry;
};
ThpPortState g_thpstate[kThpPorts];

// Last values the follower sent.
struct FollowerCopies {
    double vfoA = 0, vfoB = 0;
    int mode = 0;
    int bandrow = -1;
    int filter = -1;
};
FollowerCopies g_followed;

int g_aistate = 0;        // the "AI" level a client stored

bool PortIsConfigured(const char* name) { return name[0] && name[0] != '0' && !plat::IsNoPortName(name); }
bool AcomConfigured() { return g_acomcomport[0] == 'C' || g_acomcomport[0] == 'c'; }
bool SplitOrDual() { return g_split || g_dual; }

int Send(const char* text) { return SendToTHP(reinterpret_cast<const std::uint8_t*>(text), int(std::strlen(text))); }

void SendFreq(const char* prefix, double mhz) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%s%011.0f;", prefix, mhz * 1e6);
    Send(buf);
}

// Printable text of CAT bytes for the trace.
std::string Printable(const std::uint8_t* data, int n) {
    std::string s;
    s.reserve(std::size_t(n));
    for (int k = 0; k < n; ++k) s.push_back(data[k] >= 0x20 && data[k] < 0x7F ? char(data[k]) : '.');
    return s;
}

void ReleaseIfKeyed(int index, const char* why) {
    if (!g_thpstate[index].keyed) return;
    g_thpstate[index].keyed = 0;
    WriteTracef("THP port %d lost while keyed", index + 1);
    ReleaseAllKeying(why);
}

// A port that failed in use: closed and reported once; a transmitter it
// keyed is released, so a vanished logger never leaves the radio sending.
void LoseThpPort(int index) {
    WriteTracef("THP port %d failed", index + 1);
    ReportDefectivePort(g_thpport[index]);
    plat::SerialClose(g_thpport[index]);
    g_thpopen[index] = 0;
    g_thpstate[index].carrylen = 0;
    ReleaseIfKeyed(index, "CAT port lost");
}

// ---- "FA", "FB" and "MD" sets ------------------------------------------------

// Like every other tuning path, a set asks the radio's coverage first: one
// outside it changes nothing and is never pushed to the other ports. The
// command set has no error answer, so the asker hears nothing.
bool Tunable(double mhz) {
    if (CheckCoverage(mhz) == 0) return true;
    WriteTracef("thp freq %.6f refused", mhz);
    return false;
}

void SetVfoBFromCat(double mhz) {
    if (CompareFrequencies(mhz, g_vfobfreq) == 0 || !Tunable(mhz)) return;
    SetVfoB(mhz);
    if (g_dual)
        SendFreqToRX340();
    else
        SetRadioFrequenciesVFOB();
}

void MoveVfoA(double mhz) {
    const int before = g_bandrow;
    UpdateBandStack(mhz, 0);
    if (g_bandrow == before || g_bandrow > 20) {
        WriteTrace("new thp freq no band change");
        SetVfoAFrequency(mhz);
        if (g_swlpanel) g_swlpanel->SetPanelTuning(mhz, 0, 0, 0, 0, 0);
        SetRadioFrequencies();
        return;
    }
    WriteTrace("Band change from thp");
    g_bandstack[g_bandrow].last = mhz;
    if (g_swlpanel) g_swlpanel->SelectBand(g_bandrow);
    g_bandreportpending = 1;
    SetCivTimer(TIMER_THP_FREQ, kSendBackMs);
}

// A frequency set that arrives while frequency reports are held off
// (g_tuning: the program's own tuning, an antenna or split change, a send to
// a polling client) is not thrown away: the command set has no error answer,
// so the client takes it as done. The latest one of each kind is kept and
// carried out once the hold has ended, unless the VFO it moves has been
// moved meanwhile (by the operator or the radio), which is the later wish.
struct HeldSet {
    bool pending = false;
    std::string text;
    int port = 0;
    bool vfoB = false;  // the VFO it moves
    double vfo = 0;     // that VFO's frequency when it came
};
HeldSet g_heldfa;  // "FA": VFO A, or VFO B with "THP POLL" in split or dual receive
HeldSet g_heldfb;  // "FB", and "FA" on the "THP VFOB PORT"

bool FaMovesVfoB() { return g_thppoll && SplitOrDual() && !g_freqonly; }

void HoldSet(HeldSet& held, const std::string& text, int port, bool vfoB) {
    if (held.pending) WriteTracef("thp held set %s replaced", held.text.c_str());
    held.pending = true;
    held.text = text;
    held.port = port;
    held.vfoB = vfoB;
    held.vfo = vfoB ? g_vfobfreq : g_vfoafreq;
    WriteTracef("thp set %s held while tuning", text.c_str());
}

void OnFaSet(const std::string& text, int port) {
    const long long hz = CatSetHz(text);
    if (hz < 0) return;
    const double f = double(hz) / 1e6;
    if (g_bandreportpending) {
        WriteTrace("fabuf with need send back");
        if (CompareFrequencies(f, g_vfoafreq) != 0) {
            SendFreq("FA", g_vfoafreq);
            g_bandreportpending = 0;
        }
        return;
    }
    if (g_tuning) {
        HoldSet(g_heldfa, text, port, FaMovesVfoB());
        return;
    }
    const double step = g_swlpanel ? g_swlpanel->step : 1;
    const double rounded = double(RoundHzToStep(hz, step)) / 1e6;
    if (!Tunable(rounded)) return;
    if (CompareFrequencies(rounded, f) != 0) {
        g_bandreportpending = 1;
        SetCivTimer(TIMER_THP_FREQ, kSendBackMs);
        WriteTrace("round need send back");
    }
    if (!FaMovesVfoB()) {
        if (CompareFrequencies(rounded, g_vfoafreq) != 0 && !g_tunemodeon) MoveVfoA(rounded);
        return;
    }
    WriteTrace("fabuf with split");
    WriteTrace("fabuf with split, tuning off");
    if (CompareFrequencies(rounded, g_vfobfreq) == 0) return;
    WriteTrace("fabuf with split, tuning off, new freq");
    HoldFrequencyReports(kPanHoldMs);
    SetVfoB(rounded);
    if (g_split)
        SetRadioFrequenciesVFOB();
    else
        SendFreqToRX340();
    if (g_diversity && CompareFrequencies(rounded, g_vfoafreq) != 0) MoveVfoA(rounded);
}

void OnVfoBSet(const std::string& text, int port) {
    const long long hz = CatSetHz(text);
    if (hz < 0) return;
    if (g_tuning && g_lppandirect) {
        HoldSet(g_heldfb, text, port, true);
        return;
    }
    SetVfoBFromCat(double(hz) / 1e6);
}

// Once the hold has ended: the held sets, each as if it came now from its port.
void ApplyHeldSets() {
    if (g_tuning) return;
    for (HeldSet* held : {&g_heldfa, &g_heldfb}) {
        if (!held->pending) continue;
        held->pending = false;
        if (CompareFrequencies(held->vfoB ? g_vfobfreq : g_vfoafreq, held->vfo) != 0) {
            WriteTracef("thp held set %s dropped, moved since", held->text.c_str());
            continue;
        }
        WriteTracef("thp held set %s", held->text.c_str());
        const int saved = g_activethp;
        g_activethp = held->port;
        if (held == &g_heldfa)
            OnFaSet(held->text, held->port);
        else
            OnVfoBSet(held->text, held->port);
        g_activethp = saved;
    }
}

void OnModeSet(const std::string& text) {
    const int digit = CatSetDigit(text);
    if (digit < 0) return;
    const char mode = ModeFromCatDigit(char('0' + digit), char(g_vfoamode), CurrentCatModeOptions());
    if (!mode || mode == g_vfoamode) return;
    if (mode != '3' && mode != '2' && CwKeyboardOn()) {
        g_keyerforcedoff = 1;
        if (g_timerwindow) g_timerwindow->SendMessage(plat::WM_COMMAND, kCwKeyboardCommand, 0);
    }
    // The reverse modes have no tuning code: without one the band plan
    // would pick a mode the client never asked for, so their own button is
    // pressed after the re-tune.
    const int code = ModeCodeForModeChar(mode);
    if (code) TuneToFrequency(g_vfoafreq, code);
    if (ModeCharForCode(code) != mode && g_swlpanel) g_swlpanel->PressModeButton(mode);
}

// "FR"/"FT" sets switch split as the emulated radio would; like that radio
// they are not answered (an answer reads as a failed check to the client).
int g_lastft = 0;
void OnReceiveVfoSet(int n) {
    if (g_freqonly) return;
    if ((n == g_lastft) == (g_split != 0) && g_swlpanel) g_swlpanel->ToggleSplit();
}
void OnTransmitVfoSet(int n) {
    g_lastft = n;
    if (g_freqonly) return;
    if (((n == 0 && g_split) || (n == 1 && !g_split)) && g_swlpanel) g_swlpanel->ToggleSplit();
}

int DriveFactor() {
    if (g_ampdrivebyband && g_bandrow >= 0 && g_bandrow < kBandRows) return g_ampdrive[std::size_t(g_bandrow)];
    return g_ampdrivefactor;
}

int FilterWidthHz() { return FilterEntry(g_rxfilter, UsesAmTable(g_vfoamode)).hz; }

// Answers or executes one command. Answers go to the port that asked.
void RunCommand(CatKind kind, const std::string& t, int port) {
    char buf[48];
    switch (kind) {
        case kCatPC:
            WriteTrace("turn on expert");
            g_experton = 1;
            if (t == "PC;") {
                std::snprintf(buf, sizeof buf, "PC%03d;", CatPowerPercent(PercentLevel(g_power), DriveFactor()));
                Send(buf);
            } else if (int n = CatPowerSet(t); n >= 0) {
                g_power = CatPowerFromPercent(n, DriveFactor());
                SetTxPower(g_power);
            }
            break;
        case kCatSB:
            if (t == "SB;") Send(g_dual ? "SB1;" : "SB0;");
            break;
        case kCatFI:
            if (t == "FI;") Send("FI5000;");
            break;
        case kCatBW:
        case kCatFW:
            std::snprintf(buf, sizeof buf, "%.2s%04d;", t.c_str(), FilterWidthHz() / 10);
            Send(buf);
            break;
        case kCatIS: {
            const bool cw = g_vfoamode == '3' || g_vfoamode == '2';
            int shift = (g_pbton ? g_passbandshift : 0) + (cw ? g_bfo : 1500);
            if (shift < 0) shift = 0;
            std::snprintf(buf, sizeof buf, "IS %04d;", shift > 9999 ? 9999 : shift);
            Send(buf);
            break;
        }
        case kCatTQ: Send(g_transmitting ? "TQ1;" : "TQ0;"); break;
        case kCatSM: Send("SM0000;"); break;
        case kCatIF:
            Send(CatStatusText(g_vfoafreq, g_transmitting, CatModeDigit(char(g_vfoamode)), g_split).c_str());
            break;
        case kCatAI:
            if (t == "AI;") {
                std::snprintf(buf, sizeof buf, "AI%d;", g_aistate);
                Send(buf);
            } else if (int d = CatSetDigit(t); d >= 0) {
                g_aistate = d;
                Send(t.c_str());
            }
            break;
        // "TX" and "RX" are not echoed: Hamlib keys the radio with them and
        // reads no answer to its PTT commands, so an echo would be taken as
        // the reply to its next query.
        case kCatTX:
            g_thpstate[port - 1].keyed = 1;
            keyon();
            break;
        case kCatRX:
            g_thpstate[port - 1].keyed = 0;
            keyoff();
            break;
        case kCatMX: Send("MX0;"); break;
        case kCatLK: Send("LK0;"); break;
        case kCatRM: Send("RM10000;"); break;
        case kCatPT: Send("PT06;"); break;
        case kCatSH: Send("SH00;"); break;
        case kCatSL: Send("SL00;"); break;
        case kCatK2: Send("K22;"); break;
        case kCatK3:
            std::snprintf(buf, sizeof buf, "K3%c;", t[2]);
            Send(buf);
            break;
        case kCatID: Send("ID017;"); break;
        case kCatDT: Send("DT0;"); break;
        case kCatFR:
            if (g_lppandirect) break;
            if (t == "FR;") Send("FR0;");
            else if (int n = CatSetDigit(t); n >= 0) OnReceiveVfoSet(n);
            break;
        case kCatFT:
            if (g_lppandirect) break;
            if (t == "FT;") Send(g_split ? "FT1;" : "FT0;");
            else if (int n = CatSetDigit(t); n >= 0) OnTransmitVfoSet(n);
            break;
        case kCatPS: Send("PS1;"); break;
        case kCatPA: Send(Tuning().preamp ? "PA1;" : "PA0;"); break;
        case kCatRA: Send(Tuning().attenuator ? "RA01;" : "RA00;"); break;
        case kCatCW: {
            const int pitch = g_bfo / 10;
            std::snprintf(buf, sizeof buf, "CW%02d;", pitch < 0 ? 0 : (pitch > 99 ? 99 : pitch));
            Send(buf);
            break;
        }
        case kCatFA:
            if (port == g_thpvfobport) {
                if (t == "FA;") SendFreq("FA", g_vfobfreq);
                else OnVfoBSet(t, port);
            } else if (t == "FA;") {
                SendFreq("FA", g_vfoafreq);
            } else {
                OnFaSet(t, port);
            }
            break;
        case kCatFB:
            if (t == "FB;") SendFreq("FB", g_vfobfreq);
            else if (!g_thppoll) OnVfoBSet(t, port);
            break;
        case kCatBG:
            std::snprintf(buf, sizeof buf, "%.2s00;", t.c_str());
            Send(buf);
            break;
        case kCatMD:
            if (t == "MD;") {
                std::snprintf(buf, sizeof buf, "MD%c;", CatAnswerModeDigit(char(g_vfoamode), CurrentCatModeOptions()));
                Send(buf);
            } else if (!g_lppandirect) {
                OnModeSet(t);
            }
            break;
        case kCatKinds: break;
    }
}

}  // namespace

void SetVfoB(double mhz) {
    SetVfoBFrequency(mhz);
    if (g_swlpanel) g_swlpanel->SetFrequency2(mhz);
}

void OnThpFreqTimer() {
    KillCivTimer(TIMER_THP_FREQ);
    if (!g_bandreportpending) return;
    g_bandreportpending = 0;
    SendFreq("FA", g_vfoafreq);
}

CatModeOptions CurrentCatModeOptions() {
    CatModeOptions o;
    o.lppanDirect = g_lppandirect != 0;
    o.thpPoll = g_thppoll != 0;
    o.rttyReverse = g_rttyreverse != 0;
    o.pskReverse = g_pskreverse != 0;
    return o;
}

// ---- Ports ----------------------------------------------------------------------

namespace {
const char* ThpPortName(int i) { return i == 0 ? g_thpcomport : g_thpxcomport[i - 1]; }

// A port whose device stopped reading is left behind, never waited on: it
// keeps only the newest text of each command (the latest frequency, mode
// and so on) and is given them once it takes bytes again, the newest last,
// so the client ends up with the state as it is now.
struct ThpBacklog {
    bool behind = false;
    int replaced = 0;                 // texts that a newer one of their command replaced
    std::vector<std::string> latest;  // one per command, the newest last
};
ThpBacklog g_thpbacklog[kThpPorts];
// The commands the ports are sent are a few dozen; the bound only guards
// against a text we never meant to keep.
constexpr std::size_t kBacklogCommands = 48;

// The command a text carries: its first two characters and the letters
// after them ("FA", "MD", "K2", "ZZMU").
std::string CommandKey(const std::string& text) {
    std::size_t n = text.size() < 2 ? text.size() : 2;
    while (n < text.size() && n < 4 && std::isalpha(static_cast<unsigned char>(text[n]))) ++n;
    return text.substr(0, n);
}

// What the client must end up knowing: never the text that makes room.
bool IsStateKey(const std::string& key) {
    return key == "FA" || key == "FB" || key == "MD" || key == "IF" || key == "ZZMD";
}

void KeepLatest(ThpBacklog& b, const std::uint8_t* bytes, int length) {
    std::string text(reinterpret_cast<const char*>(bytes), std::size_t(length));
    const std::string key = CommandKey(text);
    const auto same = std::find_if(b.latest.begin(), b.latest.end(),
                                   [&](const std::string& t) { return CommandKey(t) == key; });
    if (same != b.latest.end()) {
        b.latest.erase(same);
        ++b.replaced;
    }
    b.latest.push_back(std::move(text));
    if (b.latest.size() <= kBacklogCommands) return;
    const auto oldest = std::find_if(b.latest.begin(), b.latest.end(),
                                     [](const std::string& t) { return !IsStateKey(CommandKey(t)); });
    if (oldest == b.latest.end()) return;
    b.latest.erase(oldest);
    ++b.replaced;
}

// Port i, left behind, is given its kept texts as far as it takes them.
void CatchUpThpPort(int i) {
    ThpBacklog& b = g_thpbacklog[i];
    plat::PortHandle h = g_thpport[i];
    if (!b.behind || h == plat::kInvalidPort || plat::SerialWriteBacklog(h) > 0) return;
    while (!b.latest.empty()) {
        const std::string& t = b.latest.front();
        const int rc = plat::SerialWrite(h, reinterpret_cast<const std::uint8_t*>(t.data()), int(t.size()));
        if (rc <= 0) return;  // still behind (a failed port is found by its next read)
        b.latest.erase(b.latest.begin());
    }
    b.behind = false;
    WriteTracef("THP port %d reading again, %d stale texts left out", i + 1, b.replaced);
    b.replaced = 0;
}

// One text to port i: written when the port takes it, else kept as the
// latest of its command. The write's result (-1 on a port error).
int WriteThpPort(int i, const std::uint8_t* bytes, int length) {
    ThpBacklog& b = g_thpbacklog[i];
    CatchUpThpPort(i);
    if (!b.behind) {
        const int rc = plat::SerialWrite(g_thpport[i], bytes, length);
        if (rc != 0) return rc;
        b.behind = true;
        WriteTracef("THP port %d not reading, its output left behind", i + 1);
    }
    KeepLatest(b, bytes, length);
    return 0;
}

// Opens port i + 1 by its configured name; a quiet open (a retry) shows no box.
void OpenOneThpPort(int i, bool quiet) {
    g_thpbacklog[i] = ThpBacklog{};
    g_thpport[i] = OpenThpPort(g_thpport[i], g_thpbaud, ThpPortName(i), 1, 1, quiet);
    g_thpopen[i] = g_thpport[i] != plat::kInvalidPort;
    g_thpstate[i].carrylen = 0;
    if (g_thpopen[i]) RegisterPortOwner(&g_thpport[i], ThpPortName(i));
}
}  // namespace

void OpenThpPorts() {
    g_pollatstart = g_thppoll;
    for (int i = 0; i < kThpPorts; ++i) {
        if (!PortIsConfigured(ThpPortName(i))) continue;
        // Reopening drops the old link: a transmitter it keyed is let go.
        ReleaseIfKeyed(i, "CAT port reopened");
        g_thpstate[i].wanted = 1;
        g_thpstate[i].retry.Reset();
        OpenOneThpPort(i, false);
    }
}

void CloseThpPorts() {
    for (int i = 0; i < kThpPorts; ++i) {
        if (g_thpport[i] != plat::kInvalidPort) plat::SerialClose(g_thpport[i]);
        g_thpopen[i] = 0;
        g_thpstate[i].carrylen = 0;
        g_thpstate[i].wanted = 0;
        ReleaseIfKeyed(i, "CAT port closed");
    }
}

void ReopenThpPort(int n, int inUse) {
    if (n < 1 || n > kThpPorts) return;
    const int i = n - 1;
    // The old link goes first: a transmitter it keyed is let go.
    if (g_thpport[i] != plat::kInvalidPort) plat::SerialClose(g_thpport[i]);
    g_thpopen[i] = 0;
    g_thpstate[i].carrylen = 0;
    ReleaseIfKeyed(i, "CAT port reopened");
    g_thpstate[i].wanted = inUse && PortIsConfigured(ThpPortName(i));
    g_thpstate[i].retry.Reset();
    if (g_thpstate[i].wanted) OpenOneThpPort(i, false);
}

void RetryThpPorts() {
    for (int i = 0; i < kThpPorts; ++i) {
        ThpPortState& st = g_thpstate[i];
        if (!st.wanted) continue;
        if (!st.retry.Due(g_thpport[i] != plat::kInvalidPort, "Tokyo High Power ", ThpPortName(i))) continue;
        OpenOneThpPort(i, true);
        if (!g_thpopen[i]) continue;
        st.retry.Opened("Tokyo High Power ", ThpPortName(i));
        // The device on the port may be new: the follower tells the ports
        // the frequencies and mode again, as it did after start-up.
        g_followed.vfoA = g_followed.vfoB = 0;
        g_followed.mode = 0;
    }
}

int SendToTHP(const std::uint8_t* bytes, int length) {
    if (g_test == 3 && g_activethp != 5) return 0;
    if (g_trace > 0) WriteTracef("Send to THP %d %s", g_activethp, HexBytes(bytes, length).c_str());
    if (!g_thpopen[0]) return -1;
    int rc = -1;
    for (int i = 1; i <= kThpPorts; ++i) {
        plat::PortHandle& h = g_thpport[i - 1];
        if (i == 1 && AcomConfigured() && g_activethp != 1) continue;
        if (g_activethp == 0 && i == g_nothpautoinfo) continue;
        WriteTracef("activeTHP %d, i %d, id %d, noauto %d", g_activethp, i, h, g_nothpautoinfo);
        if (!(g_activethp == 0 || g_activethp == i) || h == plat::kInvalidPort || (g_perseuspan && i == 1)) continue;
        if (g_activethp == 0 && i == g_thpvfobport) continue;
        if (g_experton && i == g_ampthp && g_activethp != i) {
            WriteTrace("Block not for AMP");
            continue;
        }
        rc = WriteThpPort(i - 1, bytes, length);
        if (g_trace > 0)
            WriteTracef("THP write rc=%d, length=%d, error=%d, activeTHP %d", rc, length, rc < 0 ? 1 : 0, g_activethp);
        if (rc < 0) LoseThpPort(i - 1);
    }
    return rc;
}

void ReadTHPPort(int n) {
    if (n < 1 || n > kThpPorts || !g_thpopen[0]) return;
    const int i = n - 1;
    if (g_thpport[i] == plat::kInvalidPort) return;
    ThpPortState& st = g_thpstate[i];
    CatchUpThpPort(i);
    WriteTrace("thp read called");
    std::uint8_t buf[kThpReadSize];
    std::memcpy(buf, st.carry, std::size_t(st.carrylen));
    const int got = plat::SerialRead(g_thpport[i], buf + st.carrylen, kThpReadSize - st.carrylen);
    if (got < 0) {
        LoseThpPort(i);
        return;
    }
    if (got == 0) return;
    WriteTracef("thp read port %d has data", i);
    const int total = st.carrylen + got;
    st.carrylen = 0;
    if (g_trace > 1) WriteTracef("before THP count %d %s", total, Printable(buf, total).c_str());
    if (g_test == 3) return;
    if (g_perseuspan && n == 1) {
        const int rest = ReadPerseus(buf, total);
        std::memcpy(st.carry, buf + total - rest, std::size_t(rest));
        st.carrylen = rest;
        return;
    }
    CatBatch batch;
    const int tail = ParseTHPCommands(buf, total, &batch);
    std::memcpy(st.carry, buf + total - tail, std::size_t(tail));
    st.carrylen = tail;
    WriteTracef("From THP count %d %s", total, Printable(buf, total).c_str());
    // In the order asked: a client matches each answer to its query.
    for (const CatCommand& c : batch.commands) {
        RunCommand(c.kind, c.text, n);
        // A command can close the port (a keying release that fails it).
        if (g_thpport[i] == plat::kInvalidPort) break;
    }
}

// ---- Modes and the follower ------------------------------------------------------

char CatModeDigit(char mode) { return CatSentModeDigit(mode, CurrentCatModeOptions()); }

char SendModeToTHP(char mode, int kind) {
    const char digit = CatModeDigit(mode);
    if (kind == 0) return digit;
    if (kind == 2 && g_amtnactive) return digit;
    if (g_lppandirect && (mode == '4' || mode == ';')) Send("ZZMD10;");
    const char text[5] = {'M', 'D', digit, ';', 0};
    Send(text);
    return digit;
}

void SendMultiRxToTHP() {
    const long khz = long(std::trunc(1000 * std::fabs(g_vfoafreq - g_vfobfreq)));
    Send(SplitOrDual() && khz < g_maxpanwidth / 2 ? "ZZMU1;" : "ZZMU0;");
}

void MuteSecondReceiver(int a) {
    if (!g_thpopen[0] || !g_pollatstart) return;
    if (!g_dual) a = 0;
    KillCivTimer(TIMER_RX2_MUTE);
    g_activethp = 1;
    if (a == 2) {
        SetCivTimer(TIMER_RX2_MUTE, kMuteDelayMs);
        return;
    }
    if (g_perseuspan) {
        const std::uint8_t f[8] = {0xFE, 0xFE, 0xE1, 0xE0, 0x70, 0x05, std::uint8_t(a), 0xFD};
        SendToPerseus(f, 8);
    }
    if (g_lppandirect) {
        const char text[7] = {'Z', 'Z', 'M', 'A', char('1' - a), ';', 0};
        Send(text);
    }
}

// FE FE E1 E0 05 + the frequency less the transverter offset; the
// receiver's report of it is held off.
static void SendFrequencyToPerseus(double mhz) {
    std::uint8_t f[11] = {0xFE, 0xFE, 0xE1, 0xE0, 0x05};
    if (FrequencyToBcd(mhz - g_tvoffset, f + 5)) {
        f[10] = 0xFD;
        SendToPerseus(f, 11);
    }
    HoldFrequencyReports(kPerseusHoldMs);
}

void FollowFrequency() {
    ApplyHeldSets();
    const bool perseus = g_perseuspan != 0;
    const bool fm = g_vfoamode == '5';
    if (g_thpidrequest && !perseus) {
        g_thpidrequest = 0;
        Send("ID;");
    }
    if (CompareFrequencies(g_vfoafreq, g_followed.vfoA) != 0) {
        g_followed.vfoA = g_vfoafreq;
        if (!(g_thppoll && SplitOrDual() && !fm)) SendFreq("FA", g_vfoafreq);
        if (perseus && !(SplitOrDual() && !fm)) {
            WriteTrace("Send A X1");
            SendFrequencyToPerseus(g_vfoafreq);
        }
        if (g_lppandirect) HoldFrequencyReports(kPanHoldMs);
    }
    if (SplitOrDual() && CompareFrequencies(g_vfobfreq, g_followed.vfoB) != 0) {
        g_followed.vfoB = g_vfobfreq;
        // A polling client has only "FA": in split or dual receive it is
        // told VFO B there, as its own "FA" sets move VFO B then.
        SendFreq(g_thppoll ? "FA" : "FB", g_vfobfreq);
        if (g_thpvfobport >= 1 && g_thpvfobport <= kThpPorts) {
            const int saved = g_activethp;
            g_activethp = g_thpvfobport;
            SendFreq("FA", g_vfobfreq);
            g_activethp = saved;
        }
        if (perseus) {
            WriteTrace("Send B X1");
            SendFrequencyToPerseus(g_vfobfreq);
        }
        if (g_lppandirect) HoldFrequencyReports(kPanHoldMs);
    }
    if (g_vfoamode != g_followed.mode) {
        g_followed.mode = g_vfoamode;
        SendModeToTHP(char(g_vfoamode), 2);
        if (perseus) {
            PerseusModeCode();
            if (!g_dual) MuteSecondReceiver(0);
        }
    }
    if (perseus) PerseusFilterCode();
    if (g_bandrow != g_followed.bandrow) {
        g_followed.bandrow = g_bandrow;
        PgxlBandChanged();
    }
}

// ---- RX331 and IP-Sound ----------------------------------------------------------

void SendToRX331(const std::uint8_t* bytes, int length) {
    WriteTracef("Send to RX331 %s", HexBytes(bytes, length).c_str());
    if (g_pegasusport == plat::kInvalidPort) return;
    const int rc = plat::SerialWrite(g_pegasusport, bytes, length);
    if (rc != length) WriteTracef("Send failed to rx331 %d %d\n", rc, length);
}

void SendRX331Init() {
    const std::uint8_t init[3] = {'X', 'X', '\r'};
    SendToRX331(init, 3);
}

int g_ipsoundstate = 0;
unsigned g_ipsoundstamp = 0;

int PostIPSound(int function) {
    (void)function;
    return 1;  // the program's window is never found
}

int CallIPSound(int function) {
    if (!g_autoipsound) return 5;
    const int ret = PostIPSound(function);
    WriteTracef("IPSound Handle %d, func %d, ret %d", 0, function, ret);
    return ret;
}

void DeleteIpSoundAtom() {}
