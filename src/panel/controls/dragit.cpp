#include "panel/controls/dragit.h"

#include <cmath>
#include <cstdio>

namespace {
using plat::RGB;
}  // namespace

CDragit::CDragit() {
    SetAccessibleRole(plat::AccessRole::Slider);
    SetClickFocus(false);
}

bool CDragit::Create(const plat::Rect& r, plat::Window* parent, int id, int flag) {
    flag_ = flag;
    zoom_ = 1;
    const bool ok = CreateChild("", r, parent, id, true);
    SetCursor(plat::CursorShape::SizeWE);
    ShowName();
    return ok;
}

int CDragit::OnCreate() {
    font_.Create(14, plat::FW_NORMAL, "Arial");
    return 0;
}

double CDragit::Factor() const {
    const int w = Width();
    return w > 0 ? double(high_ - low_) / w : 0.0;
}

void CDragit::ShowName() {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", value_);
    SetAccessibleName(text);
}

void CDragit::SetValue(double v) {
    value_ = v;
    ShowName();
    Invalidate();
}

void CDragit::SetRange(int low, int high) {
    low_ = low;
    high_ = high;
    Invalidate();
}

void CDragit::SetZoom(int zoom) {
    zoom_ = zoom > 0 ? zoom : 1;
    Invalidate();
}

void CDragit::OnLButtonDown(unsigned, plat::Point p) {
    if (!Inside(p)) return;
    picked_ = p.x * Factor() + low_;
    lastX_ = p.x;
    dragging_ = true;
    SetCapture();
    SendToOwner(WM_SCALE_PICKED, plat::WPARAM(GetDlgCtrlID()), 0);
}

void CDragit::OnLButtonUp(unsigned, plat::Point) {
    dragging_ = false;
    ReleaseCapture();
}

void CDragit::OnMouseMove(unsigned flags, plat::Point p) {
    if (!dragging_ || !(flags & plat::MK_LBUTTON)) return;
    if (Inside(p)) {
        value_ = p.x * Factor() + low_;
        picked_ = value_;
    } else {
        // Past the edge the scale keeps scrolling.
        value_ += double(lastX_ - p.x) * zoom_;
    }
    lastX_ = p.x;
    ShowName();
    Invalidate();
    PostToOwner(WM_SCALE_DRAGGED, plat::WPARAM(GetDlgCtrlID()), 0);
}

void CDragit::OnLButtonDblClk(unsigned, plat::Point p) {
    picked_ = std::trunc(value_ - zoom_ * double(Width() - 2) / 2 + double(p.x) * zoom_);
    SendToOwner(WM_SCALE_PICKED, plat::WPARAM(GetDlgCtrlID()), 0);
}

void CDragit::OnRButtonDown(unsigned, plat::Point) {
    value_ = 0;
    picked_ = 0;
    ShowName();
    Invalidate();
    SendToOwner(WM_SCALE_PICKED, plat::WPARAM(GetDlgCtrlID()), 0);
}

void CDragit::OnPaint(plat::PaintContext& target) {
    const int w = Width(), h = Height();
    plat::BufferedPaint buf(target, w, h);
    plat::PaintContext& pc = buf.pc();
    ForgetDrawnTexts();
    pc.FillRect({0, 0, w, h}, RGB(0, 0, 0));
    pc.SetFont(GetFont() ? GetFont() : &font_);
    pc.SetBkMode(plat::TRANSPARENT);
    pc.SetTextColour(RGB(190, 190, 190));
    const int cx = (w - 2) / 2;
    const long long z = std::max(1, zoom_);
    // Column x shows value + (x - centre) * zoom.
    const long long base = std::llround(value_) - z * cx;
    std::vector<TickLabel> labels;
    for (int x = 2; x < w - 2; ++x) {
        const long long u = base + z * x;
        if (FloorMod(u, 2 * z) != 0) continue;
        int len = h / 16;
        if (FloorMod(u, 50 * z) == 0) len = h / 4;
        else if (FloorMod(u, 10 * z) == 0) len = h / 8;
        pc.Line(x, h - 2, x, h - 2 - std::max(1, len), RGB(190, 190, 190));
        if (FloorMod(u, 50 * z) == 0) {
            char text[32];
            std::snprintf(text, sizeof text, "%2.0f", double(u));
            labels.push_back({text, x});
        }
    }
    auto measure = [this, &pc](const std::string& t) { return LabelSize(pc, t); };
    for (const DrawnText& l : PlaceTickLabels(labels, w, 2, measure))
        DrawLabel(pc, l.text, l.box, plat::DT_LEFT | plat::DT_SINGLELINE);
    DrawBevel(pc, w, h);
    pc.Line(cx, h / 2, cx, h, RGB(255, 0, 0));
    target.Blit(0, 0, buf);
}
