// The scratch-pad and radio-memory recall panels as the operator uses them:
// the scratch-pad buttons post the radio window's commands, a channel typed
// into the recall panel is recalled on the radio, and in the running
// program both panels open, toggle and keep their places.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/app_options.h"
#include "app/commands.h"
#include "app/tuning_wiring.h"
#include "base/memory_options.h"
#include "base/shell_ops.h"
#include "common/sim_station.h"
#include "memories/recall_panels.h"
#include "panel/control_fixture.h"
#include "panel/swl_panel.h"
#include "panel/radio_window.h"
#include "platform/event_loop.h"
#include "platform/layout_check.h"
#include "platform/keys.h"

namespace {
using plat::synth::Button;

struct PanelsTest : ::testing::Test {
    ControlOwner frame;
    CSwlPanel panel{&frame};
    void SetUp() override {
        frame.Open(500, 400);
        g_swlpanel = &panel;
        WireTuningView();
    }
    void TearDown() override {
        DestroyRecallPanels();
        g_swlpanel = nullptr;
    }
};

// Frames the radio got that select a memory channel (08 hi lo).
std::vector<sim::Bytes> ChannelSelects(const std::vector<sim::Bytes>& frames) {
    std::vector<sim::Bytes> out;
    for (const auto& f : frames)
        if (f.size() == 8 && f[4] == 0x08) out.push_back({f[5], f[6]});
    return out;
}

// Types `text` into the recall panel's edit and leaves it with Enter.
void TypeChannel(const std::string& text) {
    plat::Edit& e = g_qarvmempanel->edit;
    e.SetFocus();
    e.SetText("");
    plat::synth::Type(&e, text);
    plat::synth::Key(&e, plat::VK_RETURN);
}
}  // namespace

TEST(RecallPanelRules, TypedTextAsAChannel) {
    EXPECT_EQ(ChannelFromText("12"), 12);
    EXPECT_EQ(ChannelFromText("105"), 105);
    EXPECT_EQ(ChannelFromText("abc"), 0);
    EXPECT_EQ(ChannelFromText(""), 0);
    EXPECT_EQ(ChannelFromText("7x"), 7);
}

TEST_F(PanelsTest, ScratchPadButtonsPostTheRadioWindowsCommands) {
    const plat::Point size = ScratchPadPanelSize();
    CSPMemory* sp = CreateScratchPadPanel(&frame, {10, 10, 10 + size.x, 10 + size.y});
    sp->ShowWindow(plat::SW_SHOW);
    EXPECT_EQ(sp->GetWindowText(), "SP Memory");
    EXPECT_EQ(sp->title.GetWindowText(), "Scratch Pad Memories");
    for (const char* c : {"Rcl 1", "Rcl 2", "Rcl 3", "Rcl X", "Sto 1", "Sto 2", "Sto 3"}) {
        auto* b = static_cast<CBiStateButton*>(plat::FindWindowByName(sp, c));
        ASSERT_NE(b, nullptr) << c;
        plat::synth::Click(b, Button::Left, {5, 5});
    }
    // Posted, not sent: nothing has run inside the clicks.
    EXPECT_TRUE(frame.commands.empty());
    plat::DeliverPosted();
    EXPECT_EQ(frame.commands, (std::vector<unsigned>{123, 6128, 6130, 6132, 124, 6129, 6131}));
    // The stored frequencies under their recall buttons, the widest a VFO
    // shows.
    ShowScratchPadField(1, " 7.074000");
    ShowScratchPadField(2, "14.195000");
    ShowScratchPadField(0, "1296.100000");
    EXPECT_EQ(sp->fields[2].GetWindowText(), "2: 14.195000");
    ShowScratchPadField(4, "x");  // no such field: nothing happens
    EXPECT_TRUE(plat::SaveWindowImage(sp, std::string(QARV_BUILD_DIR) + "/scratch_pad_panel.png"));
}

TEST_F(PanelsTest, LeavingTheEditAsksTheFrameToRecallTheChannel) {
    const plat::Point size = RecallPanelSize();
    CQARVMEMPanel* r = CreateRecallPanel(&frame, {10, 100, 10 + size.x, 100 + size.y});
    r->ShowWindow(plat::SW_SHOW);
    EXPECT_EQ(r->GetWindowText(), "QARV Recall Memory");
    EXPECT_EQ(r->title.GetWindowText(), "Recall QARV Memory");
    EXPECT_EQ(r->label.GetWindowText(), "QARV Memory");
    TypeChannel("42");
    EXPECT_EQ(g_qarvmemchannel, 42);
    EXPECT_EQ(frame.Count(ID_RECALL_RADIO_MEMORY), 1);
    // Leaving the edit otherwise recalls it as well.
    r->edit.SetFocus();
    plat::synth::Type(&r->edit, "7");
    r->edit.KillFocus();
    EXPECT_EQ(g_qarvmemchannel, 427);
    EXPECT_EQ(frame.Count(ID_RECALL_RADIO_MEMORY), 2);
    EXPECT_TRUE(plat::SaveWindowImage(r, std::string(QARV_BUILD_DIR) + "/recall_memory_panel.png"));
}

