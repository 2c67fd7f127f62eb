// The remote link over loopback: the program as radio server (with the
// simulated radio) against a test peer, and as operator client against a
// test server. Nothing may reach the radio before a valid log-on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <signal.h>

#include "base/band_plan.h"
#include "base/device_options.h"
#include "base/shell_ops.h"
#include "civ/civ_options.h"
#include "civ/link_fixture.h"
#include "civ/radio_init.h"
#include "civ/send_queue.h"
#include "common/program_runner.h"
#include "devices/remote_fixture.h"
#include "devices/remote_link.h"
#include "platform/message_box.h"
#include "platform/socket.h"
#include "sim/sim_radio.h"

using namespace remote_test;

namespace {
const Bytes kReadFreq = Frame({0x03});
}  // namespace

TEST(RemoteServer, FrameBeforeLogonNeverReachesTheRadioAndDropsThePeer) {
    Server srv;
    Peer peer;
    srv.accept(peer);
    EXPECT_FALSE(RemoteOperatorActive());
    EXPECT_TRUE(srv.rwin.HasTimer(TIMER_METER_CYCLE));  // the local meter poll goes on
    peer.send(kMsgCivFrame, kReadFreq);
    ASSERT_TRUE(peer.waitClosed());
    EXPECT_FALSE(srv.radioGot(kReadFreq, 30));
    EXPECT_EQ(srv.traced("not logged on, message type 1"), 1);
    EXPECT_EQ(g_holdercall[0], '\0');
    // Local operation is untouched and the server listens again.
    EXPECT_TRUE(srv.rwin.HasTimer(TIMER_METER_CYCLE));
    ASSERT_TRUE(Pump([] { return g_linkstate == 2; }, 20, 100));
    Put(kReadFreq);
    EXPECT_TRUE(srv.radioGot(kReadFreq));
}

TEST(RemoteServer, LogonThenFramesBothWaysAndTheCallLog) {
    Server srv;
    plat::manual_clock::SetWallClock(1796817600);  // 2026-12-09 12:00:00 UTC
    g_licenseclass = 0;
    Peer peer;
    srv.logon(peer);
    EXPECT_EQ(StatusBarText(), "Connected to W1AW");
    EXPECT_FALSE(srv.rwin.HasTimer(TIMER_METER_CYCLE));
    EXPECT_EQ(g_licenseclass, 0);  // the client's class stays its own
    EXPECT_EQ(srv.dir.read("calllog.txt"), "W1AW license class General, logged on at 12:00:00 12/09/2026\n");
    // Local builders keep quiet while the client operates.
    Put(Frame({0x04}));
    // The client's frame goes to the radio; the radio's answer comes back.
    peer.send(kMsgCivFrame, kReadFreq);
    ASSERT_TRUE(srv.radioGot(kReadFreq));
    const Message reply = peer.expect();
    ASSERT_EQ(reply.type, kMsgCivFrame);
    ASSERT_EQ(reply.payload.size(), 11u);
    EXPECT_EQ(reply.payload[2], 0xE0);
    EXPECT_EQ(reply.payload[4], 0x03);
    EXPECT_FALSE(srv.radioGot(Frame({0x04}), 5));
    // Log-off: the radio returns to the local operator.
    peer.send(kMsgLogOff);
    ASSERT_TRUE(peer.waitClosed());
    EXPECT_TRUE(srv.rwin.HasTimer(TIMER_METER_CYCLE));
    EXPECT_EQ(g_holdercall[0], '\0');
    EXPECT_NE(srv.dir.read("calllog.txt").find("\nW1AW logged off at 12:00:"), std::string::npos);
}

TEST(RemoteServer, BadPasswordIsRefusedAndNeverTraced) {
    Server srv;
    g_trace = 3;
    Peer peer;
    srv.accept(peer);
    peer.send(kMsgLogOn, Logon(0, "W1AW", "Hunter2x"));
    EXPECT_EQ(peer.expect().type, kMsgRefused);
    ASSERT_TRUE(peer.waitClosed());
    EXPECT_FALSE(RemoteOperatorActive());
    const std::string log = srv.logs();
    EXPECT_NE(log.find("call W1AW"), std::string::npos);
    EXPECT_EQ(log.find("Hunter2x"), std::string::npos);
    EXPECT_EQ(log.find("48 75 6E 74"), std::string::npos);  // nor its bytes in hex
    // One try per connection; a good password on a new one works once the
    // address's back-off is over.
    Advance(LogonHeldOffMs(plat::kLoopback));
    Peer again;
    srv.logon(again);
    EXPECT_EQ(srv.logs().find("Secret"), std::string::npos);
}

