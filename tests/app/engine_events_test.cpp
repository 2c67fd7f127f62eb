// The engine's announcements, questions and operator notices: what reaches
// the station above it, in which order, and that an engine with nobody
// listening still runs.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/engine_wiring.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "civ/engine_events.h"
#include "civ/engine_options.h"
#include "civ/frame_reader.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/reply_processing.h"
#include "civ/reply_slots.h"
#include "civ/reply_store.h"
#include "civ/send_queue.h"
#include "civ/setter_fixture.h"
#include "civ/setter_frames.h"
#include "civ/station_queries.h"
#include "platform/message_box.h"
#include "platform/types.h"

namespace {
// Writes down what it hears, one line per announcement.
struct Recorder : EngineListener {
    std::vector<std::string> heard;
    bool takeMemoryFrequency = false;
    void Note(const char* what, double mhz) {
        char line[64];
        std::snprintf(line, sizeof line, "%s %.3f", what, mhz);
        heard.emplace_back(line);
    }
    void AntennaFrequency(double mhz) override { Note("antenna", mhz); }
    void BandChanged() override { heard.emplace_back("band"); }
    void StationFrequency(double mhz) override { Note("station", mhz); }
    void SweepFrequency(double mhz) override { Note("sweep", mhz); }
    void SecondReceiverMute(int how) override { heard.push_back("mute " + std::to_string(how)); }
    void CatOutText(const std::uint8_t* text, int length, bool allPorts) override {
        heard.push_back("catout " + std::string(reinterpret_cast<const char*>(text), std::size_t(length)) +
                        (allPorts ? " all" : ""));
    }
    void StopSweep() override { heard.emplace_back("stop sweep"); }
    void FrameToPartner(const std::uint8_t*, int length) override {
        heard.push_back("partner " + std::to_string(length));
    }
    bool MemoryFrequency(double mhz) override {
        Note("memory", mhz);
        return takeMemoryFrequency;
    }
};

// A server whose logged-on client operates the radio.
struct ClientOperates : StationQueries {
    bool RemoteOperatorActive() override { return true; }
};

struct EngineEvents : ::testing::Test {
    Captured link{0};  // IC-756PRO
    Recorder recorder;

    EngineEvents() {
        g_radioadr = 0x5C;
        g_allowed = 1;
        AddEngineListener(&recorder);
    }
    ~EngineEvents() override { RemoveEngineListener(&recorder); }
    std::vector<Bytes> Sent() { return link.frames(); }
    void Reply(const Bytes& f) {
        ClearReplyFlags();
        StoreCivReply(f.data(), int(f.size()), 0);
        ProcessCivReplies();
    }
    // The radio reports 7.100 MHz on its own (transceive).
    void FrequencyReport() { Reply({0xFE, 0xFE, 0x00, 0x5C, 0x00, 0x00, 0x00, 0x10, 0x07, 0x00, 0xFD}); }
};
}  // namespace

TEST_F(EngineEvents, FrequencyReportReachesTheStationOnceEachInOrder) {
    g_vfoafreq = 14.025;
    g_pegportsel = 1;  // band decoder on
    g_denkovi = 1;     // antenna outputs on
    FrequencyReport();
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"station 7.100", "band", "antenna 7.100"}));
    // A radio server's own antennas follow its client, not the radio's reports.
    recorder.heard.clear();
    g_radioserver = 1;
    Reply({0xFE, 0xFE, 0x00, 0x5C, 0x00, 0x00, 0x00, 0x20, 0x07, 0x00, 0xFD});
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"station 7.200", "band"}));
}

TEST_F(EngineEvents, TuningAnnouncesSweepAntennaBandAndStationInTheOldOrder) {
    g_vfoafreq = 14.025;
    g_pegportsel = 1;
    g_sweeprunning = 1;
    SetRadioFrequencies();
    // The sweep marker moves first; the station name waits until the sweep ends.
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"sweep 14.025", "antenna 14.025", "band"}));
    recorder.heard.clear();
    g_sweeprunning = 0;
    SetRadioFrequencies();
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"antenna 14.025", "band", "station 14.025"}));
}

TEST_F(EngineEvents, TransmitStartsAndEndsOnCatOutAndTheSecondReceiver) {
    g_thp = 1;
    g_txenable = 1;
    g_sweeprunning = 1;
    BeginTransmit();
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"mute 0", "stop sweep"}));
    EXPECT_EQ(g_sweeprunning, 0);
    EXPECT_EQ(g_sweeppause, 1);
    recorder.heard.clear();
    g_sweeppause = 0;
    g_transmitmarker = 0;
    BeginTransmit();
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"mute 0", "catout TQ1; all"}));
}

