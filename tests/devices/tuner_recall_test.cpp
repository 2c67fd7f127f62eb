// The LDG tuner follows every frequency the radio reports, not only the
// first; and its start-up chain waits until the tuner listens.
#include <cstring>
#include <string>

#include "app/app.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "devices/tuner.h"
#include "devices/tuner_fixture.h"
#include "sim/sim_radio.h"

using sim::Bytes;

namespace {
// Settings stored at 14.200 MHz (period 1442) and at period 1435 (14.27 MHz).
constexpr std::uint16_t kAt1442 = 0x1F42;
constexpr std::uint16_t kAt1435 = 0x2A17;

std::string SeededImage() {
    std::string image(kLdgFileSize, '\0');
    for (auto [period, value] : {std::pair{1442, kAt1442}, std::pair{1435, kAt1435}}) {
        image[std::size_t(2 * period)] = char(value & 0xFF);
        image[std::size_t(2 * period + 1)] = char(value >> 8);
    }
    return image;
}

Bytes Recall(std::uint16_t value) { return Bytes{'C', std::uint8_t(value >> 8), std::uint8_t(value & 0xFF)}; }

}  // namespace

TEST(TunerRecall, EveryReportedFrequencyRecallsTheNearestStoredSetting) {
    // Far from both stored settings: the start-up recall finds nothing.
    TunerStation s(7100000, SeededImage());
    ASSERT_TRUE(s.started);
    ASSERT_TRUE(s.chainDone());
    RunFor(1500);
    ASSERT_LT(sim::Find(s.tuner.received(), Bytes{'C'}), 0) << "nothing is stored near 7.1 MHz";

    EXPECT_TRUE(s.report(14200000, Recall(kAt1442)));  // period 1442: stored
    EXPECT_EQ(g_tunerrecallarmed, 0);
    EXPECT_TRUE(s.report(14250000, Recall(kAt1435)));  // period 1437: 1435 is nearer than 1442
    EXPECT_TRUE(s.report(14190000, Recall(kAt1442)));  // period 1443: 1442 is one away
    // Period 1444 is within one of the last recall: nothing goes out.
    const std::size_t before = s.tuner.received().size();
    s.radio.setFrequency(14180000, 0);
    s.radio.sendTransceiveFrequency();
    ASSERT_TRUE(RunUntil([] { return g_vfoafreq > 14.179 && g_vfoafreq < 14.181; }, 3000));
    RunFor(1000);
    EXPECT_EQ(s.tuner.received().size(), before);
}

namespace {
class TunerChain : public TunerTest {
protected:
    void SetUp() override {
        TunerTest::SetUp();
        g_internaltuner = 4;
    }
};
}  // namespace

TEST_F(TunerChain, TheFirstByteGoesOut200MsAfterThePortOpens) {
    SettledDevice tuner;
    std::strcpy(g_ldgcomport, tuner.slavePath().c_str());
    g_ldgportopened = StartLdgChain;
    OpenLdgPort();
    ASSERT_NE(g_ldgport, plat::kInvalidPort);
    RunFor(190);
    EXPECT_FALSE(Traced("Send to LDG"));
    RunFor(10);
    EXPECT_TRUE(Traced("Send to LDG 3F"));
    EXPECT_TRUE(tuner.waitFor(Bytes{0x3F}));
}

TEST_F(TunerChain, ARecallArmedWhileTheTunerIsBusyStaysArmedUntilItRuns) {
    g_tunerstate = 2;
    g_tunerrecallarmed = 1;
    TunerRecall();  // busy: it waits another 500 ms
    EXPECT_EQ(g_tunerrecallarmed, 1);
    EXPECT_TRUE(host.HasTimer(TIMER_TUNER_RECALL));
    g_tunerstate = 0;
    RunFor(500);
    EXPECT_EQ(g_tunerrecallarmed, 0);
}
