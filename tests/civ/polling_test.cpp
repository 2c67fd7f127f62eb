// The meter poll and the mirror poll sequencer, on a pseudo-terminal: what
// each tick puts on the wire, by model, meter setting and poll amount.
#include <gtest/gtest.h>

#include "app/main_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/engine_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/link_fixture.h"
#include "civ/reply_processing.h"
#include "panel/swl_panel.h"

using plat::manual_clock::Advance;

namespace {
using Frames = std::vector<Bytes>;

// The request bytes (after the header, before FD) of every frame in `wire`.
Frames Requests(const Bytes& wire) {
    Frames out;
    Bytes cur;
    for (std::uint8_t b : wire) {
        cur.push_back(b);
        if (b != 0xFD) continue;
        if (cur.size() >= 6) out.emplace_back(cur.begin() + 4, cur.end() - 1);
        cur.clear();
    }
    return out;
}

struct Poll : RadioLink {
    explicit Poll(int type, int fw2 = 0) {
        g_radiotype = type;
        g_7600fw2 = fw2;
        g_radioadr = 0x94;
        g_selvfo = 'A';
        ResetPollSequencer();
    }
    // One meter tick, and the frames the send pump writes for it.
    Frames meterTick() {
        PollMeters();
        Advance(200);
        return Requests(written());
    }
    // One sequencer tick: its frames go straight to the port.
    Frames pollTick() {
        PollRadio();
        return Requests(written());
    }
};
}  // namespace

TEST(MeterPoll, EveryTickAsksForTheMeterAndTheTransmitStateAndEverySixthForTheFrequency) {
    Poll p(0);  // IC-756PRO
    int freq = 0;
    for (int tick = 1; tick <= 12; ++tick) {
        Frames f = p.meterTick();
        ASSERT_GE(f.size(), 2u) << tick;
        EXPECT_EQ(f[0], (Bytes{0x15, 0x02}));
        EXPECT_EQ(f[1], (Bytes{0x1C, 0x00}));
        if (f.size() == 3) {
            EXPECT_EQ(f[2], (Bytes{0x03}));
            EXPECT_EQ(tick % 6, 0) << tick;
            ++freq;
        }
    }
    EXPECT_EQ(freq, 2);
}

TEST(MeterPoll, TheCommand25DialectAsksForBothVfosInSplit) {
    Poll p(23, 1);  // IC-7300
    EXPECT_EQ(p.meterTick(), (Frames{{0x15, 0x02}, {0x25, 0x00}, {0x1C, 0x00}}));
    g_split = 1;
    EXPECT_EQ(p.meterTick(), (Frames{{0x15, 0x02}, {0x25, 0x00}, {0x25, 0x01}, {0x1C, 0x00}}));
}

TEST(MeterPoll, TransmitMetersFollowTheMeterSetting) {
    Poll p(23, 1);
    g_metersetting = 2;
    EXPECT_EQ(p.meterTick()[0], (Bytes{0x15, 0x02}));  // receiving
    g_transmitting = 1;
    const std::uint8_t expected[] = {0x02, 0x11, 0x12, 0x14, 0x13};
    for (int setting = 0; setting <= 4; ++setting) {
        g_metersetting = setting;
        EXPECT_EQ(p.meterTick()[0], (Bytes{0x15, expected[setting]})) << setting;
    }
    g_sweeprunning = 1;  // a sweep reads the S-meter whatever the setting
    EXPECT_EQ(p.meterTick()[0], (Bytes{0x15, 0x02}));
    g_sweeprunning = 0;
}

TEST(MeterPoll, ModelsWithoutTheTransmitReadAndQuietTimes) {
    Poll p(4);  // IC-706MKIIG: no 1C 00
    EXPECT_EQ(p.meterTick(), (Frames{{0x15, 0x02}}));
    g_doingcwid = 1;
    EXPECT_TRUE(p.meterTick().empty());
    g_doingcwid = 0;
    g_savemem = 5;
    EXPECT_TRUE(p.meterTick().empty());
    g_savemem = 0;
    g_polling = 1;  // the one-second poll asks for the frequency instead
    for (int i = 0; i < 7; ++i)
        for (const Bytes& f : p.meterTick()) EXPECT_NE(f, (Bytes{0x03}));
}

TEST(MeterPoll, ABacklogInTheSendQueueSkipsTheTick) {
    Poll p(0);
    for (int i = 0; i < kMeterBacklog; ++i) Put(Frame({0x14, 0x01, 0x00, 0x00}));
    const int depth = SendQueueDepth();
    PollMeters();
    EXPECT_EQ(SendQueueDepth(), depth);
    EXPECT_EQ(p.traced("meter poll skipped"), 1);
    Advance(50 * (kMeterBacklog + 1));
    p.written();
    EXPECT_EQ(p.meterTick().size(), 2u);
}

