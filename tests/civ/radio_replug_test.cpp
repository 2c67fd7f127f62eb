// A radio unplugged and plugged in again at the same ports/com1 (a USB
// radio switched off and on): the whole program, its one-second upkeep
// reopening the port, and the simulated radio initialised again as at first
// contact. A logger's CAT-out port lost and plugged back in the same way
// answers again, with the frequency of the radio that came back.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "app/app.h"
#include "app/main_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/frame_reader.h"
#include "civ/frequency_state.h"
#include "civ/radio_port.h"
#include "common/sim_steps.h"
#include "common/test_dir.h"
#include "devices/cat_out.h"
#include "panel/radio_window.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/serial_port.h"
#include "sim/sim_radio.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

enum class Radio { Plugged, Missing };

struct ReplugStation {
    TestDir dir;
    std::unique_ptr<sim::SimRadio> radio;
    std::unique_ptr<PtyPair> logger;
    CApp app;

    explicit ReplugStation(bool withLogger = false, Radio atStart = Radio::Plugged) {
        dir.write("qarv.ini",
                  "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\n" +
                      std::string(withLogger ? "THP COMPORT=COM5\nTHP BAUD=9600\n" : "") +
                      "[OPERATING STATUS]\nQARV=23\nVFO-A FREQUENCY=14.200000\n" +
                      (withLogger ? "THP=1\n" : ""));
        if (atStart == Radio::Plugged) {
            plugRadio(14074000);
        } else {
            ::mkdir(dir.file("ports").c_str(), 0755);
            dangle("ports/com1");
        }
        if (withLogger) plugLogger();
        plat::message_box_script::Clear();
        EXPECT_TRUE(app.InitInstance());
    }
    ~ReplugStation() { app.ExitInstance(); }

    void plugRadio(long long hz) {
        radio = std::make_unique<sim::SimRadio>(0x94, 19200);
        radio->setFrequency(hz, 0);
        EXPECT_TRUE(radio->link(dir.file("ports/com1")));
        radio->start();
    }
    // The device disappears and its link dangles, as a link to an unplugged
    // USB adapter's by-id name does.
    void unplugRadio() {
        radio.reset();
        dangle("ports/com1");
    }
    void dangle(const std::string& link) const {
        ::unlink(dir.file(link).c_str());
        EXPECT_EQ(::symlink(dir.file("unplugged").c_str(), dir.file(link).c_str()), 0);
    }
    void plugLogger() {
        logger = std::make_unique<PtyPair>();
        EXPECT_TRUE(logger->link(dir.file("ports/com5")));
    }
    void unplugLogger() {
        logger.reset();
        dangle("ports/com5");
    }

    // Runs the program's clock in device-poll steps, the radio's line (when
    // it is plugged in) settled after each.
    void run(int ms) { simsteps::Run(ms, {radio.get()}); }
    // Runs until `done` holds, at most `ms` of the program's clock; returns
    // the program's time it took, or -1.
    int runUntil(const std::function<bool()>& done, int ms) { return simsteps::RunUntil(done, ms, {radio.get()}); }
    bool heard(const Bytes& body) const {
        for (const Bytes& f : radio->frames())
            if (f.size() == body.size() + 5 && std::equal(body.begin(), body.end(), f.begin() + 4)) return true;
        return false;
    }
    // The first answer the logger reads after asking `query` (the program
    // answers on its next device poll); what it was told before is dropped.
    std::string ask(const std::string& query) {
        run(100);
        logger->takeWritten();
        logger->write(Bytes(query.begin(), query.end()));
        EXPECT_TRUE(logger->delivered());
        std::string got;
        runUntil(
            [&] {
                const Bytes b = logger->takeWritten();
                got.append(b.begin(), b.end());
                return got.find(';') != std::string::npos;
            },
            1000);
        return got.substr(0, got.find(';') + 1);
    }
    // The trace log, over the files it continues in.
    std::string log() const {
        std::string all;
        for (const char* name : {"comms.txt", "comms2.txt", "comms3.txt"})
            if (dir.exists(name)) all += dir.read(name);
        return all;
    }
    int traced(const std::string& text) const {
        const std::string log = this->log();
        int n = 0;
        for (std::size_t p = log.find(text); p != std::string::npos; p = log.find(text, p + 1)) ++n;
        return n;
    }
};

long long Hz(double mhz) { return std::llround(mhz * 1e6); }

int Boxes(const std::string& text) {
    int n = 0;
    for (const auto& shown : plat::message_box_script::History())
        if (shown.text.find(text) != std::string::npos) ++n;
    return n;
}

}  // namespace

