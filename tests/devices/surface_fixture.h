// The control surfaces without the whole program: a radio panel whose
// parent window records the commands posted to it, and that window as the
// timer window, on the manual clock.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "app/tuning_wiring.h"
#include "base/settings_store.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "common/test_dir.h"
#include "devices/control_surfaces.h"
#include "devices/function_table.h"
#include "devices/key_events.h"
#include "devices/knob_tuning.h"
#include "devices/surface_keys.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/types.h"
#include "platform/window.h"

// The key texts as a settings file without them gives them.
inline void DefaultSurfaceTexts() {
    for (int i = 0; i < 14; ++i) std::snprintf(g_podkeys[i], sizeof g_podkeys[i], "%s", kPodKeys[i].def);
    for (int i = 0; i < 11; ++i) {
        std::snprintf(g_tmate2keys[i], sizeof g_tmate2keys[i], "%s", kTmate2Keys[i].def);
        std::snprintf(g_flexkeys[i], sizeof g_flexkeys[i], "%s", kFlexKeys[i].def);
    }
}

class CommandRecorder : public plat::Window {
public:
    std::vector<unsigned> commands;
    bool OnCommand(unsigned id, unsigned, plat::LPARAM) override {
        commands.push_back(id);
        return true;
    }
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam) override {
        OnSurfaceMessage(msg, wParam, lParam);
        return 0;
    }
    void OnTimer(unsigned id) override {
        // The main loop's handling of the surfaces' timers.
        if (id == TIMER_KEY_GUARD) {
            KillTimer(id);
            g_keyguard = 0;
        } else if (id == TIMER_KNOB_SPEED) {
            KillTimer(id);
            g_knobhighspeed = 0;
        } else if (id == TIMER_KNOB_WINDOW) {
            g_knobsteps = 0;
        } else {
            KillTimer(id);
        }
    }
    bool posted(unsigned id) {
        plat::DeliverPosted();
        for (unsigned c : commands)
            if (c == id) return true;
        return false;
    }
};

struct SurfaceFixture : ::testing::Test {
    TestDir dir;
    CommandRecorder frame;
    CSwlPanel panel{&frame};
    SurfaceFixture() {
        g_cwd = dir.path();
        g_timerwindow = &frame;
        g_swlpanel = &panel;
        WireTuningView();
        DefaultSurfaceTexts();
        SetupPodSlots();
    }
    ~SurfaceFixture() override {
        g_swlpanel = nullptr;
        g_timerwindow = nullptr;
    }
    // A press and a release, then past the key guard.
    void key(std::uint8_t code) {
        const std::uint8_t rec[6] = {'U', code, '\r', 'U', std::uint8_t(code | 0x80), '\r'};
        ProcessKeyEvents(rec, 6, 0);
        plat::manual_clock::Advance(60);
    }
};
