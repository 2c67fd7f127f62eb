// The main frame's menu under a real X server and window manager, as an
// operator works it: View > Always On Top, switched on and off again,
// leaves the settings window painting its pages; the box of Help > About
// closes with Enter and with Escape.
#include <gtest/gtest.h>

#include <signal.h>

#include <string>

#include "x11/station.h"

using xtest::WaitUntil;
using xtest::XStation;

namespace {
// The settings window's place in the frame's client area and, inside it,
// the "Menu Down" button and a stretch of the page area (scale 1.40).
constexpr int kSettingsX = 14, kSettingsY = 359;
constexpr int kMenuDownX = 73, kMenuDownY = 94;
constexpr int kPageX = 160, kPageY = 10, kPageW = 420, kPageH = 240;

struct Screen {
    const XStation& st;
    int ox = 0, oy = 0;
    std::string Crop() const {
        return std::to_string(kPageW) + "x" + std::to_string(kPageH) + "+" +
               std::to_string(ox + kSettingsX + kPageX) + "+" + std::to_string(oy + kSettingsY + kPageY);
    }
    // A digest of the page area's pixels as they stand on the screen.
    std::string Page() const { return st.x.Run("import -window root -crop " + Crop() + " -depth 8 rgb:- | md5sum"); }
    void Save(const std::string& name) const {
        st.x.Run("import -window root -crop " + Crop() + " " + std::string(QARV_BUILD_DIR) + "/x11_" + name + ".png");
    }
    void MenuDown() const { st.x.Click(ox + kSettingsX + kMenuDownX, oy + kSettingsY + kMenuDownY); }
    void MenuUp() const { st.x.Click(ox + kSettingsX + kMenuDownX, oy + kSettingsY + kMenuDownY - 28); }
};

// The frame is looked up afresh: a toolkit may give it a new window.
bool Above(const XStation& st) {
    return st.x.Run("xprop -id " + std::to_string(st.x.Find("V3.52").id) + " _NET_WM_STATE").find("STATE_ABOVE") !=
           std::string::npos;
}
}  // namespace

TEST(X11FrameMenus, SettingsPagesPaintAfterAlwaysOnTopOnAndOff) {
    XStation st("SELECTION=3\n");
    if (!st.x.ok()) GTEST_SKIP() << "no X server with a window manager: " << st.x.why();
    if (st.x.Run("command -v import").empty()) GTEST_SKIP() << "no screen grabber (import)";
    ASSERT_TRUE(st.Start());
    // The radio window is moved off the settings window, as an operator drags it.
    st.x.Run("xdotool windowmove " + std::to_string(st.radioWindow.id) + " 1300 0");
    int rx = 0, ry = 0;
    ASSERT_TRUE(WaitUntil([&] { return st.x.ClientOrigin(st.radioWindow.id, &rx, &ry) && rx > 1200; }, 5000));
    Screen screen{st};
    ASSERT_TRUE(st.x.ClientOrigin(st.frame.id, &screen.ox, &screen.oy));

    // Pages 3 and 4 as the window paints them before the frame changes.
    std::string page3;
    ASSERT_TRUE(WaitUntil([&] { return !(page3 = screen.Page()).empty(); }, 5000));
    screen.MenuDown();
    std::string page4;
    ASSERT_TRUE(WaitUntil([&] { return (page4 = screen.Page()) != page3; }, 5000));
    screen.Save("settings_page4_before");
    screen.MenuUp();
    ASSERT_TRUE(WaitUntil([&] { return screen.Page() == page3; }, 5000));

    st.ChooseMenu(1, 6);  // View > Always On Top
    ASSERT_TRUE(WaitUntil([&] { return Above(st); }, 5000));
    st.frame = st.x.Find("V3.52");
    st.x.Run("xdotool mousemove 700 120");  // a pointer already in place would stall the next click
    st.ChooseMenu(1, 6);
    ASSERT_TRUE(WaitUntil([&] { return !Above(st); }, 5000));
    st.frame = st.x.Find("V3.52");
    ASSERT_TRUE(st.x.ClientOrigin(st.frame.id, &screen.ox, &screen.oy));

    // The next page is painted as before.
    screen.MenuDown();
    const bool painted = WaitUntil([&] { return screen.Page() == page4; }, 5000);
    screen.Save("settings_page4_after_on_top");
    EXPECT_TRUE(painted) << "the page area still shows " << (screen.Page() == page3 ? "page 3" : "something else");
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, 5000), 0);
    EXPECT_NE(st.dir.read("qarv.ini").find("SELECTION=4"), std::string::npos);
}

TEST(X11FrameMenus, TheAboutBoxClosesWithEnterAndEscape) {
    XStation st;
    if (!st.x.ok()) GTEST_SKIP() << "no X server with a window manager: " << st.x.why();
    ASSERT_TRUE(st.Start());
    auto open = [&] { return st.x.Find("About qarv").id != 0; };
    for (const char* key : {"Escape", "Return"}) {
        st.ChooseMenu(2, 2);  // Help > About
        ASSERT_TRUE(WaitUntil(open, 5000)) << st.x.Run("wmctrl -lG");
        st.x.Key(key);
        EXPECT_TRUE(WaitUntil([&] { return !open(); }, 5000)) << key;
        st.x.Run("xdotool mousemove 700 120");  // the next click comes from elsewhere
    }
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, 5000), 0);
}
