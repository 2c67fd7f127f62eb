// The main frame holds every window of the program but its dialogs, under a
// real window manager and without one: the menus and the radio window's
// controls answer clicks, the radio window drags inside the frame, and the
// keys typed there tune.
#include <gtest/gtest.h>

#include <signal.h>

#include <string>

#include "x11/station.h"

using xtest::WaitUntil;
using xtest::XStation;

// The X server and openbox come with scripts/install-deps: without them the
// test fails, it never skips.
#define START_OR_FAIL(st)                                            \
    ASSERT_TRUE((st).x.ok()) << "no X server: " << (st).x.why(); \
    ASSERT_TRUE((st).Start())

namespace {
// A click on "File" opens its menu: one more window on the screen, gone
// again with a second click.
::testing::AssertionResult FileMenuOpens(const XStation& st) {
    int ox = 0, oy = 0;
    if (!st.x.ClientOrigin(st.frame.id, &ox, &oy)) return ::testing::AssertionFailure() << "no frame";
    const std::size_t before = st.TopWindows().size();
    st.x.Click(ox + 15, oy + 10);
    if (!WaitUntil([&] { return st.TopWindows().size() == before + 1; }))
        return ::testing::AssertionFailure() << "no menu: " << st.TopWindows().size() << " windows";
    st.x.Click(ox + 15, oy + 10);
    if (!WaitUntil([&] { return st.TopWindows().size() == before; }))
        return ::testing::AssertionFailure() << "the menu stays";
    return ::testing::AssertionSuccess();
}

// A band button, a mode button and the RF gain slider of the radio window.
void RadioControlsReachTheRadio(XStation& st) {
    int x = 0, y = 0;
    ASSERT_TRUE(st.ControlCentre(40024, &x, &y));
    st.x.Click(x, y);
    EXPECT_TRUE(WaitUntil([&] { return st.radio.frequency() >= 7000000 && st.radio.frequency() < 7300000; }))
        << st.radio.frequency();
    ASSERT_TRUE(st.ControlCentre(101, &x, &y));
    st.x.Click(x, y);
    EXPECT_TRUE(WaitUntil([&] { return st.radio.mode() == 0x01; })) << int(st.radio.mode());
    const int before = st.radio.level(0x02);
    ASSERT_TRUE(st.ControlCentre(2359, &x, &y));
    st.x.Drag(x, y - 40, x, y + 40);
    EXPECT_TRUE(WaitUntil([&] { return st.radio.level(0x02) != before && st.radio.level(0x02) >= 0; }))
        << before << " " << st.radio.level(0x02);
}

}  // namespace

