// A radio link on a pseudo-terminal for the CI-V tests: the program's radio
// port is the slave end, the test plays the bus on the master end, and a
// plain window stands in for the main frame's send pump and device poll.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "base/trace_log.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/frame_reader.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/send_queue.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "sim/pty_pair.h"

using Bytes = std::vector<std::uint8_t>;

class PumpWindow : public plat::Window {
public:
    void OnTimer(unsigned id) override {
        if (id == TIMER_SENDQ) {
            OnSendQueueTimer();
        } else if (id == TIMER_DEVICE_POLL) {
            KillTimer(id);
            if (g_radioport != plat::kInvalidPort) ReadRadioPort();
            SetTimer(id, unsigned(g_readtimer));
        }
    }
};

// The main frame's share of the timer loop that the engine tests need
// (VFO selection, AF gain, the tuning tick, the display delay, the report
// hold-off); a test adds its own timers in Extra.
class EngineWindow : public PumpWindow {
public:
    void OnTimer(unsigned id) override {
        if (Extra(id)) return;
        switch (id) {
            case TIMER_SELECT_VFO: OnSelectVfoTimer(); break;
            case TIMER_AF_GAIN: OnAfGainTimer(); break;
            case TIMER_NEW_TUNING: RunTuningTick(); break;
            case TIMER_VFOA_DELAY: OnVfoADelayTimer(); break;
            case TIMER_FREQ_HOLDOFF: OnFreqHoldoffTimer(); break;
            case TIMER_METER_CYCLE: KillTimer(id); break;
            default: PumpWindow::OnTimer(id); break;
        }
    }
    virtual bool Extra(unsigned id) { (void)id; return false; }
};

// The program's side: a fresh working directory with the trace log, the
// pump window, and the radio port opened on `path`.
struct LinkBase {
    TestDir dir;
    PumpWindow win;

    LinkBase() {
        OpenTraceFile();
        g_timerwindow = &win;
        g_radioadr = 0x94;
        g_myaddr = 0xE0;
        // The radio counts as initialised: the first frequency reply would
        // otherwise start the whole initialisation push (tests of the first
        // contact reset it).
        g_radioheard = 2;
    }
    ~LinkBase() {
        plat::SerialClose(g_radioport);
        win.KillTimer(TIMER_DEVICE_POLL);
        win.KillTimer(TIMER_SENDQ);
        g_timerwindow = nullptr;
    }
    void open(const std::string& path) {
        std::snprintf(g_comport, sizeof g_comport, "%s", path.c_str());
        OpenRadioPort();
    }
    int traced(const std::string& text) {
        std::string log = dir.read("comms.txt");
        int n = 0;
        for (std::size_t p = log.find(text); p != std::string::npos; p = log.find(text, p + 1)) ++n;
        return n;
    }
};

// The test plays the bus on the master end of a pseudo-terminal.
struct RadioLink : LinkBase {
    PtyPair pty;

    explicit RadioLink(bool openPort = true) {
        if (openPort) open(pty.slavePath());
    }

    // Every byte the program wrote to the bus since the last call, once it
    // has all crossed the terminal; empty when it wrote nothing.
    Bytes written() { return pty.takeWritten(); }
    // The bus carries `bytes` to the program; device-poll ticks pick them up
    // once they are all at the program's end.
    void feed(const Bytes& bytes, int ticks = 3) {
        pty.write(bytes);
        EXPECT_TRUE(pty.delivered());
        for (int k = 0; k < ticks; ++k) plat::manual_clock::Advance(unsigned(g_readtimer));
    }
};

inline Bytes Frame(std::initializer_list<std::uint8_t> body, std::uint8_t to = 0x94, std::uint8_t from = 0xE0) {
    Bytes f{0xFE, 0xFE, to, from};
    f.reserve(body.size() + 5);
    for (std::uint8_t b : body) f.push_back(b);
    f.push_back(0xFD);
    return f;
}

inline void Put(const Bytes& f) { sendtoradio(f.data(), int(f.size())); }

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
