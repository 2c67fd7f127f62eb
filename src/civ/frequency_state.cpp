#include "civ/frequency_state.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/band_files.h"
#include "base/band_plan.h"
#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "base/settings_view.h"
#include "base/trace_log.h"
#include "civ/band_table.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_events.h"
#include "civ/engine_options.h"
#include "civ/frame_reader.h"
#include "civ/frequency_options.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/reply_processing.h"
#include "civ/setter_frames.h"
#include "civ/station_queries.h"
#include "civ/transverters.h"
#include "civ/tuning_state.h"
#include "civ/tuning_view.h"
#include "platform/clock.h"
#include "platform/types.h"

double g_lastsenta = 0;
double g_lastsentb = 0;
int g_split = 0;
int g_selvfo = 'A';
int g_tuning = 0;
double g_tvoffset = 0;
int g_dual = 0;
int g_diversity = 0;
int g_tunemodeon = 0;
int g_sweeprunning = 0;
int g_sweepbrunning = 0;
int g_sweeppause = 0;
int g_tunerrecallarmed = 0;

void ShowTransverterBox(const char* text) { TellOperator({text, "Transverter", plat::MB_OK, nullptr, true}); }
void (*g_transverterbox)(const char* text) = ShowTransverterBox;

int g_lastvfobmodesent = 0;
int g_lastvfobfiltersent = 0;

namespace {
constexpr unsigned kHoldoffMs = 800;
constexpr unsigned kSplitHoldoffMs = 1000;
constexpr int kAmpDriveEdit = 2536;  // the settings window's amplifier drive

// Propagation memory between calls.
int g_radiosplit = 0;          // split as last sent to the radio (0F 01 / 0F 00)
int g_lastsplitstate = 0;      // g_split at the previous SetTxFrequencies
double g_lasttxfreq = 0;       // transmit frequency at the previous SetTxFrequencies
int g_txpowersaved = 0;        // power in use when a transverter range was entered
double g_powerfactorsaved = 1;
int g_lasthalfkhz = -1;        // VFO A in 0.5 kHz units at the previous SetRadioFrequencies
int g_vfobdelaypending = 0;
int g_vfobsendpending = 0;
int g_lastsentriton = -1, g_lastsentxiton = -1, g_lastsentritoffset = 1 << 30;
int g_lastdual = 0;
int g_lastdiversity = 0;
int g_dualchanged = 0;
int g_lastvfobagcsent = 0;
// Tune mode saves.
int g_tunesavedpower = -1;
int g_tunesavedmodea = 0, g_tunesavedmodeb = 0, g_tunesavedfilter = 0;
int g_timestationused = 0;
// RadioStateChanged's last report.
double g_reportedvfoa = 0, g_reportedvfob = 0;
int g_reportedmodea = 0, g_reportedmodeb = 0, g_reportedpower = -1, g_reportedsplit = -1;

// FE FE to ctrl command [sub] f FD; `to` is the radio or 00 for the broadcast.
int BuildFrequencyFrame(std::uint8_t* buf, int to, int command, int sub, double mhz) {
    BuildCivHeader(buf);
    buf[2] = std::uint8_t(to);
    int n = 4;
    buf[n++] = std::uint8_t(command);
    if (sub >= 0) buf[n++] = std::uint8_t(sub);
    if (!FrequencyToBcd(mhz, buf + n)) std::memset(buf + n, 0, 5);
    n += 5;
    buf[n++] = kCivEnd;
    return n;
}

bool ExchangeFileNamed() { return g_pegasustransferfile[0] != 0; }

bool HasNative2m() { return ModelCap(g_has2m) != 0; }

double TwoMeterOffset() { return 144.0 - g_twometerif + g_twometercrystalcorrection / 1e6; }

double TransverterOffset(const Transverter& tv) {
    const double base = tv.lower > 30 ? tv.lower - tv.ifreq : tv.ifreq - tv.lower;
    return base + tv.crystal / 1e6;
}

// The enabled transverter holding `mhz` within lower - pad .. upper + pad; -1 none.
int TransverterFor(double mhz, double pad) {
    for (int i = 0; i < 5; ++i) {
        const Transverter& tv = g_transverter[i];
        if (TransverterInUse(tv) && mhz > tv.lower - pad && mhz < tv.upper + pad) return i;
    }
    return -1;
}

bool In2mTransverter(double mhz) { return !HasNative2m() && mhz > 143 && mhz < 149; }

int PanelDual() { return Tuning().dual; }

bool RowHolds(int row, double mhz) {
    return row >= 0 && row < kBandRows && g_bandstack[row].low <= mhz && mhz < g_bandstack[row].high - 1e-7;
}

}  // namespace

