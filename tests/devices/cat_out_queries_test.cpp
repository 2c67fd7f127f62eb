// Several commands in one read of a CAT-out port: every query is answered,
// in the order asked, and a set outside the radio's coverage changes nothing
// and is pushed to no port.
#include "base/device_options.h"
#include "devices/cat_fixture.h"

using plat::manual_clock::Advance;

TEST(CatOutQueries, EveryQueryOfOneReadIsAnsweredInTheOrderAsked) {
    CatPort c;
    c.Client("FA;IF;MD;FA;");
    EXPECT_EQ(c.Answers(), "FA00014025000;" + CatStatusText(14.025, false, '2', false) + "MD2;FA00014025000;");
    // Split over two reads, the same.
    c.Client("MD;TQ;F");
    c.Client("A;MD;");
    EXPECT_EQ(c.Answers(), "MD2;TQ0;FA00014025000;MD2;");
}

TEST(CatOutQueries, AQueryBehindASetInTheSameReadAnswersTheNewValue) {
    CatPort c;
    c.Client("FA00014030000;FA;FB00014040000;FB;");
    // The answers first, then the follower's push of the new VFO A.
    EXPECT_EQ(c.Answers(), "FA00014030000;FB00014040000;FA00014030000;");
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.03);
    EXPECT_DOUBLE_EQ(g_vfobfreq, 14.04);
}

TEST(CatOutQueries, SetsOutsideTheRadiosCoverageChangeNothingAndArePushedNowhere) {
    PtyPair second;
    realwait::PortEnd secondEnd(second);
    std::snprintf(g_thpxcomport[0], sizeof g_thpxcomport[0], "%s", second.slavePath().c_str());
    CatPort c;
    ASSERT_TRUE(g_thpopen[1]);
    secondEnd.take();
    c.Client("FA99999999999;");
    c.Client("FA00000000000;FB00200000000;");
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.025);
    EXPECT_DOUBLE_EQ(g_vfobfreq, 14.025);
    EXPECT_DOUBLE_EQ(c.panel.vfoAFreq, 14.025);
    EXPECT_EQ(c.traced("refused"), 3);
    // Not now, and not after the send-back hold either.
    Advance(1500);
    c.Poll();
    EXPECT_EQ(c.Answers(), "");
    EXPECT_EQ(secondEnd.takeText(), "");
    // A query behind a refused set is still answered.
    c.Client("FA99999999999;FA;");
    EXPECT_EQ(c.Answers(), "FA00014025000;");
}

TEST(CatOutQueries, TheVfoBPortsFrequencySetIsRefusedOutsideCoverageToo) {
    CatPort c;
    g_thpvfobport = 1;
    c.Client("FA00060000000;");
    EXPECT_DOUBLE_EQ(g_vfobfreq, 14.025);
    c.Client("FA00007100000;FA;");
    EXPECT_DOUBLE_EQ(g_vfobfreq, 7.1);
    EXPECT_EQ(c.Answers(), "FA00007100000;");
}
