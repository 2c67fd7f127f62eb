// Polling of the radio: meter and status polls, mirror mode.
#pragma once

extern int g_mirror;      // "MIRROR": follow changes made on the radio itself
extern int g_mirrorpoll;  // "MIRROR POLL": mirror poll period in ms (default 60)
extern int g_metersuspend;  // the meter poll is suspended

void PollMeters();
void PollRadio();
