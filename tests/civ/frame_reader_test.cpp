#include <gtest/gtest.h>

#include "civ/link_fixture.h"
#include "civ/radio_init.h"
#include "civ/radio_search.h"
#include "devices/remote_link.h"
#include "platform/message_box.h"

using plat::manual_clock::Advance;

namespace {
// A reply from the radio to the controller.
Bytes Reply(std::initializer_list<std::uint8_t> body) { return Frame(body, 0xE0, 0x94); }
const Bytes kFreqReply = Reply({0x03, 0x00, 0x40, 0x07, 0x14, 0x00});

void Process(const Bytes& b) { ProcessRadioBytes(b.data(), int(b.size())); }
int Routed(RadioLink& link) { return link.traced("Good Message 3"); }
}  // namespace

TEST(FrameReader, SplitReadsAreJoined) {
    RadioLink link;
    const Bytes ok = Reply({0xFB});
    const Bytes all = kFreqReply + ok + kFreqReply;
    const std::size_t cut = kFreqReply.size() + ok.size() + 5;
    Process(Bytes(all.begin(), all.begin() + long(cut)));
    EXPECT_EQ(Routed(link), 2);
    EXPECT_EQ(g_rxcarrylen, 5);
    Process(Bytes(all.begin() + long(cut), all.end()));
    EXPECT_EQ(Routed(link), 3);
    EXPECT_EQ(g_rxcarrylen, 0);
    EXPECT_EQ(g_inreader, 0);
}

TEST(FrameReader, EverySplitGivesTheSameFrames) {
    RadioLink link;
    const Bytes stream = kFreqReply + Bytes{0x00, 0xFC, 0xFC} + Reply({0xFB}) + Frame({0x03}) + Reply({0x04, 0x01, 0x02});
    int expected = 0;
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        Process(Bytes(stream.begin(), stream.begin() + long(cut)));
        Process(Bytes(stream.begin() + long(cut), stream.end()));
        expected += 3;
        ASSERT_EQ(Routed(link), expected) << cut;
        ASSERT_EQ(g_rxcarrylen, 0) << cut;
    }
}

TEST(FrameReader, GarbageAndCollisionBurstsAreSkipped) {
    RadioLink link;
    // Noise, collision jam codes, a preamble to a stranger, a lone FE.
    const Bytes noise{0x00, 0x13, 0xFC, 0xFC, 0xFC, 0xFD, 0xFE, 0xFE, 0x70, 0x42, 0x03, 0xFD, 0xFE, 0x55};
    Process(noise + kFreqReply + noise + Reply({0xFB}) + noise);
    EXPECT_EQ(Routed(link), 2);
    EXPECT_EQ(link.traced("Good Message\r"), 2);
}

TEST(FrameReader, LostEndOfFrame) {
    RadioLink link;
    Bytes broken(kFreqReply.begin(), kFreqReply.end() - 1);  // FD lost
    Process(broken + Reply({0xFB}) + Reply({0x04, 0x01, 0x02}));
    // The broken frame runs to the next FD; the one after it is intact.
    EXPECT_EQ(Routed(link), 2);
    EXPECT_EQ(g_rxcarrylen, 0);

    // A start of frame that never ends is dropped past 400 bytes.
    Bytes opened{0xFE, 0xFE, 0xE0, 0x94, 0x03};
    Process(opened + Bytes(300, 0x11));
    EXPECT_EQ(g_rxcarrylen, 305);
    Process(Bytes(150, 0x11));
    EXPECT_EQ(g_rxcarrylen, 0);
    Process(kFreqReply);
    EXPECT_EQ(Routed(link), 3);
}

TEST(FrameReader, ResetDropsTheCarry) {
    RadioLink link;
    Process(Bytes{0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00});
    EXPECT_EQ(g_rxcarrylen, 6);
    g_rxreset = 1;
    Process(Bytes{0xFD});
    EXPECT_EQ(g_rxreset, 0);
    EXPECT_EQ(g_rxcarrylen, 1);
    EXPECT_EQ(Routed(link), 0);
}

