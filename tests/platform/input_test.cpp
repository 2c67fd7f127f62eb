#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/input_synth.h"
#include "platform/menu.h"
#include "platform/window.h"

namespace {
using plat::synth::Button;

struct Recorder : plat::Window {
    std::vector<std::string> log;
    void Add(const std::string& what, plat::Point p) { log.push_back(what + " " + std::to_string(p.x) + "," + std::to_string(p.y)); }
    void OnLButtonDown(unsigned, plat::Point p) override { Add("ldown", p); }
    void OnLButtonUp(unsigned, plat::Point p) override { Add("lup", p); }
    void OnLButtonDblClk(unsigned, plat::Point p) override { Add("ldbl", p); }
    void OnRButtonDown(unsigned, plat::Point p) override { Add("rdown", p); }
    void OnMouseMove(unsigned flags, plat::Point p) override { Add(flags & plat::MK_LBUTTON ? "drag" : "move", p); }
    void OnMouseWheel(unsigned, int delta, plat::Point) override { log.push_back("wheel " + std::to_string(delta)); }
    void OnMouseEnter() override { log.push_back("enter"); }
    void OnMouseLeave() override { log.push_back("leave"); }
    void OnSetFocus(plat::Window*) override { log.push_back("setfocus"); }
    void OnKillFocus(plat::Window*) override { log.push_back("killfocus"); }
    void OnCaptureChanged() override { log.push_back("capturelost"); }
    void OnShowWindow(bool shown) override { log.push_back(shown ? "shown" : "hidden"); }
    bool OnCommand(unsigned id, unsigned, plat::LPARAM) override {
        log.push_back("command " + std::to_string(id));
        return true;
    }
};

struct InputTest : ::testing::Test {
    Recorder frame, a, b;
    void SetUp() override {
        frame.Create("frame", plat::WS_OVERLAPPEDWINDOW, {0, 0, 300, 200}, nullptr, 0);
        frame.ShowWindow(plat::SW_SHOW);
        a.Create("A", plat::WS_CHILD | plat::WS_VISIBLE, {10, 10, 60, 40}, &frame, 1);
        b.Create("B", plat::WS_CHILD | plat::WS_VISIBLE, {100, 10, 150, 40}, &frame, 2);
        a.log.clear();
        b.log.clear();
        frame.log.clear();
    }
};
}  // namespace

TEST_F(InputTest, MouseMessagesCarryClientPositionsInTheirOrder) {
    plat::synth::DoubleClick(&a, Button::Left, {5, 6});
    plat::synth::Move(&a, {7, 8}, plat::MK_LBUTTON);
    plat::synth::Press(&a, Button::Right, {1, 2});
    EXPECT_EQ(a.log, (std::vector<std::string>{"ldown 5,6", "lup 5,6", "ldbl 5,6", "lup 5,6", "drag 7,8", "rdown 1,2"}));
}

TEST_F(InputTest, WheelCountsWholeClicksAndAddsUpTouchpadDeltas) {
    plat::synth::Wheel(&a, {5, 5}, 40);
    plat::synth::Wheel(&a, {5, 5}, 40);
    EXPECT_TRUE(a.log.empty());
    plat::synth::Wheel(&a, {5, 5}, 50);  // 130: one click, 10 kept
    plat::synth::Wheel(&a, {5, 5}, -250);  // 10 - 250: two clicks down
    plat::synth::Wheel(&a, {5, 5}, 360);
    EXPECT_EQ(a.log, (std::vector<std::string>{"wheel 120", "wheel -240", "wheel 360"}));
}

TEST_F(InputTest, CaptureRoutesTheMouseAndTellsTheLoser) {
    a.SetCapture();
    plat::synth::Press(&b, Button::Left, {5, 5});  // over B, but A holds the mouse
    EXPECT_TRUE(b.log.empty());
    EXPECT_EQ(a.log, std::vector<std::string>{"ldown 95,5"});
    b.SetCapture();
    EXPECT_EQ(a.log.back(), "capturelost");
    EXPECT_EQ(plat::GetCapture(), &b);
    b.ShowWindow(plat::SW_HIDE);  // hiding gives it up
    EXPECT_EQ(plat::GetCapture(), nullptr);
    EXPECT_EQ(b.log, (std::vector<std::string>{"capturelost", "hidden"}));
}

TEST_F(InputTest, FocusMovesWithKillThenSet) {
    a.SetFocus();
    b.SetFocus();
    EXPECT_EQ(a.log, (std::vector<std::string>{"setfocus", "killfocus"}));
    EXPECT_EQ(b.log, std::vector<std::string>{"setfocus"});
    EXPECT_EQ(plat::FocusedWindow(), &b);
}

TEST_F(InputTest, HidingAParentTellsItsChildren) {
    frame.ShowWindow(plat::SW_HIDE);
    EXPECT_EQ(a.log, std::vector<std::string>{"hidden"});
    EXPECT_EQ(frame.log, std::vector<std::string>{"hidden"});
}

TEST_F(InputTest, HoverEnterAndLeave) {
    plat::synth::Enter(&a);
    plat::synth::Leave(&a);
    EXPECT_EQ(a.log, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(InputTest, TooltipsFollowTheProgramWideSwitch) {
    a.SetToolTip("Volume VFO A");
    EXPECT_EQ(plat::ShownToolTip(&a), "Volume VFO A");
    plat::EnableToolTips(false);
    EXPECT_EQ(plat::ShownToolTip(&a), "");
    b.SetToolTip("Keyer Speed");
    EXPECT_EQ(plat::ShownToolTip(&b), "");
    plat::EnableToolTips(true);
    EXPECT_EQ(plat::ShownToolTip(&a), "Volume VFO A");
    EXPECT_EQ(plat::ShownToolTip(&b), "Keyer Speed");
}

TEST_F(InputTest, PopupMenuChoiceReachesTheOwnerAndTakesTheCapture) {
    plat::popup_menu_script::Enable();
    plat::popup_menu_script::PushChoice(7);
    a.SetCapture();
    EXPECT_EQ(plat::TrackPopupMenu(&frame, {{"One", 7, {}}, {"", 0, {}}, {"Two", 8, {}}}, 40, 50), 7u);
    EXPECT_EQ(frame.log, std::vector<std::string>{"command 7"});
    EXPECT_EQ(a.log, std::vector<std::string>{"capturelost"});
    EXPECT_EQ(plat::TrackPopupMenu(&frame, {{"One", 7, {}}}, 0, 0), 0u);  // dismissed
    EXPECT_EQ(plat::popup_menu_script::History().size(), 2u);
}

TEST_F(InputTest, AccessibleNameFollowsTheCaptionUnlessSetApart) {
    a.SetWindowText("Split");
    EXPECT_EQ(plat::AccessibleName(&a), "Split");
    b.SetAccessibleName("14.025.000");
    b.SetWindowText("ignored");
    EXPECT_EQ(plat::AccessibleName(&b), "14.025.000");
    EXPECT_EQ(plat::FindWindowByName(&frame, "14.025.000"), &b);
    EXPECT_EQ(plat::FindWindowByName(&frame, "nothing"), nullptr);
}

TEST_F(InputTest, ControlsTakeTheProgramsColours) {
    plat::StaticText label;
    label.CreateControl("Mirror Control", {10, 60, 110, 80}, &frame, 5933);
    label.SetColours(plat::RGB(255, 255, 255), plat::RGB(0, 0, 255));
    const plat::Snapshot s = plat::TakeSnapshot(&label);
    EXPECT_EQ(s.At(98, 18), plat::RGB(0, 0, 255));
}
