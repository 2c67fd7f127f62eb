// The CW element sender (TIMER_CW_ELEMENT): sends the CW keyboard's ring,
// whole characters to the serial keyer or the server, otherwise element by
// element by keying the transmitter.
#pragma once
#include <string>

#include "devices/cw_keyboard.h"

// International Morse code of `ch` as '.' and '-', a blank for the word
// space, or empty for a character without a code. The five prosign
// characters of the settings (BT, SK, AR, KN, AA) come from `prosigns`.
std::string MorseCode(char ch, const char prosigns[5]);
// The character the serial keyer takes for `ch`: a..z upper-cased, the
// prosign characters as '=', '>', '<', ':' and ';'.
char KeyerCharacter(char ch, const char prosigns[5]);

// `hasWordBreak` tells whether the ring holds a character that may go now.
void RunCwElementSender(bool (*hasWordBreak)() = CwRingHasWordBreak);
