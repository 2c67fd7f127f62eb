// A pseudo-terminal pair for the tests: the master end plays the device, the
// slave's path is what the program opens. A spare slave descriptor stays open
// so the program can close and reopen the port without the terminal going
// away under the master.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0; }
    int master() const { return master_; }
    int spareSlave() const { return spare_; }
    const std::string& slavePath() const { return path_; }

    // Writes to the device end (what the program will read).
    void write(const std::vector<std::uint8_t>& bytes);
    // Reads what the program wrote, waiting up to `ms` real milliseconds for
    // at least `want` bytes.
    std::vector<std::uint8_t> read(std::size_t want, int ms = 1000);
    // The speed the program configured on the slave (0 when unknown).
    long slaveBaud() const;
    // Closes the device end: the program's next read fails.
    void closeMaster();
    // Makes a link (for example "ports/com3") to the slave.
    bool link(const std::string& linkPath) const;

private:
    int master_ = -1;
    int spare_ = -1;
    std::string path_;
};

// Speed constant to baud rate and back, for termios of the tests' own ends.
long BaudFromSpeed(unsigned speed);
