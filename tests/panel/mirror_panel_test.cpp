// The Mirror Control panel as the operator uses it: its buttons clicked with
// the mouse run the radio panel's actions, it drags by its body, and in the
// running program its Transmit and S Meter buttons reach the radio.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/tuning_wiring.h"
#include "base/panel_options.h"
#include "civ/civ_options.h"
#include "civ/engine_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_models.h"
#include "civ/reply_processing.h"
#include "common/sim_station.h"
#include "control_fixture.h"
#include "panel/mirror_panel.h"
#include "panel/radio_window.h"
#include "panel/swl_panel.h"
#include "platform/keys.h"

namespace {
using plat::synth::Button;

// The main frame: records the commands, and runs the Split key action the
// way the radio panel will (split goes on when it was off).
struct Frame : ControlOwner {
    bool splitWorks = false;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM l) override {
        if (id == ID_MR_SPLIT_ACTION && splitWorks && g_swlpanel) g_swlpanel->split = !g_swlpanel->split;
        return ControlOwner::OnCommand(id, code, l);
    }
};

struct MirrorPanelTest : ::testing::Test {
    Frame frame;
    CSwlPanel panel{&frame};
    void SetUp() override {
        frame.Open(400, 400);
        g_swlpanel = &panel;
        WireTuningView();
        panel.enabled = 1;  // the program has put its first tuning on the panel
    }
    void TearDown() override {
        DestroyMirrorPanel();
        g_swlpanel = nullptr;
    }
    CMRPanel* Make() {
        const plat::Point size = MirrorPanelSize();
        CMRPanel* p = CreateMirrorPanel(&frame, {20, 30, 20 + size.x, 30 + size.y});
        p->ShowWindow(plat::SW_SHOW);
        return p;
    }
    static void Click(CBiStateButton& b) { plat::synth::Click(&b, Button::Left, {10, 5}); }
};
}  // namespace

TEST(MirrorRules, PollingCaptionsAndTheMeterCycle) {
    EXPECT_STREQ(PollingCaption(23, false), "Polling VFO A");
    EXPECT_STREQ(PollingCaption(23, true), "Polling VFO B");
    EXPECT_STREQ(PollingCaption(5, false), "Polling MAIN");
    EXPECT_STREQ(PollingCaption(5, true), "Polling SUB");
    int s = 0;
    std::vector<int> seen;
    for (int i = 0; i < 6; ++i) seen.push_back(s = NextMeterSetting(s, 0));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 0, 1}));
    // No compression meter on the IC-746PRO and the IC-703.
    EXPECT_EQ(NextMeterSetting(2, 3), 4);
    EXPECT_EQ(NextMeterSetting(2, 11), 4);
    EXPECT_EQ(NextMeterSetting(4, 11), 0);
    EXPECT_EQ(NextMeterSetting(9, 0), 0);  // a stray saved value starts over
    EXPECT_STREQ(MeterSettingCaption(3), "COMMtr");
    EXPECT_EQ(MeterTypeOfSetting(0), 4);
    EXPECT_EQ(MeterTypeOfSetting(2), 3);
    EXPECT_EQ(MeterTypeOfSetting(4), 6);
}

TEST_F(MirrorPanelTest, HasItsButtonsAndNoSplitOnAReceiver) {
    CMRPanel* p = Make();
    for (const char* c : {"Polling VFO A", "Dual Watch", "Split", "Transmit", "S Meter", "Tuner On", "Tuner Off"})
        EXPECT_NE(plat::FindWindowByName(p, c), nullptr) << c;
    EXPECT_EQ(p->caption.GetWindowText(), "Mirror Control");
    EXPECT_FALSE(p->caption.IsWindowVisible());
    EXPECT_TRUE(p->title.IsWindowVisible());
    // The title strip is painted with the panel's blue.
    EXPECT_TRUE(AnyPixel(p, {2, 2, 40, 6}, plat::RGB(0, 0, 255), 30));
    EXPECT_TRUE(plat::SaveWindowImage(p, std::string(QARV_BUILD_DIR) + "/mirror_panel.png"));
    DestroyMirrorPanel();

    g_perseus = 1;  // the Perseus receiver cannot transmit
    g_radiotype = 5;
    p = Make();
    EXPECT_FALSE(p->hasSplit);
    EXPECT_EQ(plat::FindWindowByName(p, "Split"), nullptr);
    EXPECT_FALSE(p->split.IsCreated());
    EXPECT_NE(plat::FindWindowByName(p, "Polling MAIN"), nullptr);
    EXPECT_LT(p->GetWindowRect().height(), MirrorPanelSize().y + 1);
    MirrorShowSplit(1);  // the radio panel's split display has nothing to light
    EXPECT_EQ(p->split.GetState(), 0);
}

