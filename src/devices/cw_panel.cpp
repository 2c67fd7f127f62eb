#include "devices/cw_panel.h"

#include <cstdio>
#include <cstring>

#include "base/device_options.h"
#include "base/memory_options.h"
#include "base/panel_options.h"
#include "devices/cw_keyboard.h"
#include "platform/files.h"
#include "platform/paint.h"
#include "platform/profile.h"

CCWPanel* g_cwpanel = nullptr;

namespace {
// Design units; the window scales them by "SCALEX" and "SCALEY".
constexpr int kWidth = 520, kHeight = 250;
constexpr int kDisplayTop = 28, kDisplayBottom = 76;
constexpr int kMemoryTop = 82, kMemoryRow = 26;
constexpr int kFontHeight = 12;
constexpr plat::Colour kFace = plat::RGB(212, 208, 200);
// The main frame's child id of this window, and the command that tells the
// main frame a setting changed (the settings window sends it too).
constexpr int kCwKeyboardId = 2502;
constexpr unsigned kSettingsChanged = 2367;

double ScaleX() { return g_scalex > 0.2 ? g_scalex : 1.0; }
double ScaleY() { return g_scaley > 0.2 ? g_scaley : 1.0; }

plat::Rect Scaled(int l, int t, int r, int b) {
    return {int(l * ScaleX()), int(t * ScaleY()), int(r * ScaleX()), int(b * ScaleY())};
}
}  // namespace

void CCWPanel::Build(plat::Window* parent, bool popOut) {
    popOut_ = popOut;
    const int x = popOut ? g_cwleftpopout : g_cwleft;
    const int y = popOut ? g_cwtoppopout : g_cwtop;
    const plat::Rect size = Scaled(0, 0, kWidth, kHeight);
    // In the frame, a child dragged by its body; popped out, a window of
    // its own with a caption.
    const unsigned style = popOut ? plat::WS_CAPTION : plat::WS_CHILD | plat::WS_CLIPSIBLINGS | plat::WS_SYSMENU;
    SetDragByBody(!popOut);
    font_.Create(int(kFontHeight * ScaleY()), plat::FW_NORMAL, "Arial");
    Create("CW Keyboard", style, {x, y, x + size.width(), y + size.height()}, parent, kCwKeyboardId);
    SetFont(&font_);
    hide_.CreateControl("Hide", Scaled(440, 3, 512, 25), this, IDC_CW_HIDE);
    for (int i = 0; i < 5; ++i) {
        const int top = kMemoryTop + i * kMemoryRow;
        memory_[i].CreateControl(g_cwmacro[i], Scaled(100, top, 512, top + 22), this, IDC_CW_MEMORY1 + i);
        memory_[i].SetLimitText(kCwMacroSize - 1);
    }
    wordSend_.CreateControl("Transmit full words only", Scaled(8, 216, 220, 238), this, IDC_CW_WORD_SEND);
    popOutCheck_.CreateControl("Pop Out Window", Scaled(228, 216, 370, 238), this, IDC_CW_POPOUT);
    clearFile_.CreateControl("Clear File", Scaled(400, 214, 512, 240), this, IDC_CW_CLEAR_FILE);
    for (plat::Window* w : {static_cast<plat::Window*>(&hide_), static_cast<plat::Window*>(&clearFile_),
                            static_cast<plat::Window*>(&wordSend_), static_cast<plat::Window*>(&popOutCheck_)})
        w->SetFont(&font_);
    for (plat::Edit& e : memory_) e.SetFont(&font_);
    FillControls();
}

void CCWPanel::Tear() {
    for (plat::Window* w : {static_cast<plat::Window*>(&hide_), static_cast<plat::Window*>(&clearFile_),
                            static_cast<plat::Window*>(&wordSend_), static_cast<plat::Window*>(&popOutCheck_)})
        w->DestroyWindow();
    for (plat::Edit& e : memory_) e.DestroyWindow();
    DestroyWindow();
}

