#include <gtest/gtest.h>

#include "civ/link_fixture.h"
#include "civ/radio_models.h"
#include "devices/keying.h"
#include "devices/remote_link.h"
#include "platform/event_loop.h"
#include "platform/message_box.h"

using plat::manual_clock::Advance;

TEST(SendQueue, PacedModeWritesFramesQueuedTogetherOnePerTick) {
    RadioLink link;
    ASSERT_NE(g_radioport, plat::kInvalidPort);
    const Bytes a = Frame({0x03}), b = Frame({0x04}), c = Frame({0x14, 0x01, 0x01, 0x28});
    Put(a);  // as a meter tick queues them
    Put(b);
    Put(c);
    EXPECT_EQ(g_qdepth, 3);
    EXPECT_TRUE(link.written().empty());
    // The first once the work that queued them is done, not a pump period later.
    Advance(0);
    EXPECT_EQ(link.written(), a);
    EXPECT_EQ(link.traced("really send FE FE 94 E0 03 FD"), 1);
    Advance(49);
    EXPECT_TRUE(link.written().empty());
    Advance(1);
    EXPECT_EQ(link.written(), b);
    Advance(50);
    EXPECT_EQ(link.written(), c);
    EXPECT_EQ(link.traced("calling writefile"), 3);
    EXPECT_EQ(link.traced("really send FE FE 94 E0 14 01 01 28 FD"), 1);
    EXPECT_TRUE(SendQueueEmpty());
    EXPECT_EQ(g_qdepth, 0);
    // Nothing queued: the pump sleeps.
    EXPECT_EQ(g_sendtimer, 0);
    EXPECT_FALSE(link.win.HasTimer(TIMER_SENDQ));
    Advance(200);
    EXPECT_TRUE(link.written().empty());
    EXPECT_EQ(link.traced("calling writefile"), 3);
}

TEST(SendQueue, FramesLeaveOnePerTick) {
    RadioLink link;
    const Bytes a = Frame({0x03}), b = Frame({0x04}), c = Frame({0x1A, 0x00, 0x01, 0x00, 0x03});
    Put(a);
    Put(b);
    Put(c);
    Advance(0);
    EXPECT_EQ(link.written(), a);
    EXPECT_TRUE(link.written().empty());
    Advance(50);
    EXPECT_EQ(link.written(), b);
    Advance(50);
    EXPECT_EQ(link.written(), c);
    EXPECT_EQ(link.traced("calling writefile"), 3);
    EXPECT_TRUE(SendQueueEmpty());
    EXPECT_FALSE(link.win.HasTimer(TIMER_SENDQ));
}

TEST(SendQueue, PacedModeKeepsAPumpPeriodBetweenWrites) {
    RadioLink link;
    const Bytes a = Frame({0x03}), b = Frame({0x04});
    Put(a);
    Advance(10);
    EXPECT_EQ(link.written(), a);
    EXPECT_FALSE(link.win.HasTimer(TIMER_SENDQ));
    Put(b);  // 10 ms after the write: the pump wakes for it at 50
    EXPECT_TRUE(link.win.HasTimer(TIMER_SENDQ));
    EXPECT_EQ(g_sendtimer, 1);
    Advance(39);
    EXPECT_TRUE(link.written().empty());
    Advance(1);
    EXPECT_EQ(link.written(), b);
    EXPECT_FALSE(link.win.HasTimer(TIMER_SENDQ));
    // Long after the last write a new frame leaves at once again.
    Advance(500);
    Put(a);
    Advance(0);
    EXPECT_EQ(link.written(), a);
}

TEST(SendQueue, ALongQueueStillLeavesOneFramePerTick) {
    RadioLink link;
    for (int k = 0; k < 8; ++k) Put(Frame({0x1A, std::uint8_t(k)}));
    Advance(0);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(link.written(), Frame({0x1A, std::uint8_t(k)})) << k;
        EXPECT_EQ(SendQueueDepth(), 7 - k);
        Advance(50);
    }
    EXPECT_TRUE(SendQueueEmpty());
}

