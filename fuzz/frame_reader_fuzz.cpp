// Arbitrary bus bytes in arbitrary read splits through the frame reader,
// interleaved with frames put into the send queue, in every reader mode.
// The ring and the carry-over must stay consistent whatever arrives.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/engine_wiring.h"
#include "base/trace_log.h"
#include "civ/frame_reader.h"
#include "civ/polling.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/radio_search.h"
#include "civ/send_queue.h"
#include "devices/remote_link.h"
#include "platform/message_box.h"

namespace {
void Check(bool ok) {
    if (!ok) std::abort();
}

void Reset(std::uint8_t mode, std::uint8_t addr) {
    // A search that finds a radio says so in a box: answered at once here.
    plat::message_box_script::Enable();
    plat::message_box_script::Clear();
    // Radio frames reach the remote link as in the program.
    WireEngine();
    g_trace = 0;
    g_putq = g_getq = g_qdepth = 0;
    g_sendtimer = 0;
    g_sendtries = 0;
    g_rxcarrylen = 0;
    g_rxreset = 0;
    g_inreader = 0;
    g_sendpaced = mode & 1;
    g_mirror = (mode >> 1) & 1;
    g_autobaud = (mode >> 2) & 3;
    if (g_autobaud == 3) g_autobaud = 0;
    g_rawmode = (mode >> 4) & 1;
    g_pw1 = (mode >> 5) & 1;
    g_radioserver = (mode >> 6) & 1;
    g_linkstate = g_radioserver ? 3 : 0;
    g_remotelogon = g_radioserver;  // a logged-on client gets the radio's frames
    g_client = (mode >> 7) & 1;
    g_radioadr = addr;
    g_myaddr = 0xE0;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    Reset(data[0], data[1]);
    std::size_t p = 2;
    while (p < size) {
        const std::uint8_t op = data[p++];
        std::size_t n = op & 0x7F;
        if (n > size - p) n = size - p;
        if (op & 0x80) {
            // Put: the frame as given (the queue decides whether it is one).
            putq(data + p, int(n));
        } else {
            ProcessRadioBytes(data + p, int(n));
        }
        p += n;
        Check(g_rxcarrylen >= 0 && g_rxcarrylen <= kCarryLimit);
        Check(g_getq >= 0 && g_getq < kSendSlots && g_putq >= 0 && g_putq < kSendSlots);
        Check(g_qdepth == (g_putq - g_getq + kSendSlots) % kSendSlots);
        Check(g_inreader == 0);
    }
    return 0;
}