TEST(RemoteServer, MalformedLogonsDropWithoutAnAnswer) {
    Server srv;
    const std::vector<Bytes> bad = {
        Logon(5, "W1AW", "Secret"),                        // no such class
        Logon(0, "w1aw", "Secret"),                        // call not upper case
        Logon(0, std::string(32, 'A'), "Secret"),          // call too long
        Logon(0, "W1AW", std::string(64, 'x')),            // password too long
        Bytes{0, 'W', '1', 'A', 'W', 0, 'S', 'e', 'c'},    // password without its NUL
        Logon(0, "W1AW", "Secret") + Bytes{0x55},          // bytes behind it
    };
    for (const Bytes& b : bad) {
        Advance(LogonHeldOffMs(plat::kLoopback));
        Peer peer;
        srv.accept(peer);
        peer.send(kMsgLogOn, b);
        Message m = peer.expect();
        EXPECT_EQ(m.type, -1);
        EXPECT_TRUE(peer.closed);
    }
    EXPECT_EQ(srv.traced("bad logon message"), int(bad.size()));
    // Each try is in the call log with the address; nobody logged off.
    const std::string log = srv.dir.read("calllog.txt");
    EXPECT_EQ(log.find("logged off"), std::string::npos);
    EXPECT_EQ(log.find("W1AW from 127.0.0.1 refused (malformed log-on) at "), 0u);
    EXPECT_NE(log.find("\nw1aw from 127.0.0.1 refused (malformed log-on) at "), std::string::npos);
}

TEST(RemoteServer, BadLengthsDropAndTheServerListensAgain) {
    Server srv;
    {
        Peer peer;
        srv.accept(peer);
        peer.sendRaw({0x00, 0x00});
        ASSERT_TRUE(peer.waitClosed());
        EXPECT_EQ(srv.traced("Bad length 0"), 1);
    }
    {
        Advance(LogonHeldOffMs(plat::kLoopback));
        Peer peer;  // before the log-on nothing longer than a log-on is read
        srv.accept(peer);
        peer.sendRaw({99, 0x00});
        ASSERT_TRUE(peer.waitClosed());
        EXPECT_EQ(srv.traced("Bad length 99"), 1);
    }
    {
        Advance(LogonHeldOffMs(plat::kLoopback));
        Peer peer;
        srv.logon(peer);
        peer.sendRaw({0xD0, 0x09});  // 2512
        ASSERT_TRUE(peer.waitClosed());
        EXPECT_EQ(srv.traced("Bad length 2512"), 1);
    }
}

TEST(RemoteServer, EveryTypeHasItsLength) {
    Server srv;
    const std::vector<Bytes> bad = {
        Encode(kMsgKey, {}),                         // an empty key message must not key
        Encode(kMsgKey, {1, 1}),
        Encode(kMsgClientState, Bytes(28, '0')),
        Encode(kMsgBearing, {'1', 'x', '3'}),
        Encode(kMsgCivFrame, {0xFE, 0xFE, 0x94, 0xE0, 0x03}),  // no FD
        Encode(kMsgCivFrame, {0xFE, 0xFE, 0x94, 0xFD, 0x03, 0xFD}),
        Encode(kMsgLogOn, Logon(0, "W1AW", "Secret")),  // a second log-on
    };
    for (const Bytes& b : bad) {
        Peer peer;
        srv.logon(peer);
        peer.sendRaw(b);
        ASSERT_TRUE(peer.waitClosed()) << int(b[2]);
    }
    EXPECT_EQ(srv.traced("bad message type"), int(bad.size()));
}

