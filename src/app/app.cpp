#include "app/app.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/main_frame.h"
#include "base/device_options.h"
#include "base/settings_store.h"
#include "base/version.h"
#include "devices/program_links.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "platform/message_box.h"
#include "platform/paint.h"
#include "platform/profile.h"
#include "platform/types.h"
#include "platform/window.h"

int g_comportdigit = 0;
int g_wlmultiple = 0;
unsigned WM_WAVENODE_EXPORT = 0;
unsigned WM_WAVENODE_RECEIVE = 0;

int ComPortNumber(const char* name) {
    if (name == nullptr || std::strncmp(name, "COM", 3) != 0) return 0;
    const char* p = name + 3;
    if (!std::isdigit(static_cast<unsigned char>(*p))) return 0;
    long n = std::strtol(p, nullptr, 10);
    return n > 0 && n < 1000 ? int(n) : 0;
}

namespace {
// This run holds its working folder.
bool g_folderheld = false;

// One copy per working folder: a second one would read the same settings
// and overwrite the first one's changes at close (and share its trace and
// temporary files). Folders of their own run side by side.
bool TakeWorkingFolder(const std::string& dir) {
    std::string why;
    plat::FolderLock got = plat::LockFolder(dir, &why);
    std::string heldDir = dir, unlockedDir = got == plat::FolderLock::Unlocked ? dir : "";
    // A settings file linked in from another folder is that folder's file
    // too: a copy running there would write it as well.
    std::string real;
    const std::string ini = SettingsPathFor(dir);
    if (got != plat::FolderLock::Held && plat::ResolveLinks(ini, real) && real != ini) {
        const std::size_t slash = real.rfind('/');
        std::error_code ec;
        const std::string linked = slash == std::string::npos ? dir : slash == 0 ? "/" : real.substr(0, slash);
        const std::string canonical = std::filesystem::weakly_canonical(linked, ec).string();
        const std::string realDir = ec || canonical.empty() ? linked : canonical;
        std::string whyAlso;
        const plat::FolderLock also = plat::LockAlsoFolder(realDir, &whyAlso);
        if (also == plat::FolderLock::Held) got = also, heldDir = realDir;
        else if (also == plat::FolderLock::Unlocked && unlockedDir.empty()) {
            got = also, unlockedDir = realDir + " (where " + ini + " leads)";
            why = whyAlso;
        }
    }
    if (got == plat::FolderLock::Unlocked) {
        const std::string where = unlockedDir + (why.empty() ? "" : " (" + why + ")");
        std::fprintf(stderr, "qarv: no lock can be taken on the folder %s: a second copy started there would not be stopped\n",
                     where.c_str());
        std::fflush(stderr);
    }
    if (got != plat::FolderLock::Held) {
        g_folderheld = true;
        return true;
    }
    const std::string leads = heldDir == dir ? "" : " (where " + ini + " leads)";
    const std::string text = "Another copy of qarv is already running in the folder " + heldDir + leads +
                             ".\nIts settings would be overwritten: use that copy, or start this one in a "
                             "folder of its own.";
    std::fprintf(stderr, "qarv: another copy is already running in %s%s; this one does not start\n", heldDir.c_str(),
                 leads.c_str());
    std::fflush(stderr);
    if (!plat::app::Headless()) plat::MessageBox(nullptr, text, "qarv", plat::MB_OK | plat::MB_ICONSTOP);
    return false;
}

void ReleaseWorkingFolder() {
    if (!g_folderheld) return;
    g_folderheld = false;
    plat::UnlockFolder();
}

constexpr unsigned kWaitMs = 2000;  // the start-up wait
// -1: a splash window wherever there is a display; 0 or 1 as set.
int g_splashwindows = -1;

bool SplashWindows() { return g_splashwindows < 0 ? !plat::app::Headless() : g_splashwindows != 0; }

// The version text without the blanks the title bar keeps after it.
std::string VersionLine() {
    std::string v = kVersionText;
    while (!v.empty() && v.back() == ' ') v.pop_back();
    return "Version " + (v.size() > 1 && v[0] == 'V' ? v.substr(1) : v);
}
}  // namespace

plat::Point CSplashScreen::Size() { return {360, 150}; }

bool CSplashScreen::Show() {
    const plat::Rect desk = plat::app::DesktopRect();
    const plat::Point size = Size();
    const int x = desk.left + (desk.width() - size.x) / 2, y = desk.top + (desk.height() - size.y) / 2;
    if (!Create("QARV", plat::WS_POPUP, {x, y, x + size.x, y + size.y}, nullptr, 0)) return false;
    ShowWindow(plat::SW_SHOWNORMAL);
    return true;
}

