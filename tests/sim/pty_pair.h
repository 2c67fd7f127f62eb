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
    // The terminal passes bytes on a little after they were written; these
    // wait on the program's own byte counts for the port (real time, at most
    // `ms`), never on a guess of how long the crossing takes.
    // Every byte the program wrote since the last read, once it has all
    // reached the device end; empty when it wrote nothing.
    std::vector<std::uint8_t> takeWritten(int ms = 5000);
    // True once everything written to the device end is at the program's
    // end: read by it, or waiting to be read.
    bool delivered(int ms = 5000) const;
    // Closes the device end: the program's next read fails.
    void closeMaster();
    // Makes a link (for example "ports/com3") to the slave.
    bool link(const std::string& linkPath) const;

private:
    int master_ = -1;
    int spare_ = -1;
    std::string path_;
    std::uint64_t baseWritten_ = 0, baseRead_ = 0;  // the program's counts on an earlier terminal of this number
    std::uint64_t taken_ = 0, fed_ = 0;             // bytes read from and written to the device end
};

// Speed constant to baud rate, for termios of the tests' own ends.
long BaudFromSpeed(unsigned speed);
// Real time in ms: the radio's thread and the pty do not follow the manual
// clock the tests run on.
long long MonotonicMs();
// Reads from the program's side of a port (real time) until `want` bytes
// arrived, `ms` passed or the port failed.
std::vector<std::uint8_t> ReadPort(int port, std::size_t want, int ms = 1000);
