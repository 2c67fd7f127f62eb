// Station outputs the radio engine drives after a frequency or transmit
// change: antenna switching and band data, the second receiver and the
// CAT-out/THP ports, the exchange file, and the keying of the transmitter.
#pragma once

// Selects the antenna configured for `mhz` (VFO B's with split) on the
// antenna devices.
void SelectAntennaForFreq(double mhz);
// The parallel port's antenna pattern for `mhz`.
int ParallelAntennaValue(double mhz);
// The antenna of the first of ten [low, high] rows holding `mhz` (0: none).
int AntennaFromTable(const double* low, const double* high, const int* antenna, double mhz);
// The dual-receiver exchange file is written by the program links
// (program_links.cpp): WriteDualFile.
bool WriteDualFile();
