// Where the windows of the frame show on the screens operators have, under
// openbox and without a window manager: the CW keyboard opened by Alt+K
// covers no other window; the radio window shown again comes back at its
// own place and the panel shown there meanwhile moves aside; the settings
// window and Mirror Control dragged to the bottom of the client area are
// there again after a restart.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <string>

#include "panel/radio_layout.h"
#include "x11/station.h"

using xtest::WaitUntil;
using xtest::XStation;

namespace {
struct Screen {
    const char* size;
    int width, height;
};
constexpr Screen kScreens[] = {{"1366x768", 1366, 768}, {"1920x1080", 1920, 1080}};

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Meets(const Box& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

// The radio window on the screen at scale 1.4.
Box RadioBox(const XStation& st) {
    const plat::Rect r = radio_layout::WindowRect(1.4f, 1.4f);
    return {st.radioX, st.radioY, st.radioX + r.width(), st.radioY + r.height()};
}

// The screen point of the frame's client-area pixel (0, 0): the radio
// window stands at the place its settings give.
void Origin(const XStation& st, int* x, int* y) {
    *x = st.radioX - XStation::kRadioLeft;
    *y = st.radioY - XStation::kRadioTop;
}

bool ReadPlace(const std::string& place, int* x, int* y) { return std::sscanf(place.c_str(), "%d %d", x, y) == 2; }

std::string Shot(const std::string& name, const Screen& s, bool wm) {
    return std::string(QARV_BUILD_DIR) + "/x11-" + name + "-" + s.size + (wm ? "-openbox" : "-bare") + ".png";
}

// The CW keyboard's display (here "LO PURPLE") and its face, at scale 1.4.
constexpr unsigned kCwDisplay = 0xC000C0, kCwFace = 0xD4D0C8;
constexpr int kCwWidth = 728, kCwHeight = 350;
constexpr int kCwDisplayLeft = 5, kCwDisplayTop = 39, kCwDisplayWidth = 717, kCwDisplayHeight = 67;

// Finds the keyboard by its display; its window's corner on the screen.
bool FindCwKeyboard(const XStation& st, const Screen& s, int* kx, int* ky) {
    for (int column = 10; column < s.width; column += 300) {
        int x = 0, y = 0, lx = 0, ly = 0, tx = 0, ty = 0;
        if (!st.x.FindColour(column, 0, s.height, true, kCwDisplay, &x, &y)) continue;
        if (!st.x.FindColour(0, y, x + 1, false, kCwDisplay, &lx, &ly)) continue;
        if (!st.x.FindColour(lx, 0, y + 1, true, kCwDisplay, &tx, &ty)) continue;
        *kx = lx - kCwDisplayLeft;
        *ky = ty - kCwDisplayTop;
        return true;
    }
    return false;
}

void CwKeyboardShowsWhole(const Screen& s, bool wm) {
    SCOPED_TRACE(std::string(s.size) + (wm ? " openbox" : " bare"));
    XStation st("", wm, s.size);
    // The keyboard's display in a colour nothing else on the screen has.
    std::string ini = st.dir.read("qarv.ini");
    ini.replace(ini.find("[RADIO WINDOW]\n"), 15, "[RADIO WINDOW]\nCW BACKGROUND COLOR=LO PURPLE\n");
    st.dir.write("qarv.ini", ini);
    st.radio.setMode(0x03, 0x01);  // CW: Alt+K opens the keyboard
    ASSERT_TRUE(st.x.ok()) << "no X server: " << st.x.why();
    ASSERT_TRUE(st.Start());
    st.x.Key("alt+k");
    int kx = 0, ky = 0;
    ASSERT_TRUE(WaitUntil([&] { return FindCwKeyboard(st, s, &kx, &ky); })) << "no CW keyboard on the screen";
    st.x.Screenshot(Shot("cw-keyboard", s, wm));
    // Whole on the screen (where the client area has no room, it scrolled
    // to it), and nothing lies on it: its display and its four corners show.
    EXPECT_LE(kx + kCwWidth, s.width);
    EXPECT_LE(ky + kCwHeight, s.height);
    int fx = 0, fy = 0;
    EXPECT_TRUE(st.x.FindColour(kx + kCwDisplayLeft, ky + kCwDisplayTop + kCwDisplayHeight - 1, kCwDisplayWidth, false,
                                kCwDisplay, &fx, &fy) && fx == kx + kCwDisplayLeft);
    for (const auto& [cx, cy] : {std::pair{1, 1}, std::pair{kCwWidth - 2, 1}, std::pair{1, kCwHeight - 2},
                                 std::pair{kCwWidth - 2, kCwHeight - 2}})
        EXPECT_TRUE(st.x.FindColour(kx + cx, ky + cy, 1, false, kCwFace, &fx, &fy)) << "corner " << cx << "," << cy;
    // Off the radio window, in the client area's pixels.
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, xtest::kBoundMs), 0);
    int cx = 0, cy = 0;
    cx = std::atoi(st.Saved("OPERATING STATUS", "CWLEFT").c_str());
    cy = std::atoi(st.Saved("OPERATING STATUS", "CWTOP").c_str());
    const plat::Rect r = radio_layout::WindowRect(1.4f, 1.4f);
    const Box radio{XStation::kRadioLeft, XStation::kRadioTop, XStation::kRadioLeft + r.width(),
                    XStation::kRadioTop + r.height()};
    EXPECT_FALSE((Box{cx, cy, cx + kCwWidth, cy + kCwHeight}.Meets(radio))) << "keyboard at " << cx << "," << cy;
}

