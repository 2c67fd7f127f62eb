#include "civ/reply_processing.h"

#include <algorithm>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "base/settings_view.h"
#include "base/trace_log.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_events.h"
#include "civ/engine_options.h"
#include "civ/filter_widths.h"
#include "civ/frame_reader.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/reply_slots.h"
#include "civ/reply_store.h"
#include "civ/setter_frames.h"
#include "civ/station_queries.h"
#include "civ/tuning_state.h"
#include "civ/tuning_view.h"

int g_transmitting = 0;
int g_transmitmarker = 0;
int g_txbegun = 0;
int g_recallwait = 0;
bool (*g_antennaheld)() = nullptr;
int g_smeterpeak = 1;
int g_smeterhold = 0;
int g_scanstopped = 0;

namespace {
constexpr unsigned kSweepResumeMs = 2000;
constexpr int kMaxResumeSeconds = 2000000;
constexpr int kScanStartBox = 2444;  // the settings window's "Start Frequency Scan"
constexpr int kScanStopBox = 2445;   // and "Stop Frequency Scan"

int Bcd(int b) { return (b >> 4) * 10 + (b & 0x0F); }

void HeardMeter() {
    if (g_radioheard == 0) g_radioheard = 1;
}

bool ExternalWattmeter() { return g_wattmetertype || g_wavenode || g_lp500; }

}  // namespace

FilterWidthReply ReadFilterWidthReply(const ReplySlot& slot) {
    FilterWidthReply r;
    r.first = slot.length > 2 ? slot.bytes[2] : kCivEnd;
    r.second = slot.length > 3 ? slot.bytes[3] : kCivEnd;
    const int third = slot.length > 4 ? slot.bytes[4] : kCivEnd;
    if (r.second == kCivEnd)
        r.code = Bcd(r.first);
    else if (third == kCivEnd)
        r.code = Bcd(r.first) * 100 + Bcd(r.second);
    return r;
}

int FilterFromModeReply(const ReplySlot& slot, bool dsp, char mode) {
    if (slot.length < 3 || slot.bytes[2] == kCivEnd) return 0;  // no filter byte: keep the filter
    int f = slot.bytes[2] + (ModelCap(g_filterbase) ? 1 : 0);
    if (dsp && f >= 1 && f <= 3) {
        const bool am = mode == '4' || mode == '5' || mode == ';';
        const int* buttons = am && ModelCap(g_hasamfmwidth) ? g_amfilterbuttons : g_filterbuttons;
        f = buttons[f - 1];
    }
    return f;
}

