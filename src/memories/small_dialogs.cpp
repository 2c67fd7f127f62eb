#include "memories/small_dialogs.h"

#include <cstdio>
#include <vector>

#include "base/version.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/frequency_state.h"
#include "panel/swl_panel.h"
#include "platform/message_box.h"
#include "platform/types.h"

double g_presetfreq = 0;

const TimeStation kTimeStations[8] = {
    {"2.5 MHz", 3232, 2.5, "WWV/WWVH USA"},     {"5 MHz", 3233, 5.0, "WWV/WWVH USA"},
    {"10 MHz", 3234, 10.0, "WWV/WWVH USA"},     {"15 MHz", 3235, 15.0, "WWV/WWVH USA"},
    {"20 MHz", 3236, 20.0, "WWV/WWVH USA"},     {"3.33 MHz", 3237, 3.33, "CHU CANADA"},
    {"7.850 MHz", 3238, 7.85, "CHU CANADA"},    {"14.670 MHz", 3239, 14.67, "CHU CANADA"},
};

const PickerButton kStepPicks[12] = {
    {"1 Hz", 3210, 1},        {"5 Hz", 3211, 5},       {"10 Hz", 3212, 10},      {"50 Hz", 3213, 50},
    {"100 Hz", 3214, 100},    {"500 Hz", 3215, 500},   {"1 kHz", 3216, 1000},    {"2.5 kHz", 3217, 2500},
    {"5 kHz", 3218, 5000},    {"10 kHz", 3219, 10000}, {"50 kHz", 3220, 50000},  {"100 kHz", 3221, 100000},
};

const PickerButton kAgcButtons[3] = {{"Fast", 3242, '3'}, {"Medium", 3241, '2'}, {"Slow", 3240, '1'}};

plat::SystemTime ZeroedSeconds(plat::SystemTime t) {
    if (t.second >= 30) {
        t.second = 59;
        t.milliseconds = 990;
    } else {
        t.second = 0;
        t.milliseconds = 0;
    }
    return t;
}

bool CSmallDialog::PickButton(const PickerButton* table, std::size_t count, unsigned id, int& value) {
    for (std::size_t i = 0; i < count; ++i)
        if (id == unsigned(table[i].id)) {
            value = table[i].value;
            EndDialog(plat::IDOK);
            return true;
        }
    if (id != unsigned(plat::IDCANCEL)) return false;
    EndDialog(plat::IDCANCEL);
    return true;
}

int CSmallDialog::ButtonOfValue(const PickerButton* table, std::size_t count, int value) {
    for (std::size_t i = 0; i < count; ++i)
        if (table[i].value == value) return table[i].id;
    return plat::IDCANCEL;
}

plat::Window* CSmallDialog::Control(int id) const {
    for (const auto& c : owned_)
        if (c->GetDlgCtrlID() == id) return c.get();
    return nullptr;
}

void CWorldTime::OnInitDialog() {
    Add<plat::GroupBox>("WWV/WWVH USA", {8, 4, 452, 70}, -1);
    Add<plat::GroupBox>("CHU CANADA", {8, 76, 452, 142}, -1);
    for (int i = 0; i < 8; ++i) {
        const TimeStation& t = kTimeStations[i];
        const int row = i < 5 ? 0 : 1, col = i < 5 ? i : i - 5;
        Add<plat::Button>(t.caption, {16 + col * 88, 28 + row * 72, 100 + col * 88, 56 + row * 72}, t.id);
    }
    Add<plat::Button>("Zero Out Seconds", {8, 150, 452, 178}, IDC_ZERO_SECONDS);
    Add<plat::Button>("Exit and Keep Changes", {8, 186, 180, 214}, plat::IDOK);
    Add<plat::Button>("Exit and Restore Previous Settings", {188, 186, 452, 214}, plat::IDCANCEL);
}

