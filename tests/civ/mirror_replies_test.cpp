// Mirror replies: what the radio's answers to the mirror poll change in the
// panel and the program, read by the frame reader as on the wire.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/tuning_wiring.h"
#include "base/settings_view.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/engine_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/link_fixture.h"
#include "civ/mirror_replies.h"
#include "civ/radio_init.h"
#include "civ/reply_processing.h"
#include "panel/swl_panel.h"

namespace {
Bytes Reply(std::initializer_list<std::uint8_t> body) { return Frame(body, 0xE0, 0x94); }

struct Mirror : LinkBase {
    CSwlPanel panel;
    Mirror(int type = 23) {
        g_mirror = 1;
        g_radiotype = type;
        g_swlpanel = &panel;
        WireTuningView();
        g_vfoafreq = panel.vfoAFreq = 14.074;
        g_vfobfreq = panel.vfoBFreq = 7.074;
        g_vfoamode = panel.vfoAMode = '0';
        g_vfobmode = panel.vfoBMode = '1';
        g_rxfilter = panel.filter = 2;
        g_pollvfoa = 1;
        g_pollmain = 1;
    }
    ~Mirror() { g_swlpanel = nullptr; }
    void feed(const Bytes& b) { ProcessRadioBytes(b.data(), int(b.size())); }
};

// Frequency reply for `hz`, as 03 answers.
Bytes FreqReply(long long hz) {
    Bytes out{0xFE, 0xFE, 0xE0, 0x94, 0x03};
    for (int i = 0; i < 5; ++i) {
        const int pair = int(hz % 100);
        hz /= 100;
        out.push_back(std::uint8_t(((pair / 10) << 4) | (pair % 10)));
    }
    out.push_back(0xFD);
    return out;
}
}  // namespace

TEST(MirrorReplies, ANewFrequencyGoesOnThePanelAndIsPushedOnce) {
    Mirror m;
    m.feed(FreqReply(14250000));
    EXPECT_DOUBLE_EQ(m.panel.vfoAFreq, 14.25);
    // The reader ran the state push after the scan.
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.25);
    EXPECT_EQ(g_swlpending, 0);
    // The same frequency again changes nothing and asks for no push.
    const int pushes = m.traced("OnSwl\r");
    m.feed(FreqReply(14250000));
    EXPECT_EQ(m.traced("OnSwl\r"), pushes);
}

TEST(MirrorReplies, VfoBRepliesGoToVfoB) {
    Mirror m;  // IC-7300: VFO B polled, other replies still count as main
    g_pollvfoa = 0;
    m.feed(FreqReply(7100000));
    EXPECT_DOUBLE_EQ(m.panel.vfoBFreq, 7.1);
    EXPECT_DOUBLE_EQ(g_vfobfreq, 7.1);
    EXPECT_DOUBLE_EQ(m.panel.vfoAFreq, 14.074);
    m.feed(Reply({0x04, 0x03, 0x01}));  // CW
    EXPECT_EQ(m.panel.vfoBMode, '3');
    EXPECT_EQ(g_vfobmode, '3');
    EXPECT_EQ(m.panel.vfoAMode, '0');
    EXPECT_EQ(g_vfoamode, '0');
    m.feed(Reply({0x1A, 0x03, 0x20}));  // 2.4 kHz on VFO B
    EXPECT_EQ(m.panel.filter, 2);
    EXPECT_GT(g_vfobrxfilter, 2);
    // Levels are the one receiver's.
    m.feed(Reply({0x14, 0x03, 0x01, 0x28}));
    EXPECT_EQ(m.panel.fn.squelch, 128);
}

TEST(MirrorReplies, FilterWidthCodesOutsideTheTableAreIgnored) {
    Mirror m;
    m.feed(Reply({0x1A, 0x03, 0x40}));
    EXPECT_EQ(m.panel.filter, 1);  // 3.6 kHz, the first entry
    EXPECT_EQ(m.traced("mirror number 1, 2 40 3 fffffffd"), 1);
    m.feed(Reply({0x1A, 0x03, 0x99, 0x99}));  // 9999: no such width
    m.feed(Reply({0x1A, 0x03, 0x77}));
    EXPECT_EQ(m.panel.filter, 1);
}

