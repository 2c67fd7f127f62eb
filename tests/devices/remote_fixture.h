// The remote link's test ends over loopback: the test window that stands
// in for the main frame's share of the link, a test peer, and the program as
// radio server beside the simulated radio.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/device_options.h"
#include "base/shell_ops.h"
#include "civ/civ_options.h"
#include "civ/link_fixture.h"
#include "civ/radio_init.h"
#include "common/real_waits.h"
#include "devices/remote_link.h"
#include "platform/socket.h"
#include "sim/sim_radio.h"

using plat::manual_clock::Advance;

namespace remote_test {
// The main frame's share of the link: its timers and socket messages.
class RemoteWindow : public PumpWindow {
public:
    void OnTimer(unsigned id) override {
        if (id == TIMER_SOCK_TIMEOUT) {
            KillTimer(id);
            OnSockTimeout();
        } else if (id == TIMER_ONE_SECOND) {
            if (g_radioserver) ServiceServerSocket();
            if (g_client) ServiceClientSocket();
            else if (g_linkstate == 3) SendKeepAlive();
        } else {
            PumpWindow::OnTimer(id);
        }
    }
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM w, plat::LPARAM l) override {
        OnRemoteSocketMessage(msg, w, l);
        return 0;
    }
};

// The simulated radio beside the program while a server runs: each step
// settles its line.
inline const sim::SimRadio*& PumpRadio() {
    static const sim::SimRadio* radio = nullptr;
    return radio;
}

// Runs `steps` steps of the manual clock, the radio's line settled after each.
inline void RunSteps(int steps, unsigned stepMs = 10) {
    for (int k = 0; k < steps; ++k) {
        Advance(stepMs);
        if (PumpRadio()) PumpRadio()->settleLine();
    }
}

// Runs the manual clock in steps until `done`, at most `steps` of them; the
// radio's line is settled after each. Loopback carries a peer's bytes
// within the send, so a step sees them; what still lags in real time is
// waited for at the end with the clock standing. `done` is asked once per
// step (it may consume what it looks at).
template <class Done>
bool Pump(Done done, int steps = 300, unsigned stepMs = 10) {
    for (int k = 0; k < steps; ++k) {
        if (done()) return true;
        Advance(stepMs);
        if (PumpRadio()) PumpRadio()->settleLine();
    }
    return done() || realwait::Until(done);
}

inline int FreePort() {
    plat::SocketHandle s = plat::TcpSocket();
    plat::SocketBind(s, "127.0.0.1", 0);
    const int port = plat::SocketLocalPort(s);
    plat::SocketClose(s);
    return port;
}

struct Message {
    int type = -1;
    Bytes payload;
};

inline Bytes Encode(int type, const Bytes& payload) {
    const int l = int(payload.size()) + 1;
    Bytes m{std::uint8_t(l & 0xFF), std::uint8_t(l >> 8), std::uint8_t(type)};
    m.insert(m.end(), payload.begin(), payload.end());
    return m;
}

inline Bytes Logon(int cls, const std::string& call, const std::string& pw) {
    Bytes p{std::uint8_t(cls)};
    p.insert(p.end(), call.begin(), call.end());
    p.push_back(0);
    p.insert(p.end(), pw.begin(), pw.end());
    p.push_back(0);
    return p;
}

// The test's end of a connection.
struct Peer {
    plat::SocketHandle s = plat::kInvalidSocket;
    Bytes in;
    bool closed = false;

