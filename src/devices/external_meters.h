// External meters: the power meters (PowerMaster, LP-100A), the LP500 and
// the Zun S-meter.
#pragma once
#include "platform/serial_port.h"

extern plat::PortHandle g_powermeterport;
extern plat::PortHandle g_zunport;
extern int g_extswr;  // external meter SWR in hundredths; 10000 = no reading
extern int g_wavehold;  // seconds the WaveNode display holds its reading

void OpenPowerMeterPort();
void OpenZunPort();
bool OpenLp500();
void ReadPowerMeter();
void ReadZunMeter();
// Meter-tick polls of the external meters.
void SendPowerMasterRequest();
void PollLP500();
