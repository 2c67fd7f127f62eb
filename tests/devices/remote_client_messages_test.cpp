// Remote-link messages that carry device states, applied as they arrive:
// at an operator client the server's rotor bearing and moving state reach
// the rotor's settings page, its amplifier text the amplifier's, and its
// wattmeter's three numbers the radio window; at the server the client's
// keyer speed reaches the keyer, the radio window and the settings slider.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/settings_options.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "civ/engine_options.h"
#include "civ/frequency_state.h"
#include "devices/amplifiers.h"
#include "devices/external_meters.h"
#include "devices/keyer_fixture.h"
#include "devices/remote_link.h"
#include "devices/rotator.h"
#include "panel/controls/meter.h"
#include "panel/controls/slider.h"
#include "panel/radio_window.h"
#include "panel/slider_row.h"
#include "settings/device_status.h"
#include "settings/radio_window_first.h"
#include "settings/settings_fixture.h"

namespace {
// The radio window first, then the settings window, as at start-up.
struct Station : RadioWindowFirst, SettingsWindow {
    explicit Station(int page) : RadioWindowFirst(23), SettingsWindow(23, page) {}
    std::string label(int id) { return w().RowControl(settings::RowOfId(id))->GetWindowText(); }
    bool labelShown(int id) { return w().RowControl(settings::RowOfId(id))->IsWindowVisible(); }
};

void FromServer(int type, const std::string& payload) {
    ProcessServerMessage(reinterpret_cast<const std::uint8_t*>(payload.data()), int(payload.size()), type);
}

// Message 4 as the client sends it, with the server's own frequencies, modes
// and split so that only the speeds can differ.
std::vector<std::uint8_t> ClientState(int speed, int base) {
    std::vector<std::uint8_t> p(29, 0);
    char hz[16];
    p[0] = std::uint8_t(g_vfoamode);
    std::snprintf(hz, sizeof hz, "%011.0f", g_vfoafreq * 1e6);
    std::copy(hz, hz + 11, p.begin() + 1);
    p[13] = std::uint8_t(g_vfobmode);
    std::snprintf(hz, sizeof hz, "%011.0f", g_vfobfreq * 1e6);
    std::copy(hz, hz + 11, p.begin() + 14);
    p[26] = std::uint8_t(g_swlpanel ? g_swlpanel->split : 0);
    p[27] = std::uint8_t(speed);
    p[28] = std::uint8_t(base);
    return p;
}
}  // namespace

TEST(RemoteClientMessages, RotorBearingAndMovingStateReachTheRotorPage) {
    g_client = 1;
    Station s(6);
    ASSERT_TRUE(s.labelShown(kRotorShownLabelId));
    FromServer(kMsgBearing, "123");
    EXPECT_EQ(s.label(kRotorShownLabelId), "123");
    FromServer(kMsgAmpMains, std::string(1, '\1'));
    EXPECT_EQ(s.label(kRotorMovingLabelId), "Moving");
    EXPECT_TRUE(s.labelShown(kRotorMovingLabelId));
    FromServer(kMsgBearing, "140");
    FromServer(kMsgAmpMains, std::string(1, '\0'));
    EXPECT_EQ(s.label(kRotorShownLabelId), "140");
    EXPECT_EQ(s.label(kRotorMovingLabelId), "");
    g_client = 0;
}

TEST(RemoteClientMessages, TheAmplifierTextIsShownOnItsPage) {
    g_client = 1;
    std::snprintf(g_alpha87acomport, sizeof g_alpha87acomport, "%s", "COM3");
    Station s(6);
    ASSERT_TRUE(s.labelShown(kAmpStatusLabelId));
    FromServer(kMsgAmpOperate, std::string("PWR 1234\0", 9));
    EXPECT_EQ(s.label(kAmpStatusLabelId), "PWR 1234");
    // Only the text up to its NUL, and nothing a label cannot show.
    FromServer(kMsgAmpOperate, std::string("OPER\r\x01\0junk", 11));
    EXPECT_EQ(s.label(kAmpStatusLabelId), "OPER");
    g_client = 0;
}

TEST(RemoteClientMessages, TheWattmetersThreeNumbersAreAllUsed) {
    g_client = 1;
    RadioWindowFirst w(23);
    g_extswr = 10000;
    FromServer(kMsgSwitch, "0100  0004  0150 ");
    auto* meter = dynamic_cast<CMeter*>(w.window.Control(9200));
    ASSERT_NE(meter, nullptr);
    EXPECT_EQ(meter->GetType(), 1);
    EXPECT_EQ(meter->Value(1), 100);
    EXPECT_EQ(meter->Value(2), 4);
    EXPECT_EQ(g_extswr, 150);
    g_client = 0;
}

TEST(RemoteClientMessages, TheServerTakesTheClientsKeyerSpeed) {
    KeyerLink link;
    link.start();
    g_radioserver = 1;
    Station s(14);
    g_keyercw = 10;
    g_keyerks = 5;
    g_cwspeed = 25;
    link.keyer.serve(20);
    const std::size_t before = link.keyer.commands().size();
    // Speed 30 on a base of 12: the pot is set up for the new base, the
    // panel's offset is 30 - 12 - 10 and the settings slider shows the base.
    const auto state = ClientState(30, 12);
    ProcessClientMessage(state.data(), 29, kMsgClientState);
    EXPECT_EQ(g_cwspeed, 30);
    EXPECT_EQ(g_keyercw, 12);
    EXPECT_EQ(g_keyerks, 8);
    link.keyer.serve(50);
    bool pot = false;
    for (std::size_t i = before; i < link.keyer.commands().size(); ++i)
        pot = pot || link.keyer.commands()[i] == std::vector<std::uint8_t>{0x05, 22, 15, 0xFF};
    EXPECT_TRUE(pot);
    auto* ks = dynamic_cast<CSlider*>(s.window.Control(IDC_SLIDER_KEYER));
    ASSERT_NE(ks, nullptr);
    EXPECT_EQ(ks->GetValue(), 8);
    EXPECT_EQ(s.valueShown("Key Spd"), "12");
    // The same state again changes nothing.
    const std::size_t after = link.keyer.commands().size();
    ProcessClientMessage(state.data(), 29, kMsgClientState);
    link.keyer.serve(20);
    EXPECT_EQ(link.keyer.commands().size(), after);
    // A speed the panel cannot show is held at its ends.
    const auto fast = ClientState(99, 12);
    ProcessClientMessage(fast.data(), 29, kMsgClientState);
    EXPECT_EQ(g_keyerks, 15);
    g_radioserver = 0;
}
