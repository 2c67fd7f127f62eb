#include "devices/cat_out.h"

int g_test = 0;
int g_activethp = 0;
int g_ipsoundstate = 0;
unsigned g_ipsoundstamp = 0;

// Built with the CAT-out ports and second receivers.
void OpenThpPorts() {}
void ReadTHPPort(int) {}
void FollowFrequency() {}
void SendToTHP(const std::uint8_t*, int) {}
char CatModeDigit(char) { return '0'; }
void SendToPerseus(const std::uint8_t*, int) {}
void MuteSecondReceiver(int) {}
int IpSound(int) { return 0; }
void DeleteIpSoundAtom() {}
