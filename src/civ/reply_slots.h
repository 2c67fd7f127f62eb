// The reply slots the read scan fills and the reply processing empties.
#pragma once
#include <cstdint>

struct ReplySlot {
    bool fresh = false;
    int length = 0;              // bytes kept
    std::uint8_t bytes[60] = {};
};

struct ReplySlots {
    ReplySlot freq;      // 00/03: the whole frame; 25: from frame byte 1
    int freqsub = 0;     // 25: 00 selected VFO, 01 unselected VFO; -1 for 00/03
    ReplySlot mode;      // from the command byte: command, mode[, filter]
    ReplySlot attenuator, antenna, vsc, preamp, filterwidth, datamode;  // from the command byte
    ReplySlot smeter, power, swr, comp, alc;  // sub-command and two BCD bytes
    ReplySlot memory;    // 1A 00: from the command byte, as much as the frame holds
};

extern ReplySlots g_replies;

// Keeps up to `max` bytes of the frame from `from` on, never more than the
// frame holds, and marks the slot fresh (or not).
void KeepReply(ReplySlot& slot, const std::uint8_t* frame, int length, int from, int max, bool fresh = true);
