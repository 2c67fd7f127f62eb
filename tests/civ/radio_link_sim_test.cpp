// The radio link against the simulated radio: pacing, echo release, replies,
// and the frame bytes cross-checked with an independent CI-V client.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "civ/civ_frame.h"
#include "civ/link_fixture.h"
#include "common/sim_steps.h"
#include "sim/sim_radio.h"

using plat::manual_clock::Advance;

namespace {
struct SimLink : LinkBase {
    sim::SimRadio radio;

    explicit SimLink(std::uint8_t address = 0x94) : radio(address, 19200) {
        g_radioadr = address;
        g_baud = 19200;
        radio.start();
        open(radio.slavePath());
    }
    ~SimLink() { radio.stop(); }
    // Device-poll ticks, the line settled after each, until `done` or
    // `ticks` ran out.
    bool Pump(const std::function<bool()>& done, int ticks = 200) {
        simsteps::RunUntil(done, ticks * simsteps::kStepMs, {&radio});
        return done();
    }
};

Bytes FreqFrame(std::uint8_t cmd, std::initializer_list<std::uint8_t> sub, double mhz) {
    Bytes f(4);
    BuildCivHeader(f.data());
    f.push_back(cmd);
    f.insert(f.end(), sub);
    std::uint8_t bcd[5];
    EXPECT_TRUE(FrequencyToBcd(mhz, bcd));
    f.insert(f.end(), bcd, bcd + 5);
    f.push_back(0xFD);
    return f;
}
}  // namespace

TEST(RadioLinkSim, PacedFramesLeaveOnePerTick) {
    SimLink link;
    link.radio.setAnswering(false);  // echo only: nothing hurries the queue
    const Bytes a = Frame({0x03}), b = Frame({0x04}), c = FreqFrame(0x05, {}, 14.074);
    Put(a);
    Put(b);
    Put(c);
    for (std::size_t k = 1; k <= 3; ++k) {
        Advance(k == 1 ? 0 : 50);  // the first at once, then one per tick
        ASSERT_TRUE(link.radio.settleLine());  // all that was written has been taken in
        EXPECT_EQ(link.radio.frames().size(), k);
    }
    EXPECT_EQ(link.radio.frames(), (std::vector<Bytes>{a, b, c}));
    EXPECT_TRUE(SendQueueEmpty());
}

TEST(RadioLinkSim, EchoesReleaseFramesInEchoMode) {
    SimLink link;
    g_sendpaced = 0;
    const Bytes a = FreqFrame(0x05, {}, 14.074), b = Frame({0x06, 0x01, 0x02}), c = Frame({0x03});
    Put(a);
    Put(b);
    Put(c);
    ASSERT_TRUE(link.Pump([] { return SendQueueEmpty(); }));
    ASSERT_TRUE(link.radio.waitFrames(3, 1000));
    EXPECT_EQ(link.radio.frames(), (std::vector<Bytes>{a, b, c}));  // each written once
    EXPECT_EQ(link.traced("Increment queue echoback"), 3);
    EXPECT_EQ(link.radio.frequency(), 14074000);
    EXPECT_EQ(link.radio.mode(), 0x01);
    EXPECT_EQ(link.radio.filter(), 0x02);
    // The frequency reply of the last request is cut and routed.
    ASSERT_TRUE(link.Pump([&] { return link.traced("Good Message 3") >= 3; }));
    EXPECT_GE(g_radioheard, 1);
}

TEST(RadioLinkSim, MissingEchoDoesNotStallTheRing) {
    SimLink link;
    g_sendpaced = 0;
    link.radio.setEcho(false);
    const Bytes a = Frame({0x03}), b = Frame({0x04});
    Put(a);
    Put(b);
    // The radio still answers each write, and each answer sends the unechoed
    // head again; the bound ends it.
    ASSERT_TRUE(link.Pump([] { return SendQueueEmpty(); }, 400));
    EXPECT_EQ(link.traced("no echo after 10 writes, frame dropped"), 2);
    ASSERT_TRUE(link.radio.waitFrames(2 * kMaxEchoWrites, 1000));
    auto frames = link.radio.frames();
    ASSERT_EQ(frames.size(), std::size_t(2 * kMaxEchoWrites));
    EXPECT_EQ(frames.front(), a);
    EXPECT_EQ(frames.back(), b);
}

