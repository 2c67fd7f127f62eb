#include "civ/tuning_state.h"

#include "base/panel_options.h"
#include "civ/civ_options.h"

int g_subsliders = 0;

TuningState& Tuning() {
    static TuningState state;
    return state;
}

void SetVfoAFrequency(double mhz) {
    g_vfoafreq = mhz;
    Tuning().vfoAFreq = mhz;
}

void SetVfoBFrequency(double mhz) {
    g_vfobfreq = mhz;
    Tuning().vfoBFreq = mhz;
}

void SetVfoModes(int modeA, int modeB) {
    g_vfoamode = modeA;
    g_vfobmode = modeB;
    Tuning().vfoAMode = char(modeA);
    Tuning().vfoBMode = char(modeB);
}

void SetRxFilter(int index) {
    g_rxfilter = index;
    Tuning().filter = index;
}

void TuningFromSaved() {
    TuningState& t = Tuning();
    t.vfoAFreq = g_vfoafreq;
    t.vfoAMode = char(g_vfoamode);
    t.vfoBFreq = g_vfobfreq;
    t.vfoBMode = char(g_vfobmode);
    t.step = g_step < 1 ? 1 : g_step;
    t.filter = g_rxfilter;
}
