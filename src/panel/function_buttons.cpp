// The receiver and transmitter function buttons and the labels they drive.
#include "panel/swl_panel.h"

void CSwlPanel::ToggleSquelch() {}
void CSwlPanel::ShowAntenna() {}
void CSwlPanel::ShowRxAntenna() {}
void CSwlPanel::ShowAttenuator() {}
void CSwlPanel::ShowPreamp() {}
void CSwlPanel::SetMemoryScanButton(int on) { (void)on; }
void CSwlPanel::SetTuneButton(int on) { (void)on; }
void CSwlPanel::CycleAttenuator() {}
void CSwlPanel::ShowTransmitButton(int on) { (void)on; }
void CSwlPanel::ShowSwr(const char* text) { (void)text; }
void CSwlPanel::ShowClocks(const char* local, const char* utc) {
    (void)local;
    (void)utc;
}
void CSwlPanel::ShowIdLabel() {}
void CSwlPanel::ShowIdFlash(int selected) { (void)selected; }
void CSwlPanel::ShowVox(int on) {
    vox = on;
    if (View()) View()->LightButton(1402, on);
}
void CSwlPanel::ShowCwSpeed(const char* text) { (void)text; }
void CSwlPanel::SetCwCaption(const char* text) { (void)text; }
void CSwlPanel::ShowCwKeyboardButtons(int on) { (void)on; }
void CSwlPanel::ShowIdReminder(const char* call) { (void)call; }
void CSwlPanel::CycleBreakIn() {}
void CSwlPanel::ToggleVox() {}
void CSwlPanel::CycleAntenna() {}
void CSwlPanel::ToggleRxAntenna() {}
void CSwlPanel::ToggleTpf() {}
void CSwlPanel::CyclePreamp() {}
void CSwlPanel::ShowRfStatusLine() {}
void CSwlPanel::ShowDspStatusLine() {}
void CSwlPanel::ShowApf() {}
void CSwlPanel::ShowBreakIn(int value) { (void)value; }
void CSwlPanel::ShowMeterSetting() {}
void CSwlPanel::LightFunctionButton(unsigned command, int on) {
    if (View()) View()->LightButton(command, on);
}
bool CSwlPanel::OnFunctionCommand(unsigned id) {
    (void)id;
    return false;
}
