// Frequency sends and radio replies, checked on the frames the send queue
// holds (no radio port: paced mode with an invalid port keeps nothing, so
// the queue is read through a fake port name) and on the panel's state.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "app/tuning_wiring.h"
#include "base/band_plan.h"
#include "base/settings_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/engine_options.h"
#include "civ/frame_reader.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/reply_processing.h"
#include "civ/reply_slots.h"
#include "civ/reply_store.h"
#include "civ/send_queue.h"
#include "civ/transverters.h"
#include "panel/panel_recorder.h"
#include "panel/swl_panel.h"
#include "queued_engine.h"

namespace {
using Bytes = std::vector<std::uint8_t>;

struct EngineFixture : ::testing::Test {
    RecordingFrame frame;
    RecordingView view;
    CSwlPanel panel{&frame};
    int taken = 0;

    EngineFixture() {
        OpenQueuedEngine();
        panel.SetView(&view);
        panel.enabled = 1;
        g_swlpanel = &panel;
        WireTuningView();
    }
    ~EngineFixture() override {
        g_swlpanel = nullptr;
        CloseQueuedEngine();
    }
    // Frames queued since the last call.
    std::vector<Bytes> Sent() {
        std::vector<Bytes> out;
        for (int i = taken; i != g_putq; i = (i + 1) % kSendSlots)
            out.emplace_back(g_sendbuf[i], g_sendbuf[i] + g_sendlen[i]);
        taken = g_putq;
        return out;
    }
    void Reply(const Bytes& f) {
        ClearReplyFlags();
        StoreCivReply(f.data(), int(f.size()), 0);
        ProcessCivReplies();
    }
};
}  // namespace

TEST_F(EngineFixture, EqualFrequencyIsSentOnce) {
    SetCommonFrequencies(0, 14.025, 'A');
    SetCommonFrequencies(0, 14.025, 'A');
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (Bytes{0xFE, 0xFE, 0x5C, 0xE0, 0x05, 0x00, 0x50, 0x02, 0x14, 0x00, 0xFD}));
    // Clearing the copy last sent forces the next send.
    g_lastsenta = 0;
    SetCommonFrequencies(0, 14.025, 'A');
    EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(EngineFixture, RitOffsetIsAddedToVfoA) {
    SetCommonFrequencies(500, 14.025, 'A');
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (Bytes{0xFE, 0xFE, 0x5C, 0xE0, 0x05, 0x00, 0x55, 0x02, 0x14, 0x00, 0xFD}));
}

TEST_F(EngineFixture, CommandTwentyFiveDialectNeedsNoVfoSwitch) {
    g_7600fw2 = 1;
    SetCommonFrequencies(0, 7.1, 'B');
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], (Bytes{0xFE, 0xFE, 0x5C, 0xE0, 0x25, 0x01, 0x00, 0x00, 0x10, 0x07, 0x00, 0xFD}));
    EXPECT_EQ(g_tuning, 1);  // the hold-off against the radio's own report
}

TEST_F(EngineFixture, RawModeVfoBGoesOutAsThreeFrames) {
    g_rawmode = 1;
    SetCommonFrequencies(0, 7.1, 'B');
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], (Bytes{0xFE, 0xFE, 0x5C, 0xE0, 0x07, 0xD1, 0xFD}));
    ASSERT_EQ(sent[1].size(), 25u);
    EXPECT_EQ(sent[1][4], 0x07);
    EXPECT_EQ(sent[1][11], 0x05);
    EXPECT_EQ(sent[1][23], 0xD0);
    EXPECT_EQ(sent[2], (Bytes{0xFE, 0xFE, 0x5C, 0xE0, 0x07, 0xD0, 0xFD}));
    EXPECT_EQ(g_selvfo, 'A');
}

TEST_F(EngineFixture, SplitSendsVfoBAndSwitchesSplitOn) {
    g_vfoafreq = 14.025;
    g_vfobfreq = 14.03;
    g_split = 1;
    SetRadioFrequencies();
    const auto sent = Sent();
    const Bytes vfob{0xFE, 0xFE, 0x5C, 0xE0, 0x05, 0x00, 0x00, 0x03, 0x14, 0x00, 0xFD};
    const Bytes splitOn{0xFE, 0xFE, 0x5C, 0xE0, 0x0F, 0x01, 0xFD};
    int found = 0;
    for (const auto& f : sent) found += (f == vfob) + (f == splitOn) * 10;
    EXPECT_EQ(found, 11);
    // Split off again: 0F 00 once.
    g_split = 0;
    SetRadioFrequencies();
    const Bytes splitOff{0xFE, 0xFE, 0x5C, 0xE0, 0x0F, 0x00, 0xFD};
    int offs = 0;
    for (const auto& f : Sent()) offs += f == splitOff;
    EXPECT_EQ(offs, 1);
}

