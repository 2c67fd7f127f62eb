// External meters: the power meters on a serial port (PowerMaster, LP-100A),
// the LP-500/700 on USB HID, the WaveNode readings and the Zun S-meter port.
#pragma once
#include <cstdint>

#include "platform/serial_port.h"

extern plat::PortHandle g_powermeterport;
extern plat::PortHandle g_zunport;
extern int g_extswr;  // external meter SWR in hundredths; 10000 = no reading
extern int g_wavehold;  // seconds the WaveNode display holds its reading

// WaveNode panel state: per sensor the texts its row shows.
struct WaveSensor {
    char swr[16] = "";
    char average[16] = "";
    char peak[16] = "";
};
extern WaveSensor g_wavesensors[4];
extern int g_wavepeak;      // "Use Peak Power"
extern float g_wavevalue89; // the value of message 89
extern int g_wavestarted;   // a reading came: the start hint is hidden

void OpenPowerMeterPort();
void OpenZunPort();
bool OpenLp500();
void CloseLp500();
void ReadPowerMeter();
void ReadZunMeter();
void SendToPowerMeter(const std::uint8_t* data, int length);
void SendPowerMasterRequest();
void SendToZunMeter(const std::uint8_t* data, int length);
// One LP-500/700 poll (while transmitting).
void PollLP500();
// A WaveNode reading: `index` is the message's first argument, `bits` the
// float's 32 bits.
void OnWaveNodeMessage(std::uint32_t index, std::uint32_t bits);

// The PowerMaster's check: CRC-8 (polynomial 0xB1, MSB first, initial 0)
// over `data`, complemented.
std::uint8_t Crc8Step(std::uint8_t crc, std::uint8_t byte);
std::uint8_t CheckPowerMasterCrc(const std::uint8_t* data, int length);
char HexDigit(int nibble);
// The meters' parsers: act on every whole record, return the carry.
int ParsePowerMaster(std::uint8_t* buf, int len);
int ParseLp100(std::uint8_t* buf, int len);
// The Zun port's keyer-command emulation over `len` bytes.
void ProcessZunChars(const std::uint8_t* data, int len);
// The Zun S-meter answer to the request `req` (at least 4 bytes); returns
// its length in `out` (at most 9 bytes).
int ZunAnswer(const std::uint8_t* req, int len, std::uint8_t* out);