TEST(RemoteServer, HeaderSplitAcrossSegmentsAndUnknownTypes) {
    Server srv;
    Peer peer;
    srv.logon(peer);
    const Bytes m = Encode(kMsgCivFrame, kReadFreq);
    peer.sendRaw({m[0]});
    RunSteps(5);
    peer.sendRaw(Bytes(m.begin() + 1, m.begin() + 5));
    RunSteps(5);
    peer.sendRaw(Bytes(m.begin() + 5, m.end()));
    EXPECT_TRUE(srv.radioGot(kReadFreq));
    peer.send(77, {1, 2, 3});  // a newer client's type: ignored
    peer.send(kMsgKeepAlive);
    RunSteps(5);
    EXPECT_TRUE(RemoteOperatorActive());
}

TEST(RemoteServer, KeepAlivesAndTimeOuts) {
    Server srv;
    {
        // A silent peer is gone 10 s after the accept; bytes do not extend it.
        Peer peer;
        srv.accept(peer);
        for (int k = 0; k < 9; ++k) {
            Advance(1000);
            if (k == 5) peer.sendRaw({0x05});
        }
        EXPECT_EQ(RemoteCallerCount(), 1);
        ASSERT_TRUE(peer.waitClosed(150));
        EXPECT_EQ(srv.traced("sock timeout"), 1);
    }
    Peer peer;
    srv.logon(peer);
    int keepAlives = 0;
    auto countKeepAlives = [&] {
        Message m;
        while (peer.next(&m))
            if (m.type == kMsgKeepAlive) ++keepAlives;
        return keepAlives >= 4;
    };
    for (int k = 0; k < 5; ++k) {
        Advance(1000);
        countKeepAlives();
    }
    realwait::Wait(countKeepAlives);
    EXPECT_GE(keepAlives, 4);
    EXPECT_LE(keepAlives, 6);
    // Once logged on, every message re-arms the 20 s time-out.
    for (int k = 0; k < 3; ++k) {
        Advance(12000);
        peer.send(kMsgKeepAlive);
        RunSteps(3);
    }
    EXPECT_TRUE(RemoteOperatorActive());
    Advance(21000);
    EXPECT_FALSE(RemoteOperatorActive());
    EXPECT_EQ(srv.traced("sock timeout"), 2);
}

TEST(RemoteServer, ClientKeyedThenResetLeavesAWorkingServer) {
    Server srv;
    {
        Peer peer;
        srv.logon(peer);
        peer.send(kMsgKey, {1});
        RunSteps(5);
        // Unread keep-alives make the close a reset (loopback has them on
        // the peer's side once the server's send returned).
        Advance(2000);
    }
    ASSERT_TRUE(Pump([] { return g_linkstate != 3; }, 200, 100));
    EXPECT_FALSE(RemoteOperatorActive());
    EXPECT_TRUE(srv.rwin.HasTimer(TIMER_METER_CYCLE));
    Peer again;
    srv.logon(again);
    again.send(kMsgCivFrame, kReadFreq);
    EXPECT_TRUE(srv.radioGot(kReadFreq));
}

TEST(RemoteServer, AStalledClientIsDroppedOnceAndCleanly) {
    Server srv;
    Peer peer;
    srv.logon(peer);
    // The client reads nothing: once the system's buffer is full a send
    // comes up short and the link ends rather than queueing without bound.
    const Bytes block(2400, 0x55);
    int sends = 0;
    while (sends < 100000 && sendtopartner(block.data(), int(block.size()), 77) > 0) ++sends;
    EXPECT_LT(sends, 100000);
    EXPECT_EQ(g_linkstate, 2);  // still listening
    EXPECT_FALSE(RemoteOperatorActive());
    EXPECT_FALSE(srv.rwin.HasTimer(TIMER_SOCK_TIMEOUT));
    EXPECT_EQ(srv.traced("bad send rc"), 1);
    // Dropping again changes nothing and writes no second log-off line.
    DropConnection(-1);
    EXPECT_EQ(sendtopartner(block.data(), 10, 77), -1);
    const std::string log = srv.dir.read("calllog.txt");
    EXPECT_EQ(log.find("logged off"), log.rfind("logged off"));
    EXPECT_TRUE(srv.rwin.HasTimer(TIMER_METER_CYCLE));
}

