#include "panel/controls/bistate_button.h"

#include <array>
#include <cstring>

#include "base/colour_names.h"
#include "base/panel_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_models.h"
#include "platform/keys.h"

namespace {
using plat::RGB;

enum class Guard : unsigned char {
    None,
    NotSubOn7800,         // unless the sub receiver is active on the IC-7800 (type 5)
    NotSubOn7800Not756,   // the same, and not the IC-756 (type 6)
    Is706,                // type 4
    Is7800Or7700,         // types 5 and 16
    SubOn7800,            // sub receiver active on type 5: the first row that matches counts
};

struct RightRule {
    const char* caption;  // exact caption, or null to match the id range
    int idLo, idHi;
    Guard guard;
    unsigned command;
    bool repeat;
    bool step;            // a step button: sets the VFO B step first
};

// The second commands of a right press, in the order they are tried.
constexpr std::array<RightRule, 38> kRightRules{{
    {"Cap", 0, 0, Guard::None, 568, false, false},
    {"Ind", 0, 0, Guard::None, 570, false, false},
    {"CW", 0, 0, Guard::NotSubOn7800Not756, 174, false, false},
    {nullptr, 109, 109, Guard::NotSubOn7800, 175, false, false},
    {nullptr, 106, 106, Guard::NotSubOn7800Not756, 5035, false, false},
    {"DUAL", 0, 0, Guard::None, 177, false, false},
    {nullptr, 560, 560, Guard::None, 1230, false, false},
    {"SPLIT", 0, 0, Guard::None, 178, false, false},
    {nullptr, 40032, 40032, Guard::None, 5043, false, false},
    {nullptr, 1514, 1514, Guard::None, 1515, false, false},
    {nullptr, 2406, 2406, Guard::None, 2412, true, false},
    {nullptr, 2407, 2407, Guard::None, 2413, true, false},
    {nullptr, 2408, 2408, Guard::None, 2414, false, false},
    {nullptr, 2418, 2418, Guard::None, 2419, false, false},
    {nullptr, 2490, 2490, Guard::None, 2491, false, false},
    {nullptr, 2409, 2409, Guard::None, 2415, false, false},
    {nullptr, 2410, 2410, Guard::None, 2416, true, false},
    {nullptr, 2411, 2411, Guard::None, 2417, true, false},
    {nullptr, 701, 706, Guard::None, 5056, true, true},
    {nullptr, 105, 105, Guard::Is706, 5033, false, false},
    {nullptr, 2493, 2493, Guard::Is7800Or7700, 2520, false, false},
    {nullptr, 2494, 2494, Guard::Is7800Or7700, 2521, false, false},
    {"LSB", 0, 0, Guard::SubOn7800, 5031, false, false},
    {"USB", 0, 0, Guard::SubOn7800, 5032, false, false},
    {"AM", 0, 0, Guard::SubOn7800, 5030, false, false},
    {"FM", 0, 0, Guard::SubOn7800, 5033, false, false},
    {nullptr, 106, 106, Guard::SubOn7800, 5048, false, false},
    {nullptr, 109, 109, Guard::SubOn7800, 5049, false, false},
    {nullptr, 173, 173, Guard::SubOn7800, 6105, false, false},
    {nullptr, 126, 126, Guard::SubOn7800, 6104, false, false},
    {nullptr, 2489, 2489, Guard::SubOn7800, 2509, false, false},
    {nullptr, 2495, 2495, Guard::SubOn7800, 2507, false, false},
    {nullptr, 2512, 2512, Guard::SubOn7800, 2513, false, false},
    {nullptr, 2515, 2515, Guard::SubOn7800, 2516, false, false},
    {"CW", 0, 0, Guard::SubOn7800, 5036, false, false},
    {"Fast", 0, 0, Guard::SubOn7800, 5037, false, false},
    {"Med", 0, 0, Guard::SubOn7800, 5038, false, false},
    {"Slow", 0, 0, Guard::SubOn7800, 5039, false, false},
}};

// The VFO B step each step button stands for on a right press.
constexpr std::array<int, 6> kStepButtonHz{1, 10, 100, 1000, 5000, 10000};

bool GuardHolds(Guard g, int type, bool sub) {
    const bool subOn7800 = sub && type == 5;
    switch (g) {
    case Guard::None: return true;
    case Guard::NotSubOn7800: return !subOn7800;
    case Guard::NotSubOn7800Not756: return !subOn7800 && type != 6;
    case Guard::Is706: return type == 4;
    case Guard::Is7800Or7700: return type == 5 || type == 16;
    case Guard::SubOn7800: return subOn7800;
    }
    return false;
}

// The centre group (modes, VFO, split, RIT, XIT, PBT, A=B, A/B, dual) and
// the side group (filters, steps, AGC) of the radio panel.
bool InCentreGroup(int id) {
    if ((id >= 100 && id <= 103) || (id >= 105 && id <= 107) || (id >= 122 && id <= 124)) return true;
    for (int c : {109, 164, 165, 169, 225, 229, 439, 6126})
        if (id == c) return true;
    return false;
}
bool InSideGroup(int id) {
    return (id >= 401 && id <= 412) || id == 419 || id == 420 || id == 422 || (id >= 701 && id <= 706) || id == 2489 ||
           id == 2522 || (id >= 40034 && id <= 40039);
}

// A colour whose name starts with 'W' (white) means "no tint".
ButtonLook TintOf(plat::Colour c) {
    const char* name = ColorToName(c);
    if (name && name[0] == 'W') return {};
    return {true, c};
}
}  // namespace

