// Radio-window state shared by the panel's command groups.
#include "panel/swl_panel.h"

#include "memories/memory_windows.h"
#include "memories/station_recall.h"

int g_tunea = 1;
int g_tuneb = 1;
int g_wheelctrl = 0;

void CSwlPanel::CloseLayout() {
    if (View()) View()->ShowSaveNotice();
}

void CSwlPanel::ShowPodKnobCaption(const std::string& text) { podKnobCaption = text; }

// The memory buttons: Store, Recall (the station window) and Scan.
bool CSwlPanel::OnMemoryButton(unsigned id) {
    switch (id) {
    case 419: StoreStationFromPanel(); return true;
    case 420: ShowStationWindow(); return true;
    case 422: ToggleMemoryScan(); return true;
    default: return false;
    }
}

// The panel's command groups in turn; the first that knows the id takes it.
bool CSwlPanel::OnPanelCommand(unsigned id) {
    return OnBandCommand(id) || OnModeCommand(id) || OnVfoCommand(id) || OnOffsetCommand(id) ||
           OnFunctionCommand(id) || OnSliderCommand(id) || OnMemoryButton(id);
}
