// The rows of the settings catalogue, in the order saveoper writes them.
#include <array>

#include "app/app.h"
#include "app/main_frame.h"
#include "app/settings_store.h"
#include "app/settings_table.h"
#include "app/trace_log.h"
#include "app/version.h"
#include "devices/cat_out.h"
#include "devices/cw_keyboard.h"

int g_tracecheck = 1;

namespace {
void SaveVersion(const SettingKey& row, const std::string& path) { WriteIniKey(row.section, row.key, kVersionText, path); }
void SaveTrace(const SettingKey& row, const std::string& path) {
    WriteIniKey(row.section, row.key, g_tracecheck ? "3" : "0", path);
}
void LoadTraceCheck(const SettingKey&, const std::string&) { g_tracecheck = g_trace != 0; }

constexpr SettingKey Int(const char* section, const char* key, const char* def, int* v, std::uint8_t reader = 1) {
    return SettingKey{section, key, def, SettingKind::Int, "%d", v, nullptr, nullptr, nullptr, 40, reader};
}
constexpr SettingKey Macro(const char* key, char* v) {
    return SettingKey{"OPERATING STATUS", key, "", SettingKind::Text, nullptr, nullptr, nullptr, nullptr, v, 64, 2, kAtRule};
}
constexpr SettingKey Hook(const char* section, const char* key, SettingHook load, SettingHook save,
                          std::uint8_t reader = 1) {
    return SettingKey{section, key, nullptr, SettingKind::Custom, nullptr, nullptr, nullptr, nullptr, nullptr, 40,
                      reader, 0, nullptr, load, save};
}

const std::array kCatalogue = {
    Hook("OPERATING STATUS", "VERSION", nullptr, SaveVersion),
    Macro("MEMORY1", g_cwmacro[0]),
    Macro("MEMORY2", g_cwmacro[1]),
    Macro("MEMORY3", g_cwmacro[2]),
    Macro("MEMORY4", g_cwmacro[3]),
    Macro("MEMORY5", g_cwmacro[4]),
    Int("OPERATING STATUS", "WAVENODE", "0", &g_wavenode),
    Int("OPERATING STATUS", "TOP", "0", &g_ontop),
    Int("OPERATING STATUS", "NO SCREEN CHECK", "1", &g_noscreencheck),
    Int("OPERATING STATUS", "WL MULTIPLE", "0", &g_wlmultiple),
    Hook("MAIN WINDOW", "LOCATION", nullptr, SaveMainWindowPlace),
    Hook("SPECIAL", "TRACE", LoadTraceCheck, SaveTrace),
    Int("SPECIAL", "TEST", "0", &g_test),
    Int("RADIO WINDOW", "Small Font", "16", &g_smallfontsize),
    Int("RADIO WINDOW", "Micro Font", "14", &g_microfontsize),
    Int("RADIO WINDOW", "Settings Small Font", "16", &g_settingssmallfontsize),
    Int("RADIO WINDOW", "Settings Micro Font", "14", &g_settingsmicrofontsize),
};
}  // namespace

std::span<const SettingKey> SettingsCatalogue() { return kCatalogue; }
