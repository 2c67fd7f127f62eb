// Antenna switches, relay boards and band decoders: the coax-switch texts,
// the LDG coax switch and its file mode, the USB boards and the parallel
// port through fakes, and the band-decoder patterns.
#include "devices/switches.h"

#include <cstring>
#include <vector>

#include "base/device_options.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "devices/band_decoder.h"
#include "devices/station_fixture.h"
#include "devices/station_outputs.h"
#include "devices/tuner.h"
#include "platform/station_io.h"

using sim::Bytes;

namespace {

struct FakeFtdi : plat::FtdiDevice {
    std::vector<std::uint8_t>* written;
    std::uint8_t* mode;
    FakeFtdi(std::vector<std::uint8_t>* w, std::uint8_t* m) : written(w), mode(m) {}
    bool SetBaud(int) override { return true; }
    bool SetBitMode(std::uint8_t mask, std::uint8_t m) override {
        *mode = std::uint8_t(mask == 0xFF ? m : 0);
        return true;
    }
    bool SetTimeouts(int, int) override { return true; }
    int Write(const std::uint8_t* d, int n) override {
        written->insert(written->end(), d, d + n);
        return n;
    }
};

struct FakeHid : plat::HidDevice {
    std::vector<std::vector<std::uint8_t>>* features;
    explicit FakeHid(std::vector<std::vector<std::uint8_t>>* f) : features(f) {}
    int Write(const std::uint8_t*, int n) override { return n; }
    int Read(std::uint8_t*, int, int) override { return 0; }
    int SendFeature(const std::uint8_t* d, int n) override {
        features->emplace_back(d, d + n);
        return n;
    }
};

struct FakeParallel : plat::ParallelPort {
    std::vector<std::uint8_t>* out;
    explicit FakeParallel(std::vector<std::uint8_t>* o) : out(o) {}
    bool WriteData(std::uint8_t v) override {
        out->push_back(v);
        return true;
    }
    bool WriteControl(std::uint8_t) override { return true; }
};

class Switches : public StationTest {
protected:
    void TearDown() override {
        plat::SetFtdiOpener(nullptr);
        plat::SetHidOpener(nullptr);
        plat::SetParallelOpener(nullptr);
        StationTest::TearDown();
    }
    void OpenCoax(sim::SimDevice& dev) {
        std::strcpy(g_ldgcoaxcomport, dev.slavePath().c_str());
        OpenLdg6();
        ASSERT_NE(g_ldgcoaxport, plat::kInvalidPort);
    }
};

}  // namespace

TEST(SwitchCodes, RelayTextSetsTheDigitOfTheAntenna) {
    char text[13];
    RelayText(3, 'K', text);
    EXPECT_STREQ(text, "SPK00000100\r");
    RelayText(1, 'A', text);
    EXPECT_STREQ(text, "SPA00000001\r");
    RelayText(8, 'B', text);
    EXPECT_STREQ(text, "SPB10000000\r");
    RelayText(9, 'K', text);
    EXPECT_STREQ(text, "SPK00000000\r");
}

TEST(SwitchCodes, NetworkSwitchBands) {
    EXPECT_EQ(GetTavnBand(14.2), 5);
    EXPECT_EQ(GetTavnBand(14.5), 0);
    EXPECT_EQ(GetTavnBand(1.7), 0);  // bounds are strict
    EXPECT_EQ(GetTavnBand(5.3), 11);
    EXPECT_EQ(GetTavnBand(50.1), 10);
}

TEST(SwitchCodes, BandDecoderPatterns) {
    EXPECT_EQ(BandDataFor(1, 14.2).value, 0x41);
    EXPECT_EQ(BandDataFor(1, 14.2).band, 5);
    EXPECT_EQ(BandDataFor(1, 1.8).value, 0x01);
    EXPECT_EQ(BandDataFor(1, 50.0).value, 0xA0);
    EXPECT_EQ(BandDataFor(2, 0.1).value, 0x01);
    EXPECT_EQ(BandDataFor(2, 144.2).value, 0x40);
    EXPECT_EQ(BandDataFor(2, 432.0).band, 9);
    EXPECT_EQ(ParallelAntennaValue(14.2), 40);
    EXPECT_EQ(ParallelAntennaValue(3.2), 16);
    EXPECT_EQ(ParallelAntennaValue(60.0), 0);
}

TEST_F(Switches, AntennaThreeReachesTheRelayBoardAsItsText) {
    SettledDevice coax;
    OpenCoax(coax);
    EXPECT_EQ(coax.portBaud(), 2400);
    g_relayboards = 1;
    g_antlow[2] = 14.0;
    g_anthigh[2] = 14.35;
    g_antrange[2] = 3;
    SelectAntennaForFreq(14.2);
    EXPECT_TRUE(coax.waitFor("SPK00000100\r"));
    EXPECT_TRUE(Traced("setadr setting 0003, last_setting 0000, adrport 1"));
    // The same antenna again sends nothing more.
    coax.clear();
    SelectAntennaForFreq(14.1);
    RunFor(30);
    EXPECT_TRUE(coax.received().empty());
}

TEST_F(Switches, TwoSwitchModeDrivesBothPorts) {
    SettledDevice coax;
    OpenCoax(coax);
    g_relayboards = 2;
    g_antlow[0] = 7.0, g_anthigh[0] = 7.3, g_antrange[0] = 2;
    g_antlowpb[0] = 7.0, g_anthighpb[0] = 7.3, g_antrangepb[0] = 5;
    g_vfoafreq = 7.1;
    SelectAntennaForFreq(7.1);
    EXPECT_TRUE(coax.waitFor("SPA00000010\rSPB00010000\r"));
}

