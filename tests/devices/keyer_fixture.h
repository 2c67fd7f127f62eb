// The serial keyer on a pseudo-terminal for the device tests: the program's
// keyer port is the slave end, the simulated keyer serves the master end
// from the test's thread.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/panel_options.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/civ_timers.h"
#include "common/test_dir.h"
#include "devices/cw_keyboard.h"
#include "devices/keyer.h"
#include "devices/keyer_end.h"
#include "platform/serial_port.h"
#include "platform/window.h"
#include "sim/sim_keyer.h"

struct KeyerLink {
    TestDir dir;
    sim::SimKeyer keyer;
    KeyerEnd end{keyer};
    plat::Window timers;  // stands in for the main frame's timers
    std::vector<std::uint8_t> ring = std::vector<std::uint8_t>(kCwRingSize, 0);

    explicit KeyerLink(std::uint8_t version = 23) : keyer(version) {
        OpenTraceFile();
        g_timerwindow = &timers;
        g_cwring = ring.data();
        g_yaltkeyer = 1;
        std::snprintf(g_yaltcomport, sizeof g_yaltcomport, "%s", keyer.slavePath().c_str());
        OpenKeyerPort();
    }
    ~KeyerLink() {
        plat::SerialClose(g_yaltport);
        g_timerwindow = nullptr;
        g_cwring = nullptr;
    }
    // The keyer takes in (and answers) everything the program wrote.
    void take() { end.take(); }
    std::size_t written() const { return end.written(); }
    // The keyer answers what it got; the program reads what came back.
    void exchange() {
        end.settle();
        if (plat::SerialPending(g_yaltport) > 0) ReadYaltPort();
    }
    // The keyer sends `bytes` of its own accord; the program reads them.
    void report(const std::vector<std::uint8_t>& bytes) {
        end.report(bytes);
        end.settle();
        ReadYaltPort();
    }
    // The start-up exchange as the one-second tick drives it.
    void start() {
        const std::uint8_t open[2] = {0x00, 0x02};
        SendToYalt(open, 2);
        g_keyertype = 1;
        exchange();
        exchange();  // the defaults and settings that follow, and the pot's answer
    }
};
