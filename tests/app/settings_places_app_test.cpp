// The options that once had no control, set in the settings window of the
// whole program: each is clicked on its page and kept in qarv.ini at close;
// a start from those keys shows them again.
#include <gtest/gtest.h>

#include <string>

#include "app/main_frame.h"
#include "civ/accessory_ports.h"
#include "common/sim_station.h"
#include "platform/input_synth.h"
#include "settings/settings_pages.h"
#include "settings/trans_ops.h"

namespace {
plat::Window* RowNamed(const char* caption) {
    const auto rows = settings::PageRows();
    for (int n = 0; n < int(rows.size()); ++n)
        if (std::string(rows[n].caption) == caption) return g_transops->RowControl(n);
    return nullptr;
}

struct Placed {
    int page;
    const char* caption;
    const char* key;
};
constexpr Placed kBoxes[] = {
    {0, "Mute Speaker Only", "MUTE SPEAKER ONLY"},
    {2, "AMPTune Disable Keying Loop", "AMPTUNE DISABLE KEYING LOOP"},
    {3, "S Meter Display Only", "SMETER ONLY DISPLAY"},
    {10, "Auto Fan Mode", "PGXL AUTO TEMP"},
};
}  // namespace

TEST(SettingsPlacesApp, NewlyPlacedOptionsAreKeptInQarvIni) {
    std::string ini;
    {
        SimStation s("SELECTION=0\n");
        s.initialise();
        ASSERT_NE(g_transops, nullptr);
        g_transops->ShowWindow(plat::SW_SHOW);
        for (const Placed& b : kBoxes) {
            SCOPED_TRACE(b.caption);
            g_transops->PageList()->Choose(b.page);
            plat::Window* box = RowNamed(b.caption);
            ASSERT_NE(box, nullptr);
            ASSERT_TRUE(box->IsWindowVisible());
            plat::synth::Click(box, plat::synth::Button::Left, {5, 5});
            EXPECT_EQ(static_cast<plat::CheckBox*>(box)->GetCheck(), 1);
            EXPECT_TRUE(plat::SaveWindowImage(g_transops, std::string(QARV_BUILD_DIR) + "/settings_placed_page" +
                                                              std::to_string(b.page) + ".png"));
        }
        // The keyer's port, with the keyer off: only its name is taken.
        g_transops->PageList()->Choose(14);
        plat::ComboBox* keyer = g_transops->ComboOf(6108);
        ASSERT_TRUE(keyer->IsWindowVisible());
        ASSERT_GE(keyer->FindStringExact("COM1"), 1);
        keyer->Choose(keyer->FindStringExact("COM1"));
        EXPECT_STREQ(g_yaltcomport, "COM1");
        EXPECT_TRUE(plat::SaveWindowImage(g_transops, std::string(QARV_BUILD_DIR) + "/settings_placed_page14.png"));
        g_mainwin->SendMessage(plat::WM_CLOSE);
        s.run(3000);
        ini = s.dir.read("qarv.ini");
    }
    for (const Placed& b : kBoxes) EXPECT_NE(ini.find(std::string(b.key) + "=1\n"), std::string::npos) << b.key;
    EXPECT_NE(ini.find("YALT COMPORT=COM1\n"), std::string::npos);
}

TEST(SettingsPlacesApp, AtTheNextStartTheWindowShowsThemAsSaved) {
    std::string settings;
    for (const Placed& b : kBoxes) settings += std::string(b.key) + "=1\n";
    SimStation again(settings, "YALT COMPORT=COM1\n");
    again.initialise();
    for (const Placed& b : kBoxes)
        EXPECT_EQ(static_cast<plat::CheckBox*>(RowNamed(b.caption))->GetCheck(), 1) << b.caption;
    EXPECT_EQ(g_transops->ComboOf(6108)->GetSelectedText(), "COM1");
}