void CCWPanel::FillControls() {
    wordSend_.SetCheck(g_wordsend != 0);
    popOutCheck_.SetCheck(g_cwpopout != 0);
}

plat::Point CCWPanel::Size() {
    const plat::Rect r = Scaled(0, 0, kWidth, kHeight);
    return {r.width(), r.height()};
}

plat::Point CCWPanel::Place() const {
    const plat::Rect r = GetWindowRect();
    return {r.left, r.top};
}

void CCWPanel::ShowPending(const std::string& text) {
    pending_ = text;
    Invalidate();
}

void CCWPanel::ShowEcho(const std::string& text) {
    echo_ = text;
    Invalidate();
}

bool CCWPanel::OnCommand(unsigned id, unsigned code, plat::LPARAM) {
    if (id >= IDC_CW_MEMORY1 && id < IDC_CW_MEMORY1 + 5) {
        if (code != plat::EN_KILLFOCUS) return true;
        const int i = int(id) - IDC_CW_MEMORY1;
        std::snprintf(g_cwmacro[i], kCwMacroSize, "%s", memory_[i].GetText().c_str());
    } else if (id == IDC_CW_WORD_SEND) {
        g_wordsend = wordSend_.GetCheck();
    } else if (id == IDC_CW_POPOUT) {
        g_cwpopout = popOutCheck_.GetCheck();
        ApplyCwPopOut();
    } else if (id == IDC_CW_CLEAR_FILE) {
        ClearPaddleFile();
        return true;
    } else if (id == IDC_CW_HIDE) {
        OnShowCwKeyboard();
        return true;
    } else {
        return false;
    }
    // The main frame applies and saves the settings it holds.
    if (GetParent()) GetParent()->SendMessage(plat::WM_COMMAND, kSettingsChanged, 0);
    return true;
}

void CCWPanel::OnChar(unsigned ch) {
    // Typed into the window itself: the main frame's keyboard takes it.
    if (GetParent()) GetParent()->SendMessage(plat::WM_CHAR, ch, 0);
}

void CCWPanel::OnPaint(plat::PaintContext& pc) {
    const plat::Rect all = Scaled(0, 0, kWidth, kHeight);
    pc.FillRect(all, kFace);
    pc.SetFont(&font_);
    pc.SetTextColour(0);
    pc.DrawText("CW Keyboard", Scaled(8, 4, 300, 24), plat::DT_LEFT | plat::DT_VCENTER | plat::DT_SINGLELINE);
    // Pending text and paddle echo in the keyboard's own colours.
    pc.FillRect(Scaled(4, kDisplayTop, kWidth - 4, kDisplayBottom), g_cwbackgroundcolor);
    pc.SetTextColour(g_cwtextcolor);
    pc.DrawText(pending_, Scaled(8, kDisplayTop + 2, kWidth - 8, kDisplayTop + 24),
                plat::DT_LEFT | plat::DT_VCENTER | plat::DT_SINGLELINE);
    pc.DrawText(echo_, Scaled(8, kDisplayTop + 26, kWidth - 8, kDisplayBottom - 2),
                plat::DT_LEFT | plat::DT_VCENTER | plat::DT_SINGLELINE);
    pc.SetTextColour(0);
    for (int i = 0; i < 5; ++i) {
        const int top = kMemoryTop + i * kMemoryRow;
        char label[16];
        std::snprintf(label, sizeof label, "CW Memory%d", i + 1);
        pc.DrawText(label, Scaled(8, top, 96, top + 22), plat::DT_LEFT | plat::DT_VCENTER | plat::DT_SINGLELINE);
    }
}

void ClearPaddleFile() {
    if (g_cwfilename[0] == '\0') return;
    // A new file holding one blank, as a reader of the file expects to find.
    plat::WriteFileAtomic(g_cwfilename, " ");
}
