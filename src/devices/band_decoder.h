// Band decoder output: the band of the transmit frequency to the parallel
// port or to the modem lines of the two serial band-data ports.
#pragma once
#include <cstdint>

struct BandData {
    int band;             // band index; a change is what gets written
    std::uint8_t value;   // decoder pattern
};
// The pattern of the HF (scheme 1, "PEGPORT") or VHF (2) decoder for `mhz`.
BandData BandDataFor(int scheme, double mhz);

// Writes the band of the transmit frequency when it changed.
void SendBandData();
// One output value: parallel data register, or bits 3/4 to RTS/DTR of the
// first serial port and bits 5/6 to RTS/DTR of the second.
void WriteBandData(int port, int value);
