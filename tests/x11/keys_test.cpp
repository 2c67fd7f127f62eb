// Keys as the X server delivers them: a held Space repeats as release and
// press pairs and keeps the radio keyed; a click on VFO B's digits gives
// them the keyboard, so a frequency typed next tunes VFO B.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "x11/station.h"

using xtest::WaitUntil;

TEST(X11Keys, AHeldSpaceKeysOnceAndVfoBDigitsTakeTheKeyboard) {
    xtest::XStation st;
    if (!st.x.ok()) GTEST_SKIP() << "no X server: " << st.x.why();
    ASSERT_TRUE(st.Start());
    int x = 0, y = 0;
    ASSERT_TRUE(st.ControlCentre(101, &x, &y));  // a mode button leaves the keyboard with the frame
    st.x.Click(x, y);
    st.x.Run("xdotool keydown space");
    ASSERT_TRUE(WaitUntil([&] { return st.radio.transmitting() == 1; }, 3000));
    std::this_thread::sleep_for(std::chrono::seconds(2));  // held: the server repeats it
    EXPECT_GT(st.TraceCount("key down 32"), 5);
    EXPECT_EQ(st.TraceCount("PTT On space"), 1);
    EXPECT_EQ(st.TraceCount("PTT Off space"), 0);
    st.x.Run("xdotool keyup space");
    EXPECT_TRUE(WaitUntil([&] { return st.radio.transmitting() == 0; }, 3000));

    ASSERT_TRUE(st.ControlCentre(122, &x, &y));  // SPLIT
    st.x.Click(x, y);
    ASSERT_TRUE(WaitUntil([&] { return st.radio.split(); }, 3000));
    const long long a = st.radio.frequency(0);
    ASSERT_TRUE(st.ControlCentre(5167, &x, &y));
    st.x.Click(x, y);
    st.x.Key("--delay 40 7 period 1");
    EXPECT_TRUE(WaitUntil([&] { return st.TraceCount("SWL vfob key digit 49") == 1; }, 3000));
    st.x.Screenshot(std::string(QARV_BUILD_DIR) + "/x11-keys-vfo-b-typing.png");
    st.x.Key("Return");
    EXPECT_TRUE(WaitUntil([&] { return st.radio.frequency(1) == 7100000; }, 5000)) << st.radio.frequency(1);
    EXPECT_EQ(st.radio.frequency(0), a);
    EXPECT_TRUE(st.radio.split());
    EXPECT_EQ(st.TraceCount("SWL key digit"), 0);
    st.x.Click(x, y);  // the arrows still tune VFO A from there
    st.x.Key("Right");
    EXPECT_TRUE(WaitUntil([&] { return st.radio.frequency(0) > a; }, 5000)) << st.radio.frequency(0);
}
