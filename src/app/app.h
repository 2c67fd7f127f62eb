// The application object: start-up wait, main frame, automation object.
#pragma once

#include "platform/font.h"
#include "platform/window.h"

class CMainWin;
class CWLInterface;

// The start-up wait. With a display it shows a small frameless window in
// the middle of the screen (the program's name and version) once the main
// frame stands, until the wait ends.
class CSplashScreen : public plat::Window {
public:
    // Creates and shows the window centred on the screen; false when it
    // could not be created.
    bool Show();
    void OnPaint(plat::PaintContext& pc) override;

    static plat::Point Size();

private:
    plat::Font title_, small_;
};

class CApp {
public:
    CApp();
    ~CApp();
    bool InitInstance();
    bool OnIdle(long count);
    void PreTranslateMessage(unsigned msg, bool forSplash);
    int ExitInstance();

    CSplashScreen* splash() const { return splash_; }
    // Whether the wait shows its window: only where someone can see it, so
    // not under the offscreen platform; tests switch it on to look at it.
    static void SetSplashWindows(bool on);
    CMainWin* mainWindow() const { return main_; }

private:
    void EndWait();

    CSplashScreen* splash_ = nullptr;
    unsigned startTick_ = 0;
    CWLInterface* automation_ = nullptr;
    CMainWin* main_ = nullptr;
    bool waitCursor_ = false;
};

// Port number of [INTERFACE] "COMPORT": the whole number after "COM", 0 for
// "COM0", "NONE" or anything that is not a COM port.
int ComPortNumber(const char* name);

extern int g_comportdigit;
extern int g_wlmultiple;
extern unsigned WM_WAVENODE_EXPORT;
extern unsigned WM_WAVENODE_RECEIVE;
