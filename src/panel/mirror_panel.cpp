#include "panel/mirror_panel.h"

#include <array>

#include "base/panel_options.h"
#include "base/shell_ops.h"
#include "civ/civ_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_models.h"
#include "panel/swl_panel.h"

CMRPanel* g_mrpanel = nullptr;

namespace {
// The layout in design units, times the radio window's scale factors.
constexpr int kWidth = 80;
constexpr int kTitleHeight = 9;
constexpr int kFirstRow = 12;
constexpr int kRowPitch = 18;
constexpr int kButtonHeight = 16;
constexpr int kMargin = 3;

struct ButtonRow {
    int id;
    const char* caption;  // null: the caption follows the panel's state
};
// Top to bottom; the Split row only where the radio can work split.
constexpr std::array<ButtonRow, 7> kRows{{
    {IDC_MR_POLLING, nullptr},
    {IDC_MR_DUAL, "Dual Watch"},
    {IDC_MR_SPLIT, "Split"},
    {IDC_MR_TRANSMIT, "Transmit"},
    {IDC_MR_METER, nullptr},
    {IDC_MR_TUNER_ON, "Tuner On"},
    {IDC_MR_TUNER_OFF, "Tuner Off"},
}};

constexpr plat::Colour kBlue = plat::RGB(0, 0, 255);

constexpr const char* kMeterCaptions[5] = {"S Meter", "PwrMtr", "SWRMtr", "COMMtr", "ALCMtr"};
constexpr int kMeterTypes[5] = {4, 1, 3, 5, 6};

double ScaleX() { return g_scalex > 0.2 ? g_scalex : 1.0; }
double ScaleY() { return g_scaley > 0.2 ? g_scaley : 1.0; }

int RowCount() { return RadioHasSplit() ? int(kRows.size()) : int(kRows.size()) - 1; }
}  // namespace

const char* PollingCaption(int radiotype, bool sub) {
    if (radiotype == 5) return sub ? "Polling SUB" : "Polling MAIN";
    return sub ? "Polling VFO B" : "Polling VFO A";
}

int NextMeterSetting(int setting, int radiotype) {
    if (setting == 2 && (radiotype == 3 || radiotype == 11)) return 4;
    return setting >= 0 && setting < 4 ? setting + 1 : 0;
}

const char* MeterSettingCaption(int setting) { return setting >= 0 && setting < 5 ? kMeterCaptions[setting] : kMeterCaptions[0]; }

int MeterTypeOfSetting(int setting) { return setting >= 0 && setting < 5 ? kMeterTypes[setting] : kMeterTypes[0]; }

bool RadioHasSplit() { return !g_perseus; }

plat::Point MirrorPanelSize() {
    const int height = kFirstRow + RowCount() * kRowPitch;
    return {int(kWidth * ScaleX()), int(height * ScaleY())};
}

int CMRPanel::OnCreate() {
    const double sx = ScaleX(), sy = ScaleY();
    title.CreateControl("", ScaledRect(0, 0, kWidth, kTitleHeight, sx, sy), this, IDC_MR_TITLE);
    title.SetColours(plat::RGB(255, 255, 255), kBlue);
    caption.CreateControl("Mirror Control", ScaledRect(0, 0, kWidth, kTitleHeight, sx, sy), this, -1, false);
    caption.SetColours(plat::RGB(255, 255, 255), kBlue);
    caption.SetFont(PanelFont(sy));
    hasSplit = RadioHasSplit();
    const CSwlPanel* p = g_swlpanel;
    int top = kFirstRow;
    for (const ButtonRow& row : kRows) {
        if (row.id == IDC_MR_SPLIT && !hasSplit) continue;
        CBiStateButton* b = nullptr;
        const char* text = row.caption;
        switch (row.id) {
        case IDC_MR_POLLING: b = &polling, text = PollingCaption(g_radiotype, g_subsliders != 0); break;
        case IDC_MR_DUAL: b = &dual; break;
        case IDC_MR_SPLIT: b = &split; break;
        case IDC_MR_TRANSMIT: b = &transmit; break;
        case IDC_MR_METER: b = &meter, text = MeterSettingCaption(g_metersetting); break;
        case IDC_MR_TUNER_ON: b = &tunerOn; break;
        case IDC_MR_TUNER_OFF: b = &tunerOff; break;
        default: continue;
        }
        b->CreateChild(text, ScaledRect(kMargin, top, kWidth - kMargin, top + kButtonHeight, sx, sy), this, row.id);
        b->SetFont(PanelFont(sy));
        top += kRowPitch;
    }
    polling.SetOffColor(g_buttontextcolor);
    tunerOn.SetOffColor(g_buttontextcolor);
    // Opened in the middle of a session: show the panel's state as it is.
    if (p) {
        dual.SetState(p->dual ? 1 : 0);
        if (hasSplit) split.SetState(p->split ? 1 : 0);
        transmit.SetState(p->fn.pttRequest ? 1 : 0);
    }
    return 0;
}

