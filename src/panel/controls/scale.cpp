#include "panel/controls/scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/band_files.h"
#include "base/band_plan.h"

namespace {
using plat::RGB;
constexpr plat::Colour kPhonePen = RGB(0, 128, 0);
constexpr plat::Colour kCwPen = RGB(0, 0, 192);
constexpr plat::Colour kPlainPen = RGB(128, 0, 0);
constexpr plat::Colour kTickPen = RGB(192, 192, 192);
constexpr plat::Colour kBandName = RGB(0, 192, 192);

// The privilege pen for `mhz` under the operator's class.
plat::Colour PrivilegePen(double mhz) {
    const BandPlanClass& rows = g_bandplan[std::size_t(LicenseClassIndex(g_licenseclass))];
    for (const BandPlanRow& r : rows) {
        if (r.low == 0) break;
        if (mhz >= r.low && mhz <= r.high) return r.phone ? kPhonePen : kCwPen;
    }
    return kPlainPen;
}

bool InListedBand(double mhz) {
    for (const CBandObj& b : g_bandlist)
        if (mhz >= b.low && mhz <= b.high) return true;
    return false;
}

}  // namespace

long long ScaleGeometry::ColumnUnits(int x) const {
    return std::llround(centre * 1000.0 * zoom) - (width - 2) / 2 + x;
}

double ScaleGeometry::KhzAt(int x) const {
    if (zoom <= 0) return 0;
    return std::max(0.0, (centre * 1000.0 * zoom + x - (width - 2) / 2) / zoom);
}

double ScaleGeometry::Dragged(int lastX, int x) const {
    if (zoom <= 0) return centre;
    return (lastX - x + centre * 1000.0 * zoom) / (zoom * 1000.0);
}

std::string ScaleLabel(long long units, int zoom) {
    const char* fmt = zoom == 1 ? "%2.1f" : zoom == 10 ? "%2.2f" : zoom == 100 ? "%2.3f" : nullptr;
    if (!fmt) return "";
    char text[48];
    std::snprintf(text, sizeof text, fmt, double(units) / zoom / 1000.0);
    return text;
}

CScale::CScale() {
    SetAccessibleRole(plat::AccessRole::Slider);
    SetClickFocus(false);
}

bool CScale::Create(const plat::Rect& r, plat::Window* parent, int id, double mhz) {
    centre_ = mhz;
    zoom_ = 1;
    const bool ok = CreateChild("", r, parent, id, true);
    SetCursor(plat::CursorShape::SizeWE);
    ShowName();
    return ok;
}

void CScale::ShowName() {
    char text[48];
    std::snprintf(text, sizeof text, "%.6f", centre_);
    SetAccessibleName(text);
}

void CScale::SetCentre(double mhz) {
    centre_ = mhz;
    ShowName();
    Invalidate();
}

void CScale::SetZoom(int z) {
    zoom_ = z > 0 ? z : 1;
    Invalidate();
}

void CScale::OnLButtonDown(unsigned, plat::Point p) {
    lastX_ = p.x;
    dragging_ = true;
    SetCapture();
}

void CScale::OnLButtonUp(unsigned, plat::Point) {
    dragging_ = false;
    ReleaseCapture();
}

void CScale::OnMouseMove(unsigned flags, plat::Point p) {
    if (!dragging_ || !(flags & plat::MK_LBUTTON)) return;
    centre_ = Geometry().Dragged(lastX_, p.x);
    lastX_ = p.x;
    ShowName();
    Invalidate();
    PostToOwner(WM_SCALE_DRAGGED, plat::WPARAM(GetDlgCtrlID()), 0);
}

void CScale::OnLButtonDblClk(unsigned, plat::Point p) {
    picked_ = Geometry().KhzAt(p.x);
    SendToOwner(WM_SCALE_PICKED, plat::WPARAM(GetDlgCtrlID()), 0);
}

void CScale::OnPaint(plat::PaintContext& target) {
    const int w = Width(), h = Height();
    plat::BufferedPaint buf(target, w, h);
    plat::PaintContext& pc = buf.pc();
    ForgetDrawnTexts();
    pc.FillRect({0, 0, w, h}, RGB(0, 0, 0));
    pc.SetFont(GetFont());
    pc.SetBkMode(plat::TRANSPARENT);
    const ScaleGeometry g = Geometry();
    const int bottom = h - 2;
    const double unitsPerMhz = 1000.0 * std::max(1, zoom_);
    std::vector<TickLabel> labels;
    for (int x = 2; x < w - 2; ++x) {
        const long long u = g.ColumnUnits(x);
        if (FloorMod(u, 2) != 0) continue;
        const double mhz = double(u) / unitsPerMhz;
        int len = h / 8;
        plat::Colour pen = kTickPen;
        if (FloorMod(u, 100) == 0) len = h / 2;
        else if (FloorMod(u, 50) == 0) len = h / 3;
        else if (FloorMod(u, 10) == 0) len = h / 4;
        else if (InListedBand(mhz)) pen = PrivilegePen(mhz);
        pc.Line(x, bottom, x, bottom - len, pen);
        if (FloorMod(u, 100) == 0) labels.push_back({ScaleLabel(u, zoom_), x});
    }
    auto measure = [this, &pc](const std::string& t) { return LabelSize(pc, t); };
    pc.SetTextColour(kTickPen);
    for (const DrawnText& l : PlaceTickLabels(labels, w, 2, measure))
        DrawLabel(pc, l.text, l.box, plat::DT_LEFT | plat::DT_SINGLELINE);
    // Band names over the bands that show; a band seen in part keeps its
    // whole name on the scale.
    const double leftMhz = double(g.ColumnUnits(0)) / unitsPerMhz, rightMhz = double(g.ColumnUnits(w)) / unitsPerMhz;
    for (const CBandObj& b : g_bandlist) {
        if (b.high < leftMhz || b.low > rightMhz) continue;
        const double mid = (b.low + b.high) / 2;
        const plat::Point ext = LabelSize(pc, b.name);
        if (ext.x > w - 4) continue;
        int x = int(std::lround((mid - leftMhz) * unitsPerMhz)) - ext.x / 2;
        x = std::clamp(x, 2, w - 2 - ext.x);
        const int y = std::min(2 + ext.y, std::max(2, h / 2 - ext.y));
        pc.SetTextColour(kBandName);
        DrawLabel(pc, b.name, {x, y, x + ext.x, y + ext.y}, plat::DT_LEFT | plat::DT_SINGLELINE);
    }
    DrawBevel(pc, w, h);
    // The centre: where a double click picks the centre frequency.
    const int cx = (w - 2) / 2;
    pc.Line(cx, h / 2, cx, h, RGB(255, 0, 0));
    target.Blit(0, 0, buf);
}