TEST(MirrorReplies, ModeRepliesOnlyWithKnownModesAndFilters) {
    Mirror m(0);  // IC-756PRO: the filter comes with the mode
    m.feed(Reply({0x04, 0x03, 0x02}));
    EXPECT_EQ(m.panel.vfoAMode, '3');
    EXPECT_EQ(m.panel.filter, 2);
    m.feed(Reply({0x04, 0x05, 0x03}));
    EXPECT_EQ(m.panel.vfoAMode, '5');
    EXPECT_EQ(m.panel.filter, 3);
    m.feed(Reply({0x04, 0x02}));  // no filter byte: the filter stays
    EXPECT_EQ(m.panel.vfoAMode, '4');
    EXPECT_EQ(m.panel.filter, 3);
    m.feed(Reply({0x04, 0x01, 0x07}));  // no such filter
    EXPECT_EQ(m.panel.vfoAMode, '0');
    EXPECT_EQ(m.panel.filter, 3);
    m.feed(Reply({0x04, 0x33, 0x01}));  // no such mode
    EXPECT_EQ(m.panel.vfoAMode, '0');
    EXPECT_EQ(g_vfoamode, '0');
    m.feed(Reply({0x04, 0x17, 0x01}));  // DV
    EXPECT_EQ(m.panel.vfoAMode, 0x17);
}

TEST(MirrorReplies, BroadcastsInDualWatchAreNotTaken) {
    Mirror m;
    g_dual = 1;
    const Bytes broadcast{0xFE, 0xFE, 0x00, 0x94, 0x00, 0x00, 0x00, 0x25, 0x14, 0x00, 0xFD};
    m.feed(broadcast);
    m.feed(Frame({0x01, 0x03, 0x01}, 0x00, 0x94));
    EXPECT_DOUBLE_EQ(m.panel.vfoAFreq, 14.074);
    EXPECT_EQ(m.panel.vfoAMode, '0');
    g_dual = 0;
    m.feed(broadcast);
    EXPECT_DOUBLE_EQ(m.panel.vfoAFreq, 14.25);
}

TEST(MirrorReplies, LevelsSettingsAndMargins) {
    Mirror m;
    g_bfo = 600;
    m.feed(Reply({0x14, 0x09, 0x01, 0x30}));  // 130 x 75 / 32 + 300 = 604: within 5 Hz
    EXPECT_EQ(g_bfo, 600);
    m.feed(Reply({0x14, 0x09, 0x01, 0x50}));  // 651
    EXPECT_EQ(g_bfo, 651);
    g_power = 50;
    m.feed(Reply({0x14, 0x0A, 0x01, 0x32}));  // 132 -> 51%: within 2
    EXPECT_EQ(g_power, 50);
    m.feed(Reply({0x14, 0x0A, 0x02, 0x55}));  // 255 -> 100%
    EXPECT_EQ(g_power, 100);
    EXPECT_EQ(g_powerchanged, 0);  // the push that followed has sent it
    m.feed(Reply({0x14, 0x07, 0x00, 0x64}));
    EXPECT_EQ(m.panel.pbtOuter, 64);
    m.feed(Reply({0x14, 0x0D, 0x02, 0x00}));
    EXPECT_EQ(m.panel.fn.notchPosition, 200);
    m.feed(Reply({0x14, 0x01, 0x01}));  // too short: no level
    EXPECT_EQ(m.panel.fn.afGain, 0);
}

TEST(MirrorReplies, GainsReadBackDoNotCreep) {
    // A level the radio reports, taken into the panel and sent again, is
    // the level the radio already has; the next poll finds nothing new.
    for (int level = 0; level <= 255; ++level) {
        const int af = AfGainFromLevel(level);
        ASSERT_EQ(AfGainFromLevel(AfGainLevel(af)), af) << level;
        const int rf = RfGainFromLevel(level);
        ASSERT_EQ(RfGainFromLevel(RfGainLevel(rf)), rf) << level;
    }
    EXPECT_EQ(AfGainLevel(AfGainFromLevel(100)), 100);
    EXPECT_EQ(RfGainLevel(RfGainFromLevel(0)), 0);
    EXPECT_EQ(RfGainLevel(RfGainFromLevel(255)), 255);
}