std::vector<SecondCommand> RightClickCommands(int id, const std::string& caption, int radiotype, bool subActive,
                                              double* stepHz) {
    std::vector<SecondCommand> out;
    bool groupDone = false;
    for (const RightRule& r : kRightRules) {
        if (!GuardHolds(r.guard, radiotype, subActive)) continue;
        if (r.guard == Guard::SubOn7800 && groupDone) continue;
        const bool match = r.caption ? caption == r.caption : (id >= r.idLo && id <= r.idHi);
        if (!match) continue;
        if (r.step && stepHz) *stepHz = kStepButtonHz[std::size_t(id - r.idLo)];
        out.push_back({r.command, r.repeat});
        if (r.guard == Guard::SubOn7800) groupDone = true;
    }
    return out;
}

ButtonLook BiStateLook(int id) {
    if (InCentreGroup(id)) return TintOf(g_centerbackcolor);
    if (InSideGroup(id)) return TintOf(g_leftrightbackcolor);
    return {};
}

plat::Rect DrawButtonFrame(plat::PaintContext& pc, plat::Rect r, bool pushed, const ButtonLook& look) {
    const plat::Colour face = plat::GetSysColour(plat::COLOR_BTNFACE);
    const plat::Colour shadow = plat::GetSysColour(plat::COLOR_BTNSHADOW);
    const plat::Colour highlight = plat::GetSysColour(plat::COLOR_BTNHIGHLIGHT);
    pc.FillRect(r, face);
    // Black outline just inside, corners left open.
    pc.Line(r.left + 1, r.top, r.right - 1, r.top, RGB(0, 0, 0));
    pc.Line(r.right - 1, r.top + 1, r.right - 1, r.bottom - 1, RGB(0, 0, 0));
    pc.Line(r.left + 1, r.bottom - 1, r.right - 1, r.bottom - 1, RGB(0, 0, 0));
    pc.Line(r.left, r.top + 1, r.left, r.bottom - 1, RGB(0, 0, 0));
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    if (!pushed) {
        pc.Rectangle({r.left, r.top, r.right, r.bottom}, highlight, 2, look.tinted ? look.tint : face);
        pc.Line(r.left + 1, r.bottom - 1, r.right, r.bottom - 1, shadow);
        pc.Line(r.right - 1, r.top + 1, r.right - 1, r.bottom, shadow);
        pc.Line(r.left + 2, r.bottom - 2, r.right - 1, r.bottom - 2, shadow);
        pc.Line(r.right - 2, r.top + 2, r.right - 2, r.bottom - 1, shadow);
    } else {
        pc.Line(r.left, r.bottom - 1, r.left, r.top, shadow);
        pc.Line(r.left, r.top, r.right, r.top, shadow);
    }
    return r;
}

// ---- CBiStateButton --------------------------------------------------------

CBiStateButton::CBiStateButton() : onColour_(g_buttonselectedtextcolor), offColour_(g_buttontextcolor) {
    SetAccessibleRole(plat::AccessRole::PushButton);
    SetClickFocus(false);
}

int CBiStateButton::OnCreate() { return 0; }

void CBiStateButton::SetOnColor(plat::Colour c) {
    onColour_ = c;
    Invalidate();
}
void CBiStateButton::SetOffColor(plat::Colour c) {
    offColour_ = c;
    Invalidate();
}
void CBiStateButton::SetState(int state) {
    state_ = state;
    Invalidate();
}

void CBiStateButton::Press() {
    tracking_ = true;
    pushed_ = true;
    // Held buttons must hear their release wherever it happens.
    SetCapture();
    Invalidate();
}

bool CBiStateButton::Release(plat::Point p) {
    const bool click = tracking_ && pushed_ && p.x >= 0 && p.y >= 0 && p.x < Width() && p.y < Height();
    tracking_ = false;
    pushed_ = false;
    ReleaseCapture();
    Invalidate();
    return click;
}

