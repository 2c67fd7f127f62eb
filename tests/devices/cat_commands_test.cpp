// The CAT-out parser and maps without ports: cutting reads, the carry rule,
// strict set parsing, the mode digits and the arithmetic of the answers.
#include <gtest/gtest.h>

#include <string>

#include "devices/cat_commands.h"

namespace {
int Parse(const std::string& s, CatBatch* b) {
    return ParseTHPCommands(reinterpret_cast<const std::uint8_t*>(s.data()), int(s.size()), b);
}
}  // namespace

TEST(CatCommands, CutsAtSemicolonsAndKeepsTheUnfinishedTail) {
    CatBatch b;
    EXPECT_EQ(Parse("FA;MD2;\r\nIF;FB000", &b), 5);
    ASSERT_EQ(b.commands.size(), 3u);
    EXPECT_EQ(b.commands[0].kind, kCatFA);
    EXPECT_EQ(b.commands[0].text, "FA;");
    EXPECT_EQ(b.commands[1].text, "MD2;");
    EXPECT_EQ(b.commands[2].kind, kCatIF);
    EXPECT_EQ(b.commands[2].text, "IF;");
    EXPECT_EQ(CatCommandLength("ab;c", 4), 3);
    EXPECT_EQ(CatCommandLength("abc", 3), 0);
}

TEST(CatCommands, TailsLongerThanAHundredBytesAreDropped) {
    CatBatch b;
    EXPECT_EQ(Parse(std::string(100, 'z'), &b), 100);
    EXPECT_EQ(Parse(std::string(101, 'z'), &b), 0);
}

TEST(CatCommands, UnknownAndSubReceiverCommandsAreConsumed) {
    CatBatch b;
    EXPECT_EQ(Parse("KY hello;NB1;MD$;ZZMD;;x;", &b), 0);
    EXPECT_TRUE(b.commands.empty());
}

TEST(CatCommands, EveryCommandIsKeptInTheOrderSent) {
    CatBatch b;
    Parse("FA;IF;MD1;FA;MD3;", &b);
    std::string seen;
    for (const CatCommand& c : b.commands) seen += c.text;
    EXPECT_EQ(seen, "FA;IF;MD1;FA;MD3;");
}

TEST(CatCommands, SetsParseOnlyTheirExactForm) {
    EXPECT_EQ(CatSetHz("FA00014074000;"), 14074000);
    EXPECT_EQ(CatSetHz("FA0001407400;"), -1);
    EXPECT_EQ(CatSetHz("FA0001407400x;"), -1);
    EXPECT_EQ(CatSetHz("FA000140740000;"), -1);
    EXPECT_EQ(CatSetDigit("FT1;"), 1);
    EXPECT_EQ(CatSetDigit("FT12;"), -1);
    EXPECT_EQ(CatPowerSet("PC050;"), 50);
    EXPECT_EQ(CatPowerSet("PC50;"), -1);
}

TEST(CatCommands, ModeDigitsBothWays) {
    CatModeOptions plain;
    CatModeOptions pan;
    pan.lppanDirect = true;
    EXPECT_EQ(CatSentModeDigit('2', plain), '7');
    EXPECT_EQ(CatSentModeDigit('2', pan), '3');
    EXPECT_EQ(CatSentModeDigit('3', pan), '7');
    EXPECT_EQ(CatAnswerModeDigit('3', pan), '3');
    EXPECT_EQ(CatAnswerModeDigit('2', pan), '7');
    EXPECT_EQ(CatSentModeDigit(0x17, plain), '4');
    EXPECT_EQ(CatAnswerModeDigit('<', plain), '4');
    CatModeOptions rev;
    rev.rttyReverse = true;
    EXPECT_EQ(CatSentModeDigit('7', rev), '9');
    EXPECT_EQ(ModeFromCatDigit('6', '0', plain), '7');
    EXPECT_EQ(ModeFromCatDigit('6', '0', rev), '8');
    EXPECT_EQ(ModeFromCatDigit('9', '9', plain), ':');
    EXPECT_EQ(ModeFromCatDigit('7', '0', plain), '2');
    EXPECT_EQ(ModeFromCatDigit('8', '0', plain), 0);
}

TEST(CatCommands, StatusPowerAndStepArithmetic) {
    EXPECT_EQ(CatStatusText(7.0301, true, '2', false).size(), 38u);
    EXPECT_EQ(CatStatusText(1234.5678, false, '2', false).size(), 38u);
    EXPECT_EQ(CatPowerPercent(255, 100), 100);
    EXPECT_EQ(CatPowerPercent(255, 0), 100);
    EXPECT_EQ(CatPowerPercent(255, -5), 100);
    EXPECT_EQ(CatPowerPercent(255, 1), 100);
    EXPECT_EQ(CatPowerPercent(0, 7), 0);
    EXPECT_EQ(CatPowerFromPercent(100, 200), 100);
    EXPECT_EQ(CatPowerFromPercent(50, 80), 40);
    EXPECT_EQ(RoundHzToStep(14074049, 100), 14074000);
    EXPECT_EQ(RoundHzToStep(14074050, 100), 14074100);
    EXPECT_EQ(RoundHzToStep(14074050, 0), 14074050);
}
