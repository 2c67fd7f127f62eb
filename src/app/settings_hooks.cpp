#include "app/settings_hooks.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

#include "base/device_options.h"
#include "base/settings_options.h"
#include "base/settings_store.h"
#include "base/settings_table.h"
#include "base/trace_log.h"
#include "base/version.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/polling.h"
#include "civ/radio_models.h"
#include "civ/transverters.h"
#include "devices/surface_keys.h"
#include "settings/scales.h"

int g_tracecheck = 1;

namespace {
void WriteInt(const char* section, const char* key, int v, const std::string& path) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d", v);
    WriteIniKey(section, key, buf, path);
}
std::string FormatPlace(int x, int y) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d %04d", x, y);
    return buf;
}
void WritePlace(const char* section, int x, int y, const std::string& path) {
    WriteIniKey(section, "LOCATION", FormatPlace(x, y).c_str(), path);
}
}  // namespace

bool HasDigiSel() { return ModelCap(g_hasdigisel, g_radiotype) != 0; }
bool AmFiltersSaved() { return ModelCap(g_savesamfilters) || g_perseus; }
bool Mirroring() { return g_mirror != 0; }

void SaveVersion(const SettingKey& row, const std::string& path) { WriteIniKey(row.section, row.key, kVersionText, path); }
void SaveTrace(const SettingKey& row, const std::string& path) {
    WriteIniKey(row.section, row.key, g_tracecheck ? "3" : "0", path);
}
void LoadTraceCheck(const SettingKey&, const std::string&) { g_tracecheck = g_trace != 0; }
void TraceProgress1(const SettingKey&, const std::string&) { WriteTrace("progress 1 filter 4"); }
void TraceSaveFilter4(const SettingKey&, const std::string&) { WriteTrace("save filter 4"); }

int RttyModeFromText(const char* text) {
    if (strcasecmp(text, "FSK") == 0) return 2;
    if (strcasecmp(text, "USB") == 0) return 1;
    return 0;
}
const char* RttyModeText(int mode) { return mode == 2 ? "FSK" : mode == 1 ? "USB" : "LSB"; }

void LoadRttyMode(const SettingKey& row, const std::string& path) {
    // The value is stored as its text.
    *row.i = RttyModeFromText(ReadIniText(row.section, row.key, row.def, path, row.size).c_str());
}
void SaveRttyMode(const SettingKey& row, const std::string& path) {
    WriteIniKey(row.section, row.key, RttyModeText(*row.i), path);
}

void LoadTransvertersRow(const SettingKey&, const std::string& path) { LoadTransverters(path); }
void SaveTransvertersRow(const SettingKey&, const std::string& path) { SaveTransverters(path); }

std::string NormalisePlace(const char* text) {
    int x = 0, y = 0;
    if (std::sscanf(text, "%d %d", &x, &y) != 2) return text;
    return FormatPlace(x, y);
}

namespace {
// Where a window opens while its section holds no place.
struct DefaultPlace {
    const char* section;
    int x, y;
};
constexpr DefaultPlace kDefaultPlaces[] = {
    {"RADIO WINDOW", 10, 10},    {"SWEEP WINDOW", 100, 100},   {"LOOKUP WINDOW", 200, 150},
    {"MEMORY WINDOW", 150, 120}, {"CW WINDOW", 100, 400},      {"MR WINDOW", 600, 100},
    {"CRA WINDOW", 300, 300},    {"WAVE WINDOW", 400, 200},    {"DSTAR WINDOW", 400, 250},
    {"QARVMEM WINDOW", 500, 150}, {"SP WINDOW", 550, 200},     {"TX OPTIONS WINDOW", 14, 359},
};
}  // namespace

plat::Point DefaultWindowPlace(const char* section) {
    for (const DefaultPlace& d : kDefaultPlaces)
        if (strcasecmp(d.section, section) == 0) return {d.x, d.y};
    return {0, 0};
}