TEST_F(MirrorPanelTest, PollingDoesNothingUnlessTheSubReceiverIsOnOrMirroring) {
    CMRPanel* p = Make();
    g_dual = 0;
    g_mirror = 0;
    Click(p->polling);
    EXPECT_EQ(g_subsliders, 0);
    EXPECT_EQ(p->polling.GetWindowText(), "Polling VFO A");
    g_mirror = 1;
    Click(p->polling);
    EXPECT_EQ(g_subsliders, 1);
    EXPECT_EQ(p->polling.GetWindowText(), "Polling VFO B");
    Click(p->polling);
    EXPECT_EQ(g_subsliders, 0);
    EXPECT_EQ(p->polling.GetWindowText(), "Polling VFO A");
    g_mirror = 0;
    g_dual = 1;  // the sub receiver is on
    Click(p->polling);
    EXPECT_EQ(g_subsliders, 1);
    EXPECT_TRUE(frame.commands.empty());  // nothing for the main frame
}

TEST_F(MirrorPanelTest, SMeterCyclesTheMeterSelectionAndItsCaption) {
    g_radiotype = 3;
    CMRPanel* p = Make();
    std::vector<std::string> captions;
    std::vector<int> types;
    for (int i = 0; i < 4; ++i) {
        Click(p->meter);
        captions.push_back(p->meter.GetWindowText());
        types.push_back(g_metertype);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"PwrMtr", "SWRMtr", "ALCMtr", "S Meter"}));
    EXPECT_EQ(types, (std::vector<int>{1, 3, 6, 4}));
    EXPECT_EQ(g_metersetting, 0);
}

TEST_F(MirrorPanelTest, TransmitTogglesThePanelsRequestAndNotifies) {
    CMRPanel* p = Make();
    Click(p->transmit);
    EXPECT_EQ(panel.fn.pttRequest, 1);
    EXPECT_EQ(p->transmit.GetState(), 1);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 1);
    Click(p->transmit);
    EXPECT_EQ(panel.fn.pttRequest, 0);
    EXPECT_EQ(p->transmit.GetState(), 0);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 2);
}

TEST_F(MirrorPanelTest, SplitAndTunerRunTheFramesCommands) {
    CMRPanel* p = Make();
    Click(p->tunerOn);
    Click(p->tunerOff);
    EXPECT_EQ(frame.commands, (std::vector<unsigned>{ID_MR_TUNER_ON, ID_MR_TUNER_OFF}));
    frame.commands.clear();
    // A refused split (the action left it off): nothing lit, nothing pushed.
    Click(p->split);
    EXPECT_EQ(frame.commands, std::vector<unsigned>{ID_MR_SPLIT_ACTION});
    EXPECT_EQ(p->split.GetState(), 0);
    frame.commands.clear();
    frame.splitWorks = true;
    Click(p->split);
    EXPECT_EQ(p->split.GetState(), 1);
    EXPECT_EQ(frame.commands, (std::vector<unsigned>{ID_MR_SPLIT_ACTION, IDC_VFOB_CHANGED}));
    frame.commands.clear();
    // With a control surface driving the change, the surface pushes at its end.
    g_inpodkey = 1;
    Click(p->split);
    g_inpodkey = 0;
    EXPECT_EQ(p->split.GetState(), 0);
    EXPECT_EQ(frame.commands, std::vector<unsigned>{ID_MR_SPLIT_ACTION});
}

