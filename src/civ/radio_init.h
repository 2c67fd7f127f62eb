// Radio initialisation and the state push: InitRadio, FirstPoll, OnSwl.
#pragma once

extern int g_allowed;     // set by InitRadio: frequency sends may go out
extern int g_swlpending;  // a state push requested while the frame reader was busy

// Thin entry to radio initialisation, used by the main loop and the replies.
void FirstPoll();
// The general state push: sends every panel value that changed.
void OnSwl();
