// The LDG tuner: periods and SWR, the record reader against noise, the
// memory file, the recall and the start-up chain against a simulated tuner.
#include "devices/tuner.h"

#include <cstring>
#include <vector>

#include "app/app.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "devices/tuner_fixture.h"
#include "platform/files.h"
#include "sim/sim_radio.h"

using sim::Bytes;

namespace {
class Tuner : public TunerTest {
protected:
    void OpenTuner(sim::SimDevice& dev) {
        g_ldgportopened = nullptr;
        std::strcpy(g_ldgcomport, dev.slavePath().c_str());
        OpenLdgPort();
        ASSERT_NE(g_ldgport, plat::kInvalidPort);
    }
};

}  // namespace

TEST(TunerCodes, PeriodsOnlyWhereRecallWorks) {
    EXPECT_EQ(LdgPeriod(14.2), 1442);
    EXPECT_EQ(LdgPeriod(1.8), 11377);
    EXPECT_EQ(LdgPeriod(54.0), -1);
    EXPECT_EQ(LdgPeriod(1.0), -1);
    EXPECT_EQ(LdgPeriod(0.0), -1);
    EXPECT_EQ(LdgPeriod(-3.0), -1);
}

TEST(TunerCodes, SwrOfThePowerRecord) {
    EXPECT_EQ(LdgSwrFromPower(0), 100);
    EXPECT_EQ(LdgSwrFromPower(64), 300);
    EXPECT_EQ(LdgSwrFromPower(0x80 | 64), 300);  // the top bit is not part of it
}

TEST_F(Tuner, RecordsAreReadFromTheFirstStartByteWithResync) {
    g_vfoafreq = 14.2;
    g_tunerstate = 3;
    // Noise, a power record whose data byte is A5, a garbled byte, then a
    // good-tune record and half a setting record.
    std::uint8_t buf[90] = {0x11, 0x22, 0xA5, 6, 0xA5, 64, 0x33, 0xA5, 9, 0, 0, 0xA5, 7};
    int carry = ParseLdg(buf, 13);
    EXPECT_EQ(g_ldgswr, 300);
    EXPECT_TRUE(Traced("good tune exit"));
    ASSERT_EQ(carry, 2);
    // The rest of the setting record arrives: it is stored at 14.2 MHz.
    buf[2] = 0x12;
    buf[3] = 0x34;
    carry = ParseLdg(buf, 4);
    EXPECT_EQ(carry, 0);
    EXPECT_EQ(LdgSetting(1442), 0x1234);
    EXPECT_EQ(image[2 * 1442], 0x34);  // little-endian in the image
    EXPECT_EQ(image[2 * 1442 + 1], 0x12);
}

TEST_F(Tuner, SettingOutsideTheRecallRangeIsNotStored) {
    g_tunerstate = 3;
    for (double f : {1.0, 0.0, 60.0}) {
        g_vfoafreq = f;
        std::uint8_t buf[8] = {0xA5, 9, 0, 0, 0xA5, 7, 0xFF, 0xFF};
        EXPECT_EQ(ParseLdg(buf, 8), 0);
    }
    for (std::uint8_t b : image) ASSERT_EQ(b, 0);
}

TEST_F(Tuner, MemoryFileRoundTripsAndAShortFileReadsZeroFilled) {
    StoreLdgSetting(1442, 0xBEEF);
    StoreLdgSetting(11377, 0x0102);
    WriteLdgFile();
    EXPECT_FALSE(dir.exists("ldg.dat.new"));
    EXPECT_EQ(plat::FileSize(dir.file("ldg.dat")), kLdgFileSize);
    std::memset(g_ldgimage, 0x55, kLdgImageSize);
    ReadLdgFile();
    EXPECT_EQ(LdgSetting(1442), 0xBEEF);
    EXPECT_EQ(LdgSetting(11377), 0x0102);
    EXPECT_EQ(LdgSetting(11600), 0);  // past the file: zero
    // A file cut short keeps what it holds; the rest reads empty.
    dir.write("ldg.dat", std::string("\x10\x20\x30", 3));
    ReadLdgFile();
    EXPECT_EQ(LdgSetting(0), 0x2010);
    EXPECT_EQ(LdgSetting(1), 0x0030);
    EXPECT_EQ(LdgSetting(1442), 0);
}

