// Save and restore of the radio's own memories against the simulated radio:
// the frames per channel, the file's lines, banks, names and split on the
// banked radio, and no failure that leaves a backup file empty.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/main_frame.h"
#include "app/tuning_wiring.h"
#include "base/memory_options.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/link_fixture.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "common/sim_steps.h"
#include "memories/radio_memories.h"
#include "panel/swl_panel.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "sim/sim_radio.h"

namespace {
// A radio answers within milliseconds, long before the transfer's next
// step; the simulated radio answers on a thread of its own. Each step
// therefore first lets the queued frames out, the line settled after each,
// and reads the answers until nothing more is on the line.
void SettleRadio(const sim::SimRadio& radio) {
    for (int i = 0; i < 400; ++i) {
        if (!SendQueueEmpty()) OnSendQueueTimer();
        radio.settleLine();
        const bool answers = g_radioport != plat::kInvalidPort && plat::SerialPending(g_radioport) > 0;
        if (answers) ReadRadioPort();
        else if (SendQueueEmpty()) break;
    }
}

class TransferWindow : public EngineWindow {
public:
    const sim::SimRadio* radio = nullptr;
    bool Extra(unsigned id) override {
        if (id != TIMER_MEM_TRANSFER) return false;
        if (radio) SettleRadio(*radio);
        RadioMemoryStep();
        return true;
    }
};

struct SimTransfer : LinkBase {
    sim::SimRadio radio{0x94, 19200};
    TransferWindow engine;
    CSwlPanel panel;

