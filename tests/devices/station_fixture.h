// Shared by the accessory tests: a working directory with the trace on, the
// main frame's timers on a window of the test's own, and a clock runner
// that gives the simulated devices real time to answer.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "base/trace_log.h"
#include "civ/civ_timers.h"
#include "devices/tcp_accessory.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "sim/sim_device.h"

// Runs `ms` of manual time in 10 ms steps, with a little real time now and
// then for the devices' threads.
inline void RunFor(int ms) {
    for (int i = 0; i < ms / 10; ++i) {
        plat::manual_clock::Advance(10);
        if (i % 3 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// Runs manual time until `done` or `ms` of it passed.
template <class F>
bool RunUntil(F done, int ms = 5000) {
    for (int t = 0; t < ms && !done(); t += 10) {
        plat::manual_clock::Advance(10);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

// A window that only hosts the devices' timers and forwards them.
class TimerHost : public plat::Window {
public:
    std::function<void(unsigned)> onTimer;
    void OnTimer(unsigned id) override {
        KillTimer(id);
        if (onTimer) onTimer(id);
    }
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM w, plat::LPARAM l) override {
        OnStationSocketMessage(msg, w, l);
        return 0;
    }
};

class StationTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::message_box_script::Clear();
        g_trace = 3;
        OpenTraceFile();
        host.Create("timers", 0, plat::Rect{0, 0, 10, 10}, nullptr, 0);
        g_timerwindow = &host;
    }
    void TearDown() override {
        g_timerwindow = nullptr;
        EndTraceFile();
        CloseTraceStream();
    }
    std::string Trace() const { return dir.read("comms.txt"); }
    bool Traced(const std::string& line) const { return Trace().find(line) != std::string::npos; }

    TestDir dir;
    TimerHost host;
};