bool CWorldTime::OnCommand(unsigned id, unsigned, plat::LPARAM) {
    for (const TimeStation& t : kTimeStations)
        if (id == unsigned(t.id)) {
            g_presetfreq = t.mhz;
            if (GetParent()) GetParent()->SendMessage(plat::WM_COMMAND, ID_TIME_STATION);
            return true;
        }
    if (id == unsigned(IDC_ZERO_SECONDS)) {
        if (!plat::SetLocalTime(ZeroedSeconds(plat::GetLocalTime())))
            plat::MessageBox(this, "The PC clock could not be set: this needs the right to set the system time.",
                             "UTC World Time Stations", plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return true;
    }
    if (id == unsigned(plat::IDOK) || id == unsigned(plat::IDCANCEL)) {
        EndDialog(int(id));
        return true;
    }
    return false;
}

void CTuneSel::OnInitDialog() {
    char line[64];
    std::snprintf(line, sizeof line, "Current Step Size= %.0f Hz", step);
    Add<plat::StaticText>(text.empty() ? line : text, {8, 4, 236, 22}, IDC_CURRENT_STEP);
    for (int i = 0; i < 12; ++i) {
        const int col = i % 3, row = i / 3;
        Add<plat::Button>(kStepPicks[i].caption, {8 + col * 76, 28 + row * 30, 80 + col * 76, 54 + row * 30},
                          kStepPicks[i].id);
    }
    Add<plat::Button>("Cancel", {8, 150, 232, 176}, plat::IDCANCEL);
}

bool CTuneSel::OnCommand(unsigned id, unsigned, plat::LPARAM) {
    int value = 0;
    if (!Pick(kStepPicks, id, value)) return false;
    if (value) step = value;
    return true;
}

int CTuneSel::DefaultButton() const { return ButtonFor(kStepPicks, int(step)); }

void CTuneSel::OnRButtonDown(unsigned, plat::Point) { OnCommand(unsigned(plat::IDCANCEL), 0, 0); }

namespace {
// Centred on the owner's window.
plat::Rect CentredOn(plat::Window* owner, int w, int h) {
    const plat::Rect o = owner ? owner->GetWindowRect() : plat::Rect{0, 0, w, h};
    const int x = o.left + (o.width() - w) / 2, y = o.top + (o.height() - h) / 2;
    return {x, y, x + w, y + h};
}
}  // namespace

bool CTuneSel::Run(plat::Window* owner) { return DoModal(owner, "Tuning Step", CentredOn(owner, 240, 184)) == plat::IDOK; }

void CAgcDlg::OnInitDialog() {
    Add<plat::StaticText>("AGC", {8, 4, 180, 22}, IDC_AGC_TEXT);
    for (int i = 0; i < 3; ++i) Add<plat::Button>(kAgcButtons[i].caption, {8, 28 + i * 30, 180, 54 + i * 30}, kAgcButtons[i].id);
    Add<plat::Button>("Cancel", {8, 122, 180, 148}, plat::IDCANCEL);
}

bool CAgcDlg::OnCommand(unsigned id, unsigned, plat::LPARAM) {
    int value = 0;
    if (!Pick(kAgcButtons, id, value)) return false;
    if (value) agc = value;
    return true;
}

int CAgcDlg::DefaultButton() const { return ButtonFor(kAgcButtons, agc); }

bool CAgcDlg::Run(plat::Window* owner) { return DoModal(owner, "AGC", CentredOn(owner, 188, 156)) == plat::IDOK; }

void CAboutProgram::OnInitDialog() {
    Add<plat::StaticText>("qarv", {12, 10, 380, 30}, -1);
    Add<plat::StaticText>("GUI VS10 32 bit Version Pelx 3.52  03/01/2024", {12, 36, 380, 56}, -1);
    Add<plat::StaticText>(kVersionText, {12, 62, 380, 82}, -1);
    Add<plat::StaticText>(keyerVersion, {12, 88, 380, 108}, -1);
    Add<plat::Button>("OK", {150, 118, 240, 144}, plat::IDOK);
}

bool CAboutProgram::OnCommand(unsigned id, unsigned, plat::LPARAM) {
    if (id != unsigned(plat::IDOK) && id != unsigned(plat::IDCANCEL)) return false;
    EndDialog(int(id));
    return true;
}

void OnTimeUtc(plat::Window* frame) {
    const double freq = g_vfoafreq;
    const int mode = g_vfoamode, filter = g_rxfilter;
    CWorldTime dlg;
    if (dlg.DoModal(frame, "UTC World Time Stations", CentredOn(frame, 460, 222)) != plat::IDOK) {
        g_vfoafreq = freq;
        g_vfoamode = mode;
        g_rxfilter = filter;
    }
    SetModeA(g_vfoamode, g_split ? g_vfobmode : g_vfoamode);
    if (g_swlpanel) {
        g_swlpanel->SetFilter(g_rxfilter);
        g_swlpanel->ShowFilterButtons(g_rxfilter);
    }
    SetRadioFrequencies();
    if (g_swlpanel) g_swlpanel->SetPanelTuning(g_vfoafreq, char(g_vfoamode), 0, g_rxfilter, g_vfobfreq, 0);
    SetFilterWidthA(g_rxfilter);
}

void OnAbout(plat::Window* frame) {
    CAboutProgram dlg;
    dlg.DoModal(frame, "About qarv", CentredOn(frame, 392, 152));
}
