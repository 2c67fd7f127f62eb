// Knob tuning: every rotary input (mouse wheel, Page Up/Down, the pod knob,
// the FlexControl, the TMate2 knobs, MIDI jog wheels and sliders) becomes a
// signed count, and a count becomes a step of whatever g_knobfunction
// selects.
#pragma once
#include <cstdint>

// g_wheelmult, g_knobabsolute and g_knobabsvalue live with the panel.
#include "panel/knob_state.h"

// Step record: byte 0 ignored, bytes 1-2 the signed 16-bit count (high
// byte first), byte 3 ignored.
struct StepRecord {
    std::uint8_t bytes[4] = {0, 0, 0, 0};
};
StepRecord MakeStepRecord(int count);  // the count clamped to -32767..32767
int StepRecordCount(const StepRecord& r);
// Sum or product kept within a 16-bit count.
int ClampCount(long long n);

extern int g_wheelunit;        // smallest wheel delta seen (initial 1000)

// Knob acceleration over the 150 ms window, then ApplyTuneStep.
void AccumulateTuneStep(int count);
// One step of the current knob function.
void ApplyTuneStep(const StepRecord& record);
// The main frame's wheel handler (delta in wheel units, 120 a notch).
void OnMouseWheel(int delta);
void OnPageUp();
void OnPageDown();
void OnShiftPageUp();
void OnShiftPageDown();
