#include "civ/radio_models.h"

#include "civ/filter_widths.h"

#include "base/settings_store.h"

int g_radiotype = 0;
int g_myaddr = 0xE0;
int g_civindex = 207;
int g_radioadr = 0x5C;
int g_7600fw2 = 0;
int g_model7610 = 0;
int g_perseus = 0;
int g_oldradio = 0;

constexpr std::array<const char*, kRadioTypes> g_modelnames = {
    "IC-756PRO",    "IC-756PROII", "IC-746",  "IC-746PRO", "IC-706MKIIG", "IC-7800", "IC-756",
    "IC-718",       "IC-781",      "IC-775",  "IC-GEN",    "IC-703",      "IC-756PROIII",
    "IC-7000",      "IC-736",      "IC-738",  "IC-7700",   "IC-7200",     "IC-7600", "Perseus",
    "IC-9100",      "IC-7410",     "IC-7100", "IC-7300",   "",            "IC-705",
};

// Types:                      0  1  2  3  4  5  6  7  8  9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25
constexpr ModelTable g_hasmainsub = {1, 1, 0, 0, 0, 1, 1, 0, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0};
constexpr ModelTable g_hasnotch = {1, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1};
constexpr ModelTable g_hassweep = {1, 1, 1, 1, 1, 1, 0, 1, 0, 0, 0, 1, 1, 1, 0, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1};
constexpr ModelTable g_hasmetersel = {0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1};
constexpr ModelTable g_preampcount = {2, 2, 2, 2, 1, 2, 0, 1, 0, 0, 0, 2, 2, 1, 0, 0, 2, 1, 2, 0, 2, 2, 1, 2, 0, 2};
constexpr ModelTable g_hasdualpanel = {1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0};
constexpr ModelTable g_has2m = {0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1};
constexpr ModelTable g_civaddrtable = {0x5C, 0x64, 0x56, 0x66, 0x58, 0x6A, 0x50, 0x5E, 0x26, 0x46, 0x00, 0x68, 0x6E,
                                       0x70, 0x40, 0x44, 0x74, 0x76, 0x7A, 0x00, 0x7C, 0x80, 0x88, 0x94, 0x00, 0xA4};
constexpr ModelTable g_haslevels = {1, 1, 1, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 1, 0, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1};
constexpr ModelTable g_menudialect = {0, 1, 0, 1, 0, 2, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 2, 1, 2, 0, 2, 1, 1, 1, 0, 1};
constexpr ModelTable g_hasvsc = {0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 1, 1, 0, 0, 0};
constexpr ModelTable g_hasfilterwidth = {0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1};
constexpr ModelTable g_hasamfmwidth = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 1, 1, 1, 0, 0, 1, 0, 1};
constexpr ModelTable g_filterbase = {0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_hastxfilter = {0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 0, 0};
constexpr ModelTable g_hastone = {1, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1};
constexpr ModelTable g_hasdigisel = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0};
constexpr ModelTable g_fixedfilters = {3, 0, 3, 0, 3, 0, 3, 3, 2, 2, 2, 3, 0, 0, 3, 3, 0, 0, 0, 3, 0, 0, 0, 0, 3, 0};

