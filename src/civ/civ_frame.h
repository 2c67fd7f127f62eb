// CI-V frames and the value encodings every builder and reply handler
// shares: header, frame end, 5-byte BCD frequency, 2-byte BCD level, mode
// byte and the filter byte of the mode command.
//
// Frame: FE FE to from command [sub-command] [data] FD.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

#include "base/trace_log.h"

constexpr std::uint8_t kCivPreamble = 0xFE;
constexpr std::uint8_t kCivEnd = 0xFD;
constexpr std::uint8_t kCivOk = 0xFB;
constexpr std::uint8_t kCivNg = 0xFA;
constexpr int kCivHeaderLen = 4;
constexpr int kCivMaxBody = 40;  // body bytes BuildCivFrame keeps at the most

// FE FE g_radioadr g_myaddr into buf[0..3].
void BuildCivHeader(std::uint8_t* buf);
// FE FE g_radioadr g_myaddr, the body bytes (cut at kCivMaxBody), FD into
// `buf`; returns the frame length.
int BuildCivFrame(std::uint8_t* buf, std::initializer_list<std::uint8_t> body);
// FE FE E1 E0: the Perseus link's fixed preamble.
void BuildPerseusHeader(std::uint8_t* buf);

// Length of the first frame among `count` bytes (up to and including the
// first FD), or 0 when no FD is there.
int FindCivEnd(const std::uint8_t* bytes, int count);

// Two packed-BCD bytes, high digits first, 0..9999 (nibbles above 9 count
// with their value).
int pdtoi(const std::uint8_t* two);

// Frequency in MHz to 5 BCD bytes, least significant pair first, to the
// nearest hertz. False (and `out` untouched) outside 0 to 999.999999 MHz:
// the fifth byte has no room for a thousands digit.
bool FrequencyToBcd(double mhz, std::uint8_t* out);
// True when every nibble of the `count` bytes is a decimal digit 0..9.
bool BcdValid(const std::uint8_t* bytes, int count);
// True unless a frame of `length` bytes (FE FE to from command ... FD)
// carries a BCD value with a nibble above 9 where the program reads one:
// frequencies (00, 03, 05, 25 xx), levels and meters (14 xx, 15 xx), the
// attenuator (11), the filter width (1A 03) and a memory channel's
// frequencies (1A 00). Such a value would be taken
// as a wrong number (AA BB CC DD EE reads as 15,544,332,210 Hz).
bool CivFrameBcdValid(const std::uint8_t* frame, int length);
// 5 BCD bytes to hertz (the caller checks the digits with BcdValid).
long long BcdToHz(const std::uint8_t* five);
// 5 BCD bytes to MHz plus the transverter offset in force.
double BcdToFrequency(const std::uint8_t* five, double offset);

// Level 0..9999 ("%04d") as 2 BCD bytes, high digits first; values outside
// the range are clamped to it.
void LevelToBcd(int value, std::uint8_t* out);
// 0..99 as one BCD byte ("%02d"), clamped.
std::uint8_t ByteToBcd(int value);

// The radio's mode byte for a ModeChar, by the running model.
std::uint8_t CivModeByte(int modeChar);
// The same by explicit model traits.
std::uint8_t CivModeByteFor(int modeChar, bool digisel, bool perseus);

// What the filter byte of the mode command depends on.
struct ModeFilterState {
    int radioType = 0;
    bool closing = false;   // the close sequence restores filters
    bool savemem = false;   // a radio-memory transfer runs
    bool vfoB = false;      // VFO B is selected
    int oldRadio = 0;       // old-radio dialect 0, 1, 2
    bool ic765 = false;     // "IC765": no filter byte at all
    int buttons[3] = {0, 0, 0};  // filter indexes of the panel's filter buttons 1..3
};
// The filter byte of 06 mode filter FD for `filter` (a filter number or, on
// DSP models, a filter index), or -1 when the frame carries none.
int ModeFilterByte(std::uint8_t modeByte, int filter, const ModeFilterState& s);

// 06 mode [filter] FD behind the header; returns the frame length (7 or 8).
int BuildModeFrame(std::uint8_t* buf, std::uint8_t modeByte, int filterByte);

// The first `count` bytes as two upper-case hex digits and a blank each.
std::string HexBytes(const std::uint8_t* bytes, int count);

// True when trace lines are written at all; detail dumps check it first so
// that a quiet run builds no trace text.
inline bool CivTracing() { return g_trace != 0 && TraceIsOpen(); }
// A fixed trace line of the per-frame paths, without building a string on a
// quiet run.
inline void CivTrace(const char* text) {
    if (CivTracing()) WriteTrace(text);
}
// Frame dumps in the trace show at most this many bytes.
constexpr int kCivTraceBytes = 40;
inline int CivTraceShown(int length) { return length < kCivTraceBytes ? length : kCivTraceBytes; }
