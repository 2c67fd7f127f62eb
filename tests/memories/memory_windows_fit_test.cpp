// The memories' windows and the small dialogs as a person meets them in the
// running program, at the radio window scales the settings accept (1.0, 1.4
// and 2.0): opened the way the program opens them (the dialogs through the
// scripted dialog handler, so the check runs while each one is up), every
// caption fits its control and every control lies inside its window.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "app/commands.h"
#include "app/main_frame.h"
#include "app/started_app.h"
#include "common/test_dir.h"
#include "memories/dstar_panel.h"
#include "memories/lookup.h"
#include "memories/memory_file_panel.h"
#include "memories/recall_panels.h"
#include "memories/small_dialogs.h"
#include "memories/station_archive.h"
#include "memories/station_window.h"
#include "memories/stations.h"
#include "memory_fixture.h"
#include "panel/swl_panel.h"
#include "platform/dialog.h"
#include "platform/input_synth.h"
#include "platform/layout_check.h"

namespace {
struct Scaled {
    TestDir dir;
    std::string scale;
    std::unique_ptr<StartedApp> app;
    explicit Scaled(const char* s) : scale(s) {
        dir.write("WORLD.RMY",
                  WriteStationArchive({MakeStation("Radio Exterior de Espana", 9.62, "AM", "FIL2", "Spain"),
                                       MakeStation("Voice of Greece", 9.42, "AM", "FIL2", "Greece"),
                                       MakeStation("FT8 20m", 14.074, "USB", "FIL1", "")}));
        dir.write("qarv.ini", std::string("[RADIO WINDOW]\nSCALEX=") + s + "\nSCALEY=" + s + "\n");
        plat::dialog_script::Enable();
        plat::file_dialog_script::Enable();
        app = std::make_unique<StartedApp>();
    }
    std::string picture(const std::string& name) const { return std::string(QARV_BUILD_DIR) + "/" + name + "_" + scale + ".png"; }
    // The check of a dialog runs while it is up.
    std::string checkDialog(const std::function<void()>& open, const std::string& name) {
        std::string faults = "not shown";
        plat::dialog_script::PushHandler([&](plat::Dialog& d) {
            faults = plat::DescribeFaults(plat::CheckLayout(&d));
            // The station sheet's lists show any entry once chosen.
            if (auto* sheet = dynamic_cast<CEditStationDialog*>(&d)) {
                for (plat::ComboBox* list : {&sheet->mode, &sheet->filter})
                    for (int i = 0; i < list->GetCount(); ++i) {
                        list->SetCurSel(i);
                        faults += plat::DescribeFaults(plat::CheckLayout(&d));
                    }
            }
            EXPECT_TRUE(plat::SaveWindowImage(&d, picture(name)));
            d.EndDialog(plat::IDCANCEL);
        });
        open();
        return faults;
    }
};

std::string Check(plat::Window* w) { return plat::DescribeFaults(plat::CheckLayout(w)); }

void CheckEveryWindow(const char* scale) {
    Scaled s(scale);
    ASSERT_NE(g_stationwnd, nullptr);
    // View > Memories.
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_MEMORIES);
    ASSERT_TRUE(g_stationwnd->IsWindowVisible());
    EXPECT_EQ(Check(g_stationwnd), "") << scale;
    EXPECT_TRUE(plat::SaveWindowImage(g_stationwnd, s.picture("station_memories")));
    // Its Add and Edit buttons open the station sheet.
    EXPECT_EQ(s.checkDialog([] { plat::synth::Click(&g_stationwnd->add, plat::synth::Button::Left, {4, 4}); },
                            "station_sheet_add"),
              "")
        << scale;
    EXPECT_EQ(s.checkDialog([] { plat::synth::Click(&g_stationwnd->edit, plat::synth::Button::Left, {4, 4}); },
                            "station_sheet_edit"),
              "")
        << scale;
    // Call lookup, shown as the Call button shows it.
    ASSERT_NE(g_lookupwnd, nullptr);
    g_lookupwnd->ShowWindow(plat::SW_SHOW);
    EXPECT_EQ(Check(g_lookupwnd), "") << scale;
    EXPECT_TRUE(plat::SaveWindowImage(g_lookupwnd, s.picture("call_lookup")));
    // View > Time/ UTC and Help > About.
    EXPECT_EQ(s.checkDialog([] { g_mainwin->SendMessage(plat::WM_COMMAND, ID_TIME_UTC); }, "world_time"), "") << scale;
    EXPECT_EQ(s.checkDialog([] { g_mainwin->SendMessage(plat::WM_COMMAND, ID_ABOUT); }, "about"), "") << scale;
    // The radio window's step label opens the step picker; the AGC picker.
    EXPECT_EQ(s.checkDialog([] { g_swlpanel->OnVfoCommand(IDC_STEP_LABEL); }, "tuning_steps"), "") << scale;
    EXPECT_EQ(s.checkDialog([] { CAgcDlg().Run(g_mainwin); }, "agc"), "") << scale;
    // The typed memory file name and the D-STAR call signs.
    for (plat::Window* w : {static_cast<plat::Window*>(g_crapanel), static_cast<plat::Window*>(g_dstarpanel)}) {
        ASSERT_NE(w, nullptr);
        w->ShowWindow(plat::SW_SHOW);
        EXPECT_EQ(Check(w), "") << scale << " " << w->GetWindowText();
    }
}
}  // namespace

TEST(MemoryWindowsFit, At10) { CheckEveryWindow("1.0"); }
TEST(MemoryWindowsFit, At14) { CheckEveryWindow("1.4"); }
TEST(MemoryWindowsFit, At20) { CheckEveryWindow("2.0"); }