TEST(FrameReader, LongReadsAreTakenInPieces) {
    RadioLink link;
    Bytes many;
    for (int k = 0; k < 150; ++k) many = many + kFreqReply;  // 1650 bytes
    Process(many);
    EXPECT_EQ(Routed(link), 150);
    EXPECT_EQ(g_rxcarrylen, 0);
}

TEST(FrameReader, AcknowledgementSendsTheNextFrameAtOnce) {
    RadioLink link;
    Put(Frame({0x03}));
    Put(Frame({0x04}));
    Advance(0);
    EXPECT_EQ(link.written(), Frame({0x03}));
    link.feed(Reply({0xFB}), 1);  // well before the next tick
    EXPECT_EQ(link.written(), Frame({0x04}));
    EXPECT_TRUE(SendQueueEmpty());
}

TEST(FrameReader, RadioHeardOnlyFromTheRadio) {
    RadioLink link;
    g_radioheard = 0;
    Process(Frame({0x03}));  // the program's own echo
    EXPECT_EQ(g_radioheard, 0);
    Process(Frame({0x00, 0x00, 0x40, 0x07, 0x14, 0x00}, 0x00, 0x94));  // transceive broadcast
    EXPECT_EQ(g_radioheard, 1);
    EXPECT_EQ(Routed(link), 1);
}

TEST(FrameReader, BroadcastFrequencyFromTheControllerIsAnEcho) {
    RadioLink link;
    g_sendpaced = 0;
    const Bytes broadcast = Frame({0x00, 0x00, 0x40, 0x07, 0x14, 0x00}, 0x00, 0xE0);
    Put(broadcast);
    link.feed(broadcast, 1);
    EXPECT_TRUE(SendQueueEmpty());
    EXPECT_EQ(Routed(link), 0);
}

TEST(FrameReader, ServerForwardsRepliesToItsClient) {
    RadioLink link;
    g_radioserver = 1;
    g_linkstate = 3;
    // Connected but not logged on: the radio's frames stay here.
    Process(kFreqReply);
    EXPECT_EQ(link.traced("received message size"), 0);
    g_remotelogon = 1;
    Process(Reply({0xFB}) + Reply({0xFA}) + kFreqReply);
    EXPECT_EQ(link.traced("received message size 6, command fb"), 1);
    EXPECT_EQ(link.traced("received message size 6, command fa"), 1);
    EXPECT_EQ(link.traced("received message size 11, command 03"), 1);
}

TEST(FrameReader, BaudSearchAcceptsOnlyFramesToTheController) {
    RadioLink link;
    g_autobaud = 1;
    Process(Frame({0x19, 0x00, 0x94}, 0xE2, 0x94));  // the radio answering another controller
    EXPECT_EQ(link.traced("Good Message"), 0);
    Process(Reply({0x19, 0x00, 0x94}));
    EXPECT_EQ(link.traced("Good Message 4"), 1);
}

TEST(FrameReader, AmplifierRuleInRawMode) {
    RadioLink link;
    g_sendpaced = 0;
    g_pw1 = 1;
    g_rawmode = 1;
    const Bytes amp{0xFE, 0xFE, 0x54, 0xE0, 0x05, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD};
    Process(amp);
    EXPECT_EQ(Routed(link), 0);  // an echo, never a reply
    EXPECT_EQ(link.traced("echoback depth"), 1);
}

TEST(FrameReader, DeadPortIsReportedOnce) {
    RadioLink link;
    plat::message_box_script::Clear();
    link.pty.closeMaster();
    for (int k = 0; k < 5; ++k) Advance(10);
    EXPECT_EQ(g_radioport, plat::kInvalidPort);
    ASSERT_EQ(plat::message_box_script::History().size(), 1u);
    EXPECT_NE(plat::message_box_script::History()[0].text.find(" is defective"), std::string::npos);
    EXPECT_TRUE(link.win.HasTimer(TIMER_DEVICE_POLL));  // the accessories are still polled
}
