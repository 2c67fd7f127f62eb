// Serial amplifiers: segment and frequency encodings, the readers against
// noise, and the five amplifiers following the simulated radio.
#include "devices/amplifiers.h"

#include <cstring>

#include "app/app.h"
#include "base/settings_options.h"
#include "civ/civ_options.h"
#include "civ/radio_models.h"
#include "devices/remote_link.h"
#include "devices/station_fixture.h"
#include "sim/sim_radio.h"

using sim::Bytes;

TEST(AmplifierCodes, AcomSegmentsAtTheBandEdges) {
    EXPECT_EQ(GetAcomSegment(1.800), 2);
    EXPECT_EQ(GetAcomSegment(14.200), 165);
    EXPECT_EQ(GetAcomSegment(29.900), 0);
    EXPECT_EQ(GetAcomSegment(1.799), 0);
    EXPECT_EQ(GetAcomSegment(2.150), 16);
}

TEST(AmplifierCodes, AlphaKilohertzAreRoundedNotTruncated) {
    EXPECT_EQ(A87Khz(2.002), 2002);
    EXPECT_EQ(A87Khz(14.074), 14074);
    EXPECT_EQ(A87Khz(7.0999999), 7100);
}

TEST(AmplifierCodes, Pw1ModeBytes) {
    EXPECT_EQ(Pw1ModeByte('1'), 0x00);
    EXPECT_EQ(Pw1ModeByte('0'), 0x01);
    EXPECT_EQ(Pw1ModeByte('4'), 0x02);
    EXPECT_EQ(Pw1ModeByte('3'), 0x03);
    EXPECT_EQ(Pw1ModeByte('5'), 0x05);
    EXPECT_EQ(Pw1ModeByte(0x17), 0x05);
    EXPECT_EQ(Pw1ModeByte('2'), 0x07);
    EXPECT_EQ(Pw1ModeByte('7'), 0x08);
}

class AmplifierPorts : public StationTest {};

TEST_F(AmplifierPorts, AlphaReplyIsShownAfterNoiseAndSplitReads) {
    SettledDevice amp;
    std::strcpy(g_alpha87acomport, amp.slavePath().c_str());
    g_a87port = OpenA87Port();
    ASSERT_NE(g_a87port, plat::kInvalidPort);
    EXPECT_EQ(amp.portBaud(), 4800);
    // A long burst without any CR must not leave the port deaf.
    amp.send(Bytes(300, 'x'));
    RunPolling([] { ReadA87Port(); }, 100);
    amp.send("PWR 12");
    RunPolling([] { ReadA87Port(); }, 50);
    EXPECT_STREQ(g_amplifiertext, "");
    amp.send("34\rPWR 7\rPW");
    EXPECT_TRUE(RunUntil([] {
        ReadA87Port();
        return std::strcmp(g_amplifiertext, "7") == 0;
    }));
    EXPECT_TRUE(Traced("From A87count"));
}

TEST_F(AmplifierPorts, AlphaReplyInOneReadLeavesNoCarry) {
    std::uint8_t line[] = "PWR 1234\r";
    EXPECT_EQ(ParseA87(line, 9), 0);
    EXPECT_STREQ(g_amplifiertext, "1234");
}

TEST_F(AmplifierPorts, Pw1RequestsAreAnsweredAndNoiseIsSkipped) {
    SettledDevice amp;
    std::strcpy(g_pw1comport, amp.slavePath().c_str());
    g_pw1port = OpenPw1Port();
    ASSERT_NE(g_pw1port, plat::kInvalidPort);
    g_myaddr = 0xE0;
    g_vfoafreq = 7.1;
    g_vfoamode = '3';
    // Noise, a frame for someone else, half a request, then the rest and a
    // mode request.
    amp.send(Bytes{0x00, 0xFE, 0x13, 0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD, 0xFE, 0xFE, 0xE0});
    RunPolling([] { ReadPW1Port(); }, 50);
    amp.send(Bytes{0x54, 0x03, 0xFD, 0xFE, 0xFE, 0xE0, 0x54, 0x04, 0xFD});
    const Bytes freq{0xFE, 0xFE, 0x54, 0xE0, 0x03, 0x00, 0x00, 0x10, 0x07, 0x00, 0xFD};
    const Bytes mode{0xFE, 0xFE, 0x54, 0xE0, 0x04, 0x03, 0x01, 0xFD};
    EXPECT_TRUE(RunUntil([&] {
        ReadPW1Port();
        return sim::Find(amp.received(), mode) >= 0;
    }));
    EXPECT_GE(sim::Find(amp.received(), freq), 0);
    EXPECT_TRUE(Traced("Good PW1 Message"));
    EXPECT_TRUE(Traced("Send to PW1 FE FE 54 E0 03 "));
}

