#include "civ/civ_frame.h"

#include <cmath>
#include <cstdio>

#include "base/trace_log.h"
#include "civ/radio_models.h"

namespace {
constexpr std::uint8_t kPerseusTo = 0xE1;
constexpr std::uint8_t kPerseusFrom = 0xE0;
constexpr std::uint8_t kModeAm = 0x02;
constexpr std::uint8_t kModeFm = 0x05;

int Digit(char c) { return c - '0'; }
std::uint8_t Pair(char hi, char lo) { return std::uint8_t((Digit(hi) << 4) | Digit(lo)); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

void BuildCivHeader(std::uint8_t* buf) {
    buf[0] = kCivPreamble;
    buf[1] = kCivPreamble;
    buf[2] = std::uint8_t(g_radioadr);
    buf[3] = std::uint8_t(g_myaddr);
}

int BuildCivFrame(std::uint8_t* buf, std::initializer_list<std::uint8_t> body) {
    BuildCivHeader(buf);
    int n = kCivHeaderLen;
    for (std::uint8_t b : body)
        if (n < kCivHeaderLen + kCivMaxBody) buf[n++] = b;
    buf[n++] = kCivEnd;
    return n;
}

void BuildPerseusHeader(std::uint8_t* buf) {
    buf[0] = kCivPreamble;
    buf[1] = kCivPreamble;
    buf[2] = kPerseusTo;
    buf[3] = kPerseusFrom;
}

int FindCivEnd(const std::uint8_t* bytes, int count) {
    for (int i = 0; i < count; ++i)
        if (bytes[i] == kCivEnd) return i + 1;
    return 0;
}

int pdtoi(const std::uint8_t* two) {
    int v = (two[0] >> 4) * 1000 + (two[0] & 0x0F) * 100 + (two[1] >> 4) * 10 + (two[1] & 0x0F);
    WriteTracef("pdtoi ret %d", v);
    return v;
}

bool FrequencyToBcd(double mhz, std::uint8_t* out) {
    if (!(mhz >= 0.0) || !std::isfinite(mhz)) return false;
    char s[32];
    int n = std::snprintf(s, sizeof s, "%010.6f", mhz);
    // A value that rounds to 1000 MHz or above prints eleven characters.
    if (n != 10 || s[3] != '.') return false;
    for (int i = 0; i < 10; ++i)
        if (i != 3 && !IsDigit(s[i])) return false;
    out[0] = Pair(s[8], s[9]);
    out[1] = Pair(s[6], s[7]);
    out[2] = Pair(s[4], s[5]);
    out[3] = Pair(s[1], s[2]);
    out[4] = Pair('0', s[0]);
    return true;
}

bool BcdValid(const std::uint8_t* bytes, int count) {
    for (int k = 0; k < count; ++k)
        if ((bytes[k] & 0x0F) > 9 || (bytes[k] >> 4) > 9) return false;
    return true;
}

bool CivFrameBcdValid(const std::uint8_t* frame, int length) {
    // Data runs from `at` up to the FD; a short frame carries no value.
    const auto data = [&](int at) { return length - 1 - at > 0 ? BcdValid(frame + at, length - 1 - at) : true; };
    if (length < 6) return true;
    switch (frame[4]) {
    case 0x00:
    case 0x03:
    case 0x05: return data(5);
    case 0x11: return data(5);
    case 0x25: return data(6);
    case 0x14:
    case 0x15: return data(6);
    case 0x1A:
        if (length >= 7 && frame[5] == 0x03) return data(6);
        // A memory's contents (54 bytes): the frequency of a channel in use,
        // and its transmit frequency when split.
        if (length == 54 && frame[5] == 0x00 && frame[9] != 0xFF)
            return BcdValid(frame + 10, 5) && (!(frame[9] & 0x10) || BcdValid(frame + 27, 5));
        return true;
    default: return true;
    }
}

long long BcdToHz(const std::uint8_t* five) {
    long long hz = 0;
    long long scale = 1;
    for (int k = 0; k < 5; ++k) {
        hz += (five[k] & 0x0F) * scale;
        hz += (five[k] >> 4) * scale * 10;
        scale *= 100;
    }
    return hz;
}

double BcdToFrequency(const std::uint8_t* five, double offset) {
    return double(BcdToHz(five)) / 1000000.0 + offset;
}

void LevelToBcd(int value, std::uint8_t* out) {
    if (value < 0) value = 0;
    if (value > 9999) value = 9999;
    char s[8];
    std::snprintf(s, sizeof s, "%04d", value);
    out[0] = Pair(s[0], s[1]);
    out[1] = Pair(s[2], s[3]);
}

std::uint8_t ByteToBcd(int value) {
    if (value < 0) value = 0;
    if (value > 99) value = 99;
    return std::uint8_t(((value / 10) << 4) | (value % 10));
}

std::uint8_t CivModeByteFor(int modeChar, bool digisel, bool perseus) {
    switch (modeChar) {
        case '0': return 0x01;  // USB
        case '1': return 0x00;  // LSB
        case '2': return perseus ? 0x03 : 0x07;  // CW-R
        case '3': return 0x03;  // CW
        case '4': return 0x02;  // AM
        case '5': return 0x05;  // FM
        case '7': return 0x04;  // RTTY
        case '8': return 0x08;  // RTTY-R
        case '9': return digisel ? 0x12 : 0x01;  // PSK
        case ':': return digisel ? 0x13 : 0x00;  // PSK-R
        case ';': return 0x06;  // SAM
        case '<': return 0x06;  // WFM
        case 0x17: return 0x17;  // DV
        default: return 0x00;
    }
}

std::uint8_t CivModeByte(int modeChar) {
    return CivModeByteFor(modeChar, ModelCap(g_hasdigisel) != 0, g_perseus != 0);
}

int ModeFilterByte(std::uint8_t modeByte, int filter, const ModeFilterState& s) {
    const int type = s.radioType;
    const bool dsp = ModelCap(g_hasfilterwidth, type) != 0;
    const bool bigDsp = type == 5 || type == 16 || type == 18;

    // DSP models keep their own filter slots: the mode command selects the
    // fixed slot and the width goes separately.
    if (dsp && !s.closing && ((modeByte != kModeAm && modeByte != kModeFm) || bigDsp) && !s.savemem)
        return (type == 5 && s.vfoB) ? 3 : 2;

    int f = filter;
    if (dsp) {
        for (int k = 0; k < 3; ++k)
            if (filter == s.buttons[k]) {
                f = k + 1;
                break;
            }
    }
    if (s.oldRadio == 2) {
        if (f < 2 || f > 9) f = 2;
    } else if (s.oldRadio == 1) {
        if (f < 1 || f > 5) f = 1;
    } else {
        if (type == 8 || type == 9 || type == 10) {
            if (f < 1 || f > 2) f = 1;
        } else if (f < 1 || f > 3) {
            f = 2;
        }
        if (ModelCap(g_filterbase, type)) f -= 1;
    }
    if (s.closing) f = 1;
    if (s.ic765) return -1;
    return f;
}

int BuildModeFrame(std::uint8_t* buf, std::uint8_t modeByte, int filterByte) {
    if (filterByte < 0) return BuildCivFrame(buf, {0x06, modeByte});
    return BuildCivFrame(buf, {0x06, modeByte, std::uint8_t(filterByte)});
}

std::string HexBytes(const std::uint8_t* bytes, int count) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(std::size_t(count > 0 ? count : 0) * 3);
    for (int i = 0; i < count; ++i) {
        s.push_back(kHex[bytes[i] >> 4]);
        s.push_back(kHex[bytes[i] & 0x0F]);
        s.push_back(' ');
    }
    return s;
}
