// Frame helpers shared by the setters: header, body bytes, FD, sendtoradio.
#pragma once
#include <cstdint>
#include <initializer_list>

// FE FE radio ctrl, the bytes, FD.
void SendCiv(std::initializer_list<std::uint8_t> body);
// The same with a 2-byte BCD level (clamped to 0..255) behind the bytes.
void SendCivLevel(std::initializer_list<std::uint8_t> body, int level);
// FE FE E1 E0 70 sub value FD: the Perseus dialect.
void SendPerseus(std::uint8_t sub, std::uint8_t value);
