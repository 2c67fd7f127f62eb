#include "civ/reply_store.h"

#include <algorithm>
#include <cstring>

#include "base/trace_log.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/engine_options.h"
#include "civ/frame_reader.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/reply_processing.h"
#include "civ/reply_slots.h"
#include "civ/send_queue.h"

ReplySlots g_replies;

void KeepReply(ReplySlot& slot, const std::uint8_t* frame, int length, int from, int max, bool fresh) {
    const int n = std::clamp(length - from, 0, std::min<int>(max, int(sizeof slot.bytes)));
    std::memcpy(slot.bytes, frame + from, std::size_t(n));
    slot.length = n;
    slot.fresh = fresh;
}

namespace {
void Keep(ReplySlot& slot, const std::uint8_t* frame, int length, int from, int max, bool fresh = true) {
    KeepReply(slot, frame, length, from, max, fresh);
}

void StoreFrequencyReply(const std::uint8_t* f, int length) {
    if (!g_firstpoll && g_radioheard < 2 && !g_client) {
        g_radioheard = 2;
        FirstPoll();
    }
    const bool wanted = g_recallwait > 0 || g_savemem || g_firstpoll || g_polling || g_client || g_radioserver ||
                        (g_perseus && !g_tuning);
    if (length == 11 && wanted) {
        // With the command-25 dialect the radio reports its own changes; a
        // polled frequency would only race them.
        const bool fresh = !(g_7600fw2 && !g_firstpoll && !g_savemem);
        Keep(g_replies.freq, f, length, 0, 11, fresh);
        g_replies.freqsub = -1;
        if (g_recallwait > 0) --g_recallwait;
    } else {
        WriteTrace("Throw away freq message");
    }
    if (g_rawmode) g_firstpoll = 0;
}
}  // namespace

void StoreCivReply(const std::uint8_t* buffer, int length, int position) {
    if (!buffer || length < kMinCivFrame || position < 0) return;
    const std::uint8_t* f = buffer + position;
    const int cmd = f[4];
    const int sub = length > 6 ? f[5] : -1;
    switch (cmd) {
        case 0x00:
            if (length == 11 && !g_client && f[5] != kCivPreamble) {
                Keep(g_replies.freq, f, length, 0, 11);
                g_replies.freqsub = -1;
            }
            break;
        case 0x03: StoreFrequencyReply(f, length); break;
        case 0x01:
        case 0x04:
        case 0x06: Keep(g_replies.mode, f, length, 4, 5); break;
        case 0x11: Keep(g_replies.attenuator, f, length, 4, 10); break;
        case 0x12: Keep(g_replies.antenna, f, length, 4, 10); break;
        case 0x15:
            ++g_meterreplies;
            if (sub == 0x02) {
                if (length == 9) {
                    Keep(g_replies.smeter, f, length, 5, 3);
                } else if (g_perseus && length == 8) {
                    // The Perseus answers with one byte: kept as 02 00 byte.
                    g_replies.smeter.bytes[0] = 0x02;
                    g_replies.smeter.bytes[1] = 0x00;
                    g_replies.smeter.bytes[2] = f[6];
                    g_replies.smeter.length = 3;
                    g_replies.smeter.fresh = true;
                }
            } else if (sub == 0x11) {
                Keep(g_replies.power, f, length, 5, 3);
            } else if (sub == 0x12) {
                Keep(g_replies.swr, f, length, 5, 3);
            } else if (sub == 0x14) {
                Keep(g_replies.comp, f, length, 5, 3);
            } else if (sub == 0x13) {
                Keep(g_replies.alc, f, length, 5, 3);
            }
            break;
        case 0x16:
            if (sub == 0x4C) Keep(g_replies.vsc, f, length, 4, 10);
            if (sub == 0x02) Keep(g_replies.preamp, f, length, 4, 10);
            break;
        case 0x1A:
            if (sub == 0x03) Keep(g_replies.filterwidth, f, length, 4, 10);
            if (sub == 0x06) Keep(g_replies.datamode, f, length, 4, 10);
            if (sub == 0x00) Keep(g_replies.memory, f, length, 4, 60);
            break;
        case 0x1C:
            if (length > 7) {
                if (f[6] != 0) {
                    g_transmitting = 1;
                    BeginTransmit();
                } else {
                    g_transmitting = 0;
                }
            }
            break;
        case 0x21: g_7600fw2 = 1; break;
        case 0x25:
            if (length == 12 && !g_client) {
                Keep(g_replies.freq, f, length, 1, 11);
                g_replies.freqsub = f[5];
            }
            break;
        default: break;
    }
}

void ClearReplyFlags() {
    for (ReplySlot* s : {&g_replies.freq, &g_replies.mode, &g_replies.attenuator, &g_replies.antenna,
                         &g_replies.vsc, &g_replies.preamp, &g_replies.filterwidth, &g_replies.datamode,
                         &g_replies.smeter, &g_replies.power, &g_replies.swr, &g_replies.comp, &g_replies.alc,
                         &g_replies.memory})
        s->fresh = false;
}
