// VFO buttons, A=B, A/B, split, dual watch, diversity and the repeater offset.
#include "panel/swl_panel.h"

void CSwlPanel::ToggleSplit() {}
void CSwlPanel::ToggleDual() {}
void CSwlPanel::SetDiversity(int on) { (void)on; }
void CSwlPanel::CopyAToB() {}
void CSwlPanel::SwapAB() {}
bool CSwlPanel::OnVfoCommand(unsigned id) {
    (void)id;
    return false;
}