void RadioWindowComesBack(const Screen& s, bool wm) {
    SCOPED_TRACE(std::string(s.size) + (wm ? " openbox" : " bare"));
    XStation st("", wm, s.size);
    ASSERT_TRUE(st.x.ok()) << "no X server: " << st.x.why();
    ASSERT_TRUE(st.Start());
    const int x0 = st.radioX, y0 = st.radioY;
    // View > Radio: the first brings it to the top, the second hides it.
    st.ChooseMenu(1, 0);
    st.x.Run("xdotool mousemove 5 5");
    st.ChooseMenu(1, 0);
    ASSERT_TRUE(WaitUntil([&] { return !st.FindRadioWindow(); })) << "the radio window stays";
    st.x.Run("xdotool mousemove 5 5");
    st.ChooseMenu(1, 2);  // View > Memories opens on its empty place
    st.x.Run("xdotool mousemove 5 5");
    st.ChooseMenu(1, 0);  // View > Radio
    EXPECT_TRUE(WaitUntil([&] { return st.FindRadioWindow() && st.radioX == x0 && st.radioY == y0; }))
        << "radio window at " << st.radioX << "," << st.radioY << ", was at " << x0 << "," << y0;
    st.radioX = x0;
    st.radioY = y0;
    st.x.Screenshot(Shot("radio-back", s, wm));
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, xtest::kBoundMs), 0);
    // The station window (296 x 278 at scale 1.4) went aside, on the screen.
    EXPECT_EQ(st.Saved("MEMORY WINDOW", "VISIBLE"), "TRUE");
    int mx = 0, my = 0, ox = 0, oy = 0;
    ASSERT_TRUE(ReadPlace(st.Saved("MEMORY WINDOW", "LOCATION"), &mx, &my));
    Origin(st, &ox, &oy);
    const Box memories{ox + mx, oy + my, ox + mx + 414, oy + my + 389};
    EXPECT_FALSE(memories.Meets(RadioBox(st))) << "station window at " << mx << "," << my;
    if (s.height < 1000) return;  // no room on view beside the radio window: it went below
    EXPECT_LE(memories.right, s.width);
    EXPECT_LE(memories.bottom, s.height);
}

