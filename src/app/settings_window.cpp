#include "app/settings_window.h"

#include <cstdio>

#include "app/app.h"
#include "app/app_options.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "app/settings_hooks.h"
#include "base/settings_options.h"
#include "civ/radio_init.h"
#include "settings/settings_pages.h"
#include "settings/trans_ops.h"

namespace {

void BindAppSettings() {
    using settings::AppVar;
    settings::BindAppSetting(AppVar::MuteAlways, &g_mutealways);
    settings::BindAppSetting(AppVar::Local24, &g_local24hour);
    settings::BindAppSetting(AppVar::AutoDst, &g_autodst);
    settings::BindAppSetting(AppVar::UtcHour, &g_utchourcorrection);
    settings::BindAppSetting(AppVar::PcUtc, &g_pcutc);
    settings::BindAppSetting(AppVar::Event, &g_event);
    settings::BindAppSetting(AppVar::FscanIncr, &g_fscanincr);
    settings::BindAppSetting(AppVar::Steppir, &g_steppir);
    settings::BindAppSetting(AppVar::SmallFont, &g_smallfontsize);
    settings::BindAppSetting(AppVar::MicroFont, &g_microfontsize);
    settings::BindAppSetting(AppVar::WlMultiple, &g_wlmultiple);
    settings::BindAppSetting(AppVar::SettingsSmallFont, &g_settingssmallfontsize);
    settings::BindAppSetting(AppVar::SettingsMicroFont, &g_settingsmicrofontsize);
}

// A serial line option or the baud rate changed: the next push reopens the
// port and initialises the radio.
void Reinitialise() {
    g_reinitrequest = 1;
    OnSwl();
}
}  // namespace

void CreateSettingsWindow(CMainWin* frame) {
    BindAppSettings();
    g_settingsreinit = Reinitialise;
    if (g_transops == nullptr) g_transops = new CTransOps;
    const plat::Rect r = PlaceChildWindow({0, 0, 1, 1}, g_txoptionsplace, g_screenlimitx, g_screenlimity);
    // The window brings the settings font itself, grown with its scale, and
    // takes the size its pages need, as far as the screen allows.
    g_transops->Create("Transceiver Settings", plat::WS_CHILD | plat::WS_CLIPSIBLINGS | plat::WS_SYSMENU | plat::WS_BORDER, r, frame, IDW_SETTINGS);
    g_transops->FitWithin(g_screenlimitx, g_screenlimity);
    LoadSettingsControls();
    g_transops->ShowWindow(g_txoptionsvisible ? plat::SW_SHOW : plat::SW_HIDE);
}

void RecordSettingsWindow() {
    if (!g_transops || !g_transops->IsCreated()) return;
    const plat::Rect r = g_transops->GetWindowRect();
    std::snprintf(g_txoptionsplace, sizeof g_txoptionsplace, "%s",
                  NormalisePlace((std::to_string(r.left) + " " + std::to_string(r.top)).c_str()).c_str());
    g_txoptionsvisible = g_transops->IsWindowVisible() ? 1 : 0;
}
