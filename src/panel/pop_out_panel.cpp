#include "panel/pop_out_panel.h"

#include <cstdio>

CPopOutPanel::CPopOutPanel(bool clickFocus) : background_(plat::GetSysColour(plat::COLOR_BTNFACE)) {
    SetClickFocus(clickFocus);
    SetDragByBody(true);
}

void CPopOutPanel::RecordPlace(char* place, std::size_t size) const {
    if (!IsCreated()) return;
    const plat::Rect r = GetNormalRect();
    std::snprintf(place, size, "%04d %04d", r.left, r.top);
}

const plat::Font* CPopOutPanel::PanelFont(double sy) {
    const int height = int(10 * sy);
    if (!font_.IsCreated() || font_.Height() != height) font_.Create(height, plat::FW_NORMAL, "Arial");
    return &font_;
}

void CPopOutPanel::OnPaint(plat::PaintContext& pc) { pc.FillRect(GetClientRect(), background_); }

void CPopOutPanel::OnShowWindow(bool shown) {
    if (shown && shownHook_) shownHook_(this);
}

plat::Rect ScaledRect(int left, int top, int right, int bottom, double sx, double sy) {
    return {int(left * sx), int(top * sy), int(right * sx), int(bottom * sy)};
}
