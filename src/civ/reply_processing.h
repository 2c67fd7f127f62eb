// Reply processing: what the radio's replies change in the program state,
// and the start of a transmission.
#pragma once

extern int g_transmitting;    // the radio reports transmit (1C 00)
extern int g_transmitmarker;  // the transmit marker is shown on a VFO
extern int g_txbegun;         // transmit has begun (BeginTransmit)
extern int g_recallwait;      // a radio-memory recall waits for its frequency
extern int g_smeterpeak;      // held S-meter peak
extern int g_smeterhold;      // ticks until the peak decays
extern int g_scanstopped;     // a transmission stopped the memory scan; it resumes on TIMER_SCAN_RESUME
// Set by the settings window: true while the operator has picked an antenna
// there, which a new frequency from the radio must not override. Null: none.
extern bool (*g_antennaheld)();

// Runs when the radio reports transmit and from the main loop's keying checks.
void BeginTransmit();
// TIMER_SCAN_RESUME: the memory scan a transmission stopped runs again.
void ResumeMemoryScan();

// The meter slots of the reply store: S, power and SWR (false), or
// compression and ALC (true), in the order the reply processing takes them.
void ProcessMeterReplies(bool transmitSide);

struct ReplySlot;
// A 1A 03 reply: its two data bytes as read (FD where the frame ended) and
// the width code (one BCD byte, or two as hundreds and units; else 1).
struct FilterWidthReply {
    int first = 0;
    int second = 0;
    int code = 1;
};
FilterWidthReply ReadFilterWidthReply(const ReplySlot& slot);
// VFO A's filter from the filter byte of a mode reply; 0 when there is none.
// On DSP models the numbers 1..3 stand for the panel's three filter buttons.
int FilterFromModeReply(const ReplySlot& slot, bool dsp, char mode);

// Reply arithmetic, shared with the tests.
// S-meter reading r (0..9999) to meter steps of 1/256 S-unit (before the
// compensation).
int SMeterSteps(int reading, bool perseus);
// SWR x 100 of a reading.
int SwrTimes100(int reading);
// Power meter reading for the radio type.
int PowerReading(int reading, int radiotype);
// Three BCD digits: the low nibble of the first byte and both of the second.
int ThreeDigitReading(const unsigned char* two);
// The ModeChar of a CI-V mode byte, given the mode VFO A last had; 0 when
// the byte maps to nothing. `keepDigital` allows USB/LSB to keep the
// digital modes (outside raw mode, not on the DIGI-SEL family).
int ModeCharForCivByte(int civByte, int lastMode, bool keepDigital);
