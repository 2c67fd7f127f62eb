#include "panel/controls/slider.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/keys.h"

namespace {
using plat::RGB;
constexpr int kSnapPixels = 6;
}  // namespace

int SliderScale::Clamp(int v) const {
    const int lo = std::min(low, high), hi = std::max(low, high);
    return std::clamp(v, lo, hi);
}

int SliderScale::ValueAt(int y) const {
    if (y >= bottom - kSnapPixels) return low;
    if (y <= top + kSnapPixels) return high;
    const int extent = bottom - top;
    if (extent <= 0) return low;
    // In double, from the track's top, so neither end is lost to integer division.
    const double v = high - double(high - low) * (double(y - top) / extent);
    return Clamp(int(std::trunc(v)));
}

int SliderScale::RowOf(int value) const {
    const int extent = bottom - top;
    if (high == low || extent <= 0) return bottom;
    const double f = double(Clamp(value) - low) / double(high - low);
    return top + int(std::lround(extent - extent * f));
}

CSlider::CSlider() {
    SetAccessibleRole(plat::AccessRole::Slider);
    SetClickFocus(false);
}

bool CSlider::Create(const plat::Rect& r, plat::Window* parent, int id, bool visible) {
    // The track and the factors exist from creation, so a click before the
    // first paint (or with no screen at all) already reads right.
    scale_.top = 0;
    scale_.bottom = r.height();
    const bool ok = CreateChild("", r, parent, id, visible);
    ShowValueName();
    return ok;
}

void CSlider::UpdateTrack() {
    scale_.top = 0;
    scale_.bottom = Height();
}

void CSlider::ShowValueName() {
    if (GetWindowText().empty()) SetAccessibleName(std::to_string(value_));
}

void CSlider::SetRange(int low, int high) {
    scale_.low = low;
    scale_.high = high;
    value_ = scale_.Clamp(value_);
    ShowValueName();
    Invalidate();
}

void CSlider::SetValue(int value) {
    value_ = scale_.Clamp(value);
    ShowValueName();
    Invalidate();
}

void CSlider::Track(int y) {
    UpdateTrack();
    MoveTo(scale_.ValueAt(y));
}

void CSlider::MoveTo(int value) {
    value_ = scale_.Clamp(value);
    ShowValueName();
    Invalidate();
    const unsigned id = unsigned(GetDlgCtrlID());
    SendToOwner(id, id, value_);
}

void CSlider::OnKeyDown(unsigned key, unsigned) {
    const int span = scale_.high - scale_.low;
    const int dir = span < 0 ? -1 : 1;  // towards high
    const int page = std::max(1, std::abs(span) / 10);
    int step = 0;
    switch (key) {
    case plat::VK_UP:
    case plat::VK_RIGHT: step = dir; break;
    case plat::VK_DOWN:
    case plat::VK_LEFT: step = -dir; break;
    case plat::VK_PRIOR: step = dir * page; break;
    case plat::VK_NEXT: step = -dir * page; break;
    default: return;
    }
    // At an end a key has nothing to move: the owner hears nothing.
    if (scale_.Clamp(value_ + step) != value_) MoveTo(value_ + step);
}

bool CSlider::AccessibleValue(int* value, int* low, int* high) const {
    *value = value_;
    *low = scale_.low;
    *high = scale_.high;
    return true;
}

void CSlider::OnLButtonDown(unsigned, plat::Point p) {
    dragging_ = true;
    SetCapture();
    Track(p.y);
}

void CSlider::OnMouseMove(unsigned flags, plat::Point p) {
    if (!dragging_ || !(flags & plat::MK_LBUTTON)) return;
    if (p.x < 0 || p.y < 0 || p.x >= Width() || p.y >= Height()) return;
    Track(p.y);
}

void CSlider::OnLButtonUp(unsigned, plat::Point) {
    dragging_ = false;
    Invalidate();
    ReleaseCapture();
}

void CSlider::OnPaint(plat::PaintContext& target) {
    UpdateTrack();
    const int w = Width(), h = Height();
    plat::BufferedPaint buf(target, w, h);
    plat::PaintContext& pc = buf.pc();
    const plat::Colour face = plat::GetSysColour(plat::COLOR_BTNFACE);
    const plat::Colour shadow = plat::GetSysColour(plat::COLOR_BTNSHADOW);
    const plat::Colour light = plat::GetSysColour(plat::COLOR_BTNHIGHLIGHT);
    const plat::Colour frame = plat::GetSysColour(plat::COLOR_WINDOWFRAME);
    pc.FillRect({0, 0, w, h}, face);
    pc.FrameRect({0, 0, w, h}, RGB(128, 128, 128));

    // The groove: a sunken slot down the middle, the level below the thumb in teal.
    const int thumbH = std::max(6, std::min(h / 6, w / 2));
    const int gw = std::max(4, w / 5);
    const int gx = (w - gw) / 2;
    const int gTop = thumbH / 2, gBottom = h - thumbH / 2;
    const int row = std::clamp(ThumbRow(), gTop, gBottom);
    pc.FillRect({gx, gTop, gx + gw, gBottom}, RGB(130, 130, 130));
    pc.FillRect({gx + 1, row, gx + gw - 1, gBottom - 1}, RGB(0, 150, 150));
    pc.Line(gx, gTop, gx + gw, gTop, shadow);
    pc.Line(gx, gTop, gx, gBottom, shadow);
    pc.Line(gx, gBottom - 1, gx + gw, gBottom - 1, light);
    pc.Line(gx + gw - 1, gTop, gx + gw - 1, gBottom, light);

    // The thumb: a raised bar across the slider, centred on the value's row.
    const int tTop = std::clamp(row - thumbH / 2, 1, std::max(1, h - thumbH - 1));
    const plat::Rect t{2, tTop, w - 2, tTop + thumbH};
    pc.FillRect(t, face);
    pc.Line(t.left, t.top, t.right, t.top, light);
    pc.Line(t.left, t.top, t.left, t.bottom, light);
    pc.Line(t.left, t.bottom - 1, t.right, t.bottom - 1, frame);
    pc.Line(t.right - 1, t.top, t.right - 1, t.bottom, frame);
    pc.Line(t.left + 1, t.bottom - 2, t.right - 1, t.bottom - 2, shadow);
    pc.Line(t.left + 2, t.top + thumbH / 2, t.right - 2, t.top + thumbH / 2, RGB(0, 150, 150));
    target.Blit(0, 0, buf);
}
