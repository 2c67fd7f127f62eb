// Serial ports that exist, found without opening any of them (an open raises
// DTR and RTS, which can key a transmitter or reset a device).
#pragma once
#include <string>
#include <vector>

namespace plat {
// "COMn" for every "ports/comn" link in `dir` (n = 1..100, in order), then
// the devices of /dev/serial/by-id, /dev/ttyUSB*, /dev/ttyACM* and the
// /dev/ttyS* that have a UART behind them, by their "/dev/..." name.
std::vector<std::string> ListSerialPorts(const std::string& dir);
}  // namespace plat
