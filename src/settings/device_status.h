// Device states shown on the settings window's "Call Sign, TopTen" page:
// the bearing the rotor reports and whether it is moving, and the
// amplifier's last reply. The device code calls these when a state changes;
// they do nothing while the window does not exist.
#pragma once

// Labels of that page (ids of the settings window's own controls).
constexpr int kRotorShownLabelId = 7994;   // the bearing last received, "%03d"
constexpr int kRotorMovingLabelId = 7995;  // "Moving" while the rotor turns
constexpr int kAmpStatusLabelId = 7996;    // the amplifier's last reply

// The received bearing (g_rotorshown) and the moving flag (g_rotormoving).
void ShowRotorState();
// The "Rotor Bearing" edit shows the typed target (g_rotortarget).
void ShowRotorTarget();
// The amplifier text (g_amplifiertext).
void ShowAmplifierText();
