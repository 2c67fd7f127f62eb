#include "devices/cat_out.h"

int g_test = 0;
int g_ipsoundstate = 0;
unsigned g_ipsoundstamp = 0;

// Built with the CAT-out ports and second receivers.
void OpenThpPorts() {}
void ReadTHPPort(int) {}
void FollowFrequency() {}
char CatModeDigit(char) { return '0'; }
void SendToPerseus(const std::uint8_t*, int) {}
int IpSound(int) { return 0; }
void DeleteIpSoundAtom() {}

int g_activethp = 0;

// Built with the CAT-out ports.
int SendToTHP(const std::uint8_t* bytes, int length) {
    (void)bytes;
    (void)length;
    return -1;
}
void MuteSecondReceiver(int a) { (void)a; }
void SendMultiRxToTHP() {}
void ReopenThpPort(int n, int inUse) {
    (void)n;
    (void)inUse;
}
