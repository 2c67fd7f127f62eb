// The radio window as the panel tests open it: one model at the default
// scale over a recording owner, with its slider row. The caller shows it
// (after its tooltips where it wants them).
#pragma once
#include "civ/radio_models.h"
#include "panel/control_fixture.h"
#include "panel/panel_options.h"
#include "panel/radio_window.h"
#include "panel/swl_panel.h"

inline bool OpenRadioWindow(ControlOwner& frame, CRadioWindow& window, CSwlPanel& panel, int model) {
    g_radiotype = model;
    g_scalex = g_scaley = 1.4;
    frame.Open(200, 100);
    if (!window.CreatePanel(&frame, {10, 10, 0, 0}, &panel)) return false;
    window.CreateSliderRow();
    return true;
}