TEST(RemoteServer, PasswordLinesWithoutAPasswordGrantNothingAndRefusalsAreSummedUp) {
    Server srv;
    srv.dir.write("passwords.csv", "\xEF\xBB\xBFK1ABC , Secret \r\nW1AW,\r\nN0CALL,,x\r\n");
    Peer empty, emptyMiddle, bom;
    EXPECT_EQ(srv.tryLogon(empty, "127.0.0.2", "W1AW", "").type, kMsgRefused);
    EXPECT_EQ(srv.tryLogon(emptyMiddle, "127.0.0.3", "N0CALL", "").type, kMsgRefused);
    EXPECT_EQ(srv.tryLogon(bom, "127.0.0.4", "K1ABC", "secret").type, kMsgAccepted);
    // One address refused again and again: three lines, then a sum each ten minutes.
    for (int k = 0; k < 7; ++k) {
        Advance(k == 6 ? 600000 : LogonHeldOffMs(0x7F000005u));
        Peer guess;
        EXPECT_EQ(srv.tryLogon(guess, "127.0.0.5", "K1ABC", "x").type, kMsgRefused);
    }
    const std::string log = srv.dir.read("calllog.txt");
    EXPECT_NE(log.find("\n127.0.0.5 refused 4 more times (last: bad call sign or password) up to "), std::string::npos);
    int full = 0;
    for (auto p = log.find("K1ABC from 127.0.0.5"); p != std::string::npos; p = log.find("K1ABC from 127.0.0.5", p + 1))
        ++full;
    EXPECT_EQ(full, 3);
}

TEST(RemoteServer, ClientFramesReachTheRadioOneByOneAndAFullQueueSaysSo) {
    Server srv;
    Peer peer;
    srv.logon(peer);
    // Two frames in one message: refused whole, and the link goes on.
    peer.send(kMsgCivFrame, {0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFE, 0xFE, 0x94, 0xE0, 0x1C, 0x00, 0x01, 0xFD});
    peer.send(kMsgCivFrame, kReadFreq);
    ASSERT_TRUE(srv.radioGot(kReadFreq));
    EXPECT_FALSE(srv.radioGot(Frame({0x1C, 0x00, 0x01}), 5));
    EXPECT_EQ(srv.traced("frame from client refused, preamble inside"), 1);
    // 500 requests in one write: what the send queue cannot take is answered
    // "not done" (FA); each run of refusals is traced where it starts and ends.
    srv.radio.clearLog();
    Bytes burst;
    for (int k = 0; k < 500; ++k) burst = burst + Encode(kMsgCivFrame, Frame({0x15, 0x02}));
    peer.sendRaw(burst);
    int refused = 0;
    ASSERT_TRUE(Pump([&] {
        for (Message m; peer.next(&m);) refused += m.payload == Frame({0xFA}, 0xE0, 0x94);
        return refused + SendQueueDepth() + int(srv.radio.frames().size()) == 500;
    }, 2000));
    EXPECT_GT(refused, 0);
    EXPECT_TRUE(Pump([] { return SendQueueEmpty(); }, 2000));
    peer.send(kMsgCivFrame, kReadFreq);
    ASSERT_TRUE(srv.radioGot(kReadFreq));
    EXPECT_GE(srv.traced("send queue full, frames from client refused"), 1);
    EXPECT_EQ(srv.traced("send queue full: "), srv.traced("send queue full, frames from client refused"));
}

// ---- The program as operator client ----------------------------------------

namespace {
struct Client : LinkBase {
    RemoteWindow rwin;
    plat::SocketHandle listener = plat::TcpSocket();
    Peer server;

    Client() {
        g_timerwindow = &rwin;
        plat::SocketBind(listener, "127.0.0.1", 0);
        plat::SocketListen(listener, 1);
        g_client = 1;
        std::snprintf(g_radioip, sizeof g_radioip, "127.0.0.1");
        g_serverport = plat::SocketLocalPort(listener);
        std::snprintf(g_callsign, sizeof g_callsign, "w1aw");
        dir.write("passwords.csv", "W1AW,Secret,\n");
        rwin.SetTimer(TIMER_ONE_SECOND, 1000);
        ServiceClientSocket();
    }
    ~Client() {
        ShutdownRemote();
        plat::SocketClose(listener);
        g_timerwindow = nullptr;
    }
    void accept() {
        ASSERT_TRUE(Pump([&] {
            server.s = plat::SocketAccept(listener);
            return server.s != plat::kInvalidSocket;
        }, 200));
        ASSERT_TRUE(Pump([] { return g_linkstate == 3; }));
    }
};
}  // namespace

