// The WaveNode meter panel: per sensor its SWR, average and peak power, the
// sensor choice and the peak option.
#pragma once
#include "panel/pop_out_panel.h"
#include "platform/controls.h"
#include "platform/window.h"

constexpr int IDC_USE_SENSOR1 = 4509;  // .. 4512
constexpr int IDC_USE_PEAK_POWER = 4513;

class CWAVEPanel : public CPopOutPanel {
public:
    int OnCreate() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    void OnClose() override { ShowWindow(0); }
    // Puts the sensors' readings and the start hint on show.
    void Refresh();
    void OnUseSensor(int n);
    void OnUsePeakPower();

private:
    plat::StaticText header_;
    plat::StaticText rows_[4];
    plat::StaticText hint_;
    plat::CheckBox sensors_[4];
    plat::CheckBox peak_;
};

// The one panel (null until created).
extern CWAVEPanel* g_wavepanel;
// Creates the "Wave Node" child window of `parent`, shown when `visible`.
// Its size, `kWavePanelSize`, at `place`.
CWAVEPanel* CreateWavePanel(plat::Window* parent, const plat::Rect& place, bool visible);
constexpr plat::Point kWavePanelSize{450, 150};
// The panel's place for the save ([WAVE WINDOW] "LOCATION").
void RecordWavePanelPlace();
void DestroyWavePanel();
