// The values of g_knobfunction (panel/knob_state.h) that name a function of
// the function table.
#pragma once

// What the tuning knob adjusts (g_knobfunction).
enum KnobFunction : int {
    kKnobVfoA = 1,
    kKnobPbt = 2,
    kKnobRit = 3,
    kKnobPower = 5,
    kKnobVolume = 6,
    kKnobVfoB = 7,
    kKnobRfGain = 9,
    kKnobKeyerSpeed = 10,
    kKnobFilter = 11,
};