TEST_F(EngineFixture, TransverterAndTwoMeterConversion) {
    g_transverter[0].lower = 430;
    g_transverter[0].upper = 450;
    g_transverter[0].ifreq = 28;
    EXPECT_NEAR(RadioFrequencyFor(432.1), 30.1, 1e-9);
    g_twometerif = 28;
    EXPECT_NEAR(RadioFrequencyFor(144.2), 28.2, 1e-9);  // IC-756PRO: no native 2 m
    g_radiotype = 2;                                    // IC-746 has 2 m
    EXPECT_NEAR(RadioFrequencyFor(144.2), 144.2, 1e-9);
    EXPECT_EQ(BandIndex(0.05), 32);
    EXPECT_EQ(CompareFrequencies(14.0250004, 14.025), 0);
    EXPECT_NE(CompareFrequencies(14.025001, 14.025), 0);
}

TEST_F(EngineFixture, TransverterFrequencyIsSentConverted) {
    g_transverter[0].lower = 430;
    g_transverter[0].upper = 450;
    g_transverter[0].ifreq = 28;
    g_vfoafreq = 432.1;
    SetRadioFrequencies();
    const Bytes tv{0xFE, 0xFE, 0x5C, 0xE0, 0x05, 0x00, 0x00, 0x10, 0x30, 0x00, 0xFD};
    bool seen = false;
    for (const auto& f : Sent()) seen = seen || f == tv;
    EXPECT_TRUE(seen);
    EXPECT_NEAR(g_tvoffset, 402, 1e-9);
}

TEST_F(EngineFixture, RitAndXitFramesInTheTwentyFiveDialect) {
    g_7600fw2 = 1;
    g_riton = 1;
    g_ritoffset = -120;
    SetTxFrequencies();
    const auto sent = Sent();
    const Bytes ritOn{0xFE, 0xFE, 0x5C, 0xE0, 0x21, 0x01, 0x01, 0xFD};
    const Bytes offset{0xFE, 0xFE, 0x5C, 0xE0, 0x21, 0x00, 0x20, 0x01, 0x01, 0xFD};
    int found = 0;
    for (const auto& f : sent) found += (f == ritOn) + (f == offset) * 10;
    EXPECT_EQ(found, 11);
    SetTxFrequencies();  // nothing changed: nothing sent again
    for (const auto& f : Sent()) EXPECT_NE(f[4], 0x21);
}

TEST_F(EngineFixture, TransceiveFrequencyMovesVfoAAndThePanel) {
    g_vfoafreq = 14.025;
    Reply({0xFE, 0xFE, 0x00, 0x5C, 0x00, 0x00, 0x00, 0x10, 0x07, 0x00, 0xFD});
    EXPECT_DOUBLE_EQ(g_vfoafreq, 7.1);
    EXPECT_DOUBLE_EQ(g_lastsenta, 7.1);
    EXPECT_EQ(view.digits[0][1], "7.");
}

TEST_F(EngineFixture, HoldOffThrowsFrequencyReportsAway) {
    g_vfoafreq = 14.025;
    g_tuning = 1;
    Reply({0xFE, 0xFE, 0x00, 0x5C, 0x00, 0x00, 0x00, 0x10, 0x07, 0x00, 0xFD});
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.025);
    OnFreqHoldoffTimer();
    Reply({0xFE, 0xFE, 0x00, 0x5C, 0x00, 0x00, 0x00, 0x10, 0x07, 0x00, 0xFD});
    EXPECT_DOUBLE_EQ(g_vfoafreq, 7.1);
}

TEST_F(EngineFixture, PolledFrequencyNeedsPolling) {
    g_vfoafreq = 14.025;
    g_radioheard = 2;
    g_polling = 0;
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x03, 0x00, 0x00, 0x10, 0x07, 0x00, 0xFD});
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.025);
    g_polling = 1;
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x03, 0x00, 0x00, 0x10, 0x07, 0x00, 0xFD});
    EXPECT_DOUBLE_EQ(g_vfoafreq, 7.1);
}

TEST_F(EngineFixture, ModeReplyMapsBackToModeChars) {
    g_vfoamode = '0';
    Reply({0xFE, 0xFE, 0x00, 0x5C, 0x01, 0x03, 0x01, 0xFD});
    EXPECT_EQ(g_vfoamode, '3');
    EXPECT_EQ(panel.vfoAMode, '3');
    // USB keeps PSK outside raw mode on a model without PSK modes.
    g_vfoamode = '9';
    Reply({0xFE, 0xFE, 0x00, 0x5C, 0x01, 0x01, 0x01, 0xFD});
    EXPECT_EQ(g_vfoamode, '9');
    EXPECT_EQ(ModeCharForCivByte(0x00, ':', true), ':');
    EXPECT_EQ(ModeCharForCivByte(0x00, ':', false), '1');
    EXPECT_EQ(ModeCharForCivByte(0x99, '0', true), 0);
}