TEST(RemoteClient, LogsOnAndOperatesTheRadioThroughTheServer) {
    Client c;
    c.accept();
    // Nothing leaves the client before the server asks for the log-on.
    Put(kReadFreq);
    c.server.send(kMsgVersion, {kProtocolVersion});
    Message m = c.server.expect();
    ASSERT_EQ(m.type, kMsgLogOn);
    EXPECT_EQ(m.payload, Logon(0, "W1AW", "Secret"));
    EXPECT_EQ(c.traced("Secret"), 0);
    const unsigned beeps = plat::BeepCount();
    c.server.send(kMsgAccepted, {3});
    ASSERT_TRUE(Pump([] { return RemoteClientReady(); }));
    EXPECT_EQ(g_socktimeout, 20000);
    EXPECT_EQ(plat::BeepCount(), beeps + 1);  // the operator hears the log-on taken
    // Radio initialisation now runs through the link.
    m = c.server.expect();
    EXPECT_EQ(m.type, kMsgCivFrame);
    EXPECT_EQ(m.payload[0], 0xFE);
    // The server's radio frames are processed as the radio's own.
    c.server.send(kMsgCivFrame, {0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD});
    ASSERT_TRUE(Pump([&] { return c.traced("Process message from server len 11, command 03") == 1; }));
    // A log-off drops the link; the client connects again.
    c.server.send(kMsgLogOff);
    ASSERT_TRUE(Pump([] { return g_linkstate == 1; }));
    EXPECT_EQ(StatusBarText(), "Lost Connection");
    EXPECT_EQ(g_radioinitialised, 0);
    plat::SocketClose(c.server.s);
    Advance(1000);
    EXPECT_GE(g_linkstate, 2);
}

TEST(RemoteClient, SwitchDatagramsGoToTheServer) {
    g_remoteswitch = 1;
    g_switchport = [] {
        plat::SocketHandle u = plat::UdpSocket();
        plat::SocketBind(u, "127.0.0.1", 0);
        const int p = plat::SocketLocalPort(u);
        plat::SocketClose(u);
        return p;
    }();
    Client c;
    c.accept();
    c.server.send(kMsgVersion, {kProtocolVersion});
    ASSERT_EQ(c.server.expect().type, kMsgLogOn);
    c.server.send(kMsgAccepted, {20});
    ASSERT_TRUE(Pump([] { return RemoteClientReady(); }));
    plat::SocketHandle u = plat::UdpSocket();
    const std::uint8_t shortOne[2] = {9, 9}, record[3] = {1, 4, 1};
    plat::SocketSendTo(u, shortOne, 2, {plat::kLoopback, int(g_switchport)});
    plat::SocketSendTo(u, record, 3, {plat::kLoopback, int(g_switchport)});
    Message m;
    ASSERT_TRUE(Pump([&] {
        while (c.server.next(&m))
            if (m.type == kMsgSwitch) return true;
        return false;
    }));
    EXPECT_EQ(m.payload, (Bytes{1, 4, 1}));
    plat::SocketClose(u);
}

TEST(RemoteClient, RefusalStopsTheAttemptsAndTimeOutsFollowTheAcknowledgement) {
    EXPECT_EQ(TimeoutFromAck(3), 20000);
    EXPECT_EQ(TimeoutFromAck(201), 20000);
    EXPECT_EQ(TimeoutFromAck(5), 5000);
    Client c;
    c.accept();
    c.server.send(kMsgVersion, {kProtocolVersion});
    EXPECT_EQ(c.server.expect().type, kMsgLogOn);
    c.server.send(kMsgRefused);
    ASSERT_TRUE(Pump([] { return g_linkstate == 1; }));
    const auto& boxes = plat::message_box_script::History();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Password is not valid.\n");
    Advance(3000);
    EXPECT_EQ(g_linkstate, 1);  // no more attempts in this run
}

