// The application object: start-up wait, main frame, automation object.
#pragma once

class CMainWin;
class CWLInterface;

// Start-up wait object; it has no window of its own.
class CSplashScreen {};

class CApp {
public:
    CApp();
    ~CApp();
    bool InitInstance();
    bool OnIdle(long count);
    void PreTranslateMessage(unsigned msg, bool forSplash);
    int ExitInstance();

    CSplashScreen* splash() const { return splash_; }
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
