// External meters: the PowerMaster request and reply, the LP-100A's SWR
// rule, the LP-500 report positions through a fake, the WaveNode readings
// and the Zun S-meter port.
#include "devices/external_meters.h"

#include <cstring>
#include <vector>

#include "base/device_options.h"
#include "base/settings_options.h"
#include "civ/frequency_options.h"
#include "civ/reply_processing.h"
#include "devices/station_fixture.h"
#include "devices/wave_panel.h"
#include "platform/station_io.h"

using sim::Bytes;

namespace {
class Meters : public StationTest {
protected:
    void TearDown() override {
        plat::SetHidOpener(nullptr);
        StationTest::TearDown();
    }
    void Open(sim::SimDevice& dev, int type) {
        g_wattmetertype = type;
        std::strcpy(g_wattmeterport, dev.slavePath().c_str());
        OpenPowerMeterPort();
        ASSERT_NE(g_powermeterport, plat::kInvalidPort);
    }
};

std::uint32_t Bits(float v) {
    std::uint32_t b;
    std::memcpy(&b, &v, 4);
    return b;
}

struct FakeLp500 : plat::HidDevice {
    std::vector<std::uint8_t> report;
    std::vector<std::uint8_t>* sent;
    explicit FakeLp500(std::vector<std::uint8_t>* s) : sent(s) {}
    int Write(const std::uint8_t* d, int n) override {
        sent->assign(d, d + n);
        return n;
    }
    int Read(std::uint8_t* d, int n, int) override {
        const int k = std::min(n, int(report.size()));
        std::memcpy(d, report.data(), std::size_t(k));
        return k;
    }
    int SendFeature(const std::uint8_t*, int n) override { return n; }
};
}  // namespace

TEST(MeterCodes, PowerMasterCheckCharacters) {
    const std::uint8_t d2[2] = {'D', '2'};
    const std::uint8_t crc = CheckPowerMasterCrc(d2, 2);
    EXPECT_EQ(HexDigit(crc >> 4), 'A');
    EXPECT_EQ(HexDigit(crc), '2');
}

TEST_F(Meters, PowerMasterRequestAndReplyAtItsBaud) {
    SettledDevice pm(sim::PowerMasterResponder("D,100.0,4.0,1.50"));
    Open(pm, 3);
    EXPECT_EQ(pm.portBaud(), 38400);
    g_transmitting = 1;
    ReadPowerMeter();  // the device poll's first read drains what the port held
    SendPowerMasterRequest();
    EXPECT_TRUE(pm.waitFor(Bytes{0x02, 0x44, 0x32, 0x03, 0x41, 0x32, 0x0D, 0x0A}));
    EXPECT_TRUE(RunUntil([] {
        ReadPowerMeter();
        return g_extswr == 150;
    }));
    EXPECT_TRUE(Traced("PowerMaster Good Message"));
    EXPECT_TRUE(Traced("vswr 1.500000"));
}

TEST_F(Meters, PowerMasterSurvivesNoiseAndCutMessages) {
    g_wattmetertype = 3;
    g_transmitting = 1;
    std::uint8_t buf[200];
    const std::string noise = "zz\x02" "D,1,2";  // a message cut off by a new start
    const std::string good = "\x02" "D,50.0,2.0,1.20\x03" "00\r\n";
    std::string all = noise + good + "\x02" "D,5";
    std::memcpy(buf, all.data(), all.size());
    const int carry = ParsePowerMaster(buf, int(all.size()));
    EXPECT_EQ(g_extswr, 120);
    EXPECT_EQ(carry, 4);
    EXPECT_EQ(buf[0], 0x02);
    // Not transmitting: the reading is not taken.
    g_transmitting = 0;
    g_extswr = 10000;
    std::memcpy(buf, good.data(), good.size());
    EXPECT_EQ(ParsePowerMaster(buf, int(good.size())), 0);
    EXPECT_EQ(g_extswr, 10000);
}

