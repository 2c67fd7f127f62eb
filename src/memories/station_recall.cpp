#include "memories/station_recall.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/memory_options.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/filter_widths.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "memories/station_cdf.h"
#include "memories/station_window.h"
#include "memories/stations.h"
#include "panel/filter_table.h"
#include "panel/swl_panel.h"
#include "platform/message_box.h"
#include "platform/types.h"
#include "settings/trans_ops.h"

namespace {
struct ModeWord {
    const char* word;
    char mode;
};
constexpr ModeWord kRecallModes[] = {{"AM", '4'},    {"CW", '3'},    {"CWR", '2'},    {"USB", '0'},   {"LSB", '1'},
                                     {"SAM", ';'},   {"RTTY", '7'},  {"RTTYR", '8'},  {"RTTY2", '7'}, {"RTTY2R", '8'},
                                     {"PSK", '9'},   {"PSKR", ':'},  {"FM", '5'},     {"DV", 0x17},
                                     {"WFM", '<'}};
constexpr ModeWord kStoreModes[] = {{"CW", '3'},   {"CWR", '2'},  {"USB", '0'},   {"LSB", '1'},  {"FM", '5'},
                                    {"WFM", '<'},  {"SAM", ';'},  {"RTTY", '7'},  {"PSK", '9'},  {"RTTYR", '8'},
                                    {"PSKR", ':'}, {"DV", 0x17}};
constexpr int kSpeechMax = 10;
constexpr int kSpeechSliderId = 2472;  // "Speech\rProcess"
constexpr int kToneEditId = 559;       // "FM CTCSS X 10"
constexpr int kToneMax = 9999;

// Entries passed over in a row during a scan; when every station is marked
// "skip" the scan stops instead of stepping at 0 ms for ever.
int g_scanskips = 0;
}  // namespace

bool RecallDirective(const std::string& notes, const char* key, int& value) {
    const std::size_t at = notes.find(key);
    if (at == std::string::npos) return false;
    const char* p = notes.c_str() + at + std::strlen(key);
    char* end = nullptr;
    const long v = std::strtol(p, &end, 10);
    if (end == p || v < -100000 || v > 100000) return false;
    value = int(v);
    return true;
}

char ModeCharForWord(const std::string& word) {
    for (const ModeWord& m : kRecallModes)
        if (word == m.word) return m.mode;
    return '4';
}

std::string ModeWordForChar(char mode) {
    for (const ModeWord& m : kStoreModes)
        if (m.mode == mode) return m.word;
    return "AM";
}

int PbtPositionForHz(int hz) {
    if (hz < -1279 || hz > 1279) return -1;
    // 128 is the centre of the twin-PBT travel: 0 Hz leaves the passband
    // unshifted and the accepted range fills 1..255.
    return hz / 10 + 128;
}

void OnRecallEntry() {
    if (!g_stationwnd || !g_swlpanel) return;
    const StationEntry e = g_stationwnd->current;
    if (g_memscan < 2) {
        if (g_memscan == 1) g_memscan = 2;
        UpdateBandStack(g_vfoafreq, 1);
    }
    if (g_memscan && e.notes.find("skip") != std::string::npos) {
        if (++g_scanskips > g_stationcount) {
            WriteTrace("scan stopped: every station is skipped");
            g_memscan = 0;
            g_scanskips = 0;
            g_swlpanel->SetMemoryScanButton(0);
            return;
        }
        SetCivTimer(TIMER_SCAN, 0);
        return;
    }
    g_scanskips = 0;
    CSwlPanel& p = *g_swlpanel;
    p.ShowBand();
    const char mode = ModeCharForWord(e.mode);
    if (!g_memscan) TuneToFrequency(e.frequency, ModeCodeForModeChar(mode));
    g_stationcaption = e.name;
    p.ShowStationCaption();
    g_skipstationname = 1;
    double freqB = p.vfoBFreq;
    if (e.frequency2 > 0.0001) {
        freqB = e.frequency2;
        p.vfoBFreq = freqB;
        p.vfoBMode = mode;
        if (!g_split) p.ToggleSplit();
    } else if (g_split) {
        p.ToggleSplit();
    }
    p.SetMode(mode);
    const int filter = std::max(1, GetMemoryFilterIndex(e.filter, UsesAmTable(mode) && ModelCap(g_hasamfmwidth)));
    p.SetPanelTuning(e.frequency, mode, 0, filter, freqB, mode);
    p.SetMode(mode);
    p.SetFilter(filter);
    p.ShowBand();
    SetFilterWidthA(filter);
    SetFilterWidthA(filter);
    OnSwl();
    SetRadioFrequencies();

    int n = 0;
    if (RecallDirective(e.notes, "SP=", n) && n >= 0 && n <= kSpeechMax && n != g_speechvalue) {
        g_speechvalue = n;
        SetSpeech(g_speech, n);
        // The slider shows the recalled level, or the next settings change
        // would read the old position back and send it.
        ShowSettingRow(kSpeechSliderId);
    }
    if (ModelCap(g_hastone) && g_savefmcts && RecallDirective(e.notes, "FMCTS=", n) && n >= 0 && n <= kToneMax) {
        g_fmcts = n;
        SetCtcss(n);
        ShowSettingRow(kToneEditId);
    }
    if (RecallDirective(e.notes, "PBT=", n)) {
        const int pos = PbtPositionForHz(n);
        if (pos >= 0) {
            p.SetPbtInner(pos);
            p.SetPbtOuter(pos);
            SetHiCut(pos);
            SetLoCut(pos);
        }
    }
    if (g_memscan) SetCivTimer(TIMER_SCAN, unsigned(std::clamp(g_dwell, 1, 99)) * 1000);
}

void StoreStationFromPanel() {
    if (!g_swlpanel) return;
    const CSwlPanel& p = *g_swlpanel;
    CStation s;
    s.name.clear();
    s.language.clear();
    s.frequency = p.vfoAFreq;
    s.frequency2 = (p.split || p.dual) ? p.vfoBFreq : 0;
    s.mode = ModeWordForChar(p.vfoAMode);
    if (HasNamedFilters()) {
        s.filter = FilterCaption(p.filter, UsesAmTable(p.vfoAMode) && ModelCap(g_hasamfmwidth));
    } else {
        char fil[16];
        std::snprintf(fil, sizeof fil, "FIL%1d", p.filter);
        s.filter = fil;
    }
    if (!EditStation(g_stationwnd, s)) return;
    g_stationlist.push_back(s);
    StationListChanged(true);
    FillStationList();
}

void ToggleMemoryScan() {
    if (g_stationlist.empty()) {
        plat::MessageBox(g_memoryowner, "No Memory File is Open", "Entry Error", plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return;
    }
    if (g_sweeprunning || g_sweepbrunning) return;
    if (g_memscan) {
        g_memscan = 0;
        KillCivTimer(TIMER_SCAN);
        if (g_swlpanel) g_swlpanel->SetMemoryScanButton(0);
        return;
    }
    g_memscan = 1;
    g_scanskips = 0;
    if (g_swlpanel) g_swlpanel->SetMemoryScanButton(1);
    TuneNextStation(1);
}
