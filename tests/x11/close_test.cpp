// Every way of ending the program ends it, also with a modal box open: the
// settings are saved once and the process exits (the exit step runs 500 ms
// after the close; the wait is bounded generously for a loaded machine).
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>

#include "x11/station.h"

using xtest::WaitUntil;
using xtest::XStation;

namespace {
// The X server and openbox come with scripts/install-deps: without them the
// test fails, it never skips.
#define START_OR_FAIL(st)                                                               \
    ASSERT_TRUE((st).x.ok()) << "no X server with a window manager: " << (st).x.why(); \
    ASSERT_TRUE((st).Start())

::testing::AssertionResult Shows(const XStation& st, const std::string& title) {
    if (WaitUntil([&] { return st.x.Find(title).id != 0; })) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no \"" << title << "\" window:\n" << st.x.Run("wmctrl -lG");
}

void EndsOnce(XStation& st, int sig, bool twice) {
    if (twice) {
        st.qarv->Signal(sig);
        ASSERT_TRUE(st.qarv->WaitForText("comms.txt", "close1", xtest::kBoundMs));
    }
    EXPECT_EQ(st.qarv->StopWith(sig, xtest::kBoundMs), 0);
    EXPECT_EQ(st.TraceCount("calling saveoper"), 1);
    EXPECT_NE(st.dir.read("qarv.ini").find("VERSION=V3.52"), std::string::npos);
}
}  // namespace

TEST(X11Close, SigtermUnderTheTimeDialog) {
    XStation st;
    START_OR_FAIL(st);
    st.ChooseMenu(1, 5);  // View > Time/ UTC
    ASSERT_TRUE(Shows(st, "UTC World Time Stations"));
    EndsOnce(st, SIGTERM, false);
}

TEST(X11Close, SigintUnderTheAboutBoxAndASecondSignalDoesNoHarm) {
    XStation st;
    START_OR_FAIL(st);
    st.ChooseMenu(2, 2);  // Help > About
    ASSERT_TRUE(Shows(st, "About"));
    EndsOnce(st, SIGINT, true);
}

TEST(X11Close, SigtermUnderAMessageBoxTwice) {
    XStation st;
    START_OR_FAIL(st);
    st.x.Key("alt+h");  // the Hot Keys box
    ASSERT_TRUE(Shows(st, "Hot Keys"));
    EndsOnce(st, SIGTERM, true);
}

TEST(X11Close, SigtermWithAMenuOpen) {
    XStation st;
    START_OR_FAIL(st);
    int ox = 0, oy = 0;
    ASSERT_TRUE(st.x.ClientOrigin(st.frame.id, &ox, &oy));
    auto shown = [&] {
        const std::string out = st.x.Run("xdotool search --onlyvisible --class qarv");
        return std::count(out.begin(), out.end(), '\n');
    };
    const auto before = shown();
    st.x.Click(ox + 15, oy + 10);  // the File menu opens and stays open
    ASSERT_TRUE(WaitUntil([&] { return shown() > before; }));
    EndsOnce(st, SIGTERM, false);
}

TEST(X11Close, QuitFromTheMenuEnds) {
    XStation st("MUTE ALWAYS=1\n");
    START_OR_FAIL(st);
    st.ChooseMenu(0, -1);  // File > Quit, the last entry
    EXPECT_EQ(st.qarv->WaitExit(xtest::kBoundMs), 0);
    EXPECT_EQ(st.TraceCount("calling saveoper"), 1);
}
