// The slider row (main and sub receiver) and the mouse wheel over the panel.
#include "panel/swl_panel.h"

void CSwlPanel::SetVolumeA(int gain) { (void)gain; }
void CSwlPanel::ToggleMainSubSliders() {}
void CSwlPanel::ShowKeyerSpeed() {}
void CSwlPanel::ShowReceiverSliders(int side) { (void)side; }
void CSwlPanel::ShowPower() {}
void CSwlPanel::MouseWheel(int delta) { (void)delta; }
bool CSwlPanel::OnSliderCommand(unsigned id) {
    (void)id;
    return false;
}
bool CSwlPanel::OnSliderMessage(int id, int value) {
    (void)id;
    (void)value;
    return false;
}