int g_newtuningpending = 0;

void HoldFrequencyReports(unsigned ms) {
    g_tuning = 1;
    KillCivTimer(TIMER_FREQ_HOLDOFF);
    SetCivTimer(TIMER_FREQ_HOLDOFF, ms);
}

// ---- Pure rules -------------------------------------------------------------

int CompareFrequencies(double a, double b, long long* hza, long long* hzb) {
    char ta[64], tb[64];
    std::snprintf(ta, sizeof ta, "%09.0f", a * 1000000.0);
    std::snprintf(tb, sizeof tb, "%09.0f", b * 1000000.0);
    if (hza) *hza = std::atoll(ta);
    if (hzb) *hzb = std::atoll(tb);
    return std::strncmp(ta, tb, 9);
}

double RadioFrequencyFor(double mhz) {
    for (const Transverter& tv : g_transverter) {
        if (!TransverterInUse(tv)) continue;
        const double lo = tv.lower > 10 ? tv.lower - 1 : tv.lower;
        const double hi = tv.lower > 10 ? tv.upper + 1 : tv.upper;
        if (mhz > lo && mhz < hi) return tv.lower > 30 ? mhz - TransverterOffset(tv) : mhz + TransverterOffset(tv);
    }
    if (In2mTransverter(mhz)) return mhz - TwoMeterOffset();
    return mhz;
}

int BandIndex(double mhz) {
    for (int row = 0; row < kBandRows; ++row)
        if (RowHolds(row, mhz)) return row;
    return kGenBandRow;
}

int BandSearchRow(double mhz, int preferred) {
    if (preferred != kNoBandRow && RowHolds(preferred, mhz)) return preferred;
    for (int row : g_bandsearchorder)
        if (RowHolds(row, mhz)) return row;
    return -1;
}

int ModeCodeForModeChar(int modeChar) {
    switch (modeChar) {
        case 0x17: case '5': return 4;
        case '0': return 2;
        case '1': return 3;
        case '3': return 1;
        case '4': return 5;
        case '7': case '8': return 6;
        case '9': case ':': return 7;
        default: return 0;
    }
}

char ModeCharForCode(int code) {
    switch (code) {
        case 1: return '3';
        case 2: return '0';
        case 3: return '1';
        case 4: return '5';
        case 5: return '4';
        case 6: return '7';
        case 7: return '9';
        default: return 0;
    }
}

int BandPlanModeCode(double f) {
    int code = 5;  // AM everywhere by default
    auto in = [f](double lo, double hi) { return f >= lo && f < hi; };
    if (in(1.8, g_160meterline) || in(3.5, g_80meterline) || in(7, g_40meterline) || in(10.1, 10.15) ||
        in(14, g_20meterline) || in(18.068, 18.11) || in(21, g_15meterline) || in(24.89, 24.93) ||
        in(28, g_10meterline) || in(50, 50.107) || in(144, 144.1))
        code = 1;
    if (in(g_160meterline, 2) || in(g_80meterline, 4) || in(g_40meterline, 7.3)) code = 3;
    if (in(5.3, 5.41) || in(g_20meterline, 14.35) || in(g_15meterline, 21.45) || in(g_10meterline, 29.7) ||
        in(18.11, 18.168) || in(24.93, 24.99) || in(50.107, 52) || in(144.1, 144.5) || f >= 148)
        code = 2;
    if (in(29, 29.7) || in(52, 54) || in(144.5, 148)) code = 4;
    if (SegmentListHolds(g_rttysegments, f)) code = 6;
    if (SegmentListHolds(g_ssbsegments, f)) code = (f < 10 && !in(5.3, 5.41)) ? 3 : 2;
    return code;
}

