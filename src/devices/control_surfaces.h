// Control surfaces: the keypad pod on the Pegasus port, the FlexControl
// knob, the TMate2 and the MIDI controllers. The entry points the main
// frame calls; the parts live in function_table, key_events, knob_tuning,
// keypad_pod, flex_knob, tmate2 and midi_controllers.
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
void ShowTMate2Smeter(int value);  // the TMate2's S-meter display, each meter tick
void OnTmate2MultiChange();
void OpenMidi();
void ShowPodKnob();
void InitRx331();

// Command ids the main frame hands to the control surfaces.
constexpr unsigned ID_POD_CAPTION = 556;
constexpr unsigned ID_POD_PERIOD_KEY = 6102;
constexpr unsigned ID_POD_ZERO_KEY = 6103;
constexpr unsigned ID_TMATE2_MULTI = 4508;
// Runs a main-frame command that belongs to the control surfaces (function
// keys, Page Up/Down, pod keys, TMate2 and MIDI commands); false for others.
bool OnSurfaceCommand(unsigned id);
// Window messages of the surfaces (MIDI data); false for others. The wheel
// comes through the main window's OnMouseWheel.
bool OnSurfaceMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