TEST(MirrorReplies, SwitchesAndTheirSides) {
    Mirror m(5);  // IC-7800: the sub receiver has flags of its own
    m.feed(Reply({0x16, 0x22, 0x01}));
    m.feed(Reply({0x16, 0x4C, 0x01}));
    m.feed(Reply({0x16, 0x47, 0x02}));
    m.feed(Reply({0x11, 0x12}));  // 12 dB on the DIGI-SEL family: step 4
    EXPECT_EQ(m.panel.fn.noiseBlanker, 1);
    EXPECT_EQ(m.panel.vsc, 1);
    EXPECT_EQ(m.traced("SQ TRUE"), 1);
    EXPECT_EQ(m.panel.fn.breakIn, 2);
    EXPECT_EQ(m.panel.attenuator, 4);
    g_pollmain = 0;
    m.feed(Reply({0x16, 0x40, 0x01}));
    m.feed(Reply({0x16, 0x4C, 0x00}));  // VSC has no sub side
    m.feed(Reply({0x16, 0x46, 0x01}));  // VOX has one side only
    EXPECT_EQ(m.panel.fn.noiseReductionB, 1);
    EXPECT_EQ(m.panel.fn.noiseReduction, 0);
    EXPECT_EQ(m.panel.vsc, 1);
    EXPECT_EQ(m.panel.fn.vox, 1);
    // AGC: 00 is no AGC code.
    g_pollmain = 1;
    const int agc = m.panel.agc;
    m.feed(Reply({0x16, 0x12, 0x00}));
    EXPECT_EQ(m.panel.agc, agc);
    m.feed(Reply({0x16, 0x12, 0x03}));
    EXPECT_EQ(m.panel.agc, '1');
}

TEST(MirrorReplies, AttenuatorInBcdAndMeterTypeMenu) {
    Mirror m;
    m.feed(Reply({0x11, 0x20}));
    EXPECT_EQ(m.panel.attenuator, 20);
    m.feed(Reply({0x1A, 0x05, 0x00, 0x37, 0x05}));
    EXPECT_EQ(g_metersetting, 3);
    m.feed(Reply({0x1A, 0x05, 0x00, 0x38, 0x09}));  // no such meter
    EXPECT_EQ(g_metersetting, 3);
}

TEST(MirrorReplies, TheMeterMovesWhileMirroring) {
    Mirror m;
    m.feed(Reply({0x15, 0x02, 0x01, 0x20}));
    EXPECT_GT(m.panel.meterValue, 256);
    EXPECT_EQ(m.panel.meterType, 4);
    m.feed(Reply({0x1C, 0x00, 0x01}));
    EXPECT_EQ(g_transmitting, 1);
}

namespace {
// Records what the engine asks of the settings window.
struct ShownRows : SettingsView {
    std::vector<int> rows;
    void ShowSettingRow(int id) override { rows.push_back(id); }
};
}  // namespace

TEST(MirrorReplies, AMicGainFromTheRadioShowsOnItsSettingsRowOnce) {
    Mirror m;
    ShownRows shown;
    RegisterSettingsView(&shown);
    g_micgain = 10;
    m.feed(Reply({0x14, 0x0B, 0x01, 0x28}));  // 128: 50 %
    EXPECT_EQ(g_micgain, 50);
    EXPECT_EQ(std::count(shown.rows.begin(), shown.rows.end(), 2471), 1);
    // The same level again shows nothing new.
    m.feed(Reply({0x14, 0x0B, 0x01, 0x28}));
    EXPECT_EQ(std::count(shown.rows.begin(), shown.rows.end(), 2471), 1);
    RegisterSettingsView(nullptr);
}

TEST(MirrorReplies, WithoutTheSettingsWindowAMicGainIsStillTakenOver) {
    Mirror m;
    g_micgain = 10;
    m.feed(Reply({0x14, 0x0B, 0x01, 0x28}));
    EXPECT_EQ(g_micgain, 50);
}
