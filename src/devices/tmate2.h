// The TMate2 control surface, driven through its vendor library loaded at
// run time: three knobs, nine buttons and an LCD that mirrors the radio.
//
// The library is found at [PREFERENCE] "TMATE2 LIBRARY" (relative to the
// working directory unless absolute) and must export, with C linkage:
//   int TMate2OpenConnection(void);            negative: failed
//   int TMate2CloseConnection(void);
//   int TMate2ReadValue(int* main, int* centre, int* left, int* buttons);  non-zero: no data
//   int TMate2SetSegment(unsigned char* lcd, int segment, int on);
//   int TMate2SetLcd(unsigned char* lcd);
//   int TMate2WriteNumberOnMainDisplay(unsigned char* lcd, unsigned long number);
//   int TMate2WriteNumberOnSmeterDisplay(unsigned char* lcd, int number);
#pragma once
#include <cstdint>

extern char g_tmate2library[128];  // "TMATE2 LIBRARY", read only

constexpr int kTMate2LcdBytes = 44;
constexpr int kTMate2Unread = 125000;  // a knob counter not read yet
extern std::uint8_t g_tmate2lcd[kTMate2LcdBytes];

// The movement of a 16-bit knob counter from `counter` to `value`, across
// the wrap; the counter takes the value. An unread counter moves nothing.
int TMate2Delta(int& counter, int value);
// The LCD segment of a mode character.
int TMate2ModeSegment(char mode);

void InitTMate2Lcd();
void ShowTMate2Mode(char mode);
void ShowTMate2Freq(double mhz);
void ShowTMate2Smeter(int value);
