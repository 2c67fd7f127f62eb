// Keying the transmitter: the keying lines of the radio port, keyon and
// keyoff, the pulsed keying of amplifier tune and the automatic CW
// identification.
#pragma once

extern int g_rtscw;  // "RTS CW": key CW with RTS
extern int g_dtrcw;  // "DTR CW": key CW with DTR
extern int g_rtsxm;  // "RTS XM": transmit with RTS

extern int g_keyingstate;  // CI-V keying state: 2 = transmitter on by CI-V
extern int g_pulsekeying;  // the panel's pulse-keying button is on
extern int g_pulsephase;   // the pulsed keying's last call was keyon
extern int g_idarmed;      // automatic CW identification armed
extern int g_idjustarmed;  // just armed: the reminder resets
extern int g_idflash;      // a flash of the ID button is requested
extern int g_idrestorepending;  // mode restore after an identification by the keyer
extern char g_idsavedmode;  // VFO A mode before the identification
extern int g_idsavedfilter;
extern int g_idsavedoffset;  // Hz

void keyoff();
void autoid();
// Keys the transmitter (built with keying).
void keyon();
// The panel's PTT request: key on (1) or off (0) (built with keying).
void KeyOnOff(int on);
void ReleaseAllKeying(const char* why);