namespace {
int g_txenablefinal = 0;  // set by the close: nothing may limit the power again
}  // namespace

void GiveBackTxEnable() {
    if (!g_txenable) SetTxEnable(1);
    g_txenablefinal = 1;
}

void CheckTxEnable() {
    if (g_txenablefinal) return;
    // The setting decides whether the licence is followed at all; the test
    // runs also while transmit is disabled, so that tuning back into the
    // band enables it again.
    if (!g_txenablesetting) return;
    if (!g_followlicense) {
        if (!g_txenable) SetTxEnable(1);
        return;
    }
    TxTuning t;
    t.bandrow = g_bandrow;
    t.vfoa = g_vfoafreq;
    t.modea = char(g_vfoamode);
    t.vfob = g_vfobfreq;
    t.modeb = char(g_vfobmode);
    t.xit = g_xiton != 0;
    t.ritoffset = g_xitoffset;
    t.split = g_split != 0;
    const int allowed = IsTxAllowed(t);
    if (allowed != g_txenable) {
        SetTxEnable(allowed);
        g_txenable = allowed;
    }
}

// ---- Sending ---------------------------------------------------------------------

void SetCommonFrequencies(int rit, double f, char v) {
    WriteTracef("SetCommonFrequencies ritadj %d, vfo %d, radio_freq2 %010.6f, split %d", rit, v, f, g_split);
    if (!g_7600fw2) f += rit / 1e6;
    double& last = v == 'A' ? g_lastsenta : g_lastsentb;
    if (CompareFrequencies(f, last) == 0) {
        last = f;
        if (g_7600fw2) HoldFrequencyReports(kHoldoffMs);
        return;
    }
    std::uint8_t bcd[5];
    if (!FrequencyToBcd(f, bcd)) {
        // Outside the five BCD bytes (negative, or 1000 MHz and above): a
        // frame of zeros would tune the radio to 0 Hz.
        WriteTracef("frequency %f not sent", f);
        return;
    }
    WriteTrace("scr 3");
    std::uint8_t buf[40];
    bool left = true;  // the frequency frame passed the send filter
    const bool mainsub = ModelCap(g_hasmainsub) != 0;
    if (v == 'B' && g_rawmode) {
        const std::uint8_t on = mainsub ? 0xD1 : 0x01;
        const std::uint8_t off = mainsub ? 0xD0 : 0x00;
        SendCiv({0x07, on});
        plat::SleepMs(50);
        // One write of three frames: select B, its frequency, back to A.
        int n = BuildCivFrame(buf, {0x07, on});
        n += BuildFrequencyFrame(buf + n, g_radioadr, 0x05, -1, f);
        n += BuildCivFrame(buf + n, {0x07, off});
        sendtoradio(buf, n);
        plat::SleepMs(50);
        SendCiv({0x07, off});
        g_selvfo = 'A';
    } else if (g_7600fw2 && g_rawmode) {
        // Raw mode lets only commands below 08 out, so command 25 would never
        // reach the radio; the radio stays on VFO A there and takes 05.
        const int n = BuildFrequencyFrame(buf, g_pw1 ? 0x00 : g_radioadr, g_pw1 ? 0x00 : 0x05, -1, f);
        left = PassesSendFilter(buf, n);
        sendtoradio(buf, n);
    } else if (g_7600fw2) {
        int to = g_radioadr;
        if (g_pw1 && v == 'A') {
            sendtoradio(buf, BuildFrequencyFrame(buf, 0x00, 0x00, -1, f));
            to = 0x00;
        }
        const int n = BuildFrequencyFrame(buf, to, 0x25, v == 'A' ? 0x00 : 0x01, f);
        left = PassesSendFilter(buf, n);
        sendtoradio(buf, n);
    } else {
        SelectVfo(v);
        if (g_pw1)
            sendtoradio(buf, BuildFrequencyFrame(buf, 0x00, 0x00, -1, f));
        else
            sendtoradio(buf, BuildFrequencyFrame(buf, g_radioadr, 0x05, -1, f));
    }
    // A frame the send filter held back never reached the radio: keep the
    // old value so the next send tries again.
    if (left) last = f;
    if (g_7600fw2) HoldFrequencyReports(kHoldoffMs);
}

