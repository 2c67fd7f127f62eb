// The radio's tuning state: VFO A and B, the step, filter, AGC, offsets,
// antennas, preamp and attenuator, the meter and the function flags. The
// engine owns it (one instance, Tuning()): the replies write it, the state
// push (OnSwl) reads it. The radio panel is its view and the operator's
// hands on it; a newly made panel starts it from the defaults.
#pragma once

#include "civ/panel_functions.h"

struct TuningState {
    // Frequencies in MHz, steps in Hz.
    double vfoAFreq = 14.025;
    char vfoAMode = '0';
    double vfoBFreq = 14.025;
    char vfoBMode = '0';
    double step = 1000;   // never below 1
    int filter = 2;       // VFO A filter index
    int agc = '3';        // VFO A AGC code
    int split = 0;
    int dual = 0;
    int diversity = 0;
    int rit = 0, xit = 0, pbt = 0;
    int ritOffset = 0;    // Hz
    int xitOffset = 0;    // Hz
    int pbtInner = 128, pbtOuter = 128;
    int pbtShift = 0;     // Hz
    int pbtShown = 0;     // shift the PBT scale shows
    int enabled = 0;      // set by the first SetPanelTuning
    int transmitA = 0, transmitB = 0;
    // Receiver values the replies put on the panel.
    int antenna = 1, rxAntenna = 0;
    int attenuator = 0;
    int preamp = 0;
    int dataMode = 0;
    int vsc = 0;
    int meterValue = 0, meterType = 0, meterPeak = 0;
    // Function flags and levels.
    PanelFunctions fn;

    // Keypad entry of one VFO: while digits are typed the radio's frequency
    // reports neither overwrite them nor start a push.
    struct KeyEntry {
        int active = 0;
        int fraction = 0;
        double accumulator = 0;
        int weight = 100000;
        int hold = 0;  // keeps updates from overwriting the typed digits
    };
    KeyEntry keyA, keyB;
};

// The one tuning state.
TuningState& Tuning();

// The slider row shows the sub receiver's sliders: the mirror poll follows
// VFO B while it does.
extern int g_subsliders;

// VFO A and B (frequency, mode) and VFO A's filter are held twice. The saved
// globals (g_vfoafreq, g_vfoamode, g_vfobfreq, g_vfobmode, g_rxfilter) are
// what the radio was last told or last reported: the settings file keeps
// them and the rest of the program reads them. The tuning state is what the
// panel shows and the operator is changing. The push (OnSwl) sends each
// value of the state that differs from its global and then copies it there;
// where the radio reports a value, or the program sets one itself, both
// copies take it at once so that the next push sends nothing back. At
// start-up the state takes the saved values.
void SetVfoAFrequency(double mhz);
void SetVfoBFrequency(double mhz);
void SetVfoModes(int modeA, int modeB);
void SetRxFilter(int index);
void TuningFromSaved();
