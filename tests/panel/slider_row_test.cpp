// The slider row: the level rules, the main and sub receiver's copies, the
// wheel steps, and the row on the real window (filled at creation, clicked,
// wheeled, switched between main and sub receiver).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "app/tuning_wiring.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "control_fixture.h"
#include "panel/controls/bistate_button.h"
#include "panel/controls/slider.h"
#include "panel/mirror_panel.h"
#include "panel/radio_window.h"
#include "panel/slider_row.h"
#include "panel/swl_panel.h"
#include "panel_recorder.h"

TEST(SliderRules, LevelsFromPositions) {
    EXPECT_EQ(VolumeFromSlider(12), 0);
    EXPECT_EQ(VolumeFromSlider(13), 13);
    EXPECT_EQ(PowerFromSlider(96), 96);
    EXPECT_EQ(PowerFromSlider(97), 100);
    EXPECT_EQ(ApfHzText(128), "0");
    EXPECT_EQ(ApfHzText(228), "430");
    EXPECT_EQ(ApfHzText(0), "-550");
    EXPECT_EQ(SliderLimitsOf(IDC_SLIDER_POWER).high, 100);
    EXPECT_EQ(SliderLimitsOf(IDC_SLIDER_KEYER).high, 15);
    EXPECT_EQ(SliderLimitsOf(IDC_SLIDER_NB).high, 255);
}

TEST(SliderRules, WheelSteps) {
    // Power: 95 -> 97 -> 100, and back down by two.
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_POWER, 95, 1), 97);
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_POWER, 97, 1), 100);
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_POWER, 100, -1), 98);
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_POWER, 2, -1), 0);
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_POWER, 0, 1), 2);
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_RF_GAIN, 50, -3), 44);
    // Keyer speed stays in 0..15 however far the wheel turns.
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_KEYER, 15, 20), 15);
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_KEYER, 3, -20), 0);
    // Noise reduction jumps to its ends.
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_NR, 240, 1), 255);
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_NR, 7, -1), 0);
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_NR, 100, 2), 112);
    // Volume A stops at 239, the plain levels at the slider's ends.
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_VOLUME_A, 238, 1), 239);
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_VOLUME_A, 3, -1), 0);
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_NB, 250, 1), 255);
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_APF, 128, -2), 116);
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_RF_GAIN_B, 97, 1), 100);
    EXPECT_EQ(WheelSliderValue(IDC_SLIDER_RF_GAIN_B, 1, -1), 0);
    // Not a slider: unchanged.
    EXPECT_EQ(WheelSliderValue(5157, 7, 1), 7);
}

namespace {
struct SliderPanel : ::testing::Test {
    RecordingFrame frame;
    RecordingView view;
    CSwlPanel panel{&frame};
    SliderPanel() {
        panel.enabled = 1;
        g_radiotype = 23;
    }
};
}  // namespace

TEST_F(SliderPanel, EachSliderSetsItsLevelAndNotifies) {
    EXPECT_TRUE(panel.OnSliderMessage(IDC_SLIDER_VOLUME_A, 12));
    EXPECT_EQ(panel.fn.afGain, 0);
    panel.OnSliderMessage(IDC_SLIDER_VOLUME_A, 13);
    EXPECT_EQ(panel.fn.afGain, 13);
    panel.OnSliderMessage(IDC_SLIDER_POWER, 97);
    EXPECT_EQ(g_power, 100);
    EXPECT_EQ(g_powerchanged, 1);
    panel.OnSliderMessage(IDC_SLIDER_KEYER, 9);
    EXPECT_EQ(g_keyerks, 9);
    EXPECT_EQ(g_keyerspeedchanged, 1);
    panel.OnSliderMessage(IDC_SLIDER_RF_GAIN, 30);
    EXPECT_EQ(panel.fn.rfGain, 70);
    panel.OnSliderMessage(IDC_SLIDER_SQUELCH, 44);
    EXPECT_EQ(panel.fn.squelch, 44);
    panel.OnSliderMessage(IDC_SLIDER_NR, 5);
    EXPECT_EQ(panel.fn.nrLevel, 5);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 7);
    EXPECT_FALSE(panel.OnSliderMessage(4242, 1));
}