TEST(RemoteClient, ServerInUseWaitsAMinuteAndAMalformedServerIsDropped) {
    Client c;
    c.accept();
    c.server.send(kMsgInUse, {'K', '1', 'A', 'B', 'C', 0, 12});
    ASSERT_TRUE(Pump([] { return g_linkstate == 1; }));
    EXPECT_EQ(StatusBarText(), "Retrying once a minute, in use by K1ABC for 12 minutes\n");
    Advance(30000);
    EXPECT_EQ(g_linkstate, 1);
    Advance(31000);
    EXPECT_GE(g_linkstate, 2);
    plat::SocketClose(c.server.s);
    c.accept();
    c.server.send(kMsgVersion, {1, 2});  // a version message of two bytes
    ASSERT_TRUE(Pump([] { return g_linkstate == 1; }));
    EXPECT_EQ(c.traced("bad message type 100, length 2"), 1);
}

// ---- The whole program as radio server, in its own event loop ----------------

TEST(RemoteProgram, ClientOperatesTheSimulatedRadioOnlyAfterLoggingOn) {
    TestDir dir;
    sim::SimRadio radio(0x94, 19200);
    ASSERT_TRUE(radio.link(dir.file("ports/com1")));
    radio.start();
    const int port = FreePort();
    dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nRADIO SERVER=1\n[OPERATING STATUS]\nQARV=23\nPORT=" +
                              std::to_string(port) + "\n");
    dir.write("passwords.csv", "W1AW,Secret,\n");
    ProgramRunner qarv(dir.path());
    ASSERT_TRUE(qarv.WaitForText("comms.txt", "Listen completed", 20000));
    // 7.123456 MHz: a frequency nothing else sends.
    const Bytes setFreq = Frame({0x05, 0x56, 0x34, 0x12, 0x07, 0x00});
    {
        Peer peer;
        ASSERT_TRUE(peer.connect(port));
        EXPECT_EQ(peer.expect(2500).type, kMsgVersion);
        peer.send(kMsgCivFrame, setFreq);
        ASSERT_TRUE(peer.waitClosed(2500));
    }
    // Whether the refused caller's frame got through shows below: the radio
    // then has the frame twice.
    // The server still listens; the refused address waits out its back-off,
    // another is served at once.
    Peer peer;
    ASSERT_TRUE(peer.connect(port, "127.0.0.2"));
    ASSERT_EQ(peer.expect(2500).type, kMsgVersion);
    peer.send(kMsgLogOn, Logon(1, "W1AW", "secret"));
    ASSERT_EQ(peer.expect(2500).type, kMsgAccepted);
    peer.send(kMsgCivFrame, setFreq);
    realwait::Wait([&] { return radio.frequency() == 7123456; });
    EXPECT_EQ(radio.frequency(), 7123456);
    radio.settle();
    const auto frames = radio.frames();
    EXPECT_EQ(std::count(frames.begin(), frames.end(), setFreq), 1);
    EXPECT_TRUE(qarv.WaitForText("calllog.txt", "W1AW license class Advanced, logged on at ", 2000));
    EXPECT_EQ(qarv.StopWith(SIGTERM, 10000), 0);
    radio.stop();
    EXPECT_EQ(dir.read("comms.txt").find("ecret"), std::string::npos);
}

