// The radio server flooded from many loopback addresses (127.0.<net>.<n>
// stand for other hosts): silent callers that call again the moment they
// are let go, and password guessing. The figures go to the test's output.
#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "devices/remote_fixture.h"
#include "platform/files.h"

using namespace remote_test;

namespace {
// `each` callers from each of `hosts` addresses, each calling again as soon
// as it is let go (at most `perStep` a step, every address in turn) and
// sending `hello` once connected. Counts the answers by type.
struct Flood {
    struct Caller {
        std::string from;
        Peer peer;
        bool said = false;
    };
    int port;
    Bytes hello;
    std::vector<Caller> callers;
    int answers[256] = {};
    std::size_t turn = 0;
    Flood(int port_, int net, int hosts, int each, Bytes hello_ = {})
        : port(port_), hello(std::move(hello_)), callers(std::size_t(hosts * each)) {
        for (std::size_t i = 0; i < callers.size(); ++i)
            callers[i].from = "127.0." + std::to_string(net) + "." + std::to_string(1 + int(i) / each);
    }
    void step(int perStep = 4) {
        turn = (turn + 1) % callers.size();
        for (std::size_t i = 0; i < callers.size(); ++i) {
            Caller& c = callers[(turn + i) % callers.size()];
            Message m;
            while (c.peer.s != plat::kInvalidSocket && c.peer.next(&m)) ++answers[m.type];
            if (c.peer.closed) {
                plat::SocketClose(c.peer.s);
                c.peer = Peer();
            }
            if (c.peer.s == plat::kInvalidSocket && perStep-- > 0) {
                c.peer.s = plat::TcpSocket();
                plat::SocketBind(c.peer.s, c.from, 0);
                plat::SocketConnect(c.peer.s, {plat::kLoopback, port});
                c.said = hello.empty();
            } else if (!c.said) {
                c.said = plat::SocketSend(c.peer.s, hello.data(), int(hello.size())) == int(hello.size());
            }
        }
    }
};

// One log-on and log-off of the operator from 127.0.0.1 while `flood` goes
// on, the log-on sent at once or (as this program's client does) on the
// version message. True when it was accepted.
bool OperatorRound(Flood& flood, int port, bool atOnce) {
    Peer op;
    op.s = plat::TcpSocket();
    plat::SocketConnect(op.s, {plat::kLoopback, port});
    const Bytes logon = Encode(kMsgLogOn, Logon(2, "W1AW", "Secret"));
    bool sent = !atOnce, accepted = false;
    Pump([&] {
        flood.step();
        if (!sent) sent = plat::SocketSend(op.s, logon.data(), int(logon.size())) == int(logon.size());
        for (Message m; op.next(&m);) {
            if (m.type == kMsgVersion && !atOnce) op.sendRaw(logon);
            accepted = accepted || m.type == kMsgAccepted;
        }
        return accepted || op.closed;
    }, 200);
    if (accepted) op.send(kMsgLogOff);
    Pump([&] { return flood.step(), !RemoteOperatorActive(); });
    return accepted;
}
}  // namespace

TEST(RemoteFlood, SilentCallersFromManyAddressesNeverPushOutALogOn) {
    Server srv;
    Flood flood(srv.port, 1, 32, 2);
    Pump([&] {
        flood.step();
        return RemoteCallerCount() == 64;
    });
    int achieved = 0;
    for (int r = 0; r < 12; ++r) achieved += OperatorRound(flood, srv.port, r % 2 == 0);
    std::cout << "operator log-ons under 32 addresses x 2 silent callers: " << achieved << " of 12\n";
    EXPECT_EQ(achieved, 12);
    EXPECT_LE(RemoteCallerCount(), kCallersMax);
}

TEST(RemoteFlood, GuessesFromManyAddressesShareOneBudgetAndTheCallLogStaysSmall) {
    Server srv;
    srv.dir.write("calllog.txt", std::string(1000001, '-') + "\n");
    Peer first;
    srv.logon(first);  // the operator's address has logged on before
    first.send(kMsgLogOff);
    ASSERT_TRUE(first.waitClosed());
    EXPECT_EQ(plat::FileSize(srv.dir.file("calllog2.txt")), 1000002);
    // A minute of guessing from 200 addresses, each calling again at once.
    Flood flood(srv.port, 2, 200, 1, Encode(kMsgLogOn, Logon(0, "W1AW", "guess")));
    int achieved = 0;
    for (int second = 0; second < 60; second += 5) {
        const std::uint32_t start = plat::GetTickCount();
        achieved += OperatorRound(flood, srv.port, true);
        while (plat::GetTickCount() - start < 5000) {
            RunSteps(1, 20);
            flood.step();
        }
    }
    const int checked = flood.answers[kMsgRefused] + flood.answers[kMsgAccepted];
    std::cout << "checked guesses in a minute from 200 addresses: " << checked << "; operator log-ons meanwhile: "
              << achieved << " of 12\n";
    EXPECT_LE(checked, 120);
    EXPECT_EQ(achieved, 12);
    EXPECT_LT(srv.dir.read("calllog.txt").size(), 16000u);
}