    explicit SimTransfer(int type = 23) {
        g_timerwindow = &engine;
        engine.radio = &radio;
        g_radiotype = type;
        g_7600fw2 = type == 23;
        g_baud = 19200;
        g_swlpanel = &panel;
        WireTuningView();
        g_vfoafreq = panel.vfoAFreq = 14.074;
        g_vfobfreq = panel.vfoBFreq = 14.074;
        g_muted = 1;  // nothing to mute in the test
        radio.start();
        open(radio.slavePath());
    }
    ~SimTransfer() {
        radio.stop();
        engine.KillTimer(TIMER_DEVICE_POLL);
        engine.KillTimer(TIMER_SENDQ);
        engine.KillTimer(TIMER_MEM_TRANSFER);
        g_swlpanel = nullptr;
    }
    // Runs the clock, the radio's line settled after each step, until the
    // transfer ends.
    void RunTransfer(int maxMs = 200000) {
        simsteps::RunUntil([] { return g_savemem == 0 && SendQueueEmpty(); }, maxMs, {&radio});
    }
    void Run(int ms) { simsteps::Run(ms, {&radio}); }
};

sim::SimRadio::Memory Mem(long long hz, std::uint8_t mode, std::uint8_t filter, const std::string& name = "",
                          long long tx = 0) {
    sim::SimRadio::Memory m;
    m.hz = hz;
    m.mode = mode;
    m.filter = filter;
    m.name = name;
    m.txHz = tx;
    return m;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
}  // namespace

TEST(RadioMemoryFormat, ModeWordsChannelsAndBcd) {
    EXPECT_STREQ(MemoryModeWord(0x07), "CWR");
    EXPECT_STREQ(MemoryModeWord(0x17), "DV");
    EXPECT_STREQ(MemoryModeWord(0x09), "");
    EXPECT_EQ(MemoryModeChar("DV"), 0x17);  // DV stays DV
    EXPECT_EQ(MemoryModeChar("PSKR"), ':');
    EXPECT_EQ(MemoryModeChar("XYZ"), '4');  // unknown words give AM
    std::uint8_t b[2];
    ChannelBcd(12, b);
    EXPECT_EQ(b[0], 0x00);
    EXPECT_EQ(b[1], 0x12);
    ChannelBcd(150, b);
    EXPECT_EQ(b[0], 0x01);
    EXPECT_EQ(b[1], 0x50);
}

TEST(RadioMemorySave, ProgrammedChannelsOnlyOneLineEach) {
    SimTransfer s;
    s.radio.setMemory(1, Mem(7025000, 0x03, 1));
    s.radio.setMemory(2, Mem(14200000, 0x01, 2));
    s.radio.setMemory(5, Mem(3650000, 0x00, 3));
    const std::string file = s.dir.file("radio.cdf");
    ASSERT_TRUE(StartRadioMemorySave(file));
    s.RunTransfer();
    EXPECT_EQ(g_savemem, 0);
    EXPECT_EQ(Slurp(file),
              "Memory 001, 7.025000,CW,1,,\r\n"
              "Memory 002,14.200000,USB,2,,\r\n"
              "Memory 005, 3.650000,LSB,3,,\r\n");
    EXPECT_FALSE(plat::FileExists(file + ".part"));
    // Each channel is selected and copied to the VFO, then asked for.
    int selects = 0;
    for (const auto& f : s.radio.frames())
        if (f.size() == 8 && f[4] == 0x08) ++selects;
    EXPECT_EQ(selects, 99);
    EXPECT_EQ(s.panel.storeCaption, "Store");
}

TEST(RadioMemorySave, SilentRadioOrAbortKeepsTheOldBackup) {
    SimTransfer s;
    const std::string file = s.dir.file("radio.cdf");
    s.dir.write("radio.cdf", "Memory 001,14.100000,CW,1,,\r\n");
    // A radio that answers nothing: no line was read, the backup stays.
    s.radio.setAnswering(false);
    ASSERT_TRUE(StartRadioMemorySave(file));
    s.RunTransfer();
    EXPECT_EQ(s.dir.read("radio.cdf"), "Memory 001,14.100000,CW,1,,\r\n");
    EXPECT_FALSE(plat::FileExists(file + ".part"));
    // An abort mid-way keeps it too, and the radio gets the program's
    // frequency back.
    s.radio.setAnswering(true);
    s.radio.setMemory(1, Mem(7025000, 0x03, 1));
    s.radio.setMemory(2, Mem(10125000, 0x03, 1));
    ASSERT_TRUE(StartRadioMemorySave(file));
    s.Run(1500);
    InitRadio();
    s.RunTransfer();
    s.Run(2000);
    EXPECT_EQ(g_savemem, 0);
    EXPECT_EQ(s.dir.read("radio.cdf"), "Memory 001,14.100000,CW,1,,\r\n");
    EXPECT_EQ(s.radio.frequency(0), 14074000);
}

TEST(RadioMemoryRestore, LinesGoIntoTheirChannels) {
    SimTransfer s;
    s.dir.write("in.cdf",
                "Memory 012,14.200000,USB,2,,\r\n"
                "\r\n"
                "Something,7.030000,CW,0,,\r\n"   // the running channel, filter 0 gives 2
                "Memory 020,,USB,1,,\r\n"        // no frequency: left out
                "Memory 021,7.040000,DV,1,,\r\n"
                "Memory 100,7.050000,CW,1,,\r\n"); // the limit: the restore ends
    plat::message_box_script::Clear();
    ASSERT_TRUE(StartRadioMemoryRestore(s.dir.file("in.cdf")));
    s.RunTransfer();
    // The line left out is named at the end.
    ASSERT_EQ(plat::message_box_script::History().size(), 1u);
    EXPECT_EQ(plat::message_box_script::History()[0].caption, "Restore Qarv Memories");
    EXPECT_EQ(plat::message_box_script::History()[0].text.substr(0, 27), "1 line was skipped: line 4.");
    sim::SimRadio::Memory m;
    ASSERT_TRUE(s.radio.memory(12, &m));
    EXPECT_EQ(m.hz, 14200000);
    EXPECT_EQ(m.mode, 0x01);
    EXPECT_EQ(m.filter, 2);
    ASSERT_TRUE(s.radio.memory(13, &m));
    EXPECT_EQ(m.hz, 7030000);
    EXPECT_EQ(m.filter, 2);
    EXPECT_FALSE(s.radio.memory(20, &m));
    ASSERT_TRUE(s.radio.memory(21, &m));
    EXPECT_EQ(m.mode, 0x17);
    EXPECT_FALSE(s.radio.memory(99, &m));
    // The end of the restore sends the program's frequency again.
    s.Run(2000);
    EXPECT_EQ(s.radio.frequency(0), 14074000);
}

// A WFM channel keeps its mode through the file: saved with its word and
// stored back with mode byte 06, not as AM.
TEST(RadioMemoryRestore, WfmRoundTripKeepsTheMode) {
    SimTransfer s;
    s.radio.setMemory(1, Mem(145000000, 0x06, 2));
    const std::string file = s.dir.file("wfm.cdf");
    ASSERT_TRUE(StartRadioMemorySave(file));
    s.RunTransfer();
    EXPECT_EQ(Slurp(file), "Memory 001,145.000000,WFM,2,,\r\n");
    s.radio.setMemory(1, Mem(7025000, 0x03, 1));
    ASSERT_TRUE(StartRadioMemoryRestore(file));
    s.RunTransfer();
    sim::SimRadio::Memory m;
    ASSERT_TRUE(s.radio.memory(1, &m));
    EXPECT_EQ(m.mode, 0x06);
}

TEST(RadioMemoryRestore, ALineTooLongEndsTheRestoreAndIsNamed) {
    SimTransfer s;
    s.dir.write("in.cdf", "Memory 001,95.000000,FM,1,,\n"       // outside the radio's range
                          "Memory 002,7.030000,CW,1,,\n" +
                              std::string(300, 'X') + "\n"
                              "Memory 004,7.040000,CW,1,,\n");  // after the end: not read
    plat::message_box_script::Clear();
    ASSERT_TRUE(StartRadioMemoryRestore(s.dir.file("in.cdf")));
    s.RunTransfer();
    sim::SimRadio::Memory m;
    EXPECT_FALSE(s.radio.memory(1, &m));
    EXPECT_TRUE(s.radio.memory(2, &m));
    EXPECT_FALSE(s.radio.memory(4, &m));
    ASSERT_EQ(plat::message_box_script::History().size(), 1u);
    const std::string text = plat::message_box_script::History()[0].text;
    EXPECT_EQ(text.substr(0, 27), "1 line was skipped: line 1.");
    EXPECT_NE(text.find("The read stopped at line 3: it is too long."), std::string::npos) << text;
}

TEST(RadioMemoryBanks, SaveWritesBanksNamesAndSplit) {
    SimTransfer s(13);
    s.radio.setMemoryBanks(true);
    g_membank = 2;  // bank B only
    s.radio.setMemory(3, Mem(14250000, 0x01, 1, "NET", 14300000), 2);
    s.radio.setMemory(4, Mem(7100000, 0x00, 1, "LOCAL"), 2);
    s.radio.setMemory(4, Mem(3600000, 0x00, 1, "OTHER"), 1);  // another bank
    const std::string file = s.dir.file("banks.cdf");
    ASSERT_TRUE(StartRadioMemorySave(file));
    s.RunTransfer();
    EXPECT_EQ(Slurp(file),
              "Bank B\r\n"
              "Memory 003,14.250000,USB,1,NET,14.300000,\r\n"
              "Memory 004, 7.100000,LSB,1,LOCAL,\r\n");
}

TEST(RadioMemoryBanks, RestoreWritesNameAndSplitBack) {
    SimTransfer s(13);
    s.radio.setMemoryBanks(true);
    g_membank = 0;
    s.dir.write("in.cdf",
                "Bank C\r\n"
                "Memory 007,14.250000,USB,1,NET,14.300000,\r\n"
                "Bank F\r\n"
                "Memory 008,7.100000,LSB,1,,\r\n"
                "Clear\r\n");
    s.radio.setMemory(9, Mem(3600000, 0x00, 1, "OLD"), 3);
    ASSERT_TRUE(StartRadioMemoryRestore(s.dir.file("in.cdf")));
    s.RunTransfer();
    sim::SimRadio::Memory m;
    ASSERT_TRUE(s.radio.memory(7, &m, 3));
    EXPECT_EQ(m.hz, 14250000);
    EXPECT_EQ(m.name, "NET");
    EXPECT_EQ(m.txHz, 14300000);
    ASSERT_TRUE(s.radio.memory(8, &m, 3));
    EXPECT_EQ(m.name, "");
    EXPECT_EQ(m.txHz, 0);
    EXPECT_FALSE(s.radio.memory(9, &m, 3));  // "Clear" blanked the next channel
}

TEST(RadioMemoryBanks, ForeignContentsReplyIsNotWrittenBack) {
    SimTransfer s(13);
    s.radio.setMemoryBanks(true);
    g_membank = 1;
    s.dir.write("in.cdf", "Memory 005,14.250000,USB,1,NAME,,\r\n");
    ASSERT_TRUE(StartRadioMemoryRestore(s.dir.file("in.cdf")));
    // Step until the store asked for the contents, then answer for another
    // channel: nothing may be written to the radio from it.
    simsteps::RunUntil([] { return g_memstate == 8; }, 5000, {&s.radio});
    ASSERT_EQ(g_memstate, 8);
    // The request is still queued: the radio will refuse it, and a reply
    // for another channel arrives instead.
    s.radio.setMemoryBanks(false);
    s.Run(300);
    s.radio.takeFrames();
    std::uint8_t wrong[54] = {0xFE, 0xFE, 0xE0, 0x94, 0x1A, 0x00, 0x01, 0x00, 0x06};
    wrong[53] = 0xFD;
    s.radio.sendRaw(sim::Bytes(wrong, wrong + 54));
    s.RunTransfer();
    for (const auto& f : s.radio.frames()) EXPECT_FALSE(f.size() == 54 && f[4] == 0x1A) << "wrote contents back";
    sim::SimRadio::Memory m;
    ASSERT_TRUE(s.radio.memory(5, &m, 1));
    EXPECT_EQ(m.name, "");
}

TEST(RadioMemoryRecall, SelectsTheChannelAndFollowsIt) {
    SimTransfer s;
    s.radio.setMemory(12, Mem(10125000, 0x03, 1));
    s.radio.takeFrames();
    RecallRadioMemory(12);
    s.Run(1500);
    const auto frames = s.radio.frames();
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[0], (Bytes{0xFE, 0xFE, 0x94, 0xE0, 0x08, 0x00, 0x12, 0xFD}));
    EXPECT_EQ(frames[1], (Bytes{0xFE, 0xFE, 0x94, 0xE0, 0x0A, 0xFD}));
    EXPECT_EQ(s.radio.frequency(0), 10125000);
}

TEST(RadioMemorySave, MeterAndMirrorPollsPauseDuringATransfer) {
    SimTransfer s;
    g_mirror = 1;
    g_savemem = 5;
    s.radio.takeFrames();
    PollRadio();
    PollMeters();
    s.Run(300);
    EXPECT_TRUE(s.radio.frames().empty());
    g_savemem = 0;
    PollRadio();
    s.Run(300);
    EXPECT_FALSE(s.radio.frames().empty());
}
