#include "panel/pop_out_panel.h"

#include <cstdio>

CPopOutPanel::CPopOutPanel() : background_(plat::GetSysColour(plat::COLOR_BTNFACE)) { SetClickFocus(false); }

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

void CPopOutPanel::OnLButtonDown(unsigned, plat::Point p) {
    // Screen points: the panel moves under the pointer while it is dragged.
    grab_ = ClientToScreen(p);
    start_ = GetWindowRect();
    dragging_ = true;
    SetCapture();
}

void CPopOutPanel::OnMouseMove(unsigned, plat::Point p) {
    if (!dragging_) return;
    const plat::Point now = ClientToScreen(p);
    const int x = start_.left + now.x - grab_.x, y = start_.top + now.y - grab_.y;
    MoveWindow(plat::KeepInside({x, y, x + start_.width(), y + start_.height()}, DragBounds()));
}

void CPopOutPanel::OnLButtonUp(unsigned, plat::Point) {
    if (!dragging_) return;
    dragging_ = false;
    ReleaseCapture();
}

void CPopOutPanel::OnPaint(plat::PaintContext& pc) { pc.FillRect(GetClientRect(), background_); }

plat::Rect ScaledRect(int left, int top, int right, int bottom, double sx, double sy) {
    return {int(left * sx), int(top * sy), int(right * sx), int(bottom * sy)};
}