TEST(X11Frame, UnderAWindowManagerTheFrameIsTheOneWindowAndEverythingInItAnswers) {
    XStation st;
    START_OR_FAIL(st);
    EXPECT_NE(st.x.Run("xprop -id " + std::to_string(st.frame.id) + " _NET_WM_STATE").find("MAXIMIZED_VERT"),
              std::string::npos);
    EXPECT_EQ(st.TopWindows().size(), 1u) << st.x.Run("wmctrl -lG");
    EXPECT_TRUE(FileMenuOpens(st));
    RadioControlsReachTheRadio(st);

    // A click on the frequency readout leaves the keyboard with the tuning:
    // the right arrow tunes VFO A, and nothing moves.
    int x = 0, y = 0;
    ASSERT_TRUE(st.ControlCentre(5159, &x, &y));
    st.x.Click(x, y);
    st.radio.settle(1000);
    const long long f = st.radio.frequency();
    st.x.Key("Right");
    EXPECT_TRUE(WaitUntil([&] { return st.radio.frequency() > f; })) << f << " " << st.radio.frequency();
    st.x.Key("--delay 40 7 period 0 7 4 Return");
    EXPECT_TRUE(WaitUntil([&] { return st.radio.frequency() == 7074000; })) << st.radio.frequency();

    // View > Memories opens the station window inside the frame (saved
    // visible at the close), no window of its own.
    st.ChooseMenu(1, 2);

    // The radio window dragged by its body moves inside the frame, and its
    // place is saved.
    const int x0 = st.radioX, y0 = st.radioY;
    st.x.Drag(x0 + 2, y0 + 2, x0 + 62, y0 + 42);
    EXPECT_TRUE(WaitUntil([&] { return st.FindRadioWindow() && st.radioX == x0 + 60 && st.radioY == y0 + 40; }))
        << st.radioX << "," << st.radioY << " from " << x0 << "," << y0;
    // Dragged far up, it stops under the control bar: the bars stay free.
    st.x.Drag(st.radioX + 2, st.radioY + 2, st.radioX + 2, 5);
    EXPECT_TRUE(WaitUntil([&] { return st.FindRadioWindow() && st.radioY == y0 - XStation::kRadioTop; }))
        << st.radioY << " " << y0;
    EXPECT_TRUE(FileMenuOpens(st));
    st.x.Screenshot(std::string(QARV_BUILD_DIR) + "/x11-frame-openbox.png");
    EXPECT_EQ(st.x.Find("Station Memories").id, 0u);
    EXPECT_EQ(st.TopWindows().size(), 1u);
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, xtest::kBoundMs), 0);
    EXPECT_EQ(st.Saved("RADIO WINDOW", "LOCATION"), "0180 0000");
    EXPECT_EQ(st.Saved("MEMORY WINDOW", "VISIBLE"), "TRUE");
}

TEST(X11Frame, WithoutAWindowManagerTheFrameHoldsTheRadioWindowToo) {
    // Nothing maximises the frame here: without a saved place it takes the
    // screen by itself, and the radio window's far controls are on it.
    XStation st("", false);
    START_OR_FAIL(st);
    EXPECT_EQ(st.TopWindows().size(), 1u);
    EXPECT_TRUE(FileMenuOpens(st));
    RadioControlsReachTheRadio(st);
    // The Hot Keys box is a window of its own above the frame; the frame
    // stays the program's only other one.
    st.x.Key("alt+h");
    EXPECT_TRUE(WaitUntil([&] { return st.TopWindows().size() == 2; }));
    st.x.Key("Return");
    EXPECT_TRUE(WaitUntil([&] { return st.TopWindows().size() == 1; }));
    st.x.Screenshot(std::string(QARV_BUILD_DIR) + "/x11-frame-bare.png");
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, xtest::kBoundMs), 0);
}

TEST(X11Frame, AnUnmaximisedFrameIsRememberedAtClose) {
    XStation st;
    START_OR_FAIL(st);
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", st.frame.id);
    st.x.Run(std::string("wmctrl -i -r ") + id + " -b remove,maximized_vert,maximized_horz");
    ASSERT_TRUE(WaitUntil([&] { return st.x.Run(std::string("xprop -id ") + id + " _NET_WM_STATE").find("MAXIMIZED") == std::string::npos; }));
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, xtest::kBoundMs), 0);
    EXPECT_NE(st.dir.read("qarv.ini").find("MAXIMIZE=FALSE"), std::string::npos);
}

TEST(X11Frame, AnAlwaysOnTopFrameStillTakesTheRadioWindowsClicks) {
    XStation st("TOP=1\n");
    START_OR_FAIL(st);
    // The first tick makes the frame top-most; the toolkit gives it a new
    // window for that.
    ASSERT_TRUE(WaitUntil(
        [&] {
            st.frame = st.x.Find("V3.52");
            return st.x.Run("xprop -id " + std::to_string(st.frame.id) + " _NET_WM_STATE").find("STATE_ABOVE") != std::string::npos;
        }));
    EXPECT_EQ(st.TopWindows().size(), 1u);
    ASSERT_TRUE(WaitUntil([&] { return st.FindRadioWindow(); }));
    int x = 0, y = 0;
    ASSERT_TRUE(st.ControlCentre(101, &x, &y));  // USB
    st.x.Click(x, y);
    EXPECT_TRUE(WaitUntil([&] { return st.radio.mode() == 0x01; }));
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, xtest::kBoundMs), 0);
}

