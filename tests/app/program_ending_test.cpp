// How the whole program ends when something outside ends it: a hang-up or a
// user signal closes it as SIGTERM does, a fault still lets go of the
// transmitter, a close that cannot says so, a broken pipe ends nothing; and a second copy started in the
// same folder is refused. The program runs as its own process against the
// simulated radio, keyed by a logging program's CAT "TX;".
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "common/program_runner.h"
#include "common/test_dir.h"
#include "sim/pty_pair.h"
#include "sim/sim_radio.h"

namespace {
const std::string kSeed =
    "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nTHP COMPORT=COM2\n[OPERATING STATUS]\nQARV=23\nTHP=1\n";

// The radio and the program run in real time: waits are on what the
// simulated radio has seen, bounded generously so that a loaded machine makes
// a test slower, never wrong.
constexpr int kBoundMs = 20000;
template <class F>
bool Within(int ms, F done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The program on the simulated IC-7300 (ports/com1) with a CAT port
// (ports/com2), keyed by "TX;" once the radio answered.
struct KeyedStation {
    TestDir dir;
    sim::SimRadio radio{0x94, 19200};
    PtyPair cat;
    std::unique_ptr<ProgramRunner> qarv;

    KeyedStation() {
        EXPECT_TRUE(radio.link(dir.file("ports/com1")));
        EXPECT_TRUE(cat.link(dir.file("ports/com2")));
        radio.start();
        dir.write("qarv.ini", kSeed);
        const int err = ::open(dir.file("stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        qarv = std::make_unique<ProgramRunner>(dir.path(), err);
        ::close(err);
    }
    ~KeyedStation() {
        qarv.reset();
        radio.stop();
    }
    // Keys the radio once the station runs as an operator finds it: the
    // first contact's set-up has reached the radio and the meter is polled
    // (on a loaded machine the set-up can take longer than the close waits).
    // `atFirstAnswer` keys as soon as the radio answered, while the program's
    // own set-up frames still keep its line busy.
    bool key(bool atFirstAnswer = false) {
        const sim::Bytes meterPoll{0xFE, 0xFE, 0x94, 0xE0, 0x15, 0x02, 0xFD};
        if (atFirstAnswer ? !qarv->WaitForText("comms.txt", "Good Message 3", kBoundMs)
                          : !Within(kBoundMs, [&] { return seen(meterPoll); }))
            return false;
        cat.write({'T', 'X', ';'});
        return Within(kBoundMs, [&] { return radio.transmitting() == 1; });
    }
    bool saidLast(const std::string& words) const { return dir.read("stderr.txt").ends_with(words); }
    bool seen(const sim::Bytes& frame) const {
        const auto frames = radio.frames();
        return std::find(frames.begin(), frames.end(), frame) != frames.end();
    }
    bool sawTransmitOff() const { return seen({0xFE, 0xFE, 0x94, 0xE0, 0x1C, 0x00, 0x00, 0xFD}); }
    // The end of the trace, to show with a failure.
    std::string traceEnd() const {
        const std::string t = dir.read("comms.txt");
        return t.substr(t.size() > 3000 ? t.size() - 3000 : 0);
    }
};
}  // namespace

TEST(ProgramEnding, HangUpAndUserSignalsUnkeySaveAndEndTheTrace) {
    for (int sig : {SIGHUP, SIGUSR1, SIGQUIT}) {
        SCOPED_TRACE(sig);
        KeyedStation st;
        // Keyed at the radio's first answer, the transmit-off goes out ahead
        // of the first contact's set-up frames, not 500 ms too late behind them.
        ASSERT_TRUE(st.key(sig == SIGHUP));
        EXPECT_EQ(st.qarv->StopWith(sig, kBoundMs), 0);
        EXPECT_TRUE(Within(kBoundMs, [&] { return st.radio.transmitting() == 0; })) << st.traceEnd();
        EXPECT_TRUE(st.sawTransmitOff());
        EXPECT_NE(st.dir.read("qarv.ini").find("VERSION=V3.52"), std::string::npos);
        const std::string trace = st.dir.read("comms.txt");
        EXPECT_NE(trace.find("calling saveoper"), std::string::npos);
        EXPECT_TRUE(trace.ends_with("Log File End\r\n")) << st.traceEnd();
    }
}

TEST(ProgramEnding, AFaultStillUnkeysTheRadioAndEndsByItsSignal) {
    const rlimit noCore{0, 0};  // the faults are sent, not real: no core files
    ::setrlimit(RLIMIT_CORE, &noCore);
    for (int sig : {SIGSEGV, SIGABRT}) {
        SCOPED_TRACE(sig);
        KeyedStation st;
        ASSERT_TRUE(st.key());
        EXPECT_EQ(st.qarv->StopWith(sig, kBoundMs), 128 + sig);
        EXPECT_TRUE(Within(kBoundMs, [&] { return st.radio.transmitting() == 0; })) << st.traceEnd();
        EXPECT_TRUE(st.sawTransmitOff());
        // Nothing pretends to have closed in order: no save, no trace end.
        EXPECT_EQ(st.dir.read("qarv.ini"), kSeed);
        EXPECT_EQ(st.dir.read("comms.txt").find("Log File End"), std::string::npos);
        EXPECT_TRUE(st.saidLast("\nqarv: fatal signal, the transmitter was released\n"));
    }
}

TEST(ProgramEnding, AFaultWithTheRadiosLineFullSaysTheTransmitterCouldNotBeReleased) {
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    KeyedStation st;
    ASSERT_TRUE(st.key(true));
    // The radio's interface stops taking bytes: the off frame cannot go out.
    ASSERT_TRUE(st.radio.stallLine());
    EXPECT_EQ(st.qarv->StopWith(SIGSEGV, 10000), 128 + SIGSEGV);
    EXPECT_TRUE(st.saidLast("could not be released: the radio's transmit-off frame not written (the line is full)\n"))
        << st.dir.read("stderr.txt") << st.traceEnd();
}

// The fault handler holds the transmitter keyed until the transmit-off is
// on the radio's line, not merely queued: here it waits behind thirty power
// sets for a radio that stopped answering when the fault comes.
TEST(ProgramEnding, AFaultWhileTheTransmitOffWaitsInTheQueueStillUnkeys) {
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    KeyedStation st;
    ASSERT_TRUE(st.key());
    // Past the key-on's 200 ms, the key-off queues its frame at once.
    ASSERT_TRUE(st.qarv->WaitForText("comms.txt", "OnTimer called 6201", kBoundMs));
    st.radio.setAnswering(false);
    const std::size_t before = st.radio.frames().size();
    std::string sets;
    for (int k = 0; k < 30; ++k) sets += "PC0" + std::to_string(10 + k) + ";";
    sets += "RX;";
    st.cat.write(sim::Bytes(sets.begin(), sets.end()));
    // The program reads the sets and the "RX;" in one go: by the time the
    // first power frame reaches the radio the off is queued, 29 frames on.
    ASSERT_TRUE(Within(kBoundMs, [&] {
        const auto frames = st.radio.frames();
        for (std::size_t k = before; k < frames.size(); ++k)
            if (frames[k].size() > 6 && frames[k][4] == 0x14 && frames[k][5] == 0x0A) return true;
        return false;
    }));
    EXPECT_EQ(st.qarv->StopWith(SIGSEGV, kBoundMs), 128 + SIGSEGV);
    const auto frames = st.radio.frames();
    EXPECT_EQ(frames.back(), (sim::Bytes{0xFE, 0xFE, 0x94, 0xE0, 0x1C, 0x00, 0x00, 0xFD})) << st.traceEnd();
    EXPECT_TRUE(st.saidLast("\nqarv: fatal signal, the transmitter was released\n")) << st.dir.read("stderr.txt");
}

// A close that cannot write the transmit-off says so and fails; one whose
// line drains stays quiet (the tests above).
TEST(ProgramEnding, ACloseWithTheRadiosLineFullSaysTheTransmitterIsKeyedAndFails) {
    KeyedStation st;
    // Keyed while the first contact's set-up still waits: once the radio
    // stops taking bytes, the program's own frames fill the line.
    ASSERT_TRUE(st.key(true));
    ASSERT_TRUE(st.radio.stallLine());
    EXPECT_EQ(st.qarv->StopWith(SIGTERM, kBoundMs), 1) << st.traceEnd();
    EXPECT_TRUE(st.saidLast("qarv: the transmitter could not be released at close: the radio's transmit-off frame "
                            "not written (the line is full)\n"))
        << st.dir.read("stderr.txt");
    EXPECT_NE(st.dir.read("comms.txt").find("transmitter not released"), std::string::npos);
}

TEST(ProgramEnding, ABrokenPipeEndsNothing) {
    TestDir dir;
    // A missing radio port is reported on standard error, here a pipe that
    // nobody reads any more.
    dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM5\n[OPERATING STATUS]\nMEMORY1=KEEP@ME\n");
    int p[2];
    ASSERT_EQ(::pipe(p), 0);
    ::close(p[0]);
    ProgramRunner qarv(dir.path(), p[1]);
    ::close(p[1]);
    ASSERT_TRUE(qarv.WaitForText("comms.txt", "OnTimer called 206", kBoundMs));
    qarv.Signal(SIGPIPE);
    EXPECT_EQ(qarv.WaitExit(500), -1);  // still running
    EXPECT_EQ(qarv.StopWith(SIGTERM, 20000), 0);
    EXPECT_NE(dir.read("qarv.ini").find("MEMORY1=KEEP@ME"), std::string::npos);
    EXPECT_NE(dir.read("qarv.ini").find("VERSION=V3.52"), std::string::npos);
}

TEST(ProgramEnding, ASecondCopyInTheSameFolderIsRefusedAndAnotherFolderRuns) {
    TestDir other;
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nCALLSIGN=W1AW\n");
    ProgramRunner first(dir.path());
    ASSERT_TRUE(first.WaitForText("comms.txt", "OnCreate exit", kBoundMs));
    const std::string traceBefore = dir.read("comms.txt");

    int p[2];
    ASSERT_EQ(::pipe(p), 0);
    ProgramRunner second(dir.path(), p[1]);
    ::close(p[1]);
    EXPECT_EQ(second.WaitExit(kBoundMs), 1);
    char buf[512] = {};
    const ssize_t n = ::read(p[0], buf, sizeof buf - 1);
    ::close(p[0]);
    EXPECT_NE(std::string(buf, n > 0 ? std::size_t(n) : 0).find("another copy is already running in " + dir.path()),
              std::string::npos);
    // The refused copy left the first one's trace alone.
    EXPECT_EQ(dir.read("comms.txt").compare(0, traceBefore.size(), traceBefore), 0);

    ProgramRunner elsewhere(other.path());
    EXPECT_TRUE(elsewhere.WaitForText("comms.txt", "OnCreate exit", kBoundMs));
    EXPECT_EQ(elsewhere.StopWith(SIGTERM, 20000), 0);

    // A copy that died without a close leaves the folder free.
    first.Signal(SIGKILL);
    EXPECT_EQ(first.WaitExit(kBoundMs), 128 + SIGKILL);
    ::unlink(dir.file("comms.txt").c_str());
    ProgramRunner next(dir.path());
    EXPECT_TRUE(next.WaitForText("comms.txt", "OnCreate exit", kBoundMs));
    EXPECT_EQ(next.StopWith(SIGTERM, 20000), 0);
}
