#include "civ/band_table.h"

#include "civ/radio_models.h"
#include "civ/transverters.h"

namespace {
constexpr int CW = '3', USB = '0', LSB = '1', AM = '4';
constexpr int kCwRev = '2';

template <typename T>
constexpr std::array<T, kBandRows> Filled(T v) {
    std::array<T, kBandRows> a{};
    for (T& x : a) x = v;
    return a;
}
}  // namespace

const BandStackEntry kDefaultBandStack[kBandRows] = {
    {"160 Meters CW", 1.8, 1.84, 1.8, 0, CW, 45, 50},
    {"80 Meters CW", 3.5, 3.75, 3.5, 0, CW, 45, 50},
    {"40 Meters CW", 7, 7.15, 7, 0, CW, 45, 50},
    {"30 Meters CW", 10.1, 10.15, 10.1, 0, CW, 45, 50},
    {"20 Meters CW", 14, 14.15, 14, 0, CW, 45, 50},
    {"17 Meters CW", 18.068, 18.11, 18.068, 0, CW, 45, 50},
    {"15 Meters CW", 21, 21.2, 21, 0, CW, 45, 50},
    {"12 Meters CW", 24.89, 24.93, 24.89, 0, CW, 45, 50},
    {"10 Meters CW", 28, 28.3, 28, 0, CW, 45, 50},
    {"6 Meters SSB", 50.107, 54, 50.125, 0, USB, 29, 5},
    {"160 Meters SSB", 1.84, 2, 1.84, 0, LSB, 29, 50},
    {"80 Meters SSB", 3.75, 4, 3.8, 0, LSB, 29, 50},
    {"40 Meters SSB", 7.15, 7.3, 7.2, 0, LSB, 29, 50},
    {"20 Meters SSB", 14.15, 14.35, 14.195, 0, USB, 29, 50},
    {"17 Meters SSB", 18.11, 18.168, 18.12, 0, USB, 29, 50},
    {"15 Meters SSB", 21.2, 21.45, 21.25, 0, USB, 29, 50},
    {"12 Meters SSB", 24.93, 24.99, 24.94, 0, USB, 29, 50},
    {"10 Meters SSB", 28.3, 29.1, 28.495, 0, USB, 29, 50},
    {"6 Meters CW", 50, 50.10699999, 50.095, 0, CW, 45, 50},
    {"2 Meters", 144, 148, 144.11, 0, USB, 29, 5},
    {"60 Meters", 4.75, 5.1, 4.75, 0, AM, 17, 50},
    {"49 Meters", 5.9, 6.2, 5.96, 0, AM, 17, 50},
    {"41 Meters", 7.31, 7.55, 7.31, 0, AM, 17, 50},
    {"31 Meters", 9.4, 9.9, 9.4, 0, AM, 17, 50},
    {"25 Meters", 11.6, 12.1, 11.7, 0, AM, 17, 50},
    {"22 Meters", 13.57, 13.87, 13.6, 0, AM, 17, 50},
    {"19 Meters", 15.1, 15.8, 15.2, 0, AM, 17, 50},
    {"16 Meters", 17.48, 17.9, 17.6, 0, AM, 17, 50},
    {"13 Meters", 21.455, 21.85, 21.455, 0, AM, 17, 50},
    {"11 Meters", 25.6, 26.1, 25.6, 0, AM, 17, 50},
    {"AM BrdCst", 0.53, 1.705, 1.03, 0, AM, 17, 50},
    {"SCRATCH PAD", 0, 0, 14.01, 0, CW, 45, 50},
    {"GEN BAND", 90000, 150, 8.01, 0, AM, 17, 50},
    {"TV1 BAND", 90000, 0, 0, 0, USB, 29, 5},
    {"TV2 BAND", 90000, 0, 0, 0, USB, 29, 5},
    {"TV3 BAND", 90000, 0, 0, 0, USB, 29, 5},
    {"TV4 BAND", 90000, 0, 0, 0, USB, 29, 5},
    {"TV5 BAND", 90000, 0, 0, 0, USB, 29, 5},
    {"SCRATCH PAD2", 0, 0, 14.01, 0, CW, 45, 50},
    {"60 Meters SSB", 5.33, 5.407, 5.3305, 0, USB, 29, 50},
    {"SCRATCH PAD3", 0, 0, 14.01, 0, CW, 45, 50},
    {"SCRATCH PAD3A", 0, 0, 14.01, 0, CW, 45, 50},
    {"SCRATCH PAD4", 0, 0, 14.01, 0, CW, 45, 50},
    {"SCRATCH PADX", 0, 0, 14.01, 0, CW, 45, 50},
};