TEST(X11Frame, AtFirstStartOnCommonScreensTheBarsStayFreeAndTheMenuOpens) {
    for (const char* screen : {"1366x768", "1920x1080"}) {
        SCOPED_TRACE(screen);
        XStation st("", true, screen);
        // No window places yet: where the program puts its windows itself.
        std::string ini = st.dir.read("qarv.ini");
        ini.erase(ini.find("LOCATION=0120 0200\n"), 19);
        st.dir.write("qarv.ini", ini);
        ASSERT_TRUE(st.x.ok()) << "no X server: " << st.x.why();
        st.radioX = 1;  // the column search starts at the frame's left
        ASSERT_TRUE(st.Start());
        EXPECT_EQ(st.TopWindows().size(), 1u);
        // The radio window starts right under the control bar.
        int ox = 0, oy = 0;
        ASSERT_TRUE(st.x.ClientOrigin(st.frame.id, &ox, &oy));
        EXPECT_EQ(st.radioX, ox);
        EXPECT_GT(st.radioY, oy + 40);
        EXPECT_LT(st.radioY, oy + 80);
        EXPECT_TRUE(FileMenuOpens(st));
        st.x.Screenshot(std::string(QARV_BUILD_DIR) + "/x11-frame-" + screen + ".png");
        EXPECT_EQ(st.qarv->StopWith(SIGTERM, xtest::kBoundMs), 0);
    }
}

TEST(X11Frame, SettingsPagesStillPaintAfterAlwaysOnTopOnAndOff) {
    XStation st("SELECTION=3\n");
    START_OR_FAIL(st);
    int ox = 0, oy = 0;
    ASSERT_TRUE(st.x.ClientOrigin(st.frame.id, &ox, &oy));
    // The settings window sits below the radio window; its page area is the
    // yellow one, "Menu Up" and "Menu Down" left of it (scale 1.40).
    int px = 0, py = 0, lx = 0, ly = 0;
    ASSERT_TRUE(st.x.FindColour(ox + 250, oy + 650, 330, true, 0xFFFF00, &px, &py)) << "no settings page";
    ASSERT_TRUE(st.x.FindColour(ox, py + 4, 260, false, 0xFFFF00, &lx, &ly));
    auto click = [&](int dy) { st.x.Click(lx - 75, py + dy); };
    auto page = [&] { return st.x.Pixels(lx + 20, py + 8, 420, 110); };
    auto topMost = [&] {
        return st.x.Run("xprop -id " + std::to_string(st.frame.id) + " _NET_WM_STATE").find("ABOVE") != std::string::npos;
    };
    // Pages 3 and 4 as painted before the frame changes.
    std::string page3, page4;
    ASSERT_TRUE(WaitUntil([&] { return !(page3 = page()).empty() && page() == page3; }));
    click(86);
    ASSERT_TRUE(WaitUntil([&] { return (page4 = page()) != page3; }));
    click(58);
    ASSERT_TRUE(WaitUntil([&] { return page() == page3; }));
    st.ChooseMenu(1, 6);  // View > Always On Top
    ASSERT_TRUE(WaitUntil(topMost));
    st.x.Run("xdotool mousemove 700 120");  // a pointer already in place would stall the next click
    st.ChooseMenu(1, 6);
    ASSERT_TRUE(WaitUntil([&] { return !topMost(); }));
    click(86);
    EXPECT_TRUE(WaitUntil([&] { return page() == page4; })) << "page 4 is not painted";
    st.x.Screenshot(std::string(QARV_BUILD_DIR) + "/x11_settings_page4_after_on_top.png", lx + 20, py + 8, 420, 110);
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, xtest::kBoundMs), 0);
}
