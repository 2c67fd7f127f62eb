// A simulated CI-V transceiver on a pseudo-terminal. The program opens the
// slave end (by path or through a "ports/comN" link); the radio serves the
// master end from a background thread, so tests of the single-threaded
// program can drive their own clock while the radio answers in real time.
//
// Like a radio on a CI-V bus it echoes every byte it receives, at any baud.
// It answers only frames addressed to it (or broadcast, 00) and only while
// the speed the program configured on the port equals its own baud: a radio
// at another rate would see noise. The configured speed is read with
// tcgetattr on a slave descriptor the simulator keeps open, which sees the
// same terminal settings as the program's descriptor.
//
// Its frequency codec is its own, independent of the program's, so that a
// mistake in one cannot hide in the other.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/pty_pair.h"

namespace sim {

using Bytes = std::vector<std::uint8_t>;

// Five BCD bytes, least significant pair first (1 Hz resolution). Returns -1
// when a nibble is not a decimal digit.
long long BcdToHz(const std::uint8_t* five);
void HzToBcd(long long hz, std::uint8_t* five);
// Two BCD bytes, high digits first (0..9999); -1 on a non-decimal nibble.
int Bcd2ToInt(const std::uint8_t* two);
void IntToBcd2(int value, std::uint8_t* two);

class SimRadio {
public:
    explicit SimRadio(std::uint8_t address = 0x94, long baud = 19200);
    ~SimRadio();
    SimRadio(const SimRadio&) = delete;
    SimRadio& operator=(const SimRadio&) = delete;

    bool ok() const { return pty_.ok(); }
    const std::string& slavePath() const { return pty_.slavePath(); }
    // Makes a link such as "ports/com1" to the slave.
    bool link(const std::string& linkPath) const { return pty_.link(linkPath); }
    std::uint8_t address() const { return address_; }
    long baud() const { return baud_; }
    // The speed the program set on the port (0 when unknown).
    long portBaud() const { return pty_.slaveBaud(); }

    // Serving: a background thread (start/stop), or, without it, one pass
    // that handles whatever has arrived within `ms` real milliseconds.
    void start();
    void stop();
    void pollOnce(int ms = 0);
    // Stops serving and fills the line from the program until the terminal
    // takes no more (false when it would not fill within a few seconds).
    bool stallLine();
    // Waits (real time, at most `ms`) until the radio has taken in and
    // answered everything the program wrote; false when it has not.
    bool settle(int ms = 200) const;
    // Every byte taken in from the program and written back to it since the
    // start (echo included): a harness compares them with the program's own
    // counts to know both directions of the line have been delivered.
    std::uint64_t bytesIn() const { return in_; }
    std::uint64_t bytesOut() const { return out_; }
    // Waits (real time, at most `ms`) until the line is quiet both ways:
    // every byte the program wrote has been taken in and answered, and every
    // byte written back can be read by the program. The terminal's buffers
    // pass bytes on a little later than they were written, so the radio
    // being idle alone does not say it. False when the time ran out.
    bool settleLine(int ms = 2000) const;
    std::size_t sent() const { return std::size_t(out_); }

    // Radio state (thread-safe). Frequencies in Hz; mode bytes as on the
    // wire (00 LSB, 01 USB, 02 AM, 03 CW, 04 RTTY, 05 FM, ...).
    long long frequency(int vfo = -1) const;  // -1: the selected VFO
    void setFrequency(long long hz, int vfo = -1);
    std::uint8_t mode(int vfo = -1) const;
    std::uint8_t filter(int vfo = -1) const;
    void setMode(std::uint8_t mode, std::uint8_t filter, int vfo = -1);
    int selectedVfo() const;  // 0 A, 1 B
    bool split() const;
    int level(std::uint8_t sub) const;  // 14 xx, 0..255; -1 never set
    void setLevel(std::uint8_t sub, int value);
    void setMeter(std::uint8_t sub, int value);  // 15 xx
    int switchState(std::uint8_t sub) const;     // 16 xx; -1 never set
    int dataMode() const;
    int filterWidth() const;
    int transmitting() const;  // 1C 00

