// The small dialogs pressed as an operator presses them: time stations
// tune at once and a cancel puts VFO A back; the pickers hand their choice
// to the radio window; the clock rounds to the minute.
#include "app/tuning_wiring.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "memories/memory_windows.h"
#include "memories/small_dialogs.h"
#include "memory_fixture.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "platform/input_synth.h"
#include "platform/keys.h"

namespace {
class Frame : public plat::Window {
public:
    bool OnCommand(unsigned id, unsigned, plat::LPARAM) override { return OnMemoryCommand(id); }
};

struct Dialogs : MemoryFixture {
    Frame frame;
    CSwlPanel panel;
    Dialogs() {
        frame.Create("qarv", plat::WS_OVERLAPPEDWINDOW, {0, 0, 800, 600}, nullptr, 0);
        g_memoryowner = &frame;
        g_swlpanel = &panel;
        WireTuningView();
        g_vfoafreq = panel.vfoAFreq = 14.2;
        g_vfoamode = panel.vfoAMode = '0';
        g_rxfilter = panel.filter = 3;
    }
    ~Dialogs() override {
        g_swlpanel = nullptr;
        g_memoryowner = nullptr;
    }
    static void Press(plat::Dialog& d, int id) {
        auto* b = dynamic_cast<plat::Button*>(static_cast<CSmallDialog&>(d).Control(id));
        ASSERT_NE(b, nullptr) << id;
        b->Click();
    }
};
}  // namespace

TEST(DialogRules, ZeroOutSecondsRoundsToTheMinute) {
    plat::SystemTime t{2026, 12, 2, 8, 12, 0, 29, 500};
    const plat::SystemTime a = ZeroedSeconds(t);
    EXPECT_EQ(a.second, 0);
    EXPECT_EQ(a.milliseconds, 0);
    t.second = 30;
    t.milliseconds = 0;
    const plat::SystemTime b = ZeroedSeconds(t);
    EXPECT_EQ(b.minute, 0);
    EXPECT_EQ(b.second, 59);
    EXPECT_EQ(b.milliseconds, 990);
}

TEST_F(Dialogs, ATimeStationTunesAtOnceAndCancelRestoresVfoA) {
    double during = 0;
    plat::dialog_script::PushHandler([&](plat::Dialog& d) {
        Press(d, 3234);  // "10 MHz"
        during = g_vfoafreq;
        EXPECT_TRUE(plat::SaveWindowImage(&d, std::string(QARV_BUILD_DIR) + "/world_time.png"));
        Press(d, plat::IDCANCEL);
    });
    frame.SendMessage(plat::WM_COMMAND, ID_TIME_UTC);
    EXPECT_DOUBLE_EQ(during, 10.0);
    EXPECT_DOUBLE_EQ(g_presetfreq, 10.0);
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.2);
    EXPECT_EQ(g_vfoamode, '0');
    EXPECT_EQ(g_rxfilter, 3);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.2);
    plat::dialog_script::PushHandler([&](plat::Dialog& d) {
        Press(d, 3239);  // "14.670 MHz"
        Press(d, plat::IDOK);
    });
    frame.SendMessage(plat::WM_COMMAND, ID_TIME_UTC);
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.67);
}

TEST_F(Dialogs, ZeroOutSecondsSetsTheClock) {
    plat::manual_clock::SetWallClock(1796731229);  // hh:mm:29
    plat::manual_clock::Advance(500);
    plat::dialog_script::PushHandler([&](plat::Dialog& d) {
        Press(d, IDC_ZERO_SECONDS);
        Press(d, plat::IDOK);
    });
    frame.SendMessage(plat::WM_COMMAND, ID_TIME_UTC);
    const plat::SystemTime now = plat::GetLocalTime();
    EXPECT_EQ(now.second, 0);
    EXPECT_EQ(now.milliseconds, 0);
}

