// Sockets over loopback: events as window messages, re-arming, refused
// connects, resets without SIGPIPE, datagrams and listener restarts.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "common/real_waits.h"
#include "platform/clock.h"
#include "platform/socket.h"
#include "platform/window.h"

namespace {
constexpr unsigned WM_TEST_SOCK = 0x0400 + 77;

struct Event {
    plat::SocketHandle s;
    unsigned event;
    int error;
};

struct SockWindow : plat::Window {
    std::vector<Event> events;
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM w, plat::LPARAM l) override {
        if (msg == WM_TEST_SOCK) events.push_back({plat::SocketHandle(w), plat::SocketEventOf(l), plat::SocketErrorOf(l)});
        return 0;
    }
    int count(plat::SocketHandle s, unsigned ev) const {
        int n = 0;
        for (const Event& e : events)
            if (e.s == s && e.event == ev) ++n;
        return n;
    }
};

// Lets the socket polling run until `done`, with the clock standing: the
// kernel's side of loopback is real time, so the wait is bounded in seconds.
template <class Done>
bool Pump(Done done) {
    return realwait::Until(done);
}

struct Pair {
    SockWindow win;
    plat::SocketHandle listener = plat::kInvalidSocket, client = plat::kInvalidSocket, server = plat::kInvalidSocket;
    int port = 0;

    Pair() {
        listener = plat::TcpSocket();
        EXPECT_TRUE(plat::SocketBind(listener, "127.0.0.1", 0));
        EXPECT_TRUE(plat::SocketListen(listener, 5));
        port = plat::SocketLocalPort(listener);
        EXPECT_GT(port, 0);
        plat::SocketSelect(listener, &win, WM_TEST_SOCK, plat::kSockAccept);
        client = plat::TcpSocket();
        plat::SocketSelect(client, &win, WM_TEST_SOCK, plat::kSockConnect | plat::kSockRead | plat::kSockClose);
        const int rc = plat::SocketConnect(client, {plat::kLoopback, port});
        EXPECT_TRUE(rc == 0 || plat::SocketLastError() == plat::kSockInProgress);
        EXPECT_TRUE(Pump([&] { return win.count(listener, plat::kSockAccept) == 1; }));
        plat::SockAddr peer;
        server = plat::SocketAccept(listener, &peer);
        EXPECT_NE(server, plat::kInvalidSocket);
        EXPECT_EQ(peer.ip, plat::kLoopback);
        plat::SocketSelect(server, &win, WM_TEST_SOCK, plat::kSockRead | plat::kSockClose);
        EXPECT_TRUE(Pump([&] { return win.count(client, plat::kSockConnect) == 1; }));
    }
    ~Pair() {
        plat::SocketClose(client);
        plat::SocketClose(server);
        plat::SocketClose(listener);
    }
    void send(plat::SocketHandle s, const std::string& text) {
        EXPECT_EQ(plat::SocketSend(s, reinterpret_cast<const std::uint8_t*>(text.data()), int(text.size())),
                  int(text.size()));
    }
    std::string recv(plat::SocketHandle s) {
        std::uint8_t buf[256];
        const int n = plat::SocketRecv(s, buf, sizeof buf);
        return n > 0 ? std::string(buf, buf + n) : std::string();
    }
};
}  // namespace

TEST(Sockets, TcpConnectAcceptReadAndClose) {
    Pair p;
    ASSERT_EQ(p.win.events.back().error, 0);
    p.send(p.client, "hello");
    ASSERT_TRUE(Pump([&] { return p.win.count(p.server, plat::kSockRead) == 1; }));
    EXPECT_EQ(p.recv(p.server), "hello");
    // Nothing more to read: the next read is refused without waiting.
    std::uint8_t b;
    EXPECT_EQ(plat::SocketRecv(p.server, &b, 1), -1);
    EXPECT_EQ(plat::SocketLastError(), plat::kSockWouldBlock);
    p.send(p.server, "back");
    ASSERT_TRUE(Pump([&] { return p.win.count(p.client, plat::kSockRead) == 1; }));
    EXPECT_EQ(p.recv(p.client), "back");
    plat::SocketClose(p.client);
    ASSERT_TRUE(Pump([&] { return p.win.count(p.server, plat::kSockClose) == 1; }));
    EXPECT_EQ(plat::SocketRecv(p.server, &b, 1), 0);
}

TEST(Sockets, ReadEventIsPostedOnceUntilTheProgramReads) {
    Pair p;
    p.send(p.client, "a");
    ASSERT_TRUE(Pump([&] { return p.win.count(p.server, plat::kSockRead) == 1; }));
    p.send(p.client, "b");
    // Loopback hands bytes over in the order sent: once the server's later
    // "!" is at the client, the "b" sent before it is at the server.
    p.send(p.client, "?");
    p.send(p.server, "!");
    ASSERT_TRUE(Pump([&] { return p.win.count(p.client, plat::kSockRead) == 1; }));
    EXPECT_EQ(p.recv(p.client), "!");
    plat::manual_clock::Advance(10);
    EXPECT_EQ(p.win.count(p.server, plat::kSockRead), 1);
    // A read that leaves nothing behind re-arms; new data is reported again.
    EXPECT_EQ(p.recv(p.server), "ab?");
    p.send(p.client, "c");
    ASSERT_TRUE(Pump([&] { return p.win.count(p.server, plat::kSockRead) == 2; }));
    // A close behind unread data is found by the read.
    plat::SocketClose(p.client);
    EXPECT_EQ(p.recv(p.server), "c");
    std::uint8_t b;
    int rc = -1;
    realwait::Wait([&] { return (rc = plat::SocketRecv(p.server, &b, 1)) != -1; });
    EXPECT_EQ(rc, 0);
}