TEST(RadioReplug, ARadioPluggedBackInIsReopenedAndInitialisedAgain) {
    ReplugStation s;
    // First contact: the radio is set to the program's frequency.
    ASSERT_GE(s.runUntil([&] { return g_radioheard == 2 && s.radio->frequency(0) == Hz(g_vfoafreq); }, 20000), 0);
    const long long programHz = Hz(g_vfoafreq);
    ASSERT_NE(programHz, 7100000);
    plat::message_box_script::Clear();

    s.unplugRadio();
    s.run(1000);
    EXPECT_EQ(g_radioport, plat::kInvalidPort);
    EXPECT_EQ(s.traced("Primary port COM1 closed, retrying"), 1);
    // The radio stays away for a while: the retries are quiet.
    s.run(20000);
    EXPECT_EQ(Boxes("is defective"), 1);
    EXPECT_EQ(Boxes("Error accessing"), 0);
    EXPECT_EQ(s.traced("Primary port COM1 closed, retrying"), 1);

    // Back at the same link, at another frequency and not yet initialised.
    s.plugRadio(7100000);
    const int reopenMs = s.runUntil([&] { return g_radioport != plat::kInvalidPort; }, 10000);
    ASSERT_GE(reopenMs, 0);
    EXPECT_LE(reopenMs, 1000 * 3 + 10);
    EXPECT_EQ(s.traced("Primary port COM1 reopened"), 1);
    // Contact starts over with the start-up requests, and the radio's
    // answer initialises it: the program's frequency and AF gain reach it.
    const int initMs = s.runUntil(
        [&] { return s.radio->frequency(0) == programHz && s.radio->level(0x01) >= 0 && g_radioheard == 2; }, 5000);
    ASSERT_GE(initMs, 0) << "frequency " << s.radio->frequency(0);
    EXPECT_TRUE(s.heard({0x03}));
    EXPECT_TRUE(s.heard({0x04}));
    std::printf("reopen after %d ms of program time, initialised %d ms later\n", reopenMs, initMs);
    RecordProperty("reopen_ms", reopenMs);
    RecordProperty("initialised_ms", initMs);
}

TEST(RadioReplug, ARadioGoneWhileOnlyWrittenToIsClosedAndReopened) {
    ReplugStation s;
    ASSERT_GE(s.runUntil([&] { return g_radioheard == 2 && s.radio->frequency(0) == Hz(g_vfoafreq); }, 20000), 0);
    const long long programHz = Hz(g_vfoafreq);
    // Nothing reads the port (a box opened inside the reader keeps the pump
    // running): only the pump's writes can find the radio gone.
    g_inreader = 1;
    s.unplugRadio();
    const int closedMs = s.runUntil([] { return g_radioport == plat::kInvalidPort; }, 5000);
    ASSERT_GE(closedMs, 0) << "the pump kept writing into the dead port";
    EXPECT_EQ(s.traced("radio port write failed with error 5, port closed"), 1);
    s.run(1000);
    EXPECT_EQ(s.traced("Primary port COM1 closed, retrying"), 1);
    s.plugRadio(7100000);
    g_inreader = 0;
    const int reopenMs = s.runUntil([] { return g_radioport != plat::kInvalidPort; }, 10000);
    ASSERT_GE(reopenMs, 0);
    EXPECT_LE(reopenMs, 1000 * 3 + 10);
    EXPECT_GE(s.runUntil([&] { return s.radio->frequency(0) == programHz && g_radioheard == 2; }, 5000), 0);
}

TEST(RadioReplug, FramesQueuedForTheLostRadioAreNotSentToTheOneThatCameBack) {
    ReplugStation s;
    ASSERT_GE(s.runUntil([&] { return g_radioheard == 2 && g_mainwin->HasTimer(TIMER_METER_CYCLE); }, 20000), 0);
    s.unplugRadio();
    s.run(1000);
    ASSERT_EQ(g_radioport, plat::kInvalidPort);
    // Nothing can be queued while the port is closed.
    const Bytes transmit{0xFE, 0xFE, 0x94, 0xE0, 0x1C, 0x00, 0x01, 0xFD};
    sendtoradio(transmit.data(), int(transmit.size()));
    s.plugRadio(7100000);
    ASSERT_GE(s.runUntil([&] { return g_radioport != plat::kInvalidPort; }, 10000), 0);
    s.run(2000);
    EXPECT_FALSE(s.heard({0x1C, 0x00, 0x01}));
    EXPECT_EQ(s.radio->transmitting(), 0);
}

TEST(RadioReplug, AMissingRadioPortIsRetriedQuietlyAndOpensWhenTheRadioAppears) {
    // The link to the radio's adapter is there; the adapter is not (yet).
    ReplugStation s(false, Radio::Missing);
    // The open at start-up says so once; the retries say nothing.
    EXPECT_EQ(Boxes("Error accessing Primary COM1"), 1);
    s.run(10000);
    EXPECT_EQ(Boxes("Error accessing"), 1);
    s.plugRadio(7100000);
    EXPECT_GE(s.runUntil([&] { return g_radioheard == 2 && s.radio->level(0x01) >= 0; }, 8000), 0);
}

