// Hamlib's Kenwood backend (rigctl -m 2014, the TS-2000) as the logging
// program on a CAT-out port: frequency, mode, PTT and split. rigctl opens a
// second pseudo-terminal; the test joins the two masters like a null modem.
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "devices/cat_fixture.h"

namespace {

bool HaveRigctl() { return std::system("command -v rigctl >/dev/null 2>&1") == 0; }

// Copies what is waiting on one master to the other.
std::string Carry(int from, int to) {
    std::string moved;
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(from, buf, sizeof buf);
        if (n <= 0) break;
        moved.append(buf, std::size_t(n));
        ssize_t off = 0;
        for (int k = 0; k < 100 && off < n; ++k) {
            const ssize_t w = ::write(to, buf + off, std::size_t(n - off));
            if (w > 0) off += w;
        }
    }
    return moved;
}

struct RigctlSession {
    std::string output;     // rigctl's answers, one per line
    std::string fromClient; // every byte rigctl wrote
};

// Runs rigctl with `commands` against the CAT port of `c` and serves the
// port until rigctl ends (bounded by its own time-out).
RigctlSession RunRigctl(CatRadio& c, const std::string& commands) {
    PtyPair client;
    RigctlSession s;
    std::atomic<bool> done{false};
    std::thread t([&] {
        const std::string cmd = "timeout 30 rigctl -m 2014 -r " + client.slavePath() + " -s 9600 -C cache_timeout=0 " + commands + " 2>&1";
        FILE* p = popen(cmd.c_str(), "r");
        if (p) {
            char buf[256];
            while (std::fgets(buf, sizeof buf, p)) s.output += buf;
            pclose(p);
        }
        done = true;
    });
    const long long end = MonotonicMs() + 35000;
    while (!done && MonotonicMs() < end) {
        s.fromClient += Carry(client.master(), c.cat.master());
        c.Poll();
        Carry(c.cat.master(), client.master());
        simsteps::Run(10, {&c.radio});
        // Until rigctl writes again (or a poll step is due).
        pollfd p{client.master(), POLLIN, 0};
        ::poll(&p, 1, 10);
    }
    t.join();
    return s;
}

int Count(const std::string& hay, const std::string& needle) {
    int n = 0;
    for (std::size_t p = hay.find(needle); p != std::string::npos; p = hay.find(needle, p + 1)) ++n;
    return n;
}

}  // namespace

TEST(CatRigctl, FrequencyAndModeReadAndSet) {
    ASSERT_TRUE(HaveRigctl()) << "rigctl is not installed (scripts/install-deps installs libhamlib-utils)";
    CatRadio c;
    c.panel.step = 1;
    RigctlSession s = RunRigctl(c, "f m F 14074000 f");
    EXPECT_EQ(s.output.substr(0, s.output.find('\n', s.output.find('\n') + 1) + 1).find("14025000\nUSB"), 0u)
        << s.output;
    EXPECT_NE(s.output.find("14074000\n"), std::string::npos) << s.output;
    c.Drain();
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);
    EXPECT_TRUE(c.RadioAt(14074000));
    EXPECT_EQ(s.output.find("error"), std::string::npos) << s.output;
}

TEST(CatRigctl, ModeSetIsAcceptedWithoutProtocolErrors) {
    ASSERT_TRUE(HaveRigctl()) << "rigctl is not installed (scripts/install-deps installs libhamlib-utils)";
    CatRadio c;
    RigctlSession s = RunRigctl(c, "m M CW 0 m");
    EXPECT_EQ(s.output.find("USB\n"), 0u) << s.output;
    EXPECT_EQ(Count(s.fromClient, "MD3;"), 1) << s.fromClient;
    EXPECT_EQ(s.output.find("error"), std::string::npos) << s.output;
}

TEST(CatRigctl, PttOnAndOffKeyOnceEach) {
    ASSERT_TRUE(HaveRigctl()) << "rigctl is not installed (scripts/install-deps installs libhamlib-utils)";
    CatRadio c;
    RigctlSession s = RunRigctl(c, "T 1 t T 0 t");
    // One "TX;" and one "RX;": a client that read an echo as a failed check
    // would key the transmitter again on every retry.
    EXPECT_EQ(Count(s.fromClient, "TX"), 1) << s.fromClient;
    EXPECT_EQ(Count(s.fromClient, "RX"), 1) << s.fromClient;
    EXPECT_EQ(s.output.find("error"), std::string::npos) << s.output;
}

TEST(CatRigctl, SplitSetAndReadBack) {
    ASSERT_TRUE(HaveRigctl()) << "rigctl is not installed (scripts/install-deps installs libhamlib-utils)";
    CatRadio c;
    RigctlSession s = RunRigctl(c, "s S 1 VFOB");
    EXPECT_EQ(s.output.find("0\nVFOA\n"), 0u) << s.output;
    // Sent once: no answer to the sets that the client would take for a
    // failed check. (The split itself is switched by the radio window.)
    EXPECT_EQ(Count(s.fromClient, "FT1;"), 1) << s.fromClient;
    EXPECT_EQ(Count(s.fromClient, "FR0;"), 1) << s.fromClient;
    EXPECT_EQ(s.output.find("error"), std::string::npos) << s.output;
}
