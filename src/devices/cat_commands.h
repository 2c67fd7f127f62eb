// The CAT-out command set: two letters, parameters, ';'. Cutting a read into
// commands, the command kinds the ports answer, and the mode-digit maps. Pure
// functions, so the parser is tested and fuzzed without ports.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr int kThpCarrySize = 128;  // per-port carry of an unfinished command
constexpr int kThpMaxTail = 100;    // a longer unfinished command is dropped
constexpr int kThpReadSize = 500;   // carry plus new bytes per read

// The recognised commands.
enum CatKind : int {
    kCatPC, kCatSB, kCatFI, kCatBW, kCatIS, kCatFW, kCatTQ, kCatSM, kCatIF, kCatAI, kCatTX,
    kCatRX, kCatMX, kCatLK, kCatRM, kCatPT, kCatSH, kCatSL, kCatK2, kCatK3, kCatID, kCatDT,
    kCatFR, kCatFT, kCatPS, kCatPA, kCatRA, kCatCW, kCatFA, kCatFB, kCatBG, kCatMD,
    kCatKinds
};

// One recognised command of a read: its kind and its text with the ';'.
struct CatCommand {
    CatKind kind;
    std::string text;
};
// One read's recognised commands in the order they came: a client that asks
// twice gets two answers, and reads them in the order it asked.
struct CatBatch {
    std::vector<CatCommand> commands;
};

// Length up to and including the first ';' within `len` bytes; 0 when none.
int CatCommandLength(const char* text, int len);
// The kind of one command text (letters upper case as sent); -1 when it is
// none the ports answer.
int CatKindOf(const char* text, int len);
// Cuts `len` bytes into commands and appends the recognised ones to `batch`.
// Returns the length of the unfinished tail that the caller keeps as carry
// (the last bytes of `data`), or 0 when there is none or it is longer than
// kThpMaxTail bytes (dropped: a line that never ends must not deafen the port).
int ParseTHPCommands(const std::uint8_t* data, int len, CatBatch* batch);

// The Hz of "xx" + 11 digits + ";"; -1 when the text is not exactly that.
long long CatSetHz(const std::string& text);
// The digit of "xx" + one digit + ";"; -1 when the text is not exactly that.
int CatSetDigit(const std::string& text);
// The n of "PC" + three digits + ";"; -1 when not exactly that.
int CatPowerSet(const std::string& text);

// Mode maps. The options that change them.
struct CatModeOptions {
    bool lppanDirect = false;
    bool thpPoll = false;
    bool rttyReverse = false;
    bool pskReverse = false;
};
// The digit the ports are told unasked (and the "IF" answer carries).
char CatSentModeDigit(char mode, const CatModeOptions& opt);
// The digit answered to "MD;".
char CatAnswerModeDigit(char mode, const CatModeOptions& opt);
// The ModeChar of an "MD" digit given the current mode; 0 for none.
char ModeFromCatDigit(char digit, char current, const CatModeOptions& opt);

// The 38-byte status answer to "IF;".
std::string CatStatusText(double vfoAMhz, bool transmitting, char modeDigit, bool split);
// "PC;": the power as a percentage of the drive factor. A factor of 0 or
// less counts as 100; the answer is held to 0..100 so it stays three digits.
int CatPowerPercent(int level255, int driveFactor);
// "PC" + n: the power to set, the drive factor's n percent, at most 100.
int CatPowerFromPercent(int n, int driveFactor);
// VFO A in Hz rounded to the tuning step (a half step rounds up).
long long RoundHzToStep(long long hz, double stepHz);
