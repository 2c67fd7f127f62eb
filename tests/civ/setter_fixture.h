// Captures the frames the setters hand to the send path: the radio port is
// a pseudo-terminal and the send pump never runs, so every frame that
// passed the send filter waits in the ring in order.
#pragma once
#include "civ/civ_setters.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "link_fixture.h"

struct Captured : RadioLink {
    explicit Captured(int type = 23) {
        g_radiotype = type;
        g_radioadr = 0x94;
        g_selvfo = 'A';
    }
    // Frames queued since the last call (header and FD included).
    std::vector<Bytes> frames() {
        std::vector<Bytes> out;
        for (; g_getq != g_putq; g_getq = (g_getq + 1) % kSendSlots) {
            const std::uint8_t* f = g_sendbuf[g_getq];
            out.emplace_back(f, f + g_sendlen[g_getq]);
        }
        g_qdepth = 0;
        return out;
    }
    // The bodies (command onwards, without FD) of the frames queued.
    std::vector<Bytes> bodies() {
        std::vector<Bytes> out;
        for (const Bytes& f : frames()) out.emplace_back(f.begin() + 4, f.end() - 1);
        return out;
    }
};

using Bodies = std::vector<Bytes>;
