// Control surfaces: the keypad pod on the Pegasus port, the FlexControl
// knob, the TMate2 and the MIDI controllers.
#pragma once
#include <cstdint>

extern int g_flexopen;     // the FlexControl knob was found
extern int g_tmate2open;   // the TMate2 is open
extern int g_keyguard;     // key-repeat guard (TIMER_KEY_GUARD)
extern int g_knobhighspeed;
extern int g_knobsteps;    // knob steps in the current window
extern int g_accxmit;      // the transmitter is keyed by the accessory transmit function
extern int g_deferredonswl;  // a knob step waits for TIMER_DEFERRED_ONSWL

void ReadPegPort();
void ReadFlexKnob();
void ReadTMate2();
void FindFlexKnob();
void SetFlexKnobLeds();
void SendToFlexKnob(const std::uint8_t* data, int length);
void OpenTMate2();
void CloseTMate2();
void ShowTMate2State();
void OnTmate2MultiChange();
void OpenMidi();
void ShowPodKnob();
void InitRx331();
// Runs the pod button `key` ('1'..'9', '0', 17) as if pressed on the pod.
void PressPodButton(int key);
