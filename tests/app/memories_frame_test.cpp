// The station memories in the running program: the memory file loaded at
// start-up, the window opened from the View menu, File commands through the
// main frame, and a close that never drops an unsaved list.
#include <gtest/gtest.h>

#include "app/commands.h"
#include "app/main_frame.h"
#include "app/started_app.h"
#include "base/memory_options.h"
#include "civ/civ_options.h"
#include "common/test_dir.h"
#include "memories/station_archive.h"
#include "memories/station_window.h"
#include "memories/stations.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/event_loop.h"
#include "platform/message_box.h"

namespace {
CStation St(const char* name, double mhz, const char* mode) {
    CStation s;
    s.name = name;
    s.frequency = mhz;
    s.mode = mode;
    s.filter = "FIL2";
    return s;
}
}  // namespace

TEST(MemoriesInTheProgram, TheWindowOpensFromTheViewMenuAndTunes) {
    TestDir dir;
    dir.write("WORLD.RMY", WriteStationArchive({St("Radio Exterior", 9.62, "AM"), St("Net", 7.074, "LSB")}));
    plat::dialog_script::Enable();
    plat::file_dialog_script::Enable();
    StartedApp s;
    ASSERT_EQ(g_stationlist.size(), 2u);
    plat::Window* w = g_mainwin->ChildById(1400);
    ASSERT_EQ(w, g_stationwnd);
    EXPECT_FALSE(w->IsWindowVisible());
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_MEMORIES);
    EXPECT_TRUE(w->IsWindowVisible());
    EXPECT_EQ(g_stationwnd->list.GetCount(), 2);
    EXPECT_EQ(g_stationwnd->title.GetWindowText(), "WORLD.RMY");
    g_stationwnd->list.DoubleClick(1);  // Radio Exterior, by frequency
    plat::manual_clock::Advance(10);
    EXPECT_DOUBLE_EQ(g_swlpanel->vfoAFreq, 9.62);
    EXPECT_EQ(g_swlpanel->vfoAMode, '4');
    EXPECT_EQ(g_stationcaption, "Radio Exterior");
    EXPECT_TRUE(plat::SaveWindowImage(w, std::string(QARV_BUILD_DIR) + "/memories_in_program.png"));

    // File > Close, then File > Open through the main frame.
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_FILE_CLOSE);
    EXPECT_TRUE(g_stationlist.empty());
    EXPECT_EQ(g_stationwnd->list.GetCount(), 0);
    plat::file_dialog_script::PushAnswer(dir.file("WORLD.RMY"));
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(g_stationlist.size(), 2u);
    EXPECT_EQ(g_stationwnd->list.GetCount(), 2);
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_FILE_EXPORT);  // cancelled dialog: nothing written
    EXPECT_FALSE(dir.exists("WORLD.RMY.cdf"));
}

TEST(MemoriesInTheProgram, ACloseWhoseSaveFailsKeepsTheProgramAndTheList) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMEMORY FILE=NONAME\n");
    plat::file_dialog_script::Enable();
    StartedApp s;
    g_stationlist = {St("New", 9.5, "AM")};
    StationListChanged(true);
    plat::message_box_script::PushAnswer(plat::IDYES);  // save the list?
    plat::file_dialog_script::PushAnswer("");            // ... but the dialog is cancelled
    g_mainwin->SendMessage(plat::WM_CLOSE);
    EXPECT_FALSE(g_mainwin->Closing());
    EXPECT_EQ(g_stationlist.size(), 1u);
    EXPECT_EQ(g_memmodified, 1);
}

TEST(MemoriesInTheProgram, ASignalCloseSavesAnUnnamedListToAFileOfItsOwn) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMUTE ALWAYS=2\nMEMORY FILE=NONAME\n");
    plat::file_dialog_script::Enable();
    StartedApp s;
    g_stationlist = {St("New", 9.5, "AM")};
    StationListChanged(true);
    g_mainwin->SendMessage(plat::WM_CLOSE, plat::kCloseBySignal);
    EXPECT_EQ(plat::file_dialog_script::Shown(), 0);
    const std::string name = g_memfilename;
    ASSERT_EQ(name.rfind("unsaved-", 0), 0u);
    plat::manual_clock::Advance(600);
    EXPECT_TRUE(g_mainwin->Closed());
    StationList back;
    std::string error;
    ASSERT_TRUE(ReadStationArchive(dir.read(name), back, error)) << error;
    EXPECT_EQ(back[0].name, "New");
    // The next start opens it.
    EXPECT_NE(dir.read("qarv.ini").find("MEMORY FILE=" + name), std::string::npos);
}
