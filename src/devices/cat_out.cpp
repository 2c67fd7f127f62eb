#include "devices/cat_out.h"

#include <cstdio>
#include <string>

#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "platform/serial_port.h"

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

// Writes on the keypad pod's line, which the RX331 receiver may share.
void SendToRX331(const std::uint8_t* data, int length) {
    WriteTrace(TraceBytes("Send to RX331 ", data, length));
    if (g_pegasusport == plat::kInvalidPort) return;
    const int n = plat::SerialWrite(g_pegasusport, data, length);
    if (n != length) WriteTracef("Send failed to rx331 %d %d\n", n, length);
}