void SetRadioFrequencies() {
    if (g_rawmode && ExchangeFileNamed() && g_firstpoll) return;
    if (g_sweeprunning) Announce().SweepFrequency(g_vfoafreq);
    if (g_internaltuner == 4 && !g_tunerrecallarmed) {
        g_tunerrecallarmed = 1;
        SetCivTimer(TIMER_TUNER_RECALL, 100);
    }
    if (!g_radioserver) Announce().AntennaFrequency(g_vfoafreq);
    if (g_pegportsel) Announce().BandChanged();
    if (!g_sweeprunning) UpdateBandStack(g_vfoafreq, 0);
    if (g_allowed) {
        const int rit = g_riton && !g_dual && !g_split ? g_ritoffset : 0;
        SetCommonFrequencies(rit, RadioFrequencyFor(g_vfoafreq), 'A');
        SetTxFrequencies();
    }
    if (!g_sweeprunning) {
        UpdateBandStack(g_vfoafreq, 0);
        const int half = int(g_vfoafreq * 2000);
        if (half != g_lasthalfkhz) {
            g_lasthalfkhz = half;
            Announce().StationFrequency(g_vfoafreq);
        }
        CheckTxEnable();
    }
    if (g_diversity) {
        SetVfoBFrequency(g_vfoafreq);
        SendVfoBFreq();
        if (ExchangeFileNamed())
            SetRadioFrequenciesVFOB();
        else
            EqualizeMainSub();
    }
    if (g_client || g_perseus || (g_perseuspan && g_thp) || g_thppoll) HoldFrequencyReports(kHoldoffMs);
}

void SetRadioFrequenciesVFOB() {
    if (g_dual && ExchangeFileNamed()) {
        SendFreqToRX340();
        return;
    }
    WriteTrace("SetRadioFrequenciesVFOB");
    if (g_sweepbrunning) Announce().SweepFrequency(g_vfobfreq);
    SetCommonFrequencies(0, RadioFrequencyFor(g_vfobfreq), 'B');
    if (g_split) SetTxFrequencies();
}

