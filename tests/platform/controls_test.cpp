#include <gtest/gtest.h>

#include <vector>

#include "platform/controls.h"

namespace {
struct Parent : plat::Window {
    std::vector<std::pair<unsigned, unsigned>> commands;  // id, code
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM) override {
        commands.emplace_back(id, code);
        return true;
    }
};
}  // namespace

TEST(Controls, ButtonsAndCheckBoxesNotifyTheirParent) {
    Parent p;
    p.Create("p", 0, {0, 0, 200, 200}, nullptr, 0);
    plat::Button b;
    b.CreateControl("Radio", {0, 0, 50, 20}, &p, 40010);
    plat::CheckBox c;
    c.CreateControl("Trace", {0, 30, 50, 50}, &p, 3001);
    b.Click();
    c.Click();
    EXPECT_EQ(c.GetCheck(), 1);
    c.SetCheck(0);  // program-side changes do not notify
    EXPECT_EQ(p.commands, (std::vector<std::pair<unsigned, unsigned>>{{40010, plat::BN_CLICKED}, {3001, plat::BN_CLICKED}}));
    b.SetWindowText("Sweep");
    EXPECT_EQ(b.GetWindowText(), "Sweep");
}

TEST(Controls, ListsKeepSelectionAcrossEdits) {
    Parent p;
    p.Create("p", 0, {0, 0, 200, 200}, nullptr, 0);
    plat::ComboBox combo;
    combo.CreateControl("", {0, 0, 100, 20}, &p, 77);
    for (const char* s : {"BLACK", "WHITE", "RED"}) combo.AddString(s);
    EXPECT_EQ(combo.SetCurSel(2), 2);
    combo.InsertString(0, "NONE");
    EXPECT_EQ(combo.GetSelectedText(), "RED");
    combo.DeleteString(3);
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_EQ(combo.FindStringExact("white"), 2);
    EXPECT_EQ(combo.SetCurSel(9), plat::CB_ERR);
    combo.Choose(1);
    ASSERT_EQ(p.commands.size(), 1u);
    EXPECT_EQ(p.commands[0], std::make_pair(77u, plat::CBN_SELCHANGE));
}

TEST(Controls, EditLimitsTypedText) {
    Parent p;
    p.Create("p", 0, {0, 0, 200, 200}, nullptr, 0);
    plat::Edit e;
    e.CreateControl("", {0, 0, 100, 20}, &p, 5);
    e.SetLimitText(4);
    e.TypeText("123456");
    EXPECT_EQ(e.GetText(), "1234");
    EXPECT_EQ(p.commands.back(), std::make_pair(5u, plat::EN_CHANGE));
}

TEST(Controls, ChildrenStayHiddenUntilShown) {
    Parent p;
    p.Create("p", 0, {0, 0, 200, 200}, nullptr, 0);
    plat::StaticText hidden, shown;
    hidden.CreateControl("x", {0, 0, 10, 10}, &p, 1, false);
    shown.CreateControl("y", {0, 0, 10, 10}, &p, 2, true);
    p.ShowWindow(plat::SW_SHOW);
    EXPECT_FALSE(hidden.IsWindowVisible());
    EXPECT_TRUE(shown.IsWindowVisible());
    // The parent going first must not leave the children dangling.
    p.DestroyWindow();
    hidden.SetWindowText("still safe");
}