// A copy of the built-in rows that the settings store overwrites.
BandStackEntry g_bandstack[kBandRows] = {
#define ROW(i) kDefaultBandStack[i]
    ROW(0),  ROW(1),  ROW(2),  ROW(3),  ROW(4),  ROW(5),  ROW(6),  ROW(7),  ROW(8),  ROW(9),  ROW(10),
    ROW(11), ROW(12), ROW(13), ROW(14), ROW(15), ROW(16), ROW(17), ROW(18), ROW(19), ROW(20), ROW(21),
    ROW(22), ROW(23), ROW(24), ROW(25), ROW(26), ROW(27), ROW(28), ROW(29), ROW(30), ROW(31), ROW(32),
    ROW(33), ROW(34), ROW(35), ROW(36), ROW(37), ROW(38), ROW(39), ROW(40), ROW(41), ROW(42), ROW(43),
#undef ROW
};

// Start from the values a missing settings key gives, so a row reads the
// same before and after the settings are loaded.
std::array<int, kBandRows> g_bandmainant = Filled(1);
std::array<int, kBandRows> g_bandsubant = Filled(0);
std::array<int, kBandRows> g_bandmainantb = Filled(1);
std::array<int, kBandRows> g_bandsubantb = Filled(0);
std::array<std::int16_t, kBandRows> g_bandtunerant = Filled<std::int16_t>(1);
std::array<int, kBandRows> g_bandlocut = Filled(128);
std::array<int, kBandRows> g_bandhicut = Filled(128);
std::array<int, kBandRows> g_bandpower = Filled(0);
std::array<std::int16_t, kBandRows> g_bandpreamp = Filled<std::int16_t>(0);
std::array<std::int16_t, kBandRows> g_bandattn = Filled<std::int16_t>(0);
std::array<int, kBandRows> g_bandfreqcorr = Filled(0);
std::array<int, kBandRows> g_bandmeffa = Filled(1);

int g_bandrow = kGenBandRow;
int g_prevbandrow = kNoBandRow;

const int g_bandsearchorder[kBandSearchCount] = {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 0,  1,  2,
                                                 3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                                                 17, 18, 19, 31, 32, 33, 34, 35, 36, 37, 38, 39};

const double g_sixtymchannels[5] = {5.3305, 5.3465, 5.357, 5.3715, 5.4035};
int g_sixtymchannel = 4;

namespace {
bool RowHolds(int row, double freq, double margin) {
    const BandStackEntry& b = g_bandstack[row];
    return b.low <= freq && freq < b.high - margin;
}

struct Range {
    double lo, hi;
    int metres;
};
// Amateur bands, edges inclusive; metres 0 where BandMeters has no band.
constexpr Range kHamBands[] = {
    {1.8, 2, 160},       {3.5, 4, 80},        {5.3, 5.407, 0},    {7, 7.3, 40},
    {10.1, 10.15, 30},   {14, 14.35, 20},     {18.068, 18.168, 17}, {21, 21.45, 15},
    {24.89, 24.99, 12},  {28, 29.7, 10},      {50, 54, 6},        {144, 148, 0},
};
// BandMeters counts all of 5.1-5.9 MHz as 60 m.
constexpr Range kSixtyMetres{5.1, 5.9, 60};
}  // namespace

int PanelBandRow(double freq, int prevrow) {
    if (prevrow >= 0 && prevrow < kBandRows && RowHolds(prevrow, freq, 0.00001)) return prevrow;
    for (int row : g_bandsearchorder)
        if (RowHolds(row, freq, 0.00001)) return row;
    return kGenBandRow;
}

int BandStackRow(double freq) {
    for (int row = 0; row < kBandRows; ++row)
        if (RowHolds(row, freq, 0.0000001)) return row;
    return kGenBandRow;
}

int CheckCoverage(double freq) {
    const double top = g_perseus ? 40 : 33;
    if (freq > 0 && freq < top) return 0;
    if (freq > 49 && freq < 55) return 0;
    if (freq > 108 && freq < 174) return 0;
    for (const Transverter& tv : g_transverter)
        if (TransverterInUse(tv) && freq > tv.lower - 1 && freq < tv.upper + 1) return 0;
    return -1;
}

int IsHamBand(double freq) {
    for (const Range& r : kHamBands)
        if (freq >= r.lo && freq <= r.hi) return 1;
    return 0;
}

int BandMeters(double freq) {
    if (freq >= kSixtyMetres.lo && freq <= kSixtyMetres.hi) return kSixtyMetres.metres;
    for (const Range& r : kHamBands)
        if (freq >= r.lo && freq <= r.hi) return r.metres;
    return 0;
}

int NextSixtyMeterChannel(int channel, bool up) {
    if (up) return channel >= 4 ? 0 : channel + 1;
    return channel <= 0 ? 4 : channel - 1;
}

double SixtyMeterFrequency(int channel, int mode) {
    if (channel < 0 || channel > 4) channel = 4;
    double f = g_sixtymchannels[channel];
    if (mode == CW || mode == kCwRev) f += 0.0015;
    return f;
}

void ApplyTransverterEdges() {
    for (int n = 0; n < 5; ++n) {
        if (!TransverterInUse(g_transverter[n])) continue;
        g_bandstack[kFirstTvRow + n].low = g_transverter[n].lower;
        g_bandstack[kFirstTvRow + n].high = g_transverter[n].upper;
    }
}