TEST_F(EngineEvents, MemoryTransferTakesTheFrequencyReplyWhenItWants) {
    UnwireEngine();  // the recorder stands for the transfer
    g_vfoafreq = 14.025;
    g_savemem = 1;
    recorder.takeMemoryFrequency = true;
    FrequencyReport();
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"memory 7.100"}));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.025);  // the transfer's, not the VFO's
    // A channel the radio cannot tune is processed as any frequency.
    recorder.heard.clear();
    recorder.takeMemoryFrequency = false;
    FrequencyReport();
    EXPECT_DOUBLE_EQ(g_vfoafreq, 7.1);
}

TEST_F(EngineEvents, ServerWithAnOperatingClientSendsNothingAndTapsRadioFrames) {
    ClientOperates queries;
    SetStationQueries(&queries);
    g_radioserver = 1;
    SendCiv({0x03});
    EXPECT_TRUE(Sent().empty());
    // The radio's answer goes to the client, its OK stays here.
    const Bytes freq{0xFE, 0xFE, 0xE0, 0x5C, 0x03, 0x00, 0x00, 0x10, 0x07, 0x00, 0xFD};
    const Bytes ok{0xFE, 0xFE, 0xE0, 0x5C, 0xFB, 0xFD};
    ProcessRadioBytes(freq.data(), int(freq.size()));
    ProcessRadioBytes(ok.data(), int(ok.size()));
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"partner 11"}));
    SetStationQueries(nullptr);
    EXPECT_FALSE(Ask().RemoteOperatorActive());
}

TEST_F(EngineEvents, NobodyListeningTheEngineStillRuns) {
    UnwireEngine();
    RemoveEngineListener(&recorder);
    g_vfoafreq = 14.025;
    g_pegportsel = 1;
    g_denkovi = 1;
    g_thp = 1;
    g_txenable = 1;
    g_sweeprunning = 1;
    FrequencyReport();
    EXPECT_DOUBLE_EQ(g_vfoafreq, 7.1);
    SetRadioFrequencies();
    BeginTransmit();
    ResumeMemoryScan();  // no station list: no scan
    EXPECT_EQ(g_memscan, 0);
    g_savemem = 1;
    FrequencyReport();
    InitRadio();
    EXPECT_EQ(g_savemem, 0);
    EXPECT_FALSE(Sent().empty());  // the radio still got its frames
    const std::size_t boxes = plat::message_box_script::History().size();
    EXPECT_EQ(TellOperator({"text", "caption", plat::MB_OK}), 0);
    EXPECT_EQ(plat::message_box_script::History().size(), boxes);
    EXPECT_TRUE(recorder.heard.empty());
}

TEST_F(EngineEvents, OperatorNoticesShowTheSameBoxes) {
    plat::message_box_script::Clear();
    ShowTransverterBox("Turn off Transverter");
    ShowPortError("COM port ", "/dev/qarv-none");
    const auto& shown = plat::message_box_script::History();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Turn off Transverter");
    EXPECT_EQ(shown[0].caption, "Transverter");
    EXPECT_EQ(shown[0].type, unsigned(plat::MB_OK));
    EXPECT_NE(shown[1].text.find("/dev/qarv-none"), std::string::npos);
    EXPECT_EQ(shown[1].type, unsigned(plat::MB_OK));
    // The answer of the box is the notice's answer.
    plat::message_box_script::PushAnswer(plat::IDCANCEL);
    EXPECT_EQ(TellOperator({"Go on?", "Question", plat::MB_OKCANCEL}), plat::IDCANCEL);
}

TEST_F(EngineEvents, ListenersHearInTheOrderTheyCameAndOnce) {
    Recorder second;
    AddEngineListener(&second);
    AddEngineListener(&recorder);  // already there: not twice
    std::vector<std::string> order;
    struct Tagged : EngineListener {
        std::vector<std::string>* out;
        const char* tag;
        void BandChanged() override { out->push_back(tag); }
    } a, b;
    a.out = b.out = &order;
    a.tag = "a";
    b.tag = "b";
    AddEngineListener(&a);
    AddEngineListener(&b);
    Announce().BandChanged();
    EXPECT_EQ(order, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"band"}));
    EXPECT_EQ(second.heard, (std::vector<std::string>{"band"}));
    RemoveEngineListener(&a);
    RemoveEngineListener(&b);
    RemoveEngineListener(&second);
    Announce().BandChanged();
    EXPECT_EQ(order.size(), 2u);
    EXPECT_EQ(second.heard.size(), 1u);
}