void CBiStateButton::StartRepeat(unsigned command) {
    m_repeatId = int(command);
    SetTimer(TIMER_REPEAT_DELAY, kRepeatDelayMs);
}

void CBiStateButton::StopRepeat() {
    m_repeatId = 0;
    KillTimer(TIMER_REPEAT_DELAY);
    KillTimer(TIMER_REPEAT_PERIOD);
}

void CBiStateButton::OnLButtonDown(unsigned, plat::Point) {
    StopRepeat();
    const int id = GetDlgCtrlID();
    Press();
    // The tuning tools step while held (left down, right up).
    if (id == 2406 || id == 2407 || id == 2410 || id == 2411) StartRepeat(unsigned(id));
}

void CBiStateButton::OnRButtonDown(unsigned, plat::Point) {
    StopRepeat();
    double step = g_stepb;
    const auto commands = RightClickCommands(GetDlgCtrlID(), GetWindowText(), g_radiotype, g_dual != 0, &step);
    g_stepb = step;
    // The capture first, so a release anywhere ends a repeat the command starts.
    SetCapture();
    for (const SecondCommand& c : commands) {
        if (!plat::IsLiveWindow(this)) return;
        if (c.repeat) StartRepeat(c.command);
        SendCommand(c.command);
    }
}

void CBiStateButton::OnLButtonUp(unsigned, plat::Point p) {
    StopRepeat();
    if (Release(p)) SendCommand(unsigned(GetDlgCtrlID()));
}

void CBiStateButton::OnRButtonUp(unsigned, plat::Point) {
    StopRepeat();
    if (!tracking_) ReleaseCapture();
}

void CBiStateButton::OnMouseMove(unsigned flags, plat::Point p) {
    if (!tracking_ || !(flags & plat::MK_LBUTTON)) return;
    const bool inside = p.x >= 0 && p.y >= 0 && p.x < Width() && p.y < Height();
    if (inside != pushed_) {
        pushed_ = inside;
        Invalidate();
    }
}

void CBiStateButton::OnTimer(unsigned id) {
    if (id == TIMER_REPEAT_DELAY) {
        KillTimer(TIMER_REPEAT_DELAY);
        SetTimer(TIMER_REPEAT_PERIOD, kRepeatPeriodMs);
    }
    if ((id == TIMER_REPEAT_DELAY || id == TIMER_REPEAT_PERIOD) && m_repeatId != 0) SendCommand(unsigned(m_repeatId));
}

// Whatever takes the mouse or the focus away, or hides the button, ends a
// repeat: it must never outlive the press.
void CBiStateButton::OnCaptureChanged() {
    StopRepeat();
    if (tracking_ || pushed_) {
        tracking_ = false;
        pushed_ = false;
        Invalidate();
    }
}
void CBiStateButton::OnKillFocus(plat::Window*) { StopRepeat(); }
void CBiStateButton::OnShowWindow(bool shown) {
    if (!shown) {
        StopRepeat();
        if (HasCapture()) ReleaseCapture();
    }
}

// Space works the button like a click, as on any push button.
void CBiStateButton::OnKeyDown(unsigned key, unsigned flags) {
    if (key == plat::VK_SPACE && !(flags & plat::KF_REPEAT) && !pushed_) {
        pushed_ = true;
        Invalidate();
    }
}
// A held key's repeats come as release and press pairs: only the real
// release ends the press.
void CBiStateButton::OnKeyUp(unsigned key, unsigned flags) {
    if (key == plat::VK_SPACE && !(flags & plat::KF_REPEAT) && pushed_ && !tracking_) {
        pushed_ = false;
        Invalidate();
        SendCommand(unsigned(GetDlgCtrlID()));
    }
}

bool CBiStateButton::OnAccessiblePress() {
    StopRepeat();
    SendCommand(unsigned(GetDlgCtrlID()));
    return true;
}

void CBiStateButton::OnPaint(plat::PaintContext& pc) {
    plat::Rect r = DrawButtonFrame(pc, GetClientRect(), pushed_, Look());
    pc.SetFont(GetFont());
    const plat::Point m = pc.TextExtent("M");
    const plat::Point t = pc.TextExtent(GetWindowText());
    plat::Rect tr{r.left + (r.width() - t.x) / 2, r.top + (r.height() - m.y) / 2, 0, 0};
    tr.right = tr.left + t.x;
    tr.bottom = tr.top + m.y;
    if (pushed_) tr = {tr.left + 1, tr.top + 1, tr.right + 1, tr.bottom + 1};
    pc.SetBkMode(plat::TRANSPARENT);
    if (state_ == 1) pc.SetTextColour(onColour_);
    else if (state_ == 0) pc.SetTextColour(offColour_);
    pc.DrawText(GetWindowText(), tr, plat::DT_CENTER | plat::DT_SINGLELINE);
}

