// The main frame: owner of the shared fonts and of every child window, the
// target of the timers that drive the program, and the close sequence.
#pragma once
#include <string>

#include "platform/font.h"
#include "platform/types.h"
#include "platform/window.h"

// Placement of the main frame.
extern plat::Rect g_mainrect;
extern int g_noscreencheck;
extern int g_screenlimitx;
extern int g_screenlimity;
extern int g_ontop;
extern int g_ontoppending;
// Set when the main frame opens maximised ([MAIN WINDOW] "MAXIMIZE").
extern int g_mainmaximized;

// Shared fonts, created by the main frame's constructor.
extern plat::Font* g_textfont;
extern plat::Font* g_boldfont;
extern plat::Font* g_plainfont;
extern plat::Font* g_microfont;
extern plat::Font* g_smallfont;
extern plat::Font* g_settingssmallfont;
extern plat::Font* g_settingsmicrofont;
// Their configured heights, saved back by the settings store.
extern int g_microfontsize;
extern int g_smallfontsize;
extern int g_settingssmallfontsize;
extern int g_settingsmicrofontsize;

// Accelerator table of the main frame.
constexpr int IDR_ACCELERATORS = 601;

class CMainWin : public plat::Window {
public:
    CMainWin();
    ~CMainWin() override;

    int OnCreate() override;
    void OnTimer(unsigned id) override;
    void OnClose() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam) override;

    // True once the close sequence has finished and the loop may end.
    bool Closed() const { return closed_; }

private:
    bool closed_ = false;
};

extern CMainWin* g_mainwin;

// Parses "%04d %04d %04d %04d" (any blanks between the numbers) into r;
// false when the text does not hold four numbers.
bool ParseMainLocation(const std::string& text, plat::Rect& r);
// The desktop check of the constructor: true when the saved rectangle must be
// replaced by the default one.
bool MainRectOffDesktop(const plat::Rect& r, const plat::Rect& desktop);

// Save hooks of the window-place keys.
struct SettingKey;
void SaveMainWindowPlace(const SettingKey& row, const std::string& path);
