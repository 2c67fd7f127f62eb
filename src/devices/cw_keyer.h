// CW speed: element timing for the program's own keying and the radio's
// key speed.
#pragma once

// The speed range the keyer takes (WPM); every speed is held inside it
// before it is divided or sent, so a speed of 0 from a remote state or a
// setting cannot stop the program.
constexpr int kMinWpm = 5;
constexpr int kMaxWpm = 99;

// The speed display of the radio window is on (the CW keyboard switches it on).
extern int g_speeddisplay;
// The speed the program's own CW is timed for (WPM), as kstats last set it.
extern int g_sendspeed;

struct CwTiming {
    int spc, dit, dah, bspc;  // ms: gap after an element, dit, dah, character space
};
// Element times for `speed` WPM with the dah weight, the dit ratio (both in
// hundredths) and the character-space factor (tenths).
CwTiming CwElementTimes(int speed, int weight, int ditRatio, int spaceFactor);
// The radio's key-speed value (14 0C, 0..255) for `speed` WPM.
int RadioKeySpeedValue(int speed);

// The settings window's line of the dah weight, dit and space factors,
// shown for `weight` (hundredths) and the dit and space settings.
constexpr int kKeyerFactorsLabelId = 7993;
void ShowKeyerFactors(int weight);

// Applies `speed` (WPM) with the dah weight `weight`: the element times of
// CW sent by the program, the radio's key speed, or the serial keyer's.
void kstats(int speed, int weight);
