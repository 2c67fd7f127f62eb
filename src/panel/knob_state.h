// What the tuning knobs and the wheel adjust, and the count of the step
// being applied. The control surfaces set them; the radio panel's offset
// steps read them.
#pragma once

// What every tuning knob currently adjusts (initial 1, VFO A; 2 PBT, 3 RIT,
// 4 XIT, the rest in the function table).
extern int g_knobfunction;
extern int g_wheelmult;     // the count of the step being applied
extern int g_knobabsolute;  // a MIDI slider sets an absolute level
extern int g_knobabsvalue;  // its value, 0..127