TEST(SendQueue, AWriteBringsTheReadForwardToWhenTheAnswerIsIn) {
    RadioLink link;
    link.win.SetTimer(TIMER_DEVICE_POLL, 1000);
    const Bytes a = Frame({0x15, 0x02}), b = Frame({0x1C, 0x00});
    Put(a);
    Put(b);
    Advance(0);
    EXPECT_EQ(plat::TimerDueIn(&link.win, TIMER_DEVICE_POLL), long(AnswerWindowMs(int(a.size()))));
    // A poll already due sooner is left alone.
    link.win.SetTimer(TIMER_DEVICE_POLL, 10);
    Advance(100);
    Put(a);
    Advance(0);
    EXPECT_LE(plat::TimerDueIn(&link.win, TIMER_DEVICE_POLL), 10);
}

TEST(SendQueue, AnswerAndQuietTimesFollowTheBaudRate) {
    const long saved = g_baud;
    g_baud = 19200;
    EXPECT_EQ(AnswerWindowMs(14), kTurnaroundMs + 15);  // 28 characters of 10 bits
    EXPECT_EQ(LineQuietMs(), 10u);                      // the timer floor
    g_baud = 1200;
    EXPECT_EQ(AnswerWindowMs(14), kTurnaroundMs + 234);
    EXPECT_EQ(LineQuietMs(), 34u);
    g_baud = saved;
}

TEST(SendQueue, EchoModeReleasesOnlyOnTheExactEcho) {
    RadioLink link;
    g_sendpaced = 0;
    const Bytes a = Frame({0x05, 0x00, 0x40, 0x07, 0x14, 0x00}), b = Frame({0x04});
    Put(a);
    EXPECT_EQ(link.written(), a);  // an empty ring writes at once
    Put(b);
    EXPECT_TRUE(link.written().empty());

    // Neither a changed byte nor a shorter frame with the same start is the echo.
    link.feed(Frame({0x05, 0x00, 0x40, 0x07, 0x14, 0x01}), 1);
    link.feed(Frame({0x05}), 1);
    EXPECT_EQ(g_qdepth, 2);
    Advance(50);  // no echo yet: the same frame again
    EXPECT_EQ(link.written(), a);

    link.feed(a, 1);
    EXPECT_EQ(g_qdepth, 1);
    EXPECT_EQ(link.traced("Increment queue echoback"), 1);
    Advance(50);
    EXPECT_EQ(link.written(), b);
    link.feed(b, 1);
    EXPECT_TRUE(SendQueueEmpty());
}

TEST(SendQueue, EchoModeRepeatsTheHeadOnlyOnThePumpTickAndReadsFirst) {
    RadioLink link;
    g_sendpaced = 0;
    const Bytes a = Frame({0x07, 0x00}), b = Frame({0x03}), ok = Frame({0xFB}, 0xE0, 0x94);
    Put(a);
    Put(b);
    EXPECT_EQ(link.written(), a);
    // An answer before a's echo (a late one to an earlier request) does not
    // repeat a: a repeat draws a second answer, which would repeat b, and
    // so on for every frame after.
    link.feed(ok, 1);
    EXPECT_TRUE(link.written().empty());
    Advance(40);  // a pump period after the write: a again
    EXPECT_EQ(link.written(), a);
    // Its echo and answer wait unread (the poll sleeps) when the pump falls
    // due: they are read first, so a is not repeated and b follows.
    link.win.SetTimer(TIMER_DEVICE_POLL, 1000);
    link.pty.write(a + ok);
    EXPECT_TRUE(link.pty.delivered());
    Advance(50);
    EXPECT_EQ(link.written(), b);
    EXPECT_EQ(g_qdepth, 1);
}

TEST(SendQueue, EchoInPacedModeReleasesNothing) {
    RadioLink link;
    Put(Frame({0x03}));
    Advance(0);
    Put(Frame({0x04}));  // waits for the pump period
    EXPECT_EQ(g_qdepth, 1);
    link.feed(Frame({0x04}), 1);  // the echo of the frame still queued
    EXPECT_EQ(g_qdepth, 1);
    EXPECT_EQ(link.traced("Increment queue echoback"), 0);
}

TEST(SendQueue, EchoModeGivesUpAnUnechoedFrame) {
    RadioLink link;
    g_sendpaced = 0;
    const Bytes a = Frame({0x03}), b = Frame({0x04});
    Put(a);
    Put(b);
    for (int k = 1; k < kMaxEchoWrites; ++k) Advance(50);
    EXPECT_EQ(link.written(), [&] {
        Bytes all;
        for (int k = 0; k < kMaxEchoWrites; ++k) all = all + a;
        return all;
    }());
    EXPECT_EQ(g_qdepth, 2);
    Advance(50);  // the ring moves on
    EXPECT_EQ(link.written(), b);
    EXPECT_EQ(g_qdepth, 1);
    EXPECT_EQ(link.traced("no echo after 10 writes, frame dropped"), 1);
}

