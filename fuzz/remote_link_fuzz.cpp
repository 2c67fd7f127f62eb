// Arbitrary bytes from a peer, in arbitrary segment sizes, through the radio
// server's message assembly and handling of its partner, logged on or not.
// Nothing may read out of bounds, and before a log-on nothing may reach the
// radio. The callers' log-on sequence has a target of its own.
#include <unistd.h>

#include <cstdint>
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
const std::uint8_t* g_in = nullptr;
std::size_t g_left = 0;
std::uint8_t g_split = 1;

int Recv(plat::SocketHandle, std::uint8_t* buf, int max) {
    if (g_left == 0) return 0;  // the peer closed
    std::size_t n = std::size_t(g_split % 7 + 1) * (g_split & 0x80 ? 64 : 1);
    g_split = std::uint8_t(g_split * 37 + 11);
    if (n > std::size_t(max)) n = std::size_t(max);
    if (n > g_left) n = g_left;
    std::memcpy(buf, g_in, n);
    g_in += n;
    g_left -= n;
    return int(n);
}

int Send(plat::SocketHandle, const std::uint8_t*, int len) { return len; }

const PartnerTransport kTransport{Recv, Send, nullptr};

void Check(bool ok) {
    if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The link reads "passwords.csv" and writes "calllog.txt" in the working
    // directory: work in a directory of its own, with the corpus paths and
    // the crash files kept where the caller meant them.
    EnterWorkDir(argc, argv, "/tmp/qarv-remote-fuzz-XXXXXX");
    std::ofstream("passwords.csv") << "W1AW,Secret,\n";
    plat::manual_clock::Enable();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    g_trace = 3;  // the dumps run too (no file is open)
    g_radioserver = 1;
    g_client = 0;
    g_linkstate = 3;
    g_radioinitialised = 1;
    // Bit 0: a client has logged on already.
    g_remotelogon = data[0] & 1;
    g_split = data[1];
    g_putq = g_getq = g_qdepth = 0;
    g_in = data + 2;
    g_left = size - 2;
    SetPartnerTransport(&kTransport);
    const bool before = g_remotelogon == 0;
    for (int guard = 0; guard < 100000 && g_linkstate == 3; ++guard) {
        ProcessPartnerData();
        // Without a log-on the radio's queue stays empty.
        if (before && !g_remotelogon) Check(g_qdepth == 0);
    }
    DropConnection(-1);
    SetPartnerTransport(nullptr);
    return 0;
}
