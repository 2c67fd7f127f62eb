#include <gtest/gtest.h>

#include "base/panel_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_models.h"
#include "control_fixture.h"
#include "panel/controls/bistate_button.h"
#include "platform/menu.h"
#include "platform/message_box.h"

namespace {
using plat::synth::Button;

std::vector<unsigned> Commands(int id, const std::string& caption, int type, bool sub, double* step = nullptr) {
    std::vector<unsigned> out;
    for (const SecondCommand& c : RightClickCommands(id, caption, type, sub, step)) out.push_back(c.command);
    return out;
}

struct ButtonTest : ::testing::Test {
    ControlOwner owner;
    CBiStateButton button;
    void Make(const std::string& caption, int id) {
        owner.Open();
        button.CreateChild(caption, {10, 10, 90, 40}, &owner, id);
    }
};
}  // namespace

TEST(RightClickRules, FollowTheTableForModelAndSubReceiver) {
    // The sub receiver of the IC-7800 has commands of its own; the first match wins there.
    EXPECT_EQ(Commands(105, "FM", 5, true), std::vector<unsigned>{5033});
    EXPECT_EQ(Commands(103, "CW", 5, true), std::vector<unsigned>{5036});
    EXPECT_EQ(Commands(103, "CW", 5, false), std::vector<unsigned>{174});
    EXPECT_EQ(Commands(103, "CW", 6, false), std::vector<unsigned>{});
    EXPECT_EQ(Commands(106, "RTTY", 0, false), std::vector<unsigned>{5035});
    EXPECT_EQ(Commands(106, "RTTY", 6, false), std::vector<unsigned>{});
    EXPECT_EQ(Commands(106, "RTTY", 5, true), std::vector<unsigned>{5048});
    EXPECT_EQ(Commands(109, "SPLIT", 0, false), (std::vector<unsigned>{175, 178}));
    EXPECT_EQ(Commands(105, "FM", 4, false), std::vector<unsigned>{5033});
    EXPECT_EQ(Commands(2493, "x", 16, false), std::vector<unsigned>{2520});
    EXPECT_EQ(Commands(2493, "x", 0, false), std::vector<unsigned>{});
    EXPECT_EQ(Commands(1, "Cap", 0, false), std::vector<unsigned>{568});
    EXPECT_EQ(Commands(1, "DUAL", 0, false), std::vector<unsigned>{177});
    EXPECT_EQ(Commands(1, "cap", 0, false), std::vector<unsigned>{});  // exact, case-sensitive
    double step = 5;
    EXPECT_EQ(Commands(703, "100 Hz", 0, false, &step), std::vector<unsigned>{5056});
    EXPECT_EQ(step, 100);
    auto tool = RightClickCommands(2410, "FAST A", 0, false, nullptr);
    ASSERT_EQ(tool.size(), 1u);
    EXPECT_EQ(tool[0], (SecondCommand{2416, true}));
}

TEST_F(ButtonTest, LeftClickSendsItsIdOnlyWhenReleasedOnTheButton) {
    Make("USB", 100);
    plat::synth::Click(&button, Button::Left, {20, 10});
    EXPECT_EQ(owner.commands, std::vector<unsigned>{100});
    plat::synth::Press(&button, Button::Left, {20, 10});
    EXPECT_TRUE(button.IsPushed());
    plat::synth::Move(&button, {200, 10}, plat::MK_LBUTTON);
    EXPECT_FALSE(button.IsPushed());
    plat::synth::Release(&button, Button::Left, {200, 10});
    EXPECT_EQ(owner.commands.size(), 1u);
    EXPECT_FALSE(button.HasCapture());
}

TEST_F(ButtonTest, HeldStepButtonRepeatsTheVfoBStepCommand) {
    Make("100", 703);
    g_stepb = 1;
    plat::synth::Press(&button, Button::Right, {5, 5});
    EXPECT_EQ(g_stepb, 100);
    EXPECT_EQ(owner.Count(5056), 1);  // at once
    Advance(149);
    EXPECT_EQ(owner.Count(5056), 1);
    Advance(1);
    EXPECT_EQ(owner.Count(5056), 2);  // after 150 ms
    Advance(30);
    EXPECT_EQ(owner.Count(5056), 5);  // then every 10 ms
    plat::synth::Release(&button, Button::Right, {5, 5});
    Advance(200);
    EXPECT_EQ(owner.Count(5056), 5);
    EXPECT_FALSE(button.HasTimer(TIMER_REPEAT_DELAY));
    EXPECT_FALSE(button.HasTimer(TIMER_REPEAT_PERIOD));
}

TEST_F(ButtonTest, HeldTuningToolRepeatsAndAReleaseAnywhereStopsIt) {
    Make("VFO A", 2406);
    plat::synth::Press(&button, Button::Left, {5, 5});
    Advance(140);
    EXPECT_TRUE(owner.commands.empty());
    Advance(10);
    EXPECT_EQ(owner.Count(2406), 1);
    Advance(50);
    EXPECT_EQ(owner.Count(2406), 6);
    // Released far outside the button: it still hears it.
    plat::synth::Release(&button, Button::Left, {500, 300});
    Advance(100);
    EXPECT_EQ(owner.Count(2406), 6);
}

