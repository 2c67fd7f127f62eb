// The Perseus link on CAT-out port 1: our frequency and mode go out as CI-V
// style frames, the receiver's frequency reports tune us, and broken input
// (echoes, bad lengths, an endless frame) is dropped with the link resyncing.
#include "civ/radio_models.h"
#include "devices/cat_fixture.h"

using plat::manual_clock::Advance;

namespace {

struct PerseusPort : CatRadio {
    PerseusPort() {
        g_perseuspan = 1;
        g_thppoll = 0;
    }
    Bytes Frames() { return catEnd.take(); }
    void Receiver(const Bytes& b) {
        EXPECT_TRUE(catEnd.give(b));
        Poll();
    }
};

bool Contains(const Bytes& hay, const Bytes& needle) {
    return std::search(hay.begin(), hay.end(), needle.begin(), needle.end()) != hay.end();
}

const Bytes kReport14074 = {0xFE, 0xFE, 0xE0, 0xE1, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD};

}  // namespace

TEST(PerseusLink, VfoAAndModeGoOutAsFramesAndNoCatText) {
    PerseusPort c;
    g_tvoffset = 0;
    c.Poll();
    Bytes out = c.Frames();
    EXPECT_TRUE(Contains(out, {0xFE, 0xFE, 0xE1, 0xE0, 0x05, 0x00, 0x50, 0x02, 0x14, 0x00, 0xFD}));
    EXPECT_TRUE(Contains(out, {0xFE, 0xFE, 0xE1, 0xE0, 0x06, 0x01, 0xFD}));
    EXPECT_FALSE(Contains(out, {'F', 'A'}));
    EXPECT_EQ(g_tuning, 1);  // our own change comes back from the receiver
}

TEST(PerseusLink, ReceiverReportTunesVfoAAfterTheHoldOff) {
    PerseusPort c;
    c.Poll();
    c.Frames();
    c.Receiver(kReport14074);
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.025);  // held off: the receiver echoes our change
    EXPECT_EQ(c.traced("Throw away freq because tuning"), 1);
    Advance(600);
    c.Receiver(kReport14074);
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);
    EXPECT_EQ(c.traced("Receive A X1"), 1);
}

TEST(PerseusLink, ReportSplitAcrossReadsAndAfterGarbageIsTaken) {
    PerseusPort c;
    c.Poll();
    Advance(600);
    c.Receiver({0x00, 0x13, 0xFE, 0x55, 0xFE, 0xFE, 0xE0, 0xE1, 0x03, 0x00});
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.025);
    c.Receiver({0x40, 0x07, 0x14, 0x00, 0xFD});
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);
}

TEST(PerseusLink, EchoesBadLengthsAndEndlessFramesAreDropped) {
    PerseusPort c;
    c.Poll();
    Advance(600);
    // Our own frame echoed back, and a report one byte short.
    c.Receiver({0xFE, 0xFE, 0xE1, 0xE0, 0x05, 0x00, 0x00, 0x00, 0x07, 0x00, 0xFD});
    c.Receiver({0xFE, 0xFE, 0xE0, 0xE1, 0x03, 0x00, 0x00, 0x07, 0x00, 0xFD});
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.025);
    EXPECT_EQ(c.traced("Throw away bad length"), 1);
    // A frame start with no end: longer than the carry holds, it is given up
    // and the next good report is taken.
    Bytes endless = {0xFE, 0xFE, 0xE0, 0xE1, 0x03};
    endless.resize(300, 0x11);
    c.Receiver(endless);
    c.Receiver(kReport14074);
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);
}

TEST(PerseusLink, FilterFrameCarriesTheWidthClassAndEdges) {
    PerseusPort c;
    g_radiotype = 23;
    g_rxfilter = 1;  // 3.6 kHz
    g_vfoamode = '0';
    PerseusFilterCode();
    Bytes out = c.Frames();
    EXPECT_TRUE(Contains(out, {0xFE, 0xFE, 0xE1, 0xE0, 0x70, 0x04, 0x03, 0x00, 0x02, 0x00, 0xAA, 0x00, 0x38, 0x00,
                               0xFD}));
    PerseusFilterCode();  // unchanged: nothing
    EXPECT_TRUE(c.Frames().empty());
}
