#include "civ/mirror_replies.h"

#include <array>
#include <cstdlib>

#include "base/panel_options.h"
#include "base/settings_view.h"
#include "base/trace_log.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/engine_events.h"
#include "civ/engine_options.h"
#include "civ/filter_widths.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/reply_processing.h"
#include "civ/reply_slots.h"
#include "civ/reply_store.h"
#include "civ/send_queue.h"
#include "civ/setter_frames.h"
#include "civ/tuning_state.h"
#include "civ/tuning_view.h"

namespace {
// Sub-commands of 14 (levels) and 16 (switches) that have a slot of their
// own; 16 02 (preamp) and 16 4C (VSC) use the reply store's slots.
constexpr std::array<std::uint8_t, 19> kLevelSubs = {0x01, 0x02, 0x03, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B,
                                                     0x0D, 0x0E, 0x0F, 0x11, 0x12, 0x13, 0x15, 0x16, 0x17};
constexpr std::array<std::uint8_t, 13> kSwitchSubs = {0x12, 0x22, 0x32, 0x40, 0x41, 0x44, 0x45,
                                                      0x46, 0x47, 0x48, 0x4D, 0x4E, 0x4F};
constexpr int kSlotBytes = 10;

struct MirrorSlots {
    ReplySlot split;
    ReplySlot meterType;  // 1A 05 00 37 and 1A 05 00 38
    std::array<ReplySlot, kLevelSubs.size()> level;
    std::array<ReplySlot, kSwitchSubs.size()> sw;
};
MirrorSlots g_mirrorslots;

template <std::size_t N>
int IndexOf(const std::array<std::uint8_t, N>& subs, int sub) {
    for (std::size_t i = 0; i < N; ++i)
        if (subs[i] == sub) return int(i);
    return -1;
}

ReplySlot* LevelSlot(int sub) {
    const int i = IndexOf(kLevelSubs, sub);
    return i < 0 ? nullptr : &g_mirrorslots.level[std::size_t(i)];
}

ReplySlot* SwitchSlot(int sub) {
    if (sub == 0x02) return &g_replies.preamp;
    if (sub == 0x4C) return &g_replies.vsc;
    const int i = IndexOf(kSwitchSubs, sub);
    return i < 0 ? nullptr : &g_mirrorslots.sw[std::size_t(i)];
}

int Bcd(int b) { return (b >> 4) * 10 + (b & 0x0F); }

// The settings window's controls of the values the mirror follows.
constexpr int kPitchEdit = 2369;
constexpr int kQskSlider = 2456;
constexpr int kMicGainSlider = 2471;
constexpr int kVoxGainSlider = 2379;
constexpr int kAntiVoxSlider = 2378;

// Replies apply to the main receiver unless model 5's sub is polled.
bool Main() { return g_pollmain != 0; }

// The level of a fresh 14 xx slot (two BCD bytes), or -1.
int FreshLevel(int sub) {
    const ReplySlot* s = LevelSlot(sub);
    if (!s || !s->fresh || s->length < 5 || s->bytes[2] == kCivEnd || s->bytes[3] == kCivEnd) return -1;
    return pdtoi(s->bytes + 2);
}

// The on/off byte of a fresh 16 xx slot, or -1.
int FreshSwitch(int sub) {
    const ReplySlot* s = SwitchSlot(sub);
    if (!s || !s->fresh || s->length < 4 || s->bytes[2] == kCivEnd) return -1;
    return std::int8_t(s->bytes[2]);
}

// The receiver sliders of the polled side show the new value.
void RefreshSliders(TuningState&) {
    TuningDisplay().Show(TuningShow::ReceiverSliders, g_pollvfoa ? 0 : 1);
    g_swlpending = 1;
}

// A level that goes unchanged into the panel's main or VFO B value.
void MirrorLevel(TuningState& p, int sub, int& mainValue, int& subValue) {
    const int level = FreshLevel(sub);
    if (level < 0) return;
    int& target = Main() ? mainValue : subValue;
    if (level == target) return;
    target = level;
    RefreshSliders(p);
}

// A level of the program's own whose change is passed on only beyond a
// margin, so that the radio's rounding does not echo back and forth.
template <typename Send>
void MirrorSetting(int sub, int& value, int margin, int (*scale)(int), Send send) {
    const int level = FreshLevel(sub);
    if (level < 0) return;
    const int v = scale(level);
    if (std::abs(v - value) <= margin) return;
    value = v;
    send(v);
}

void MirrorFrequency(TuningState&) {
    const ReplySlot& s = g_replies.freq;
    if (!s.fresh || s.length < 11) return;
    const double f = double(BcdToHz(s.bytes + 5)) / 1000000.0;
    if (g_pollvfoa) {
        if (CompareFrequencies(f, g_vfoafreq) == 0) return;
        TuningDisplay().ShowTuning(f, 0, 0, 0, 0, 0);
        Announce().StationFrequency(f);
    } else {
        if (CompareFrequencies(f, g_vfobfreq) == 0) return;
        // VFO B is sent from g_vfobfreq: it must hold what the radio has.
        SetVfoBFrequency(f);
        TuningDisplay().ShowFrequency('B', f);
        if (!g_dual)
            SetRadioFrequenciesVFOB();
        else
            SendFreqToRX340();
    }
    g_swlpending = 1;
}

void MirrorFilterWidth(TuningState& p) {
    const ReplySlot& s = g_replies.filterwidth;
    if (!s.fresh) return;
    const FilterWidthReply r = ReadFilterWidthReply(s);
    const bool vfoB = g_pollvfoa == 0;
    const bool am = UsesAmTable(vfoB ? g_vfobmode : g_vfoamode) && ModelCap(g_hasamfmwidth);
    const int index = FilterIndexForCode(r.code, am);
    WriteTracef("mirror number %d, 2 %02x 3 %02x", index, unsigned(int(std::int8_t(r.first))),
                unsigned(int(std::int8_t(r.second))));
    // A width the table does not know names no filter.
    if (index < 1) return;
    if (!vfoB) {
        if (index == g_rxfilter) return;
        p.filter = index;
        TuningDisplay().ShowFilter(index);
        TuningDisplay().Show(TuningShow::FilterButtons, index);
        g_swlpending = 1;
        return;
    }
    if (index == g_vfobrxfilter) return;
    g_vfobrxfilter = index;
    TuningDisplay().Show(TuningShow::FilterNameB);
    g_lastvfobfiltersent = index;
    if (ModelCap(g_hassubreceiver)) {
        WriteTrace("scr 13");
        SelectVfo('B');
        SetFilterWidth(index, g_vfobmode);
    }
}

// The filter number a mode reply carries, when it carries a valid one.
bool ModeReplyFilter(const ReplySlot& s) {
    if (s.length < 3 || s.bytes[2] == kCivEnd) return false;
    const int f = s.bytes[2] + (ModelCap(g_filterbase) ? 1 : 0);
    const int top = g_oldradio == 2 ? 9 : (g_oldradio == 1 ? 6 : 3);
    return f >= 1 && f <= top;
}

void MirrorMode(TuningState& p) {
    const ReplySlot& s = g_replies.mode;
    if (!s.fresh || s.length < 2) return;
    WriteTrace("Received mode");
    const int civ = s.bytes[1];
    if (civ == 0x01) WriteTrace("Received USB mode");
    if (civ == 0x03) WriteTrace("Received CW mode");
    const char code = char(MirrorModeChar(civ));
    if (!code) return;  // a mode outside every table of the program
    if (g_pollvfoa == 0) {
        // VFO B's mode; it says nothing about VFO A's mode or filter.
        WriteTrace("bpoll");
        if (code == p.vfoBMode) return;
        WriteTrace("new OppMode");
        p.vfoBMode = code;
        g_vfobmode = code;
        TuningDisplay().ShowTuning(0, 0, 0, 0, 0, code);
        if (!Main()) {
            SetModeB(code);
            g_lastvfobmodesent = code;
        }
        return;
    }
    WriteTrace("apoll");
    if (code != p.vfoAMode) {
        WriteTrace("new mode");
        p.vfoAMode = code;
        TuningDisplay().Show(TuningShow::ModeCaptions);
        TuningDisplay().Show(TuningShow::Mode);
        TuningDisplay().ShowTuning(g_vfoafreq, code, g_step, g_rxfilter, g_vfobfreq, char(g_vfobmode));
        g_swlpending = 1;
    }
    const bool dsp = ModelCap(g_hasfilterwidth) != 0;
    if ((!dsp || code == '4' || code == '5') && ModeReplyFilter(s)) {
        const int f = FilterFromModeReply(s, dsp, code);
        if (f >= 1 && f != g_rxfilter) {
            p.filter = f;
            TuningDisplay().ShowFilter(f);
            TuningDisplay().Show(TuningShow::FilterButtons, f);
        }
    }
    if (code != g_vfoamode) {
        TuningDisplay().ShowTuning(0, code, 0, 0, 0, 0);
        g_swlpending = 1;
    }
}

void MirrorDataMode(TuningState& p) {
    const ReplySlot& s = g_replies.datamode;
    if (!s.fresh || !Main() || !ModelCap(g_menudialect)) return;
    if (s.length < 4 || s.bytes[2] == kCivEnd) return;
    const int value = s.bytes[2];
    if (value == p.dataMode) return;
    TuningDisplay().Toggle(TuningToggle::DataMode);
    // The panel's toggle knows on and off; the radio's D1..D3 stay as reported.
    if (p.dataMode != value) p.dataMode = value;
    g_datamode = p.dataMode;
    const std::uint8_t v = std::uint8_t(g_datamode);
    if (s.length < 5 || s.bytes[3] == kCivEnd)
        SendCiv({0x1A, 0x06, v});
    else
        SendCiv({0x1A, 0x06, v, s.bytes[3]});
}

void MirrorAntenna(TuningState& p) {
    const ReplySlot& s = g_replies.antenna;
    if (!s.fresh || s.length < 3 || s.bytes[1] == kCivEnd) return;
    const int antenna = s.bytes[1] + 1;
    const bool rx = s.length > 3 && s.bytes[2] != kCivEnd;
    if (Main()) {
        if (antenna != g_pushcopy.antenna) {
            p.antenna = antenna;
            TuningDisplay().Show(TuningShow::Antenna);
            g_swlpending = 1;
        }
        if (rx) {
            WriteTrace("mirror rx ant");
            if (s.bytes[2] != p.rxAntenna) {
                p.rxAntenna = s.bytes[2];
                TuningDisplay().Show(TuningShow::RxAntenna);
                g_swlpending = 1;
            }
        }
        return;
    }
    if (antenna != g_pushcopy.antennaB) {
        p.fn.antennaB = antenna;
        TuningDisplay().Show(TuningShow::RfStatusLine);
        g_swlpending = 1;
    }
    if (rx) {
        WriteTrace("mirror rxb ant");
        if (s.bytes[2] != p.fn.rxAntennaB) {
            p.fn.rxAntennaB = s.bytes[2];
            TuningDisplay().Show(TuningShow::RfStatusLine);
            g_swlpending = 1;
        }
    }
}

void MirrorGains(TuningState& p) {
    int level = FreshLevel(0x01);
    if (level >= 0) {
        const int a = AfGainFromLevel(level);
        if (Main()) {
            if (a != p.fn.afGain) {
                WriteTrace("volume a change");
                p.fn.afGain = a;
                TuningDisplay().Show(TuningShow::VolumeA, a);
                g_swlpending = 1;
            }
        } else if (a != g_volumeb) {
            g_volumeb = a;
            TuningDisplay().Show(TuningShow::ReceiverSliders, 1);
            SetSubVolume(a);
        }
    }
    level = FreshLevel(0x02);
    if (level >= 0) {
        const int rf = RfGainFromLevel(level);
        int& target = Main() ? p.fn.rfGain : p.fn.rfGainB;
        if (rf != target) {
            target = rf;
            RefreshSliders(p);
        }
    }
    MirrorLevel(p, 0x03, p.fn.squelch, p.fn.squelchB);
    MirrorLevel(p, 0x05, p.fn.apfLevel, p.fn.apfLevelB);
    MirrorLevel(p, 0x06, p.fn.nrLevel, p.fn.nrLevelB);
}

int Same(int level) { return level; }
int Percent(int level) { return level * 100 / 255; }
int Pitch(int level) { return level * 75 / 32 + 300; }
int SpeechStep(int level) { return level / 25; }

void MirrorTransmitLevels(TuningState& p) {
    const int level = FreshLevel(0x15);
    if (level >= 0 && level != g_mirrored1415) {
        g_mirrored1415 = level;
        SendCivLevel({0x14, 0x15}, level);
    }
    int pbt = FreshLevel(0x07);
    if (pbt >= 0 && pbt != p.pbtOuter) {
        p.pbtOuter = pbt;
        TuningDisplay().SetPbt(PbtCut::Outer, pbt);
        g_swlpending = 1;
    }
    pbt = FreshLevel(0x08);
    if (pbt >= 0 && pbt != p.pbtInner) {
        p.pbtInner = pbt;
        TuningDisplay().SetPbt(PbtCut::Inner, pbt);
        g_swlpending = 1;
    }
    MirrorSetting(0x09, g_bfo, 5, Pitch, [](int hz) {
        SetCwPitch(hz);
        SettingsWindow().ShowSettingRow(kPitchEdit);
    });
    MirrorSetting(0x0A, g_power, 2, Percent, [&p](int) {
        g_powerchanged = 1;
        TuningDisplay().Show(TuningShow::Power);
        g_swlpending = 1;
    });
    MirrorSetting(0x0B, g_micgain, 2, Percent, [](int m) {
        SettingsWindow().ShowSettingRow(kMicGainSlider);
        if (ModelCap(g_haslevels)) SendCivLevel({0x14, 0x0B}, m * 255 / 100);
    });
    MirrorLevel(p, 0x0D, p.fn.notchPosition, p.fn.notchPositionB);
    MirrorSetting(0x0E, g_speechvalue, 1, SpeechStep, [](int s) { SetSpeech(g_speech, s); });
    MirrorSetting(0x0F, g_cwqskdelay, 3, Same, [](int v) {
        SettingsWindow().ShowSettingRow(kQskSlider);
        SetQskDelay(v);
    });
    MirrorLevel(p, 0x11, p.fn.agcVrLevel, p.fn.agcVrLevelB);
    MirrorLevel(p, 0x12, p.fn.nbLevel, p.fn.nbLevelB);
    MirrorLevel(p, 0x13, p.fn.digiSelLevel, p.fn.digiSelLevelB);
    MirrorSetting(0x16, g_voxgain, 1, Percent, [](int v) {
        SetVoxGain(v);
        SettingsWindow().ShowSettingRow(kVoxGainSlider);
    });
    MirrorSetting(0x17, g_antivox, 1, Percent, [](int v) {
        SetAntiVox(v);
        SettingsWindow().ShowSettingRow(kAntiVoxSlider);
    });
}

void MirrorReceiverSwitches(TuningState& p) {
    const int pre = FreshSwitch(0x02);
    if (pre >= 0) {
        if (Main() && pre != p.preamp) {
            p.preamp = pre;
            TuningDisplay().Show(TuningShow::Preamp);
            g_swlpending = 1;
        } else if (!Main() && pre != p.fn.preampB) {
            p.fn.preampB = pre;
            TuningDisplay().Show(TuningShow::RfStatusLine);
            g_swlpending = 1;
        }
    }
    const ReplySlot& att = g_replies.attenuator;
    if (att.fresh && att.length >= 3 && att.bytes[1] != kCivEnd) {
        // The radio reports dB in BCD, as in the replies to the program's own reads.
        int step = Bcd(att.bytes[1]);
        if (ModelCap(g_hasdigisel)) step /= 3;
        int& target = Main() ? p.attenuator : p.fn.attenuatorB;
        if (step != target) {
            target = step;
            if (Main())
                TuningDisplay().Show(TuningShow::Attenuator);
            else
                TuningDisplay().Show(TuningShow::RfStatusLine);
            g_swlpending = 1;
        }
    }
    const int agcByte = FreshSwitch(0x12);
    const int agc = agcByte == 1 ? '3' : agcByte == 2 ? '2' : agcByte == 3 ? '1' : 0;
    if (!agc) return;
    if (Main()) {
        if (agc == p.agc) return;
        p.agc = agc;
        TuningDisplay().Show(TuningShow::Agc, agc);
        g_swlpending = 1;
    } else if (agc != g_agcmodevfob) {
        g_agcmodevfob = agc;
        TuningDisplay().Show(TuningShow::DspStatusLine);
        WriteTrace("scr 20");
        SelectVfo('B');
        SetAgc(agc);
    }
}

// The AGC buttons.
constexpr unsigned kAgcFast = 40034, kAgcMed = 40035, kAgcSlow = 40036, kAgcMan = 2489;

enum class SubShow : std::uint8_t { None, Dsp, Rf };

// An on/off function kept on the panel for the main and the sub receiver.
struct OnOff {
    int sub;                          // 16 xx
    int PanelFunctions::*main;
    int PanelFunctions::*subFlag;     // nullptr: the same flag for both sides
    unsigned button;                  // lit on the main side (0: none)
    bool subButton;                   // lit on the sub side too
    SubShow subShow;
};

constexpr OnOff kOnOff[] = {
    {0x22, &PanelFunctions::noiseBlanker, &PanelFunctions::noiseBlankerB, 2364, true, SubShow::Dsp},
    {0x32, &PanelFunctions::apf, &PanelFunctions::apfB, 0, false, SubShow::Rf},
    {0x40, &PanelFunctions::noiseReduction, &PanelFunctions::noiseReductionB, 2505, true, SubShow::Dsp},
    {0x41, &PanelFunctions::autoNotch, &PanelFunctions::autoNotchB, 2495, false, SubShow::Dsp},
    {0x45, &PanelFunctions::monitor, nullptr, 214, false, SubShow::None},
    {0x46, &PanelFunctions::vox, nullptr, 1402, false, SubShow::None},
    {0x47, &PanelFunctions::breakIn, nullptr, 0, false, SubShow::None},
    {0x48, &PanelFunctions::manualNotch, &PanelFunctions::manualNotchB, 2518, true, SubShow::Dsp},
    {0x4D, &PanelFunctions::agcVr, &PanelFunctions::agcVrB, 0, false, SubShow::Dsp},
    {0x4E, &PanelFunctions::digiSel, &PanelFunctions::digiSelB, 2526, true, SubShow::None},
    {0x4F, &PanelFunctions::twinPeak, &PanelFunctions::twinPeakB, 2515, false, SubShow::Dsp},
};

const OnOff* OnOffRow(int sub) {
    for (const OnOff& row : kOnOff)
        if (row.sub == sub) return &row;
    return nullptr;
}

void MirrorOnOff(TuningState& p, const OnOff& row) {
    const int v = FreshSwitch(row.sub);
    if (v < 0) return;
    const bool main = Main() || !row.subFlag;
    int& flag = p.fn.*(main ? row.main : row.subFlag);
    if (v == flag) return;
    flag = v;
    g_swlpending = 1;
    if (!main) {
        if (row.subButton) TuningDisplay().LightButton(row.button, v != 0);
        if (row.subShow == SubShow::Dsp) TuningDisplay().Show(TuningShow::DspStatusLine);
        if (row.subShow == SubShow::Rf) TuningDisplay().Show(TuningShow::RfStatusLine);
        return;
    }
    if (row.button) TuningDisplay().LightButton(row.button, v != 0);
    if (row.sub == 0x32) TuningDisplay().Show(TuningShow::Apf);
    if (row.sub == 0x47) TuningDisplay().Show(TuningShow::BreakIn, v);
    if (row.sub == 0x4D) {
        for (unsigned b : {kAgcFast, kAgcMed, kAgcSlow}) TuningDisplay().LightButton(b, 0);
        TuningDisplay().LightButton(kAgcMan, v != 0);
        if (!v) TuningDisplay().LightButton(p.agc == '3' ? kAgcFast : p.agc == '2' ? kAgcMed : kAgcSlow, 1);
    }
}

void MirrorVsc(TuningState& p) {
    const int v = FreshSwitch(0x4C);
    if (v < 0 || !Main() || v == p.vsc) return;
    p.vsc = v;
    TuningDisplay().LightButton(1520, v != 0);
    WriteTrace(v ? "SQ TRUE" : "SQ FALSE");
    g_swlpending = 1;
}

void MirrorSpeech() {
    const int v = FreshSwitch(0x44);
    if (v < 0 || v == g_speech) return;
    g_speech = v;
    SetSpeech(g_speech, g_speechvalue);
}

void MirrorSplit(TuningState& p) {
    const ReplySlot& s = g_mirrorslots.split;
    if (!s.fresh || s.length < 3 || s.bytes[1] == kCivEnd) return;
    if (s.bytes[1] != p.split) TuningDisplay().Toggle(TuningToggle::Split);
}

void MirrorMeterType(TuningState&) {
    const ReplySlot& s = g_mirrorslots.meterType;
    if (!s.fresh || s.length < 6 || s.bytes[4] == kCivEnd) return;
    static constexpr int kSetting[6] = {-1, 0, 1, 2, 4, 3};
    const int b = s.bytes[4];
    if (b < 1 || b > 5) return;
    const int setting = kSetting[b];
    if (setting == g_metersetting) return;
    g_metersetting = setting;
    TuningDisplay().Show(TuningShow::MeterSetting);
}

// Steps 23 to 27, interleaved in their fixed order.
void MirrorFunctions(TuningState& p) {
    constexpr int kSplit = 0x100, kMeterType = 0x105;
    constexpr int order[] = {0x22, 0x32, 0x40, 0x41, 0x44, kSplit, kMeterType, 0x45,
                             0x46, 0x47, 0x48, 0x4C, 0x4D, 0x4E, 0x4F};
    for (int key : order) {
        if (key == kSplit)
            MirrorSplit(p);
        else if (key == kMeterType)
            MirrorMeterType(p);
        else if (key == 0x44)
            MirrorSpeech();
        else if (key == 0x4C)
            MirrorVsc(p);
        else if (const OnOff* row = OnOffRow(key))
            MirrorOnOff(p, *row);
    }
}
}  // namespace

