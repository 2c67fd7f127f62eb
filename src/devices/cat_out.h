// CAT-out ports: state shared with the settings store.
#pragma once

// [SPECIAL] "TEST": 3 discards all CAT-out input and most output.
extern int g_test;

#include <cstdint>

extern int g_ipsoundstate;
extern unsigned g_ipsoundstamp;  // tick of the last IP-Sound call (0 unset)

void OpenThpPorts();
void ReadTHPPort(int n);
void FollowFrequency();
// The CAT mode digit of a ModeChar (the conversion of the mode sent to the CAT-out ports).
char CatModeDigit(char mode);
void SendToPerseus(const std::uint8_t* data, int length);
int IpSound(int function);
void DeleteIpSoundAtom();
extern int g_activethp;  // CAT-out port SendToTHP writes to: 0 every port, n port n

// Writes one CAT text to the CAT-out ports; the last write's result, or -1
// (built with the CAT-out ports).
int SendToTHP(const std::uint8_t* bytes, int length);
// Second receiver: 0 unmute, 1 mute, 2 mute after 800 ms.
void MuteSecondReceiver(int a);
// Multi-receiver state to the THP link.
void SendMultiRxToTHP();
// CAT-out port n (1..5) after its name changed: closed, and opened anew when in use.
void ReopenThpPort(int n, int inUse);
