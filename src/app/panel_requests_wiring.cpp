#include "app/panel_requests_wiring.h"

#include "devices/control_surfaces.h"
#include "devices/tmate2.h"
#include "devices/tuner.h"
#include "memories/memory_windows.h"
#include "memories/recall_panels.h"
#include "memories/small_dialogs.h"
#include "memories/station_recall.h"
#include "memories/sweep.h"
#include "panel/panel_requests.h"

namespace {
class StationRequests : public PanelRequests {
public:
    void ShowTMate2Freq(double mhz) override {
        if (g_tmate2open) ::ShowTMate2Freq(mhz);
    }
    void ShowTMate2Mode(char mode) override {
        if (g_tmate2open) ::ShowTMate2Mode(mode);
    }
    void SweepKeepVfoB(double mhz, int mode, int filter) override { ::SweepKeepVfoB(mhz, mode, filter); }
    bool RunTuneSel(plat::Window* owner, const std::string& text, double& step) override {
        CTuneSel dlg;
        dlg.step = step;
        dlg.text = text;
        if (!dlg.Run(owner)) return false;
        step = dlg.step;
        return true;
    }
    int TunerAntenna() override { return g_ldgantenna; }
    void ToggleTunerAntenna() override { ::ToggleTunerAntenna(); }
    void ShowScratchPadField(int field, const std::string& text) override { ::ShowScratchPadField(field, text); }
    void StoreStationFromPanel() override { ::StoreStationFromPanel(); }
    void ShowStationWindow() override { ::ShowStationWindow(); }
    void ToggleMemoryScan() override { ::ToggleMemoryScan(); }
};
}  // namespace

void WirePanelRequests() {
    static StationRequests requests;
    RegisterPanelRequests(&requests);
}
