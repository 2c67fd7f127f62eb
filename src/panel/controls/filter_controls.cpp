#include "panel/controls/filter_controls.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/panel_options.h"
#include "civ/radio_models.h"
#include "panel/filter_table.h"
#include "platform/modal.h"

namespace {
using plat::RGB;
constexpr int kMaxDrawnWidth = 9000;
constexpr int kMinDrawnWidth = 2800;
constexpr int kNoTableWidth = 3600;

bool HasFilterTable() { return ModelCap(g_hasfilterwidth) != 0; }
}  // namespace

const char* FilterButtonCaption(int index, bool hasFilterTable, int oldradio, bool amTable, char (&buf)[16]) {
    if (hasFilterTable) {
        // An index outside the table has no name: a blank caption, never a read past it.
        const std::string name = FilterCaption(index, amTable);
        if (name.empty()) {
            buf[0] = '\0';
            return buf;
        }
        const double n = std::atof(name.c_str());
        std::snprintf(buf, sizeof buf, n < 20 ? "%1.2f" : "%3.0f", n);
        return buf;
    }
    static constexpr const char* kDialect[] = {"6.0", "2.4", "1.8", "500", "250", "250N", "500N", "1.8N", "2.4N"};
    if (oldradio != 0) {
        if (index >= 1 && index <= 5) return kDialect[index - 1];
        if (oldradio == 2 && index >= 6 && index <= 9) return kDialect[index - 1];
        return nullptr;
    }
    static constexpr const char* kPlain[] = {"FIL1", "FIL2", "FIL3"};
    if (index >= 1 && index <= 3) return kPlain[index - 1];
    return nullptr;
}

// ---- CFilterControl --------------------------------------------------------

CFilterControl::CFilterControl() {
    SetAccessibleRole(plat::AccessRole::Slider);
    SetClickFocus(false);
}

bool CFilterControl::Create(const plat::Rect& r, plat::Window* parent, int id) {
    const bool ok = CreateChild("", r, parent, id, true);
    SetCursor(plat::CursorShape::SizeWE);
    return ok;
}

int CFilterControl::OnCreate() {
    font_.Create(14, plat::FW_NORMAL, "Arial");
    low_ = -6000;
    high_ = 6000;
    ShowName();
    return 0;
}

void CFilterControl::ShowName() {
    char text[48];
    if (ShowsWidthText()) std::snprintf(text, sizeof text, "%d Hz, shift %d", widthText_, shift_);
    else std::snprintf(text, sizeof text, "shift %d", shift_);
    SetAccessibleName(text);
}

bool CFilterControl::ShowsWidthText() const { return HasFilterTable(); }

double CFilterControl::HzPerPixel() const {
    const int w = Width();
    return w > 0 ? double(high_ - low_) / w : 0.0;
}

int CFilterControl::XOf(double hz) const {
    const double f = HzPerPixel();
    return f > 0 ? int(std::lround((hz - low_) / f)) : 0;
}

void CFilterControl::SetWidth(int hz) {
    widthText_ = hz;
    if (!HasFilterTable()) hz = kNoTableWidth;
    width_ = std::min(hz, kMaxDrawnWidth);
    ShowName();
    Invalidate();
}

void CFilterControl::SetShift(int hz) {
    shift_ = hz;
    ShowName();
    Invalidate();
}

void CFilterControl::OnLButtonDown(unsigned, plat::Point p) {
    lastX_ = p.x;
    dragging_ = true;
    SetCapture();
}

void CFilterControl::OnLButtonUp(unsigned, plat::Point) {
    dragging_ = false;
    ReleaseCapture();
}

void CFilterControl::OnMouseMove(unsigned flags, plat::Point p) {
    if (!dragging_ || !(flags & plat::MK_LBUTTON)) return;
    shift_ = int(std::lround(std::clamp(p.x, 0, Width()) * HzPerPixel())) + low_;
    lastX_ = p.x;
    ShowName();
    Invalidate();
    PostToOwner(WM_SCALE_DRAGGED, plat::WPARAM(GetDlgCtrlID()), 0);
}

