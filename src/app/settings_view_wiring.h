// Registers the "Transceiver Settings" window as what the engine and the
// devices show their changes on (base/settings_view.h). Called once at
// start-up.
#pragma once

void WireSettingsView();