void SetTxFrequencies() {
    WriteTrace("SetTxFrequencies");
    const double tx = g_split ? g_vfobfreq : g_vfoafreq;
    const bool xitApplies = g_xiton && !g_dual && !g_split;
    const bool ritxit = !g_7600fw2 && !g_dual && !g_split && (g_riton || g_xiton);
    if (ritxit) g_lastsentb = 0;

    if (g_split != g_lastsplitstate) {
        g_lastsplitstate = g_split;
        HoldFrequencyReports(kSplitHoldoffMs);
        WriteTrace("Split changed");
    }

    // Transverter ranges: leaving one restores the power, entering one
    // limits it to the transverter's.
    const int before = TransverterFor(g_lasttxfreq, 0.1);
    const int after = TransverterFor(tx, 0.1);
    const bool was2m = g_lasttxfreq != 0 && In2mTransverter(g_lasttxfreq);
    const bool is2m = In2mTransverter(tx);
    // The new transmit frequency counts as seen before any box is shown:
    // the box runs a nested loop, and a push from it must not find the
    // same range left a second time.
    g_lasttxfreq = tx;
    auto leave = [](const char* warning, int& powerlast) {
        // The transverter's power stays in force until the operator has
        // answered, so the radio's full power never reaches a transverter
        // still connected; the timer loop holds everything but the meter.
        if (!g_suppresstransverterwarnings && !g_transverterhold) {
            WriteTrace(warning);
            g_transverterhold = 1;
            g_transverterbox(warning);
            g_transverterhold = 0;
        }
        powerlast = g_power;
        g_power = g_txpowersaved;
        g_powerfactor = g_powerfactorsaved;
        SetTxPower(g_power);
    };
    if (before >= 0 && after != before)
        leave("Turn off Transverter\n", g_transverter[before].powerlast);
    else if (was2m && !is2m && after < 0)
        leave("Turn off 2 Meter Transverter\n", g_twometerpowerlast);
    auto enter = [](int full, int last) {
        g_txpowersaved = g_power;
        g_powerfactorsaved = g_powerfactor;
        if (full < 1) full = 1;
        g_powerfactor = 100.0 / full;
        g_power = last < full ? last : full;
        SetTxPower(g_power);
    };
    if (after >= 0 && after != before)
        enter(g_transverter[after].power, g_transverter[after].powerlast);
    else if (after < 0 && is2m && !was2m)
        enter(g_twometerpower, g_twometerpowerlast);

    double f = tx;
    const int tv = TransverterFor(tx, 1);
    if (tv >= 0) {
        const double off = TransverterOffset(g_transverter[tv]);
        g_tvoffset = g_transverter[tv].lower > 30 ? off : -off;
        f = g_transverter[tv].lower > 30 ? tx - off : tx + off;
    } else if (In2mTransverter(tx)) {
        g_tvoffset = TwoMeterOffset();
        f = tx - g_tvoffset;
    } else {
        g_tvoffset = 0;
    }

    if (xitApplies) f += g_xitoffset / 1e6;
    if (g_split || ritxit) {
        SetCommonFrequencies(0, f, 'B');
        if (!g_radiosplit) {
            g_radiosplit = 1;
            SendCiv({0x0F, 0x01});
            // The mirror poll writes it once more, straight to the port, so
            // the split its next replies report is the one set here.
            g_pollrequests.splitOn = 1;
            SetModeB(g_vfobmode);
        }
    } else if (g_radiosplit) {
        g_radiosplit = 0;
        SetCommonFrequencies(0, f, 'A');
        SendCiv({0x0F, 0x00});
        g_pollrequests.splitOff = 1;
    }

    if (g_7600fw2) {
        if (g_riton != g_lastsentriton) {
            g_lastsentriton = g_riton;
            SendCiv({0x21, 0x01, std::uint8_t(g_riton ? 1 : 0)});
        }
        if (g_xiton != g_lastsentxiton) {
            g_lastsentxiton = g_xiton;
            SendCiv({0x21, 0x02, std::uint8_t(g_xiton ? 1 : 0)});
        }
        const int offset = g_riton ? g_ritoffset : g_xiton ? g_xitoffset : 0;
        if (offset != g_lastsentritoffset) {
            g_lastsentritoffset = offset;
            int mag = offset < 0 ? -offset : offset;
            if (mag > 9999) mag = 9999;
            std::uint8_t two[2];
            LevelToBcd(mag, two);
            // Least significant pair first, then the sign.
            SendCiv({0x21, 0x00, two[1], two[0], std::uint8_t(offset < 0 ? 1 : 0)});
        }
    }
}

// ---- Display ---------------------------------------------------------------------

void SendVfoAFreq() {
    if (g_frequencydelay == 0) {
        TuningDisplay().ShowFrequency('A', g_vfoafreq);
        return;
    }
    if (g_vfoadelaypending) return;
    g_vfoadelaypending = 1;
    SetCivTimer(TIMER_VFOA_DELAY, unsigned(g_frequencydelay));
}

void SendVfoBFreq() {
    if (g_frequencydelay == 0 || g_7600fw2) {
        TuningDisplay().ShowFrequency('B', g_vfobfreq);
        return;
    }
    if (g_vfobdelaypending) return;
    g_vfobdelaypending = 1;
    SetCivTimer(TIMER_VFOB_DELAY, unsigned(g_frequencydelay));
}

void OnVfoADelayTimer() {
    KillCivTimer(TIMER_VFOA_DELAY);
    g_vfoadelaypending = 0;
    TuningDisplay().ShowFrequency('A', g_vfoafreq);
}

void OnVfoBDelayTimer() {
    KillCivTimer(TIMER_VFOB_DELAY);
    g_vfobdelaypending = 0;
    TuningDisplay().ShowFrequency('B', g_vfobfreq);
}

void OnFreqHoldoffTimer() {
    KillCivTimer(TIMER_FREQ_HOLDOFF);
    g_tuning = 0;
}

// ---- Tuning ------------------------------------------------------------------------