void CFilterControl::OnPaint(plat::PaintContext& target) {
    const int w = Width(), h = Height();
    plat::BufferedPaint buf(target, w, h);
    plat::PaintContext& pc = buf.pc();
    ForgetDrawnTexts();
    pc.FillRect({0, 0, w, h}, RGB(192, 192, 192));
    // Grid every 1000 Hz from the centre.
    for (int hz = 0; hz <= high_; hz += 1000) {
        const plat::Colour c = hz == 0 ? RGB(63, 63, 63) : RGB(128, 128, 128);
        pc.Line(XOf(hz), 0, XOf(hz), h, c);
        if (hz != 0) pc.Line(XOf(-hz), 0, XOf(-hz), h, c);
    }
    // The passband: a trapezoid around centre + shift.
    const int drawn = std::max(width_, kMinDrawnWidth);
    const double lo = shift_ - drawn / 2.0, hi = shift_ + drawn / 2.0;
    const int slope = std::max(3, (XOf(hi) - XOf(lo)) / 10);
    // The width number sits whole above the passband's flat top.
    pc.SetFont(GetFont() ? GetFont() : &font_);
    const int textHeight = ShowsWidthText() ? LabelSize(pc, "0").y : 0;
    const int top = std::min(h - 6, std::max(4, std::max(h / 4, textHeight))), bottom = h - 4;
    const plat::Point pts[4] = {{XOf(lo), bottom}, {XOf(lo) + slope, top}, {XOf(hi) - slope, top}, {XOf(hi), bottom}};
    pc.Polygon(pts, 4, RGB(92, 92, 0), RGB(128, 0, 0), 3);
    // The two edges as handles.
    const int hw = std::max(3, slope / 2), hy = (top + bottom) / 2;
    const plat::Rect edges[2] = {{XOf(lo) + slope / 2 - hw, hy - hw * 2, XOf(lo) + slope / 2 + hw, hy + hw * 2},
                                 {XOf(hi) - slope / 2 - hw, hy - hw * 2, XOf(hi) - slope / 2 + hw, hy + hw * 2}};
    for (const plat::Rect& e : edges) {
        pc.FillRect(e, RGB(192, 192, 192));
        pc.FrameRect(e, RGB(255, 0, 0));
    }
    if (ShowsWidthText()) {
        char text[24];
        std::snprintf(text, sizeof text, "%4.0d", widthText_);
        pc.SetBkMode(plat::TRANSPARENT);
        pc.SetTextColour(RGB(63, 63, 63));
        const plat::Point ext = LabelSize(pc, text);
        const int left = (w - ext.x) / 2;
        DrawLabel(pc, text, {left, 0, left + ext.x, ext.y}, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
    }
    target.Blit(0, 0, buf);
}

// ---- CFilterDlg ------------------------------------------------------------

int CFilterDlg::DoModal(plat::Window* parent) {
    const int preselect = m_index;
    Create("Filter Button Assignments", plat::WS_POPUP | plat::WS_CAPTION, {200, 200, 420, 520}, parent,
           IDD_FILTER_ASSIGN);
    list_.ResetContent();
    for (int i = 1; i <= g_filtercount; ++i) list_.AddString(FilterCaption(i, m_amTable));
    list_.SetCurSel(preselect - 1);
    label_.SetWindowText(m_text);
    const int code = plat::RunModal(this);
    if (code == plat::IDOK) m_index = list_.GetCurSel();
    DestroyWindow();
    return code;
}

int CFilterDlg::OnCreate() {
    label_.CreateControl(m_text, {10, 8, 210, 28}, this, IDC_FILTER_ASSIGN_TEXT);
    list_.CreateControl("", {10, 32, 210, 270}, this, IDC_FILTER_ASSIGN_LIST);
    ok_.CreateControl("OK", {10, 280, 100, 306}, this, plat::IDOK);
    cancel_.CreateControl("Cancel", {120, 280, 210, 306}, this, plat::IDCANCEL);
    return 0;
}

bool CFilterDlg::OnCommand(unsigned id, unsigned, plat::LPARAM) {
    if (id == unsigned(plat::IDOK) || id == unsigned(plat::IDCANCEL)) {
        plat::EndModal(this, int(id));
        return true;
    }
    return false;
}

void CFilterDlg::OnClose() { plat::EndModal(this, plat::IDCANCEL); }

// ---- CFilterButton ---------------------------------------------------------

void CFilterButton::SetFilter(int index) {
    index_ = index;
    char buf[16];
    if (const char* caption = FilterButtonCaption(index, HasFilterTable(), g_oldradio, am_, buf)) SetWindowText(caption);
}

void CFilterButton::OnRButtonDown(unsigned, plat::Point) {
    StopRepeat();
    if (!HasFilterTable()) return;
    EnableWindow(false);
    CFilterDlg dlg;
    dlg.m_text = "Assign Filter to Selected Button.";
    dlg.m_index = index_;
    dlg.m_amTable = am_;
    if (dlg.DoModal(GetParent()) == plat::IDOK && dlg.m_index >= 0) {
        SetFilter(dlg.m_index + 1);
        // The panel's buttons select what their table says, and the table is
        // what is saved: the assignment goes there too.
        const int n = GetDlgCtrlID() - 401;
        if (n >= 0 && n < 12) (am_ ? g_amfilterbuttons : g_filterbuttons)[n] = index_;
    }
    if (plat::IsLiveWindow(this)) EnableWindow(true);
}

// ---- CFilterPanel ----------------------------------------------------------

int CFilterPanel::OnCreate() {
    const plat::Rect r = GetClientRect();
    control_.Create({5, 5, 5 + std::max(10, r.width() - 8), 5 + 120}, this, IDC_FILTER_PANEL_CONTROL);
    return 0;
}

void CFilterPanel::OnPaint(plat::PaintContext& pc) { pc.FillRect(GetClientRect(), RGB(128, 128, 128)); }
