#include "devices/band_decoder.h"

// Built with the band decoders.
void SendBandData() {}
