// Keying against a radio bus on a pseudo-terminal and the simulated keyer:
// the CI-V key-off delay, keying remembered across a mode change, the pulsed
// keying of amplifier tune, the release of every means and a lost port.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/device_options.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "civ/frame_reader.h"
#include "civ/frequency_options.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/send_queue.h"
#include "devices/keyer_fixture.h"
#include "devices/keying.h"
#include "devices/remote_link.h"
#include "platform/clock.h"
#include "platform/message_box.h"

namespace {
using Bytes = std::vector<std::uint8_t>;

const Bytes kKeyOn{0xFE, 0xFE, 0x94, 0xE0, 0x1C, 0x00, 0x01, 0xFD};
const Bytes kKeyOff{0xFE, 0xFE, 0x94, 0xE0, 0x1C, 0x00, 0x00, 0xFD};

// The main frame's timers that keying uses: the send pump, the device poll,
// the key-off delay and the pulsed keying.
class KeyingTimers : public plat::Window {
public:
    void OnTimer(unsigned id) override {
        switch (id) {
        case TIMER_SENDQ: OnSendQueueTimer(); break;
        case TIMER_KEYON_DELAY: OnKeyonDelay(); break;
        case TIMER_KEYING_LOOP:
            if (PulseKeyingTick()) SetTimer(id, 20);
            break;
        case TIMER_DEVICE_POLL:
            if (g_radioport != plat::kInvalidPort) ReadRadioPort();
            if (g_yaltport != plat::kInvalidPort) ReadYaltPort();
            break;
        default: break;
        }
    }
};

// A radio bus (the test reads what reached it) and the keyer.
struct KeyingBench : KeyerLink {
    PtyPair bus;
    realwait::PortEnd busEnd{bus};
    KeyingTimers win;
    Bytes heard;

    KeyingBench() {
        g_timerwindow = &win;
        g_radiotype = 23;
        g_radioadr = 0x94;
        g_myaddr = 0xE0;
        g_radioheard = 2;
        std::snprintf(g_comport, sizeof g_comport, "%s", bus.slavePath().c_str());
        OpenRadioPort();
        plat::message_box_script::Enable();
    }
    ~KeyingBench() {
        plat::SerialClose(g_radioport);
        win.KillTimer(TIMER_DEVICE_POLL);
        win.KillTimer(TIMER_SENDQ);
        g_timerwindow = nullptr;
    }
    // Advances the clock and collects what reached the bus.
    void run(unsigned ms) {
        plat::manual_clock::Advance(ms);
        const Bytes got = busEnd.take();
        heard.insert(heard.end(), got.begin(), got.end());
    }
    bool reached(const Bytes& frame) const {
        return std::search(heard.begin(), heard.end(), frame.begin(), frame.end()) != heard.end();
    }
};
}  // namespace

TEST(Keying, CivKeyOffFollowsTheKeyOnByTheDelay) {
    KeyingBench b;
    g_vfoamode = '0';
    keyon();
    b.run(50);
    EXPECT_TRUE(b.reached(kKeyOn));
    keyoff();  // 50 ms after the key-on: it waits
    b.run(140);
    EXPECT_FALSE(b.reached(kKeyOff));
    b.run(70);
    EXPECT_TRUE(b.reached(kKeyOff));
    EXPECT_EQ(g_keyingstate, 0);
}

TEST(Keying, TunePulseKeysOffAtOnceAndAKeyOnDuringTheDelayIsKept) {
    KeyingBench b;
    g_vfoamode = '0';
    g_txamptunepulse = 1;
    keyon();
    keyoff();
    b.run(120);
    EXPECT_TRUE(b.reached(kKeyOff));
    EXPECT_EQ(g_keyingstate, 0);

    g_txamptunepulse = 0;
    b.heard.clear();
    keyon();
    keyoff();  // key-off waits out the delay ...
    keyon();   // ... and a new key-on cancels it
    b.run(400);
    EXPECT_TRUE(b.reached(kKeyOn));
    EXPECT_FALSE(b.reached(kKeyOff));
    keyoff();
    b.run(100);
    EXPECT_TRUE(b.reached(kKeyOff));
}

