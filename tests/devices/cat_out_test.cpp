// CAT-out ports over pseudo-terminals: the answers a logging program gets,
// sets that reach the simulated radio, the follower's unasked pushes, bad
// input that must not deafen a port, and a lost port that keyed the radio.
#include <algorithm>

#include "base/device_options.h"
#include "civ/band_table.h"
#include "civ/frequency_options.h"
#include "devices/cat_fixture.h"
#include "platform/message_box.h"

using plat::manual_clock::Advance;

TEST(CatOut, StatusAnswerIsExactly38Bytes) {
    CatPort c;
    g_split = 1;
    g_vfoamode = '3';
    c.Poll();
    c.Answers();
    c.Client("IF;");
    const std::string a = c.Answers();
    ASSERT_EQ(a.size(), 38u);
    EXPECT_EQ(a, "IF00014025000     +000000 0003001001 ;");
}

TEST(CatOut, QueriesGetTheEmulatedRadiosAnswers) {
    CatPort c;
    g_bfo = 650;
    g_transmitting = 1;
    c.Client("FA;FB;MD;ID;TQ;PS;CW;BG;FT;FR;AI;");
    EXPECT_EQ(c.Answers(), "FA00014025000;FB00014025000;MD2;ID017;TQ1;PS1;CW65;BG00;FT0;FR0;AI0;");
}

TEST(CatOut, CommandSplitOverTwoReadsIsAnsweredOnceAfterTheSecond) {
    CatPort c;
    c.Client("F");
    EXPECT_EQ(c.Answers(), "");
    c.Client("A;");
    EXPECT_EQ(c.Answers(), "FA00014025000;");
    c.Poll();
    EXPECT_EQ(c.Answers(), "");
}

TEST(CatOut, GarbageAndOverlongLinesAreDroppedAndThePortStillAnswers) {
    CatPort c;
    std::string junk(300, 'x');
    junk[17] = '\0';
    junk[40] = '\xFE';
    c.Client(junk);  // no ';' at all: more than any command, dropped
    c.Client(std::string(150, 'Q') + ";" + std::string(90, '\x01') + ";");
    EXPECT_EQ(c.Answers(), "");
    c.Client("ID;");
    EXPECT_EQ(c.Answers(), "ID017;");
    // A set with the wrong number of digits changes nothing.
    c.Client("FA1407400;FA000140740000000;MDx;PC12;");
    EXPECT_EQ(c.Answers(), "");
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.025);
}

TEST(CatOut, TransmitAndSplitSetsAreNotEchoed) {
    CatPort c;
    c.Client("TX;");
    c.Client("RX;");
    c.Client("FR0;FT1;");
    c.Client("AI0;");
    // Only the stored AI level is repeated back.
    EXPECT_EQ(c.Answers(), "AI0;");
}

TEST(CatOut, PowerAnswerStaysThreeDigitsForAnyDriveFactor) {
    CatPort c;
    g_power = 100;
    g_ampdrivefactor = 0;  // the settings window lets this through
    c.Client("PC;");
    EXPECT_EQ(c.Answers(), "PC100;");
    g_ampdrivefactor = 3;
    c.Client("PC;");
    EXPECT_EQ(c.Answers(), "PC100;");
    g_ampdrivefactor = 100;
    g_power = 50;
    c.Client("PC;");
    EXPECT_EQ(c.Answers(), "PC050;");
    g_ampdrivefactor = 80;
    c.Client("PC050;");
    EXPECT_EQ(g_power, 40);
    EXPECT_EQ(g_experton, 1);
}

TEST(CatOut, FollowerPushesChangesToEveryPortButTheQuietOne) {
    PtyPair second;
    realwait::PortEnd secondEnd(second);
    std::snprintf(g_thpxcomport[0], sizeof g_thpxcomport[0], "%s", second.slavePath().c_str());
    g_nothpautoinfo = 2;
    CatPort c;  // opens both ports
    ASSERT_TRUE(g_thpopen[1]);
    secondEnd.take();
    g_vfoafreq = 14.2;
    g_vfoamode = '1';
    c.Poll();
    EXPECT_EQ(c.Answers(), "FA00014200000;MD1;");
    EXPECT_EQ(secondEnd.takeText(), "");
    // Port 2 still gets the answers to its own queries.
    EXPECT_TRUE(secondEnd.give("FA;"));
    c.Poll();
    EXPECT_EQ(secondEnd.takeText(), "FA00014200000;");
    EXPECT_EQ(c.Answers(), "");
}

TEST(CatOut, InSplitAPollingClientIsToldVfoBAsFA) {
    CatPort c;
    g_split = 1;
    g_thppoll = 1;
    g_vfobfreq = 14.03;
    c.Poll();
    EXPECT_EQ(c.Answers(), "FA00014030000;");
    // VFO A is not pushed to it meanwhile: its "FA" is VFO B now.
    g_vfoafreq = 14.2;
    c.Poll();
    EXPECT_EQ(c.Answers(), "");
}

