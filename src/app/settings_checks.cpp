#include "app/settings_checks.h"

#include "app/app_options.h"
#include "base/band_plan.h"
#include "base/device_options.h"
#include "base/memory_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "base/settings_table.h"
#include "base/trace_log.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/polling.h"
#include "civ/radio_models.h"
#include "civ/transverters.h"
#include "devices/remote_link.h"
#include "panel/controls/meter.h"

#include <cstdio>

int InRangeOr(int v, int lo, int hi, int fallback) { return v >= lo && v <= hi ? v : fallback; }

int ScaleStepOr8(int v) {
    switch (v) {
    case 1: case 2: case 4: case 8: case 16: case 32: return v;
    default: return 8;
    }
}

int CheckBandFilter(int filter, int hasfilterwidth, int oldradio) {
    if (hasfilterwidth) return filter;
    if (oldradio == 1) return InRangeOr(filter, 1, 6, 2);
    if (oldradio == 2) return InRangeOr(filter, 2, 9, 2);
    return InRangeOr(filter, 1, 3, 2);
}

int ClampTraced(const char* key, int v, int lo, int hi) {
    if (v >= lo && v <= hi) return v;
    const int c = v < lo ? lo : hi;
    WriteTracef("%s %d out of range, using %d", key, v, c);
    return c;
}

namespace {
void CheckSteps() {
    int* steps[6] = {&g_step1, &g_step2, &g_step3, &g_step4, &g_step5, &g_step6};
    constexpr int defaults[6] = {1, 10, 100, 1000, 5000, 10000};
    for (int i = 0; i < 6; ++i) *steps[i] = InRangeOr(*steps[i], 1, 20000, defaults[i]);
    g_amstep = InRangeOr(g_amstep, 1, 20000, 5000);
    g_samstep = InRangeOr(g_samstep, 1, 20000, 5000);
    g_mwstep = InRangeOr(g_mwstep, 1, 20000, 10000);
    g_ssbstep = InRangeOr(g_ssbstep, 1, 20000, 10);
    g_cwstep = InRangeOr(g_cwstep, 1, 20000, 10);
    g_rttystep = InRangeOr(g_rttystep, 1, 20000, 10);
    g_fmstep = InRangeOr(g_fmstep, 1, 20000, 1000);
}

void CheckFilterPositions() {
    g_cwfilterposition = InRangeOr(g_cwfilterposition, 1, 12, 9);
    g_amfilterposition = InRangeOr(g_amfilterposition, 1, 12, 2);
    g_rttyfilterposition = InRangeOr(g_rttyfilterposition, 1, 12, 8);
    g_rtty2filterposition = InRangeOr(g_rtty2filterposition, 1, 12, 8);
    g_ssbfilterposition = InRangeOr(g_ssbfilterposition, 1, 12, 6);
}

void CheckWattMeter() {
    if (!PortIsOff(g_powermastercomport)) {
        g_wattmetertype = 3;
        std::snprintf(g_wattmeterport, sizeof g_wattmeterport, "%s", g_powermastercomport);
    } else if (!PortIsOff(g_lp100comport)) {
        g_wattmetertype = g_lp100 ? 2 : 1;
        std::snprintf(g_wattmeterport, sizeof g_wattmeterport, "%s", g_lp100comport);
    } else {
        g_wattmetertype = 0;
        g_wattmeterport[0] = '\0';
    }
}
}  // namespace

void ApplyLoadChecks() {
    g_radiotavn = InRangeOr(g_radiotavn, 1, 2, 1);
    g_rotortavn = InRangeOr(g_rotortavn, 1, 2, 1);
    g_highspeedtuningfactor = InRangeOr(g_highspeedtuningfactor, 1, 100, 1);
    g_tunepower = InRangeOr(g_tunepower, 0, 100, 25);
    if (ModelCap(g_hastransverterbands)) g_suppresstransverterwarnings = 1;
    CheckSteps();
    CheckFilterPositions();
    g_pbtscale = ScaleStepOr8(g_pbtscale);
    g_notchscale = ScaleStepOr8(g_notchscale);
    g_ritscale = ScaleStepOr8(g_ritscale);
    if (g_txfilter > 19) g_txfilter = 11;
    if (g_stepb < 1) g_stepb = g_step;
    if (g_radioserver) {
        if (g_step > 10) g_step = 10;
        if (g_stepb > 10) g_stepb = 10;
        g_nospeedpot = 1;
        g_wordsend = 0;
    }
    if (g_griffinpowermate) g_podptttoggle = 1;
    if (g_client) g_rttytunemode = 1;
    if (g_qarvstart) g_powerfactor = 1.0;
    if (g_perseus) g_tuningdelay = 200;

    const int dsp = ModelCap(g_hasfilterwidth, g_radiotype);
    for (BandStackEntry& row : g_bandstack) row.filter = CheckBandFilter(row.filter, dsp, g_oldradio);

    // Both are indexes: a hand-edited value must not index past a table.
    for (int& v : g_restore) v = ClampTraced("RESTORE", v, 0, 41);
    g_licenseclass = ClampTraced("LICENSE CLASS", g_licenseclass, 0, 4);
    // Passband cut positions go to the radio as one byte each (355 in a band
    // row means "not stored").
    g_locut = ClampTraced("LOCUT", g_locut, 0, 255);
    g_hicut = ClampTraced("HICUT", g_hicut, 0, 255);
    for (int r = 0; r < kBandRows; ++r) {
        if (g_bandlocut[std::size_t(r)] != 355) g_bandlocut[std::size_t(r)] = ClampTraced("Locut", g_bandlocut[std::size_t(r)], 0, 255);
        if (g_bandhicut[std::size_t(r)] != 355) g_bandhicut[std::size_t(r)] = ClampTraced("Hicut", g_bandhicut[std::size_t(r)], 0, 255);
    }
    // A window scale far outside 0.5..4.0 would make the windows unusable and
    // the meter's stretch ratios divide by 0: such a scale is not taken.
    for (double* scale : {&g_scalex, &g_scaley, &g_settingsscalex, &g_settingsscaley})
        if (!IsUsablePanelScale(*scale)) *scale = 1.4;
    // A poll period of 0 would run at the timer floor and flood the send
    // queue; more than ten requests a tick would do the same to the bus.
    g_metercycle = ClampTraced("METER CYCLE", g_metercycle, 50, 60000);
    g_mirrorpoll = ClampTraced("MIRROR POLL", g_mirrorpoll, 20, 60000);
    g_pollamount = ClampTraced("POLL AMOUNT", g_pollamount, 1, 10);
    // A TCP port is 16 bits: a larger number would listen on another port.
    if (g_serverport < 1 || g_serverport > 65535) {
        WriteTracef("PORT %ld out of range, using 17152", g_serverport);
        g_serverport = 17152;
    }

    FixTransverterDefaults(g_radiotype, g_perseus);
    ApplyTransverterEdges();
    CheckWattMeter();
    // Divisors of the sweep: 0 would divide by zero.
    if (g_sweepintegrate < 1) g_sweepintegrate = 4;
    if (g_sweepdynamic < 1) g_sweepdynamic = 5;
    // A panel of a meter or radio that is not there stays hidden.
    if (!g_wavenode) g_wavevisible = 0;
    if (!ModelCap(g_hasdstar)) g_dstarvisible = 0;
}