TEST_F(Meters, Lp100UsesAnSwrOfOneOnlyEveryTenthReading) {
    g_wattmetertype = 1;
    std::string rec = ";0100";
    rec.resize(39, ',');
    rec += "1.00";
    ASSERT_EQ(rec.size(), 43u);
    int shown = 0;
    for (int i = 0; i < 20; ++i) {
        g_extswr = 0;
        std::uint8_t buf[50];
        std::memcpy(buf, rec.data(), rec.size());
        EXPECT_EQ(ParseLp100(buf, 43), 0);
        if (g_extswr == 100) ++shown;
    }
    EXPECT_EQ(shown, 2);
    std::string high = rec.substr(0, 39) + "2.00";
    const std::string two = "x" + high + ";01";
    std::uint8_t buf[90];
    std::memcpy(buf, two.data(), two.size());
    EXPECT_EQ(ParseLp100(buf, 47), 3);
    EXPECT_EQ(g_extswr, 200);
}

// Garbled numbers (an exponent in a four-character field, a float of any
// bits from the network) are held to the meters' range, never overflowing.
TEST_F(Meters, GarbledNumbersStayInRange) {
    g_wattmetertype = 1;
    std::string rec = ";0100";
    rec.resize(39, ',');
    rec += "6e9.";
    std::uint8_t buf[50];
    std::memcpy(buf, rec.data(), rec.size());
    EXPECT_EQ(ParseLp100(buf, 43), 0);
    EXPECT_EQ(g_extswr, 1000000);
    g_wavesensor = 1;
    OnWaveNodeMessage(5, Bits(3.0e12f));
    EXPECT_EQ(g_extswr, 1000000);
    OnWaveNodeMessage(1, Bits(std::numeric_limits<float>::infinity()));
    EXPECT_STREQ(g_wavesensors[0].peak, "1000000");
    OnWaveNodeMessage(1, Bits(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_STREQ(g_wavesensors[0].peak, "0");
}

TEST_F(Meters, Lp500ReportBytesCountFromTheReportId) {
    std::vector<std::uint8_t> sent;
    FakeLp500* dev = nullptr;
    plat::SetHidOpener([&](std::uint16_t v, std::uint16_t p) -> std::unique_ptr<plat::HidDevice> {
        if (v != 0x04D8 || p != 0x0001) return nullptr;
        auto d = std::make_unique<FakeLp500>(&sent);
        dev = d.get();
        return d;
    });
    ASSERT_TRUE(OpenLp500());
    dev->report.assign(65, 0);
    dev->report[24] = 0x01;  // 0x0190 = 400 / 5 = 80 W
    dev->report[25] = 0x90;
    dev->report[3] = 0x00;
    dev->report[38] = 150;
    g_transmitting = 1;
    PollLP500();
    ASSERT_EQ(sent.size(), 65u);
    EXPECT_EQ(sent[0], 0);
    EXPECT_EQ(sent[1], '0');
    EXPECT_EQ(g_extswr, 150);
    // A short report is ignored.
    dev->report.resize(40);
    dev->report[38 % 40] = 0;
    g_extswr = 0;
    PollLP500();
    EXPECT_EQ(g_extswr, 0);
    CloseLp500();
}

TEST_F(Meters, WaveNodeSwrOfZeroChangesNothing) {
    g_wavesensor = 2;
    OnWaveNodeMessage(6, Bits(1.75f));
    EXPECT_EQ(g_extswr, 175);
    EXPECT_STREQ(g_wavesensors[1].swr, "1.75");
    OnWaveNodeMessage(6, Bits(0.0f));
    EXPECT_EQ(g_extswr, 175);
    OnWaveNodeMessage(5, Bits(3.0f));  // another sensor: shown, not used
    EXPECT_EQ(g_extswr, 175);
    EXPECT_STREQ(g_wavesensors[0].swr, "3.00");
    OnWaveNodeMessage(2, Bits(812.0f));
    EXPECT_STREQ(g_wavesensors[1].peak, "812");
    OnWaveNodeMessage(10, Bits(400.0f));
    EXPECT_STREQ(g_wavesensors[1].average, "400");
    OnWaveNodeMessage(99, Bits(1.0f));  // unknown: ignored
}

TEST_F(Meters, ZunAnswersAndAScaleOfZeroTakesTheDefault) {
    const std::uint8_t ask04[] = {0xFE, 0xFE, 0xE0, 0xE1, 0x04, 0xFD};
    std::uint8_t out[9];
    ASSERT_EQ(ZunAnswer(ask04, 6, out), 7);
    EXPECT_EQ(Bytes(out, out + 7), (Bytes{0xFE, 0xFE, 0xE1, 0xE0, 0x04, 0x01, 0xFD}));
    g_smeterpeak = 2100;
    for (int scale : {0, -5}) {
        g_zunscale = scale;
        const std::uint8_t ask[] = {0xFE, 0xFE, 0xE0, 0xE1, 0x15, 0x02, 0xFD};
        ASSERT_EQ(ZunAnswer(ask, 7, out), 9);
        EXPECT_EQ(out[6], 0x01);  // 2100 / 21 = 100 -> "0100"
        EXPECT_EQ(out[7], 0x00);
    }
    // Mode 2 answers with the request's addresses swapped.
    g_smeterlite = 2;
    const std::uint8_t ask[] = {0xFE, 0xFE, 0x11, 0x22, 0x15, 0x02, 0xFD};
    ZunAnswer(ask, 7, out);
    EXPECT_EQ(out[2], 0x22);
    EXPECT_EQ(out[3], 0x11);
}

TEST_F(Meters, ZunPortAnswersRequestsAfterNoise) {
    SettledDevice sm;
    std::strcpy(g_zuncomport, sm.slavePath().c_str());
    OpenZunPort();
    ASSERT_NE(g_zunport, plat::kInvalidPort);
    EXPECT_EQ(sm.portBaud(), 19200);
    sm.send(Bytes{0x01, 0x02, 0xFE, 0xFE, 0xE0, 0xE1, 0x04, 0xFD});
    EXPECT_TRUE(RunUntil([&] {
        ReadZunMeter();
        return sim::Find(sm.received(), Bytes{0xFE, 0xFE, 0xE1, 0xE0, 0x04, 0x01, 0xFD}) >= 0;
    }));
}

TEST_F(Meters, ZunKeyboardModeTypesAndAnswersKeyerCommands) {
    SettledDevice sm;
    std::strcpy(g_zuncomport, sm.slavePath().c_str());
    OpenZunPort();
    std::vector<unsigned> typed;
    struct Catcher : TimerHost {
        std::vector<unsigned>* typed;
        void OnChar(unsigned c) override { typed->push_back(c); }
    } catcher;
    catcher.typed = &typed;
    catcher.Create("chars", 0, plat::Rect{0, 0, 10, 10}, nullptr, 0);
    g_timerwindow = &catcher;
    // Host open (00 02) answered 10; speed (02 nn) skipped; text typed.
    const std::uint8_t in[] = {0x00, 0x02, 0x02, 0x14, 'C', 'Q', ':', 0x05, 0x09, 0x01, 0x02};
    ProcessZunChars(in, int(sizeof in));
    g_timerwindow = &host;
    EXPECT_EQ(typed, (std::vector<unsigned>{'c', 'q', '^'}));
    EXPECT_TRUE(sm.waitFor(Bytes{0x10, 'C', 'Q', ':', 0x83, 0xC0}));
}

TEST_F(Meters, WaveNodePanelShowsReadingsAndTakesTheOperatorsChoice) {
    CWAVEPanel* panel = CreateWavePanel(nullptr, {40, 40, 490, 190}, true);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetWindowText(), "Wave Node");
    g_wavesensor = 1;
    // The operator picks sensor 3 and peak power, as the boxes are clicked.
    panel->SendMessage(plat::WM_COMMAND, IDC_USE_SENSOR1 + 2, 0);
    EXPECT_EQ(g_wavesensor, 3);
    panel->SendMessage(plat::WM_COMMAND, IDC_USE_PEAK_POWER, 0);
    EXPECT_EQ(g_wavepeak, 1);
    OnWaveNodeMessage(7, Bits(1.5f));
    EXPECT_EQ(g_extswr, 150);
    EXPECT_TRUE(g_wavestarted);
    panel->SendMessage(plat::WM_CLOSE);
    EXPECT_NE(g_wavepanel, nullptr);  // closing hides it
    DestroyWavePanel();
}