    ~Peer() { plat::SocketClose(s); }
    // `from`: a loopback address of the peer's own (127.0.0.2...).
    bool connect(int port, const char* from = nullptr) {
        s = plat::TcpSocket();
        if (from && !plat::SocketBind(s, from, 0)) return false;
        const int rc = plat::SocketConnect(s, {plat::kLoopback, port});
        if (rc != 0 && plat::SocketLastError() != plat::kSockInProgress) return false;
        // Writable once connected: a zero-length send succeeds.
        return Pump([&] { return plat::SocketSend(s, nullptr, 0) == 0; }, 100);
    }
    void sendRaw(const Bytes& b) { ASSERT_EQ(plat::SocketSend(s, b.data(), int(b.size())), int(b.size())); }
    void send(int type, const Bytes& payload = {}) { sendRaw(Encode(type, payload)); }
    void take() {
        std::uint8_t buf[4096];
        for (;;) {
            const int n = plat::SocketRecv(s, buf, sizeof buf);
            if (n > 0) {
                in.insert(in.end(), buf, buf + n);
                continue;
            }
            if (n == 0 || plat::SocketLastError() != plat::kSockWouldBlock) closed = true;
            return;
        }
    }
    bool next(Message* m) {
        take();
        if (in.size() < 3) return false;
        const std::size_t l = in[0] + 256u * in[1];
        if (in.size() < 2 + l) return false;
        m->type = in[2];
        m->payload.assign(in.begin() + 3, in.begin() + 2 + long(l));
        in.erase(in.begin(), in.begin() + 2 + long(l));
        return true;
    }
    // The next message other than a keep-alive, waiting (pumping) for it.
    Message expect(int steps = 300) {
        Message m;
        Pump([&] {
            while (next(&m))
                if (m.type != kMsgKeepAlive) return true;
            m.type = -1;
            return closed;
        }, steps);
        return m;
    }
    bool waitClosed(int steps = 300) {
        Message m;
        return Pump([&] {
            while (next(&m)) {
            }
            return closed;
        }, steps);
    }
};

// The program as radio server beside the simulated radio.
struct Server : LinkBase {
    RemoteWindow rwin;
    sim::SimRadio radio{0x94, 19200};
    int port = FreePort();

    Server() {
        g_timerwindow = &rwin;
        PumpRadio() = &radio;
        radio.start();
        open(radio.slavePath());
        g_radioserver = 1;
        g_radioinitialised = 1;
        g_serverport = port;
        dir.write("passwords.csv", "K1ABC,other,x\r\nW1AW,Secret,ham\r\n");
        rwin.SetTimer(TIMER_ONE_SECOND, 1000);
        rwin.SetTimer(TIMER_METER_CYCLE, 200);
        ServiceServerSocket();
        EXPECT_EQ(g_linkstate, 2);
    }
    ~Server() {
        ShutdownRemote();
        PumpRadio() = nullptr;
        radio.stop();
        plat::SerialClose(g_radioport);
        rwin.KillTimer(TIMER_DEVICE_POLL);
        rwin.KillTimer(TIMER_SENDQ);
        g_timerwindow = nullptr;
    }
    // Connects `peer` (from `from`) and reads the version announcement.
    void accept(Peer& peer, const char* from = nullptr) {
        ASSERT_TRUE(Pump([&] { return g_linkstate >= 2; }, 200, 100));
        ASSERT_TRUE(peer.connect(port, from));
        const Message v = peer.expect();
        ASSERT_EQ(v.type, kMsgVersion);
        ASSERT_EQ(v.payload, Bytes{kProtocolVersion});
    }
    // Connects `peer` from `from`, sends a log-on and returns the answer.
    Message tryLogon(Peer& peer, const char* from, const std::string& call, const std::string& pw) {
        accept(peer, from);
        peer.send(kMsgLogOn, Logon(0, call, pw));
        return peer.expect();
    }
    void logon(Peer& peer) {
        accept(peer);
        peer.send(kMsgLogOn, Logon(2, "W1AW", "sEcReT"));
        const Message a = peer.expect();
        ASSERT_EQ(a.type, kMsgAccepted);
        ASSERT_EQ(a.payload, Bytes{20});
        ASSERT_TRUE(RemoteOperatorActive());
    }
    // Whether `frame` reached the radio within `steps` steps: with the
    // radio's line settled after each step, the answer is final.
    bool radioGot(const Bytes& frame, int steps = 200) {
        auto got = [&] {
            for (const Bytes& f : radio.frames())
                if (f == frame) return true;
            return false;
        };
        for (int k = 0; k < steps && !got(); ++k) RunSteps(1);
        return got();
    }
    std::string logs() { return dir.read("comms.txt") + (dir.exists("comms2.txt") ? dir.read("comms2.txt") : ""); }
};
}  // namespace remote_test
