#include <gtest/gtest.h>

#include <signal.h>

#include <string>

#include "app/app.h"
#include "app/main_frame.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/types.h"

TEST(Startup, ComPortNumberTakesTheWholeNumber) {
    EXPECT_EQ(ComPortNumber("COM3"), 3);
    EXPECT_EQ(ComPortNumber("COM12"), 12);
    EXPECT_EQ(ComPortNumber("COM0"), 0);
    EXPECT_EQ(ComPortNumber("NONE"), 0);
    EXPECT_EQ(ComPortNumber("COM"), 0);
    EXPECT_EQ(ComPortNumber(nullptr), 0);
}

TEST(Startup, MainLocationParsingAndDesktopCheck) {
    plat::Rect r;
    ASSERT_TRUE(ParseMainLocation("0100 0050 0900 0700", r));
    EXPECT_EQ(r, (plat::Rect{100, 50, 900, 700}));
    ASSERT_TRUE(ParseMainLocation("-1920 0000 -0100 1000", r));  // five characters wide
    EXPECT_EQ(r.left, -1920);
    EXPECT_FALSE(ParseMainLocation("12 x", r));
    const plat::Rect desk{0, 0, 1920, 1080};
    EXPECT_FALSE(MainRectOffDesktop({100, 50, 900, 700}, desk));
    EXPECT_TRUE(MainRectOffDesktop({-100, 50, -95, 700}, desk));
    EXPECT_TRUE(MainRectOffDesktop({100, -11, 900, 700}, desk));
    EXPECT_TRUE(MainRectOffDesktop({100, 1080, 900, 1700}, desk));
    EXPECT_TRUE(MainRectOffDesktop({1911, 0, 2500, 700}, desk));
}

TEST(Startup, MainFrameTitleFontsAndMaximize) {
    TestDir dir;
    dir.write("qarv.ini", "[MAIN WINDOW]\nMAXIMIZE=false\n[RADIO WINDOW]\nMicro Font=20\n");
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(g_mainwin, nullptr);
    EXPECT_EQ(g_mainwin->GetWindowText(), "V3.52  ");
    EXPECT_TRUE(g_mainwin->IsZoomed());  // only the exact text "FALSE" opens it normal
    EXPECT_EQ(g_microfont->Height(), 20);
    EXPECT_EQ(g_microfont->Weight(), plat::FW_BOLD);
    EXPECT_EQ(g_textfont->SystemFace(), "Liberation Sans");
    app.ExitInstance();
}

TEST(Startup, WaitEndsAfterTwoSecondsOrAtAKeyPress) {
    TestDir dir;
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_NE(app.splash(), nullptr);
    EXPECT_TRUE(app.OnIdle(0));
    plat::manual_clock::Advance(2000);
    EXPECT_FALSE(app.OnIdle(0));
    EXPECT_EQ(app.splash(), nullptr);
    app.ExitInstance();

    CApp app2;
    ASSERT_TRUE(app2.InitInstance());
    app2.PreTranslateMessage(plat::WM_KEYDOWN, false);
    EXPECT_EQ(app2.splash(), nullptr);
    app2.ExitInstance();

    // With a display the wait shows a frameless window of its own in the
    // middle of the screen once the main frame stands, gone after 2000 ms.
    CApp::SetSplashWindows(true);
    CApp app3;
    ASSERT_TRUE(app3.InitInstance());
    EXPECT_TRUE(app3.OnIdle(0));
    CSplashScreen* splash = app3.splash();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->IsWindowVisible());
    EXPECT_EQ(splash->GetParent(), nullptr);
    EXPECT_TRUE(plat::SaveWindowImage(splash, std::string(QARV_BUILD_DIR) + "/splash.png"));
    plat::manual_clock::Advance(1999);
    EXPECT_TRUE(app3.OnIdle(0));
    EXPECT_TRUE(splash->IsWindowVisible());
    plat::manual_clock::Advance(1);
    EXPECT_FALSE(app3.OnIdle(0));
    EXPECT_EQ(app3.splash(), nullptr);
    CApp::SetSplashWindows(false);
    app3.ExitInstance();
}

// A termination signal that comes before the main window exists is kept:
// start-up runs on, and the close with its save follows as soon as the
// window is there, with the operator's settings as they were loaded.
TEST(Startup, ASignalBeforeTheMainWindowClosesItOnceItExists) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMEMORY1=KEEP@ME\n");
    plat::app::InstallCloseSignals();
    ASSERT_EQ(::raise(SIGTERM), 0);
    EXPECT_TRUE(plat::app::CloseSignalled());
    EXPECT_EQ(dir.read("qarv.ini"), "[OPERATING STATUS]\nMEMORY1=KEEP@ME\n");  // nothing to save yet
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(g_mainwin, nullptr);
    plat::manual_clock::Advance(1000);
    EXPECT_TRUE(g_mainwin->Closed());
    const std::string ini = dir.read("qarv.ini");
    EXPECT_NE(ini.find("VERSION=V3.52"), std::string::npos);
    EXPECT_NE(ini.find("MEMORY1=KEEP@ME"), std::string::npos);
    app.ExitInstance();
}
