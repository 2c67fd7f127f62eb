// "Mirror Control": a small pop-out with the radio panel's most used
// toggles, for working while the program follows changes made on the radio
// itself (mirror mode). Each button runs the radio panel's own action; the
// radio panel keeps these buttons in step through the Mirror* calls below.
#pragma once
#include "panel/controls/bistate_button.h"
#include "panel/pop_out_panel.h"
#include "platform/controls.h"

constexpr int IDW_MIRROR_PANEL = 4500;

enum MirrorControlId : int {
    IDC_MR_TITLE = 5933,  // the blank strip along the top
    IDC_MR_POLLING = 4501,
    IDC_MR_DUAL = 4502,
    IDC_MR_SPLIT = 4503,
    IDC_MR_TRANSMIT = 4504,
    IDC_MR_TUNER_ON = 4505,
    IDC_MR_TUNER_OFF = 4506,
    IDC_MR_METER = 4507,
};

// Commands of the main frame and the radio panel that the buttons run.
constexpr unsigned ID_MR_SPLIT_ACTION = 122;  // the main frame's Split key action
constexpr unsigned ID_MR_TUNER_ON = 564;      // the radio panel's "Tuner On"
constexpr unsigned ID_MR_TUNER_OFF = 566;     // the radio panel's "Tuner Off"

// ---- Pure rules -------------------------------------------------------------

// The Polling button's caption for the slider set shown: "Polling VFO A" /
// "Polling VFO B", on radio type 5 "Polling MAIN" / "Polling SUB".
const char* PollingCaption(int radiotype, bool sub);
// The meter selection after `setting`: 0 -> 1 -> 2 -> 3 -> 4 -> 0, from 2
// straight to 4 on radio types 3 and 11 (no compression meter there).
int NextMeterSetting(int setting, int radiotype);
// "S Meter", "PwrMtr", "SWRMtr", "COMMtr", "ALCMtr" for selections 0..4.
const char* MeterSettingCaption(int setting);
// The meter kind the panel meter shows for a selection: 4, 1, 3, 5, 6.
int MeterTypeOfSetting(int setting);
// The running radio can work split: every type but the Perseus receiver,
// which cannot transmit.
bool RadioHasSplit();

// ---- The panel --------------------------------------------------------------

class CMRPanel : public CPopOutPanel {
public:
    int OnCreate() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;

    void OnPolling();
    void OnDualWatch();
    void OnSplit();
    void OnTransmit();
    void OnMeter();
    void OnTuner(bool on);

    plat::StaticText title;    // 5933: blank, blue
    plat::StaticText caption;  // "Mirror Control", hidden
    CBiStateButton polling, dual, split, transmit, meter, tunerOn, tunerOff;
    bool hasSplit = false;     // the Split button was created

private:
    // Dual watch or split changed: the main frame pushes the sub receiver.
    void SubReceiverChanged();
};

// The one mirror panel (null until created).
extern CMRPanel* g_mrpanel;

// The panel's size in pixels at the radio window's scale.
plat::Point MirrorPanelSize();
// Creates the panel hidden as a child of `frame` at `r`.
CMRPanel* CreateMirrorPanel(plat::Window* frame, const plat::Rect& r);
void DestroyMirrorPanel();
// Puts the panel's place into [MR WINDOW] "LOCATION" for the save at close.
void RecordMirrorPanelPlace();

// The radio panel's actions keep the mirror panel in step (in mirror mode).
void MirrorShowDual(int on);
void MirrorShowSplit(int on);
void MirrorShowTransmit(int on);
void MirrorShowSliders(int sub);      // the Polling caption
void MirrorShowMeter(int setting);    // the S Meter caption
