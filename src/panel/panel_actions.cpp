// Radio-window state shared by the panel's command groups.
#include "panel/swl_panel.h"

#include <string>

#include "panel/cw_id.h"
#include "panel/panel_requests.h"
#include "panel/station_caption.h"


int g_tunea = 1;
int g_tuneb = 1;
int g_wheelctrl = 0;
int g_idarmed = 0;
int g_idjustarmed = 0;
int g_idflash = 0;
std::string g_stationcaption;

void CSwlPanel::CloseLayout() {
    if (View()) View()->ShowSaveNotice();
}

void CSwlPanel::ShowPodKnobCaption(const std::string& text) { podKnobCaption = text; }

// The memory buttons: Store, Recall (the station window) and Scan.
bool CSwlPanel::OnMemoryButton(unsigned id) {
    switch (id) {
    case 419: Requests().StoreStationFromPanel(); return true;
    case 420: Requests().ShowStationWindow(); return true;
    case 422: Requests().ToggleMemoryScan(); return true;
    default: return false;
    }
}

// The panel's command groups in turn; the first that knows the id takes it.
bool CSwlPanel::OnPanelCommand(unsigned id) {
    return OnBandCommand(id) || OnModeCommand(id) || OnVfoCommand(id) || OnOffsetCommand(id) ||
           OnFunctionCommand(id) || OnSliderCommand(id) || OnMemoryButton(id);
}