TEST(CatOut, NothingIsReadOrWrittenWhilePortOneIsClosed) {
    PtyPair second;
    realwait::PortEnd secondEnd(second);
    std::snprintf(g_thpxcomport[0], sizeof g_thpxcomport[0], "%s", second.slavePath().c_str());
    std::snprintf(g_thpcomport, sizeof g_thpcomport, "NONE");
    g_thp = 1;
    OpenThpPorts();
    EXPECT_FALSE(g_thpopen[0]);
    EXPECT_EQ(SendToTHP(reinterpret_cast<const std::uint8_t*>("ID;"), 3), -1);
    // The query is there to be read, and still nothing is read or answered.
    EXPECT_TRUE(secondEnd.give("ID;"));
    ReadTHPPort(2);
    FollowFrequency();
    EXPECT_EQ(secondEnd.written(), 0u);
    EXPECT_EQ(plat::SerialTraffic(second.slavePath()).pending, 3u);
    CloseThpPorts();
}

TEST(CatOut, LostPortThatKeyedTheTransmitterReleasesIt) {
    CatPort c;
    c.Client("TX;");
    c.cat.closeMaster();
    c.Poll();
    EXPECT_EQ(g_thpport[0], plat::kInvalidPort);
    EXPECT_EQ(c.traced("THP port 1 lost while keyed"), 1);
    // One box for the port, then the rest of the program carries on.
    EXPECT_EQ(plat::message_box_script::History().size(), 1u);
    c.Poll();
}

TEST(CatOut, ReopenedOrClosedPortThatKeyedReleasesIt) {
    CatPort c;
    c.Client("TX;");
    OpenThpPorts();  // the settings window reopens the ports
    EXPECT_EQ(c.traced("THP port 1 lost while keyed"), 1);
    c.Client("TX;");
    CloseThpPorts();
    EXPECT_EQ(c.traced("THP port 1 lost while keyed"), 2);
}

TEST(CatOut, PortThatUnkeyedBeforeItWasLostReleasesNothing) {
    CatPort c;
    c.Client("TX;RX;");
    c.Client("TX;");
    c.Client("RX;");
    c.cat.closeMaster();
    c.Poll();
    EXPECT_EQ(c.traced("lost while keyed"), 0);
}

TEST(CatOut, TestModeThreeDiscardsInputAndOutput) {
    CatPort c;
    g_test = 3;
    c.Client("ID;FA00014100000;");
    EXPECT_EQ(c.Answers(), "");
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.025);
}

// ---- Sets that reach the simulated radio ------------------------------------

TEST(CatOutRadio, FrequencySetTunesTheRadioAndIsFollowedBack) {
    CatRadio c;
    c.panel.step = 100;
    c.Poll();
    c.Answers();
    c.Client("FA00014074000;");
    c.Drain();
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);
    EXPECT_TRUE(c.RadioAt(14074000));
    EXPECT_EQ(c.Answers(), "FA00014074000;");
    // On the step already: no send-back after the hold.
    Advance(1500);
    EXPECT_EQ(c.Answers(), "");
}

TEST(CatOutRadio, OffStepFrequencyIsRoundedAndSentBackAfterTheHold) {
    CatRadio c;
    c.panel.step = 100;
    c.Poll();
    c.Answers();
    c.Client("FA00014074049;");
    c.Drain();
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);
    EXPECT_TRUE(c.RadioAt(14074000));
    EXPECT_EQ(c.traced("round need send back"), 1);
    EXPECT_EQ(c.Answers(), "FA00014074000;");  // the follower's push
    // While the send-back waits, a client insisting on its value is told ours.
    c.Client("FA00014074049;");
    EXPECT_EQ(c.Answers(), "FA00014074000;");
    Advance(1400);
    EXPECT_EQ(c.Answers(), "");
    c.Client("FA00014074149;");
    c.Drain();
    EXPECT_TRUE(c.RadioAt(14074100));
    EXPECT_EQ(c.Answers(), "FA00014074100;");
    Advance(1400);
    EXPECT_EQ(c.Answers(), "FA00014074100;");
}

TEST(CatOutRadio, VfoBSetReachesThePanel) {
    CatRadio c;
    c.Client("FB00007100000;");
    EXPECT_DOUBLE_EQ(g_vfobfreq, 7.1);
    EXPECT_DOUBLE_EQ(c.panel.vfoBFreq, 7.1);
}

TEST(CatOutRadio, ModeAnswerFollowsTheProgramsMode) {
    CatRadio c;
    const std::pair<char, const char*> rows[] = {{'0', "MD2;"}, {'1', "MD1;"}, {'3', "MD3;"}, {'2', "MD7;"},
                                                 {'4', "MD5;"}, {'5', "MD4;"}, {'7', "MD6;"}, {'8', "MD9;"}};
    c.Poll();
    c.Answers();
    for (const auto& [mode, answer] : rows) {
        g_vfoamode = mode;
        c.Client("MD;");
        std::string a = c.Answers();
        // The follower's own push of a new mode comes behind the answer.
        EXPECT_EQ(a.substr(0, 4), answer) << mode;
    }
}
