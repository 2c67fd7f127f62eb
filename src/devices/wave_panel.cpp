#include "devices/wave_panel.h"

#include <cstdio>
#include <string>

#include "base/device_options.h"
#include "devices/external_meters.h"

CWAVEPanel* g_wavepanel = nullptr;

namespace {
constexpr const char kHint[] = "Please start the WN2 program from Wave Node";
constexpr int kRowHeight = 18;
}  // namespace

int CWAVEPanel::OnCreate() {
    header_.CreateControl("       SWR          Average         Peak", plat::Rect{8, 6, 300, 6 + kRowHeight}, this, -1);
    for (int i = 0; i < 4; ++i) {
        const int y = 8 + kRowHeight * (i + 1);
        rows_[i].CreateControl("", plat::Rect{8, y, 300, y + kRowHeight}, this, -1);
        char caption[16];
        std::snprintf(caption, sizeof caption, "Use Sensor %d", i + 1);
        sensors_[i].CreateControl(caption, plat::Rect{310, y, 420, y + kRowHeight}, this, IDC_USE_SENSOR1 + i);
    }
    const int y = 10 + kRowHeight * 5;
    hint_.CreateControl(kHint, plat::Rect{8, y, 300, y + kRowHeight}, this, -1);
    peak_.CreateControl("Use Peak Power", plat::Rect{310, y, 440, y + kRowHeight}, this, IDC_USE_PEAK_POWER);
    Refresh();
    return 0;
}

bool CWAVEPanel::OnCommand(unsigned id, unsigned, plat::LPARAM) {
    if (id >= unsigned(IDC_USE_SENSOR1) && id < unsigned(IDC_USE_SENSOR1 + 4)) {
        OnUseSensor(int(id) - IDC_USE_SENSOR1 + 1);
        return true;
    }
    if (id == unsigned(IDC_USE_PEAK_POWER)) {
        OnUsePeakPower();
        return true;
    }
    return false;
}

void CWAVEPanel::OnUseSensor(int n) {
    // The four boxes behave as radio buttons.
    g_wavesensor = n;
    for (int i = 0; i < 4; ++i) sensors_[i].SetCheck(i + 1 == n);
}

void CWAVEPanel::OnUsePeakPower() {
    g_wavepeak = !g_wavepeak;
    peak_.SetCheck(g_wavepeak);
}

void CWAVEPanel::Refresh() {
    for (int i = 0; i < 4; ++i) {
        const WaveSensor& s = g_wavesensors[i];
        char number[8];
        std::snprintf(number, sizeof number, "%d", i + 1);
        const std::string text = std::string(number) + "      " + s.swr + "          " + s.average + "          " + s.peak;
        rows_[i].SetWindowText(text);
        sensors_[i].SetCheck(i + 1 == g_wavesensor);
    }
    peak_.SetCheck(g_wavepeak);
    hint_.ShowWindow(g_wavestarted ? 0 : 1);
}

CWAVEPanel* CreateWavePanel(plat::Window* parent, const plat::Rect& place, bool visible) {
    if (!g_wavepanel) g_wavepanel = new CWAVEPanel;
    g_wavepanel->SetDragByBody(true);
    g_wavepanel->Create("Wave Node", plat::WS_CHILD | plat::WS_CLIPSIBLINGS | plat::WS_SYSMENU, place, parent, 2529);
    g_wavepanel->ShowWindow(visible ? 1 : 0);
    return g_wavepanel;
}

void RecordWavePanelPlace() {
    if (!g_wavepanel || !g_wavepanel->IsCreated()) return;
    const plat::Rect r = g_wavepanel->GetNormalRect();
    std::snprintf(g_waveplace, sizeof g_waveplace, "%04d %04d", r.left, r.top);
}

void DestroyWavePanel() {
    delete g_wavepanel;
    g_wavepanel = nullptr;
}
