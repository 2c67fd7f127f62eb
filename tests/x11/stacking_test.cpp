// The radio window over the maximised main frame, under a real window
// manager: clicks and keys on it never bury it, and they reach the radio.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>

#include "x11/station.h"

using xtest::WaitUntil;
using xtest::XStation;

#define START_OR_SKIP(st)                                                           \
    if (!(st).x.ok()) GTEST_SKIP() << "no X server with a window manager: " << (st).x.why(); \
    ASSERT_TRUE((st).Start())

TEST(X11Stacking, RadioWindowStaysAboveTheMaximisedFrameThroughClicksDragsAndKeys) {
    XStation st;
    START_OR_SKIP(st);
    EXPECT_NE(st.x.Run("xprop -id " + std::to_string(st.frame.id) + " _NET_WM_STATE").find("MAXIMIZED_VERT"),
              std::string::npos);
    EXPECT_NE(st.x.Run("xprop -id " + std::to_string(st.radioWindow.id) + " WM_TRANSIENT_FOR").find("window id"),
              std::string::npos);
    ASSERT_TRUE(st.RadioAboveFrame());

    // A band button: the radio goes to 40 m.
    int x = 0, y = 0;
    ASSERT_TRUE(st.ControlCentre(40024, &x, &y));
    st.x.Click(x, y);
    EXPECT_TRUE(WaitUntil([&] { return st.radio.frequency() >= 7000000 && st.radio.frequency() < 7300000; }, 5000))
        << st.radio.frequency();
    EXPECT_TRUE(st.RadioAboveFrame());

    // A mode button: USB.
    ASSERT_TRUE(st.ControlCentre(101, &x, &y));
    st.x.Click(x, y);
    EXPECT_TRUE(WaitUntil([&] { return st.radio.mode() == 0x01; }, 5000)) << int(st.radio.mode());
    EXPECT_TRUE(st.RadioAboveFrame());

    // The RF gain slider dragged down.
    const int before = st.radio.level(0x02);
    ASSERT_TRUE(st.ControlCentre(2359, &x, &y));
    st.x.Drag(x, y - 40, x, y + 40);
    EXPECT_TRUE(WaitUntil([&] { return st.radio.level(0x02) != before && st.radio.level(0x02) >= 0; }, 5000))
        << before << " " << st.radio.level(0x02);
    EXPECT_TRUE(st.RadioAboveFrame());

    // A click on the frequency readout leaves the keyboard with the tuning:
    // the right arrow typed on the radio window tunes VFO A, and nothing moves.
    ASSERT_TRUE(st.ControlCentre(5159, &x, &y));
    st.x.Click(x, y);
    ASSERT_TRUE(WaitUntil([&] { return st.x.ActiveWindow() == st.radioWindow.id; }, 3000));
    st.radio.settle(1000);
    const long long f = st.radio.frequency();
    const auto stacking = st.x.Stacking();
    const auto places = st.x.Windows();
    st.x.Key("Right");
    EXPECT_TRUE(WaitUntil([&] { return st.radio.frequency() > f; }, 5000)) << f << " " << st.radio.frequency();
    EXPECT_EQ(st.x.Stacking(), stacking);
    const auto after = st.x.Windows();
    ASSERT_EQ(after.size(), places.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].x, places[i].x) << after[i].title;
        EXPECT_EQ(after[i].y, places[i].y) << after[i].title;
    }
    EXPECT_EQ(st.x.ActiveWindow(), st.radioWindow.id);

    // A frequency typed on the keypad there is the main frame's keypad entry.
    st.x.Key("--delay 40 7 period 0 7 4 Return");
    EXPECT_TRUE(WaitUntil([&] { return st.radio.frequency() == 7074000; }, 5000)) << st.radio.frequency();
    EXPECT_TRUE(st.RadioAboveFrame());
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, 5000), 0);
}

TEST(X11Stacking, AnUnmaximisedFrameIsRememberedAtClose) {
    XStation st;
    START_OR_SKIP(st);
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", st.frame.id);
    st.x.Run(std::string("wmctrl -i -r ") + id + " -b remove,maximized_vert,maximized_horz");
    ASSERT_TRUE(WaitUntil([&] { return st.x.Run(std::string("xprop -id ") + id + " _NET_WM_STATE").find("MAXIMIZED") == std::string::npos; },
                          3000));
    EXPECT_TRUE(st.RadioAboveFrame());
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, 5000), 0);
    EXPECT_NE(st.dir.read("qarv.ini").find("MAXIMIZE=FALSE"), std::string::npos);
}