namespace {
bool ProcessFrequency() {
    ReplySlot& slot = g_replies.freq;
    WriteTracef("g_doingcwid %d, g_client %d, g_tuning %d, g_savemem %d", g_doingcwid, g_client, g_tuning, g_savemem);
    if (g_doingcwid || g_client || (g_tuning && !g_firstpoll && !g_savemem)) {
        WriteTrace("Throw away freq message tuning on");
        slot.fresh = false;
        return false;
    }
    WriteTrace("received freq");
    // Frames from the remote link reach the slot without the reader's check.
    if (!BcdValid(slot.bytes + 5, 5)) {
        WriteTrace("Throw away bad BCD " + HexBytes(slot.bytes, slot.length < 11 ? slot.length : 11));
        slot.fresh = false;
        return false;
    }
    const double f = BcdToFrequency(slot.bytes + 5, g_tvoffset);
    if (g_savemem && Announce().MemoryFrequency(f)) return false;
    WriteTrace("not savemem");
    if (g_7600fw2 && g_replies.freqsub == 0x01) {
        SetVfoBFrequency(f);
        if (g_dual) SendFreqToRX340();
        SendVfoBFreq();
        return false;
    }
    bool ignore = false;
    if (g_split) {
        const bool isA = CompareFrequencies(f, g_vfoafreq) == 0;
        const bool isB = CompareFrequencies(f, g_vfobfreq) == 0;
        if ((!isA && !isB) || isB) {
            WriteTrace("ignore");
            ignore = true;
        }
    }
    // A report that arrives while the operator's own tuning waits to be sent
    // is older than that tuning (the meter poll asks every tick). Not so
    // under the start-up hold: the program starts from the radio's
    // frequency, and the tuning then pending is only the saved one that the
    // panel showed at creation.
    const bool panelPending =
        !g_firstpoll && ((Tuning().keyA.active || g_swlpending) || g_newtuningpending == 1);
    if (ignore || panelPending || CompareFrequencies(f, g_vfoafreq) == 0) return false;

    WriteTrace("new freq");
    if (g_internaltuner == 4 && !g_tunerrecallarmed) {
        g_tunerrecallarmed = 1;
        SetCivTimer(TIMER_TUNER_RECALL, 100);
    }
    SetVfoAFrequency(f);
    g_lastsenta = f;
    if (g_diversity) {
        WriteTrace("a eq b");
        SendVfoAFreq();
        Announce().StationFrequency(f);
        if (g_pegportsel) Announce().BandChanged();
        SetVfoBFrequency(f);
        SendVfoBFreq();
        if (g_pegasustransferfile[0])
            SetRadioFrequenciesVFOB();
        else
            EqualizeMainSub();
        WriteTrace("scr 14");
        SelectVfo('A');
    } else {
        WriteTrace("process new freq");
        SendVfoAFreq();
        Announce().StationFrequency(f);
        UpdateBandStack(f, 1);
        if (g_pegportsel) Announce().BandChanged();
    }
    if (g_pegasustransferfile[0] && g_rawmode && !g_dual) SendFreqToRX340();
    const bool held = g_antennaheld && g_antennaheld();
    if (!held && (g_denkovi || g_ldg1000 || g_pelx || g_tavnag) && !g_radioserver) Announce().AntennaFrequency(f);
    return true;
}

void ProcessFilterWidth() {
    const FilterWidthReply r = ReadFilterWidthReply(g_replies.filterwidth);
    const int b1 = r.first, b2 = r.second;
    // A code without a table entry names no filter; taking the code itself as
    // the index would point past the table.
    const bool am = UsesAmTable(g_vfoamode) && ModelCap(g_hasamfmwidth);
    const int index = FilterIndexForCode(r.code, am);
    WriteTracef("number %d, 2 %02x 3 %02x", index, unsigned(std::int8_t(b1)) & 0xFFu, unsigned(std::int8_t(b2)) & 0xFFu);
    if (g_savemem) {
        Announce().MemoryFilterWidth(FilterWidthHz(index, am));
        return;
    }
    if (g_tunemodeon) return;
    if (index >= 1 && index != g_rxfilter) {
        SetRxFilter(index);
        TuningDisplay().ShowFilter(index);
        TuningDisplay().Show(TuningShow::FilterButtons, index);
    }
    if (g_firstpoll) FirstPoll();
}

bool ProcessMode() {
    const ReplySlot& slot = g_replies.mode;
    WriteTrace("Mode received");
    if (slot.length < 2) return false;
    const int civ = slot.bytes[1];
    if (g_savemem) {
        Announce().MemoryMode(civ, slot.length > 2 && slot.bytes[2] != kCivEnd ? slot.bytes[2] : -1);
        return false;
    }
    const bool keepDigital = !g_rawmode && !ModelCap(g_hasdigisel);
    const int m = ModeCharForCivByte(civ, g_vfoamode, keepDigital);
    bool changed = false;
    if (m && m != g_vfoamode) {
        WriteTracef("Mode change %d", m);
        SetVfoModes(m, m);
        TuningDisplay().Show(TuningShow::ModeCaptions);
        TuningDisplay().ShowTuning(g_vfoafreq, char(m), g_step, g_rxfilter, g_vfobfreq, char(m));
        if (g_rawmode && g_pegasustransferfile[0]) SendFreqToRX340();
        changed = true;
    }
    // The filter.
    const char mode = char(g_vfoamode);
    const bool dsp = ModelCap(g_hasfilterwidth) != 0;
    const bool amfm = mode == 0x17 || mode == '4' || mode == '5';
    bool fromReply = false;
    if (dsp && !amfm) {
        if (!g_rawmode) SendCiv({0x1A, 0x03});
    } else {
        fromReply = true;
        const int f = FilterFromModeReply(slot, dsp, mode);
        if (f >= 1 && f != g_rxfilter) {
            SetRxFilter(f);
            TuningDisplay().ShowFilter(f);
        }
    }
    if (g_firstpoll && !g_rawmode && fromReply) FirstPoll();
    return changed;
}

void ProcessSMeter() {
    if (g_radioheard == 0) {
        g_radioheard = 1;
        if (g_client) g_reinitrequest = 1;
    }
    const ReplySlot& slot = g_replies.smeter;
    int r = pdtoi(slot.bytes + 1);
    int s = SMeterSteps(r, g_perseus != 0);
    if (g_perseus) r = r * 10 / 9;
    if (!g_sweeprunning) s += (g_smetercomp / 6) * 256;
    s = std::max(s, 256);
    if (g_sweeprunning || g_sweepbrunning) {
        KillCivTimer(TIMER_SWEEP_RETRY);
        const int dyn = g_sweepdynamic > 0 ? g_sweepdynamic : 5;
        Announce().SweepReading(g_sweeprunning ? g_vfoafreq : g_vfobfreq, s * 5 / dyn);
    }
    if (s > g_smeterpeak) {
        g_smeterpeak = s;
        g_smeterhold = g_peaktime;
    } else if (g_smeterhold == 0) {
        g_smeterpeak = g_smeterpeak * 8 / 10;
    } else {
        --g_smeterhold;
    }
    s = std::max(s, 1);
    g_smeterpeak = std::max(g_smeterpeak, 1);
    AnnounceMeter(s, 4);
    AnnounceMeterPeak(g_smeterpeak, 4);
    if (g_transmitmarker && !g_transmitting) {
        Announce().SecondReceiverMute(2);
        AnnounceTransmit('A', 0);
        AnnounceTransmit('B', 0);
        g_transmitmarker = 0;
        g_txbegun = 0;
        if (g_thp && !g_sweeprunning && !g_sweepbrunning) {
            Announce().CatOutText(reinterpret_cast<const std::uint8_t*>("TQ0;"), 4, true);
        }
    }
}

void ProcessMeter(const ReplySlot& slot, int type) {
    HeardMeter();
    const int reading = ThreeDigitReading(slot.bytes + 1);
    int value = 0;
    bool show = false;
    switch (type) {
        case 1:
            value = PowerReading(reading, g_radiotype);
            show = g_metertype == 1 && !ExternalWattmeter();
            break;
        case 3:
            value = SwrTimes100(reading);
            show = g_metertype == 3 && !ExternalWattmeter();
            break;
        case 5:
            value = reading * 30 / 255;
            show = g_metertype == 5;
            break;
        case 6:
            value = reading * 100 / 255;
            show = g_metertype == 6;
            break;
        default: break;
    }
    if (show) AnnounceMeter(value, type);
}

void ProcessDataMode() {
    const ReplySlot& slot = g_replies.datamode;
    if (slot.length < 3) return;
    const int byte = slot.bytes[2] == kCivEnd ? 0 : slot.bytes[2];
    if (g_afsk) {
        if (g_afskhold > 0) --g_afskhold;
        if (g_afskhold > 0) return;
        const int dm = byte != 0 && g_vfoamode == '1' ? 1 : 0;
        if (dm != g_radiodatamode) {
            WriteTracef("DM changed %d", dm);
            g_radiodatamode = dm;
            if (g_rawmode && g_pegasustransferfile[0]) SendFreqToRX340();
        }
        return;
    }
    g_datamode = byte;
    if (Tuning().dataMode != byte) TuningDisplay().Toggle(TuningToggle::DataMode);
}

void ProcessReceiverReplies() {
    if (g_replies.vsc.fresh && !g_client && g_replies.vsc.length > 2) {
        g_vsc = g_replies.vsc.bytes[2];
        if (Tuning().vsc != g_vsc) TuningDisplay().Toggle(TuningToggle::Squelch);
    }
    const ReplySlot& ant = g_replies.antenna;
    if (ant.fresh && !g_client && !g_tuning && ant.length > 1 && ant.bytes[1] != kCivEnd) {
        const int antenna = ant.bytes[1] + 1;
        Tuning().antenna = antenna;
        TuningDisplay().Show(TuningShow::Antenna);
        if (ant.length > 2 && ant.bytes[2] != kCivEnd) {
            WriteTrace("rx ant");
            Tuning().rxAntenna = ant.bytes[2];
            TuningDisplay().Show(TuningShow::RxAntenna);
        }
    }
    const ReplySlot& att = g_replies.attenuator;
    if (att.fresh && !g_client && att.length > 1 && att.bytes[1] != kCivEnd) {
        int step = Bcd(att.bytes[1]);
        if (ModelCap(g_hasdigisel)) step /= 3;
        if (Tuning().attenuator != step) {
            Tuning().attenuator = step;
            TuningDisplay().Show(TuningShow::Attenuator);
        }
    }
    const ReplySlot& pre = g_replies.preamp;
    if (pre.fresh && !g_client && pre.length > 2 && pre.bytes[2] != kCivEnd) {
        if (Tuning().preamp != pre.bytes[2]) {
            Tuning().preamp = pre.bytes[2];
            TuningDisplay().Show(TuningShow::Preamp);
        }
    }
}
}  // namespace