    // Front-panel changes: the radio's own state changes and nothing is
    // announced (transceive off), so only a read shows them.
    void setSwitch(std::uint8_t sub, int value);  // 16 xx
    void setSplit(bool on);
    void setAttenuator(int db);                   // 11, answered in BCD
    int attenuator() const;
    void setAntenna(int antenna, int rxAntenna);  // 12: antenna 0.., receive antenna 0/1
    void setFilterWidth(int code);                // 1A 03
    void setDataMode(int value);                  // 1A 06
    void setTransmit(int on);                     // the operator keys the radio (1C 00)

    // Transceive broadcasts, as when the operator turns the radio's knob:
    // FE FE 00 addr 00 <freq> FD and FE FE 00 addr 01 mode filter FD.
    void sendTransceiveFrequency();
    void sendTransceiveMode();

    // The radio's own memory channels (bank 1..5, channel 1..199). With banks
    // on (radio type 13) it answers the 54-byte contents read 1A 00 and takes
    // the contents write back.
    struct Memory {
        long long hz = 0;
        std::uint8_t mode = 0x01;
        std::uint8_t filter = 0x01;
        std::string name;       // up to 9 characters
        long long txHz = 0;     // split: the transmit frequency
    };
    void setMemory(int channel, const Memory& m, int bank = 1);
    // False for a blank channel.
    bool memory(int channel, Memory* m, int bank = 1) const;
    void setMemoryBanks(bool on);
    // The S meter (15 02) follows a table of signals: a signal is heard
    // within `widthHz` of its frequency.
    void addSignal(long long hz, int level, int widthHz = 500);

    // Faults.
    void setEcho(bool on);             // off: the bus echo is missing
    void setAnswering(bool on);        // off: radio switched off, echo only
    void setSplitWrites(bool on);      // replies leave one byte at a time
    void replyNg(int count);           // the next `count` commands get FA
    void sendGarbage(const Bytes& b);  // raw bytes to the program, now
    void sendCollision(int count);     // a burst of FC jam bytes
    void sendRaw(const Bytes& b) { sendGarbage(b); }

    // What the program sent: complete frames addressed to this radio or
    // broadcast, in order, and every byte as received.
    std::vector<Bytes> frames() const;
    Bytes received() const;
    void clearLog();
    // The logged frames, removed from the log.
    std::vector<Bytes> takeFrames();
    // Waits (real time) until at least `count` frames were logged.
    bool waitFrames(std::size_t count, int ms = 2000) const;

private:
    struct Vfo {
        long long hz = 14074000;
        std::uint8_t mode = 0x01;
        std::uint8_t filter = 0x01;
    };

    void run();
    bool answerMemory(std::uint8_t cmd, const std::uint8_t* d, std::size_t n, Bytes& out);
    int signalLevel(long long hz) const;
    void handleInput(const std::uint8_t* data, std::size_t n);
    void handleFrame(const Bytes& frame);
    Bytes answer(const Bytes& frame, bool* reply);
    void writeOut(const Bytes& b);
    int vfoIndex(int vfo) const { return vfo < 0 ? selected_ : (vfo ? 1 : 0); }

    PtyPair pty_;
    const std::uint8_t address_;
    const long baud_;

    mutable std::mutex mutex_;
    mutable std::condition_variable logged_;
    std::mutex writeMutex_;
    std::thread thread_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::atomic<bool> running_{false};
    std::atomic<bool> busy_{false};  // handling what it read
    std::atomic<std::uint64_t> in_{0}, out_{0};
    std::uint64_t baseWritten_ = 0, baseRead_ = 0;  // the program's counts on this terminal's number before it was ours

    Vfo vfo_[2];
    int selected_ = 0;
    bool split_ = false;
    std::map<std::uint8_t, int> levels_;
    std::map<std::uint8_t, int> meters_;
    std::map<std::uint8_t, int> switches_;
    int dataMode_ = 0;
    int dataFilter_ = 0;
    int filterWidth_ = 40;
    int transmit_ = 0;
    int attenuator_ = 0;
    int antenna_ = 0;
    int rxAntenna_ = 0;

    bool echo_ = true;
    bool answering_ = true;
    bool splitWrites_ = false;
    int ngCount_ = 0;

    std::map<int, Memory> memories_;  // bank * 1000 + channel
    bool memoryBanks_ = false;
    int memBank_ = 1;
    int memChannel_ = 1;
    struct Signal {
        long long hz;
        int level;
        int width;
    };
    std::vector<Signal> signals_;

    Bytes pending_;  // bytes of an unfinished frame
    std::vector<Bytes> frames_;
    Bytes received_;
};

}  // namespace sim
