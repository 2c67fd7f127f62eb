#include "app/main_frame.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "app/settings_store.h"
#include "app/settings_table.h"
#include "app/trace_log.h"
#include "app/version.h"
#include "platform/event_loop.h"
#include "platform/files.h"

plat::Rect g_mainrect{};
int g_noscreencheck = 1;
int g_screenlimitx = 0;
int g_screenlimity = 0;
int g_ontop = 0;
int g_ontoppending = 0;
int g_mainmaximized = 1;

plat::Font* g_textfont = nullptr;
plat::Font* g_boldfont = nullptr;
plat::Font* g_plainfont = nullptr;
plat::Font* g_microfont = nullptr;
plat::Font* g_smallfont = nullptr;
plat::Font* g_settingssmallfont = nullptr;
plat::Font* g_settingsmicrofont = nullptr;
int g_microfontsize = 14;
int g_smallfontsize = 16;
int g_settingssmallfontsize = 16;
int g_settingsmicrofontsize = 14;

CMainWin* g_mainwin = nullptr;

namespace {
plat::Font* MakeFont(int height, int weight) {
    auto* f = new plat::Font;
    f->Create(height, weight, "Arial");
    return f;
}

// Position and size chosen by the system.
constexpr plat::Rect kDefaultRect{};
}  // namespace

bool ParseMainLocation(const std::string& text, plat::Rect& r) {
    std::istringstream in(text);
    int v[4];
    for (int& x : v)
        if (!(in >> x)) return false;
    r = {v[0], v[1], v[2], v[3]};
    return true;
}

bool MainRectOffDesktop(const plat::Rect& r, const plat::Rect& desktop) {
    return r.top < -10 || r.top >= desktop.bottom || (r.left >= 0 && r.left > desktop.right - 10) ||
           (r.left < 0 && r.right - r.left < 10);
}

CMainWin::CMainWin() {
    const std::string path = SettingsPathFor(plat::GetCurrentDir());
    g_textfont = MakeFont(14, plat::FW_NORMAL);
    g_boldfont = MakeFont(12, plat::FW_BOLD);
    g_plainfont = MakeFont(14, plat::FW_DONTCARE);
    g_microfontsize = ReadIniInt("RADIO WINDOW", "Micro Font", "14", path);
    g_smallfontsize = ReadIniInt("RADIO WINDOW", "Small Font", "16", path);
    g_settingssmallfontsize = ReadIniInt("RADIO WINDOW", "Settings Small Font", "16", path);
    g_settingsmicrofontsize = ReadIniInt("RADIO WINDOW", "Settings Micro Font", "14", path);
    g_microfont = MakeFont(g_microfontsize, plat::FW_BOLD);
    g_smallfont = MakeFont(g_smallfontsize, plat::FW_NORMAL);
    g_settingssmallfont = MakeFont(g_settingssmallfontsize, plat::FW_NORMAL);
    g_settingsmicrofont = MakeFont(g_settingsmicrofontsize, plat::FW_BOLD);

    g_noscreencheck = ReadIniInt("OPERATING STATUS", "NO SCREEN CHECK", "1", path);
    std::string loc = ReadIniText("MAIN WINDOW", "LOCATION", "", path);
    g_mainrect = kDefaultRect;
    if (!loc.empty() && !ParseMainLocation(loc, g_mainrect)) g_mainrect = kDefaultRect;
    const plat::Rect desktop = plat::app::DesktopRect();
    g_screenlimitx = desktop.right - 50;
    g_screenlimity = desktop.bottom - 80;
    if (g_noscreencheck == 0 && !(g_mainrect == kDefaultRect) && MainRectOffDesktop(g_mainrect, desktop))
        g_mainrect = kDefaultRect;
    g_ontop = ReadIniInt("OPERATING STATUS", "TOP", "0", path);
    if (g_ontop) g_ontoppending = 1;
    std::string maximize = ReadIniText("MAIN WINDOW", "MAXIMIZE", "TRUE", path);

    Create(kVersionText, plat::WS_OVERLAPPEDWINDOW, g_mainrect, nullptr, 0);
    // Only the exact text "FALSE" opens the window normal.
    g_mainmaximized = maximize != "FALSE";
    ShowWindow(g_mainmaximized ? plat::SW_SHOWMAXIMIZED : plat::SW_SHOWNORMAL);
}

CMainWin::~CMainWin() {
    for (plat::Font** f : {&g_textfont, &g_boldfont, &g_plainfont, &g_microfont, &g_smallfont, &g_settingssmallfont,
                           &g_settingsmicrofont}) {
        delete *f;
        *f = nullptr;
    }
}

int CMainWin::OnCreate() {
    const std::string path = SettingsPathFor(plat::GetCurrentDir());
    // The trace level first, so that every later step is traced.
    LoadTraceSettings(path);
    LoadSettings(path);
    plat::app::InstallCloseSignals(this);
    WriteTrace("OnCreate exit");
    return 0;
}

void CMainWin::OnTimer(unsigned id) {
    if (g_trace) WriteTracef("OnTimer called %u", id);
}

void CMainWin::OnClose() {
    if (closed_) return;
    WriteTrace("calling saveoper");
    saveoper();
    WriteTrace("back from saveoper");
    EndTraceFile();
    closed_ = true;
    DestroyWindow();
    plat::app::Quit(0);
}

bool CMainWin::OnCommand(unsigned, unsigned, plat::LPARAM) { return false; }

plat::LRESULT CMainWin::OnMessage(unsigned, plat::WPARAM, plat::LPARAM) { return 0; }

void SaveMainWindowPlace(const SettingKey&, const std::string& path) {
    plat::Rect r = g_mainwin ? g_mainwin->GetNormalRect() : g_mainrect;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d %04d %04d %04d", r.left, r.top, r.right, r.bottom);
    WriteIniKey("MAIN WINDOW", "LOCATION", buf, path);
    bool maximized = g_mainwin ? g_mainwin->IsZoomed() : g_mainmaximized != 0;
    WriteIniKey("MAIN WINDOW", "MAXIMIZE", maximized ? "TRUE" : "FALSE", path);
}