TEST(RemoteProgram, ClientLogsOnAndSendsItsStateThroughTheLink) {
    TestDir dir;
    plat::SocketHandle listener = plat::TcpSocket();
    ASSERT_TRUE(plat::SocketBind(listener, "127.0.0.1", 0));
    ASSERT_TRUE(plat::SocketListen(listener, 1));
    const int port = plat::SocketLocalPort(listener);
    dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM0\nOPERATOR CLIENT=1\n[OPERATING STATUS]\nQARV=23\nCALLSIGN=k1abc\n"
                          "RADIO IP=127.0.0.1\nPORT=" + std::to_string(port) + "\n");
    dir.write("passwords.csv", "K1ABC,Hidden,\n");
    ProgramRunner qarv(dir.path());
    Peer server;
    realwait::Wait([&] { return (server.s = plat::SocketAccept(listener)) != plat::kInvalidSocket; }, 10000);
    ASSERT_NE(server.s, plat::kInvalidSocket);
    server.send(kMsgVersion, {kProtocolVersion});
    Message m = server.expect(2500);
    ASSERT_EQ(m.type, kMsgLogOn);
    EXPECT_EQ(m.payload, Logon(0, "K1ABC", "Hidden"));
    server.send(kMsgAccepted, {20});
    // Radio initialisation comes through the link, then the client's state.
    bool frame = false, state = false;
    realwait::Wait([&] {
        while (server.next(&m)) {
            frame = frame || m.type == kMsgCivFrame;
            state = state || (m.type == kMsgClientState && m.payload.size() == 29);
        }
        return frame && state;
    }, 10000);
    EXPECT_TRUE(frame);
    EXPECT_TRUE(state);
    EXPECT_EQ(qarv.StopWith(SIGTERM, 10000), 0);
    // The log-off reaches the server at exit.
    bool logoff = false;
    realwait::Wait([&] {
        while (server.next(&m)) logoff = logoff || m.type == kMsgLogOff;
        return logoff || server.closed;
    });
    EXPECT_TRUE(logoff);
    EXPECT_EQ(dir.read("comms.txt").find("Hidden"), std::string::npos);
    plat::SocketClose(listener);
}

// ---- Rules ------------------------------------------------------------------

TEST(RemoteRules, LogonParsingAndPasswordLines) {
    LogonRequest r;
    const Bytes ok = Logon(4, "DL/W1AW", "pw");
    ASSERT_TRUE(ParseLogon(ok.data(), int(ok.size()), &r));
    EXPECT_EQ(r.licenseClass, 4);
    EXPECT_EQ(r.call, "DL/W1AW");
    EXPECT_EQ(r.password, "pw");
    const Bytes emptyPw = Logon(0, "W1AW", "");
    EXPECT_TRUE(ParseLogon(emptyPw.data(), int(emptyPw.size()), &r));
    const Bytes noCall = Logon(0, "", "pw");
    EXPECT_FALSE(ParseLogon(noCall.data(), int(noCall.size()), &r));
    const Bytes noNul{0, 'W', '1'};
    EXPECT_FALSE(ParseLogon(noNul.data(), 3, &r));

    EXPECT_TRUE(PasswordLineMatches("w1aw,SeCrEt,x\n", "W1AW", "secret"));
    EXPECT_TRUE(PasswordLineMatches("W1AW,Secret\r\n", "W1AW", "Secret"));  // two fields
    EXPECT_TRUE(PasswordLineMatches("W1AW,Secret", "W1AW", "Secret"));
    EXPECT_FALSE(PasswordLineMatches("W1AW,Secret\n", "W1AW", "Secret\n"));
    EXPECT_FALSE(PasswordLineMatches("W1AW\n", "W1AW", ""));
    EXPECT_FALSE(PasswordLineMatches("W1AW,Secre,x\n", "W1AW", "Secret"));
    EXPECT_FALSE(PasswordLineMatches("W1AWX,Secret,x\n", "W1AW", "Secret"));
    EXPECT_FALSE(PasswordLineMatches(",,x\n", "", ""));

    EXPECT_EQ(CallLogLine("W1AW", 1, 3, 7, 5, 9, 1, 2, 2027), "W1AW license class Nov/Tech, logged on at 07:05:09 01/02/2027");
    EXPECT_EQ(CallLogLine("", 0, 0, 23, 59, 0, 12, 31, 2026), " logged off at 23:59:00 12/31/2026");

    const Bytes state = [] {
        Bytes s(29, 0);
        s[0] = '3';
        std::memcpy(s.data() + 1, "00014074000", 11);
        s[13] = '0';
        std::memcpy(s.data() + 14, "00007074000", 11);
        s[26] = 1;
        return s;
    }();
    EXPECT_TRUE(PartnerLengthValid(kMsgClientState, state.data(), 29, true));
    Bytes split2 = state;
    split2[26] = 2;
    EXPECT_FALSE(PartnerLengthValid(kMsgClientState, split2.data(), 29, true));
    Bytes noNul2 = state;
    noNul2[12] = '0';
    EXPECT_FALSE(PartnerLengthValid(kMsgClientState, noNul2.data(), 29, true));
}
