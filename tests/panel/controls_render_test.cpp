// Renders every control in its main states at the panel's default scale
// (1.4) to build/controls/*.png, and the whole board once more at twice the
// pixel density, so a person can look at them.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "base/band_files.h"
#include "base/panel_options.h"
#include "civ/radio_models.h"
#include "control_fixture.h"
#include "panel/controls/bistate_button.h"
#include "panel/controls/dragit.h"
#include "panel/controls/filter_controls.h"
#include "panel/controls/freq_display.h"
#include "panel/controls/meter.h"
#include "panel/controls/scale.h"
#include "panel/controls/slider.h"
#include "platform/font.h"

namespace {
constexpr double kScale = 1.4;
// Design units to pixels, truncated, as the panels do.
plat::Rect R(int l, int t, int r, int b) {
    return {int(l * kScale), int(t * kScale), int(r * kScale), int(b * kScale)};
}

struct Board : ::testing::Test {
    ControlOwner owner;
    plat::Font buttonFont, readoutFont, scaleFont;
    std::string dir = std::string(QARV_BUILD_DIR) + "/controls";
    std::vector<std::pair<std::string, plat::Window*>> shots;

    void SetUp() override {
        ::mkdir(dir.c_str(), 0755);
        owner.Open(int(560 * kScale), int(330 * kScale));
        buttonFont.Create(14, plat::FW_NORMAL, "Arial");
        readoutFont.Create(int(26 * kScale), plat::FW_BOLD, "Arial");
        scaleFont.Create(12, plat::FW_NORMAL, "Arial");
    }
    void Shot(const std::string& name, plat::Window* w) {
        const std::string path = dir + "/" + name + ".png";
        ASSERT_TRUE(plat::SaveWindowPng(w, path)) << path;
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_GT(st.st_size, 100);
    }
};
}  // namespace