TEST_F(MirrorPanelTest, TheRadioPanelKeepsTheButtonsInStep) {
    CMRPanel* p = Make();
    MirrorShowDual(1);
    MirrorShowSplit(1);
    MirrorShowTransmit(1);
    MirrorShowSliders(1);
    MirrorShowMeter(2);
    EXPECT_EQ(p->dual.GetState(), 1);
    EXPECT_EQ(p->split.GetState(), 1);
    EXPECT_EQ(p->transmit.GetState(), 1);
    EXPECT_EQ(p->polling.GetWindowText(), "Polling VFO B");
    EXPECT_EQ(p->meter.GetWindowText(), "SWRMtr");
    // Dual Watch runs the panel's toggle, which tells the main frame once.
    Click(p->dual);
    EXPECT_EQ(panel.dual, 1);
    EXPECT_EQ(p->dual.GetState(), 1);
    EXPECT_EQ(frame.Count(IDC_VFOB_CHANGED), 1);
    Click(p->dual);
    EXPECT_EQ(panel.dual, 0);
    EXPECT_EQ(p->dual.GetState(), 0);
    EXPECT_EQ(frame.Count(IDC_VFOB_CHANGED), 2);
}

TEST_F(MirrorPanelTest, DragsByItsBodyAndHidesOnClose) {
    CMRPanel* p = Make();
    frame.SetFocus();
    const plat::Rect before = p->GetWindowRect();
    // The margin beside the buttons is the body.
    const plat::Point body{1, before.height() / 2};
    plat::synth::Press(p, Button::Left, body);
    plat::synth::Move(p, {body.x + 40, body.y + 25}, plat::MK_LBUTTON);
    plat::synth::Release(p, Button::Left, {body.x + 40, body.y + 25});
    const plat::Rect after = p->GetWindowRect();
    EXPECT_EQ(after.left, before.left + 40);
    EXPECT_EQ(after.top, before.top + 25);
    EXPECT_EQ(after.width(), before.width());
    EXPECT_EQ(plat::FocusedWindow(), &frame);  // the keyboard stays with the frame
    EXPECT_TRUE(frame.commands.empty());
    RecordMirrorPanelPlace();
    char expect[40];
    std::snprintf(expect, sizeof expect, "%04d %04d", after.left, after.top);
    EXPECT_STREQ(g_mrplace, expect);
    p->SendMessage(plat::WM_CLOSE);
    EXPECT_FALSE(p->IsWindowVisible());
    EXPECT_EQ(g_mrpanel, p);  // kept for the next time
}

// ---- In the running program -------------------------------------------------

TEST(MirrorPanelInTheProgram, ShownAtStartAlsoWithoutMirroring) {
    TestDir dir;
    dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM0\n");
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(g_mrpanel, nullptr);
    EXPECT_EQ(g_mainwin->ChildById(IDW_MIRROR_PANEL), g_mrpanel);
    EXPECT_TRUE(g_mrpanel->IsWindowVisible());
    app.ExitInstance();
}

// A dual-receiver radio (IC-756PRO) in mirror mode: the space bar lights
// both Transmit buttons; split and dual watch clicked on the radio window
// reach the radio from the send queue and once more from the mirror poll.
TEST(MirrorPanelInTheProgram, SpaceSplitAndDualWatchReachBothPanelsAndTheMirrorPoll) {
    TestDir dir;
    sim::SimRadio radio{0x5C, 19200};
    ASSERT_TRUE(radio.link(dir.file("ports/com1")));
    dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nMIRROR=1\n[OPERATING STATUS]\nQARV=0\n");
    radio.start();
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    auto run = [&](int ms) { simsteps::Run(ms, {&radio}); };
    for (int i = 0; i < 30 && !g_mainwin->HasTimer(TIMER_METER_CYCLE); ++i) run(500);
    run(3000);
    g_mainwin->SendMessage(plat::WM_KEYDOWN, plat::VK_SPACE, 0);
    EXPECT_EQ(g_mrpanel->transmit.GetState(), 1);
    g_mainwin->SendMessage(plat::WM_KEYUP, plat::VK_SPACE, 0);
    EXPECT_EQ(g_mrpanel->transmit.GetState(), 0);
    auto clickAndCount = [&](int id, std::vector<std::uint8_t> cmd) {
        radio.clearLog();
        plat::synth::Click(g_radiowindow->Control(id), plat::synth::Button::Left, {5, 5});
        run(1500);
        const std::vector<sim::Bytes> frames = radio.frames();
        return std::count_if(frames.begin(), frames.end(), [&](const sim::Bytes& f) {
            return f.size() == cmd.size() + 5 && std::equal(cmd.begin(), cmd.end(), f.begin() + 4);
        });
    };
    EXPECT_EQ(clickAndCount(122, {0x0F, 0x01}), 2);  // SPLIT on
    EXPECT_EQ(clickAndCount(122, {0x0F, 0x00}), 2);  // and off
    EXPECT_EQ(clickAndCount(439, {0x07, 0xC1}), 2);  // DUAL on
    EXPECT_EQ(clickAndCount(439, {0x07, 0xC0}), 2);  // and off
    app.ExitInstance();
    radio.stop();
}