TEST_F(Switches, LdgCoaxSwitchAndItsFileMode) {
    SettledDevice coax;
    OpenCoax(coax);
    SelectLdg6Antenna(3);
    SelectLdg6Antenna(3);
    SelectLdg6Antenna(10);
    EXPECT_TRUE(coax.waitFor(Bytes{'R', 4, 'R', 0}));
    EXPECT_TRUE(Traced("Good Send to LDG6"));
    coax.send(Bytes{0x01, 0x02});
    RunPolling([] { ReadLdg6(); }, 30);
    EXPECT_TRUE(Traced("From LDG6 count 02 01 02 "));
    // Without a switch port the antenna goes into the file.
    plat::SerialClose(g_ldgcoaxport);
    std::strcpy(g_ldg1000antennafile, dir.file("antfile.txt").c_str());
    SelectLdg6Antenna(2);
    EXPECT_EQ(dir.read("antfile.txt"), "antenna2\r\n");
}

TEST_F(Switches, DenkoviBoardGetsOneBitPerAntenna) {
    std::vector<std::uint8_t> written;
    std::uint8_t mode = 0;
    plat::SetFtdiOpener([&](const std::string& d) -> std::unique_ptr<plat::FtdiDevice> {
        if (d != "FT245R USB FIFO") return nullptr;
        return std::make_unique<FakeFtdi>(&written, &mode);
    });
    OpenDenkovi();
    ASSERT_EQ(g_denkoviopen, 1);
    EXPECT_EQ(mode, 1);
    WriteDenkovi(3);
    WriteDenkovi(3);
    WriteDenkovi(8);
    WriteDenkovi(0);
    EXPECT_EQ(written, (std::vector<std::uint8_t>{0x04, 0x80, 0x00}));
    EXPECT_TRUE(Traced("Denkovi now Open"));
}

TEST_F(Switches, MissingDenkoviIsShownAndWritesAreSkipped) {
    plat::SetFtdiOpener([](const std::string&) { return nullptr; });
    OpenDenkovi();
    EXPECT_EQ(g_denkoviopen, 0);
    ASSERT_EQ(plat::message_box_script::History().size(), 1u);
    EXPECT_EQ(plat::message_box_script::History()[0].text, "Denkovi device not Found");
    WriteDenkovi(2);  // nothing to write to, and no crash
}

TEST_F(Switches, DelcomRelaysStrobeAndRefuseOutOfRangeNumbers) {
    std::vector<std::vector<std::uint8_t>> features;
    plat::SetHidOpener([&](std::uint16_t, std::uint16_t) { return std::make_unique<FakeHid>(&features); });
    const std::uint8_t on[3] = {1, 6, 1};
    SendHamShack(on);
    ASSERT_EQ(features.size(), 3u);
    // Relay 6: bit 4 of the second group (port 1 bit 2), board 1 code 0.
    EXPECT_EQ(features[0], (std::vector<std::uint8_t>{101, 12, std::uint8_t(~4), 0x82, 0, 0, 0, 0}));
    EXPECT_EQ(features[1][3], 0x02);
    EXPECT_EQ(features[2][3], 0x82);
    EXPECT_TRUE(Traced("hamShack Data Sent"));
    // Switching off uses the other coil.
    features.clear();
    EXPECT_TRUE(WriteDelcom(0, 1, 0));
    EXPECT_EQ(features[0][2], std::uint8_t(~2));
    EXPECT_EQ(features[0][3], 0x80 | 0x01 | 5);
    // Board and relay numbers from the link are checked.
    features.clear();
    for (auto rec : {std::vector<std::uint8_t>{9, 1, 1}, {0, 0, 1}, {0, 17, 1}, {255, 255, 1}}) SendHamShack(rec.data());
    EXPECT_TRUE(features.empty());
}

TEST_F(Switches, BandDataGoesOutOnceOnTheParallelPort) {
    std::vector<std::uint8_t> out;
    plat::SetParallelOpener([&](const std::string& d) -> std::unique_ptr<plat::ParallelPort> {
        if (d != "/dev/parport0") return nullptr;
        return std::make_unique<FakeParallel>(&out);
    });
    ASSERT_TRUE(OpenPortTalk());
    g_porttalkok = 1;
    g_bandparallel = 1;
    g_pegportsel = 1;
    g_vfoafreq = 14.2;
    SendBandData();
    g_vfoafreq = 14.3;
    SendBandData();
    g_vfoafreq = 7.1;
    SendBandData();
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0x41, 0x21}));
}

TEST_F(Switches, MissingParallelPortIsReportedAbsent) {
    plat::SetParallelOpener([](const std::string&) { return nullptr; });
    EXPECT_FALSE(OpenPortTalk());
    outportb(888, 1);  // skipped
    EXPECT_TRUE(Traced("PortTalk: Couldn't access PortTalk Driver"));
}

TEST_F(Switches, SerialBandDataDrivesTheModemLines) {
    SettledDevice ab, cd;
    OpenBcdPorts(ab.slavePath().c_str(), cd.slavePath().c_str());
    ASSERT_NE(g_bcdport[0], plat::kInvalidPort);
    ASSERT_NE(g_bcdport[1], plat::kInvalidPort);
    g_pegportsel = 1;
    g_vfoafreq = 14.2;  // 0x41: bit 6 -> DTR of the second port
    SendBandData();
    const std::string t = Trace();
    // Pseudo-terminals have no lines; the trace shows what was set.
    const std::size_t at = t.find("clr rts\r\n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_NE(t.find("set dtr", at), std::string::npos);
}
