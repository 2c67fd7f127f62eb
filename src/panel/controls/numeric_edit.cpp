#include "panel/controls/numeric_edit.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "base/trace_log.h"
#include "panel/swl_panel.h"

int g_leadingpoint = 0;

std::string NumericEditText(double value) {
    char text[48];
    if (value >= 1000) std::snprintf(text, sizeof text, "%01.3f K", value / 1000);
    else std::snprintf(text, sizeof text, "%01.0f", value);
    return text;
}

double ParseNumericText(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    const std::size_t start = i;
    int points = 0;
    while (i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.')) {
        if (text[i] == '.') ++points;
        ++i;
    }
    if (i == start || points > 1) return 0;
    // Kept in double: a frequency typed in Hz must keep every digit.
    double v = std::strtod(text.substr(start, i - start).c_str(), nullptr);
    while (i < text.size() && text[i] == ' ') ++i;
    if (i < text.size()) {
        const char c = text[i];
        if (c == 'k' || c == 'K') v *= 1000;
        else if (c == 'm' || c == 'M') v *= 1000000;
        else return 0;
        ++i;
        while (i < text.size() && text[i] == ' ') ++i;
        if (i < text.size()) return 0;
    }
    return v;
}

void CNumericEdit::SetValue(double value) { SetText(NumericEditText(value)); }

double CNumericEdit::GetValue() {
    const std::string t = GetText();
    g_leadingpoint = !t.empty() && t[0] == '.';
    return ParseNumericText(t);
}

void CNumericEdit::EndWith(double value) {
    SetValue(value);
    if (GetParent()) GetParent()->SetFocus();
    if (plat::IsLiveWindow(GetParent())) GetParent()->SendMessage(plat::WM_COMMAND, unsigned(GetDlgCtrlID()), 0);
}

namespace {
bool IsDigitBox(unsigned id) {
    return (id >= IDC_VFOA_DIGIT_FIRST && id <= IDC_VFOA_DIGIT_LAST) ||
           (id >= IDC_VFOB_DIGIT_FIRST && id <= IDC_VFOB_DIGIT_LAST);
}

// The keys of a keypad entry; Esc ends one.
bool IsKeypadKey(unsigned ch) { return (ch >= '0' && ch <= '9') || ch == '.' || ch == '\r' || ch == 27; }
}  // namespace

bool CNumericEdit::FilterChar(unsigned ch) {
    WriteTracef("cnum key digit %d", int(ch));
    const unsigned id = unsigned(GetDlgCtrlID());
    plat::Window* parent = GetParent();
    // Any other key is the radio window's (Space, '-', '+'): it goes on.
    if (IsDigitBox(id) && !IsKeypadKey(ch)) return false;
    if (id >= IDC_VFOA_DIGIT_FIRST && id <= IDC_VFOA_DIGIT_LAST) {
        WriteTrace("key vfoadigi1");
        g_keyentry = int(ch);
        if (plat::IsLiveWindow(parent)) parent->SendMessage(plat::WM_COMMAND, IDC_VFOA_KEY, 0);
        return true;
    }
    if (id >= IDC_VFOB_DIGIT_FIRST && id <= IDC_VFOB_DIGIT_LAST) {
        WriteTrace("key vfobdigi1");
        g_keyentry = int(ch);
        if (plat::IsLiveWindow(parent)) parent->SendMessage(plat::WM_COMMAND, IDC_VFOB_KEY, 0);
        return true;
    }
    if (ch == '\r') {
        if (parent) parent->SetFocus();
        if (plat::IsLiveWindow(parent)) parent->SendMessage(plat::WM_COMMAND, id, 0);
        return true;
    }
    if (ch == 'k' || ch == 'K' || ch == 'm' || ch == 'M') {
        const double mult = (ch == 'k' || ch == 'K') ? 1000.0 : 1000000.0;
        EndWith(ParseNumericText(GetText()) * mult);
        return true;
    }
    return false;
}

// The digit boxes are the frequency readout, not text fields. A click on a
// VFO's digits gives them the keyboard, so a frequency typed next goes to
// that VFO; Tab and the window becoming active never do. Keys that are no
// keypad entry go on to the window: the arrows tune, Space keys.
int CNumericEdit::OnCreate() {
    if (IsDigitBox(unsigned(GetDlgCtrlID()))) {
        SetTabFocus(false);
        SetPassOnKeys(true);
    }
    return plat::Edit::OnCreate();
}

void CNumericEdit::OnChar(unsigned ch) {
    if (FilterChar(ch)) return;
    if (PassOnKeys()) {
        if (plat::IsLiveWindow(GetParent())) GetParent()->SendMessage(plat::WM_CHAR, ch, 0);
        return;
    }
    if (ch < ' ' || ch > '~') return;
    TypeText(GetText() + char(ch));
    SetSel(-1, -1);
}

void CNumericEdit::OnSetFocus(plat::Window*) {
    SetSel(0, -1);
    if (plat::IsLiveWindow(GetParent()))
        GetParent()->SendMessage(plat::WM_COMMAND, plat::MAKEWPARAM(unsigned(GetDlgCtrlID()), plat::EN_SETFOCUS),
                                 reinterpret_cast<plat::LPARAM>(this));
}

void CNumericEdit::OnKillFocus(plat::Window*) {
    if (plat::IsLiveWindow(GetParent()))
        GetParent()->SendMessage(plat::WM_COMMAND, plat::MAKEWPARAM(unsigned(GetDlgCtrlID()), plat::EN_KILLFOCUS),
                                 reinterpret_cast<plat::LPARAM>(this));
}

bool CSpecialEdit::FilterChar(unsigned ch) {
    if (ch == '\r') {
        plat::Window* parent = GetParent();
        if (parent) parent->SetFocus();
        if (plat::IsLiveWindow(parent)) parent->SendMessage(plat::WM_COMMAND, unsigned(GetDlgCtrlID()), 0);
    }
    return false;
}
