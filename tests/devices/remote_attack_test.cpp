// The radio server under attack over loopback: silent callers in a loop,
// password guessing, a second operator, and what the call log keeps of it.
// Peers on 127.0.0.2 and 127.0.0.3 stand for other hosts.
#include <gtest/gtest.h>

#include <deque>
#include <iostream>

#include "app/settings_test_util.h"
#include "devices/remote_fixture.h"

using namespace remote_test;

namespace {
constexpr std::uint32_t kSecondHost = 0x7F000002u;  // 127.0.0.2
constexpr std::uint32_t kThirdHost = 0x7F000003u;   // 127.0.0.3

// Callers that connect and never say a word, `burst` more each step; the
// oldest are closed once `keep` are open.
struct SilentLoop {
    int port;
    const char* from;
    std::size_t keep;
    int burst;
    std::deque<plat::SocketHandle> open;
    int made = 0;

    SilentLoop(int port_, const char* from_ = nullptr, std::size_t keep_ = 8, int burst_ = 1)
        : port(port_), from(from_), keep(keep_), burst(burst_) {}

    ~SilentLoop() {
        for (plat::SocketHandle& s : open) plat::SocketClose(s);
    }
    void step() {
        for (int k = 0; k < burst; ++k) {
            plat::SocketHandle s = plat::TcpSocket();
            if (from) plat::SocketBind(s, from, 0);
            plat::SocketConnect(s, {plat::kLoopback, port});
            open.push_back(s);
            ++made;
            if (open.size() > keep) {
                plat::SocketClose(open.front());
                open.pop_front();
            }
        }
    }
};

// Operators log on and off one after another while `loop` runs; each must
// be accepted within 2 s. Returns the log-ons achieved out of `rounds`.
int LogonsUnderAttack(Server& srv, SilentLoop& loop, int rounds) {
    int achieved = 0;
    for (int r = 0; r < rounds; ++r) {
        Peer op;
        op.s = plat::TcpSocket();
        plat::SocketConnect(op.s, {plat::kLoopback, srv.port});
        const std::uint32_t start = plat::GetTickCount();
        bool accepted = false;
        Pump([&] {
            loop.step();
            Message m;
            while (op.next(&m)) {
                if (m.type == kMsgVersion) op.send(kMsgLogOn, Logon(2, "W1AW", "Secret"));
                if (m.type == kMsgAccepted) accepted = true;
            }
            return accepted || op.closed;
        }, 300);
        const std::uint32_t took = plat::GetTickCount() - start;
        EXPECT_TRUE(accepted) << "round " << r;
        EXPECT_LE(took, 2000u) << "round " << r;
        if (accepted && took <= 2000) ++achieved;
        op.send(kMsgLogOff);
        EXPECT_TRUE(Pump([&] {
            loop.step();
            return !RemoteOperatorActive();
        }));
        // Never more callers held than there are places.
        EXPECT_LE(RemoteCallerCount(), kCallersMax);
    }
    return achieved;
}

// The server's own handling, called directly as the tick does: the manual
// clock would show any sleep. Runs until `done`.
template <class Done>
bool HandledWithoutWaiting(Done done) {
    return realwait::Wait([&] {
        const std::uint32_t before = plat::GetTickCount();
        ServiceServerSocket();
        EXPECT_EQ(plat::GetTickCount(), before);
        return done();
    });
}
}  // namespace

TEST(RemoteAttack, SilentCallersInALoopDoNotKeepTheOperatorOut) {
    Server srv;
    {
        // The worst case: the loop calls from the operator's own address.
        SilentLoop loop{srv.port};
        const int achieved = LogonsUnderAttack(srv, loop, 10);
        EXPECT_EQ(achieved, 10);
        std::cout << "log-ons under a silent loop from the same address: " << achieved << " of 10, "
                  << loop.made << " silent connections\n";
    }
    {
        // From another host, however fast, its callers only ever push out
        // each other.
        SilentLoop loop{srv.port, "127.0.0.2", 16, 4};
        const int achieved = LogonsUnderAttack(srv, loop, 10);
        EXPECT_EQ(achieved, 10);
        std::cout << "log-ons under a silent loop from another address: " << achieved << " of 10, "
                  << loop.made << " silent connections\n";
    }
    // Silence earns no call-log line.
    EXPECT_EQ(srv.dir.read("calllog.txt").find("refused"), std::string::npos);
}