int MirrorModeChar(int civ) {
    // The mirror takes USB and LSB as they come: the digital modes that share
    // them are the program's own choice, not the radio's.
    return ModeCharForCivByte(civ, 0, false);
}

void StoreMirrorReply(const std::uint8_t* buffer, int length, int position) {
    if (!buffer || length < kMinCivFrame || position < 0) return;
    const std::uint8_t* f = buffer + position;
    const int cmd = f[4];
    const int sub = f[5];  // FD for a frame without one
    const bool single = !g_dual && !g_split;
    switch (cmd) {
        case 0x00:
        case 0x03:
            if (length == 11 && (cmd == 0x03 || single)) {
                KeepReply(g_replies.freq, f, length, 0, 11);
                g_replies.freqsub = -1;
            }
            break;
        case 0x01:
            if (single) KeepReply(g_replies.mode, f, length, 4, 5);
            break;
        case 0x04:
        case 0x06: KeepReply(g_replies.mode, f, length, 4, 5); break;
        case 0x0F: KeepReply(g_mirrorslots.split, f, length, 4, kSlotBytes); break;
        case 0x11: KeepReply(g_replies.attenuator, f, length, 4, kSlotBytes); break;
        case 0x12: KeepReply(g_replies.antenna, f, length, 4, kSlotBytes); break;
        case 0x14:
            if (ReplySlot* s = LevelSlot(sub)) KeepReply(*s, f, length, 4, kSlotBytes);
            break;
        case 0x16:
            if (ReplySlot* s = SwitchSlot(sub)) KeepReply(*s, f, length, 4, kSlotBytes);
            break;
        case 0x1A:
            if (sub == 0x03) KeepReply(g_replies.filterwidth, f, length, 4, kSlotBytes);
            if (sub == 0x06) KeepReply(g_replies.datamode, f, length, 4, kSlotBytes);
            if (sub == 0x05 && length > 8 && f[6] == 0x00 && (f[7] == 0x37 || f[7] == 0x38))
                KeepReply(g_mirrorslots.meterType, f, length, 4, kSlotBytes);
            break;
        case 0x15:
        case 0x1C:
            // The meter poll runs in mirror mode too: its readings and the
            // transmit state go where they go outside it.
            StoreCivReply(buffer, length, position);
            break;
        default: break;
    }
}

void ClearMirrorFlags() {
    g_replies.freq.fresh = false;
    g_replies.attenuator.fresh = false;
    g_mirrorslots.split.fresh = false;
    g_mirrorslots.meterType.fresh = false;
    for (ReplySlot& s : g_mirrorslots.level) s.fresh = false;
    for (ReplySlot& s : g_mirrorslots.sw) s.fresh = false;
    g_replies.preamp.fresh = false;
}

void ApplyMirrorReplies() {
    TuningState& p = Tuning();
    MirrorFrequency(p);
    MirrorFilterWidth(p);
    MirrorMode(p);
    MirrorDataMode(p);
    MirrorAntenna(p);
    MirrorGains(p);
    MirrorTransmitLevels(p);
    MirrorReceiverSwitches(p);
    MirrorFunctions(p);
    ProcessMeterReplies(false);
    ProcessMeterReplies(true);
}
