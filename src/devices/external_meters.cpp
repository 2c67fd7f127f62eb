#include "devices/external_meters.h"

plat::PortHandle g_powermeterport = plat::kInvalidPort;
plat::PortHandle g_zunport = plat::kInvalidPort;
int g_extswr = 10000;
int g_wavehold = 0;

// Built with the external meters.
void OpenPowerMeterPort() {}
void OpenZunPort() {}
bool OpenLp500() { return false; }
void ReadPowerMeter() {}
void ReadZunMeter() {}
void SendPowerMasterRequest() {}
void PollLP500() {}
