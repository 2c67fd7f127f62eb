// The slider row and the wheel in the whole program against the simulated
// IC-7300: a slider clicked or wheeled sends its level once, the wheel over
// the digits tunes, and the levels are in qarv.ini after the close.
#include <gtest/gtest.h>

#include <string>

#include "app/main_frame.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "common/sim_station.h"
#include "panel/controls/slider.h"
#include "panel/radio_window.h"
#include "panel/slider_row.h"
#include "panel/swl_panel.h"
#include "platform/input_synth.h"

namespace {
// Level writes (14 sub level level), not the polls that read them.
int LevelWrites(const SimStation& s, std::uint8_t sub) {
    int n = 0;
    for (const sim::Bytes& f : s.radio.frames())
        if (f.size() > 7 && f[4] == 0x14 && f[5] == sub) ++n;
    return n;
}

plat::Window* Control(int id) {
    plat::Window* w = g_radiowindow ? g_radiowindow->Control(id) : nullptr;
    EXPECT_NE(w, nullptr) << id;
    return w;
}

void ClickAt(int id, int y) { plat::synth::Click(Control(id), plat::synth::Button::Left, {5, y}); }

// One event per click: the program takes its first event's delta as the
// size of one click.
void WheelOver(int id, int clicks) {
    plat::Window* w = Control(id);
    plat::synth::Enter(w);
    for (int i = 0; i < (clicks < 0 ? -clicks : clicks); ++i) plat::synth::Wheel(w, {4, 6}, clicks < 0 ? -120 : 120);
}
}  // namespace

TEST(SliderRowFrames, EachClickedSliderSendsItsLevelOnce) {
    SimStation s("VOLUME=40\nRF GAIN=50\nSQUELCH=0\nNR VAL=0\nPOWER=40\n");
    s.initialise();
    ASSERT_NE(g_radiowindow, nullptr);
    const int h = Control(IDC_SLIDER_VOLUME_A)->GetWindowRect().height();
    struct Case {
        int id;
        int y;
        std::uint8_t sub;
    } cases[] = {
        {IDC_SLIDER_VOLUME_A, 2, 0x01},   // AF gain
        {IDC_SLIDER_RF_GAIN, h / 4, 0x02},  // RF gain
        {IDC_SLIDER_SQUELCH, h / 2, 0x03},  // squelch
        {IDC_SLIDER_NR, h / 3, 0x06},       // noise reduction
        {IDC_SLIDER_POWER, 2, 0x0A},      // transmit power
        {IDC_SLIDER_NB, h / 2, 0x12},       // noise-blanker level
    };
    for (const Case& c : cases) {
        s.radio.clearLog();
        ClickAt(c.id, c.y);
        simsteps::RunUntil([&] { return LevelWrites(s, c.sub) > 0; }, 1000, {&s.radio});
        s.run(100);
        EXPECT_EQ(LevelWrites(s, c.sub), 1) << "slider " << c.id;
        // Nothing else of the row goes with it.
        for (const Case& other : cases)
            if (other.sub != c.sub) {
                EXPECT_EQ(LevelWrites(s, other.sub), 0) << c.id << " sent " << int(other.sub);
            }
    }
    EXPECT_EQ(s.radio.level(0x0A), 255);  // full power
    EXPECT_EQ(g_power, 100);
    EXPECT_EQ(g_volume, 255);
    EXPECT_EQ(g_squelch, Tuning().fn.squelch);
}

TEST(SliderRowFrames, TheWheelOverASliderStepsItsLevel) {
    SimStation s("POWER=95\nNR VAL=100\n");
    s.initialise();
    s.radio.clearLog();
    WheelOver(IDC_SLIDER_POWER, 1);
    s.run(500);
    EXPECT_EQ(dynamic_cast<CSlider*>(Control(IDC_SLIDER_POWER))->GetValue(), 97);
    EXPECT_EQ(LevelWrites(s, 0x0A), 1);
    EXPECT_EQ(s.radio.level(0x0A), 255);
    s.radio.clearLog();
    WheelOver(IDC_SLIDER_NR, -2);
    s.run(500);
    EXPECT_EQ(LevelWrites(s, 0x06), 2);  // one per click
    EXPECT_EQ(s.radio.level(0x06), 88);
    EXPECT_EQ(LevelWrites(s, 0x0A), 0);
}

TEST(SliderRowFrames, TheWheelOverTheDigitsTunesThatDigit) {
    SimStation s("");
    s.initialise();
    ASSERT_EQ(s.radio.frequency(0), 14074000);
    WheelOver(5159, 1);  // the kHz digit
    s.run(1000);
    EXPECT_EQ(s.radio.frequency(0), 14075000);
    WheelOver(5157, -2);  // 100 kHz
    s.run(1000);
    EXPECT_EQ(s.radio.frequency(0), 13875000);
    // Over the offset scale the wheel is the scale's, never VFO A's.
    plat::synth::Leave(Control(5157));
    WheelOver(2382, 3);
    s.run(1000);
    EXPECT_EQ(s.radio.frequency(0), 13875000);
    plat::synth::Leave(Control(2382));
    // Over the window itself it tunes VFO A by the step.
    EXPECT_EQ(g_wheelctrl, 0);
    const double before = g_vfoafreq;
    plat::synth::Wheel(g_radiowindow, {2, 2}, 120);
    s.run(1000);
    EXPECT_GT(g_vfoafreq, before);
}

TEST(SliderRowFrames, TheLevelsAreSavedAtTheClose) {
    SimStation s("POWER=30\nNR VAL=10\nKEYER KS=8\nVFOB VOLUME=20\n");
    s.initialise();
    WheelOver(IDC_SLIDER_NR, 2);
    WheelOver(IDC_SLIDER_KEYER, 20);
    ClickAt(IDC_SLIDER_POWER, 2);
    ClickAt(IDC_SLIDER_VOLUME_B, 2);
    s.run(500);
    g_mainwin->SendMessage(plat::WM_CLOSE);
    s.run(3000);
    ASSERT_TRUE(g_mainwin->Closed());
    const std::string ini = s.dir.read("qarv.ini");
    EXPECT_NE(ini.find("NR VAL=22\n"), std::string::npos);
    EXPECT_NE(ini.find("KEYER KS=15\n"), std::string::npos);
    EXPECT_NE(ini.find("POWER=100\n"), std::string::npos);
    EXPECT_NE(ini.find("VFOB VOLUME=255\n"), std::string::npos);
}