TEST_F(SliderPanel, VolumeBAsksTheMainFrameOnlyWithTheSubReceiver) {
    panel.OnSliderMessage(IDC_SLIDER_VOLUME_B, 12);
    EXPECT_EQ(g_volumeb, 0);
    EXPECT_TRUE(frame.commands.empty());
    g_dual = 1;
    panel.OnSliderMessage(IDC_SLIDER_VOLUME_B, 80);
    EXPECT_EQ(g_volumeb, 80);
    EXPECT_EQ(frame.commands, (std::vector<unsigned>{IDC_SUB_VOLUME}));
}

TEST_F(SliderPanel, VolumeAIsLeftAloneWhileTheSweepRuns) {
    panel.fn.afGain = 50;
    g_sweeprunning = 1;
    EXPECT_TRUE(panel.OnSliderMessage(IDC_SLIDER_VOLUME_A, 200));
    EXPECT_EQ(panel.fn.afGain, 50);
    EXPECT_TRUE(frame.commands.empty());
}

TEST_F(SliderPanel, SubSlidersWriteTheSubReceiverOnlyWithDualWatch) {
    g_subsliders = 1;
    g_dual = 0;
    panel.OnSliderMessage(IDC_SLIDER_NB, 40);
    panel.OnSliderMessage(IDC_SLIDER_RF_GAIN, 10);
    EXPECT_EQ(panel.fn.nbLevel, 40);
    EXPECT_EQ(panel.fn.nbLevelB, 0);
    EXPECT_EQ(panel.fn.rfGain, 90);
    g_dual = 1;
    panel.OnSliderMessage(IDC_SLIDER_NB, 60);
    panel.OnSliderMessage(IDC_SLIDER_RF_GAIN, 20);
    panel.OnSliderMessage(IDC_SLIDER_APF, 150);
    EXPECT_EQ(panel.fn.nbLevel, 40);
    EXPECT_EQ(panel.fn.nbLevelB, 60);
    EXPECT_EQ(g_nbvalb, 60);  // the saved sub value follows
    EXPECT_EQ(panel.fn.rfGainB, 80);
    EXPECT_EQ(g_rfgainb, 80);
    EXPECT_EQ(panel.fn.apfLevelB, 150);
    // The notch and digital selector have a sub copy on model 5 only.
    panel.OnSliderMessage(IDC_SLIDER_NOTCH, 70);
    EXPECT_EQ(panel.fn.notchPosition, 70);
    g_radiotype = 5;
    panel.OnSliderMessage(IDC_SLIDER_NOTCH, 90);
    panel.OnSliderMessage(IDC_SLIDER_DIGISEL, 33);
    EXPECT_EQ(panel.fn.notchPosition, 70);
    EXPECT_EQ(panel.fn.notchPositionB, 90);
    EXPECT_EQ(panel.fn.digiSelLevelB, 33);
    EXPECT_EQ(panel.fn.digiSelLevel, 0);
    // The second RF slider is always the sub receiver's.
    g_dual = 0;
    panel.OnSliderMessage(IDC_SLIDER_RF_GAIN_B, 25);
    EXPECT_EQ(panel.fn.rfGainB, 75);
}

TEST_F(SliderPanel, WheelWithoutTheWindowStepsTheLevel) {
    g_power = 95;
    g_wheelctrl = IDC_SLIDER_POWER;
    panel.MouseWheel(1);
    EXPECT_EQ(g_power, 100);  // the slider's 97 is full power
    g_keyerks = 14;
    g_wheelctrl = IDC_SLIDER_KEYER;
    panel.MouseWheel(5);
    EXPECT_EQ(g_keyerks, 15);
    g_wheelctrl = 0;
    frame.commands.clear();
    panel.MouseWheel(3);
    EXPECT_TRUE(frame.commands.empty());
}

TEST_F(SliderPanel, StepDialogMessageRefreshesTheStep) {
    panel.SetView(&view);
    panel.step = 500;
    EXPECT_TRUE(panel.OnPanelMessage(365));
    EXPECT_EQ(view.stepCaption, "500 Hz");
    EXPECT_FALSE(panel.OnPanelMessage(366));
}

// ---- On the real window -------------------------------------------------------------

