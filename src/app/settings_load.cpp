#include "app/settings_load.h"
#include "app/settings_window.h"

#include "app/panel_restore.h"
#include "app/settings_checks.h"
#include "base/panel_options.h"
#include "base/settings_store.h"
#include "base/settings_table.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "devices/surface_keys.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "platform/profile.h"

namespace {
void LoadGroup(int reader, const std::string& path) {
    for (const SettingKey& row : SettingsCatalogue()) {
        if (row.reader != reader) continue;
        LoadSettingRow(row, path);
    }
}
}  // namespace

void LoadTraceSettings(const std::string& path) {
    g_trace = ReadIniInt("SPECIAL", "TRACE", "3", path);
    // Opened at once: the first start-up lines are traced too.
    if (g_trace != 0 && !TraceIsOpen()) OpenTraceFile();
}

void LoadSettings(const std::string& path) {
    g_cwd = plat::GetCurrentDir();
    (void)path;
    const std::string file = SettingsPath();
    LoadIniText(file);
    if (IniCacheLength() == 0) {
        WriteTrace(plat::FileExists(file) ? "settings file empty or unreadable, using defaults"
                                          : "no settings file, using defaults");
    }
    LoadGroup(1, file);
    LoadSettings2(file);
}

void LoadSettings2(const std::string& path) {
    LoadGroup(2, path);
    LoadSettings3(path);
}

void LoadSettings3(const std::string& path) {
    LoadGroup(3, path);
    LoadSettings4(path);
}

void LoadSettings4(const std::string& path) {
    LoadGroup(4, path);
    // The checks below depend on the radio as it runs (the Perseus and the
    // IC-7610 entries run as other types, an old generic radio has its own
    // filter range), so the type and address are fixed before them.
    SetupRadioModel(path, g_baud);
    ApplyLoadChecks();
    LoadPodKeys();
    LoadTMate2Keys();
    LoadFlexKeys();
    PushLoadedStateToPanel();
}

void saveoper() {
    const std::string path = SettingsPath();
    RecordSettingsWindow();
    WriteTrace("progress 0 filter 4");
    // The power in use is kept for the input it was set on.
    if (g_accinput)
        g_accpower = g_power;
    else
        g_mikepower = g_power;
    // The folder the settings came from is the only one they go to: if it
    // was moved, they follow it; if it was removed, they are lost, and
    // either way the operator is told.
    std::string now;
    const bool inPlace = plat::WorkingFolderInPlace(&now);
    if (!inPlace && now.empty()) {
        NoteSaveFailure(path, "its folder was removed while qarv ran");
        return;
    }
    plat::ProfileBeginBatch(path);
    for (const SettingKey& row : SettingsCatalogue()) SaveSettingRow(row, path);
    std::string why;
    if (!plat::ProfileEndBatch(&why)) NoteSaveFailure(path, why);
    else if (!inPlace)
        NoteSaveFailure(path, "its folder was moved to " + now + " while qarv ran", SettingsPathFor(now));
}
