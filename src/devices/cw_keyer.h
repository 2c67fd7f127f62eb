// CW speed: element timing for the program's own keying and the radio's
// key speed.
#pragma once

// Applies `speed` (WPM) with the dah weight `weight`.
void kstats(int speed, int weight);
