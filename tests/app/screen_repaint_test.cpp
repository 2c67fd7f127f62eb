// What the radio window shows on the screen, pixel for pixel, against the
// simulated IC-7300: a control whose caption changes is painted with the
// new caption at once, as a person sees it (not only as a fresh render
// would show it).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/sim_station.h"
#include "panel/radio_window.h"
#include "platform/input_synth.h"

namespace {
constexpr int kAm = 100, kUsb = 101, kFm = 105;
constexpr int kFirstFilter = 401, kFilters = 12;

std::vector<std::string> FilterCaptions() {
    std::vector<std::string> out;
    for (int n = 0; n < kFilters; ++n) out.push_back(g_radiowindow->Control(kFirstFilter + n)->GetWindowText());
    return out;
}

// Pixels of `w` on the screen that differ from a render of it as it stands.
int StalePixels(plat::Window* w) {
    const plat::Snapshot screen = plat::ScreenSnapshot(w);
    const plat::Snapshot fresh = plat::TakeSnapshot(w);
    if (screen.width != fresh.width || screen.height != fresh.height || screen.pixels.empty()) return -1;
    int n = 0;
    for (std::size_t i = 0; i < screen.pixels.size(); ++i) n += screen.pixels[i] != fresh.pixels[i];
    return n;
}
}  // namespace

TEST(ScreenRepaint, FilterCaptionsArePaintedAfterAModeChangeToAmAndFm) {
    SimStation s("");
    s.initialise();
    ASSERT_NE(g_radiowindow, nullptr);
    auto click = [&](int id) {
        plat::synth::Click(g_radiowindow->Control(id), plat::synth::Button::Left, {5, 5});
        s.run(1000);
    };
    click(kUsb);
    const std::vector<std::string> ssb = FilterCaptions();
    // The window as it stands on the screen with the SSB captions.
    ASSERT_FALSE(plat::ScreenSnapshot(g_radiowindow).pixels.empty());
    for (int mode : {kAm, kFm, kUsb}) {
        click(mode);
        const std::vector<std::string> now = FilterCaptions();
        if (mode != kUsb) {
            EXPECT_NE(now, ssb) << "the filter table did not change with mode " << mode;
        }
        for (int n = 0; n < kFilters; ++n) {
            plat::Window* b = g_radiowindow->Control(kFirstFilter + n);
            if (!b->IsWindowVisible()) continue;
            EXPECT_EQ(plat::AccessibleName(b), now[std::size_t(n)]);
            EXPECT_EQ(StalePixels(b), 0) << "filter button " << n + 1 << " (" << now[std::size_t(n)] << ") after mode "
                                         << mode;
        }
        EXPECT_TRUE(plat::SaveWindowPng(g_radiowindow, std::string(QARV_BUILD_DIR) + "/radio_window/filters_mode" +
                                                           std::to_string(mode) + ".png"));
    }
}
