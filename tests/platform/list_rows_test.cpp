// List controls change their widget row by row: what the operator sees and
// moves through stays the list the program holds, after adds, inserts,
// deletes and selections.
#include <gtest/gtest.h>

#include <vector>

#include "platform/controls.h"
#include "platform/input_synth.h"
#include "platform/keys.h"

namespace {
struct Parent : plat::Window {
    bool OnCommand(unsigned, unsigned, plat::LPARAM) override { return true; }
};
}  // namespace

TEST(ListRows, TheWidgetFollowsEveryEditOfTheList) {
    Parent p;
    p.Create("p", plat::WS_OVERLAPPEDWINDOW, {0, 0, 300, 300}, nullptr, 0);
    plat::ListBox list;
    list.CreateControl("", {0, 0, 200, 200}, &p, 5);
    p.ShowWindow(plat::SW_SHOW);
    for (const char* s : {"a", "b", "c", "d", "e"}) list.AddString(s);
    list.SetCurSel(3);                  // "d"
    list.InsertString(0, "first");      // the selection moves with its row
    EXPECT_EQ(list.GetItemText(list.GetCurSel()), "d");
    list.DeleteString(2);               // "b"
    list.AddString("last");
    ASSERT_EQ(list.GetCount(), 6);
    EXPECT_EQ(list.GetItemText(list.GetCurSel()), "d");
    // The keys move through the widget's rows: they land where the list says.
    plat::synth::Key(&list, plat::VK_DOWN);
    EXPECT_EQ(list.GetItemText(list.GetCurSel()), "e");
    plat::synth::Key(&list, plat::VK_END);
    EXPECT_EQ(list.GetCurSel(), 5);
    EXPECT_EQ(list.GetItemText(5), "last");
    plat::synth::Key(&list, plat::VK_HOME);
    EXPECT_EQ(list.GetCurSel(), 0);
    list.DeleteString(0);
    EXPECT_EQ(list.GetCurSel(), -1);
    list.SetCurSel(2);
    plat::synth::Key(&list, plat::VK_UP);
    EXPECT_EQ(list.GetCurSel(), 1);
    plat::synth::Key(&list, plat::VK_END);
    EXPECT_EQ(list.GetCurSel(), 4);
    EXPECT_EQ(list.GetItemText(4), "last");
    list.ResetContent();
    list.AddString("only");
    plat::synth::Key(&list, plat::VK_END);
    EXPECT_EQ(list.GetCurSel(), 0);
}
