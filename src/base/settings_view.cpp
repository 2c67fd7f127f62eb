#include "base/settings_view.h"

namespace {
SettingsView g_nosettingsview;
SettingsView* g_settingsview = nullptr;
}  // namespace

void RegisterSettingsView(SettingsView* view) { g_settingsview = view; }

SettingsView& SettingsWindow() { return g_settingsview ? *g_settingsview : g_nosettingsview; }
