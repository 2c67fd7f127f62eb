// The TMate2 through a stand-in for its vendor library.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstring>

#include "app/panel_requests_wiring.h"
#include "base/device_options.h"
#include "base/panel_options.h"
#include "devices/tmate2.h"
#include "platform/message_box.h"
#include "surface_app.h"
#include "surface_fixture.h"

namespace {
struct TMate2 : SurfaceFixture {
    void* fake = dlopen(QARV_FAKE_TMATE2, RTLD_NOW);
    void (*set)(int, int, int, int) = nullptr;
    void (*results)(int, int) = nullptr;
    unsigned long (*mainNumber)() = nullptr;
    const unsigned char* (*lcd)() = nullptr;
    TMate2() {
        WirePanelRequests();  // the panel reaches the LCD as in the program
        EXPECT_NE(fake, nullptr);
        set = reinterpret_cast<void (*)(int, int, int, int)>(dlsym(fake, "FakeTMate2Set"));
        results = reinterpret_cast<void (*)(int, int)>(dlsym(fake, "FakeTMate2SetResults"));
        mainNumber = reinterpret_cast<unsigned long (*)()>(dlsym(fake, "FakeTMate2MainNumber"));
        lcd = reinterpret_cast<const unsigned char* (*)()>(dlsym(fake, "FakeTMate2Lcd"));
        std::snprintf(g_tmate2library, sizeof g_tmate2library, "%s", QARV_FAKE_TMATE2);
        g_usetmate2 = 1;
        g_step = 1000;
        g_stepb = 1000;
        g_highspeedtuningfactor = 1;
        g_vfoafreq = panel.vfoAFreq = 14.2;
        plat::message_box_script::Clear();
    }
    ~TMate2() override {
        CloseTMate2();
        if (fake) dlclose(fake);
    }
    long long hz() const { return std::llround(g_vfoafreq * 1e6); }
    void poll(int main, int centre, int left, int buttons = 0x1FF) {
        set(main, centre, left, buttons);
        ReadTMate2();
        plat::manual_clock::Advance(10);
    }
    bool segment(int n) const { return (lcd()[n / 8] >> (n % 8)) & 1; }
};
}  // namespace

TEST(TMate2Knobs, CountersUnwrapAcrossTheSixteenBitEdge) {
    int c = kTMate2Unread;
    EXPECT_EQ(TMate2Delta(c, 65530), 0);
    EXPECT_EQ(TMate2Delta(c, 4), 10);
    EXPECT_EQ(TMate2Delta(c, 65530), -10);
    EXPECT_EQ(TMate2Delta(c, 65500), -30);
    EXPECT_EQ(TMate2ModeSegment('2'), 50);
    EXPECT_EQ(TMate2ModeSegment(0x17), 52);
}

TEST_F(TMate2, KnobsTuneFromTheSecondPoll) {
    OpenTMate2();
    ASSERT_EQ(g_tmate2open, 1);
    EXPECT_EQ(g_slotsurface, Surface::TMate2);
    const long long f = hz();
    poll(100, 200, 65530);
    EXPECT_EQ(hz(), f);  // the first read is only the starting point
    poll(100, 200, 4);  // left multi knob: +10 on the knob function
    EXPECT_EQ(hz(), f + 10000);
    poll(4, 200, 4);  // main knob: counts the other way, on "VFOA"
    EXPECT_EQ(hz(), f + 10000 + 96000);
    EXPECT_EQ(g_knobfunction, kKnobVfoA);
    const double b = g_vfobfreq;
    poll(4, 201, 4);  // centre knob on "VFOB"
    EXPECT_NEAR(g_vfobfreq, b + 0.001, 1e-9);
    EXPECT_EQ(g_knobfunction, kKnobVfoA);  // restored after the borrowed step
}

TEST_F(TMate2, AHeldButtonRunsItsFunctionOnce) {
    OpenTMate2();
    poll(0, 0, 0);
    for (int i = 0; i < 8; ++i) poll(0, 0, 0, 0x1FF & ~0x01);  // F1 held: "A = B"
    plat::DeliverPosted();
    int copies = 0;
    for (unsigned c : frame.commands) copies += c == 225 ? 1 : 0;
    EXPECT_EQ(copies, 1);
}

TEST_F(TMate2, TheLcdMirrorsModeAndFrequency) {
    OpenTMate2();
    ShowTMate2Freq(14.2);
    EXPECT_EQ(mainNumber(), 14200000ul);
    EXPECT_TRUE(segment(24));
    ShowTMate2Mode('3');
    EXPECT_TRUE(segment(50));
    EXPECT_FALSE(segment(44));
    panel.split = 1;
    ShowTMate2State();
    EXPECT_EQ(lcd()[32] & 3, 3);
    EXPECT_EQ(lcd()[33], std::uint8_t(g_tm2red));
}

TEST_F(TMate2, MultiKnobSelectionSetsTheKnobFunction) {
    OpenTMate2();
    SelectSlotText(2, "RF Gain");
    OnSurfaceCommand(ID_TMATE2_MULTI);
    EXPECT_EQ(g_knobfunction, kKnobRfGain);
    EXPECT_EQ(panel.podKnobCaption, "RFG");
}

TEST_F(TMate2, WithoutTheLibraryTheDeviceIsAbsent) {
    std::snprintf(g_tmate2library, sizeof g_tmate2library, "%s", "no-such-tmate2.so");
    OpenTMate2();
    EXPECT_EQ(g_tmate2open, 0);
    bool boxed = false;
    for (const auto& b : plat::message_box_script::History())
        boxed = boxed || (b.text == "TMate2 Device not Found" && b.caption == "NO TMATE2");
    EXPECT_TRUE(boxed);
    ReadTMate2();  // skipped while closed
    ShowTMate2Freq(7.0);
}

TEST(TMate2Program, ItsKnobTunesTheSimulatedRadio) {
    FakeTMate2Lib fake;
    fake.set(1000, 1000, 1000);
    SurfaceApp qarv;
    qarv.start("", FakeTMate2Lib::Status());
    ASSERT_EQ(g_tmate2open, 1);
    const long long f0 = qarv.radio.frequency(0);
    fake.set(997, 1000, 1000);  // the main knob counts the other way: three up
    EXPECT_TRUE(qarv.waitForFrequency(f0 + 3000));
}

TEST_F(TMate2, TheLcdFollowsThePanelsFrequencyAndMode) {
    OpenTMate2();
    ASSERT_EQ(g_tmate2open, 1);
    panel.SetFrequency(7.0745);
    EXPECT_EQ(mainNumber(), 7074500ul);
    panel.SetFrequency(144.3);
    EXPECT_EQ(mainNumber(), 144300000ul);
    panel.vfoAMode = '1';
    panel.ShowMode();
    EXPECT_TRUE(segment(51));
    EXPECT_FALSE(segment(44));
    panel.vfoAMode = '3';
    panel.ShowMode();
    EXPECT_TRUE(segment(50));
    EXPECT_FALSE(segment(51));
    // A keypad entry in progress keeps the display, the LCD too.
    panel.keyA.hold = 1;
    panel.SetFrequency(21.0);
    EXPECT_EQ(mainNumber(), 144300000ul);
}
