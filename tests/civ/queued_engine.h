// The engine with a port that goes nowhere: an IC-756PRO at 5C whose frames
// stay in the send ring for a test to read (without a timer window the pump
// never writes), VFO A selected and frequencies allowed out.
#pragma once
#include <fcntl.h>
#include <unistd.h>

#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/send_queue.h"

inline void OpenQueuedEngine() {
    g_radiotype = 0;
    g_radioadr = 0x5C;
    g_myaddr = 0xE0;
    g_radioport = ::open("/dev/null", O_RDWR);
    g_sendpaced = 1;
    g_allowed = 1;
    g_selvfo = 'A';
}

inline void CloseQueuedEngine() {
    ::close(g_radioport);
    g_radioport = plat::kInvalidPort;
}