TEST_F(ButtonTest, RepeatEndsOnCaptureLossModalBoxHideAndFocusLoss) {
    Make("VFO B", 2407);
    plat::Window other;
    other.Create("other", plat::WS_CHILD, {100, 100, 120, 120}, &owner, 5);

    plat::synth::Press(&button, Button::Right, {5, 5});
    Advance(200);
    const int afterHold = owner.Count(2413);
    EXPECT_GT(afterHold, 3);
    other.SetCapture();  // another window takes the mouse
    Advance(100);
    EXPECT_EQ(owner.Count(2413), afterHold);
    other.ReleaseCapture();

    plat::synth::Press(&button, Button::Right, {5, 5});
    plat::MessageBox(&owner, "Turn off Transverter", "qarv", plat::MB_OK);
    Advance(100);
    EXPECT_EQ(owner.Count(2413), afterHold + 1);

    plat::synth::Press(&button, Button::Right, {5, 5});
    owner.ShowWindow(plat::SW_HIDE);  // the panel goes away with the button held
    Advance(100);
    EXPECT_EQ(owner.Count(2413), afterHold + 2);
    owner.ShowWindow(plat::SW_SHOW);

    button.SetFocus();
    plat::synth::Press(&button, Button::Left, {5, 5});
    other.SetFocus();
    Advance(200);
    EXPECT_EQ(owner.Count(2407), 0);
}

TEST_F(ButtonTest, ClickLeavesTheKeyboardFocusWhereItWas) {
    Make("LSB", 101);
    owner.SetFocus();
    plat::synth::Click(&button, Button::Left, {5, 5});
    EXPECT_EQ(plat::FocusedWindow(), &owner);
}

TEST_F(ButtonTest, ScreenReadersKnowItByItsCaption) {
    Make("SPLIT", 109);
    EXPECT_EQ(plat::AccessibleName(&button), "SPLIT");
    EXPECT_EQ(plat::AccessibleRoleOf(&button), plat::AccessRole::PushButton);
    button.SetWindowText("DUAL");
    EXPECT_EQ(plat::FindWindowByName(&owner, "DUAL"), &button);
}

TEST_F(ButtonTest, StateColoursTheCaptionAndTheCentreGroupTakesItsTint) {
    g_centerbackcolor = plat::RGB(255, 255, 0);  // "YELLOW"
    g_buttonselectedtextcolor = plat::RGB(0, 0, 255);
    CBiStateButton lit;
    Make("USB", 100);
    lit.CreateChild("USB", {100, 10, 180, 40}, &owner, 400);
    lit.SetOnColor(plat::RGB(255, 0, 0));
    lit.SetState(1);
    button.SetState(0);
    // The mode button's interior is tinted; the filter button (side group,
    // white) keeps the button face.
    EXPECT_TRUE(Near(plat::WindowPixel(&button, 6, 6), plat::RGB(255, 255, 0)));
    EXPECT_TRUE(Near(plat::WindowPixel(&lit, 6, 6), plat::GetSysColour(plat::COLOR_BTNFACE), 4));
    EXPECT_TRUE(AnyPixel(&lit, {20, 5, 60, 25}, plat::RGB(255, 0, 0), 60));
    EXPECT_FALSE(AnyPixel(&button, {20, 5, 60, 25}, plat::RGB(255, 0, 0), 60));
}

TEST(HoldButton, ReportsPressAndRelease) {
    ControlOwner owner;
    owner.Open();
    CPHButton hold;
    hold.CreateChild("Hold", {10, 10, 80, 40}, &owner, 108);
    plat::synth::Press(&hold, Button::Left, {5, 5});
    EXPECT_EQ(owner.commands, std::vector<unsigned>{IDC_HOLD_PRESS});
    plat::synth::Release(&hold, Button::Left, {300, 5});
    EXPECT_EQ(owner.commands, (std::vector<unsigned>{IDC_HOLD_PRESS, IDC_HOLD_RELEASE}));
}

TEST(MenuButton, OpensItsFirstSubMenuUnderItselfAndPopsBackOut) {
    plat::popup_menu_script::Enable();
    plat::popup_menu_script::PushChoice(40050);
    ControlOwner owner;
    owner.Open();
    CMenuBtn menu;
    menu.CreateChild("Memory", {10, 20, 110, 50}, &owner, 4000);
    menu.SetMenu({{"Memory", 0, {{"Save", 40050, {}}, {"Recall", 40051, {}}}}});
    plat::synth::Press(&menu, Button::Left, {5, 5});
    ASSERT_EQ(plat::popup_menu_script::History().size(), 1u);
    const auto& shown = plat::popup_menu_script::History()[0];
    EXPECT_EQ(shown.items.size(), 2u);
    EXPECT_EQ(shown.y, menu.ClientToScreen({0, 29}).y);
    EXPECT_EQ(owner.commands, std::vector<unsigned>{40050});
    EXPECT_FALSE(menu.IsPushed());
    EXPECT_EQ(plat::AccessibleRoleOf(&menu), plat::AccessRole::ButtonMenu);
}
