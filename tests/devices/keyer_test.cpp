// The serial keyer against the simulated keyer: the start-up exchange, the
// text it sends, ESC, the speed pot, paddle echo and the CW speed.
#include <gtest/gtest.h>

#include <cstring>

#include "app/cw_sender.h"
#include "base/device_options.h"
#include "civ/civ_options.h"
#include "civ/engine_options.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/send_queue.h"
#include "devices/cw_keyer.h"
#include "devices/keyer_fixture.h"
#include "devices/keying.h"
#include "devices/remote_link.h"
#include "platform/clock.h"

namespace {
void Type(const char* text) {
    for (const char* p = text; *p; ++p) CwKeyboardChar(static_cast<unsigned char>(*p));
}

// Sends what the ring holds through the keyer, echo by echo, as the timer
// loop does.
void SendRing(KeyerLink& k) {
    for (int i = 0; i < 40 && g_cwget != g_cwput; ++i) {
        RunCwElementSender();
        k.exchange();
    }
}
}  // namespace

TEST(SerialKeyer, StartupOfAnExtendedKeyer) {
    KeyerLink k(23);
    g_yaltpin5 = 5;
    k.start();
    EXPECT_EQ(g_keyertype, 2);
    EXPECT_TRUE(g_yaltextended);
    EXPECT_STREQ(g_yaltversiontext, "YALT VERSION G");
    ASSERT_GE(k.keyer.commands().size(), 3u);
    EXPECT_EQ(k.keyer.commands()[0], (std::vector<std::uint8_t>{0x00, 0x02}));
    EXPECT_EQ(k.keyer.commands()[1], (std::vector<std::uint8_t>{0x00, 0x0B}));
    EXPECT_EQ(k.keyer.commands()[2].size(), 16u);
    EXPECT_EQ(k.keyer.pinByte(), 13);  // pin 5 setting + 8
    EXPECT_EQ(k.keyer.modeByte(), 0x44);
    EXPECT_TRUE(k.keyer.got({0x05, 17, 0x0F, 0xFF}));  // pot: KEYER CW 7 + 10, range 15
    EXPECT_EQ(k.keyer.speed(), 0);                      // the pot rules
    EXPECT_TRUE(k.keyer.got({0x07}));
}

TEST(SerialKeyer, StartupOfAnOlderKeyerAndCommandsOnlyWhileRunning) {
    KeyerLink k(15);
    g_yaltpin5 = 5;
    g_reversepaddle = 1;
    SetKeyerWeight();  // not running yet: nothing goes out
    EXPECT_EQ(k.written(), 0u);
    k.start();
    EXPECT_FALSE(g_yaltextended);
    EXPECT_FALSE(k.keyer.got({0x00, 0x0B}));
    EXPECT_EQ(k.keyer.pinByte(), 5);
    EXPECT_EQ(k.keyer.modeByte(), 0x4C);
    EXPECT_STREQ(g_yaltversiontext, "YALT VERSION ?");
}

TEST(SerialKeyer, TextGoesUpperCasedWithProsignsAndEchoesPaceIt) {
    KeyerLink k;
    k.start();
    g_keyerstate = 1;
    g_cwsendenabled = 1;
    g_wordsend = 0;
    Type("cq de n0-k+ ");  // '-' is BT, '+' AR with the default settings
    SendRing(k);
    EXPECT_EQ(k.keyer.sent(), "CQ DE N0=K< ");
    EXPECT_EQ(g_yaltinflight, 0);
    EXPECT_EQ(g_cwget, g_cwput);
}

TEST(SerialKeyer, EscClearsTheRingAndTheKeyerBuffer) {
    KeyerLink k;
    k.start();
    g_keyerstate = 1;
    Type("test");
    g_yaltinflight = 2;
    CwKeyboardChar(27);
    k.take();
    EXPECT_EQ(g_cwget, g_cwput);
    EXPECT_EQ(g_yaltinflight, 0);
    EXPECT_EQ(k.keyer.clears(), 1);
    EXPECT_FALSE(k.timers.HasTimer(TIMER_CW_ELEMENT));
}

TEST(SerialKeyer, SpeedPotAndEveryPaddleCharacter) {
    KeyerLink k;
    k.start();
    g_keyercw = 7;
    k.report({0x85});
    EXPECT_EQ(g_keyerks, 5);
    EXPECT_EQ(g_cwspeed, 22);
    g_nospeedpot = 1;
    k.report({0x8F});
    EXPECT_EQ(g_cwspeed, 22);  // without a pot the byte is ignored
    // Break-in, then three paddle characters in one read: all of them count.
    k.report({0xC2, 'A', 'B', 'C'});
    EXPECT_STREQ(g_cwecholine, "abc");
    k.report({0xC0, 'D'});  // break-in over: an echo, not paddle text
    EXPECT_STREQ(g_cwecholine, "abc");
}

TEST(SerialKeyer, PushButtonOfAnExtendedKeyerRunsItsMemory) {
    KeyerLink k;
    k.start();
    g_keyerstate = 1;
    std::strcpy(g_cwmacro[1], "tu");
    g_yaltf2 = 2;
    k.report({0xCA});  // push-button report, button 2
    EXPECT_EQ(CwRingText(), "tu ");
}

TEST(SerialKeyer, KeyingThroughTheKeyerInCw) {
    KeyerLink k;
    k.start();
    g_vfoamode = '3';
    g_radiotype = 23;
    keyon();
    k.take();
    EXPECT_TRUE(k.keyer.keyDown());
    keyoff();
    k.take();
    EXPECT_FALSE(k.keyer.keyDown());
}

TEST(CwSpeed, RadioKeySpeedStaysInsideTheRadiosRange) {
    EXPECT_EQ(RadioKeySpeedValue(70), 250);  // above 66: 56 WPM
    EXPECT_EQ(RadioKeySpeedValue(4), 0);
    EXPECT_EQ(RadioKeySpeedValue(20), 70);
    for (int s = 57; s <= 66; ++s) EXPECT_LE(RadioKeySpeedValue(s), 255) << s;
}

TEST(CwSpeed, ElementTimesNeverDivideByZero) {
    const CwTiming t = CwElementTimes(0, 100, 100, 10);
    EXPECT_EQ(t.spc, 1212 / kMinWpm);
    const CwTiming u = CwElementTimes(20, 150, 100, 10);
    EXPECT_EQ(u.dit, 60);
    EXPECT_EQ(u.dah, 270);
    EXPECT_EQ(u.bspc, 120);
}

TEST(CwSpeed, KstatsSendsTheRadioItsKeySpeed) {
    TestDir dir;
    OpenTraceFile();
    g_radiotype = 23;
    g_radioadr = 0x94;
    g_myaddr = 0xE0;
    g_yaltkeyer = 0;
    // No radio port: the frames are traced as they would go out.
    kstats(70, 100);
    kstats(0, 100);  // a client state can carry 0
    EXPECT_EQ(g_dit, 1212 / kMinWpm);
    const std::string log = dir.read("comms.txt");
    EXPECT_NE(log.find("FE FE 94 E0 14 0C 02 50 FD"), std::string::npos) << log;
    EXPECT_NE(log.find("FE FE 94 E0 14 0C 00 00 FD"), std::string::npos);
}