TEST_F(Board, RendersEveryControlInItsMainStates) {
    g_radiotype = 5;  // a model with a filter table
    g_centerbackcolor = plat::RGB(255, 255, 0);
    g_bandlist = {CBandObj{7.0, 7.3, "40m"}, CBandObj{14.0, 14.35, "20m"}, CBandObj{144.0, 146.0, "2m"}};

    // Buttons: off, on, held down, tinted centre group, hold, menu, filter.
    CBiStateButton off, on, held, tinted;
    CPHButton hold;
    CMenuBtn menu;
    CFilterButton filter;
    off.CreateChild("VFO A", R(5, 5, 45, 20), &owner, 2406);
    on.CreateChild("SPLIT", R(50, 5, 90, 20), &owner, 2000);
    held.CreateChild("FAST B", R(95, 5, 135, 20), &owner, 2411);
    tinted.CreateChild("USB", R(140, 5, 180, 20), &owner, 100);
    hold.CreateChild("Hold", R(185, 5, 225, 20), &owner, 108);
    menu.CreateChild("Memory", R(230, 5, 285, 20), &owner, 4000);
    filter.CreateChild("", R(290, 5, 330, 20), &owner, 401);
    for (CBiStateButton* b : {&off, &on, &held, &tinted, static_cast<CBiStateButton*>(&hold),
                              static_cast<CBiStateButton*>(&menu), static_cast<CBiStateButton*>(&filter)})
        b->SetFont(&buttonFont);
    on.SetState(1);
    tinted.SetState(1);
    filter.SetFilter(13);
    plat::synth::Press(&held, plat::synth::Button::Left, {5, 5});

    // Frequency readouts.
    std::vector<std::unique_ptr<CFreqDisplay>> displays;
    const double freqs[] = {14.025, 7.025, 144.3, 1296.1, 10368.1};
    for (int i = 0; i < 5; ++i) {
        auto d = std::make_unique<CFreqDisplay>();
        d->Create(R(5 + (i % 3) * 180, 25 + (i / 3) * 35, 5 + (i % 3) * 180 + 170, 25 + (i / 3) * 35 + 30), &owner,
                  1001 + i, freqs[i]);
        d->SetFont(&readoutFont);
        displays.push_back(std::move(d));
    }

    // Scales at the three zooms, drag tools, sliders.
    CScale s1, s10, s100;
    s1.Create(R(5, 100, 275, 125), &owner, 1240, 7.1);
    s10.Create(R(285, 100, 555, 125), &owner, 1241, 14.2);
    s100.Create(R(5, 130, 275, 155), &owner, 1242, 144.3);
    s10.SetZoom(10);
    s100.SetZoom(100);
    for (CScale* s : {&s1, &s10, &s100}) s->SetFont(&scaleFont);
    CDragit rit, pbt;
    rit.Create(R(285, 130, 415, 150), &owner, 1245, 0);
    pbt.Create(R(425, 130, 555, 150), &owner, 1246, 1);
    rit.SetRange(-1000, 1000);
    pbt.SetRange(-1000, 1000);
    pbt.SetValue(350);
    pbt.SetZoom(5);
    CSlider sliders[3];
    for (int i = 0; i < 3; ++i) {
        sliders[i].Create(R(5 + i * 20, 160, 20 + i * 20, 260), &owner, 0x940 + i);
        sliders[i].SetRange(0, 255);
        sliders[i].SetValue(i * 127);
    }

    // Meters of every type and the filter pictures.
    CMeter meters[6];
    for (int i = 0; i < 6; ++i) meters[i].Create(R(70 + (i % 3) * 125, 160 + (i / 3) * 45, 190 + (i % 3) * 125, 200 + (i / 3) * 45), &owner, 1300 + i);
    meters[0].SetValue(60, 1, 12);
    meters[1].SetValue(150, 3, 0);
    meters[2].SetType(kS9 + 1024, 4);
    meters[2].SetValue(kS9 + 512, 4, 0);
    meters[3].SetValue(12, 5, 0);
    meters[4].SetValue(40, 6, 0);
    meters[5].SetValue(77, 2, 0);
    CFilterControl narrow, wide;
    narrow.Create(R(5, 265, 275, 320), &owner, 167);
    wide.Create(R(285, 265, 555, 320), &owner, 168);
    narrow.SetWidth(2400);
    wide.SetWidth(12000);
    wide.SetShift(1500);

    Shot("buttons_off", &off);
    Shot("buttons_on", &on);
    Shot("buttons_pushed", &held);
    Shot("buttons_tinted_on", &tinted);
    Shot("buttons_hold", &hold);
    Shot("buttons_menu", &menu);
    Shot("buttons_filter", &filter);
    for (int i = 0; i < 5; ++i) Shot("freq_display_" + std::to_string(i), displays[std::size_t(i)].get());
    Shot("scale_zoom1", &s1);
    Shot("scale_zoom10", &s10);
    Shot("scale_zoom100", &s100);
    Shot("dragit_rit", &rit);
    Shot("dragit_pbt", &pbt);
    for (int i = 0; i < 3; ++i) Shot("slider_" + std::to_string(i), &sliders[i]);
    const char* meterNames[] = {"meter_power", "meter_swr", "meter_s", "meter_comp", "meter_alc", "meter_plain"};
    for (int i = 0; i < 6; ++i) Shot(meterNames[i], &meters[i]);
    Shot("filter_narrow", &narrow);
    Shot("filter_wide", &wide);

    Shot("board", &owner);
    ASSERT_TRUE(plat::SaveWindowPng(&owner, dir + "/board_hidpi.png", 2.0));

    // An entry in progress (the held button lets go of the mouse first).
    plat::synth::Release(&held, plat::synth::Button::Left, {5, 5});
    plat::synth::Click(displays[0].get(), plat::synth::Button::Left, {10, 10});
    plat::synth::Type(&displays[0]->Edit(), "7.0745");
    Shot("freq_display_entry", displays[0].get());
    EXPECT_TRUE(AnyPixel(displays[0].get(), {0, 0, 200, 40}, plat::RGB(255, 255, 0), 40));
}