TEST(RemoteAttack, RefusedLogonsBackOffPerAddressAndAreCallLogged) {
    Server srv;
    plat::manual_clock::SetWallClock(1796817600);  // 2026-12-09 12:00:00 UTC
    // An operator on another address is served at once throughout.
    Peer op;
    srv.logon(op);
    std::uint32_t expected = 1000;
    for (int k = 0; k < 4; ++k, expected *= 2) {
        Peer guess;
        ASSERT_EQ(srv.tryLogon(guess, "127.0.0.3", "W1AW", "guess" + std::to_string(k)).type, kMsgRefused);
        ASSERT_TRUE(guess.waitClosed());
        const unsigned left = LogonHeldOffMs(kThirdHost);
        EXPECT_LE(left, expected);
        EXPECT_GT(left, expected - 200);
        // Meanwhile the address is closed at once, without a word.
        Peer early;
        ASSERT_TRUE(early.connect(srv.port, "127.0.0.3"));
        EXPECT_EQ(early.expect().type, -1);
        EXPECT_TRUE(early.closed);
        EXPECT_EQ(LogonHeldOffMs(plat::kLoopback), 0u);
        EXPECT_EQ(LogonHeldOffMs(kSecondHost), 0u);
        EXPECT_TRUE(RemoteOperatorActive());
        plat::manual_clock::Advance(LogonHeldOffMs(kThirdHost));
    }
    EXPECT_EQ(LogonBackoffMs(6), 32000u);
    EXPECT_EQ(LogonBackoffMs(7), 60000u);
    EXPECT_EQ(LogonBackoffMs(1000), 60000u);
    const std::string log = srv.dir.read("calllog.txt");
    EXPECT_NE(log.find("\nW1AW from 127.0.0.3 refused (bad call sign or password) at 12:00:"), std::string::npos);
    EXPECT_EQ(log.find("guess"), std::string::npos);
    // A good log-on from the address clears its record.
    op.send(kMsgLogOff);
    ASSERT_TRUE(op.waitClosed());
    Peer back;
    ASSERT_EQ(srv.tryLogon(back, "127.0.0.3", "W1AW", "Secret").type, kMsgAccepted);
    back.send(kMsgLogOff);
    ASSERT_TRUE(back.waitClosed());
    Peer typo;
    ASSERT_EQ(srv.tryLogon(typo, "127.0.0.3", "W1AW", "Secrte").type, kMsgRefused);
    EXPECT_LE(LogonHeldOffMs(kThirdHost), 1000u);
}

TEST(RemoteAttack, ARefusalNeverStallsTheServer) {
    Server srv;
    Peer op;
    srv.logon(op);
    Peer guess;
    srv.accept(guess, "127.0.0.2");
    guess.send(kMsgLogOn, Logon(0, "W1AW", "wrong"));
    Message m;
    EXPECT_TRUE(HandledWithoutWaiting([&] { return guess.next(&m); }));
    EXPECT_EQ(m.type, kMsgRefused);
    Peer other;
    srv.accept(other, "127.0.0.3");
    other.send(kMsgLogOn, Logon(0, "K1ABC", "other"));
    EXPECT_TRUE(HandledWithoutWaiting([&] { return other.next(&m); }));
    EXPECT_EQ(m.type, kMsgInUse);
    // Both are let go once they close; the operator never noticed.
    EXPECT_TRUE(guess.waitClosed());
    EXPECT_TRUE(other.waitClosed());
    EXPECT_TRUE(RemoteOperatorActive());
}

