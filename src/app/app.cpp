#include "app/app.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/main_frame.h"
#include "base/device_options.h"
#include "base/settings_store.h"
#include "devices/program_links.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/folder_lock.h"
#include "platform/message_box.h"
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
    if (plat::LockFolder(dir) != plat::FolderLock::Held) {
        g_folderheld = true;
        return true;
    }
    const std::string text = "Another copy of qarv is already running in the folder " + dir +
                             ".\nIts settings would be overwritten: use that copy, or start this one in a "
                             "folder of its own.";
    std::fprintf(stderr, "qarv: another copy is already running in %s; this one does not start\n", dir.c_str());
    std::fflush(stderr);
    if (!plat::app::Headless()) plat::MessageBox(nullptr, text, "qarv", plat::MB_OK | plat::MB_ICONSTOP);
    return false;
}

void ReleaseWorkingFolder() {
    if (!g_folderheld) return;
    g_folderheld = false;
    plat::UnlockFolder();
}
}  // namespace

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
    // 2. There is no separate object-library initialisation to fail here.
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
    plat::app::SetIdleHandler([this] { return OnIdle(0); });
    plat::app::SetInputHook([this](unsigned msg) { PreTranslateMessage(msg, false); });
    return true;
}

void CApp::EndWait() {
    delete splash_;
    splash_ = nullptr;
    if (waitCursor_) plat::app::SetWaitCursor(false);
    waitCursor_ = false;
}

bool CApp::OnIdle(long) {
    if (splash_ == nullptr) return false;
    if (plat::GetTickCount() - startTick_ < 2000) return true;
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
        if (forSplash) startTick_ -= 2000;  // the next idle call ends the wait
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
