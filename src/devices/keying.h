// Keying lines of the radio port.
#pragma once

extern int g_rtscw;  // "RTS CW": key CW with RTS
extern int g_dtrcw;  // "DTR CW": key CW with DTR
extern int g_rtsxm;  // "RTS XM": transmit with RTS

// Keys the transmitter (built with keying).
void keyon();
// The panel's PTT request: key on (1) or off (0) (built with keying).
void KeyOnOff(int on);
