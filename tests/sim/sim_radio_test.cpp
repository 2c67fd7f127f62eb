// The simulated radio, checked through the program's serial ports and
// against an independent CI-V client (Hamlib's rigctl) where installed.
#include "sim/sim_radio.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/serial_port.h"

using sim::Bytes;
using sim::SimRadio;

namespace {

Bytes Cat(const Bytes& a, const Bytes& b) {
    Bytes out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

class SimRadioPort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(radio.ok());
        radio.start();
        plat::SerialConfig cfg;
        cfg.baud = 19200;
        port = plat::SerialOpen(radio.slavePath(), cfg);
        ASSERT_NE(port, plat::kInvalidPort);
    }
    void TearDown() override {
        plat::SerialClose(port);
        radio.stop();
    }
    // Sends one frame and returns all that came back: its echo and the
    // reply, if any. The line is settled first, so a missing reply is known
    // missing, not merely late.
    Bytes Exchange(const Bytes& frame) {
        EXPECT_EQ(plat::SerialWrite(port, frame.data(), int(frame.size())), int(frame.size()));
        EXPECT_TRUE(radio.settleLine());
        return ReadPort(port, std::size_t(plat::SerialPending(port)));
    }
    SimRadio radio{0x94, 19200};
    plat::PortHandle port = plat::kInvalidPort;
};

const Bytes kOk = {0xFE, 0xFE, 0xE0, 0x94, 0xFB, 0xFD};
const Bytes kNg = {0xFE, 0xFE, 0xE0, 0x94, 0xFA, 0xFD};

}  // namespace

