// The band stack: 44 rows, one per band (amateur CW and phone halves,
// broadcast bands, general coverage, transverters, scratch pads), each with
// its edges and the tuning state last used there, plus the frequency rules
// that go with it. Pure data and lookups: the radio window writes the rows,
// the CI-V engine reads them, the settings store keeps one section per row.
#pragma once
#include <array>
#include <cstdint>

struct BandStackEntry {
    char name[32];     // also the row's section in the settings file
    double low;        // MHz, inclusive
    double high;       // MHz, exclusive
    double last;       // VFO A frequency last used here ("Frequency")
    double second;     // VFO B frequency kept with SPLIT on, else 0 ("OppFrequency")
    int mode;          // ModeChar of VFO A ("Mode")
    int filter;        // filter index of VFO A ("Filter")
    int alcsetting;    // amplifier-tune power, percent ("AlcSetting")
};

constexpr int kBandRows = 44;
constexpr int kGenBandRow = 32;     // holds whatever no other row holds
constexpr int kSixtySsbRow = 39;    // "60 Meters SSB"
constexpr int kSixtyBcRow = 20;     // "60 Meters": the broadcast row with the limit keys
constexpr int kFirstTvRow = 33;     // "TV1 BAND".."TV5 BAND"
constexpr int kNoBandRow = 99;

extern BandStackEntry g_bandstack[kBandRows];
// The built-in rows, for tests and for a row the operator wants back.
extern const BandStackEntry kDefaultBandStack[kBandRows];

// Companion values per row. Markers: antenna 9 = not stored, PBT 355 = not
// stored, power 0 = not stored.
extern std::array<int, kBandRows> g_bandmainant;    // "MAINANT"
extern std::array<int, kBandRows> g_bandsubant;     // "SUBANT"
extern std::array<int, kBandRows> g_bandmainantb;   // "MAINANTB"
extern std::array<int, kBandRows> g_bandsubantb;    // "SUBANTB"
extern std::array<std::int16_t, kBandRows> g_bandtunerant;  // "Tuner Ant": LDG tuner antenna 1 or 2
extern std::array<int, kBandRows> g_bandlocut;      // "Locut": PBT inner, 0..255, 128 centre
extern std::array<int, kBandRows> g_bandhicut;      // "Hicut": PBT outer
extern std::array<int, kBandRows> g_bandpower;      // "Power": transmit power, percent
extern std::array<std::int16_t, kBandRows> g_bandpreamp;  // "PREAMP"
extern std::array<std::int16_t, kBandRows> g_bandattn;    // "ATTN"
extern std::array<int, kBandRows> g_bandfreqcorr;   // "FreqCorr"
extern std::array<int, kBandRows> g_bandmeffa;      // "MEFFA"

extern int g_bandrow;      // row shown on the panel (initial 32)
extern int g_prevbandrow;  // row SelectBand last loaded; 99 = none

// Broadcast rows first, then the amateur rows, then the special rows;
// rows 40-43 are never searched.
constexpr int kBandSearchCount = 40;
extern const int g_bandsearchorder[kBandSearchCount];

// 60 m USB dial frequencies and the current channel index.
extern const double g_sixtymchannels[5];
extern int g_sixtymchannel;

// The panel's lookup: g_prevbandrow first (unless 99), then the search order;
// a row holds f when low <= f < high - 0.00001. None found: row 32.
int PanelBandRow(double freq, int prevrow);
// The engine's lookup: rows 0..43 in order, low <= f < high - 0.0000001;
// none found: row 32.
int BandStackRow(double freq);

// 0 when the radio can be tuned to freq (MHz), -1 when not.
int CheckCoverage(double freq);
// 1 inside an amateur band (edges inclusive), else 0. The radio window's
// IsHamBand answers with this.
int IsHamBand(double freq);
// The band's wavelength in metres, 0 outside the HF and 6 m amateur bands.
int BandMeters(double freq);

// The 60 m channel step: up moves 4 -> 0, down moves 0 -> 4.
int NextSixtyMeterChannel(int channel, bool up);
// VFO A for a 60 m channel: CW and CW-R sit 1.5 kHz above the USB dial.
double SixtyMeterFrequency(int channel, int mode);

// Gives the transverter rows the edges of the enabled transverters.
void ApplyTransverterEdges();
