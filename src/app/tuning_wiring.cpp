#include "app/tuning_wiring.h"

#include "civ/tuning_view.h"
#include "panel/panel_tuning_view.h"

void WireTuningView() {
    static PanelTuningView panelView;
    SetTuningView(&panelView);
}
