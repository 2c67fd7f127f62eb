// Keys as the X server delivers them, with openbox: a held Space repeats as
// release and press pairs and must keep the radio keyed; a click on VFO B's
// digits gives them the keyboard, so a frequency typed next tunes VFO B.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "x11/station.h"

using xtest::WaitUntil;
using xtest::XStation;

namespace {
int Frames(const sim::SimRadio& radio, std::uint8_t cmd, std::uint8_t sub, int data = -1) {
    int n = 0;
    for (const sim::Bytes& f : radio.frames())
        if (f.size() > 6 && f[4] == cmd && f[5] == sub && (data < 0 || (f.size() > 7 && f[6] == data))) ++n;
    return n;
}
}  // namespace

TEST(X11Keys, AHeldSpaceKeysOnceAndVfoBDigitsTakeTheKeyboard) {
    XStation st;
    if (!st.x.ok()) GTEST_SKIP() << "no X server: " << st.x.why();
    ASSERT_TRUE(st.Start());
    int x = 0, y = 0;
    // A mode button leaves the keyboard with the main frame.
    ASSERT_TRUE(st.ControlCentre(101, &x, &y));
    st.x.Click(x, y);
    st.radio.settle(1000);
    st.radio.clearLog();

    const int downsBefore = st.TraceCount("key down 32");
    st.x.Run("xdotool keydown space");
    ASSERT_TRUE(WaitUntil([&] { return st.radio.transmitting() == 1; }, 3000));
    std::this_thread::sleep_for(std::chrono::seconds(2));  // held: the server repeats it
    EXPECT_GT(st.TraceCount("key down 32") - downsBefore, 5);
    EXPECT_EQ(st.radio.transmitting(), 1);
    EXPECT_EQ(Frames(st.radio, 0x1C, 0x00, 0x01), 1);
    EXPECT_EQ(Frames(st.radio, 0x1C, 0x00, 0x00), 0);
    EXPECT_EQ(st.TraceCount("PTT On space"), 1);
    EXPECT_EQ(st.TraceCount("PTT Off space"), 0);
    st.x.Run("xdotool keyup space");
    EXPECT_TRUE(WaitUntil([&] { return st.radio.transmitting() == 0; }, 3000));
    EXPECT_EQ(st.TraceCount("PTT Off space"), 1);

    // Split on, then a frequency typed on VFO B's digits.
    ASSERT_TRUE(st.ControlCentre(122, &x, &y));
    st.x.Click(x, y);
    ASSERT_TRUE(WaitUntil([&] { return st.radio.split(); }, 3000));
    st.radio.settle(1000);
    st.radio.clearLog();
    const long long a = st.radio.frequency(0);
    ASSERT_TRUE(st.ControlCentre(5167, &x, &y));
    st.x.Click(x, y);
    st.x.Key("--delay 40 7 period 1");
    EXPECT_TRUE(WaitUntil([&] { return st.TraceCount("SWL vfob key digit 49") == 1; }, 3000));
    st.x.Screenshot(std::string(QARV_BUILD_DIR) + "/x11-keys-vfo-b-typing.png");
    st.x.Key("Return");
    EXPECT_TRUE(WaitUntil([&] { return st.radio.frequency(1) == 7100000; }, 5000)) << st.radio.frequency(1);
    st.radio.settle(1000);
    EXPECT_EQ(st.radio.frequency(0), a);
    EXPECT_TRUE(st.radio.split());
    EXPECT_EQ(Frames(st.radio, 0x25, 0x00, 0x00), 0);  // no frequency set on VFO A
    EXPECT_GE(st.TraceCount("SWL vfob key digit 55"), 1);
    EXPECT_EQ(st.TraceCount("SWL key digit"), 0);

    // The arrows still tune VFO A after a click on VFO B's digits.
    st.x.Click(x, y);
    st.x.Key("Right");
    EXPECT_TRUE(WaitUntil([&] { return st.radio.frequency(0) > a; }, 5000)) << st.radio.frequency(0);
    EXPECT_EQ(st.radio.frequency(1), 7100000);
}