namespace {
void ArmNewTuning() {
    if (g_newtuningpending) return;
    g_newtuningpending = 1;
    SetCivTimer(TIMER_NEW_TUNING, unsigned(g_tuningdelay));
}

void TuneBy(double hz) {
    const double f = g_vfoafreq + hz / 1e6;
    if (CheckCoverage(f) != 0) return;
    SetVfoAFrequency(f);
    SendVfoAFreq();
    ArmNewTuning();
}

double Step() {
    const double s = Tuning().step;
    return s < 1 ? 1 : s;
}
}  // namespace

void OnVfoBSendTimer() {
    KillCivTimer(TIMER_VFOB_SEND);
    g_vfobsendpending = 0;
    SetRadioFrequenciesVFOB();
}

void TuneUp() { TuneBy(Step()); }
void TuneDown() { TuneBy(-Step()); }
void OnFastTuneUp() { TuneBy(Step() * g_fasttuningmult); }
void OnFastTuneDown() { TuneBy(-Step() * g_fasttuningmult); }

void TuneVfoA(int deltaHz) {
    if (g_sweeprunning) return;
    const double f = g_vfoafreq + deltaHz / 1e6;
    if (CheckCoverage(f) == 0) SetVfoAFrequency(f);
    SendVfoAFreq();
    ArmNewTuning();
}

void TuneVfoB(int deltaHz) {
    if (g_sweepbrunning) return;
    const double f = g_vfobfreq + deltaHz / 1e6;
    if (CheckCoverage(f) == 0) SetVfoBFrequency(f);
    if ((g_split || g_dual) && !g_vfobsendpending) {
        g_vfobsendpending = 1;
        SetCivTimer(TIMER_VFOB_SEND, unsigned(g_tuningdelay));
    }
    SendVfoBFreq();
}

namespace {
// Hz that one wheel click on digit box `id` moves; 0 for none.
double DigitStep(unsigned id, unsigned first, double mhz) {
    if (id < first || id > first + 6) return 0;
    double hz = std::pow(10.0, 6 - int(id - first));  // 1 MHz down to 1 Hz
    if (mhz >= 10000) return 0;
    if (mhz >= 1000) return hz * 100;
    if (mhz >= 100) return hz * 10;
    return hz;
}
}  // namespace

void TuneDigitA(unsigned id, int clicks) {
    const double hz = DigitStep(id, IDC_DIGITS_A + 1, g_vfoafreq);
    if (hz != 0) TuneVfoA(int(hz * clicks));
}

void TuneDigitB(unsigned id, int clicks) {
    const double hz = DigitStep(id, IDC_DIGITS_B + 1, g_vfobfreq);
    if (hz != 0) TuneVfoB(int(hz * clicks));
}

void OnVScroll(int delta) {
    double s = Tuning().step + delta;
    if (s < 0) s = 0;
    if (s > 100000) s = 100000;
    TuningDisplay().SetStep(int(s));
}

// ---- Band stack ------------------------------------------------------------------

void UpdateBandStack(double f, int store) {
    if (RowHolds(g_bandrow, f)) return;
    const int before = g_bandrow;
    const int row = BandSearchRow(f, g_prevbandrow);
    const bool storing = store && !g_sweeprunning && !g_sweepbrunning && !g_memscan;
    const int target = row >= 0 ? row : (storing ? kGenBandRow : -1);
    if (row >= 0) g_bandrow = row;
    if (storing && target >= 0) {
        BandStackEntry& e = g_bandstack[target];
        e.last = f;
        e.second = g_split ? g_vfobfreq : 0;
        e.mode = g_vfoamode;
        e.filter = g_rxfilter;
    }
    if (g_bandrow != before) TuningDisplay().Show(TuningShow::Band);
    if (g_experton && g_bandrow >= 0 && g_bandrow < kBandRows) {
        const int drive = g_ampdrive[g_bandrow];
        char text[16];
        std::snprintf(text, sizeof text, "%d", g_ampdrivebyband ? drive : g_ampdrivefactor);
        SettingsWindow().SetEditText(kAmpDriveEdit, text);
        WriteTracef("band amp drive %d, band %d", drive, g_bandrow);
    }
}

