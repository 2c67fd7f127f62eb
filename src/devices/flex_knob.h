// The FlexControl knob: a USB knob on a serial port at 1200 baud that sends
// ';'-terminated tokens (turns, taps, presses of three buttons) and takes an
// LED command.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/serial_port.h"

extern plat::PortHandle g_flexport;
extern char g_flexportname[64];

// What one read held: the net turn and the key codes of the presses.
struct FlexTokens {
    int count = 0;  // clamped to 16 bits
    std::vector<std::uint8_t> keys;
};

// Splits the knob's text into tokens. A token whose ';' has not arrived yet
// (at most three bytes) waits for the next read; a byte that cannot start
// or continue a token is skipped.
class FlexParser {
public:
    void Feed(const std::uint8_t* data, int length, FlexTokens& out);
    int Carried() const { return carryLen_; }
    void Reset() { carryLen_ = 0; }

private:
    std::uint8_t carry_[3] = {};
    int carryLen_ = 0;
};

// The identification token: at least six bytes, 'F' first and ';' sixth.
bool IsFlexIdentification(const std::uint8_t* data, int length);
// LED state of a button's function: split, RIT, PBT or dual receive on.
int GetFlexLedStates(int action);
