// Station outputs the radio engine drives after a frequency or transmit
// change: antenna switching and band data, the second receiver and the
// CAT-out/THP ports, the exchange file, and the keying of the transmitter.
#pragma once

// Selects the antenna configured for `mhz` on the antenna devices.
void SelectAntennaForFreq(double mhz);
// Writes the dual-receiver exchange file; true when an exchange file is named.
bool WriteDualFile();