// Windows that are not built yet keep the place read at start-up, always in
// the written form; with none read, the place they would open at.
void SaveWindowPlace(const SettingKey& row, const std::string& path) {
    int x = 0, y = 0;
    std::string place;
    if (std::sscanf(row.s, "%d %d", &x, &y) == 2) {
        place = FormatPlace(x, y);
    } else {
        const plat::Point d = DefaultWindowPlace(row.section);
        place = FormatPlace(d.x, d.y);
    }
    WriteIniKey(row.section, row.key, place.c_str(), path);
}
void SaveAlwaysTrue(const SettingKey& row, const std::string& path) { WriteIniKey(row.section, row.key, "TRUE", path); }
void SaveCwPlace(const SettingKey& row, const std::string& path) { WritePlace(row.section, g_cwleft, g_cwtop, path); }
void SaveCwPopoutPlace(const SettingKey& row, const std::string& path) {
    WritePlace(row.section, g_cwleftpopout, g_cwtoppopout, path);
}
void SaveScaleEdits(const SettingKey&, const std::string&) { ApplyScaleEdits(); }

namespace {
// One band-stack row key bound to a row's field through the standard readers.
enum class BandField { Frequency, Opp, Mode, Filter, Alc, FreqCorr, TunerAnt, Power, MainAnt, SubAnt, MainAntB,
                       SubAntB, Locut, Hicut, Preamp, Attn, AmpDrive, Meffa };
struct BandKey {
    const char* key;
    const char* def;  // nullptr: the row's built-in value
    BandField field;
};
constexpr BandKey kBandKeys[18] = {
    {"Frequency", nullptr, BandField::Frequency}, {"OppFrequency", nullptr, BandField::Opp},
    {"Mode", nullptr, BandField::Mode},           {"Filter", nullptr, BandField::Filter},
    {"AlcSetting", nullptr, BandField::Alc},      {"FreqCorr", "0", BandField::FreqCorr},
    {"Tuner Ant", "1", BandField::TunerAnt},      {"Power", "0", BandField::Power},
    {"MAINANT", "1", BandField::MainAnt},         {"SUBANT", "0", BandField::SubAnt},
    {"MAINANTB", "1", BandField::MainAntB},       {"SUBANTB", "0", BandField::SubAntB},
    {"Locut", "128", BandField::Locut},           {"Hicut", "128", BandField::Hicut},
    {"PREAMP", "0", BandField::Preamp},           {"ATTN", "0", BandField::Attn},
    {"AMP DRIVE", "100", BandField::AmpDrive},    {"MEFFA", "1", BandField::Meffa},
};

// Fields narrower than int go through this while they are read or written.
int g_bandscratch;

SettingKey BandRowKey(int n, const BandKey& k) {
    SettingKey r{g_bandstack[n].name, k.key, k.def, SettingKind::Int, "%d"};
    BandStackEntry& b = g_bandstack[n];
    switch (k.field) {
    case BandField::Frequency: r.kind = SettingKind::Double, r.fmt = "%09.6f", r.d = &b.last; break;
    case BandField::Opp: r.kind = SettingKind::Double, r.fmt = "%09.6f", r.d = &b.second; break;
    case BandField::Mode: r.i = &b.mode; break;
    case BandField::Filter: r.i = &b.filter; break;
    case BandField::Alc: r.i = &b.alcsetting; break;
    case BandField::FreqCorr: r.i = &g_bandfreqcorr[n]; break;
    case BandField::Power: r.i = &g_bandpower[n]; break;
    case BandField::MainAnt: r.i = &g_bandmainant[n]; break;
    case BandField::SubAnt: r.i = &g_bandsubant[n]; break;
    case BandField::MainAntB: r.i = &g_bandmainantb[n]; break;
    case BandField::SubAntB: r.i = &g_bandsubantb[n]; break;
    case BandField::Locut: r.i = &g_bandlocut[n]; break;
    case BandField::Hicut: r.i = &g_bandhicut[n]; break;
    case BandField::Meffa: r.i = &g_bandmeffa[n]; break;
    case BandField::TunerAnt:
    case BandField::Preamp:
    case BandField::Attn:
    case BandField::AmpDrive: r.i = &g_bandscratch; break;
    }
    return r;
}
short* NarrowField(int n, BandField f) {
    switch (f) {
    case BandField::TunerAnt: return &g_bandtunerant[n];
    case BandField::Preamp: return &g_bandpreamp[n];
    case BandField::Attn: return &g_bandattn[n];
    case BandField::AmpDrive: return &g_ampdrive[n];
    default: return nullptr;
    }
}
}  // namespace

