#include "panel/controls/freq_display.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/panel_options.h"
#include "civ/frequency_state.h"

std::string ReadoutText(double mhz, bool removeExtraDecimal) {
    if (mhz == 0) return "";
    char text[64];
    const int decimals = mhz >= 1000 ? 4 : mhz >= 100 ? 5 : 6;
    std::snprintf(text, sizeof text, "%09.*f", decimals, mhz);
    std::string t = text;
    if (!removeExtraDecimal) {
        // The kHz digits get a point of their own after them.
        const std::size_t point = t.find('.');
        if (point != std::string::npos && point + 4 <= t.size()) t = t.substr(0, point + 4) + "." + t.substr(point + 4);
    }
    if (decimals == 6 && !t.empty() && t[0] == '0') t[0] = ' ';
    return t;
}

CFreqDisplay::CFreqDisplay() : text_(plat::RGB(255, 255, 0)) {
    SetAccessibleRole(plat::AccessRole::StaticText);
}

bool CFreqDisplay::Create(const plat::Rect& r, plat::Window* parent, int id, double mhz) {
    value_ = mhz;
    return CreateChild(ReadoutText(mhz, g_removeextradecimal != 0), r, parent, id, true);
}

int CFreqDisplay::OnCreate() {
    // A readout, not a text box: the keyboard stays with the main frame's
    // tuning and hot keys; a click opens the entry edit, which takes it.
    SetKeyboardFocus(false);
    const int w = Width(), h = Height();
    edit_.CreateControl("", {0, 0, w, h}, this, IDC_FREQ_EDIT, false);
    edit_.SetColours(text_, plat::RGB(0, 0, 0));
    ShowName();
    return 0;
}

void CFreqDisplay::SetTextColour(plat::Colour c) {
    text_ = c;
    edit_.SetColours(text_, plat::RGB(0, 0, 0));
    Invalidate();
}

void CFreqDisplay::ShowName() { SetAccessibleName(ReadoutText(value_, g_removeextradecimal != 0)); }

void CFreqDisplay::SetValue(double mhz) {
    value_ = mhz;
    ShowName();
    Invalidate();
}

void CFreqDisplay::OnPaint(plat::PaintContext& target) {
    target.SetFont(GetFont());
    // Room for the widest readout, however the control was sized.
    const plat::Point need = target.TextExtent("00.000.00000");
    const int w = std::max(Width(), need.x), h = std::max(Height(), need.y);
    plat::BufferedPaint buf(target, w, h);
    plat::PaintContext& pc = buf.pc();
    pc.FillRect({0, 0, w, h}, plat::RGB(0, 0, 0));
    pc.SetFont(GetFont());
    pc.SetBkMode(plat::TRANSPARENT);
    pc.SetTextColour(text_);
    pc.DrawText(ReadoutText(value_, g_removeextradecimal != 0), {2, 2, w - 2, Height() - 2},
                plat::DT_LEFT | plat::DT_VCENTER | plat::DT_SINGLELINE);
    target.Blit(0, 0, buf);
}

void CFreqDisplay::StartEntry() {
    // Reports from the radio would overwrite what is being typed.
    g_tuning = 1;
    value_ = 0;
    entry_ = true;
    ShowName();
    SetFocus();
    edit_.MoveWindow({0, 0, Width(), Height()});
    edit_.ShowWindow(plat::SW_SHOW);
    edit_.SetText(ReadoutText(value_, g_removeextradecimal != 0));
    edit_.SetFont(GetFont());
    edit_.SetFocus();
    Invalidate();
}

void CFreqDisplay::EndEntry() {
    if (!entry_) return;
    entry_ = false;
    value_ = edit_.GetValue();
    edit_.ShowWindow(plat::SW_HIDE);
    // The hold was for the typing only; an empty or failed entry must not
    // leave every later frequency report dropped.
    g_tuning = 0;
    ShowName();
    Invalidate();
    if (GetParent()) GetParent()->SetFocus();
    SendToOwner(plat::WM_COMMAND, unsigned(GetDlgCtrlID()), 0);
}

void CFreqDisplay::OnLButtonDown(unsigned, plat::Point) {
    if (!entry_) StartEntry();
}

void CFreqDisplay::OnChar(unsigned ch) {
    if (!entry_) StartEntry();
    edit_.PostMessage(plat::WM_CHAR, ch, 0);
}

bool CFreqDisplay::OnCommand(unsigned id, unsigned code, plat::LPARAM) {
    if (id != unsigned(IDC_FREQ_EDIT)) return false;
    if (code == plat::EN_KILLFOCUS) EndEntry();
    else if (code == 0 && !entry_) SendToOwner(plat::WM_COMMAND, unsigned(GetDlgCtrlID()), 0);
    return true;
}
