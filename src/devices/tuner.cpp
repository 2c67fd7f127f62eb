#include "devices/tuner.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/device_options.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_port.h"
#include "civ/reply_processing.h"
#include "devices/device_port.h"
#include "devices/keying.h"
#include "devices/remote_link.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/profile.h"

std::uint8_t* g_ldgimage = nullptr;
plat::PortHandle g_ldgcoaxport = plat::kInvalidPort;
int g_ldgcoax = 0;
int g_ldgmemclear = 0;
int g_ldgbusy = 0;
int g_tunerpending = 0;
int g_ldgswr = 0;  // no power record yet: nothing to show
char g_ldgswrtext[16] = "";
char g_ldgtunertext[16] = "";
int g_ldgantenna = 1;
int g_ldghiz = 0;
int g_ldgrtspulse = 0;

namespace {

constexpr int kLdgTunerType = 4;
constexpr int kPeriods = kLdgImageSize / 2;
constexpr int kSearchLimit = 11498;
constexpr std::uint8_t kRecordStart = 0xA5;
constexpr const char kLdgFile[] = "ldg.dat";

DeviceCarry g_ldgrx;

// The recall's memory of what the tuner holds.
int g_lastperiod = -10;
int g_lastsetting = -1;
int g_lastantenna = 0;
// Flags of the tune in progress and of the file.
int g_storepending = 0;
int g_clearpending = 0;
int g_tuneinprogress = 0;
int g_goodtune = 0;
int g_badtune = 0;
int g_settingrequested = 0;
// The tune's SWR watch.
int g_swrlast = 20000;
int g_stablecount = 0;
// Power and mode saved while a button makes the tuner work.
int g_savedpower = -1;
char g_savedmode = 0;
// The start-up chain and the action that follows 99.
constexpr int kChain[] = {21, 22, 23, 24, 35};
int g_chainnext = 0;

double TxFreq() { return g_split ? g_vfobfreq : g_vfoafreq; }

void SendByte(std::uint8_t b) { sendtoldg(&b, 1); }

void Step(int state, unsigned ms) {
    g_tunerstate = state;
    SetCivTimer(TIMER_TUNER_STEP, ms);
}

void SetLdgRts() {
    if (g_ldgrtspulse) {
        // The tuner sleeps between commands; an RTS pulse wakes it.
        SetRTS(1, g_ldgport);
        WriteTrace("turn on LDG RTS\n");
        plat::SleepMs(4);
        SetRTS(0, g_ldgport);
        WriteTrace("turn off LDG RTS\n");
        plat::SleepMs(2);
    } else {
        plat::SleepMs(5);
    }
}

// The panel's tuner fields and buttons show what the tuner state says.
void ShowTunerSwr() {
    if (g_swlpanel) g_swlpanel->ShowTunerSwr(g_ldgswrtext);
}
void ShowTunerResult() {
    if (g_swlpanel) g_swlpanel->ShowTunerResult(g_ldgtunertext);
}
void ShowTunerCaptions() {
    if (g_swlpanel) g_swlpanel->ShowTunerCaptions(g_ldgantenna, g_ldghiz);
}

void Record(const std::uint8_t* r) {
    switch (r[1]) {
    case 6: g_ldgswr = LdgSwrFromPower(r[3]); break;
    case 7: {
        if (g_ldgswr != 0) {
            std::snprintf(g_ldgswrtext, sizeof g_ldgswrtext, "%2.2f", g_ldgswr / 100.0);
            ShowTunerSwr();
        }
        if (!g_settingrequested) break;
        g_settingrequested = 0;
        const int period = LdgPeriod(TxFreq());
        // Outside the recall range there is no cell the setting could be
        // recalled from.
        if (period < 0) break;
        const std::uint16_t value = std::uint16_t(r[2] * 256 + r[3]);
        StoreLdgSetting(period, value);
        g_lastsetting = value;
        g_lastantenna = g_ldgantenna;
        g_storepending = 1;
        WriteTracef("returned tuner act period %d, calc period %d", period, g_lastperiod);
        break;
    }
    case 9:
        if (g_tunerstate != 3) break;
        WriteTrace("good tune exit");
        g_goodtune = 1;
        g_settingrequested = 1;
        SetCivTimer(TIMER_AUTOTUNE, 10);
        break;
    case 10:
        if (g_tunerstate != 3) break;
        WriteTrace("bad tune exit");
        g_badtune = 1;
        SetCivTimer(TIMER_AUTOTUNE, 10);
        break;
    case 12:
        WriteTrace("mem clear complete");
        // The tuner forgot its settings: so does the image, at the recall.
        g_clearpending = 1;
        ShowTunerResult();
        SetCivTimer(TIMER_TUNER_RECALL, 100);
        break;
    default: break;
    }
}

// A button that makes the tuner work: tune power, CW, and its action.
void Queue(int action, unsigned watchdogMs) {
    if (g_tunerstate != 0) return;
    g_savedpower = g_power;
    SetTxPower(g_at200pctunerpower);
    g_savedmode = char(g_vfoamode);
    if (!g_amtnactive && g_swlpanel) g_swlpanel->PressModeButton('3');
    g_tuneraction = action;
    Step(1, 20);
    SetCivTimer(TIMER_AUTOTUNE, watchdogMs);
}

void CapInd(int action) {
    if (TxFreq() > 30.0) return;
    if (g_tunerstate == 2 && g_tuneraction == action) {
        // Pressed again while waiting: one more step.
        Step(6, 20);
        return;
    }
    Queue(action, 8000);
}

void RunAction(int action) {
    switch (action) {
    case 0:
        SendByte(0x06);
        // The tuner tunes on a carrier; the end of the tune keys off again.
        keyon();
        g_ldgswr = 10000;
        g_swrlast = 20000;
        g_stablecount = 0;
        Step(3, 1000);
        break;
    case 1:
        SendByte(0x2C);
        autotunerexit();
        break;
    case 2: case 3: case 4: case 5: {
        static constexpr std::uint8_t kBytes[] = {0x04, 0x03, 0x02, 0x01};
        SendByte(kBytes[action - 2]);
        Step(9, 2000);
        break;
    }
    case 6:
    case 7:
        SendByte(action == 6 ? 0x09 : 0x08);
        Step(9, 1000);
        break;
    case 9:
        if (!g_ldgrtspulse) keyoff();
        g_tuneraction = 30;
        Step(2, 500);
        break;
    case 10:
        SendByte(0x2E);
        WriteTracef("tuner save radiofreq %09.6f", g_vfoafreq);
        Step(9, 100);
        break;
    case 11:
        SendByte(0x05);
        g_settingrequested = 1;
        Step(3, 500);
        break;
    case 20:
        SendByte(g_ldgantenna == 2 ? 0x0B : 0x0A);
        SetCivTimer(TIMER_TUNER_RECALL, 500);
        g_tuneraction = 9;
        Step(2, 200);
        break;
    case 21: case 22: case 23: case 24: case 35: {
        if (action == 21) SendByte(0x3F);
        if (action == 22) SendByte(0x3B);
        if (action == 23) SendByte(g_ldghiz ? 0x08 : 0x09);
        if (action == 24) {
            SendByte(g_ldgantenna == 2 ? 0x0B : 0x0A);
            ShowTunerCaptions();
        }
        if (action == 35) SendByte(0x2D);
        int next = 0;
        for (std::size_t i = 0; i + 1 < std::size(kChain); ++i)
            if (kChain[i] == action) next = kChain[i + 1];
        g_chainnext = next;
        g_tuneraction = 99;
        Step(2, 100);
        break;
    }
    case 99:
        SendByte(0x00);
        if (g_chainnext == 0) {
            Step(9, 100);
        } else {
            g_tuneraction = g_chainnext;
            Step(2, 100);
        }
        break;
    default:  // 12, 30 and anything unknown end the sequence
        autotunerexit();
        break;
    }
}

}  // namespace

