// Radio-window operations whose controls come with the panel's later
// layout: until those controls exist they change nothing.
#include "panel/swl_panel.h"

int g_subsliders = 0;
int g_tunea = 1;
int g_tuneb = 1;
int g_wheelctrl = 0;

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
void CSwlPanel::ShowVox(int on) {
    vox = on;
    if (View()) View()->LightButton(1402, on);
}
void CSwlPanel::CloseLayout() {
    if (View()) View()->ShowSaveNotice();
}
void CSwlPanel::ToggleMainSubSliders() {}
void CSwlPanel::ShowCwSpeed(const char*) {}
void CSwlPanel::SetCwCaption(const char*) {}
void CSwlPanel::ShowCwKeyboardButtons(int) {}
void CSwlPanel::ShowKeyerSpeed() {}
void CSwlPanel::ShowIdReminder(const char*) {}

void CSwlPanel::ShowPodKnobCaption(const std::string& text) { podKnobCaption = text; }
void CSwlPanel::CycleBreakIn() {}
void CSwlPanel::ToggleVox() {}
void CSwlPanel::StoreScratchPad() {}
void CSwlPanel::StoreScratchPad3() {}
void CSwlPanel::RecallScratchPad() {}
void CSwlPanel::RecallScratchPad3() {}
void CSwlPanel::CycleAntenna() {}
void CSwlPanel::ToggleRxAntenna() {}
void CSwlPanel::ToggleTpf() {}
void CSwlPanel::CyclePreamp() {}
void CSwlPanel::KnobUp() {}
void CSwlPanel::KnobDown() {}
void CSwlPanel::ShowRitXit() {}
void CSwlPanel::InitAgc() {}
void CSwlPanel::ShowReceiverSliders(int) {}
void CSwlPanel::ShowRfStatusLine() {}
void CSwlPanel::ShowDspStatusLine() {}
void CSwlPanel::ShowApf() {}
void CSwlPanel::ShowAgc(int) {}
void CSwlPanel::ShowPower() {}
void CSwlPanel::ShowBreakIn(int) {}
void CSwlPanel::ShowMeterSetting() {}
void CSwlPanel::LightFunctionButton(unsigned command, int on) {
    if (View()) View()->LightButton(command, on);
}
