#include "devices/switches.h"

int g_relayboards = 0;
int g_porttalkok = 0;
int g_bandparallel = 0;
int g_denkoviopen = 0;
int g_delcomopen = 0;
plat::PortHandle g_bcdport[2] = {plat::kInvalidPort, plat::kInvalidPort};

// Built with the switches and relay boards.
bool OpenPortTalk() { return false; }
void outportb(unsigned short, unsigned char) {}
void ConnectToTavn_ag() {}
void AG_Tavn_TimeOut(int) {}
void setadr(int) {}
void OpenDenkovi() {}
void WriteDenkovi(int) {}
void CloseDenkovi() {}
void CloseDelcom() {}
void OpenBcdPorts() {}