int LdgPeriod(double mhz) {
    if (!(mhz > kLdgLowMHz && mhz < kLdgHighMHz)) return -1;
    return int(20480.0 / mhz);
}

std::uint16_t LdgSetting(int period) {
    if (!g_ldgimage || period < 0 || period >= kPeriods) return 0;
    return std::uint16_t(g_ldgimage[2 * period] | (g_ldgimage[2 * period + 1] << 8));
}

void StoreLdgSetting(int period, std::uint16_t value) {
    if (!g_ldgimage || period < 0 || period >= kPeriods) return;
    g_ldgimage[2 * period] = std::uint8_t(value & 0xFF);
    g_ldgimage[2 * period + 1] = std::uint8_t(value >> 8);
}

int LdgSwrFromPower(std::uint8_t b3) {
    const double s = std::sqrt((b3 & 0x7F) / 256.0);
    return int(100.0 * (1.0 + s) / (1.0 - s));
}

void ReadLdgPort() {
    for (;;) {
        const int n = g_ldgrx.ReadFrom(g_ldgport);
        if (n <= 0) return;
        if (g_radioserver) {
            // The client's tuner parser reads these.
            sendtopartner(g_ldgrx.buf + g_ldgrx.len, n, 7);
            continue;
        }
        g_ldgrx.len = ParseLdg(g_ldgrx.buf, g_ldgrx.len + n);
    }
}

void ParseLdgFromServer(const std::uint8_t* data, int len) {
    while (len > 0) {
        if (g_ldgrx.len >= DeviceCarry::kSize) g_ldgrx.len = 0;
        const int take = std::min(len, DeviceCarry::kSize - g_ldgrx.len);
        std::memcpy(g_ldgrx.buf + g_ldgrx.len, data, std::size_t(take));
        g_ldgrx.len = ParseLdg(g_ldgrx.buf, g_ldgrx.len + take);
        data += take;
        len -= take;
    }
}

