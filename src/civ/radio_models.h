// Radio models and CI-V addressing: the radio type, the addresses and the
// per-type capability tables.
#pragma once
#include <array>
#include <cstdint>
#include <string>

constexpr int kRadioTypes = 26;

// One byte per radio type; every builder tests its table before building.
using ModelTable = std::array<std::uint8_t, kRadioTypes>;

extern int g_radiotype;   // [OPERATING STATUS] "QARV", 0..25 after the fix-up
extern int g_myaddr;      // controller address, "MYADR" (default 224, E0)
extern int g_civindex;    // "CIV": address list index; 207 and above mean the type's default
extern int g_radioadr;    // the radio's CI-V address used in every frame
extern int g_7600fw2;     // "7600 FW2": frequencies go with command 25
extern int g_model7610;   // type 24 running as type 18
extern int g_perseus;     // type 19 running as type 13
extern int g_oldradio;    // old-radio dialect of the generic type: 0, 1 or 2

// Model names as the settings list shows them; type 24 has none of its own.
extern const std::array<const char*, kRadioTypes> g_modelnames;

// The capability tables (ModelCaps).
extern const ModelTable g_hasmainsub;      // VFO selection 07 D0/D1 (07 B0 on types 8, 9)
extern const ModelTable g_hasnotch;        // manual notch 16 48, 14 0D
extern const ModelTable g_hassweep;        // meter read 15 xx for meter poll and sweep
extern const ModelTable g_hasmetersel;     // selectable meter readings
extern const ModelTable g_preampcount;     // highest preamp setting
extern const ModelTable g_hasdualpanel;    // dual-receiver panel controls
extern const ModelTable g_has2m;           // native 2 m band
extern const ModelTable g_civaddrtable;    // default CI-V address
extern const ModelTable g_haslevels;       // 14 xx level commands
extern const ModelTable g_menudialect;     // 0 none, 1 = 1A 05 items, 2 = 14 16/14 17 and newer numbers
extern const ModelTable g_hasvsc;          // 16 4C
extern const ModelTable g_hasfilterwidth;  // DSP filters: filter slot in 06, width 1A 03
extern const ModelTable g_hasamfmwidth;    // 1A 03 also in AM, FM and DV
extern const ModelTable g_filterbase;      // mode command filter numbers start at 0
extern const ModelTable g_hastxfilter;     // 1A 07
extern const ModelTable g_hastone;         // 16 42, 16 43, 1B 00/01
extern const ModelTable g_hasdigisel;      // DIGI-SEL family
// Types without DSP filters: how many filters the mode command's filter
// byte selects (FIL1..FIL3; two on the types whose filter byte is 1..2).
extern const ModelTable g_fixedfilters;

// The number of filters of a type: the DSP width table's entries, else the
// fixed filters, five or nine under the generic type's old-radio dialects.
int ModelFilterCount(int type, int oldradio);

// The running type's entry of a table; 0 for a type outside the list.
int ModelCap(const ModelTable& table, int type);
inline int ModelCap(const ModelTable& table) { return ModelCap(table, g_radiotype); }

// Start-up, right after the settings are read, in this order:
// types outside the list become 0; type 24 runs as 18 (g_model7610),
// type 19 as 13 (g_perseus).
void FixRadioType();
// The radio's address from "CIV" or the type's default, and the old-radio
// dialect of the generic type (which depends on the baud rate).
void SetRadioAddress(long baud);
// "7600 FW2" counts only on types 5, 16 and 18; the IC-7300 and the IC-7610
// always use command 25. `keyValue` is the key as read.
void SetFrequencyCommandFlag(int keyValue);
// The three steps above; "7600 FW2" is read from the settings file `path`.
void SetupRadioModel(const std::string& path, long baud);

// The model name for the window title.
const char* RadioModelName();