bool CMRPanel::OnCommand(unsigned id, unsigned, plat::LPARAM) {
    switch (id) {
    case IDC_MR_POLLING: OnPolling(); return true;
    case IDC_MR_DUAL: OnDualWatch(); return true;
    case IDC_MR_SPLIT: OnSplit(); return true;
    case IDC_MR_TRANSMIT: OnTransmit(); return true;
    case IDC_MR_METER: OnMeter(); return true;
    case IDC_MR_TUNER_ON: OnTuner(true); return true;
    case IDC_MR_TUNER_OFF: OnTuner(false); return true;
    default: return false;
    }
}

// Switches the slider row, and so the VFO the mirror poll follows, between
// the main and the sub receiver. There is no sub side to poll unless the
// sub receiver is on or the program mirrors the radio.
void CMRPanel::OnPolling() {
    if (!g_dual && !g_mirror) return;
    // The panel's own switch, so its "M Sliders"/"S Sliders" caption follows.
    if (g_swlpanel)
        g_swlpanel->ToggleMainSubSliders();
    else
        g_subsliders = g_subsliders ? 0 : 1;
    MirrorShowSliders(g_subsliders);
}

// The panel's toggle tells the main frame itself.
void CMRPanel::OnDualWatch() {
    CSwlPanel* p = g_swlpanel;
    if (!p) return;
    p->ToggleDual();
    MirrorShowDual(p->dual);
}

void CMRPanel::OnSplit() {
    CSwlPanel* p = g_swlpanel;
    if (!p) return;
    const int before = p->split;
    if (GetParent()) GetParent()->SendMessage(plat::WM_COMMAND, ID_MR_SPLIT_ACTION, 0);
    if (!plat::IsLiveWindow(this) || g_swlpanel != p) return;
    MirrorShowSplit(p->split);
    if (p->split != before) SubReceiverChanged();
}

void CMRPanel::SubReceiverChanged() {
    // A control surface driving the change has the sub receiver pushed when
    // it ends.
    if (g_inpodkey || !g_swlpanel) return;
    g_swlpanel->NotifyVfoB();
}

// The panel's push-to-talk request, as its PTT button toggles it.
void CMRPanel::OnTransmit() {
    CSwlPanel* p = g_swlpanel;
    if (!p) return;
    p->fn.pttRequest = p->fn.pttRequest ? 0 : 1;
    p->ShowTransmitButton(p->fn.pttRequest);
    MirrorShowTransmit(p->fn.pttRequest);
    p->NotifyMainWin();
}

void CMRPanel::OnMeter() {
    g_metersetting = NextMeterSetting(g_metersetting, g_radiotype);
    g_metertype = MeterTypeOfSetting(g_metersetting);
    if (g_swlpanel) g_swlpanel->ShowMeterSetting();
    MirrorShowMeter(g_metersetting);
}

// The radio panel's tuner buttons, through the window that routes its
// commands.
void CMRPanel::OnTuner(bool on) {
    if (GetParent()) GetParent()->SendMessage(plat::WM_COMMAND, on ? ID_MR_TUNER_ON : ID_MR_TUNER_OFF, 0);
}

CMRPanel* CreateMirrorPanel(plat::Window* frame, const plat::Rect& r) {
    if (!g_mrpanel) g_mrpanel = new CMRPanel;
    g_mrpanel->Create("Mirror Control", plat::WS_CHILD | plat::WS_CLIPSIBLINGS | plat::WS_SYSMENU, r, frame, IDW_MIRROR_PANEL);
    return g_mrpanel;
}

void DestroyMirrorPanel() {
    if (g_lasttoggled == g_mrpanel) g_lasttoggled = nullptr;
    delete g_mrpanel;
    g_mrpanel = nullptr;
}

void RecordMirrorPanelPlace() {
    if (g_mrpanel) g_mrpanel->RecordPlace(g_mrplace, sizeof g_mrplace);
}

void MirrorShowDual(int on) {
    if (g_mrpanel) g_mrpanel->dual.SetState(on ? 1 : 0);
}
void MirrorShowSplit(int on) {
    if (g_mrpanel && g_mrpanel->hasSplit) g_mrpanel->split.SetState(on ? 1 : 0);
}
void MirrorShowTransmit(int on) {
    if (g_mrpanel) g_mrpanel->transmit.SetState(on ? 1 : 0);
}
void MirrorShowSliders(int sub) {
    if (g_mrpanel) g_mrpanel->polling.SetWindowText(PollingCaption(g_radiotype, sub != 0));
}
void MirrorShowMeter(int setting) {
    if (g_mrpanel) g_mrpanel->meter.SetWindowText(MeterSettingCaption(setting));
}