void TuneToFrequency(double f, int source) {
    if (CheckCoverage(f) != 0) return;
    const int before = g_bandrow;
    TuningDisplay().StoreBand(g_vfoafreq);
    SetVfoAFrequency(f);
    SetRadioFrequencies();
    SendVfoAFreq();
    UpdateBandStack(f, 0);
    const bool bandChanged = g_bandrow != before;
    if (bandChanged && !g_passive) {
        const int r = g_bandrow;
        TuningState& t = Tuning();
        TuningView& view = TuningDisplay();
        if (g_bandpower[r] != 0) {
            g_power = g_bandpower[r];
            g_powerchanged = 1;
            view.Show(TuningShow::Power);
        }
        // The panel shows the band's values at once; the next push sends them.
        t.preamp = g_bandpreamp[r];
        view.Show(TuningShow::Preamp);
        t.attenuator = g_bandattn[r];
        view.Show(TuningShow::Attenuator);
        if (g_bandmainant[r] != 9) {
            t.antenna = g_bandmainant[r];
            view.Show(TuningShow::Antenna);
        }
        if (g_bandsubant[r] != 9) {
            t.rxAntenna = g_bandsubant[r];
            view.Show(TuningShow::RxAntenna);
        }
        if (g_bandlocut[r] != 355) view.SetPbt(PbtCut::Inner, g_bandlocut[r]);
        if (g_bandhicut[r] != 355) view.SetPbt(PbtCut::Outer, g_bandhicut[r]);
    }
    int code = 0;
    if (source != 0 || g_rawmode || !g_modeoldway)
        code = source;
    else if (RowHolds(g_bandrow, f))  // no band-plan option exists: the row decides inside its band
        code = ModeCodeForModeChar(g_bandstack[g_bandrow].mode);
    else
        code = BandPlanModeCode(f);
    const char mode = ModeCharForCode(code);
    if (mode) TuningDisplay().SelectPresetMode(mode);
}

// ---- Tune mode -----------------------------------------------------------------------

void SetTuneMode(int on) {
    const bool keepPower = g_notunesave || g_amtnactive || TransverterFor(g_vfoafreq, 1) >= 0;
    if (on) {
        g_tunemodeon = 1;
        if (!keepPower) {
            g_tunesavedpower = g_power;
            if (g_tunepower != g_power) SetTxPower(g_tunepower);
        }
        g_tunesavedmodea = g_vfoamode;
        g_tunesavedmodeb = g_vfobmode;
        g_tunesavedfilter = g_rxfilter;
        if (g_vfoamode != '4') {
            const int tm = g_rttytunemode ? '7' : '3';
            const bool already = g_vfoamode == tm && g_vfobmode == tm;
            SetVfoModes(tm, tm);
            if (g_notunesave || !already) SetModeA(tm, tm);
        }
        SetRadioFrequencies();
        TuningDisplay().Show(TuningShow::TuneButton, 1);
        Announce().KeyOn();
        if (g_autostarttuner) StartTuner();
        return;
    }
    Announce().KeyOff();
    g_tunemodeon = 0;
    if (!keepPower && g_tunesavedpower >= 0) {
        g_tunepower = g_power;
        if (g_tunesavedpower != g_power) SetTxPower(g_tunesavedpower);
        g_power = g_tunesavedpower;
    }
    const int tunemode = g_vfoamode;
    SetVfoModes(g_tunesavedmodea, g_tunesavedmodeb);
    if (!(g_vfoamode == tunemode && g_vfobmode == tunemode)) SetModeA(g_vfoamode, g_split ? g_vfobmode : g_vfoamode);
    SetRadioFrequencies();
    TuningDisplay().Show(TuningShow::TuneButton, 0);
    g_rxfilter = g_tunesavedfilter;
    SetFilterWidthA(g_rxfilter);
    Tuning().filter = g_rxfilter;
    TuningDisplay().Show(TuningShow::FilterButtons, g_rxfilter);
}

// ---- Second receiver and dual watch -------------------------------------------------

void ForgetVfoBSent() {
    g_lastvfobmodesent = 0;
    g_lastvfobagcsent = 0;
    g_lastvfobfiltersent = 0;
}

