// The frame reader: the only reader of the radio port. Each device-poll tick
// it joins what the port holds to the unfinished tail of the last read, cuts
// CI-V frames, releases the program's own echoes from the send queue and
// routes every other frame (remote client, mirror cache or reply store).
#pragma once
#include <cstdint>

constexpr int kReadBufferSize = 500;   // data bytes per read, carry-over included
constexpr int kReadPadding = 10;       // F0 bytes behind the data
constexpr int kCarryLimit = 400;       // a longer unfinished tail is thrown away

extern std::uint8_t g_rxcarry[kReadBufferSize];
extern int g_rxcarrylen;  // length of the carried tail (0 = none)
extern int g_rxreset;     // raised by InitRadio: drop the carry-over
extern int g_inreader;    // 1 while a read with data is processed
extern int g_radioheard;  // 0 nothing heard, 1 first frame, 2 first poll done
extern int g_pw1;         // "PW1": an amplifier at address 54 on the CI-V bus

// The device poll's step: read the port and process what came.
void ReadRadioPort();
// Processes `n` freshly read bytes as one read (several reads when they do
// not fit behind the carry-over). The port read is the only thing
// ReadRadioPort adds; the benchmark and the fuzzer drive this directly.
void ProcessRadioBytes(const std::uint8_t* data, int n);
