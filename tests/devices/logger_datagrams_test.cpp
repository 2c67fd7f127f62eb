// Logger datagrams on loopback: the frequency datagrams a network amplifier
// gets, and a contest logger's active-radio datagram that makes this radio
// active and brings the frequency at once. Bounded in count and real time.
#include <gtest/gtest.h>

#include "base/device_options.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/frequency_state.h"
#include "common/real_waits.h"
#include "common/test_dir.h"
#include "devices/program_links.h"
#include "platform/clock.h"
#include "platform/socket.h"
#include "platform/window.h"

namespace {

class LoggerWindow : public plat::Window {
public:
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM w, plat::LPARAM l) override {
        if (msg == WM_SOCK_GORV) OnSockGorvRead(w, l);
        return 0;
    }
};

// The amplifier's end: a loopback socket on a port of its own.
struct Amplifier {
    plat::SocketHandle sock = plat::UdpSocket();
    int port = 0;
    Amplifier() {
        plat::SocketBind(sock, "127.0.0.1", 0);
        port = plat::SocketLocalPort(sock);
    }
    ~Amplifier() { plat::SocketClose(sock); }
    // The next datagram, or "" when none came within `ms` real milliseconds.
    // Datagrams on loopback keep their order, so that nothing was sent is
    // shown by the next one being a later, different datagram.
    std::string Receive(int ms = realwait::kBoundMs) {
        std::string got;
        realwait::Wait([&] {
            std::uint8_t buf[2048];
            const int n = plat::SocketRecvFrom(sock, buf, sizeof buf);
            if (n >= 0) got.assign(reinterpret_cast<char*>(buf), std::size_t(n));
            return n >= 0;
        }, ms);
        return got;
    }
};

struct Datagrams {
    TestDir dir;
    LoggerWindow win;
    Amplifier amp;
    Datagrams() {
        OpenTraceFile();
        g_timerwindow = &win;
        std::snprintf(g_b26ip, sizeof g_b26ip, "127.0.0.1");
        g_b26port = amp.port;
        g_kpa1500port = amp.port;
        g_vfoafreq = 14.074;
        g_vfobfreq = 14.2;
    }
    ~Datagrams() {
        CloseGorvSocket();
        g_timerwindow = nullptr;
    }
};

}  // namespace

TEST(LoggerDatagrams, FrequencyDatagramInEachForm) {
    Datagrams d;
    SendRadioInfo();
    EXPECT_EQ(d.amp.Receive(), "FA00014074000;");
    g_split = 1;
    SendRadioInfo();
    EXPECT_EQ(d.amp.Receive(), "FA00014200000;");
    g_kpa1500 = 1;
    g_vfobfreq = 2.002;
    SendRadioInfo();
    EXPECT_EQ(d.amp.Receive(), "^FR02002;");
    g_vfobfreq = 7.0301;
    SendRadioInfo();
    EXPECT_EQ(d.amp.Receive(), "^FR07030;");
    g_b26smodel = 1;
    SendRadioInfo();
    const std::string xml = d.amp.Receive();
    EXPECT_EQ(xml.size(), 115u);
    EXPECT_NE(xml.find("<Freq>1407400</Freq>\r\n<TXFreq>0703010</TXFreq>"), std::string::npos) << xml;
}

TEST(LoggerDatagrams, NothingOutsideTheAmplifiersRange) {
    Datagrams d;
    for (double f : {1.79, 60.0, 0.5, 144.2}) {
        g_vfoafreq = f;
        SendRadioInfo();
    }
    g_vfoafreq = 1.8;
    SendRadioInfo();
    EXPECT_EQ(d.amp.Receive(), "FA00001800000;");  // the first datagram of all
}

TEST(LoggerDatagrams, UnresolvableAddressSendsNothingAndIsTriedAgainLater) {
    Datagrams d;
    g_b26ip[0] = 0;
    SendRadioInfo();
    EXPECT_EQ(g_b26destination, 0u);
    std::snprintf(g_b26ip, sizeof g_b26ip, "127.0.0.1");
    SendRadioInfo();  // within the wait after a failed lookup
    plat::manual_clock::Advance(30000);
    g_vfoafreq = 14.075;
    SendRadioInfo();
    EXPECT_EQ(d.amp.Receive(), "FA00014075000;");  // the first datagram of all
}

TEST(LoggerDatagrams, ActiveRadioDatagramMakesThisRadioActiveAndSendsAtOnce) {
    Datagrams d;
    g_gorvradio = 2;
    g_gorvport = [] {
        plat::SocketHandle u = plat::UdpSocket();
        plat::SocketBind(u, "127.0.0.1", 0);
        const int p = plat::SocketLocalPort(u);
        plat::SocketClose(u);
        return p;
    }();
    OpenGorvSocket();
    g_vfoafreq = 14.2;
    SendRadioInfo();  // another radio is active: nothing
    g_vfoafreq = 14.074;
    plat::SocketHandle logger = plat::UdpSocket();
    const plat::SockAddr to{plat::kLoopback, g_gorvport};
    const std::string other = "<RadioInfo><ActiveRadioNr>1</ActiveRadioNr></RadioInfo>";
    const std::string ours = "<RadioInfo><ActiveRadioNr>2</ActiveRadioNr></RadioInfo>";
    const std::string junk = "<ActiveRadioNr>";
    for (const std::string* s : {&junk, &other, &ours})
        plat::SocketSendTo(logger, reinterpret_cast<const std::uint8_t*>(s->data()), int(s->size()), to);
    std::string got;
    realwait::Until([&] { return !(got = d.amp.Receive(0)).empty(); });
    EXPECT_EQ(got, "FA00014074000;");  // the first datagram: none before it
    EXPECT_EQ(g_activeradio, 2);
    // Radio 1 active again: the datagrams stop.
    plat::SocketSendTo(logger, reinterpret_cast<const std::uint8_t*>(other.data()), int(other.size()), to);
    EXPECT_TRUE(realwait::Until([] { return g_activeradio == 1; }));
    SendRadioInfo();
    // Active once more at a new frequency: that is the next datagram.
    g_vfoafreq = 7.1;
    plat::SocketSendTo(logger, reinterpret_cast<const std::uint8_t*>(ours.data()), int(ours.size()), to);
    realwait::Until([&] { return !(got = d.amp.Receive(0)).empty(); });
    EXPECT_EQ(got, "FA00007100000;");
    plat::SocketClose(logger);
}

TEST(LoggerDatagrams, ActiveRadioTag) {
    auto of = [](const std::string& s) {
        return ActiveRadioOf(reinterpret_cast<const std::uint8_t*>(s.data()), int(s.size()));
    };
    EXPECT_EQ(of("<ActiveRadioNr>2</ActiveRadioNr>"), 2);
    EXPECT_EQ(of("<ActiveRadioNr>"), -1);
    EXPECT_EQ(of("x<ActiveRadioNr>z"), -1);
    EXPECT_EQ(of(""), -1);
    EXPECT_EQ(Kpa1500Datagram(29.9999), "^FR30000;");
}