void SendFreqToRX340() {
    WriteTrace("SendFreqToRX340");
    const bool named = Announce().DualFrequencyFile();
    // The Perseus on CAT-out port 1 serves as the second receiver.
    const bool secondRx = g_perseuspan && Ask().CatOutPortOpen(1);
    if ((!named && ModelCap(g_hasmainsub) && !g_rawmode) || secondRx) {
        const int dual = PanelDual();
        Announce().SecondReceiverChanged();
        if (g_perseuspan && g_thp) {
            WriteTracef("Invalidate dual X1 dual %d", g_dual);
            HoldFrequencyReports(500);
        }
        g_dual = dual;
        if (secondRx) {
            // Dual watch is the second receiver heard (1) or muted (0); the
            // transmit start and end mute it on their own.
            if (!g_transmitting) Announce().SecondReceiverMute(g_dual ? 1 : 0);
            if (g_lastdiversity && !g_diversity && !named) SetModeB(g_vfobmode);
            g_lastdiversity = g_diversity;
            return;
        }
        if (g_dualchanged) {
            if (!g_submuted) ToggleSubMute();
            SetMenuDualFlag();
            g_dualchanged = 0;
        }
        if (g_dual) {
            g_vfobmode = Tuning().vfoBMode;
            if (!g_lastdual) {
                SetDualWatch(1);
                g_pollrequests.dualOn = 1;
                SetMenuDualFlag();
            }
            if (g_vfobmode != g_lastvfobmodesent) {
                g_lastvfobmodesent = g_vfobmode;
                SetModeB(g_vfobmode);
                SetFilterWidthA(Tuning().filter);
            }
            if (g_agcmodevfob != g_lastvfobagcsent) {
                g_lastvfobagcsent = g_agcmodevfob;
                SetAgcB(g_agcmodevfob);
            }
            if (g_vfobrxfilter != g_lastvfobfiltersent) {
                g_lastvfobfiltersent = g_vfobrxfilter;
                SetFilterWidthB(g_vfobrxfilter);
            }
            g_vfobfreq = Tuning().vfoBFreq;
            if (!g_vfobsendpending) {
                g_vfobsendpending = 1;
                SetCivTimer(TIMER_VFOB_SEND, unsigned(g_tuningdelay));
            }
            if (g_dual != g_lastdual) {
                WriteTrace("scr 5");
                SelectVfo('A');
            }
            if (g_submuted) ToggleSubMute();
        } else {
            if (ModelCap(g_dualby1659))
                SendCiv({0x16, 0x59, 0x00});
            else
                SendCiv({0x07, 0xC0});
            g_pollrequests.dualOff = 1;
            WriteTrace("scr 6");
            SelectVfo('A');
            SetMenuDualFlag();
            if (!g_submuted) ToggleSubMute();
        }
        g_lastdual = g_dual;
    }
    if (g_lastdiversity && !g_diversity && !named) SetModeB(g_vfobmode);
    g_lastdiversity = g_diversity;
}

int RadioStateChanged() {
    if (g_vfoafreq < 0.1) return 0;
    int changed = 0;
    if (CompareFrequencies(g_vfoafreq, g_reportedvfoa) != 0 || g_vfoamode != g_reportedmodea) changed = 1;
    const int split = (g_rawmode && ExchangeFileNamed()) ? std::fabs(g_vfoafreq - g_vfobfreq) > 9e-6 : g_split;
    if (!changed && (g_vfobmode != g_reportedmodeb || g_power != g_reportedpower || split != g_reportedsplit ||
                     CompareFrequencies(g_vfobfreq, g_reportedvfob) != 0))
        changed = 1;
    g_reportedvfoa = g_vfoafreq;
    g_reportedvfob = g_vfobfreq;
    g_reportedmodea = g_vfoamode;
    g_reportedmodeb = g_vfobmode;
    g_reportedpower = g_power;
    g_reportedsplit = split;
    return changed;
}

void OnTimeStation(double mhz) {
    if (!g_timestationused) {
        g_timestationused = 1;
        TuningDisplay().StoreBand(g_vfoafreq);
        g_rxfilter = 2;
        g_vfoamode = '4';
        Tuning().filter = 2;
        TuningDisplay().ShowFilter(2);
        Tuning().vfoAMode = '4';
        SetModeA('4', '4');
    }
    SetVfoAFrequency(mhz);
    SendVfoAFreq();
    SetRadioFrequencies();
    SetFilterWidthA(g_rxfilter);
}