TEST(SimCodec, FrequencyIsFiveBcdBytesLeastSignificantFirst) {
    std::uint8_t b[5];
    sim::HzToBcd(14025000, b);
    EXPECT_EQ(Bytes(b, b + 5), (Bytes{0x00, 0x50, 0x02, 0x14, 0x00}));
    sim::HzToBcd(100000, b);
    EXPECT_EQ(Bytes(b, b + 5), (Bytes{0x00, 0x00, 0x10, 0x00, 0x00}));
    const std::uint8_t hundred[5] = {0x00, 0x00, 0x00, 0x00, 0x01};
    EXPECT_EQ(sim::BcdToHz(hundred), 100000000);
    const std::uint8_t odd[5] = {0x89, 0x67, 0x45, 0x23, 0x01};
    EXPECT_EQ(sim::BcdToHz(odd), 123456789);
    const std::uint8_t bad[5] = {0x0A, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(sim::BcdToHz(bad), -1);
}

TEST(SimCodec, LevelIsTwoBcdBytesHighFirst) {
    std::uint8_t b[2];
    sim::IntToBcd2(255, b);
    EXPECT_EQ(Bytes(b, b + 2), (Bytes{0x02, 0x55}));
    EXPECT_EQ(sim::Bcd2ToInt(b), 255);
    const std::uint8_t bad[2] = {0x00, 0xF0};
    EXPECT_EQ(sim::Bcd2ToInt(bad), -1);
}

TEST_F(SimRadioPort, EchoesAndAnswersReads) {
    radio.setFrequency(14025000);
    Bytes req = {0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD};
    EXPECT_EQ(Exchange(req), Cat(req, {0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00, 0x50, 0x02, 0x14, 0x00, 0xFD}));
    radio.setMode(0x03, 0x02);
    req = {0xFE, 0xFE, 0x94, 0xE0, 0x04, 0xFD};
    EXPECT_EQ(Exchange(req), Cat(req, {0xFE, 0xFE, 0xE0, 0x94, 0x04, 0x03, 0x02, 0xFD}));
    radio.setMeter(0x02, 120);
    req = {0xFE, 0xFE, 0x94, 0xE0, 0x15, 0x02, 0xFD};
    EXPECT_EQ(Exchange(req), Cat(req, {0xFE, 0xFE, 0xE0, 0x94, 0x15, 0x02, 0x01, 0x20, 0xFD}));
    req = {0xFE, 0xFE, 0x94, 0xE0, 0x1C, 0x00, 0xFD};
    EXPECT_EQ(Exchange(req), Cat(req, {0xFE, 0xFE, 0xE0, 0x94, 0x1C, 0x00, 0x00, 0xFD}));
    req = {0xFE, 0xFE, 0x94, 0xE0, 0x1A, 0x06, 0xFD};
    EXPECT_EQ(Exchange(req), Cat(req, {0xFE, 0xFE, 0xE0, 0x94, 0x1A, 0x06, 0x00, 0x00, 0xFD}));
}

TEST_F(SimRadioPort, AppliesSetsAndAcknowledges) {
    Bytes set = {0xFE, 0xFE, 0x94, 0xE0, 0x05, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD};
    EXPECT_EQ(Exchange(set), Cat(set, kOk));
    EXPECT_EQ(radio.frequency(), 14074000);
    set = {0xFE, 0xFE, 0x94, 0xE0, 0x06, 0x03, 0x01, 0xFD};
    EXPECT_EQ(Exchange(set), Cat(set, kOk));
    EXPECT_EQ(radio.mode(), 0x03);
    set = {0xFE, 0xFE, 0x94, 0xE0, 0x14, 0x01, 0x02, 0x55, 0xFD};
    EXPECT_EQ(Exchange(set), Cat(set, kOk));
    EXPECT_EQ(radio.level(0x01), 255);
    set = {0xFE, 0xFE, 0x94, 0xE0, 0x16, 0x22, 0x01, 0xFD};
    EXPECT_EQ(Exchange(set), Cat(set, kOk));
    EXPECT_EQ(radio.switchState(0x22), 1);
    set = {0xFE, 0xFE, 0x94, 0xE0, 0x07, 0x01, 0xFD};
    EXPECT_EQ(Exchange(set), Cat(set, kOk));
    EXPECT_EQ(radio.selectedVfo(), 1);
    set = {0xFE, 0xFE, 0x94, 0xE0, 0x0F, 0x01, 0xFD};
    EXPECT_EQ(Exchange(set), Cat(set, kOk));
    EXPECT_TRUE(radio.split());
    set = {0xFE, 0xFE, 0x94, 0xE0, 0x1C, 0x00, 0x01, 0xFD};
    EXPECT_EQ(Exchange(set), Cat(set, kOk));
    EXPECT_EQ(radio.transmitting(), 1);
}

TEST_F(SimRadioPort, RefusesWhatItCannotDo) {
    // Unknown command, level above 255, bad BCD, meter write.
    for (const Bytes& f : {Bytes{0xFE, 0xFE, 0x94, 0xE0, 0x99, 0xFD},
                           Bytes{0xFE, 0xFE, 0x94, 0xE0, 0x14, 0x01, 0x02, 0x56, 0xFD},
                           Bytes{0xFE, 0xFE, 0x94, 0xE0, 0x05, 0x0A, 0x40, 0x07, 0x14, 0x00, 0xFD},
                           Bytes{0xFE, 0xFE, 0x94, 0xE0, 0x15, 0x02, 0x00, 0x10, 0xFD}}) {
        EXPECT_EQ(Exchange(f), Cat(f, kNg));
    }
    EXPECT_EQ(radio.level(0x01), -1);
    EXPECT_EQ(radio.frequency(), 14074000);
}

TEST_F(SimRadioPort, AnswersTheBroadcastIdRequest) {
    Bytes req = {0xFE, 0xFE, 0x00, 0xE0, 0x19, 0x00, 0xFD};
    EXPECT_EQ(Exchange(req), Cat(req, {0xFE, 0xFE, 0xE0, 0x94, 0x19, 0x00, 0x94, 0xFD}));
}

TEST_F(SimRadioPort, OtherAddressIsEchoedButNotAnswered) {
    Bytes req = {0xFE, 0xFE, 0x5C, 0xE0, 0x03, 0xFD};
    EXPECT_EQ(Exchange(req), req);
}

TEST_F(SimRadioPort, AnswersOnlyAtItsOwnBaud) {
    ASSERT_TRUE(plat::SerialSetBaud(port, 9600));
    EXPECT_EQ(radio.portBaud(), 9600);
    Bytes req = {0xFE, 0xFE, 0x00, 0xE0, 0x19, 0x00, 0xFD};
    EXPECT_EQ(Exchange(req), req);
    ASSERT_TRUE(plat::SerialSetBaud(port, 19200));
    EXPECT_EQ(Exchange(req), Cat(req, {0xFE, 0xFE, 0xE0, 0x94, 0x19, 0x00, 0x94, 0xFD}));
}

TEST_F(SimRadioPort, SkipsNoiseAndAssemblesFramesSentInPieces) {
    Bytes noise = {0x00, 0x13, 0xFD, 0xFE};
    ASSERT_EQ(plat::SerialWrite(port, noise.data(), int(noise.size())), 4);
    Bytes part1 = {0xFE, 0xFE, 0x94, 0xE0};
    Bytes part2 = {0x03, 0xFD};
    ASSERT_EQ(plat::SerialWrite(port, part1.data(), 4), 4);
    ASSERT_TRUE(radio.settleLine());  // the first piece is in before the second goes
    ASSERT_EQ(plat::SerialWrite(port, part2.data(), 2), 2);
    Bytes got = ReadPort(port, 4 + 6 + 11);
    ASSERT_EQ(got.size(), 21u);
    EXPECT_EQ(Bytes(got.begin() + 10, got.end()),
              (Bytes{0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD}));
    ASSERT_TRUE(radio.waitFrames(1));
    EXPECT_EQ(radio.frames().size(), 1u);
}

TEST_F(SimRadioPort, FaultsCanBeInjected) {
    Bytes req = {0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD};
    radio.setEcho(false);
    EXPECT_EQ(Exchange(req).size(), 11u);
    radio.setEcho(true);
    radio.replyNg(1);
    EXPECT_EQ(Exchange(req), Cat(req, kNg));
    radio.setAnswering(false);
    EXPECT_EQ(Exchange(req), req);
    radio.setAnswering(true);
    radio.setSplitWrites(true);
    EXPECT_EQ(Exchange(req).size(), 17u);
    radio.sendCollision(3);
    EXPECT_EQ(ReadPort(port, 3), (Bytes{0xFC, 0xFC, 0xFC}));
    radio.sendGarbage({0x12, 0xFD});
    EXPECT_EQ(ReadPort(port, 2), (Bytes{0x12, 0xFD}));
}

TEST_F(SimRadioPort, SendsTransceiveFrames) {
    radio.setFrequency(7074000);
    radio.setMode(0x00, 0x02);
    radio.sendTransceiveFrequency();
    radio.sendTransceiveMode();
    EXPECT_EQ(ReadPort(port, 19), (Bytes{0xFE, 0xFE, 0x00, 0x94, 0x00, 0x00, 0x40, 0x07, 0x07, 0x00, 0xFD,  //
                                        0xFE, 0xFE, 0x00, 0x94, 0x01, 0x00, 0x02, 0xFD}));
}

TEST_F(SimRadioPort, PortCanBeClosedAndReopened) {
    plat::SerialClose(port);
    port = plat::SerialOpen(radio.slavePath(), plat::SerialConfig{});
    ASSERT_NE(port, plat::kInvalidPort);
    Bytes req = {0xFE, 0xFE, 0x94, 0xE0, 0x19, 0x00, 0xFD};
    EXPECT_EQ(Exchange(req).size(), 15u);
}

namespace {
bool HaveRigctl() { return std::system("command -v rigctl >/dev/null 2>&1") == 0; }

std::string Run(const std::string& cmd) {
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return out;
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
    return out;
}

bool HasFrame(const std::vector<Bytes>& frames, const Bytes& f) {
    for (const Bytes& x : frames)
        if (x == f) return true;
    return false;
}

void RigctlSession(int model, std::uint8_t address, const Bytes& setFreq, const Bytes& setMode) {
    ASSERT_TRUE(HaveRigctl()) << "rigctl is not installed (scripts/install-deps installs libhamlib-utils)";
    SimRadio radio(address, 19200);
    ASSERT_TRUE(radio.ok());
    radio.setFrequency(7074000);
    radio.setMode(0x03, 0x01);
    radio.start();
    std::string out = Run("timeout 20 rigctl -m " + std::to_string(model) + " -r " + radio.slavePath() +
                          " -s 19200 f m F 14074000 M USB 2400 f m 2>/dev/null");
    radio.stop();
    EXPECT_EQ(out, "7074000\nCW\n3600\n14074000\nUSB\n2400\n");
    EXPECT_EQ(radio.frequency(), 14074000);
    EXPECT_EQ(radio.mode(), 0x01);
    auto frames = radio.frames();
    EXPECT_TRUE(HasFrame(frames, setFreq));
    EXPECT_TRUE(HasFrame(frames, setMode));
}
}  // namespace

// The bytes are those recorded in rigctl_frames.txt.
TEST(SimRadioRigctl, OlderModelSetsWithCommands05And06) {
    RigctlSession(3027, 0x5C, {0xFE, 0xFE, 0x5C, 0xE0, 0x05, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD},
                  {0xFE, 0xFE, 0x5C, 0xE0, 0x06, 0x01, 0x02, 0xFD});
}

TEST(SimRadioRigctl, Ic7300SetsWithSelectedVfoCommands) {
    RigctlSession(3073, 0x94, {0xFE, 0xFE, 0x94, 0xE0, 0x25, 0x00, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD},
                  {0xFE, 0xFE, 0x94, 0xE0, 0x26, 0x00, 0x01, 0x00, 0x01, 0xFD});
}