TEST_F(EngineFixture, ModeReplyWithoutFilterByteKeepsTheFilter) {
    g_vfoamode = '0';
    g_rxfilter = 2;
    Reply({0xFE, 0xFE, 0x00, 0x5C, 0x01, 0x03, 0xFD});
    EXPECT_EQ(g_vfoamode, '3');
    EXPECT_EQ(g_rxfilter, 2);
    Reply({0xFE, 0xFE, 0x00, 0x5C, 0x01, 0x03, 0x03, 0xFD});
    EXPECT_EQ(g_rxfilter, 3);
}

TEST_F(EngineFixture, FilterWidthReplyWithoutTableEntryIsIgnored) {
    g_radiotype = 1;  // DSP filters
    g_rxfilter = 5;
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x1A, 0x03, 0x49, 0xFD});
    EXPECT_EQ(g_rxfilter, 5);
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x1A, 0x03, 0x09, 0xFD});
    EXPECT_EQ(g_rxfilter, 32);  // 500 Hz
    EXPECT_EQ(panel.filter, 32);
}

TEST_F(EngineFixture, MemoryContentsKeepOnlyWhatTheFrameHolds) {
    const Bytes shortFrame{0xFE, 0xFE, 0xE0, 0x5C, 0x1A, 0x00, 0x01, 0xFD};
    StoreCivReply(shortFrame.data(), int(shortFrame.size()), 0);
    EXPECT_EQ(g_replies.memory.length, 4);
    EXPECT_TRUE(g_replies.memory.fresh);
}

TEST_F(EngineFixture, SMeterPeakHoldsThenDecays) {
    g_peaktime = 1;
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x15, 0x02, 0x01, 0x20, 0xFD});  // 120
    const int peak = g_smeterpeak;
    EXPECT_GE(peak, 256);
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x15, 0x02, 0x00, 0x00, 0xFD});
    EXPECT_EQ(g_smeterpeak, peak);  // held one tick
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x15, 0x02, 0x00, 0x00, 0xFD});
    EXPECT_EQ(g_smeterpeak, peak * 8 / 10);
    EXPECT_EQ(g_radioheard, 1);
    EXPECT_EQ(SMeterSteps(120, false), (12 * 256) * 7 / 10);
    EXPECT_EQ(SwrTimes100(0), 100);
    EXPECT_EQ(SwrTimes100(80), 200);
    EXPECT_EQ(SwrTimes100(120), 300);
}

TEST_F(EngineFixture, TransmitStateLightsAndClearsTheMarker) {
    g_txenable = 1;
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x1C, 0x00, 0x01, 0xFD});
    EXPECT_EQ(g_transmitting, 1);
    EXPECT_EQ(panel.transmitA, 1);
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x1C, 0x00, 0x00, 0xFD});
    EXPECT_EQ(g_transmitting, 0);
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x15, 0x02, 0x00, 0x10, 0xFD});
    EXPECT_EQ(panel.transmitA, 0);
}

TEST_F(EngineFixture, RitReplySwitchesToCommandTwentyFive) {
    g_7600fw2 = 0;
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x21, 0x00, 0x00, 0x00, 0x00, 0xFD});
    EXPECT_EQ(g_7600fw2, 1);
}

TEST_F(EngineFixture, ModeReplyReEnablesTransmitBackInsideTheLicence) {
    // The band plan disabled transmit earlier; the operator turns the radio's
    // own mode (or VFO) back to where the licence allows it.
    g_followlicense = 1;
    g_txenable = 0;
    g_power = 40;
    g_bandrow = kFirstUnrestrictedBandRow;  // a row where every class may transmit
    g_vfoamode = '0';
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x04, 0x03, 0x01, 0xFD});
    EXPECT_EQ(g_vfoamode, '3');
    EXPECT_EQ(g_txenable, 1);
    bool power = false;
    for (const Bytes& f : Sent())
        if (f == Bytes{0xFE, 0xFE, 0x5C, 0xE0, 0x14, 0x0A, 0x01, 0x02, 0xFD}) power = true;  // 40 % = 102
    EXPECT_TRUE(power);
    g_followlicense = 0;
}

TEST_F(EngineFixture, SMeterCompensationCountsWholeSUnits) {
    // 0120: 12 S-units of 256 steps, times 7/10 = 2150; "S METER COMP" adds
    // whole 6 dB S-units only.
    g_smetercomp = 3;
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x15, 0x02, 0x01, 0x20, 0xFD});
    EXPECT_EQ(panel.meterValue, 2150);
    g_smetercomp = 12;
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x15, 0x02, 0x01, 0x20, 0xFD});
    EXPECT_EQ(panel.meterValue, 2150 + 512);
    g_smetercomp = -6;
    Reply({0xFE, 0xFE, 0xE0, 0x5C, 0x15, 0x02, 0x01, 0x20, 0xFD});
    EXPECT_EQ(panel.meterValue, 2150 - 256);
    g_smetercomp = 0;
}