TEST(X11Stacking, OwnedWindowsStayAboveWhenTheFrameItselfIsClicked) {
    XStation st;
    START_OR_SKIP(st);
    st.ChooseMenu(1, 2);  // View > Memories
    xtest::XWindow memories;
    ASSERT_TRUE(WaitUntil([&] { return (memories = st.x.Find("Station Memories")).id != 0 && st.StackIndex(memories.id) >= 0; }, 5000))
        << st.x.Run("wmctrl -lG");
    // A spot of the frame that no other window covers.
    int x = 1580, y = 980;
    for (const xtest::XWindow& w : st.x.Windows())
        if (w.id != st.frame.id && x >= w.x && x < w.x + w.width && y >= w.y && y < w.y + w.height) y = w.y - 10;
    st.x.Click(x, y);
    ASSERT_TRUE(WaitUntil([&] { return st.x.ActiveWindow() == st.frame.id; }, 3000));
    EXPECT_TRUE(st.RadioAboveFrame());
    EXPECT_GT(st.StackIndex(memories.id), st.StackIndex(st.frame.id));
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, 5000), 0);
}

TEST(X11Stacking, AnAlwaysOnTopFrameStillKeepsTheRadioWindowAbove) {
    XStation st("TOP=1\n");
    START_OR_SKIP(st);
    // The first tick makes the frame top-most.
    ASSERT_TRUE(WaitUntil(
        [&] {
            st.frame = st.x.Find("V3.52");
            return st.x.Run("xprop -id " + std::to_string(st.frame.id) + " _NET_WM_STATE").find("STATE_ABOVE") != std::string::npos;
        },
        5000));
    // Its owned radio window follows it to the new window.
    const std::string owner = st.x.Run("xprop -id " + std::to_string(st.radioWindow.id) + " WM_TRANSIENT_FOR");
    ASSERT_NE(owner.find('#'), std::string::npos) << owner;
    EXPECT_EQ(std::strtoul(owner.c_str() + owner.find('#') + 1, nullptr, 16), st.frame.id);
    EXPECT_TRUE(st.RadioAboveFrame());
    int x = 0, y = 0;
    ASSERT_TRUE(st.ControlCentre(101, &x, &y));  // USB
    st.x.Click(x, y);
    EXPECT_TRUE(WaitUntil([&] { return st.radio.mode() == 0x01; }, 5000));
    EXPECT_TRUE(st.RadioAboveFrame());
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, 5000), 0);
}

TEST(X11Stacking, SettingsPagesStillPaintAfterAlwaysOnTopOnAndOff) {
    XStation st("SELECTION=3\n");
    START_OR_SKIP(st);
    st.x.Run("xdotool windowmove --sync " + std::to_string(st.radioWindow.id) + " 1300 0");  // off the settings window
    int ox = 0, oy = 0;
    ASSERT_TRUE(st.x.ClientOrigin(st.frame.id, &ox, &oy));
    // "Menu Down", "Menu Up" and a stretch of the page area of the settings window (at 14,359, scale 1.40).
    auto click = [&](int y) { st.x.Click(ox + 87, oy + y); };
    const std::string crop = "import -window root -crop 420x240+" + std::to_string(ox + 174) + "+" + std::to_string(oy + 369);
    auto page = [&] { return st.x.Run(crop + " -depth 8 rgb:- | md5sum"); };
    auto topMost = [&] {
        st.frame = st.x.Find("V3.52");  // a toolkit may give the frame a new window
        return st.x.Run("xprop -id " + std::to_string(st.frame.id) + " _NET_WM_STATE").find("ABOVE") != std::string::npos;
    };
    // Pages 3 and 4 as painted before the frame changes.
    std::string page3, page4;
    ASSERT_TRUE(WaitUntil([&] { return !(page3 = page()).empty() && page() == page3; }, 5000));
    click(453);
    ASSERT_TRUE(WaitUntil([&] { return (page4 = page()) != page3; }, 5000));
    click(425);
    ASSERT_TRUE(WaitUntil([&] { return page() == page3; }, 5000));
    st.ChooseMenu(1, 6);  // View > Always On Top
    ASSERT_TRUE(WaitUntil(topMost, 5000));
    st.x.Run("xdotool mousemove 700 120");  // a pointer already in place would stall the next click
    st.ChooseMenu(1, 6);
    ASSERT_TRUE(WaitUntil([&] { return !topMost(); }, 5000));
    click(453);
    EXPECT_TRUE(WaitUntil([&] { return page() == page4; }, 5000)) << "page 4 is not painted";
    st.x.Run(crop + " " + std::string(QARV_BUILD_DIR) + "/x11_settings_page4_after_on_top.png");
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, 5000), 0);
}
