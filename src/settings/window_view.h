// The settings window's answer to what the engine and the devices ask of it
// (base/settings_view.h). Each request does nothing while the window does
// not exist.
#pragma once
#include "base/settings_view.h"

SettingsView& TransOpsView();