// ---- Reply arithmetic ------------------------------------------------------------

int SMeterSteps(int reading, bool perseus) {
    int r = reading;
    if (perseus) r = r * 10 / 9;
    int s = (r / 10) * 256 + ((r % 10) * 256) / 10;
    if (s < 1) s = 1;
    return s * 7 / 10;
}

int SwrTimes100(int w) { return w < 80 ? w * 5 / 4 + 100 : (w - 80) * 5 / 2 + 200; }

int PowerReading(int p, int radiotype) {
    switch (radiotype) {
        case 3: case 12: case 13: case 18: case 23: return std::max(p / 2 - 5, 0);
        case 11: return p / 30;
        default: return p;
    }
}

int ThreeDigitReading(const unsigned char* two) {
    return (two[0] & 0x0F) * 100 + (two[1] >> 4) * 10 + (two[1] & 0x0F);
}

int ModeCharForCivByte(int civ, int lastMode, bool keepDigital) {
    switch (civ) {
        case 0x02: return '4';
        case 0x03: return '3';
        case 0x07: return '2';
        case 0x05: return '5';
        case 0x04: return '7';
        case 0x08: return '8';
        case 0x12: return '9';
        case 0x13: return ':';
        case 0x17: return 0x17;
        case 0x01: return keepDigital && (lastMode == '8' || lastMode == '9') ? lastMode : '0';
        case 0x00: return keepDigital && (lastMode == '7' || lastMode == ':') ? lastMode : '1';
        default: return 0;
    }
}

