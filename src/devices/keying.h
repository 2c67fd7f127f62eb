// Keying the transmitter: the keying lines of the radio port, keyon and
// keyoff, the pulsed keying of amplifier tune and the automatic CW
// identification.
#pragma once
#include <string>

#include "panel/cw_id.h"

#include "civ/engine_options.h"  // the keying lines: g_rtscw, g_dtrcw, g_rtsxm

extern int g_keyingstate;  // CI-V keying state: 0 idle, 1 keyed within 200 ms, 2 key-off waiting
extern int g_pulsekeying;  // the panel's pulse-keying button is on
extern int g_pulsephase;   // the pulsed keying's last call was keyon
extern int g_idrestorepending;  // mode restore after an identification by the keyer
extern char g_idsavedmode;  // VFO A mode before the identification
extern int g_idsavedfilter;
extern int g_idsavedoffset;  // Hz

// The means that may hold the transmitter, one bit each. keyon records what
// it used, so keyoff releases it even when the mode, the identification or
// the PTT port changed in between.
enum KeyingMeans : unsigned {
    kKeyByKeyer = 1,     // serial keyer 0B 01
    kKeyByCiv = 2,       // CI-V 1C 00 01
    kKeyByLpt = 4,       // parallel port pin
    kKeyByRemote = 8,    // remote message 5 to the server
    kKeyByRts = 16,      // RTS keying on the PTT or radio port
    kKeyByDtr = 32,      // DTR keying on the PTT or radio port
    kKeyByRadioRts = 64, // "RTS XM" on the radio port
};
extern unsigned g_keyedmeans;

// The parallel port's keying address and its key-down and key-up values.
constexpr unsigned short kLptKeyPort = 890;
constexpr unsigned char kLptKeyDown = 1;
constexpr unsigned char kLptKeyUp = 9;

// True when the running radio takes the CI-V transmit command 1C 00.
bool CivTransmitCommand();
// The means keyon would use now, from the mode and the keying settings.
unsigned KeyingPath();

void keyoff();
void autoid();
// Keys the transmitter by the means the settings choose.
void keyon();
// The panel's PTT request: key on (1) or off (0).
void KeyOnOff(int on);
// Alt+Q: keys on, or off when the last toggle keyed on.
void OnKeyToggle();
// The radio window's ID button (right click): identify now.
void OnCwIdNow();
// TIMER_KEYON_DELAY expiry: the key-off requested during the delay goes out.
void OnKeyonDelay();
// One tick of the pulsed keying (TIMER_KEYING_LOOP); true when the loop
// goes on (re-arm), false when amplifier tune or the pulse button is off.
bool PulseKeyingTick();

// Releases every means that may hold the transmitter (CI-V 1C 00 00, the
// keyer's 0B 00, RTS and DTR of the PTT and radio ports, the parallel port,
// a remote operator's key), stops the CW being sent and ends a running
// identification. Traces `why`. Used on a drop of the remote link, at close
// and when a port is lost.
void ReleaseAllKeying(const char* why);
// While held (the program is closing) keyon keys nothing: no key-on may
// follow the close's transmit-off.
void HoldKeyingOff(bool hold);
// A new main frame: nothing is keyed, nothing holds keying off and no
// release waits for a fault.
void StartKeying();
// At the end of a close: a transmit-off that has not reached the radio's
// line is tried once more. False, with what could not be done and why, when
// the transmitter may still be keyed.
bool TransmitterReleased(std::string& why);

// VFO A back to the mode and frequency before an automatic identification.
void RestoreAfterIdentification(bool viaKeyer);
// Ends a running identification however it ends (sent, ESC, keyboard
// hidden, close): the mode and frequency come back at once.
void EndIdentification();
