// The whole program started against the simulated IC-7300 on "ports/com1",
// with `settings` added to a minimal settings file, and run by the manual
// clock.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "app/app.h"
#include "app/main_frame.h"
#include "civ/civ_timers.h"
#include "common/sim_steps.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "sim/sim_radio.h"

struct SimStation {
    TestDir dir;
    sim::SimRadio radio{0x94, 19200};
    CApp app;

    // `settings` go to [OPERATING STATUS], `interface` to [INTERFACE].
    explicit SimStation(const std::string& settings, const std::string& interface = "") {
        EXPECT_TRUE(radio.link(dir.file("ports/com1")));
        dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\n" + interface +
                                  "[OPERATING STATUS]\nQARV=23\n"
                                  "VFO-A FREQUENCY=14.074000\nVFO-B FREQUENCY=14.074000\n" + settings);
        radio.start();
        EXPECT_TRUE(app.InitInstance());
    }
    ~SimStation() {
        app.ExitInstance();
        radio.stop();
    }
    // The program's clock in poll steps, the radio's line settled after each.
    void run(int ms) { simsteps::Run(ms, {&radio}); }
    // Runs until the radio is initialised and the queue is drained.
    void initialise() {
        for (int i = 0; i < 30 && !g_mainwin->HasTimer(TIMER_METER_CYCLE); ++i) run(500);
        ASSERT_TRUE(g_mainwin->HasTimer(TIMER_METER_CYCLE));
        run(3000);
    }
};
