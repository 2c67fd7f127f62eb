// Shared by the accessory tests: a working directory with the trace on, the
// main frame's timers on a window of the test's own, and a clock runner
// that lets the simulated devices answer between its steps.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/trace_log.h"
#include "civ/civ_timers.h"
#include "common/real_waits.h"
#include "common/test_dir.h"
#include "devices/settled_device.h"
#include "devices/tcp_accessory.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "sim/sim_device.h"

// One poll step of the program's clock, then the line of every simulated
// radio and serial device is settled: what the program wrote has been answered and the answer can be
// read at the next step.
inline void Step() {
    plat::manual_clock::Advance(10);
    for (const SettledRadio* r : SettledRadio::Live()) r->settleLine();
    for (const SettledDevice* d : SettledDevice::Live()) d->settle();
}

// Runs `ms` of manual time in poll steps.
inline void RunFor(int ms) {
    for (int i = 0; i < ms / 10; ++i) Step();
}

// Runs `ms` of manual time in poll steps, calling `poll` before each step
// and once after the last, as the device poll would.
template <class F>
void RunPolling(F poll, int ms) {
    for (int t = 0; t < ms; t += 10) {
        poll();
        Step();
    }
    poll();
}

// Runs manual time until `done` or `ms` of it passed. What answers over a
// socket answers in real time: that is waited for at the end, with the
// clock standing.
template <class F>
bool RunUntil(F done, int ms = 5000) {
    for (int t = 0; t < ms && !done(); t += 10) Step();
    return done() || realwait::Until(done);
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
