// Band decoder output: the band of the transmit frequency to the decoder's
// port.
#pragma once

void SendBandData();