TEST_F(AmplifierPorts, Om4EchoIsRecognisedAndACarryOfNoiseIsDropped) {
    g_myaddr = 0xE0;
    std::uint8_t buf[100];
    std::memset(buf, 0xFE, 90);
    // A full buffer of preambles keeps at most a frame start.
    EXPECT_LE(ParseOM4(buf, 90), 2);
    const std::uint8_t echo[] = {0xFE, 0xFE, 0xE0, 0xE0, 0x00, 1, 2, 3, 4, 0, 0xFD};
    std::memcpy(buf, echo, sizeof echo);
    EXPECT_EQ(ParseOM4(buf, int(sizeof echo)), 0);
    EXPECT_TRUE(Traced("OM4 Echoback"));
}

// The program against the simulated radio with all five amplifiers.
TEST(AmplifiersFollowTheRadio, BandChangeReachesEveryAmplifier) {
    TestDir dir;
    SettledRadio radio(0x94, 19200);
    ASSERT_TRUE(radio.link(dir.file("ports/com1")));
    radio.start();
    SettledDevice acom, alpha(sim::Alpha87Responder(1234)), palstar, pw1, om4;
    ASSERT_TRUE(acom.link(dir.file("ports/com2")));
    ASSERT_TRUE(alpha.link(dir.file("ports/com3")));
    ASSERT_TRUE(palstar.link(dir.file("ports/com4")));
    ASSERT_TRUE(pw1.link(dir.file("ports/com5")));
    ASSERT_TRUE(om4.link(dir.file("ports/com6")));
    dir.write("qarv.ini",
              "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nACOM COMPORT=COM2\nALPHA 87A COMPORT=COM3\n"
              "PALSTAR COMPORT=COM4\nPW1 COMPORT=COM5\nOM4 COMPORT=COM6\n[OPERATING STATUS]\nQARV=23\n");
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    // The amplifiers hear the program's frequency; then the radio's operator
    // turns to 7.1 MHz and the radio reports it.
    EXPECT_TRUE(RunUntil([&] { return alpha.text().find("FREQ 14025\r") != std::string::npos; }, 3000));
    radio.setFrequency(7100000, 0);
    for (int i = 0; i < 20 && !(g_vfoafreq > 7.09 && g_vfoafreq < 7.11); ++i) {
        radio.sendTransceiveFrequency();
        RunFor(200);
    }
    ASSERT_NEAR(g_vfoafreq, 7.1, 1e-6);
    EXPECT_TRUE(RunUntil([&] { return alpha.text().find("FREQ 7100\r") != std::string::npos; }, 3000));
    RunFor(2500);
    // Acom: segment 94 (5E), 'E' sent as '>'; then the read-back command.
    EXPECT_GE(sim::Find(acom.received(), Bytes{'A', 'q', 'W', '2', '5', '>', '\r'}), 0);
    EXPECT_GE(sim::Find(acom.received(), Bytes{'A', 'q', 'F', '\r'}), 0);
    EXPECT_NE(alpha.text().find("PWR\r"), std::string::npos);
    EXPECT_STREQ(g_amplifiertext, "1234");
    EXPECT_NE(palstar.text().find("FA00007100000;"), std::string::npos);
    EXPECT_NE(palstar.text().find("IF00007100000"), std::string::npos);
    const Bytes bcd{0x00, 0x00, 0x10, 0x07, 0x00, 0xFD};
    Bytes pw1Freq{0xFE, 0xFE, 0x54, 0xE0, 0x03};
    pw1Freq.insert(pw1Freq.end(), bcd.begin(), bcd.end());
    Bytes om4Freq{0xFE, 0xFE, 0xE0, 0xE0, 0x00};
    om4Freq.insert(om4Freq.end(), bcd.begin(), bcd.end());
    EXPECT_GE(sim::Find(pw1.received(), pw1Freq), 0);
    EXPECT_GE(sim::Find(om4.received(), om4Freq), 0);
    EXPECT_GE(sim::Find(pw1.received(), Bytes{0xFE, 0xFE, 0x54, 0xE0, 0x04}), 0);
    app.ExitInstance();
    radio.stop();
}