TEST(RemoteAttack, ASecondOperatorIsToldTheRadioIsInUse) {
    Server srv;
    Peer first;
    srv.logon(first);
    Peer second;
    const Message m = srv.tryLogon(second, "127.0.0.2", "K1ABC", "OTHER");
    ASSERT_EQ(m.type, kMsgInUse);
    EXPECT_EQ(m.payload, (Bytes{'W', '1', 'A', 'W', 0, 1}));
    EXPECT_TRUE(second.waitClosed());
    EXPECT_STREQ(g_holdercall, "W1AW");
    EXPECT_TRUE(RemoteOperatorActive());
    EXPECT_EQ(LogonHeldOffMs(kSecondHost), 0u);  // a good password is no guess
    EXPECT_NE(srv.dir.read("calllog.txt").find("\nK1ABC from 127.0.0.2 refused (in use by W1AW) at "),
              std::string::npos);
    // The same call sign from elsewhere (a client back after its link
    // failed) takes over; the old connection goes.
    Peer again;
    srv.accept(again, "127.0.0.3");
    again.send(kMsgLogOn, Logon(2, "W1AW", "Secret"));
    ASSERT_EQ(again.expect().type, kMsgAccepted);
    EXPECT_TRUE(first.waitClosed());
    EXPECT_TRUE(RemoteOperatorActive());
    EXPECT_EQ(g_partneraddr.ip, kThirdHost);
    again.send(kMsgCivFrame, Frame({0x03}));
    EXPECT_TRUE(srv.radioGot(Frame({0x03})));
}

TEST(RemoteAttack, OnlyCallersThatTriedSomethingAreCallLogged) {
    Server srv;
    {
        Peer quick;  // connects and leaves
        srv.accept(quick);
    }
    Pump([] { return RemoteCallerCount() == 0; });
    {
        Peer silent;  // stays until its deadline
        srv.accept(silent);
        EXPECT_TRUE(silent.waitClosed(1200));
    }
    EXPECT_FALSE(srv.dir.exists("calllog.txt"));
    Peer early;
    srv.accept(early, "127.0.0.2");
    early.send(kMsgKey, {1});
    ASSERT_TRUE(early.waitClosed());
    EXPECT_EQ(srv.dir.read("calllog.txt").find("- from 127.0.0.2 refused (message type 5 before log-on) at "), 0u);
    EXPECT_EQ(srv.dir.read("calllog.txt").find("logged off"), std::string::npos);
}

TEST(RemoteAttack, TwoFieldPasswordLinesMatch) {
    Server srv;
    srv.dir.write("passwords.csv", "K1ABC,pw\r\nW1AW,secret123");
    Peer peer;
    EXPECT_EQ(srv.tryLogon(peer, nullptr, "W1AW", "secret123").type, kMsgAccepted);
}

TEST(RemoteAttack, PortOutsideItsRangeFallsBackOnLoad) {
    TestDir dir;
    for (const auto& [text, port] : {std::pair{"82689", 17152L}, {"0", 17152L}, {"-5", 17152L}, {"65535", 65535L}}) {
        dir.write("qarv.ini", std::string("[OPERATING STATUS]\nPORT=") + text + "\n");
        LoadAll();
        EXPECT_EQ(g_serverport, port) << text;
    }
}

TEST(RemoteAttack, ANewPortLetsTheCallersGoAndListensThere) {
    Server srv;
    Peer waiting;
    srv.accept(waiting, "127.0.0.2");
    g_serverport = FreePort();
    DropConnection(-2);  // the settings window changed the port
    EXPECT_TRUE(waiting.waitClosed());
    EXPECT_EQ(RemoteCallerCount(), 0);
    srv.port = int(g_serverport);
    Peer peer;
    srv.logon(peer);
}