int ParseLdg(std::uint8_t* buf, int len) {
    int j = 0;
    while (j < len && buf[j] != kRecordStart) ++j;
    if (g_trace > 0) {
        char prefix[48];
        std::snprintf(prefix, sizeof prefix, "From LDG  j=%d count %02X ", j, len);
        TraceHex(prefix, buf, len);
    }
    // Records are four bytes from an A5; a byte that is not A5 where a
    // record should start is noise, skipped until the next A5.
    while (j < len) {
        if (buf[j] != kRecordStart) {
            ++j;
            continue;
        }
        if (len - j < 4) break;
        Record(buf + j);
        j += 4;
    }
    const int left = len - j;
    if (left > 0) {
        WriteTracef("leftover cnt %d, j2 %d, st %d", left, j, g_tunerstate);
        std::memmove(buf, buf + j, std::size_t(left));
    }
    return left;
}

void sendtoldg(const std::uint8_t* data, int length) {
    if (length <= 0) return;
    if (g_client) {
        WriteTrace("Send to ldg server");
        std::uint8_t msg[64];
        const int n = std::min(length, int(sizeof msg) - 1);
        std::memcpy(msg, data, std::size_t(n));
        msg[n] = std::uint8_t(g_ldgrtspulse);
        sendtopartner(msg, n + 1, 7);
        return;
    }
    if (g_ldgport == plat::kInvalidPort) return;
    SetLdgRts();
    WriteDevice(g_ldgport, "Send to LDG ", "Send failed to LDG %d %d\n", data, length);
}

void RunTunerSequence() {
    if (g_internaltuner != kLdgTunerType) return;
    switch (g_tunerstate) {
    case 1:
    case 2:
    case 6:
        g_tunerstate = 2;
        RunAction(g_tuneraction);
        break;
    case 3: {
        const int diff = std::abs(g_swrlast - g_ldgswr);
        if (diff > 9)
            g_stablecount = 0;
        else
            ++g_stablecount;
        g_swrlast = g_ldgswr;
        Step(3, 500);
        break;
    }
    case 4:
        SetDTR(0, g_radioport);
        Step(3, 1000);
        break;
    case 9: autotunerexit(); break;
    default: break;
    }
}

void ClearTuneResults() {
    g_goodtune = 0;
    g_badtune = 0;
}

void autotunerexit() {
    const bool wasTune = g_tuneinprogress != 0;
    g_tunerstate = 0;
    g_tuneraction = 0;
    keyoff();
    KillCivTimer(TIMER_TUNER_STEP);
    KillCivTimer(TIMER_AUTOTUNE);
    WriteTrace("attimer state 0");
    if (wasTune) {
        g_tuneinprogress = 0;
        std::snprintf(g_ldgtunertext, sizeof g_ldgtunertext, "%s", g_goodtune ? "Tuned" : "No Tune");
        if (g_badtune) {
            std::snprintf(g_ldgswrtext, sizeof g_ldgswrtext, "%s", "High");
            ShowTunerSwr();
        }
        g_goodtune = g_badtune = 0;
        ShowTunerResult();
        SendByte(';');
        WriteTrace("back from sendtoldg");
    }
    if (!g_ldgrtspulse) {
        WriteTrace("check 1");
        if (g_savedmode && !g_amtnactive && g_swlpanel) g_swlpanel->PressModeButton(g_savedmode);
        WriteTrace("check 2");
        if (g_savedpower >= 0) {
            g_power = g_savedpower;
            WriteTrace("check 3");
            SetTxPower(g_power);
            WriteTrace("check 4");
        }
        g_savedpower = -1;
        g_savedmode = 0;
        WriteTrace("check 5");
    } else {
        g_ldgrtspulse = 0;
    }
    WriteTrace("autotunerexit exit");
}

