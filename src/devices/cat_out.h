// CAT-out ports: state shared with the settings store.
#pragma once

// [SPECIAL] "TEST": 3 discards all CAT-out input and most output.
extern int g_test;

#include <cstdint>

extern int g_activethp;  // CAT-out port SendToTHP writes to: 0 every port, n port n

// Writes one CAT text to the CAT-out ports; the last write's result, or -1
// (built with the CAT-out ports).
int SendToTHP(const std::uint8_t* bytes, int length);
// Second receiver: 0 unmute, 1 mute, 2 mute after 800 ms.
void MuteSecondReceiver(int a);
// Multi-receiver state to the THP link.
void SendMultiRxToTHP();