TEST(MirrorPoll, TheListsGoOutInWireOrderWithThePollAmount) {
    Poll p(23);
    g_mirror = 1;
    g_pollamount = 3;
    const Frames list1 = PollListItems(1);
    const Frames list2 = PollListItems(2);
    // IC-7300 without split: list 1 keeps the items of its gates, list 2
    // the filter width and the level reads.
    EXPECT_EQ(list1.front(), (Bytes{0x03}));
    EXPECT_EQ(list2, (Frames{{0x1A, 0x03}, {0x14, 0x02}, {0x14, 0x07}, {0x14, 0x08}}));
    Frames seen1, seen2;
    for (int tick = 0; tick < 2 * 20; ++tick) {
        const Frames f = p.pollTick();
        ASSERT_EQ(f.size(), 3u) << tick;
        (tick % 2 == 0 ? seen1 : seen2).insert((tick % 2 == 0 ? seen1 : seen2).end(), f.begin(), f.end());
    }
    for (std::size_t i = 0; i < seen1.size(); ++i) ASSERT_EQ(seen1[i], list1[i % list1.size()]) << i;
    for (std::size_t i = 0; i < seen2.size(); ++i) ASSERT_EQ(seen2[i], list2[i % list2.size()]) << i;
}

TEST(MirrorPoll, GatesFollowDualWatchAndSplit) {
    Poll p(23);
    g_split = 1;
    const Frames list1 = PollListItems(1);
    for (const Bytes& f : list1) {
        EXPECT_NE(f, (Bytes{0x03}));
        EXPECT_NE(f, (Bytes{0x04}));
    }
    EXPECT_EQ(PollListItems(2).front(), (Bytes{0x04}));
    g_radiotype = 17;  // the IC-7200 asks for the filter width with 1A 02
    EXPECT_EQ(PollListItems(2)[1], (Bytes{0x1A, 0x02}));
}

TEST(MirrorPoll, ATickWithNoPassingGateEndsAfterOnePass) {
    Poll p(4);  // neither levels nor DSP filters: list 2 has nothing without split
    g_mirror = 1;
    g_pollamount = 10;
    EXPECT_FALSE(p.pollTick().empty());  // list 1
    EXPECT_TRUE(p.pollTick().empty());   // list 2: one pass, nothing sent
    g_radiotype = 7;                     // IC-718
    g_pollamount = 3;
    EXPECT_EQ(p.pollTick().size(), 3u);
}

TEST(MirrorPoll, OneShotsGoFirstAndOnce) {
    Poll p(23);
    g_mirror = 1;
    g_pollrequests.splitOn = 1;
    g_pollrequests.dualOff = 1;
    EXPECT_EQ(p.pollTick(), (Frames{{0x0F, 0x01}}));
    EXPECT_EQ(p.pollTick(), (Frames{{0x07, 0xC0}}));
    EXPECT_EQ(p.pollTick(), (Frames{{0x03}}));
    EXPECT_EQ(g_pollrequests.splitOn + g_pollrequests.dualOff, 0);
}

TEST(MirrorPoll, TheSubSlidersMoveThePollToVfoB) {
    for (int type : {5, 23}) {
        Poll p(type);
        g_mirror = 1;
        g_selvfo = 'A';
        g_pollvfoa = 1;
        g_pollmain = 1;
        g_subsliders = 1;
        g_dual = 1;
        g_sliderreread = 1;
        const Frames f = p.pollTick();
        ASSERT_FALSE(f.empty());
        // The switch counts as the tick's one request.
        EXPECT_EQ(f, (Frames{{0x07, std::uint8_t(type == 5 ? 0xD1 : 0x01)}})) << type;
        EXPECT_EQ(g_pollvfoa, 0);
        EXPECT_EQ(g_pollmain, type == 5 ? 0 : 1);
        EXPECT_TRUE(p.win.HasTimer(TIMER_SLIDER_POLL));
        EXPECT_EQ(g_sliderreread, 0);
        // Dual watch off: the poll stays on B while the sub sliders show.
        g_dual = 0;
        p.pollTick();
        EXPECT_EQ(g_pollvfoa, 0);
        g_subsliders = 0;
        EXPECT_EQ(p.pollTick().front(), (Bytes{0x07, std::uint8_t(type == 5 ? 0xD0 : 0x00)}));
        EXPECT_EQ(g_pollvfoa, 1);
        EXPECT_EQ(g_pollmain, 1);
        p.win.KillTimer(TIMER_SLIDER_POLL);
    }
}

namespace {
// The tuning tick and the end of the report hold-off, as the main frame runs them.
class TuningWindow : public PumpWindow {
public:
    void OnTimer(unsigned id) override {
        if (id == TIMER_NEW_TUNING)
            RunTuningTick();
        else if (id == TIMER_FREQ_HOLDOFF)
            OnFreqHoldoffTimer();
        else
            PumpWindow::OnTimer(id);
    }
};
}  // namespace

TEST(MeterPoll, AFrequencyAnswerDoesNotUndoATuningWaitingToBeSent) {
    Poll p(23, 1);
    TuningWindow w;
    g_timerwindow = &w;
    g_radioheard = 2;
    g_tuningdelay = 50;
    g_vfoafreq = 14.025;
    g_lastsenta = 14.025;
    TuneVfoA(1000);
    // The answer to a 25 00 asked before the key press.
    const Bytes old = Frame({0x25, 0x00, 0x00, 0x50, 0x02, 0x14, 0x00}, 0xE0, 0x94);
    ProcessRadioBytes(old.data(), int(old.size()));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.026);
    // Once sent, the radio's own reports count again.
    Advance(60);
    const Bytes moved = Frame({0x25, 0x00, 0x00, 0x00, 0x03, 0x14, 0x00}, 0xE0, 0x94);
    Advance(1000);
    ProcessRadioBytes(moved.data(), int(moved.size()));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.03);
    w.KillTimer(TIMER_DEVICE_POLL);
    w.KillTimer(TIMER_SENDQ);
    g_timerwindow = &p.win;
}