TEST(SendQueue, PowerOnFrameMatchesItsEcho) {
    RadioLink link;
    g_sendpaced = 0;
    Bytes power(150, 0xFE);
    power = power + Frame({0x18, 0x01});
    Put(power);
    EXPECT_EQ(link.written(), power);
    link.feed(power, 2);
    EXPECT_TRUE(SendQueueEmpty());
}

TEST(SendQueue, FullRingRefusesTheNewFrame) {
    RadioLink link;
    for (int k = 0; k < kSendSlots - 1; ++k) Put(Frame({0x1A, std::uint8_t(k)}));
    EXPECT_TRUE(SendQueueFull());
    EXPECT_FALSE(putq(Frame({0x03}).data(), 6));
    EXPECT_EQ(g_qdepth, kSendSlots - 1);
    EXPECT_EQ(link.traced("send queue full, frame refused"), 1);
    // Every frame put is still there, in order.
    Bytes all, got;
    for (int k = 0; k < kSendSlots - 1; ++k) all = all + Frame({0x1A, std::uint8_t(k)});
    for (int k = 0; k < kSendSlots && got.size() < all.size(); ++k) {
        Advance(50);
        got = got + link.written();
    }
    EXPECT_EQ(got, all);
    EXPECT_TRUE(SendQueueEmpty());
    EXPECT_EQ(g_putq, kSendSlots - 1);
}

TEST(SendQueue, IndicesWrap) {
    RadioLink link;
    for (int k = 0; k < 200; ++k) {
        Put(Frame({0x03}));
        Advance(50);
    }
    EXPECT_EQ(g_putq, 20);
    EXPECT_EQ(g_getq, 20);
    EXPECT_EQ(link.written().size(), 6u * 200);
}

TEST(SendQueue, MalformedFramesAreRefused) {
    RadioLink link;
    Bytes longFrame(2510, 0x00);
    longFrame[0] = longFrame[1] = 0xFE;
    longFrame[2] = 0x94;
    longFrame[3] = 0xE0;
    longFrame.back() = 0xFD;
    sendtoradioactual(longFrame.data(), int(longFrame.size()));  // a remote client's frame
    Bytes slotPlusOne(kSendSlotSize + 1, 0x00);
    slotPlusOne[0] = slotPlusOne[1] = 0xFE;
    slotPlusOne.back() = 0xFD;
    EXPECT_FALSE(putq(slotPlusOne.data(), int(slotPlusOne.size())));
    const Bytes shortFrame{0xFE, 0xFE, 0x94, 0xE0, 0xFD};
    EXPECT_FALSE(putq(shortFrame.data(), 5));
    const Bytes noEnd{0xFE, 0xFE, 0x94, 0xE0, 0x03, 0x00};
    EXPECT_FALSE(putq(noEnd.data(), 6));
    const Bytes onePreamble{0xFE, 0x00, 0x94, 0xE0, 0x03, 0xFD};
    EXPECT_FALSE(putq(onePreamble.data(), 6));
    EXPECT_FALSE(putq(nullptr, 6));
    EXPECT_TRUE(SendQueueEmpty());
    Bytes slot(kSendSlotSize, 0x00);
    slot[0] = slot[1] = 0xFE;
    slot.back() = 0xFD;
    EXPECT_TRUE(putq(slot.data(), int(slot.size())));
    EXPECT_EQ(link.traced("putq refused frame"), 6);
    Advance(50);
    EXPECT_EQ(link.written(), slot);
}

TEST(SendQueue, RawModeFilter) {
    RadioLink link;
    g_rawmode = 1;
    auto passes = [](const Bytes& f) { return PassesSendFilter(f.data(), int(f.size())); };
    EXPECT_TRUE(passes(Frame({0x03})));
    EXPECT_TRUE(passes(Frame({0x04})));
    EXPECT_FALSE(passes(Frame({0x14, 0x01, 0x01, 0x28})));
    EXPECT_TRUE(passes(Frame({0x1A, 0x06, 0x01, 0x01})));
    EXPECT_FALSE(passes(Frame({0x1A, 0x05, 0x00, 0x22})));
    EXPECT_TRUE(passes(Frame({0x80})));
    EXPECT_TRUE(passes(Frame({0x15, 0x02})));
    g_meterreplies = 25;
    EXPECT_FALSE(passes(Frame({0x15, 0x02})));

    Put(Frame({0x14, 0x01, 0x01, 0x28}));
    EXPECT_EQ(link.traced("suppressed"), 1);
    EXPECT_TRUE(SendQueueEmpty());
}