TEST(Sockets, RefusedConnectReportsItsErrorAndHandlesAreNeverReused) {
    SockWindow win;
    plat::SocketHandle probe = plat::TcpSocket();
    ASSERT_TRUE(plat::SocketBind(probe, "127.0.0.1", 0));
    const int port = plat::SocketLocalPort(probe);
    const plat::SocketHandle old = probe;
    plat::SocketClose(probe);
    EXPECT_EQ(probe, plat::kInvalidSocket);
    EXPECT_FALSE(plat::SocketIsOpen(old));
    EXPECT_EQ(plat::SocketSend(old, reinterpret_cast<const std::uint8_t*>("x"), 1), -1);

    plat::SocketHandle s = plat::TcpSocket();
    EXPECT_NE(s, old);
    plat::SocketSelect(s, &win, WM_TEST_SOCK, plat::kSockConnect | plat::kSockRead | plat::kSockClose);
    const int rc = plat::SocketConnect(s, {plat::kLoopback, port});
    if (rc != 0 && plat::SocketLastError() == plat::kSockInProgress) {
        ASSERT_TRUE(Pump([&] { return win.count(s, plat::kSockConnect) == 1; }));
        EXPECT_EQ(win.events.back().error, ECONNREFUSED);
    } else {
        EXPECT_EQ(plat::SocketLastError(), ECONNREFUSED);
    }
    plat::SocketClose(s);
}

TEST(Sockets, SendingToAResetPeerFailsWithoutKillingTheProgram) {
    Pair p;
    plat::SocketClose(p.server);
    std::vector<std::uint8_t> block(4096, 0x55);
    int rc = 0;
    // The first send may still be accepted; a later one meets the reset.
    realwait::Wait([&] {
        rc = plat::SocketSend(p.client, block.data(), int(block.size()));
        return rc < 0;
    });
    EXPECT_EQ(rc, -1);
    EXPECT_TRUE(plat::SocketLastError() == EPIPE || plat::SocketLastError() == ECONNRESET);
}

TEST(Sockets, DatagramsWithBroadcastOptionAndSender) {
    SockWindow win;
    plat::SocketHandle rx = plat::UdpSocket();
    ASSERT_TRUE(plat::SocketBind(rx, "127.0.0.1", 0));
    const int port = plat::SocketLocalPort(rx);
    plat::SocketSelect(rx, &win, WM_TEST_SOCK, plat::kSockRead);
    plat::SocketHandle tx = plat::UdpSocket();
    EXPECT_TRUE(plat::SocketSetBroadcast(tx, true));
    ASSERT_TRUE(plat::SocketBind(tx, "127.0.0.1", 0));
    const std::uint8_t d1[3] = {1, 2, 3}, d2[2] = {9, 8};
    EXPECT_EQ(plat::SocketSendTo(tx, d1, 3, {plat::kLoopback, port}), 3);
    EXPECT_EQ(plat::SocketSendTo(tx, d2, 2, {plat::kLoopback, port}), 2);
    ASSERT_TRUE(Pump([&] { return win.count(rx, plat::kSockRead) == 1; }));
    std::uint8_t buf[8];
    plat::SockAddr from;
    ASSERT_EQ(plat::SocketRecvFrom(rx, buf, 8, &from), 3);
    EXPECT_EQ(buf[2], 3);
    EXPECT_EQ(from.ip, plat::kLoopback);
    EXPECT_EQ(from.port, plat::SocketLocalPort(tx));
    // A datagram longer than the buffer is cut, the rest of it dropped.
    ASSERT_EQ(plat::SocketRecvFrom(rx, buf, 1), 1);
    EXPECT_EQ(buf[0], 9);
    EXPECT_EQ(plat::SocketRecvFrom(rx, buf, 8), -1);
    EXPECT_EQ(plat::SocketLastError(), plat::kSockWouldBlock);
    plat::SocketClose(rx);
    plat::SocketClose(tx);
}

TEST(Sockets, ListenerBindsAgainAtOnceAfterADrop) {
    int port = 0;
    {
        Pair p;
        port = p.port;
        // The server side closes first, leaving its end in TIME_WAIT.
        plat::SocketClose(p.server);
        plat::SocketClose(p.listener);
    }
    plat::SocketHandle again = plat::TcpSocket();
    EXPECT_TRUE(plat::SocketBind(again, "", port));
    EXPECT_TRUE(plat::SocketListen(again, 5));
    plat::SocketClose(again);
}

TEST(Sockets, NamesAndDottedAddresses) {
    std::uint32_t ip = 0;
    ASSERT_TRUE(plat::ResolveHost("127.0.0.1", &ip));
    EXPECT_EQ(ip, plat::kLoopback);
    EXPECT_EQ(plat::AddressText(0xC0A80105u), "192.168.1.5");
    ASSERT_TRUE(plat::ResolveHost("localhost", &ip));
    EXPECT_EQ(ip >> 24, 127u);
    EXPECT_FALSE(plat::ResolveHost("", &ip));
}
