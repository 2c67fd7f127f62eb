// Rotators: the "AP1" commands, the text protocol's replies against noise,
// and a rotor turned from a bearing with the program running.
#include "devices/rotator.h"

#include <cstring>

#include "app/app.h"
#include "base/device_options.h"
#include "base/settings_options.h"
#include "devices/station_fixture.h"
#include "sim/sim_radio.h"

using sim::Bytes;

namespace {
class Rotor : public StationTest {
protected:
    void Open(sim::SimDevice& dev) {
        std::strcpy(g_rotorcomport, dev.slavePath().c_str());
        g_rotorport = OpenRotorPort(g_m2rotor ? 9600 : 4800);
        ASSERT_NE(g_rotorport, plat::kInvalidPort);
    }
    int Parse(const std::string& s) {
        std::uint8_t buf[200];
        std::memcpy(buf, s.data(), s.size());
        return ParseRotor(buf, int(s.size()));
    }
};
}  // namespace

TEST_F(Rotor, Ap1BearingIsSentAsThreeCommands) {
    SettledDevice rotor;
    Open(rotor);
    ASSERT_TRUE(SetRotorBearing(45));
    StartRotor();
    EXPECT_TRUE(rotor.waitFor("AP1045;;AM1;"));
    StopRotor();
    EXPECT_TRUE(rotor.waitFor("AM1;;"));
    EXPECT_TRUE(Traced("Rotor started"));
}

TEST_F(Rotor, BearingsAboveThreeSixtyAreRefused) {
    EXPECT_TRUE(SetRotorBearing(360));
    EXPECT_STREQ(g_rotorbearing, "360");
    EXPECT_FALSE(SetRotorBearing(361));
    EXPECT_FALSE(SetRotorBearing(12345));
    EXPECT_FALSE(SetRotorBearing(-1));
    EXPECT_STREQ(g_rotorbearing, "360");
}

TEST_F(Rotor, TextRepliesGiveBearingAndMovingState) {
    g_m2rotor = 1;
    EXPECT_EQ(Parse("A=123.4 M\r"), 0);
    EXPECT_STREQ(g_rotorshown, "123");
    EXPECT_EQ(g_rotormoving, 1);
    EXPECT_EQ(Parse("P=  7.\r"), 0);
    EXPECT_STREQ(g_rotorshown, "007");
    EXPECT_EQ(g_rotormoving, 0);
    // Half a line waits; two lines in one read are both taken.
    EXPECT_EQ(Parse("A=2"), 3);
    EXPECT_EQ(Parse("A=200.0\rA=201.0 M\rA="), 2);
    EXPECT_STREQ(g_rotorshown, "201");
    EXPECT_TRUE(Traced("received 3 rotor bearing 201, change 1"));
}

TEST_F(Rotor, Ap1RecordsResyncAfterNoise) {
    g_m2rotor = 0;
    EXPECT_EQ(Parse("xx;090"), 0);
    EXPECT_STREQ(g_rotorshown, "090");
    EXPECT_EQ(Parse("180;"), 0);
    EXPECT_STREQ(g_rotorshown, "180");
    EXPECT_EQ(Parse(";27"), 3);
}

TEST_F(Rotor, NoiseWithoutLineEndsNeverDeafensThePort) {
    SettledDevice rotor;
    g_m2rotor = 1;
    Open(rotor);
    rotor.send(std::string(500, 'z'));
    RunPolling([] { ReadRotorPort(); }, 100);
    rotor.send("A=321.0\r");
    EXPECT_TRUE(RunUntil([] {
        ReadRotorPort();
        return std::strcmp(g_rotorshown, "321") == 0;
    }));
    // The first bearing heard is answered.
    EXPECT_TRUE(rotor.waitFor("U\r"));
}

// The program with a text-protocol rotor: a bearing turns it, and its reply
// is shown.
TEST(RotorWithTheProgram, TurnedFromABearingAndItsReplyShown) {
    TestDir dir;
    SettledRadio radio(0x94, 19200);
    ASSERT_TRUE(radio.link(dir.file("ports/com1")));
    radio.start();
    SettledDevice rotor(sim::TextRotorResponder());
    ASSERT_TRUE(rotor.link(dir.file("ports/com2")));
    dir.write("qarv.ini",
              "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nROTOR COMPORT=COM2\n[OPERATING STATUS]\nQARV=23\n"
              "M2 ROTOR=1\n");
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    ASSERT_NE(g_rotorport, plat::kInvalidPort);
    EXPECT_EQ(rotor.portBaud(), 9600);
    ASSERT_TRUE(SetRotorBearing(270));
    StartRotor();
    EXPECT_TRUE(rotor.waitFor("270\r"));
    EXPECT_TRUE(RunUntil([] { return std::strcmp(g_rotorshown, "270") == 0; }, 3000));
    // The one-second poll asks for the bearing (every fifth second when still).
    EXPECT_TRUE(RunUntil([&] { return rotor.text().find("A\r") != std::string::npos; }, 6000));
    app.ExitInstance();
    radio.stop();
}
