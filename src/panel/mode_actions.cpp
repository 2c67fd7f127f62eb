// Mode, filter and AGC buttons.
#include "panel/swl_panel.h"

void CSwlPanel::PressModeButton(char mode) { (void)mode; }
void CSwlPanel::ToggleDataMode() {}
void CSwlPanel::SetModeCaption() {}
void CSwlPanel::HotKeyMode(char mode) { (void)mode; }
void CSwlPanel::ShowAgc(int code) { (void)code; }
void CSwlPanel::InitAgc() {}
bool CSwlPanel::OnModeCommand(unsigned id) {
    (void)id;
    return false;
}
