#include "civ/setter_frames.h"

#include "civ/civ_frame.h"
#include "civ/civ_setters.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"

void SendCiv(std::initializer_list<std::uint8_t> body) {
    std::uint8_t buf[kCivHeaderLen + kCivMaxBody + 1];
    sendtoradio(buf, BuildCivFrame(buf, body));
}

void SendCivLevel(std::initializer_list<std::uint8_t> body, int level) {
    std::uint8_t buf[kCivHeaderLen + kCivMaxBody + 3];
    int n = BuildCivFrame(buf, body) - 1;  // the level goes where FD stood
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