namespace {
struct WheelFrame : ControlOwner {
    CSwlPanel* panel = nullptr;
    int wheels = 0;
    // As the main frame does in its slider wheel mode.
    void OnMouseWheel(unsigned, int delta, plat::Point) override {
        ++wheels;
        if (panel && g_wheelctrl) panel->MouseWheel(delta / plat::WHEEL_DELTA);
    }
};

struct SliderWindow : ::testing::Test {
    WheelFrame frame;
    CSwlPanel panel{&frame};
    CRadioWindow window;
    void Open(int model) {
        g_radiotype = model;
        g_scalex = g_scaley = 1.4;
        frame.panel = &panel;
        frame.Open(200, 100);
        ASSERT_TRUE(window.CreatePanel(&frame, {10, 10, 0, 0}, &panel));
        window.CreateSliderRow();
        window.ShowWindow(plat::SW_SHOW);
        panel.enabled = 1;
    }
    CSlider* Slider(int id) { return dynamic_cast<CSlider*>(window.Control(id)); }
    int Value(int id) { return Slider(id) ? Slider(id)->GetValue() : -1; }
    std::string Text(int id) {
        plat::Window* w = window.Control(id);
        return w ? w->GetWindowText() : "<none>";
    }
    void Wheel(int id, int clicks) {
        plat::Window* w = window.Control(id);
        ASSERT_NE(w, nullptr);
        plat::synth::Enter(w);
        plat::synth::Wheel(w, {3, 10}, clicks * 120);
    }
};
}  // namespace

TEST_F(SliderWindow, TheRowShowsTheLoadedLevelsWithoutNotifying) {
    panel.fn.afGain = 100;
    panel.fn.rfGain = 30;
    panel.fn.nbLevel = 20;
    panel.fn.apfLevel = 228;
    panel.fn.squelch = 5;
    g_volumeb = 60;
    g_power = 40;
    g_keyerks = 7;
    Open(23);
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(Value(IDC_SLIDER_VOLUME_A), 100);
    EXPECT_EQ(Value(IDC_SLIDER_VOLUME_B), 60);
    EXPECT_EQ(Value(IDC_SLIDER_POWER), 40);
    EXPECT_EQ(Value(IDC_SLIDER_KEYER), 7);
    EXPECT_EQ(Value(IDC_SLIDER_RF_GAIN), 70);
    EXPECT_EQ(Value(IDC_SLIDER_NB), 20);
    EXPECT_EQ(Value(IDC_SLIDER_SQUELCH), 5);
    EXPECT_EQ(Text(IDC_NB_LEVEL_LABEL), "20");
    // The main frame's setters move the sliders, silently.
    panel.SetVolumeA(33);
    g_power = 55;
    panel.ShowPower();
    g_keyerks = 3;
    panel.ShowKeyerSpeed();
    EXPECT_EQ(Value(IDC_SLIDER_VOLUME_A), 33);
    EXPECT_EQ(Value(IDC_SLIDER_POWER), 55);
    EXPECT_EQ(Value(IDC_SLIDER_KEYER), 3);
    EXPECT_TRUE(frame.commands.empty());
}

TEST_F(SliderWindow, ClickingASliderSetsTheLevelAndTellsTheMainFrame) {
    Open(23);
    CSlider* squelch = Slider(IDC_SLIDER_SQUELCH);
    ASSERT_NE(squelch, nullptr);
    plat::synth::Click(squelch, plat::synth::Button::Left, {5, 2});
    EXPECT_EQ(panel.fn.squelch, 255);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 1);
    const int h = squelch->GetWindowRect().height();
    plat::synth::Click(Slider(IDC_SLIDER_RF_GAIN), plat::synth::Button::Left, {5, h - 1});
    EXPECT_EQ(panel.fn.rfGain, 100);  // the slider's foot is full gain
    plat::synth::Click(Slider(IDC_SLIDER_POWER), plat::synth::Button::Left, {5, h / 2});
    EXPECT_GT(g_power, 40);
    EXPECT_LT(g_power, 60);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 3);
}

