// The keypad pod: its record parser, and the pod on a simulated line
// driving the program against the simulated radio.
#include <gtest/gtest.h>

#include "base/device_options.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "devices/control_surfaces.h"
#include "devices/function_table.h"
#include "devices/key_events.h"
#include "devices/keypad_pod.h"
#include "devices/surface_keys.h"
#include "panel/swl_panel.h"
#include "platform/types.h"
#include "sim/sim_surfaces.h"
#include "surface_app.h"
#include "surface_ends.h"

namespace {
PodRecords Feed(PodParser& p, const std::vector<std::uint8_t>& bytes) {
    PodRecords r;
    p.Feed(bytes.data(), int(bytes.size()), r);
    return r;
}
}  // namespace

TEST(PodParser, KeysAndKnobRecords) {
    PodParser p;
    PodRecords r = Feed(p, {0x55, 0x31, 0x0D, 0x55, 0xB1, 0x0D});
    EXPECT_EQ(r.keys, (std::vector<std::uint8_t>{0x55, 0x31, 0x0D, 0x55, 0xB1, 0x0D}));
    r = Feed(p, {'!', 0, 1, 0, 0, '!', 0, 1, 0, 0});
    EXPECT_EQ(r.knobRecords, 2);
    EXPECT_EQ(PodKnobStep(r, 3), 6);
    r = Feed(p, {'!', 0xFF, 0xFE, 0, 0});
    EXPECT_EQ(PodKnobStep(r, 3), -2);
}

TEST(PodParser, RecordsSplitAcrossReadsAreCompleted) {
    PodParser p;
    // A release cut after its code byte.
    PodRecords r = Feed(p, {'U', 0x31, '\r', 'U', 0xB1});
    EXPECT_EQ(r.keys.size(), 3u);
    EXPECT_EQ(p.Carried(), 2);
    r = Feed(p, {'\r'});
    EXPECT_EQ(r.keys, (std::vector<std::uint8_t>{'U', 0xB1, '\r'}));
    // A knob count of 0x55 in a cut record is a count, not a key.
    r = Feed(p, {'!', 0x00});
    r = Feed(p, {0x55, 0, 0});
    EXPECT_TRUE(r.keys.empty());
    EXPECT_EQ(r.knobSum, 0x55);
}

TEST(PodParser, NoiseNeverBecomesAKey) {
    PodParser p;
    PodRecords r = Feed(p, {'x', 'U', 0x31, 'y', 0x00, 0xFF, 'U', 0x32, '\r'});
    EXPECT_EQ(r.keys, (std::vector<std::uint8_t>{'U', 0x32, '\r'}));
    // Counts add up within 16 bits.
    r = Feed(p, {'!', 0x7F, 0xFF, 0, 0, '!', 0x7F, 0xFF, 0, 0});
    EXPECT_EQ(r.knobSum, 32767);
    EXPECT_EQ(PodKnobStep(r, 10), 32767);
    EXPECT_TRUE(ContainsText(reinterpret_cast<const std::uint8_t*>("a\0RADIO"), 7, "RADIO"));
    EXPECT_FALSE(ContainsText(reinterpret_cast<const std::uint8_t*>("RADI"), 4, "RADIO"));
}

