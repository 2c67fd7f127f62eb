#include "panel/controls/owner_drawn.h"

#include <algorithm>

#include "platform/layout_check.h"

bool COwnerDrawn::CreateChild(const std::string& caption, const plat::Rect& r, plat::Window* parent, int id,
                              bool visible) {
    return Create(caption, plat::WS_CHILD | (visible ? plat::WS_VISIBLE : 0u), r, parent, id);
}

plat::Window* COwnerDrawn::GetOwner() const {
    if (owner_ && plat::IsLiveWindow(owner_)) return owner_;
    return plat::IsLiveWindow(GetParent()) ? GetParent() : nullptr;
}

plat::LRESULT COwnerDrawn::SendToOwner(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam) {
    plat::Window* o = GetOwner();
    return o ? o->SendMessage(msg, wParam, lParam) : 0;
}

void COwnerDrawn::PostToOwner(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam) {
    if (plat::Window* o = GetOwner()) o->PostMessage(msg, wParam, lParam);
}

void DrawBevel(plat::PaintContext& pc, int w, int h) {
    using plat::RGB;
    pc.Line(0, 0, w, 0, RGB(128, 128, 128));
    pc.Line(0, 0, 0, h, RGB(128, 128, 128));
    pc.Line(1, 1, w - 1, 1, RGB(63, 63, 63));
    pc.Line(1, 1, 1, h - 1, RGB(63, 63, 63));
    pc.Line(0, h - 1, w, h - 1, RGB(192, 192, 192));
    pc.Line(w - 1, 0, w - 1, h, RGB(192, 192, 192));
}

void COwnerDrawn::DrawLabel(plat::PaintContext& pc, const std::string& text, const plat::Rect& box, unsigned format) {
    pc.DrawText(text, box, format);
    drawn_.push_back({text, box});
}

std::vector<COwnerDrawn::DrawnText> PlaceTickLabels(const std::vector<TickLabel>& labels, int width, int top,
                                                    const std::function<plat::Point(const std::string&)>& measure) {
    std::vector<COwnerDrawn::DrawnText> out;
    for (const TickLabel& l : labels) {
        const plat::Point ext = measure(l.text);
        const int left = l.at - ext.x / 2;
        if (left < 2 || left + ext.x > width - 2) continue;
        out.push_back({l.text, {left, top, left + ext.x, top + ext.y}});
    }
    return out;
}

plat::Point COwnerDrawn::LabelSize(plat::PaintContext& pc, const std::string& text) const {
    plat::Point p = pc.TextExtent(text);
    if (GetFont()) {
        const plat::Point m = plat::MeasureText(this, text);
        p = {std::max(p.x, m.x), std::max(p.y, m.y)};
    }
    return p;
}