TEST_F(Dialogs, PickersReturnTheChosenStepAndAgc) {
    CTuneSel steps;
    plat::dialog_script::PushHandler([](plat::Dialog& d) { Press(d, 3217); });  // "2.5 kHz"
    EXPECT_TRUE(steps.Run(&frame));
    EXPECT_DOUBLE_EQ(steps.step, 2500);
    plat::dialog_script::PushHandler([](plat::Dialog& d) { Press(d, plat::IDCANCEL); });
    EXPECT_FALSE(steps.Run(&frame));
    EXPECT_DOUBLE_EQ(steps.step, 2500);
    CAgcDlg agc;
    EXPECT_EQ(agc.agc, '2');
    plat::dialog_script::PushHandler([](plat::Dialog& d) { Press(d, 3240); });  // "Slow"
    EXPECT_TRUE(agc.Run(&frame));
    EXPECT_EQ(agc.agc, '1');
    plat::dialog_script::PushHandler([](plat::Dialog& d) {
        EXPECT_TRUE(plat::SaveWindowImage(&d, std::string(QARV_BUILD_DIR) + "/about_box.png"));
        Press(d, plat::IDOK);
    });
    frame.SendMessage(plat::WM_COMMAND, ID_ABOUT);
    EXPECT_EQ(plat::dialog_script::History().back(), "About qarv");
}

// The keys reach the dialog from whichever control holds them: Escape runs
// the dialog's own Cancel, Enter its default button.
TEST_F(Dialogs, EscapeCancelsAndEnterTakesTheDefaultButton) {
    for (unsigned key : {plat::VK_ESCAPE, plat::VK_RETURN}) {  // world time: Escape restores VFO A
        plat::dialog_script::PushHandler([key](plat::Dialog& d) {
            Press(d, 3234);
            plat::synth::Key(static_cast<CSmallDialog&>(d).Control(3232), key);
            EXPECT_TRUE(d.Ended());
        });
        frame.SendMessage(plat::WM_COMMAND, ID_TIME_UTC);
        EXPECT_DOUBLE_EQ(g_vfoafreq, key == plat::VK_RETURN ? 10.0 : 14.2);
    }
    // Step picker: Enter keeps the step in force (the default button);
    // Escape and a right click, on a button or beside them, cancel.
    CTuneSel steps;
    steps.step = 2500;
    plat::dialog_script::PushHandler([](plat::Dialog& d) {
        EXPECT_TRUE(plat::SaveWindowImage(&d, std::string(QARV_BUILD_DIR) + "/tuning_step.png"));
        plat::synth::Key(static_cast<CSmallDialog&>(d).Control(3210), plat::VK_RETURN);
    });
    EXPECT_TRUE(steps.Run(&frame));
    for (int at : {0, 3217, 3219}) {
        plat::dialog_script::PushHandler([at](plat::Dialog& d) {
            plat::Window* w = at ? static_cast<CSmallDialog&>(d).Control(at) : &d;
            if (at == 3219) plat::synth::Key(w, plat::VK_ESCAPE);
            else plat::synth::Click(w, plat::synth::Button::Right, {2, 2});
            EXPECT_TRUE(d.Ended()) << at;
        });
        EXPECT_FALSE(steps.Run(&frame));
    }
    EXPECT_DOUBLE_EQ(steps.step, 2500);
}

TEST_F(Dialogs, TheAboutBoxClosesWithEnterAndEscape) {
    for (unsigned key : {plat::VK_RETURN, plat::VK_ESCAPE}) {
        bool ended = false;
        plat::dialog_script::PushHandler([&](plat::Dialog& d) {
            // The keys reach the OK button, which has the keyboard first.
            plat::synth::Key(static_cast<CSmallDialog&>(d).Control(plat::IDOK), key);
            ended = d.Ended();
        });
        frame.SendMessage(plat::WM_COMMAND, ID_ABOUT);
        EXPECT_TRUE(ended) << "key " << key;
    }
}