void CSplashScreen::OnPaint(plat::PaintContext& pc) {
    if (!title_.IsCreated()) title_.Create(44, plat::FW_BOLD, "Arial");
    if (!small_.IsCreated()) small_.Create(15, plat::FW_NORMAL, "Arial");
    const plat::Rect r = GetClientRect();
    pc.FillRect(r, plat::RGB(0, 0, 128));
    pc.Rectangle({r.left + 4, r.top + 4, r.right - 4, r.bottom - 4}, plat::RGB(255, 255, 255), 2, plat::RGB(0, 0, 128));
    pc.SetBkMode(plat::TRANSPARENT);
    pc.SetTextColour(plat::RGB(255, 255, 255));
    pc.SetFont(&title_);
    pc.DrawText("QARV", {r.left, r.top + 14, r.right, r.top + 74}, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
    pc.SetFont(&small_);
    pc.SetTextColour(plat::RGB(255, 255, 0));
    pc.DrawText("Station control for CI-V transceivers", {r.left, r.top + 78, r.right, r.top + 98},
                plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
    pc.SetTextColour(plat::RGB(255, 255, 255));
    pc.DrawText(VersionLine(), {r.left, r.top + 104, r.right, r.top + 124},
                plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
}

void CApp::SetSplashWindows(bool on) { g_splashwindows = on ? 1 : 0; }

CApp::CApp() = default;

CApp::~CApp() {
    ReleaseWorkingFolder();
    delete splash_;
    delete automation_;
    delete main_;
}

bool CApp::InitInstance() {
    // Before anything touches the folder's files.
    if (!TakeWorkingFolder(plat::GetCurrentDir())) return false;
    // 1. Start-up wait.
    plat::app::SetWaitCursor(true);
    waitCursor_ = true;
    splash_ = new CSplashScreen;
    startTick_ = plat::GetTickCount();
    // A key or click ends the wait from the start, also on a box that
    // start-up shows before the main frame stands.
    plat::app::SetIdleHandler([this] { return OnIdle(0); });
    plat::app::SetInputHook([this](unsigned msg) { PreTranslateMessage(msg, false); });
    // 2. There is no separate object-library initialisation to fail here.
    // From the first file on: a FIFO or a device where a file belongs is told.
    plat::SetNotRegularReporter(TellNotRegularFile);
    // Temporary files of saves cut short by a kill are of no use any more.
    plat::RemoveStaleTempFiles(SettingsPathFor(plat::GetCurrentDir()));
    plat::RemoveStaleTempFilesIn(plat::GetCurrentDir());
    // 3. The main frame; its OnCreate starts every subsystem.
    main_ = new CMainWin;
    g_mainwin = main_;
    // 4-7.
    const std::string path = SettingsPathFor(plat::GetCurrentDir());
    automation_ = new CWLInterface(nullptr);
    std::string port = ReadIniText("INTERFACE", "COMPORT", "COM1", path, 40);
    g_comportdigit = ComPortNumber(port.c_str());
    g_wlmultiple = ReadIniInt("OPERATING STATUS", "WL MULTIPLE", "0", path);
    if (g_wlmultiple) automation_->RegisterForPort(g_comportdigit);
    g_wavenode = ReadIniInt("OPERATING STATUS", "WAVENODE", "0", path);
    if (g_wavenode) {
        WM_WAVENODE_EXPORT = plat::RegisterWindowMessage("WaveNode RegisterWindowMessage Export Messages");
        WM_WAVENODE_RECEIVE = plat::RegisterWindowMessage("WaveNode RegisterWindowMessage Receive Messages");
    }
    return true;
}

void CApp::EndWait() {
    if (splash_) splash_->DestroyWindow();
    delete splash_;
    splash_ = nullptr;
    if (waitCursor_) plat::app::SetWaitCursor(false);
    waitCursor_ = false;
}

bool CApp::OnIdle(long) {
    if (splash_ == nullptr) return false;
    if (plat::GetTickCount() - startTick_ < kWaitMs) {
        // The window comes once the main frame stands, so that a box of
        // start-up itself (a port that cannot be opened) is never under it.
        if (main_ && !splash_->IsCreated() && SplashWindows()) splash_->Show();
        return true;
    }
    EndWait();
    if (main_ && !main_->IsWindowVisible()) main_->ShowWindow(plat::SW_SHOW);
    return false;
}

void CApp::PreTranslateMessage(unsigned msg, bool forSplash) {
    if (splash_ == nullptr) return;
    switch (msg) {
    case plat::WM_KEYDOWN:
    case plat::WM_SYSKEYDOWN:
    case plat::WM_LBUTTONDOWN:
    case plat::WM_RBUTTONDOWN:
    case plat::WM_MBUTTONDOWN:
        if (forSplash) startTick_ -= kWaitMs;  // the next idle call ends the wait
        else EndWait();
        break;
    default: break;
    }
}

int CApp::ExitInstance() {
    plat::app::SetIdleHandler(nullptr);
    plat::app::SetInputHook(nullptr);
    delete automation_;
    automation_ = nullptr;
    if (g_mainwin == main_) g_mainwin = nullptr;
    delete main_;
    main_ = nullptr;
    ReleaseWorkingFolder();
    return 0;
}