TEST(RadioLinkSim, RepliesInPiecesAndNoise) {
    SimLink link;
    link.radio.setSplitWrites(true);
    Put(Frame({0x03}));
    Put(Frame({0x04}));
    Advance(50);
    // Frequency and mode replies, one byte per write.
    ASSERT_TRUE(link.Pump([&] { return link.traced("Good Message 3") >= 2; }));
    EXPECT_TRUE(SendQueueEmpty());  // the reply to 03 sent 04 at once
    const int before = link.traced("Good Message 3");
    link.radio.sendCollision(8);
    link.radio.sendGarbage({0x13, 0xFE, 0x00, 0xFD, 0xFE, 0xFE, 0x42});
    link.radio.sendTransceiveFrequency();
    ASSERT_TRUE(link.Pump([&] { return link.traced("Good Message 3") > before; }));
    link.Pump([] { return false; }, 5);
    EXPECT_EQ(link.traced("Good Message 3"), before + 1);
}

// The frames of the program's encoders equal those of Hamlib's rigctl for
// the same requests, recorded live against the simulated radio.
namespace {
bool HaveRigctl() { return std::system("command -v rigctl >/dev/null 2>&1") == 0; }

std::vector<Bytes> RigctlFrames(int model, std::uint8_t address, const std::string& commands) {
    sim::SimRadio radio(address, 19200);
    radio.start();
    std::string cmd = "timeout 20 rigctl -m " + std::to_string(model) + " -r " + radio.slavePath() + " -s 19200 " +
                      commands + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    radio.stop();
    return radio.frames();
}

bool Has(const std::vector<Bytes>& frames, const Bytes& f) {
    for (const Bytes& x : frames)
        if (x == f) return true;
    return false;
}
}  // namespace

TEST(RadioLinkSim, FramesEqualRigctls) {
    ASSERT_TRUE(HaveRigctl()) << "rigctl is not installed (scripts/install-deps installs libhamlib-utils)";
    TestDir dir;
    g_myaddr = 0xE0;

    // IC-756PRO: frequency with 05, mode with 06 and a filter byte.
    g_radiotype = 0;
    g_civindex = 207;
    FixRadioType();
    SetRadioAddress(19200);
    auto frames = RigctlFrames(3027, 0x5C, "F 14074000 M USB 2400 L RFPOWER 0.5 L SQL 0.2");
    EXPECT_TRUE(Has(frames, FreqFrame(0x05, {}, 14.074)));
    ModeFilterState s;
    s.radioType = g_radiotype;
    std::uint8_t mode[8];
    const int n = BuildModeFrame(mode, CivModeByte('0'), ModeFilterByte(CivModeByte('0'), 2, s));
    EXPECT_TRUE(Has(frames, Bytes(mode, mode + n)));
    auto level = [](std::uint8_t sub, int value) {
        Bytes f(4);
        BuildCivHeader(f.data());
        std::uint8_t lv[2];
        LevelToBcd(value, lv);
        f.insert(f.end(), {0x14, sub, lv[0], lv[1], 0xFD});
        return f;
    };
    EXPECT_TRUE(Has(frames, level(0x0A, 50 * 255 / 100)));  // transmit power 50 %
    EXPECT_TRUE(Has(frames, level(0x03, 51)));              // squelch 0.2 of 255

    // IC-7300: frequency of the selected VFO with 25 00.
    g_radiotype = 23;
    FixRadioType();
    SetRadioAddress(19200);
    frames = RigctlFrames(3073, 0x94, "F 14074000");
    EXPECT_TRUE(Has(frames, FreqFrame(0x25, {0x00}, 14.074)));
}
