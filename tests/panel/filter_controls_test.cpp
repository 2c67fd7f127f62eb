#include <gtest/gtest.h>

#include "base/panel_options.h"
#include "civ/radio_models.h"
#include "control_fixture.h"
#include "panel/controls/filter_controls.h"
#include "platform/modal.h"

namespace {
using plat::synth::Button;
constexpr int kDspType = 5;    // has a filter table
constexpr int kPlainType = 0;  // has none

std::string Caption(int index, bool table, int oldradio = 0) {
    char buf[16];
    const char* c = FilterButtonCaption(index, table, oldradio, false, buf);
    return c ? c : "(unchanged)";
}
}  // namespace

TEST(FilterCaptions, NameTheWidthOrTheOldRadiosFilter) {
    EXPECT_EQ(Caption(13, true), "2.40");
    EXPECT_EQ(Caption(30, true), "700");
    EXPECT_EQ(Caption(1, true), "3.60");
    EXPECT_EQ(Caption(41, true), " 50");
    // Indexes past the table (stored by older settings) show nothing rather
    // than reading beyond it.
    EXPECT_EQ(Caption(45, true), "");
    EXPECT_EQ(Caption(0, true), "");
    EXPECT_EQ(Caption(-3, true), "");
    EXPECT_EQ(Caption(2, false, 1), "2.4");
    EXPECT_EQ(Caption(6, false, 1), "(unchanged)");
    EXPECT_EQ(Caption(6, false, 2), "250N");
    EXPECT_EQ(Caption(3, false, 0), "FIL3");
    EXPECT_EQ(Caption(4, false, 0), "(unchanged)");
}

TEST(FilterButton, RightClickAssignsAWidthThroughTheDialog) {
    g_radiotype = kDspType;
    ControlOwner owner;
    owner.Open();
    CFilterButton button;
    button.CreateChild("", {0, 0, 60, 24}, &owner, 401);
    button.SetFilter(16);
    EXPECT_EQ(button.GetWindowText(), "2.10");
    std::string text;
    int preselected = -2;
    plat::modal_script::SetHandler([&](plat::Window* w) {
        auto* dlg = static_cast<CFilterDlg*>(w);
        text = dlg->m_text;
        preselected = dlg->List().GetCurSel();
        dlg->List().Choose(12);
        dlg->OkButton().Click();
    });
    plat::synth::Press(&button, Button::Right, {5, 5});
    EXPECT_EQ(text, "Assign Filter to Selected Button.");
    EXPECT_EQ(preselected, 15);
    EXPECT_EQ(button.GetFilter(), 13);
    EXPECT_EQ(button.GetWindowText(), "2.40");
    EXPECT_TRUE(button.IsWindowEnabled());
    EXPECT_EQ(g_filterbuttons[0], 13);  // what the panel selects and saves

    plat::modal_script::SetHandler([](plat::Window* w) {
        auto* dlg = static_cast<CFilterDlg*>(w);
        dlg->List().Choose(30);
        dlg->CancelButton().Click();
    });
    plat::synth::Press(&button, Button::Right, {5, 5});
    EXPECT_EQ(button.GetFilter(), 13);
    EXPECT_EQ(button.GetWindowText(), "2.40");
    plat::modal_script::SetHandler(nullptr);
}

TEST(FilterButton, WithoutAFilterTableTheRightClickDoesNothing) {
    g_radiotype = kPlainType;
    ControlOwner owner;
    owner.Open();
    CFilterButton button;
    button.CreateChild("FIL1", {0, 0, 60, 24}, &owner, 402);
    bool opened = false;
    plat::modal_script::SetHandler([&](plat::Window*) { opened = true; });
    plat::synth::Press(&button, Button::Right, {5, 5});
    EXPECT_FALSE(opened);
    EXPECT_TRUE(owner.commands.empty());
    plat::modal_script::SetHandler(nullptr);
}

TEST(FilterControl, WidthIsClampedForDrawingAndShiftFollowsTheDrag) {
    g_radiotype = kDspType;
    ControlOwner owner;
    owner.Open();
    CFilterControl pbt;
    pbt.Create({0, 0, 240, 60}, &owner, 167);
    pbt.SetWidth(12000);
    EXPECT_EQ(pbt.WidthText(), 12000);
    EXPECT_EQ(pbt.DrawnWidth(), 9000);
    EXPECT_TRUE(pbt.ShowsWidthText());
    plat::synth::Press(&pbt, Button::Left, {120, 30});
    plat::synth::Move(&pbt, {150, 30}, plat::MK_LBUTTON);
    plat::synth::Release(&pbt, Button::Left, {150, 30});
    plat::DeliverPosted();
    EXPECT_DOUBLE_EQ(pbt.GetShift(), 1500);  // 150 px x 50 Hz/px - 6000
    EXPECT_EQ(owner.CountMessages(WM_SCALE_DRAGGED), 1);
    EXPECT_EQ(std::get<1>(owner.messages.back()), 167u);

    g_radiotype = kPlainType;
    pbt.SetWidth(2400);
    EXPECT_EQ(pbt.DrawnWidth(), 3600);
    EXPECT_FALSE(pbt.ShowsWidthText());
}

TEST(FilterPanel, CarriesItsLargerPassbandPicture) {
    CFilterPanel panel;
    panel.Create("Filter", plat::WS_OVERLAPPEDWINDOW, {0, 0, 400, 140}, nullptr, 0);
    EXPECT_EQ(panel.Control().GetDlgCtrlID(), IDC_FILTER_PANEL_CONTROL);
    EXPECT_EQ(panel.Control().GetWindowRect().width(), 392);
}