TEST(SendQueue, OldRadioFilter) {
    g_oldradio = 1;
    auto passes = [](const Bytes& f) { return PassesSendFilter(f.data(), int(f.size())); };
    EXPECT_TRUE(passes(Frame({0x07, 0x00})));
    EXPECT_FALSE(passes(Frame({0x14, 0x01, 0x00, 0x10})));
    EXPECT_FALSE(passes(Frame({0x1A, 0x05, 0x00, 0x22})));
    g_oldradio = 0;
    EXPECT_TRUE(passes(Frame({0x14, 0x01, 0x00, 0x10})));
}

TEST(SendQueue, NoPortMeansCommNotReady) {
    RadioLink link(false);
    std::snprintf(g_comport, sizeof g_comport, "COM0");
    OpenRadioPort();
    EXPECT_EQ(link.traced("COM0 exit"), 1);
    EXPECT_TRUE(link.win.HasTimer(TIMER_DEVICE_POLL));
    Put(Frame({0x03}));
    EXPECT_EQ(link.traced("comm not ready"), 1);
    EXPECT_TRUE(SendQueueEmpty());
}

TEST(SendQueue, MissingPortShowsOneBoxAndStillPolls) {
    RadioLink link(false);
    plat::message_box_script::Clear();
    std::snprintf(g_comport, sizeof g_comport, "COM9");
    OpenRadioPort();
    OpenRadioPort();
    EXPECT_EQ(g_radioport, plat::kInvalidPort);
    EXPECT_TRUE(link.win.HasTimer(TIMER_DEVICE_POLL));
    ASSERT_EQ(plat::message_box_script::History().size(), 1u);
    EXPECT_EQ(plat::message_box_script::History()[0].text, "Error accessing Primary COM9.  It does not exist.\r\n");
}

TEST(SendQueue, RemoteLinkRouting) {
    RadioLink link;
    g_client = 1;
    g_linkstate = 2;
    Put(Frame({0x03}));
    EXPECT_EQ(link.traced("Send to Qarv FE FE 94 E0 03 FD"), 1);
    g_linkstate = 3;
    g_remotelogon = 1;
    Put(Frame({0x04}));  // to the server, not the ring
    EXPECT_TRUE(SendQueueEmpty());
    g_client = 0;
    g_radioserver = 1;
    Put(Frame({0x03}));  // a logged-on client drives the radio
    EXPECT_TRUE(SendQueueEmpty());
    EXPECT_EQ(link.traced("Send to Qarv"), 2);
    const Bytes fromClient = Frame({0x03});
    sendtoradioactual(fromClient.data(), int(fromClient.size()));
    EXPECT_EQ(g_qdepth, 1);
}

TEST(SendQueue, WriteErrorKeepsTheFrame) {
    RadioLink link;
    Put(Frame({0x03}));
    link.pty.closeMaster();
    Advance(0);
    EXPECT_EQ(g_qdepth, 1);
    EXPECT_EQ(link.traced("WriteFile error"), 1);
    EXPECT_TRUE(link.win.HasTimer(TIMER_SENDQ));  // retried on the next tick
}

// Keyed while a first contact's set-up fills the ring, the release at close
// must reach the radio next, not after every waiting frame.
TEST(SendQueue, TheTransmitOffOvertakesEveryWaitingFrame) {
    RadioLink link;
    const Bytes a = Frame({0x03}), b = Frame({0x04}), c = Frame({0x05});
    Put(a);
    Advance(0);
    EXPECT_EQ(link.written(), a);
    Put(b);
    Put(c);
    Put(Frame({0x1C, 0x00, 0x00}));
    PromoteNewestFrame();
    Advance(50);
    EXPECT_EQ(link.written(), Frame({0x1C, 0x00, 0x00}));
    Advance(50);
    EXPECT_EQ(link.written(), b);
    Advance(50);
    EXPECT_EQ(link.written(), c);
    EXPECT_TRUE(SendQueueEmpty());
}
