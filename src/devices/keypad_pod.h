// The keypad pod on the Pegasus port: key records ('U', code, CR) and knob
// records ('!', count high, count low, two more bytes). The same line may
// carry a receiver's start-up messages, which the reader answers.
#pragma once
#include <cstdint>
#include <vector>

// What one read of the pod line held.
struct PodRecords {
    std::vector<std::uint8_t> keys;  // whole key-event records, back to back
    int knobSum = 0;                 // counts of the knob records (clamped to 16 bits)
    int knobRecords = 0;
};

// Splits the pod's byte stream into records. A record cut off at the end of
// a read is kept and completed by the next one, so that a release is never
// lost and a count byte of 0x55 is never read as a key.
class PodParser {
public:
    void Feed(const std::uint8_t* data, int length, PodRecords& out);
    int Carried() const { return carryLen_; }
    void Reset() { carryLen_ = 0; }

private:
    void FeedChunk(const std::uint8_t* data, int length, PodRecords& out);
    std::uint8_t carry_[5] = {};
    int carryLen_ = 0;
};

// The knob step of one read: one record gives its count, more give the sum
// times "HIGH SPEED TUNING FACTOR" (kept within 16 bits).
int PodKnobStep(const PodRecords& r, int highSpeedFactor);
// True when `text` occurs in the first `length` bytes (binary-safe).
bool ContainsText(const std::uint8_t* data, int length, const char* text);

// 0 none, 1 "PEGASUS COMPORT" names a port, 2 the line carries the receiver.
extern int g_podstate;
constexpr int kPodCarriesReceiver = 2;
// A keyboard tuning step asks for a deferred frequency push, and the polls
// counted since.
extern int g_podfreqpending;
extern int g_podfreqpolls;

// Knob function captions and the "Tuning Selections" cycle.
const char* PodKnobCaption(int knobFunction);  // null for none
int NextPodKnob(int knobFunction);
void CyclePodKnob();
