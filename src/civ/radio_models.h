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

// What the running type does where the tables above leave it open: one
// column a rule, read with ModelCap like the others. Types 24 and 19 run as
// 18 and 13 (g_model7610, g_perseus), so their columns are never read.
using ModelItems = std::array<std::uint16_t, kRadioTypes>;
extern const ModelTable g_hassubreceiver;  // a full sub receiver: its DSP, levels, filter and antenna set on VFO B
extern const ModelTable g_subafonvfob;  // sub AF gain as 14 01 on VFO B (14 10 on the others)
extern const ModelTable g_hassubrfgain;  // sub RF gain set apart at start-up and on the push
extern const ModelTable g_hasdualmenu;  // dual-watch menu items 1A 05 00 22 (set) and 00 87 (mirror read)
extern const ModelTable g_hasagcvr;  // AGC VR switch 16 4D and level 14 11; the AGC MAN button
extern const ModelTable g_txwatts;  // full transmit power in watts
extern const ModelTable g_hasnblevel;  // noise-blanker level 14 12
extern const ModelTable g_hasapflevel;  // APF level 14 05
extern const ModelTable g_hastwinpeak;  // twin peak filter 16 4F
extern const ModelTable g_hastwinpbt;  // twin PBT cuts 14 07/14 08 (the others: one shift, 14 04)
extern const ModelTable g_hasspeechqsk;  // speech level 14 0E and break-in delay 14 0F
extern const ModelTable g_speechbymenu;  // speech level as menu item 1A 05 38, break-in delay on the 20..130 scale, sidetone item 55
extern const ModelTable g_hasmonitor;  // monitor switch 16 45
extern const ModelTable g_oldmenuitems;  // 1A 05 items of the first menu dialect numbered apart; tuner start by 1A 05 28
extern const ModelTable g_newvox;  // VOX gain and anti-VOX as 14 16/14 17, VOX delay as a two-byte menu item
extern const ModelItems g_voxdelayitem;  // VOX delay menu item (two bytes after 1A 05; 02 92 on the IC-7610)
extern const ModelItems g_sidetoneitem;  // side-tone level menu item of the newer radios (two bytes after 1A 05; 02 25 on the IC-7610)
extern const ModelTable g_sidetoneraw;  // side-tone level sent as the slider value, not as a percentage
extern const ModelTable g_hasipplus;  // IP+ by 1A 07
extern const ModelTable g_hasnotchwidth;  // manual-notch width 16 57
extern const ModelTable g_agctwospeed;  // two AGC speeds only: Medium is sent and shown as Fast
extern const ModelTable g_agcslowcode;  // the 16 12 byte for Slow AGC
extern const ModelTable g_hasagcoff;  // AGC can be turned off (and on the IC-7610)
extern const ModelTable g_lowerwidthcmds;  // filter width 1A 02 and data mode 1A 04 (the others 1A 03, 1A 06)
extern const ModelTable g_memorychannels;  // radio memory channels
extern const ModelTable g_hasmembanks;  // radio memories in banks, with names
extern const ModelTable g_hasantennaset;  // antenna selection 12
extern const ModelTable g_antennaonebyte;  // 12 with the antenna byte alone
extern const ModelTable g_hasantennaread;  // antenna read 12 in the mirror poll
extern const ModelTable g_antennaupkeep;  // antenna read 12 by the one-second upkeep
extern const ModelTable g_dualby1659;  // dual watch by 16 59 (00 across bands)
extern const ModelTable g_mainsubbyband;  // main/sub choice before the VFO choice, VFO A restored across bands
extern const ModelTable g_hasdstar;  // D-STAR call-sign panel
extern const ModelTable g_tunerstart;  // internal tuner start: 0 1C 01, 1 1A 05 28, 2 1A 05 00 20 01
extern const ModelTable g_oldmainsub;  // main/sub selected by 07 B0; no delayed return to VFO A
extern const ModelTable g_hasritread;  // RIT read at initialisation
extern const ModelTable g_hasdataread;  // data-mode read 1A 06 by the upkeep in AFSK
extern const ModelTable g_hastxread;  // transmit state read 1C 00
extern const ModelTable g_hastransverterbands;  // own VHF/UHF bands: no transverter warnings
extern const ModelTable g_savesamfilters;  // AM filter positions saved (and on the Perseus)
extern const ModelTable g_haspoweronoff;  // power on/off commands (and on the IC-7610)
extern const ModelTable g_restorefilters2;  // second layout of the restore-filters page
extern const ModelTable g_hasinternaltuner;  // a built-in antenna tuner
extern const ModelTable g_haswfm;  // wide FM mode
extern const ModelTable g_txpowerprefix;  // 1A 05 00 37 34 before each transmit power
extern const ModelTable g_atten3db;  // attenuator in 3 dB steps (and on the IC-7610)
extern const ModelTable g_fw2choice;  // "7600 FW2" is the operator's choice
extern const ModelTable g_always25;  // frequencies always by command 25 (and on the IC-7610)

// The number of filters of a type: the DSP width table's entries, else the
// fixed filters, five or nine under the generic type's old-radio dialects.
int ModelFilterCount(int type, int oldradio);

// The running type's entry of a table; 0 for a type outside the list.
int ModelCap(const ModelTable& table, int type);
inline int ModelCap(const ModelTable& table) { return ModelCap(table, g_radiotype); }
int ModelCap(const ModelItems& table, int type);
inline int ModelCap(const ModelItems& table) { return ModelCap(table, g_radiotype); }

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
