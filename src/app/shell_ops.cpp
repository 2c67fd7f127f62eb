#include "base/shell_ops.h"

#include <cctype>
#include <cstring>
#include <memory>

#include "app/app_options.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "base/trace_log.h"
#include "civ/civ_timers.h"
#include "panel/radio_window.h"
#include "platform/paint.h"
#include "platform/window.h"

plat::Window* g_lasttoggled = nullptr;

namespace {
// The pop-up: a bordered static text on the main frame.
class PopupText : public plat::Window {
public:
    void OnPaint(plat::PaintContext& pc) override {
        plat::Rect r{0, 0, GetWindowRect().width(), GetWindowRect().height()};
        pc.FillRect(r, plat::RGB(255, 255, 255));
        pc.FrameRect(r, plat::RGB(0, 0, 0));
        pc.SetTextColour(plat::RGB(0, 0, 0));
        pc.DrawText(GetWindowText(), {r.left + 4, r.top, r.right, r.bottom}, plat::DT_LEFT | plat::DT_VCENTER);
    }
};
std::unique_ptr<PopupText> g_popup;
}  // namespace

void FocusMainWindow() {
    if (g_mainwin) g_mainwin->SetFocus();
}

void MyWindowFocus() {
    WriteTrace("MyWindowFocus");
    if (g_mainwin == nullptr) return;
    if (plat::IsForegroundWindow(g_mainwin)) {
        WriteTrace("Already foreground");
        return;
    }
    WriteTrace("focus 2");
    plat::SetForegroundWindow(g_mainwin);
}

void ShowPopupText(const std::string& text) {
    RemovePopupText();
    if (g_mainwin == nullptr) return;
    g_popup = std::make_unique<PopupText>();
    g_popup->Create(text, plat::WS_CHILD | plat::WS_VISIBLE | plat::WS_BORDER, {50, 50, 300, 75}, g_mainwin, 0);
    g_popup->BringWindowToTop();
    g_mainwin->SetTimer(TIMER_POPUP_TEXT, 2000);
}

void RemovePopupText() {
    g_popup.reset();
    if (g_mainwin) g_mainwin->KillTimer(TIMER_POPUP_TEXT);
}

bool PopupTextShown() { return g_popup != nullptr; }

const std::string& PopupTextValue() {
    static const std::string none;
    return g_popup ? g_popup->GetWindowText() : none;
}

namespace {
std::string g_statustext;
}  // namespace

void SetStatusBarText(const std::string& text) {
    g_statustext = text;
    if (g_mainwin) g_mainwin->ShowStatusText(text);
}

const std::string& StatusBarText() { return g_statustext; }

void ShowRadioWindow(bool show) {
    if (g_mainwin == nullptr) return;
    if (!g_radiowindow) return;
    const bool was = g_radiowindow->IsWindowVisible();
    g_radiowindow->ShowWindow(show ? plat::SW_SHOW : plat::SW_HIDE);
    if (show && !was) PlaceShownPanel(g_radiowindow);
}

void ToggleWindow(ToggleRule rule, plat::Window* w, int* flag, bool lastActivePopup) {
    if (w == nullptr) return;
    switch (rule) {
    case ToggleRule::A:
    case ToggleRule::B:
        FocusMainWindow();
        if (w->IsWindowVisible() && (w == g_lasttoggled || (rule == ToggleRule::B && lastActivePopup))) {
            w->ShowWindow(plat::SW_HIDE);
            return;
        }
        if (!w->IsWindowVisible()) {
            w->ShowWindow(plat::SW_SHOW);
            PlaceShownPanel(w);
        }
        w->BringWindowToTop();
        g_lasttoggled = w;
        return;
    case ToggleRule::C:
        if (flag && *flag) {
            w->ShowWindow(plat::SW_HIDE);
            *flag = 0;
            return;
        }
        w->ShowWindow(plat::SW_SHOW);
        PlaceShownPanel(w);
        w->BringWindowToTop();
        g_lasttoggled = w;
        if (flag) *flag = 1;
        return;
    case ToggleRule::D: w->ShowWindow(w->IsWindowVisible() ? plat::SW_HIDE : plat::SW_SHOW); return;
    }
}

std::size_t UpperCaseString(char* text) {
    std::size_t n = 0;
    for (; text[n]; ++n) text[n] = char(std::toupper(static_cast<unsigned char>(text[n])));
    return n;
}

void CopyReplacingCommas(const std::string& in, char* out, std::size_t size) {
    if (size == 0) return;
    std::size_t n = std::min(in.size(), size - 1);
    for (std::size_t i = 0; i < n; ++i) out[i] = in[i] == ',' ? ' ' : in[i];
    out[n] = '\0';
}
