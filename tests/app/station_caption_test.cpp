// The VFO A station name on the radio window of the running program: after
// a recall from the station window and after the frequency lookup.
#include <gtest/gtest.h>

#include "app/commands.h"
#include "app/main_frame.h"
#include "app/started_app.h"
#include "common/test_dir.h"
#include "memories/memory_fixture.h"
#include "memories/station_archive.h"
#include "memories/station_window.h"
#include "memories/stations.h"
#include "panel/radio_window.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/message_box.h"

namespace {
std::string Caption() {
    plat::Window* label = g_radiowindow ? g_radiowindow->Control(int(CSwlPanel::kStationLabel)) : nullptr;
    return label ? label->GetWindowText() : "<no label>";
}
}  // namespace

TEST(StationCaption, ARecallAndALookupShowTheNameOnTheRadioWindow) {
    TestDir dir;
    dir.write("WORLD.RMY", WriteStationArchive({MakeStation("Radio Exterior", 9.62, "AM"), MakeStation("Net", 7.074, "LSB")}));
    plat::dialog_script::Enable();
    plat::file_dialog_script::Enable();
    StartedApp s;
    ASSERT_NE(g_radiowindow, nullptr);
    plat::Window* label = g_radiowindow->Control(int(CSwlPanel::kStationLabel));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->IsWindowVisible());

    g_mainwin->SendMessage(plat::WM_COMMAND, ID_VIEW_MEMORIES);
    g_stationwnd->list.DoubleClick(1);  // Radio Exterior, by frequency
    plat::manual_clock::Advance(10);
    EXPECT_DOUBLE_EQ(g_swlpanel->vfoAFreq, 9.62);
    EXPECT_EQ(Caption(), "Radio Exterior");

    // The lookup for a frequency with a station, then one without: the
    // name goes and blanks stand in its place.
    BuildStationIndex();
    g_skipstationname = 0;
    ShowStationName(7.074);
    EXPECT_EQ(Caption(), "Net");
    ShowStationName(3.5);
    EXPECT_EQ(Caption(), std::string(11, ' '));
}
