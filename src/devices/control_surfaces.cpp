#include "devices/control_surfaces.h"

int g_flexopen = 0;
int g_tmate2open = 0;
int g_keyguard = 0;
int g_knobhighspeed = 0;
int g_knobsteps = 0;
int g_accxmit = 0;
int g_deferredonswl = 0;

// Built with the control surfaces.
void ReadPegPort() {}
void ReadFlexKnob() {}
void ReadTMate2() {}
void FindFlexKnob() {}
void SetFlexKnobLeds() {}
void SendToFlexKnob(const std::uint8_t*, int) {}
void OpenTMate2() {}
void CloseTMate2() {}
void ShowTMate2State() {}
void OnTmate2MultiChange() {}
void OpenMidi() {}
void ShowPodKnob() {}
void InitRx331() {}
void PressPodButton(int) {}
