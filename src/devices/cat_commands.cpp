#include "devices/cat_commands.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// The two letters of each kind, in CatKind order.
constexpr const char kCatLetters[kCatKinds][3] = {
    "PC", "SB", "FI", "BW", "IS", "FW", "TQ", "SM", "IF", "AI", "TX", "RX", "MX", "LK", "RM", "PT",
    "SH", "SL", "K2", "K3", "ID", "DT", "FR", "FT", "PS", "PA", "RA", "CW", "FA", "FB", "BG", "MD",
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when text is the two letters, `digits` decimal digits and ';'.
bool IsDigitsSet(const std::string& text, std::size_t digits) {
    if (text.size() != digits + 3 || text.back() != ';') return false;
    for (std::size_t k = 2; k < 2 + digits; ++k)
        if (!IsDigit(text[k])) return false;
    return true;
}

}  // namespace

int CatCommandLength(const char* text, int len) {
    for (int k = 0; k < len; ++k)
        if (text[k] == ';') return k + 1;
    return 0;
}

int CatKindOf(const char* text, int len) {
    if (len < 3) return -1;
    // A '$' behind the letters asks for a sub receiver that no answer here covers.
    if (text[2] == '$') return -1;
    for (int k = 0; k < kCatKinds; ++k)
        if (text[0] == kCatLetters[k][0] && text[1] == kCatLetters[k][1]) return k;
    return -1;
}

int ParseTHPCommands(const std::uint8_t* data, int len, CatBatch* batch) {
    const char* text = reinterpret_cast<const char*>(data);
    int pos = 0;
    while (pos < len) {
        const int n = CatCommandLength(text + pos, len - pos);
        if (n == 0) break;
        // Line ends and blanks some programs put between commands are not
        // part of the next command.
        int start = pos;
        while (start < pos + n - 1 && (text[start] == '\r' || text[start] == '\n' || text[start] == ' ')) ++start;
        const int kind = CatKindOf(text + start, pos + n - start);
        if (kind >= 0)
            batch->commands.push_back({CatKind(kind), std::string(text + start, std::size_t(pos + n - start))});
        pos += n;
    }
    const int tail = len - pos;
    return tail <= kThpMaxTail ? tail : 0;
}

long long CatSetHz(const std::string& text) {
    if (!IsDigitsSet(text, 11)) return -1;
    long long hz = 0;
    for (int k = 2; k < 13; ++k) hz = hz * 10 + (text[std::size_t(k)] - '0');
    return hz;
}

int CatSetDigit(const std::string& text) { return IsDigitsSet(text, 1) ? text[2] - '0' : -1; }

int CatPowerSet(const std::string& text) {
    if (!IsDigitsSet(text, 3)) return -1;
    return (text[2] - '0') * 100 + (text[3] - '0') * 10 + (text[4] - '0');
}

char CatSentModeDigit(char mode, const CatModeOptions& opt) {
    switch (mode) {
        case '0': return '2';
        case '2': return opt.lppanDirect || opt.thpPoll ? '3' : '7';
        case '3': return opt.lppanDirect ? '7' : '3';
        case '4': case ';': return '5';
        case '5': case 0x17: return '4';
        case '7': return opt.rttyReverse ? '9' : '6';
        case '8': return opt.rttyReverse ? '6' : '9';
        case '9': return opt.pskReverse ? '9' : '6';
        case ':': return opt.pskReverse ? '6' : '9';
        default: return '1';
    }
}

char CatAnswerModeDigit(char mode, const CatModeOptions& opt) {
    switch (mode) {
        case '2': return '7';
        case '3': return '3';
        // Wide FM has no digit of its own; FM is the nearest a client knows.
        case '<': return '4';
        default: return CatSentModeDigit(mode, opt);
    }
}

char ModeFromCatDigit(char digit, char current, const CatModeOptions& opt) {
    const bool psk = current == '9' || current == ':';
    switch (digit) {
        case '1': return '1';
        case '2': return '0';
        case '3': return '3';
        case '4': return '5';
        case '5': return '4';
        case '7': return '2';
        case '6':
            if (psk) return opt.pskReverse ? ':' : '9';
            return opt.rttyReverse ? '8' : '7';
        case '9':
            if (psk) return opt.pskReverse ? '9' : ':';
            return opt.rttyReverse ? '7' : '8';
        default: return 0;
    }
}

std::string CatStatusText(double vfoAMhz, bool transmitting, char modeDigit, bool split) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "IF%011.0f     +000000 00%c%c00%c001 ;", vfoAMhz * 1e6, transmitting ? '1' : '0',
                  modeDigit, split ? '1' : '0');
    return buf;
}

int CatPowerPercent(int level255, int driveFactor) {
    const long long f = driveFactor <= 0 ? 100 : driveFactor;
    const long long v = ((long long)level255 * 100 / f * 1000 + 500) / 2550;
    return v < 0 ? 0 : (v > 100 ? 100 : int(v));
}

int CatPowerFromPercent(int n, int driveFactor) {
    const long long f = driveFactor <= 0 ? 100 : driveFactor;
    const long long p = f * n / 100;
    return p > 100 ? 100 : (p < 0 ? 0 : int(p));
}

long long RoundHzToStep(long long hz, double stepHz) {
    // In whole Hz: the same rule in doubles loses a half step now and then.
    long long s = std::llround(stepHz);
    if (s < 1) s = 1;
    return (hz + s / 2) / s * s;
}