// Mirror Control to the bottom left corner of the client area, below the
// radio window; at 1920x1080 the settings window (at scale 1.0, right of
// the radio window) down to the bottom: free places, whole on the screen,
// reaching below the screen height less 60 px.
void DraggedPlacesHold(const Screen& s, bool wm) {
    SCOPED_TRACE(std::string(s.size) + (wm ? " openbox" : " bare"));
    XStation st("", wm, s.size);
    std::string ini = st.dir.read("qarv.ini");
    ini.replace(ini.find("[INTERFACE]\n"), 12, "[INTERFACE]\nMIRROR=1\n");
    const bool settings = s.width >= 1920;
    // Free places to start from: Mirror Control left of the radio window,
    // the settings window right of it.
    ini.replace(ini.find("[RADIO WINDOW]\n"), 15, "[RADIO WINDOW]\nSETTINGS SCALEX=1.00\nSETTINGS SCALEY=1.00\n");
    ini += "[MR WINDOW]\nLOCATION=0000 0004\n";
    if (settings) ini += "[TX OPTIONS WINDOW]\nLOCATION=1174 0004\n";
    st.dir.write("qarv.ini", ini);
    ASSERT_TRUE(st.x.ok()) << "no X server: " << st.x.why();
    ASSERT_TRUE(st.Start());
    int ox = 0, oy = 0, sx = 1174, sy = 4, mx = 0, my = 4;
    Origin(st, &ox, &oy);
    st.x.Drag(ox + mx + 1, oy + my + 40, 0, s.height - 1);
    if (settings) st.x.Drag(ox + sx + 3, oy + sy + 3, ox + sx + 3, s.height - 1);
    st.x.Screenshot(Shot("dragged", s, wm));
    ASSERT_TRUE(st.Restart());
    const std::string settingsAt = st.Saved("TX OPTIONS WINDOW", "LOCATION"), mirrorAt = st.Saved("MR WINDOW", "LOCATION");
    int nx = 0, ny = 0;
    ASSERT_TRUE(ReadPlace(mirrorAt, &nx, &ny));
    EXPECT_EQ(nx, 0);
    EXPECT_GT(oy + ny + 200, s.height - 60) << "Mirror Control at " << mirrorAt;
    if (settings) {
        ASSERT_TRUE(ReadPlace(settingsAt, &nx, &ny));
        EXPECT_EQ(nx, sx);
        EXPECT_GT(ny, sy) << "the settings window did not move";
    }
    st.x.Screenshot(Shot("dragged-restarted", s, wm));
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, xtest::kBoundMs), 0);
    EXPECT_EQ(st.Saved("TX OPTIONS WINDOW", "LOCATION"), settingsAt);
    EXPECT_EQ(st.Saved("MR WINDOW", "LOCATION"), mirrorAt);
}
}  // namespace

TEST(X11PanelPlaces, AltKShowsTheCwKeyboardWholeAndOffTheRadioWindow1366) { CwKeyboardShowsWhole(kScreens[0], true); }
TEST(X11PanelPlaces, AltKShowsTheCwKeyboardWholeAndOffTheRadioWindow1920) { CwKeyboardShowsWhole(kScreens[1], true); }
TEST(X11PanelPlaces, AltKShowsTheCwKeyboardWholeAndOffTheRadioWindowBare) { CwKeyboardShowsWhole(kScreens[0], false); }

TEST(X11PanelPlaces, TheRadioWindowShownAgainComesBackAtItsPlace1366) { RadioWindowComesBack(kScreens[0], true); }
TEST(X11PanelPlaces, TheRadioWindowShownAgainComesBackAtItsPlace1920) { RadioWindowComesBack(kScreens[1], true); }
TEST(X11PanelPlaces, TheRadioWindowShownAgainComesBackAtItsPlaceBare) { RadioWindowComesBack(kScreens[1], false); }

TEST(X11PanelPlaces, PlacesDraggedToOnTheScreenHoldAfterARestart1366) { DraggedPlacesHold(kScreens[0], true); }
TEST(X11PanelPlaces, PlacesDraggedToOnTheScreenHoldAfterARestart1920) { DraggedPlacesHold(kScreens[1], true); }
TEST(X11PanelPlaces, PlacesDraggedToOnTheScreenHoldAfterARestartBare) { DraggedPlacesHold(kScreens[1], false); }
