#include "app/settings_view_wiring.h"

#include "settings/window_view.h"

void WireSettingsView() { RegisterSettingsView(&TransOpsView()); }