void TunerRecall() {
    // The timer fired: the next frequency change arms it again.
    g_tunerrecallarmed = 0;
    if (g_tunerstate != 0 || g_ldgbusy) {
        g_tunerrecallarmed = 1;
        SetCivTimer(TIMER_TUNER_RECALL, 500);
        return;
    }
    if (g_storepending) {
        g_storepending = 0;
        WriteLdgFile();
    }
    if (g_clearpending) {
        g_clearpending = 0;
        if (g_ldgimage) std::memset(g_ldgimage, 0, kLdgImageSize);
        WriteLdgFile();
    }
    if (g_transmitting || !g_ldgimage) return;
    const double f = g_vfoafreq;
    const int period = LdgPeriod(f);
    if (period < 0) return;
    if (std::abs(period - g_lastperiod) <= 1 && g_ldgantenna == g_lastantenna) return;
    int value = LdgSetting(period);
    if (value == 0) {
        int range = int(29200.0 / (10.0 * f));
        int rangeup = range;
        if (period + rangeup > kSearchLimit) rangeup = kSearchLimit - period;
        int up = 30000, dn = 30000;
        for (int i = 1; i <= rangeup; ++i)
            if (LdgSetting(period + i)) {
                up = i;
                break;
            }
        for (int i = 1; i <= range && period - i >= 0; ++i)
            if (LdgSetting(period - i)) {
                dn = i;
                break;
            }
        WriteTracef("rangeup %d, rangedn %d, periodup %d, perioddn %d, period %d", rangeup, range, up, dn, period);
        if (up == 30000 && dn == 30000) {
            WriteTrace("period not found");
            return;
        }
        value = dn <= up ? LdgSetting(period - dn) : LdgSetting(period + up);
    }
    if (value == g_lastsetting && g_ldgantenna == g_lastantenna) {
        WriteTrace("period not changed");
        return;
    }
    const std::uint8_t cmd[3] = {'C', std::uint8_t(value >> 8), std::uint8_t(value & 0xFF)};
    const int pulse = g_ldgrtspulse;
    g_ldgrtspulse = 1;
    sendtoldg(cmd, 3);
    g_ldgrtspulse = pulse;
    g_lastperiod = period;
    g_lastsetting = value;
    g_lastantenna = g_ldgantenna;
    WriteTracef("tuner rcl radiofreq %09.6f, act period %d, calc period %d", f, period, period);
}

void ReadLdgFile() {
    if (!g_ldgimage) return;
    std::memset(g_ldgimage, 0, kLdgImageSize);
    auto data = plat::ReadWholeFile(kLdgFile, kLdgFileSize);
    if (!data) return;
    // A short file leaves the cells it does not reach empty.
    std::memcpy(g_ldgimage, data->data(), data->size());
    WriteTracef("ldg.dat read %d bytes", int(data->size()));
}

void WriteLdgFile() {
    if (!g_ldgimage) return;
    std::string why;
    if (!plat::WriteFileAtomic(kLdgFile, std::string(reinterpret_cast<const char*>(g_ldgimage), kLdgFileSize), &why))
        WriteTrace("ldg.dat not written: " + why);
}

// The port opener starts the chain through its hook.
const bool kChainHooked = (g_ldgportopened = StartLdgChain, true);

void StartLdgChain() {
    if (g_internaltuner != kLdgTunerType) return;
    g_ldgrtspulse = 1;
    g_tuneraction = 21;
    // The tuner needs the time after the port opens before it listens.
    Step(2, 200);
}

void OnTunerTune() {
    if (g_tunerstate != 0) return;
    if (g_internaltuner != kLdgTunerType) {
        g_tuneraction = 2;
        g_tunerstate = 1;
        return;
    }
    g_tuneinprogress = 1;
    Queue(0, 20000);
}
void OnTunerBypass() { Queue(1, 8000); }
void OnTunerCap1() { CapInd(2); }
void OnTunerCap2() { CapInd(3); }
void OnTunerInd1() { CapInd(4); }
void OnTunerInd2() { CapInd(5); }
void OnTunerRecall() { Queue(11, 8000); }
void OnTunerStore() { Queue(10, 8000); }
void OnTunerHiLoZ() {
    if (g_tunerstate != 0) return;
    g_ldghiz = !g_ldghiz;
    ShowTunerCaptions();
    Queue(g_ldghiz ? 7 : 6, 8000);
}

void ToggleTunerAntenna() {
    if (g_tunerstate != 0 || TxFreq() > 30.0) return;
    g_ldgantenna = g_ldgantenna == 2 ? 1 : 2;
    ShowTunerCaptions();
    g_ldgrtspulse = 1;
    g_tuneraction = 20;
    Step(2, 20);
    SetCivTimer(TIMER_AUTOTUNE, 8000);
}

// The radio window's tuner buttons (right clicks on "Cap" and "Ind" give
// 568 and 570).
bool OnTunerButton(unsigned id) {
    switch (id) {
    case 564: OnTunerTune(); break;
    case 566: OnTunerBypass(); break;
    case 567: OnTunerCap1(); break;
    case 568: OnTunerCap2(); break;
    case 569: OnTunerInd1(); break;
    case 570: OnTunerInd2(); break;
    case 576: OnTunerStore(); break;
    case 594: OnTunerRecall(); break;
    case 595: OnTunerHiLoZ(); break;
    case 6120: ToggleTunerAntenna(); break;
    default: return false;
    }
    return true;
}

void SendToSteppir(const std::uint8_t* data, int length) {
    WriteDevice(g_steppirport, "Send to Steppir ", "Send failed to Steppir %d %d\n", data, length);
}