TEST(MirrorPanelInTheProgram, TransmitAndTheMeterButtonReachTheRadio) {
    SimStation st("", "MIRROR=1\n");
    st.initialise();
    ASSERT_NE(g_mrpanel, nullptr);
    EXPECT_TRUE(g_mrpanel->IsWindowVisible());
    EXPECT_TRUE(plat::FindWindowByName(g_mainwin->ControlBar(), "Mirror")->IsWindowEnabled());
    plat::synth::Click(&g_mrpanel->transmit, plat::synth::Button::Left, {10, 5});
    for (int i = 0; i < 40 && st.radio.transmitting() != 1; ++i) st.run(100);
    EXPECT_EQ(st.radio.transmitting(), 1);
    for (int i = 0; i < 40 && g_transmitting != 1; ++i) st.run(100);
    ASSERT_EQ(g_transmitting, 1);
    // While transmitting the meter poll reads the meter the button chose.
    plat::synth::Click(&g_mrpanel->meter, plat::synth::Button::Left, {10, 5});
    EXPECT_EQ(g_metersetting, 1);
    st.radio.clearLog();
    st.run(1500);
    int power = 0;
    for (const auto& f : st.radio.frames())
        if (f.size() == 7 && f[4] == 0x15 && f[5] == 0x11) ++power;
    EXPECT_GE(power, 3);
    plat::synth::Click(&g_mrpanel->transmit, plat::synth::Button::Left, {10, 5});
    for (int i = 0; i < 40 && st.radio.transmitting() != 0; ++i) st.run(100);
    EXPECT_EQ(st.radio.transmitting(), 0);
    EXPECT_TRUE(plat::SaveWindowImage(g_mrpanel, std::string(QARV_BUILD_DIR) + "/mirror_panel_program.png"));
}

TEST(MirrorPanelInTheProgram, PollingMovesTheMirrorPollToVfoBAndBack) {
    SimStation st("", "MIRROR=1\n");
    st.initialise();
    ASSERT_TRUE(g_mainwin->HasTimer(TIMER_POLL_SEQUENCE));
    g_split = 1;  // split on: there is a VFO B to follow
    plat::synth::Click(&g_mrpanel->polling, plat::synth::Button::Left, {10, 5});
    EXPECT_EQ(g_mrpanel->polling.GetWindowText(), "Polling VFO B");
    for (int i = 0; i < 30 && st.radio.selectedVfo() != 1; ++i) st.run(100);
    EXPECT_EQ(st.radio.selectedVfo(), 1);
    EXPECT_EQ(g_pollvfoa, 0);
    plat::synth::Click(&g_mrpanel->polling, plat::synth::Button::Left, {10, 5});
    EXPECT_EQ(g_mrpanel->polling.GetWindowText(), "Polling VFO A");
    for (int i = 0; i < 30 && st.radio.selectedVfo() != 0; ++i) st.run(100);
    EXPECT_EQ(st.radio.selectedVfo(), 0);
    EXPECT_EQ(g_pollvfoa, 1);
}