TEST(KeypadPod, KnobRecordsTuneTheRadioAndKeysReachTheirFunctions) {
    sim::SimPod pod;
    PodEnd podIn(pod);
    SurfaceApp qarv;
    ASSERT_TRUE(pod.link(qarv.dir.file("ports/com2")));
    qarv.start("PEGASUS COMPORT=COM2\n", "HIGH SPEED TUNING FACTOR=3\n");
    ASSERT_NE(g_pegasusport, plat::kInvalidPort);
    EXPECT_EQ(pod.portBaud(), 57600);
    const long long f0 = qarv.radio.frequency(0);
    podIn.knob(3);
    EXPECT_TRUE(qarv.waitForFrequency(f0 + 3000));
    // Two records in one read: the high-speed factor.
    podIn.send({'!', 0, 1, 0, 0, '!', 0, 1, 0, 0});
    EXPECT_TRUE(qarv.waitForFrequency(f0 + 9000));
    // "Knob A/B Toggle" on function key 1, then the knob tunes VFO B.
    SelectSlotText(0, "Knob A/B Toggle");
    podIn.press(17);
    podIn.release(17);
    qarv.run(100);
    EXPECT_EQ(g_knobfunction, kKnobVfoB);
    ASSERT_NE(g_swlpanel, nullptr);
    EXPECT_EQ(g_swlpanel->podKnobCaption, "VFOB");
    // A second press within the guard is dropped.
    podIn.send({'U', 17, '\r', 'U', 17 | 0x80, '\r', 'U', 17, '\r'});
    qarv.run(100);
    EXPECT_EQ(g_knobfunction, kKnobVfoA);
    // While a frequency is typed the knob rests and the keys still work.
    g_keypadtyping = 1;
    const long long f1 = qarv.radio.frequency(0);
    podIn.knob(4);
    qarv.run(300);
    EXPECT_EQ(qarv.radio.frequency(0), f1);
    podIn.press(13);
    qarv.run(100);
    EXPECT_EQ(g_keypadtyping, 0);
}

TEST(KeypadPod, GarbageAndAnUnpluggedPodLeaveTheProgramUp) {
    sim::SimPod pod;
    PodEnd podIn(pod);
    SurfaceApp qarv;
    ASSERT_TRUE(pod.link(qarv.dir.file("ports/com2")));
    qarv.start("PEGASUS COMPORT=COM2\n");
    const long long f0 = qarv.radio.frequency(0);
    // The line may carry an RX331 receiver: its start-up text goes out first.
    const auto hello = pod.written(3, realwait::kBoundMs);
    EXPECT_EQ(std::string(hello.begin(), hello.end()), "XX\r");
    std::vector<std::uint8_t> junk;
    for (int i = 0; i < 600; ++i) junk.push_back(std::uint8_t(i * 37 + 11));
    podIn.send(junk);
    qarv.run(300);
    // The receiver's greeting is answered on the same line.
    podIn.send({'R', 'A', 'D', 'I', 'O', '\r'});
    qarv.run(100);
    const auto answer = pod.written(3, realwait::kBoundMs);
    EXPECT_EQ(std::string(answer.begin(), answer.end()).substr(0, 3), "?V\r");
    EXPECT_EQ(g_podstate, 2);
    // From now on the meter tick asks the receiver for its S meter.
    qarv.run(400);
    const auto polls = pod.written(3, realwait::kBoundMs);
    EXPECT_NE(std::string(polls.begin(), polls.end()).find("?S\r"), std::string::npos);
    g_knobfunction = kKnobVfoA;
    const long long f1 = qarv.radio.frequency(0);
    podIn.knob(-2);
    EXPECT_TRUE(qarv.waitForFrequency(f1 - 2000));
    pod.unplug();
    qarv.run(300);
    EXPECT_EQ(g_pegasusport, plat::kInvalidPort);
    // Page Up and the wheel still tune.
    g_mainwin->SendMessage(plat::WM_COMMAND, 150, 0);
    EXPECT_TRUE(qarv.waitForFrequency(f1 - 1000));
    g_mousewheel = 1;
    g_mainwin->SendMessage(plat::WM_MOUSEWHEEL, plat::WPARAM(120) << 16, 0);
    EXPECT_TRUE(qarv.waitForFrequency(f1));
    g_mainwin->SendMessage(plat::WM_MOUSEWHEEL, plat::WPARAM(0xFFFF - 239) << 16, 0);  // two notches down
    EXPECT_TRUE(qarv.waitForFrequency(f1 - 2000));
    (void)f0;
}
