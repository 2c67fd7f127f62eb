#include "civ/setter_frames.h"

#include "civ/civ_frame.h"
#include "civ/civ_setters.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"

namespace {
constexpr int kMaxBody = 40;
}

void SendCiv(std::initializer_list<std::uint8_t> body) {
    std::uint8_t buf[kCivHeaderLen + kMaxBody + 1];
    BuildCivHeader(buf);
    int n = kCivHeaderLen;
    for (std::uint8_t b : body)
        if (n < kCivHeaderLen + kMaxBody) buf[n++] = b;
    buf[n++] = kCivEnd;
    sendtoradio(buf, n);
}

void SendCivLevel(std::initializer_list<std::uint8_t> body, int level) {
    std::uint8_t buf[kCivHeaderLen + kMaxBody + 3];
    BuildCivHeader(buf);
    int n = kCivHeaderLen;
    for (std::uint8_t b : body)
        if (n < kCivHeaderLen + kMaxBody) buf[n++] = b;
    LevelToBcd(ClampLevel(level), buf + n);
    n += 2;
    buf[n++] = kCivEnd;
    sendtoradio(buf, n);
}

void SendPerseus(std::uint8_t sub, std::uint8_t value) {
    std::uint8_t buf[8];
    BuildPerseusHeader(buf);
    buf[4] = 0x70;
    buf[5] = sub;
    buf[6] = value;
    buf[7] = kCivEnd;
    sendtoradio(buf, 8);
}

bool IsModel(std::initializer_list<int> types) {
    for (int t : types)
        if (g_radiotype == t) return true;
    return false;
}