TEST_F(PanelsTest, BothDragByTheirBodyAndHideOnClose) {
    const plat::Point size = ScratchPadPanelSize();
    CSPMemory* sp = CreateScratchPadPanel(&frame, {10, 10, 10 + size.x, 10 + size.y});
    sp->ShowWindow(plat::SW_SHOW);
    const plat::Point body{1, size.y - 2};
    plat::synth::Press(sp, Button::Left, body);
    plat::synth::Move(sp, {body.x + 100, body.y + 50}, plat::MK_LBUTTON);
    plat::synth::Release(sp, Button::Left, {body.x + 100, body.y + 50});
    EXPECT_EQ(sp->GetWindowRect().left, 110);
    EXPECT_EQ(sp->GetWindowRect().top, 60);
    RecordRecallPanelPlaces();
    EXPECT_STREQ(g_spplace, "0110 0060");
    plat::DeliverPosted();
    EXPECT_TRUE(frame.commands.empty());
    sp->SendMessage(plat::WM_CLOSE);
    EXPECT_FALSE(sp->IsWindowVisible());
    EXPECT_EQ(g_spmemory, sp);
}

// ---- In the running program -------------------------------------------------

TEST(RecallPanelsInTheProgram, ATypedChannelIsRecalledOnTheRadio) {
    SimStation st("");
    st.initialise();
    ASSERT_NE(g_qarvmempanel, nullptr);
    EXPECT_TRUE(g_qarvmempanel->IsWindowVisible());  // "QARVMEM VISIBLE" is on by default
    sim::SimRadio::Memory m;
    m.hz = 10125000;
    m.mode = 0x03;
    st.radio.setMemory(12, m);
    st.radio.clearLog();
    TypeChannel("12");
    st.run(1500);
    auto frames = st.radio.takeFrames();
    ASSERT_EQ(ChannelSelects(frames), (std::vector<sim::Bytes>{{0x00, 0x12}}));
    // The recall copies the channel to the VFO, and the program follows it.
    EXPECT_EQ(st.radio.frequency(0), 10125000);
    for (int i = 0; i < 30 && g_swlpanel->vfoAFreq != 10.125; ++i) st.run(100);
    EXPECT_DOUBLE_EQ(g_swlpanel->vfoAFreq, 10.125);

    TypeChannel("105");
    st.run(1000);
    EXPECT_EQ(ChannelSelects(st.radio.takeFrames()), (std::vector<sim::Bytes>{{0x01, 0x05}}));
    TypeChannel("abc");
    st.run(1000);
    EXPECT_EQ(ChannelSelects(st.radio.takeFrames()), (std::vector<sim::Bytes>{{0x00, 0x00}}));
}

TEST(RecallPanelsInTheProgram, OpenToggleAndKeepTheirPlaces) {
    TestDir dir;
    dir.write("qarv.ini",
              "[INTERFACE]\nCOMPORT=COM0\n[OPERATING STATUS]\nSP VISIBLE=1\nQARVMEM VISIBLE=0\n"
              "[SP WINDOW]\nLOCATION=1500 0150\n[QARVMEM WINDOW]\nLOCATION=-500 0055\n");
    // A screen with room beside the radio window: the saved place covers nothing.
    plat::app::SetHeadlessDesktop({0, 0, 1920, 1080});
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    plat::app::SetHeadlessDesktop({});
    ASSERT_NE(g_spmemory, nullptr);
    EXPECT_EQ(g_mainwin->ChildById(IDW_SP_MEMORY), g_spmemory);
    EXPECT_EQ(g_mainwin->ChildById(IDW_RECALL_MEMORY), g_qarvmempanel);
    EXPECT_TRUE(g_spmemory->IsWindowVisible());
    EXPECT_EQ(g_lasttoggled, g_spmemory);
    EXPECT_FALSE(g_qarvmempanel->IsWindowVisible());
    EXPECT_EQ(g_spmemory->GetWindowRect().left, 1500);
    EXPECT_EQ(g_spmemory->GetWindowRect().top, 150);
    // Off the left of the screen: moved back to x 0.
    EXPECT_EQ(g_qarvmempanel->GetWindowRect().left, 0);
    EXPECT_EQ(g_qarvmempanel->GetWindowRect().top, 55);

    // Alt+V and Alt+N toggle them by their visibility flags.
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_TOGGLE_SP_MEMORY);
    EXPECT_FALSE(g_spmemory->IsWindowVisible());
    EXPECT_EQ(g_spvisible, 0);
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_TOGGLE_RECALL_MEMORY);
    EXPECT_TRUE(g_qarvmempanel->IsWindowVisible());
    EXPECT_EQ(g_qarvmemvisible, 1);
    EXPECT_EQ(g_lasttoggled, g_qarvmempanel);
    // Shown on the radio window, it went to a free place.
    EXPECT_FALSE(plat::Intersects(g_qarvmempanel->GetWindowRect(), g_radiowindow->GetWindowRect()));
    const plat::Rect shown = g_qarvmempanel->GetWindowRect();

    // Dragged somewhere else, the recall panel is found there next time.
    const plat::Point body{1, g_qarvmempanel->GetWindowRect().height() - 2};
    plat::synth::Press(g_qarvmempanel, Button::Left, body);
    plat::synth::Move(g_qarvmempanel, {body.x + 30, body.y + 20}, plat::MK_LBUTTON);
    plat::synth::Release(g_qarvmempanel, Button::Left, {body.x + 30, body.y + 20});
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_FILE_QUIT);
    plat::manual_clock::Advance(600);
    ASSERT_TRUE(g_mainwin->Closed());
    const std::string ini = dir.read("qarv.ini");
    char moved[64];
    std::snprintf(moved, sizeof moved, "[QARVMEM WINDOW]\nLOCATION=%04d %04d", shown.left + 30, shown.top + 20);
    EXPECT_NE(ini.find(moved), std::string::npos) << ini;
    EXPECT_NE(ini.find("[SP WINDOW]\nLOCATION=1500 0150"), std::string::npos);
    EXPECT_NE(ini.find("SP VISIBLE=0"), std::string::npos);
    EXPECT_NE(ini.find("QARVMEM VISIBLE=1"), std::string::npos);
    app.ExitInstance();
}
