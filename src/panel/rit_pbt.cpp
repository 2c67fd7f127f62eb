// RIT, XIT and passband tuning, and the scales that show them.
#include "panel/swl_panel.h"

void CSwlPanel::SetPbtInner(int position) { (void)position; }
void CSwlPanel::SetPbtOuter(int position) { (void)position; }
void CSwlPanel::KnobUp() {}
void CSwlPanel::KnobDown() {}
void CSwlPanel::ShowRitXit() {}
bool CSwlPanel::OnOffsetCommand(unsigned id) {
    (void)id;
    return false;
}
bool CSwlPanel::OnScaleMessage(unsigned msg, int id, double value) {
    (void)msg;
    (void)id;
    (void)value;
    return false;
}
void CSwlPanel::WheelOverScale(int id, int clicks) {
    (void)id;
    (void)clicks;
}