void LoadBandRows(const SettingKey&, const std::string& path) {
    for (int n = 0; n < kBandRows; ++n) {
        for (const BandKey& k : kBandKeys) {
            SettingKey r = BandRowKey(n, k);
            short* narrow = NarrowField(n, k.field);
            LoadSettingRow(r, path);
            if (narrow) *narrow = short(g_bandscratch);
        }
    }
}

void SaveBandRows(const SettingKey&, const std::string& path) {
    for (int n = 0; n < kBandRows; ++n) {
        for (const BandKey& k : kBandKeys) {
            SettingKey r = BandRowKey(n, k);
            if (short* narrow = NarrowField(n, k.field)) g_bandscratch = *narrow;
            SaveSettingRow(r, path);
        }
    }
}

namespace {
template <std::size_t N>
void LoadSurface(const SurfaceKey (&keys)[N], char (&texts)[N][128], const std::string& path) {
    for (std::size_t i = 0; i < N; ++i) {
        std::string v = ReadIniText("PREFERENCE", keys[i].key, keys[i].def, path, 128);
        std::snprintf(texts[i], sizeof texts[i], "%s", v.c_str());
    }
}
template <std::size_t N>
void SaveSurface(const SurfaceKey (&keys)[N], const char (&texts)[N][128], const std::string& path) {
    for (std::size_t i = 0; i < N; ++i) WriteIniKey("PREFERENCE", keys[i].key, texts[i], path);
}
}  // namespace

void LoadSurfaceKeys(const SettingKey&, const std::string& path) {
    LoadSurface(kFlexKeys, g_flexkeys, path);
    LoadSurface(kTmate2Keys, g_tmate2keys, path);
    LoadSurface(kPodKeys, g_podkeys, path);
}

// Only the active surface's set is written; the others keep the file's text.
void SaveSurfaceKeys(const SettingKey&, const std::string& path) {
    if (g_flexknob)
        SaveSurface(kFlexKeys, g_flexkeys, path);
    else if (g_usetmate2)
        SaveSurface(kTmate2Keys, g_tmate2keys, path);
    else if (!g_cmdmicro)
        SaveSurface(kPodKeys, g_podkeys, path);
}

namespace {
// The meter's one port is written under the key of the meter in use.
void WriteMeterPort(const SettingKey& row, bool inUse, const std::string& path) {
    WriteIniKey(row.section, row.key, inUse && !PortIsOff(g_wattmeterport) ? g_wattmeterport : "NONE", path);
}
}  // namespace

void SaveLp100Port(const SettingKey& row, const std::string& path) {
    WriteMeterPort(row, g_wattmetertype == 1 || g_wattmetertype == 2, path);
}
void SavePowerMasterPort(const SettingKey& row, const std::string& path) {
    WriteMeterPort(row, g_wattmetertype == 3, path);
}
void SaveLp100Flag(const SettingKey& row, const std::string& path) {
    if (g_wattmetertype == 3) return;
    WriteIniKey(row.section, row.key, g_wattmetertype == 2 ? "1" : "0", path);
}

void LoadRadioTypeSel(const SettingKey&, const std::string&) { g_radiotypesel = g_radiotype; }
void SaveRadioTypeSel(const SettingKey& row, const std::string& path) {
    WriteInt(row.section, row.key, g_radiotypesel, path);
}
void SaveEffectiveRadioType(const SettingKey& row, const std::string& path) {
    WriteInt(row.section, row.key, g_radiotype, path);
}