TEST(RadioReplug, ALoggersPortPluggedBackInAnswersTheRadioThatCameBack) {
    ReplugStation s(true);
    ASSERT_GE(s.runUntil([&] { return g_radioheard == 2 && s.radio->frequency(0) == Hz(g_vfoafreq); }, 20000), 0);
    ASSERT_TRUE(g_thpopen[0]);
    EXPECT_EQ(s.ask("FA;"), "FA00014200000;");

    // Radio and logger both go away (one USB hub).
    s.unplugLogger();
    s.unplugRadio();
    s.run(10000);
    EXPECT_EQ(g_thpport[0], plat::kInvalidPort);
    EXPECT_EQ(s.traced("Tokyo High Power port COM5 closed, retrying"), 1);
    EXPECT_EQ(Boxes("Error accessing"), 0);

    s.plugLogger();
    s.plugRadio(14074000);
    ASSERT_GE(s.runUntil([&] { return g_thpopen[0] && g_radioheard == 2; }, 10000), 0);
    ASSERT_GE(s.runUntil([&] { return s.radio->frequency(0) == 14200000; }, 5000), 0);
    s.run(2000);
    // The operator turns the radio's knob: the program follows, and the
    // logger hears the new frequency, not the one from before the loss.
    s.radio->setFrequency(14010000, 0);
    s.radio->sendTransceiveFrequency();
    ASSERT_GE(s.runUntil([&] { return Hz(g_vfoafreq) == 14010000; }, 3000), 0);
    EXPECT_EQ(s.ask("FA;"), "FA00014010000;");
}

TEST(RadioReplug, ARadioBackWhileTheLossBoxIsOpenIsReadPacedAndFollowed) {
    ReplugStation s;
    ASSERT_GE(s.runUntil([&] { return g_radioheard == 2 && s.radio->frequency(0) == Hz(g_vfoafreq); }, 20000), 0);
    const long long programHz = Hz(g_vfoafreq);
    ASSERT_EQ(g_vfoamode, '3');  // CW
    plat::message_box_script::Clear();
    s.run(1000);
    // The contact retry's blind set-up, and set-ups of any kind.
    const int retries = s.traced("firstpoll 0") - s.traced("firstpoll 0 1");
    const int setups = s.traced("firstpoll 0 1");

    // The bytes the program wrote to the radio that came back and were not
    // read yet: one frame at most when every frame waits for its answer.
    constexpr std::uint64_t kOneFrame = 16;
    plat::SerialTrafficCount base;
    std::uint64_t written = 0, read = 0, mostWaiting = 0;
    auto measure = [&] {
        const plat::SerialTrafficCount t = plat::SerialTraffic(s.radio->slavePath());
        written = t.written - base.written;
        read = t.read - base.read;
        mostWaiting = std::max(mostWaiting, written > read ? written - read : 0);
        return mostWaiting <= kOneFrame;  // a deaf program is not run further
    };
    int boxes = 0;
    plat::message_box_script::SetHolder([&](const plat::message_box_script::Shown& box) {
        if (box.text.find("is defective") == std::string::npos || boxes++) return plat::IDOK;
        // With the box up the radio comes back, and the operator turns it
        // to USB on its own panel.
        s.run(1000);
        s.plugRadio(7100000);
        base = plat::SerialTraffic(s.radio->slavePath());
        const int initMs = s.runUntil(
            [&] { return !measure() || (g_radioheard == 2 && s.radio->frequency(0) == programHz); }, 8000);
        EXPECT_TRUE(initMs >= 0 && measure())
            << "contact " << g_radioheard << ", " << written << " bytes written, " << read << " read";
        s.radio->setMode(0x01, 0x01, 0);
        s.radio->sendTransceiveMode();
        // Long enough for a contact retry, which would set the radio up again.
        s.runUntil([&] { return !measure(); }, 12000);
        return plat::IDOK;
    });
    s.unplugRadio();
    s.runUntil([&] { return boxes > 0; }, 2000);
    plat::message_box_script::SetHolder(nullptr);
    ASSERT_EQ(boxes, 1);
    std::printf("box open: %llu bytes written, %llu read, at most %llu unread\n", (unsigned long long)written,
                (unsigned long long)read, (unsigned long long)mostWaiting);
    EXPECT_LE(mostWaiting, kOneFrame);
    EXPECT_GT(read, written / 2);
    EXPECT_EQ(s.traced("firstpoll 0") - s.traced("firstpoll 0 1"), retries);
    EXPECT_EQ(s.traced("firstpoll 0 1"), setups + 1);
    // After OK nothing piled up: frames keep leaving one at a time.
    mostWaiting = 0;
    std::size_t burst = 0;
    s.radio->clearLog();
    for (int t = 0; t < 1000; t += 10) {
        s.run(10);
        measure();
        burst = std::max(burst, s.radio->takeFrames().size());
    }
    std::printf("after OK: at most %llu bytes unread, %zu frames in a 10 ms step\n",
                (unsigned long long)mostWaiting, burst);
    EXPECT_LE(mostWaiting, kOneFrame);
    // The program shows the mode the operator chose, and left it on the radio.
    EXPECT_EQ(g_vfoamode, '0');  // USB
    ASSERT_NE(g_radiowindow, nullptr);
    const std::string shown = g_radiowindow->Control(9101)->GetWindowText();
    std::printf("mode shown: %s\n", shown.c_str());
    EXPECT_EQ(shown, "USB");
    EXPECT_EQ(s.radio->mode(0), 0x01);
    EXPECT_EQ(s.radio->frequency(0), programHz);
    EXPECT_EQ(Boxes("is defective"), 1);
}
