// The radio window as the panel tests open it: one model at the default
// scale over a recording owner, with its slider row. The caller shows it
// (after its tooltips where it wants them).
#pragma once
#include <gtest/gtest.h>

#include "base/panel_options.h"
#include "civ/radio_models.h"
#include "panel/control_fixture.h"
#include "panel/radio_window.h"
#include "panel/swl_panel.h"

inline bool OpenRadioWindow(ControlOwner& frame, CRadioWindow& window, CSwlPanel& panel, int model) {
    g_radiotype = model;
    g_scalex = g_scaley = 1.4;
    // The window is the frame's child: the frame holds it whole.
    frame.Open(1100, 600);
    if (!window.CreatePanel(&frame, {10, 10, 0, 0}, &panel)) return false;
    window.CreateSliderRow();
    return true;
}

// A shown radio window whose panel is tuned to `a` MHz in mode `am` on VFO A
// and `b` in `bm` on VFO B, with nothing recorded yet.
struct ShownRadioWindow : ::testing::Test {
    ControlOwner frame;
    CSwlPanel panel{&frame};
    CRadioWindow window;
    void OpenTuned(int model, double a, char am, double b, char bm) {
        ASSERT_TRUE(OpenRadioWindow(frame, window, panel, model));
        window.ShowWindow(plat::SW_SHOW);
        panel.SetPanelTuning(a, am, 1000, 2, b, bm);
        frame.commands.clear();
    }
};
