// Keys as the X server delivers them: a held Space repeats as release and
// press pairs and keeps the radio keyed; a click on VFO B's digits gives
// them the keyboard, so a frequency typed next tunes VFO B; the keys the
// digits pass on to the frame (Space, End) reach it with their releases.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

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

namespace {
// The keying frames the radio got since `from` (an index into its log), in
// order: "on" for 1C 00 01, "off" for 1C 00 00. The meter tick's read 1C 00
// (no data byte) is no keying frame.
std::string KeyFrames(const xtest::XStation& st, std::size_t from) {
    const std::vector<sim::Bytes> frames = st.radio.frames();
    std::string seen;
    for (std::size_t i = from; i < frames.size(); ++i) {
        const sim::Bytes& f = frames[i];
        // FE FE to from 1C 00 xx FD
        if (f.size() != 8 || f[4] != 0x1C || f[5] != 0x00) continue;
        if (f[6] == 0x01) seen += seen.empty() ? "on" : " on";
        else if (f[6] == 0x00) seen += seen.empty() ? "off" : " off";
    }
    return seen;
}
}  // namespace

// A click on either VFO's digits gives them the keyboard, but the keys that
// are no keypad entry are the frame's, both halves: Space tapped or held
// keys the radio and unkeys it at the release (a held Space keys once, its
// repeats hold it), End unkeys it; digits still go to the digit boxes.
TEST(X11Keys, SpaceAndEndOnTheVfoDigitsKeyAndUnkeyAsOnTheFrame) {
    xtest::XStation st;
    if (!st.x.ok()) GTEST_SKIP() << "no X server: " << st.x.why();
    ASSERT_TRUE(st.Start());
    for (const int box : {5158, 5167}) {  // a VFO A digit, a VFO B digit
        SCOPED_TRACE("digit box " + std::to_string(box));
        int x = 0, y = 0;
        ASSERT_TRUE(st.ControlCentre(box, &x, &y));
        st.x.Click(x, y);
        const int inBox = st.TraceCount("cnum key digit 32");

        // Tapped.
        std::size_t from = st.radio.frames().size();
        int offs = st.TraceCount("PTT Off space");
        st.x.Key("space");
        EXPECT_TRUE(WaitUntil([&] { return KeyFrames(st, from) == "on off"; }, 3000))
            << "key frames after a tap: " << KeyFrames(st, from);
        EXPECT_GT(st.TraceCount("cnum key digit 32"), inBox);  // the digit box had the keyboard
        EXPECT_EQ(st.TraceCount("PTT Off space"), offs + 1);
        EXPECT_EQ(st.radio.transmitting(), 0);

        // Held: the server repeats it; the radio stays keyed until the
        // real release.
        from = st.radio.frames().size();
        offs = st.TraceCount("PTT Off space");
        const int ons = st.TraceCount("PTT On space");
        const int downs = st.TraceCount("key down 32");
        st.x.Run("xdotool keydown space");
        EXPECT_TRUE(WaitUntil([&] { return st.radio.transmitting() == 1; }, 3000));
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
        EXPECT_GT(st.TraceCount("key down 32"), downs + 5);  // repeated
        EXPECT_EQ(st.TraceCount("PTT On space"), ons + 1);
        EXPECT_EQ(st.TraceCount("PTT Off space"), offs);
        const std::string held = KeyFrames(st, from);
        EXPECT_TRUE(held == "on" || held == "on on") << "key frames while held: " << held;
        EXPECT_EQ(st.radio.transmitting(), 1);
        st.x.Run("xdotool keyup space");
        EXPECT_TRUE(WaitUntil([&] { return st.radio.transmitting() == 0; }, 3000));
        EXPECT_TRUE(WaitUntil([&] { return KeyFrames(st, from) == held + " off"; }, 3000))
            << "key frames after the release: " << KeyFrames(st, from);
        EXPECT_EQ(st.TraceCount("PTT Off space"), offs + 1);

        // End unkeys, with Space still held.
        from = st.radio.frames().size();
        st.x.Run("xdotool keydown space");
        ASSERT_TRUE(WaitUntil([&] { return st.radio.transmitting() == 1; }, 3000));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // past the keying window
        const int endUps = st.TraceCount("key up 35");
        st.x.Key("End");
        EXPECT_TRUE(WaitUntil([&] { return st.radio.transmitting() == 0; }, 3000))
            << "key frames after End: " << KeyFrames(st, from);
        EXPECT_EQ(st.TraceCount("key up 35"), endUps + 1);
        st.x.Run("xdotool keyup space");
        EXPECT_TRUE(WaitUntil([&] { return st.TraceCount("PTT Off space") == offs + 2; }, 3000));
        EXPECT_EQ(st.radio.transmitting(), 0);
    }

    // Digits still go to the digit boxes: VFO A takes a typed frequency.
    int x = 0, y = 0;
    ASSERT_TRUE(st.ControlCentre(5158, &x, &y));
    st.x.Click(x, y);
    const int digitUps = st.TraceCount("key up 55");
    st.x.Key("--delay 40 7 period 0 5 Return");
    EXPECT_TRUE(WaitUntil([&] { return st.radio.frequency(0) == 7050000; }, 5000)) << st.radio.frequency(0);
    EXPECT_GT(st.TraceCount("key vfoadigi1"), 0);
    EXPECT_EQ(st.TraceCount("key up 55"), digitUps);  // the box kept the digit's release too
}