TEST_F(Tuner, RecallSendsTheStoredOrNearestSettingOnce) {
    SettledDevice tuner;
    OpenTuner(tuner);
    g_internaltuner = 4;
    StoreLdgSetting(1445, 0x0A0B);  // three periods below 14.2 MHz... above in period
    g_vfoafreq = 14.2;
    TunerRecall();
    EXPECT_TRUE(tuner.waitFor(Bytes{'C', 0x0A, 0x0B})) << Trace();
    EXPECT_TRUE(Traced("tuner rcl radiofreq 14.200000, act period 1442"));
    // Within one period on the same antenna nothing more is sent.
    tuner.clear();
    g_vfoafreq = 14.19;
    TunerRecall();
    RunFor(50);
    EXPECT_TRUE(tuner.received().empty());
    // Nothing stored anywhere near: nothing sent.
    g_vfoafreq = 3.5;
    TunerRecall();
    EXPECT_TRUE(Traced("period not found"));
}

TEST_F(Tuner, TuneStoresTheSettingTheTunerReports) {
    SettledDevice tuner(sim::LdgTunerResponder(0x0304));
    OpenTuner(tuner);
    g_internaltuner = 4;
    g_vfoafreq = 7.1;
    OnTunerTune();
    ASSERT_TRUE(RunUntil([&] {
        ReadLdgPort();
        return g_tunerstate == 0 && LdgSetting(LdgPeriod(7.1)) != 0;
    }, 25000));
    EXPECT_EQ(LdgSetting(LdgPeriod(7.1)), 0x0304);
    EXPECT_GE(sim::Find(tuner.received(), Bytes{0x06}), 0);
    EXPECT_TRUE(Traced("good tune exit"));
    EXPECT_TRUE(Traced("autotunerexit exit"));
    // The next recall saves the memory.
    TunerRecall();
    ReadLdgFile();
    EXPECT_EQ(LdgSetting(LdgPeriod(7.1)), 0x0304);
}

TEST_F(Tuner, NoiseOnThePortLeavesTheTunerHeard) {
    SettledDevice tuner;
    OpenTuner(tuner);
    tuner.send(Bytes(400, 0x5A));
    RunPolling([] { ReadLdgPort(); }, 100);
    tuner.send(Bytes{0xA5, 6, 0, 64});
    EXPECT_TRUE(RunUntil([] {
        ReadLdgPort();
        return g_ldgswr == 300;
    }));
}

// The program with the LDG tuner: the start-up chain, then a recall from
// the memory file seeded before the start.
TEST(TunerWithTheProgram, StartupChainAndRecallFromASeededFile) {
    TestDir dir;
    SettledRadio radio(0x94, 19200);
    ASSERT_TRUE(radio.link(dir.file("ports/com1")));
    radio.start();
    SettledDevice tuner;
    ASSERT_TRUE(tuner.link(dir.file("ports/com2")));
    std::string image(kLdgFileSize, '\0');
    const int period = LdgPeriod(14.025);
    image[std::size_t(2 * period)] = 0x22;
    image[std::size_t(2 * period + 1)] = 0x11;
    dir.write("ldg.dat", image);
    dir.write("qarv.ini",
              "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nLDG COMPORT=COM2\n[OPERATING STATUS]\nQARV=23\n"
              "INTERNAL TUNER=4\n");
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    const Bytes chain{0x3F, 0x00, 0x3B, 0x00, 0x09, 0x00, 0x0A, 0x00, 0x2D, 0x00};
    EXPECT_TRUE(RunUntil([&] { return sim::Find(tuner.received(), chain) >= 0; }, 3000));
    EXPECT_EQ(tuner.portBaud(), 9600);
    EXPECT_TRUE(RunUntil([&] { return sim::Find(tuner.received(), Bytes{'C', 0x11, 0x22}) >= 0; }, 5000));
    app.ExitInstance();
    radio.stop();
    EXPECT_EQ(plat::FileSize(dir.file("ldg.dat")), kLdgFileSize);
}