// ---- Processing --------------------------------------------------------------------

void ProcessCivReplies() {
    bool applied = false;
    if (g_replies.freq.fresh) applied = ProcessFrequency();
    if (g_replies.filterwidth.fresh && !g_client) ProcessFilterWidth();
    if (g_replies.mode.fresh && !g_doingcwid && !g_client) applied = ProcessMode() || applied;
    // Not gated on g_txenable: the band-plan test must also run while it has
    // disabled transmit, or tuning the radio back into the band never lifts it.
    if (applied) CheckTxEnable();
    ProcessMeterReplies(false);
    if (g_replies.datamode.fresh && !g_client) ProcessDataMode();
    ProcessReceiverReplies();
    if (g_replies.memory.fresh && g_savemem) Announce().MemoryContents(g_replies.memory.bytes, g_replies.memory.length);
    ProcessMeterReplies(true);
}

void ProcessMeterReplies(bool transmitSide) {
    if (!transmitSide) {
        if (g_replies.smeter.fresh) ProcessSMeter();
        if (g_replies.power.fresh) ProcessMeter(g_replies.power, 1);
        if (g_replies.swr.fresh) ProcessMeter(g_replies.swr, 3);
        return;
    }
    if (g_replies.comp.fresh) ProcessMeter(g_replies.comp, 5);
    if (g_replies.alc.fresh) ProcessMeter(g_replies.alc, 6);
}

void BeginTransmit() {
    g_txbegun = 1;
    const bool first = !g_transmitmarker;
    if (g_txenable && first) {
        Announce().SecondReceiverMute(0);
        if (g_split)
            AnnounceTransmit('B', 1);
        else if (g_redfreqonxmit)
            AnnounceTransmit('A', 1);
    }
    if (first && g_thp && !g_sweeprunning && !g_sweepbrunning) {
        Announce().CatOutText(reinterpret_cast<const std::uint8_t*>("TQ1;"), 4, true);
    }
    g_transmitmarker = 1;
    // A sweep pauses for the transmission. Every transmit report pushes its
    // restart back, so it resumes only 2 s after the radio stopped sending.
    if (g_sweeprunning || g_sweepbrunning) {
        Announce().StopSweep();
        g_sweeprunning = 0;
        g_sweepbrunning = 0;
        g_sweeppause = 1;
    }
    if (g_sweeppause) SetCivTimer(TIMER_SWEEP_RESUME, kSweepResumeMs);
    if (g_memscan) {
        g_memscan = 0;
        TuningDisplay().Show(TuningShow::MemoryScanButton, 0);
        KillCivTimer(TIMER_SCAN);
        g_scanstopped = 1;
    }
    if (g_scanfreq > 0.01) {
        // The range scan ends for good: the settings window shows it stopped.
        SettingsWindow().SetCheck(kScanStartBox, false);
        SettingsWindow().SetCheck(kScanStopBox, true);
        KillCivTimer(TIMER_SCAN);
        g_scanfreq = 0;
    }
    // The memory scan resumes "RESUME" seconds after the last transmit report.
    if (g_scanstopped) {
        if (g_resume > 0)  // held to what a timer can count in ms
            SetCivTimer(TIMER_SCAN_RESUME, unsigned(std::min(g_resume, kMaxResumeSeconds)) * 1000u);
        else
            g_scanstopped = 0;
    }
}

void ResumeMemoryScan() {
    g_scanstopped = 0;
    // Scanning again only makes sense with stations to scan and nothing
    // else holding the radio; a scan the operator restarted meanwhile runs on.
    if (g_memscan || g_sweeprunning || g_sweepbrunning || !Ask().HasStations()) return;
    g_memscan = 1;
    TuningDisplay().Show(TuningShow::MemoryScanButton, 1);
    Announce().ScanNextStation();
}
