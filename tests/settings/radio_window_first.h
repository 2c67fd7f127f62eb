// The radio window as the main frame makes it before the settings window, so
// that what the settings window fills or a device shows reaches it too.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "app/tuning_wiring.h"
#include "base/panel_options.h"
#include "civ/radio_models.h"
#include "panel/radio_window.h"
#include "panel/swl_panel.h"

struct RadioWindowFirst {
    plat::Window parent;
    CSwlPanel panel{&parent};
    CRadioWindow window;
    explicit RadioWindowFirst(int type) {
        g_radiotype = type;
        g_scalex = g_scaley = 1.4;
        parent.Create("radio frame", 0, {0, 0, 1100, 600}, nullptr, 0);
        EXPECT_TRUE(window.CreatePanel(&parent, {10, 10, 0, 0}, &panel));
        window.CreateSliderRow();
        g_swlpanel = &panel;
        WireTuningView();
    }
    ~RadioWindowFirst() { g_swlpanel = nullptr; }
    std::string text(int id) {
        plat::Window* w = window.Control(id);
        return w ? w->GetWindowText() : "<none>";
    }
    bool visible(int id) {
        plat::Window* w = window.Control(id);
        return w && w->IsWindowVisible();
    }
};
