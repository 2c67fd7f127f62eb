// The pod knob on the keyer speed and the RF gain, in the whole program
// against the simulated radio: the frames the radio gets, the panel's
// sliders and what qarv.ini keeps at close.
#include <gtest/gtest.h>

#include "devices/knob_tuning.h"
#include "devices/surface_keys.h"
#include "panel/slider_row.h"
#include "panel/swl_panel.h"
#include "platform/types.h"
#include "platform/window.h"
#include "sim/sim_surfaces.h"
#include "surface_app.h"
#include "surface_ends.h"

TEST(KnobLevels, KeyerSpeedMovesThePotOffsetAndRfGainTheSlider) {
    sim::SimPod pod;
    PodEnd podIn(pod);
    SurfaceApp qarv;
    ASSERT_TRUE(pod.link(qarv.dir.file("ports/com2")));
    qarv.start("PEGASUS COMPORT=COM2\n", "KEYER CW=30\nKEYER KS=8\nRF GAIN=40\n");
    SelectSlotText(0, "Keyer Speed");
    SelectSlotText(1, "RF Gain");
    podIn.press(17);
    podIn.release(17);
    qarv.run(100);
    ASSERT_EQ(g_knobfunction, kKnobKeyerSpeed);
    // 48 WPM (30 + 8 + 10) stays until the sixth count: 14 0C (48-6)x5.
    for (int i = 1; i <= 6; ++i) {
        podIn.knob(1);
        qarv.run(100);
        EXPECT_EQ(qarv.radio.level(0x0C), i < 6 ? 210 : 215) << i;
    }
    EXPECT_EQ(g_swlpanel->SliderPosition(IDC_SLIDER_KEYER), 9);
    // RF gain: a count down raises the setting, the slider shows 100 - it.
    podIn.press(18);
    podIn.release(18);
    qarv.run(100);
    ASSERT_EQ(g_knobfunction, kKnobRfGain);
    podIn.knob(-1);
    qarv.run(200);
    EXPECT_EQ(g_swlpanel->SliderPosition(IDC_SLIDER_RF_GAIN), 59);
    EXPECT_EQ(qarv.radio.level(0x02), 150);  // (100 - 41) x 255 / 100
    g_mainwin->SendMessage(plat::WM_CLOSE);
    qarv.run(3000);
    const std::string ini = qarv.dir.read("qarv.ini");
    EXPECT_NE(ini.find("KEYER CW=30\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("KEYER KS=9\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("RF GAIN=41\n"), std::string::npos) << ini;
}
