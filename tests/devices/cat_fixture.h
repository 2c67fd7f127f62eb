// A CAT-out port on a pseudo-terminal: the program's port 1 is the slave
// end, the test plays the logging program on the master end. The radio is
// the simulated one, so frequency sets are seen reaching it.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/tuning_wiring.h"
#include "base/settings_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/link_fixture.h"
#include "civ/radio_init.h"
#include "civ/reply_processing.h"
#include "common/real_waits.h"
#include "common/sim_steps.h"
#include "devices/cat_out.h"
#include "panel/swl_panel.h"
#include "sim/sim_radio.h"

// The main frame's share of the timer loop the CAT-out ports use.
class CatWindow : public PumpWindow {
public:
    void OnTimer(unsigned id) override {
        switch (id) {
            case TIMER_FREQ_HOLDOFF: OnFreqHoldoffTimer(); break;
            case TIMER_SELECT_VFO: KillTimer(id); break;
            case TIMER_RX2_MUTE:
                KillTimer(id);
                MuteSecondReceiver(1);
                break;
            case TIMER_THP_FREQ: OnThpFreqTimer(); break;
            default: PumpWindow::OnTimer(id); break;
        }
    }
};

struct CatLink : LinkBase {
    PtyPair cat;
    realwait::PortEnd catEnd{cat};
    CatWindow engine;
    CSwlPanel panel;

    CatLink() {
        g_timerwindow = &engine;
        g_swlpanel = &panel;
        WireTuningView();
        g_vfoafreq = panel.vfoAFreq = 14.025;
        g_vfobfreq = panel.vfoBFreq = 14.025;
        g_vfoamode = panel.vfoAMode = '0';
        g_bandrow = BandStackRow(14.025);
        g_thp = 1;
        std::snprintf(g_thpcomport, sizeof g_thpcomport, "%s", cat.slavePath().c_str());
        OpenThpPorts();
    }
    ~CatLink() {
        CloseThpPorts();
        engine.KillTimer(TIMER_DEVICE_POLL);
        engine.KillTimer(TIMER_SENDQ);
        g_swlpanel = nullptr;
    }
    // One device-poll pass over the CAT-out ports, as the main loop runs it.
    void Poll() {
        for (int n = 1; n <= kThpPorts; ++n) {
            g_activethp = n;
            ReadTHPPort(n);
        }
        g_activethp = 0;
        FollowFrequency();
    }
    // The client writes `text`; the poll runs once the bytes are there.
    void Client(const std::string& text) {
        EXPECT_TRUE(catEnd.give(text));
        Poll();
    }
    // Everything the program wrote to the client since the last look.
    std::string Answers() { return catEnd.takeText(); }
};

// The first poll announces the state unasked; tests of answers start after it.
struct CatPort : CatLink {
    CatPort() {
        Poll();
        Answers();
    }
};

// A CAT-out link with the simulated radio on the radio port.
struct CatRadio : CatLink {
    sim::SimRadio radio{0x94, 19200};

    CatRadio() {
        g_radiotype = 23;
        g_baud = 19200;
        g_allowed = 1;
        g_selvfo = 'A';
        radio.start();
        open(radio.slavePath());
    }
    ~CatRadio() { radio.stop(); }
    // Runs the send pump until the queue is empty and the radio has it.
    void Drain() {
        simsteps::RunUntil([] { return SendQueueEmpty(); }, 4000, {&radio});
        simsteps::Run(50, {&radio});
    }
    // True once the radio's VFO A is at `hz`.
    bool RadioAt(long long hz) {
        return simsteps::RunUntil([&] { return radio.frequency(0) == hz; }, 10000, {&radio}) >= 0;
    }
};