TEST(Keying, KeyedInUsbThenSwitchedToCwWithTheKeyerStillReleasesTheRadio) {
    KeyingBench b;
    b.start();
    g_vfoamode = '0';
    keyon();  // phone: the radio keys by CI-V
    b.run(300);
    EXPECT_TRUE(b.reached(kKeyOn));
    g_vfoamode = '3';  // now CW goes through the keyer
    keyoff();
    b.run(100);
    b.take();
    EXPECT_TRUE(b.reached(kKeyOff));
    EXPECT_TRUE(b.keyer.got({0x0B, 0x00}));
}

TEST(Keying, AmplifierTuneEndingInAKeyOnPhaseKeysOff) {
    KeyingBench b;
    g_vfoamode = '0';
    g_txamptunepulse = 1;
    g_pulsekeying = 1;
    g_amtnactive = 1;
    KeyOnOff(1);
    b.run(20);  // the loop's first tick keys on
    EXPECT_EQ(g_pulsephase, 1);
    b.heard.clear();
    g_amtnactive = 0;  // tune ends inside a key-on phase
    b.run(200);  // the paced queue writes one frame per 50 ms
    EXPECT_EQ(g_pulsephase, 0);
    EXPECT_TRUE(b.reached(kKeyOff));
}

TEST(Keying, ReleaseAllKeyingReleasesEveryMeans) {
    KeyingBench b;
    b.start();
    g_vfoamode = '0';
    g_rtscw = 1;
    keyon();
    g_vfoamode = '3';
    keyon();
    b.take();
    EXPECT_TRUE(b.keyer.keyDown());
    ReleaseAllKeying("link dropped");
    b.run(100);
    b.take();
    EXPECT_TRUE(b.reached(kKeyOff));
    EXPECT_FALSE(b.keyer.keyDown());
    EXPECT_EQ(g_keyingstate, 0);
    EXPECT_EQ(g_keyedmeans, 0u);
    const std::string log = b.dir.read("comms.txt");
    EXPECT_NE(log.find("release keying: link dropped"), std::string::npos);
    EXPECT_NE(log.find("clr rts"), std::string::npos);
    EXPECT_NE(log.find("clr dtr"), std::string::npos);
}

TEST(Keying, ALostKeyerPortReleasesTheRadio) {
    KeyingBench b;
    b.start();
    g_onportlost = ReleaseAllKeying;
    g_vfoamode = '0';
    keyon();
    b.run(300);
    b.heard.clear();
    b.keyer.unplug();
    b.win.SetTimer(TIMER_DEVICE_POLL, 10);
    b.run(100);
    b.win.KillTimer(TIMER_DEVICE_POLL);
    EXPECT_EQ(g_yaltport, plat::kInvalidPort);
    EXPECT_EQ(g_keyertype, 1);  // the upkeep reopens it and starts it again
    EXPECT_TRUE(b.reached(kKeyOff));
    ASSERT_FALSE(plat::message_box_script::History().empty());
    EXPECT_NE(plat::message_box_script::History().back().text.find("is defective"), std::string::npos);
    g_onportlost = nullptr;
}

TEST(Keying, PathFollowsTheSettings) {
    g_radiotype = 7;
    g_vfoamode = '0';
    EXPECT_EQ(KeyingPath(), 0u);  // no CI-V transmit command on this radio
    g_radiotype = 23;
    EXPECT_EQ(KeyingPath(), unsigned(kKeyByCiv));
    g_vfoamode = '3';
    g_ppkeying = 1;
    EXPECT_EQ(KeyingPath(), unsigned(kKeyByCiv | kKeyByLpt));
    g_ppkeying = 0;
    g_dtrcw = 1;
    g_rtsxm = 1;
    EXPECT_EQ(KeyingPath(), unsigned(kKeyByCiv | kKeyByDtr | kKeyByRadioRts));
    g_yaltkeyer = 1;
    EXPECT_EQ(KeyingPath(), unsigned(kKeyByKeyer | kKeyByRadioRts));
    g_yaltkeyer = 0;
    g_rtsxm = 0;
    g_dtrcw = 0;
    g_client = 1;
    g_radiotype = 7;
    g_vfoamode = '0';
    EXPECT_EQ(KeyingPath(), unsigned(kKeyByRemote));  // nothing of its own: the server keys
    g_client = 0;
}
