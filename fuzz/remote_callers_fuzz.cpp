// The radio server's log-on sequence with several callers at once: callers
// arrive from a few addresses, send arbitrary bytes in arbitrary pieces,
// stall, close, and time passes. Nothing may read out of bounds, no more
// callers are held than there are places, a caller hears nothing but the
// log-on answers, and nothing reaches the radio before a valid log-on.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "base/trace_log.h"
#include "civ/radio_init.h"
#include "civ/send_queue.h"
#include "devices/remote_link.h"
#include "fuzz_work_dir.h"
#include "platform/clock.h"

namespace {
constexpr int kPeers = 8;
constexpr plat::SocketHandle kFirstHandle = 1000000;  // never a real socket's

struct FakePeer {
    std::vector<std::uint8_t> in;  // bytes on their way to the server
    std::size_t read = 0;
    bool closed = false;
    bool stalled = false;  // takes nothing more: sends come up short
    std::uint32_t ip = 0;
};
FakePeer g_peers[kPeers];
int g_made = 0;
std::vector<int> g_queue;  // peers waiting to be accepted
std::uint8_t g_split = 1;
bool g_everloggedon = false;
// A real idle socket: reading it leaves the would-block error that the
// server expects when a caller has nothing more to say.
plat::SocketHandle g_idle = plat::kInvalidSocket;

void Check(bool ok) {
    if (!ok) std::abort();
}

FakePeer* PeerOf(plat::SocketHandle s) {
    const int i = s - kFirstHandle;
    return i >= 0 && i < g_made ? &g_peers[i] : nullptr;
}

int Recv(plat::SocketHandle s, std::uint8_t* buf, int max) {
    FakePeer* p = PeerOf(s);
    Check(p != nullptr && max >= 0);
    const std::size_t left = p->in.size() - p->read;
    if (left == 0) {
        if (p->closed) return 0;
        std::uint8_t b;
        plat::SocketRecvFrom(g_idle, &b, 1);
        return -1;
    }
    std::size_t n = std::size_t(g_split % 7 + 1) * (g_split & 0x80 ? 16 : 1);
    g_split = std::uint8_t(g_split * 37 + 11);
    if (n > std::size_t(max)) n = std::size_t(max);
    if (n > left) n = left;
    std::memcpy(buf, p->in.data() + p->read, n);
    p->read += n;
    return int(n);
}

int Send(plat::SocketHandle s, const std::uint8_t* data, int len) {
    FakePeer* p = PeerOf(s);
    Check(p != nullptr && len >= 3);
    // One whole message per send, its length field right.
    Check(data[0] + 256 * data[1] == len - 2);
    // A caller that has not logged on hears only the log-on conversation.
    if (s != g_partnersock) {
        const int type = data[2];
        Check(type == kMsgVersion || type == kMsgInUse || type == kMsgRefused || type == kMsgAccepted);
    }
    return p->stalled ? len - 1 : len;
}

plat::SocketHandle Accept(plat::SockAddr* peer) {
    if (g_queue.empty()) return plat::kInvalidSocket;
    const int i = g_queue.front();
    g_queue.erase(g_queue.begin());
    peer->ip = g_peers[i].ip;
    peer->port = 40000 + i;
    return kFirstHandle + i;
}

const PartnerTransport kTransport{Recv, Send, Accept};

void Invariants() {
    Check(RemoteCallerCount() <= kCallersMax);
    if (RemoteOperatorActive()) g_everloggedon = true;
    // Without a log-on the radio's queue stays empty.
    if (!g_everloggedon) Check(g_qdepth == 0);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The server reads "passwords.csv" and appends to "calllog.txt" in the
    // working directory: work in a directory of its own, with the corpus
    // paths and crash files kept where the caller meant them.
    EnterWorkDir(argc, argv, "/tmp/qarv-callers-fuzz-XXXXXX");
    std::ofstream("passwords.csv") << "W1AW,Secret,\nK1ABC,pw\n";
    plat::manual_clock::Enable();
    g_idle = plat::UdpSocket();
    plat::SocketBind(g_idle, "127.0.0.1", 0);
    return 0;
}

// Input: a string of operations, each an opcode byte and its arguments.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // Every input starts afresh: past back-offs long over, no callers.
    plat::manual_clock::Advance(2 * 3600 * 1000);
    std::remove("calllog.txt");
    g_trace = 3;  // the dumps run too (no file is open)
    g_radioserver = 1;
    g_client = 0;
    g_linkstate = 2;
    g_remotelogon = 0;
    g_holdercall[0] = '\0';
    g_radioinitialised = 1;
    g_putq = g_getq = g_qdepth = 0;
    g_made = 0;
    g_queue.clear();
    g_everloggedon = false;
    g_split = data[0];
    SetPartnerTransport(&kTransport);
    std::size_t at = 1;
    auto next = [&]() -> std::uint8_t { return at < size ? data[at++] : 0; };
    for (int guard = 0; guard < 10000 && at < size; ++guard) {
        const std::uint8_t op = next();
        switch (op % 6) {
        case 0:  // a new caller from one of four addresses
            if (g_made < kPeers) {
                FakePeer& p = g_peers[g_made];
                p = FakePeer{};
                p.ip = plat::kLoopback + (next() % 4);
                g_queue.push_back(g_made++);
                AcceptCallers();
            }
            break;
        case 1: {  // a caller sends some bytes
            const int i = g_made ? next() % g_made : 0;
            const int n = next() % 64;
            for (int k = 0; k < n; ++k) {
                const std::uint8_t b = next();
                if (g_made) g_peers[i].in.push_back(b);
            }
            if (g_made) OnSockRemote(kFirstHandle + i, plat::kSockRead);
            break;
        }
        case 2: {  // a whole valid log-on, so that the fuzzer gets past it
            const int i = g_made ? next() % g_made : 0;
            static const std::uint8_t logon[] = {14, 0, kMsgLogOn, 2, 'W', '1', 'A', 'W', 0,
                                                 'S', 'e', 'c', 'r', 'e', 't', 0};
            if (g_made) {
                g_peers[i].in.insert(g_peers[i].in.end(), logon, logon + sizeof logon);
                OnSockRemote(kFirstHandle + i, plat::kSockRead);
            }
            break;
        }
        case 3: {  // a caller closes or stalls
            const int i = g_made ? next() % g_made : 0;
            if (g_made) {
                if (op & 0x80) g_peers[i].stalled = true;
                else g_peers[i].closed = true;
                OnSockRemote(kFirstHandle + i, plat::kSockClose);
            }
            break;
        }
        case 4:  // time passes
            plat::manual_clock::Advance(unsigned(next()) * 100);
            OnSockTimeout();
            break;
        case 5:  // the one-second tick (the listener is the transport's)
            if (g_linkstate < 2) g_linkstate = 2;
            ServiceServerSocket();
            if (g_linkstate == 3) SendKeepAlive();
            break;
        }
        Invariants();
    }
    DropConnection(-2);
    Check(RemoteCallerCount() == 0);
    SetPartnerTransport(nullptr);
    return 0;
}
