// A simulated serial CW keyer on a pseudo-terminal, speaking the keyer's
// binary host protocol: host open answered with the firmware version,
// commands with their parameter counts, text echoed character by character
// as the keyer sends it, and key-down state from the key command. Tests
// serve it from their own thread (serve) and make it report paddle, pot and
// status bytes (report).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/pty_pair.h"

namespace sim {

class SimKeyer {
public:
    explicit SimKeyer(std::uint8_t version = 23);

    bool ok() const { return pty_.ok(); }
    const std::string& slavePath() const { return pty_.slavePath(); }
    bool link(const std::string& linkPath) const { return pty_.link(linkPath); }

    // Reads what the program wrote within `ms` real milliseconds (returning
    // early once nothing more came for a few ms) and answers it.
    void serve(int ms = 50);
    // Bytes the keyer sends of its own accord (status, pot, paddle echo).
    void report(const std::vector<std::uint8_t>& bytes) { pty_.write(bytes); }
    // The keyer is unplugged: the program's next read of its port fails.
    void unplug() { pty_.closeMaster(); }

    bool hostOpen() const { return open_; }
    bool keyDown() const { return keyDown_; }
    int speed() const { return speed_; }        // 02: 0 follows the pot
    int modeByte() const { return mode_; }      // 0E, or the defaults block
    int pinByte() const { return pins_; }       // 09, or the defaults block
    int clears() const { return clears_; }      // 0A buffer clears
    // Text the keyer sent in CW, in order.
    const std::string& sent() const { return sent_; }
    // Every command as received (command byte and its parameters).
    const std::vector<std::vector<std::uint8_t>>& commands() const { return commands_; }
    // Raw bytes received.
    const std::vector<std::uint8_t>& received() const { return received_; }
    // True when a command with these bytes was received.
    bool got(const std::vector<std::uint8_t>& command) const;

private:
    void take(std::uint8_t b);
    void command(const std::vector<std::uint8_t>& c);

    PtyPair pty_;
    std::uint8_t version_;
    bool open_ = false, keyDown_ = false;
    int speed_ = -1, mode_ = -1, pins_ = -1, clears_ = 0;
    std::string sent_;
    std::vector<std::vector<std::uint8_t>> commands_;
    std::vector<std::uint8_t> received_, pending_;
    std::size_t want_ = 0;  // bytes the command in `pending_` still needs
};

}  // namespace sim
