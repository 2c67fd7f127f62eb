#include "devices/station_outputs.h"

#include "base/device_options.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "devices/switches.h"

namespace {

// The relay pattern of the fixed band plan of the "Pelx" board.
int PelxValue(double f) {
    if (f > 48 && f < 60) return 3 | 0x08;
    if (f >= 13 && f < 22) return 0 | 0x20;
    if (f >= 22 && f < 32) return 0 | 0x08;
    if (f >= 11 && f < 13) return 7 | 0x08;
    if (f >= 9 && f < 11) return g_pelx30 | 0x20;
    if (f >= 6 && f < 9) return g_pelx40 | 0x10;
    if (f >= 5 && f < 6) return 7 | 0x20;
    if (f >= 3.687 && f < 5) return g_pelx80 | 0x20;
    if (f >= 3.3 && f < 3.687) return g_pelx75 | 0x20;
    return 7 | 0x08;
}

}  // namespace

int ParallelAntennaValue(double f) {
    struct Row {
        double low, high;
        int value;
    };
    static constexpr Row kRows[] = {
        {49.9, 55, 80}, {25.1, 32, 72}, {22, 25.1, 64}, {19, 22, 56},  {14.5, 19, 48},
        {11, 14.5, 40}, {7.5, 11, 32},  {4.2, 7.5, 24}, {3.2, 4.2, 16}, {1.7, 3.2, 8},
    };
    for (const Row& r : kRows)
        if (f >= r.low && f < r.high) return r.value;
    return 0;
}

int AntennaFromTable(const double* low, const double* high, const int* antenna, double f) {
    for (int i = 0; i < 10; ++i)
        if (f >= low[i] && f <= high[i] && high[i] > 0) return antenna[i];
    return 0;
}

void SelectAntennaForFreq(double mhz) {
    const double f = g_split ? g_vfobfreq : mhz;
    if (g_pelx) {
        setadr(PelxValue(f));
        return;
    }
    if (g_bandparallel) {
        setadr(ParallelAntennaValue(f));
        return;
    }
    // The Denkovi board and the network switch know one table only.
    const bool second = g_useantb && !g_denkovi && !g_tavnag;
    const int value = second ? AntennaFromTable(g_antblow, g_antbhigh, g_antbrange, f)
                             : AntennaFromTable(g_antlow, g_anthigh, g_antrange, f);
    g_adrport = 1;
    if (g_relayboards || g_denkovi)
        setadr(value);
    else if (g_tavnag)
        setTavn(value);
    else if (g_ldg1000)
        SelectLdg6Antenna(value);
    if (g_relayboards == 2) {
        g_adrport = 2;
        setadr(AntennaFromTable(g_antlowpb, g_anthighpb, g_antrangepb, g_vfoafreq));
        g_adrport = 1;
    }
}

