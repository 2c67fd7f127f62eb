// Radio-window operations whose controls come with the panel's later
// layout: until those controls exist they change nothing.
#include "panel/swl_panel.h"

int g_subsliders = 0;

void CSwlPanel::CopyAToB() {}
void CSwlPanel::SwapAB() {}
void CSwlPanel::CycleAttenuator() {}
void CSwlPanel::SetVolumeA(int) {}
void CSwlPanel::HotKeyMode(char) {}
void CSwlPanel::ShowTransmitButton(int) {}
void CSwlPanel::ShowSwr(const char*) {}
void CSwlPanel::ShowClocks(const char*, const char*) {}
void CSwlPanel::ShowIdLabel() {}
void CSwlPanel::ShowIdFlash(int) {}
void CSwlPanel::ShowVox(int) {}
void CSwlPanel::CloseLayout() {}
void CSwlPanel::ToggleMainSubSliders() {}
void CSwlPanel::ShowCwSpeed(const char*) {}
void CSwlPanel::SetCwCaption(const char*) {}
void CSwlPanel::ShowCwKeyboardButtons(int) {}
void CSwlPanel::ShowKeyerSpeed() {}
void CSwlPanel::ShowIdReminder(const char*) {}