// ---- CPHButton -------------------------------------------------------------

CPHButton::CPHButton() {
    onColour_ = RGB(0, 0, 255);
    offColour_ = RGB(0, 0, 0);
}

ButtonLook CPHButton::Look() const {
    if (GetDlgCtrlID() == 108) return {true, g_leftrightbackcolor};
    return {};
}

void CPHButton::OnLButtonDown(unsigned, plat::Point) {
    SendCommand(IDC_HOLD_PRESS);
    if (plat::IsLiveWindow(this)) Press();
}

void CPHButton::OnLButtonUp(unsigned, plat::Point p) {
    const bool click = Release(p);
    if (click) SendCommand(unsigned(GetDlgCtrlID()));
    SendCommand(IDC_HOLD_RELEASE);
}

// The hold lasts as long as Space is held; a screen reader's press is a
// hold of no length.
void CPHButton::OnKeyDown(unsigned key, unsigned flags) {
    if (key != plat::VK_SPACE || (flags & plat::KF_REPEAT) || pushed_) return;
    SendCommand(IDC_HOLD_PRESS);
    if (!plat::IsLiveWindow(this)) return;
    pushed_ = true;
    Invalidate();
}
void CPHButton::OnKeyUp(unsigned key, unsigned flags) {
    if (key != plat::VK_SPACE || (flags & plat::KF_REPEAT) || !pushed_ || tracking_) return;
    pushed_ = false;
    Invalidate();
    SendCommand(unsigned(GetDlgCtrlID()));
    if (plat::IsLiveWindow(this)) SendCommand(IDC_HOLD_RELEASE);
}
bool CPHButton::OnAccessiblePress() {
    SendCommand(IDC_HOLD_PRESS);
    if (plat::IsLiveWindow(this)) SendCommand(unsigned(GetDlgCtrlID()));
    if (plat::IsLiveWindow(this)) SendCommand(IDC_HOLD_RELEASE);
    return true;
}

// ---- CMenuBtn --------------------------------------------------------------

CMenuBtn::CMenuBtn() { SetAccessibleRole(plat::AccessRole::ButtonMenu); }

void CMenuBtn::OnLButtonDown(unsigned, plat::Point) { OpenMenu(); }

// Its click opens the menu, and so do Space and a screen reader's press.
void CMenuBtn::OnKeyUp(unsigned key, unsigned flags) {
    if (key != plat::VK_SPACE || (flags & plat::KF_REPEAT) || !pushed_ || tracking_) return;
    OpenMenu();
}
bool CMenuBtn::OnAccessiblePress() {
    OpenMenu();
    return true;
}

void CMenuBtn::OpenMenu() {
    Press();
    const std::vector<plat::MenuItem>& items =
        !menu_.empty() && !menu_.front().items.empty() ? menu_.front().items : menu_;
    const plat::Point at = ClientToScreen({0, Height() - 1});
    if (!items.empty()) plat::TrackPopupMenu(GetParent(), items, at.x, at.y);
    // The menu took the mouse; the button pops back out.
    if (plat::IsLiveWindow(this)) Release({-1, -1});
}

void CMenuBtn::OnPaint(plat::PaintContext& pc) {
    plat::Rect r = DrawButtonFrame(pc, GetClientRect(), pushed_, Look());
    pc.SetFont(GetFont());
    const plat::Point m = pc.TextExtent("M");
    const plat::Point t = pc.TextExtent(GetWindowText());
    const int arrowW = 11, arrowGap = 3;
    plat::Rect tr{r.left + (r.width() - t.x - arrowW - arrowGap) / 2, r.top + (r.height() - m.y) / 2, 0, 0};
    tr.right = tr.left + t.x;
    tr.bottom = tr.top + m.y;
    if (pushed_) tr = {tr.left + 1, tr.top + 1, tr.right + 1, tr.bottom + 1};
    pc.SetBkMode(plat::TRANSPARENT);
    pc.SetTextColour(state_ == 1 ? onColour_ : offColour_);
    pc.DrawText(GetWindowText(), tr, plat::DT_LEFT | plat::DT_SINGLELINE);
    const int ax = tr.right + arrowGap, ay = tr.top + 3 + (m.y - 8) / 2;
    const plat::Point tri[3] = {{ax, ay}, {ax + arrowW, ay}, {ax + arrowW / 2, ay + 5}};
    pc.Polygon(tri, 3, g_buttontextcolor, g_buttontextcolor, 0);
    if (plat::FocusedWindow() == this) {
        plat::Rect f{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
        pc.FrameRect(f, plat::GetSysColour(plat::COLOR_BTNSHADOW));
        pc.FrameRect({f.left + 1, f.top + 1, f.right - 1, f.bottom - 1}, plat::GetSysColour(plat::COLOR_BTNSHADOW));
    }
}
