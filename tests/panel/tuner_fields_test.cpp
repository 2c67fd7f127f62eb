// The LDG tuner's SWR and result fields on the radio window: there with the
// LDG tuner's buttons and only then, their longest texts whole at every
// scale, clear of every other control.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "civ/civ_options.h"
#include "panel/radio_window_fixture.h"
#include "platform/input_synth.h"
#include "platform/layout_check.h"

namespace {
constexpr int kSwr = int(CSwlPanel::kTunerSwrField);
constexpr int kResult = int(CSwlPanel::kTunerField);

struct TunerWindow {
    ControlOwner frame;
    CSwlPanel panel{&frame};
    CRadioWindow window;
    TunerWindow(int model, float scale, int tuner) {
        g_internaltuner = tuner;
        g_radiotype = model;
        g_scalex = g_scaley = scale;
        frame.Open(200, 100);
        window.CreatePanel(&frame, {10, 10, 0, 0}, &panel);
        window.CreateSliderRow();
        window.CreateToolTips();
        window.ShowWindow(plat::SW_SHOW);
    }
    plat::Window* field(int id) const { return window.Control(id); }
    bool shown(int id) const { return field(id) && field(id)->IsWindowVisible(); }
    // Visible controls the field touches.
    std::string overlaps(int id) const {
        std::string out;
        plat::Window* f = field(id);
        for (const auto& p : window.Placement()) {
            plat::Window* other = window.Control(p.item->id);
            if (!other || other == f || !other->IsWindowVisible()) continue;
            if (plat::Intersects(plat::ScreenRect(f), plat::ScreenRect(other))) out += std::to_string(p.item->id) + " ";
        }
        return out;
    }
};

bool Fits(plat::Window* w) { return plat::TextFits(w, w->GetWindowText(), w->GetClientRect(), 1); }
}  // namespace

TEST(TunerFields, LongestTextsFitClearOfEveryControlAtEveryScale) {
    const std::string dir = std::string(QARV_BUILD_DIR) + "/radio_window";
    ::mkdir(dir.c_str(), 0755);
    for (int model : {0, 5, 20, 23}) {
        for (float scale : {1.0f, 1.4f, 1.5f, 2.0f}) {
            SCOPED_TRACE("model " + std::to_string(model) + " scale " + std::to_string(scale));
            TunerWindow t(model, scale, 4);
            ASSERT_TRUE(t.shown(kSwr));
            ASSERT_TRUE(t.shown(kResult));
            // A tune started without a power record reads 100.00; a bad one
            // ends in "No Tune".
            t.panel.ShowTunerSwr("100.00");
            t.panel.ShowTunerResult("No Tune");
            EXPECT_EQ(t.field(kSwr)->GetWindowText(), "100.00");
            EXPECT_EQ(t.field(kResult)->GetWindowText(), "No Tune");
            EXPECT_TRUE(Fits(t.field(kSwr)));
            EXPECT_TRUE(Fits(t.field(kResult)));
            EXPECT_EQ(t.overlaps(kSwr), "");
            EXPECT_EQ(t.overlaps(kResult), "");
            EXPECT_EQ(plat::DescribeFaults(plat::CheckLayout(&t.window)), "");
            char name[64];
            std::snprintf(name, sizeof name, "/tuner_%d_%.1f.png", model, double(scale));
            EXPECT_TRUE(plat::SaveWindowPng(&t.window, dir + name));
        }
    }
}

TEST(TunerFields, ShownExactlyWithTheLdgButtons) {
    for (int tuner : {0, 1, 3}) {
        TunerWindow t(23, 1.4f, tuner);
        ASSERT_NE(t.field(kSwr), nullptr);
        EXPECT_FALSE(t.shown(kSwr)) << tuner;
        EXPECT_FALSE(t.shown(kResult)) << tuner;
    }
    // The settings window switches the tuner while the program runs.
    TunerWindow t(23, 1.4f, 1);
    t.window.ShowTunerButtons(4);
    EXPECT_TRUE(t.shown(kSwr));
    EXPECT_TRUE(t.shown(kResult));
    EXPECT_TRUE(t.window.Control(594)->IsWindowVisible());
    t.window.ShowTunerButtons(2);
    EXPECT_FALSE(t.shown(kSwr));
    EXPECT_FALSE(t.shown(kResult));
    EXPECT_FALSE(t.window.Control(594)->IsWindowVisible());
}

// What the tuner showed before the window existed shows when it is made,
// the antenna and impedance on their buttons.
TEST(TunerFields, ANewWindowShowsTheTunerAsItIs) {
    ControlOwner frame;
    CSwlPanel panel{&frame};
    panel.ShowTunerSwr("1.52");
    panel.ShowTunerResult("Tuned");
    panel.ShowTunerCaptions(2, 1);
    g_internaltuner = 4;
    CRadioWindow window;
    ASSERT_TRUE(OpenRadioWindow(frame, window, panel, 23));
    EXPECT_EQ(window.Control(kSwr)->GetWindowText(), "1.52");
    EXPECT_EQ(window.Control(kResult)->GetWindowText(), "Tuned");
    EXPECT_EQ(window.Control(6120)->GetWindowText(), "Ant2");
    EXPECT_EQ(window.Control(595)->GetWindowText(), "HiZ");
    panel.ShowTunerCaptions(1, 0);
    EXPECT_EQ(window.Control(6120)->GetWindowText(), "Ant1");
    EXPECT_EQ(window.Control(595)->GetWindowText(), "LoZ");
}