constexpr ModelTable g_hassubreceiver = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_subafonvfob = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
constexpr ModelTable g_hassubrfgain = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
constexpr ModelTable g_hasdualmenu = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_hasagcvr = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_txwatts = {100, 100, 100, 100, 100, 200, 100, 100, 100, 100, 100, 10, 100, 100, 100, 100, 200, 100, 100, 100, 100, 100, 100, 100, 100, 10};
constexpr ModelTable g_hasnblevel = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 1, 1, 0, 0, 0, 0, 1, 0, 0};
constexpr ModelTable g_hasapflevel = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1};
constexpr ModelTable g_hastwinpeak = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 0};
constexpr ModelTable g_hastwinpbt = {1, 1, 1, 1, 0, 1, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1};
constexpr ModelTable g_hasspeechqsk = {1, 1, 0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1};
constexpr ModelTable g_speechbymenu = {0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_hasmonitor = {1, 1, 1, 1, 0, 1, 0, 1, 0, 0, 0, 1, 1, 1, 0, 0, 1, 0, 1, 0, 1, 1, 1, 1, 0, 1};
constexpr ModelTable g_oldmenuitems = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_newvox = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 0, 0};
constexpr ModelItems g_voxdelayitem = {0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0184, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0182, 0x0000, 0x0167, 0x0000, 0x0184, 0x0000, 0x0000, 0x0191, 0x0000, 0x0000};
constexpr ModelItems g_sidetoneitem = {0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0017, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0000, 0x0023, 0x0000, 0x0024, 0x0000, 0x0017, 0x0000, 0x0000, 0x0158, 0x0000, 0x0000};
constexpr ModelTable g_sidetoneraw = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0};
constexpr ModelTable g_hasipplus = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0};
constexpr ModelTable g_hasnotchwidth = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0};
constexpr ModelTable g_agctwospeed = {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_agcslowcode = {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 0, 3, 3, 3, 3, 3, 3, 3, 3};
constexpr ModelTable g_hasagcoff = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0};
constexpr ModelTable g_lowerwidthcmds = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_memorychannels = {100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 200, 100, 100, 100, 100, 100, 100, 100, 100};
constexpr ModelTable g_hasmembanks = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_hasantennaset = {1, 1, 1, 1, 0, 1, 1, 1, 0, 1, 0, 1, 1, 1, 0, 0, 1, 1, 1, 0, 1, 1, 1, 0, 0, 1};
constexpr ModelTable g_antennaonebyte = {0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
constexpr ModelTable g_hasantennaread = {1, 1, 1, 1, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1};
constexpr ModelTable g_antennaupkeep = {1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 0, 1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 1, 1, 0, 0, 1};
constexpr ModelTable g_dualby1659 = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
constexpr ModelTable g_mainsubbyband = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
constexpr ModelTable g_hasdstar = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
constexpr ModelTable g_tunerstart = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0};
constexpr ModelTable g_oldmainsub = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_hasritread = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_hasdataread = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_hastxread = {1, 1, 1, 1, 0, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
constexpr ModelTable g_hastransverterbands = {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
constexpr ModelTable g_savesamfilters = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 1, 0};
constexpr ModelTable g_haspoweronoff = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0};
constexpr ModelTable g_restorefilters2 = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_hasinternaltuner = {0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 0, 0};
constexpr ModelTable g_haswfm = {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_txpowerprefix = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
constexpr ModelTable g_atten3db = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_fw2choice = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0};
constexpr ModelTable g_always25 = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0};

int ModelFilterCount(int type, int oldradio) {
    if (ModelCap(g_hasfilterwidth, type)) return kFilterCount;
    if (oldradio == 1) return 5;
    if (oldradio == 2) return 9;
    return ModelCap(g_fixedfilters, type);
}

namespace {
constexpr int kPerseusAddress = 0xE1;
constexpr int kIc7610Address = 0x98;
constexpr int kDefaultIndex = 207;  // "CIV" at or above this: the type's default
constexpr int kIc7410 = 21;
constexpr int kGeneric = 10;

// The types on which "7600 FW2" is an operator's choice.
bool ReadsFw2Key() { return ModelCap(g_fw2choice) != 0; }
}  // namespace

int ModelCap(const ModelTable& table, int type) {
    if (type < 0 || type >= kRadioTypes) return 0;
    return table[std::size_t(type)];
}

int ModelCap(const ModelItems& table, int type) {
    if (type < 0 || type >= kRadioTypes) return 0;
    return table[std::size_t(type)];
}

void FixRadioType() {
    if (g_radiotype > 25 || g_radiotype < 0) g_radiotype = 0;
    g_model7610 = 0;
    g_perseus = 0;
    if (g_radiotype == 24) {
        g_radiotype = 18;
        g_model7610 = 1;
        g_7600fw2 = 1;
    } else if (g_radiotype == 19) {
        g_radiotype = 13;
        g_perseus = 1;
    }
}

void SetRadioAddress(long baud) {
    int v = g_civindex;
    if (v == 127 && g_radiotype != kIc7410) v = kDefaultIndex;
    if (v < kDefaultIndex && v >= 0) {
        g_radioadr = v + 1;
    } else {
        g_radioadr = ModelCap(g_civaddrtable);
        if (g_model7610) g_radioadr = kIc7610Address;
    }
    if (g_perseus) g_radioadr = kPerseusAddress;

    g_oldradio = 0;
    if (g_radiotype == kGeneric) {
        if (g_radioadr == 0x04) g_oldradio = 1;
        if (baud == 1200 && g_radioadr == 0x2C) g_oldradio = 1;
        if (baud == 1200 && g_radioadr == 0x1E) g_oldradio = 2;
    }
}

void SetFrequencyCommandFlag(int keyValue) {
    g_7600fw2 = ReadsFw2Key() ? keyValue : 0;
    if (ModelCap(g_always25) || g_model7610) g_7600fw2 = 1;
}

void SetupRadioModel(const std::string& path, long baud) {
    FixRadioType();
    SetRadioAddress(baud);
    SetFrequencyCommandFlag(ReadsFw2Key() ? ReadIniInt("OPERATING STATUS", "7600 FW2", "0", path) : 0);
}

const char* RadioModelName() {
    if (g_perseus) return "Perseus";
    if (g_model7610) return "IC7610";
    if (g_radiotype < 0 || g_radiotype >= kRadioTypes) return g_modelnames[0];
    return g_modelnames[std::size_t(g_radiotype)];
}
