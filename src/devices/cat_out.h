// CAT-out ports: state shared with the settings store.
#pragma once

// [SPECIAL] "TEST": 3 discards all CAT-out input and most output.
extern int g_test;

#include <cstdint>

extern int g_activethp;  // CAT-out port being served (0 = all)
extern int g_ipsoundstate;
extern unsigned g_ipsoundstamp;  // tick of the last IP-Sound call (0 unset)

void OpenThpPorts();
void ReadTHPPort(int n);
void FollowFrequency();
void SendToTHP(const std::uint8_t* data, int length);
// The CAT mode digit of a ModeChar (the conversion of the mode sent to the CAT-out ports).
char CatModeDigit(char mode);
void SendToPerseus(const std::uint8_t* data, int length);
void MuteSecondReceiver(int on);
int IpSound(int function);
void DeleteIpSoundAtom();
