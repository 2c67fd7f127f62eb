// The whole program against the simulated radio, for the control surfaces
// on their own simulated lines.
#pragma once
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>

#include "app/app.h"
#include "app/main_frame.h"
#include "civ/civ_timers.h"
#include "civ/frame_reader.h"
#include "common/sim_steps.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "sim/sim_radio.h"

struct SurfaceApp {
    TestDir dir;
    sim::SimRadio radio{0x94, 19200};
    CApp app;
    bool started = false;

    // `extra` goes into [INTERFACE], `status` into [OPERATING STATUS].
    void start(const std::string& extra, const std::string& status = "") {
        EXPECT_TRUE(radio.link(dir.file("ports/com1")));
        radio.start();
        dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\n" + extra +
                                  "[OPERATING STATUS]\nQARV=23\nSTEP=001000\n" + status);
        started = app.InitInstance();
        ASSERT_TRUE(started);
        for (int i = 0; i < 30 && !g_mainwin->HasTimer(TIMER_METER_CYCLE); ++i) run(500);
        ASSERT_EQ(g_radioheard, 2);
        run(1000);
    }
    ~SurfaceApp() {
        if (started) app.ExitInstance();
        radio.stop();
    }
    // Program time in poll steps, the radio's line settled after each.
    void run(int ms) { simsteps::Run(ms, {&radio}); }
    // Runs until the radio's VFO A is `hz`; false after `ms` of program time.
    bool waitForFrequency(long long hz, int ms = 3000) {
        return simsteps::RunUntil([&] { return radio.frequency(0) == hz; }, ms, {&radio}) >= 0;
    }
};

// The stand-in TMate2 library for the length of a test (declared before the
// program, so that it is unloaded after it), and the [OPERATING STATUS]
// lines that start the program on it.
struct FakeTMate2Lib {
    void* lib = dlopen(QARV_FAKE_TMATE2, RTLD_NOW);
    FakeTMate2Lib() { EXPECT_NE(lib, nullptr); }
    ~FakeTMate2Lib() {
        if (lib) dlclose(lib);
    }
    template <class F>
    F fn(const char* name) const {
        return lib ? reinterpret_cast<F>(dlsym(lib, name)) : nullptr;
    }
    // The knobs' counts and the buttons as the device next reports them.
    void set(int main, int centre, int left, int buttons = 0x1FF) const {
        fn<void (*)(int, int, int, int)>("FakeTMate2Set")(main, centre, left, buttons);
    }
    static std::string Status(const std::string& extra = "") {
        return "TMATE2=1\n" + extra + "[PREFERENCE]\nTMATE2 LIBRARY=" + QARV_FAKE_TMATE2 + "\n";
    }
};