TEST_F(SliderWindow, TheWheelOverASliderStepsItAndRunsItsRule) {
    g_power = 95;
    Open(23);
    Wheel(IDC_SLIDER_POWER, 1);
    EXPECT_EQ(g_wheelctrl, IDC_SLIDER_POWER);
    EXPECT_EQ(Value(IDC_SLIDER_POWER), 97);
    EXPECT_EQ(g_power, 100);
    Wheel(IDC_SLIDER_POWER, 1);
    EXPECT_EQ(Value(IDC_SLIDER_POWER), 100);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 2);
    // Volume at 12 is silence, at 13 it is 13.
    panel.SetVolumeA(7);
    Wheel(IDC_SLIDER_VOLUME_A, 1);
    EXPECT_EQ(Value(IDC_SLIDER_VOLUME_A), 12);
    EXPECT_EQ(panel.fn.afGain, 0);
    panel.SetVolumeA(8);
    Wheel(IDC_SLIDER_VOLUME_A, 1);
    EXPECT_EQ(panel.fn.afGain, 13);
    // The keyer speed stays at 15.
    g_keyerks = 14;
    panel.ShowKeyerSpeed();
    Wheel(IDC_SLIDER_KEYER, 3);
    Wheel(IDC_SLIDER_KEYER, 3);
    EXPECT_EQ(Value(IDC_SLIDER_KEYER), 15);
    EXPECT_EQ(g_keyerks, 15);
    // A button forwards the wheel too; leaving the slider clears the target.
    plat::synth::Leave(window.Control(IDC_SLIDER_KEYER));
    EXPECT_EQ(g_wheelctrl, 0);
    const int before = frame.wheels;
    plat::synth::Wheel(window.Control(IDC_STEP1), {3, 3}, 120);
    EXPECT_EQ(frame.wheels, before + 1);
}

TEST_F(SliderWindow, MainAndSubSlidersOnModelFive) {
    g_mirror = 1;
    CMRPanel* mirror = CreateMirrorPanel(&frame, {0, 0, 200, 100});
    ASSERT_NE(mirror, nullptr);
    panel.fn.nbLevel = 10;
    panel.fn.nbLevelB = 99;
    panel.fn.rfGainB = 40;
    panel.fn.noiseReductionB = 1;
    Open(5);
    EXPECT_EQ(Text(2508), "M Sliders");
    EXPECT_EQ(Text(2364), "NB");
    window.ShowControl(2508, true);
    plat::synth::Click(window.Control(2508), plat::synth::Button::Left, {5, 5});
    EXPECT_EQ(g_subsliders, 1);
    EXPECT_EQ(Text(2508), "S Sliders");
    EXPECT_EQ(Text(2364), "nb");
    EXPECT_EQ(Text(9315), "ag");
    EXPECT_EQ(Text(9316), "no");
    EXPECT_EQ(Text(9317), "af");
    EXPECT_EQ(Text(2526), "ds");
    EXPECT_EQ(Text(2505), "nr");
    EXPECT_EQ(Value(IDC_SLIDER_NB), 99);
    EXPECT_EQ(Value(IDC_SLIDER_RF_GAIN), 60);
    EXPECT_EQ(Text(IDC_NB_LEVEL_LABEL), "99");
    EXPECT_EQ(dynamic_cast<CBiStateButton*>(window.Control(2505))->GetState(), 1);
    EXPECT_EQ(mirror->polling.GetWindowText(), "Polling SUB");
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 0);  // switching the row sends nothing
    // The APF label shows the offset in Hz.
    Wheel(IDC_SLIDER_APF, -2);
    EXPECT_EQ(Text(IDC_APF_HZ_LABEL), "-51");
    // Without dual watch the sub sliders still set the main receiver.
    EXPECT_EQ(panel.fn.apfLevel, 116);
    EXPECT_EQ(panel.fn.apfLevelB, 128);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 1);

    const std::string dir = std::string(QARV_BUILD_DIR) + "/radio_window";
    ::mkdir(dir.c_str(), 0755);
    EXPECT_TRUE(plat::SaveWindowPng(&window, dir + "/slider_row_sub_5.png"));

    plat::synth::Click(window.Control(2508), plat::synth::Button::Left, {5, 5});
    EXPECT_EQ(g_subsliders, 0);
    EXPECT_EQ(Text(2364), "NB");
    EXPECT_EQ(Value(IDC_SLIDER_NB), 10);
    EXPECT_EQ(mirror->polling.GetWindowText(), "Polling MAIN");
    // The mirror panel's Polling button switches the row the same way.
    g_swlpanel = &panel;
    WireTuningView();
    plat::synth::Click(&mirror->polling, plat::synth::Button::Left, {5, 5});
    EXPECT_EQ(g_subsliders, 1);
    EXPECT_EQ(Text(2508), "S Sliders");
    EXPECT_EQ(mirror->polling.GetWindowText(), "Polling SUB");
    g_swlpanel = nullptr;
    DestroyMirrorPanel();
}
