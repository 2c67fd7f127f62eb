// "TMate2 S meter shows Peak": the TMate2's S-meter shows the held peak of
// the radio's S meter, or with the option off the reading itself.
#include <gtest/gtest.h>

#include "base/device_options.h"
#include "base/panel_options.h"
#include "civ/radio_init.h"
#include "devices/control_surfaces.h"
#include "panel/swl_panel.h"
#include "settings/trans_ops.h"
#include "surface_app.h"

namespace {
// The number the TMate2 shows for an S-meter value.
int Shown(int value) { return 127 - value * 6 / 256; }

struct PeakStation {
    FakeTMate2Lib fake;
    int (*smeterNumber)() = fake.fn<int (*)()>("FakeTMate2SmeterNumber");
    SurfaceApp qarv;

    explicit PeakStation(bool peak) {
        qarv.start("", FakeTMate2Lib::Status(std::string("TMATE2 PEAK=") + (peak ? "1" : "0") + "\n"));
    }
    // The radio's S meter goes to `level`; the program runs until its
    // panel shows the new reading, and a little more.
    void meter(int level, bool up) {
        qarv.radio.setMeter(0x02, level);
        const int before = Tuning().meterValue;
        for (int t = 0; t < 3000; t += 100) {
            const int now = Tuning().meterValue;
            if (up ? now > before : now < before) break;
            qarv.run(100);
        }
        qarv.run(600);
    }
};
}  // namespace

TEST(TMate2Peak, WithTheOptionTheLcdHoldsThePeakAndWithoutItFollowsTheReading) {
    PeakStation s(true);
    ASSERT_EQ(g_tmate2open, 1);
    s.meter(200, true);
    const int high = Tuning().meterValue;
    EXPECT_EQ(s.smeterNumber(), Shown(Tuning().meterPeak));
    s.meter(10, false);
    const int low = Tuning().meterValue;
    ASSERT_LT(low, high);
    ASSERT_NE(Shown(low), Shown(Tuning().meterPeak));
    EXPECT_EQ(s.smeterNumber(), Shown(Tuning().meterPeak)) << "the peak is held";

    // The operator clears "TMate2 S meter shows Peak" in the settings window.
    ASSERT_NE(g_transops, nullptr);
    g_transops->CheckOf(2484)->Click();
    EXPECT_EQ(g_tmate2peak, 0);
    s.qarv.run(600);
    EXPECT_EQ(s.smeterNumber(), Shown(Tuning().meterValue));
}
