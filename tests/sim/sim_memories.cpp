// The simulated radio's memory channels and its signal table.
#include <algorithm>
#include <cstdlib>

#include "sim/sim_radio.h"

namespace sim {
namespace {
constexpr std::uint8_t kEnd = 0xFD;
constexpr std::uint8_t kOk = 0xFB;
constexpr std::uint8_t kNg = 0xFA;
constexpr std::uint8_t kBlank = 0xFF;
constexpr std::uint8_t kSplitFlag = 0x10;
// Bytes of the contents read after 1A 00: bank, channel (2), flags, 17
// receive settings, 5 transmit frequency, 12 transmit settings, 9 name.
constexpr std::size_t kContents = 1 + 2 + 1 + 17 + 5 + 12 + 9;

int Key(int bank, int channel) { return bank * 1000 + channel; }

int BcdByte(std::uint8_t b) {
    const int hi = b >> 4, lo = b & 0x0F;
    return hi > 9 || lo > 9 ? -1 : hi * 10 + lo;
}
}  // namespace

void SimRadio::setMemory(int channel, const Memory& m, int bank) {
    std::lock_guard<std::mutex> lock(mutex_);
    memories_[Key(bank, channel)] = m;
}

bool SimRadio::memory(int channel, Memory* m, int bank) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = memories_.find(Key(bank, channel));
    if (it == memories_.end()) return false;
    if (m) *m = it->second;
    return true;
}

void SimRadio::setMemoryBanks(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    memoryBanks_ = on;
}

void SimRadio::addSignal(long long hz, int level, int widthHz) {
    std::lock_guard<std::mutex> lock(mutex_);
    signals_.push_back({hz, level, widthHz});
}

int SimRadio::signalLevel(long long hz) const {
    int level = 0;
    for (const Signal& s : signals_)
        if (std::llabs(s.hz - hz) <= s.width) level = std::max(level, s.level);
    return level;
}

// Memory commands: 08 (channel or bank select), 09 (VFO to memory), 0A
// (memory to VFO) and, with banks, 1A 00 (contents read, clear and write).
// True when the command was one of them and `out` holds the reply.
bool SimRadio::answerMemory(std::uint8_t cmd, const std::uint8_t* d, std::size_t n, Bytes& out) {
    auto code = [&](std::uint8_t c) {
        out.push_back(c);
        out.push_back(kEnd);
        return true;
    };
    Vfo& v = vfo_[selected_];
    switch (cmd) {
    case 0x08: {
        if (n == 0) return code(kOk);
        if (n != 2) return code(kNg);
        if (d[0] == 0xA0) {
            if (d[1] < 1 || d[1] > 5) return code(kNg);
            memBank_ = d[1];
            return code(kOk);
        }
        const int hi = BcdByte(d[0]), lo = BcdByte(d[1]);
        if (hi < 0 || lo < 0 || hi * 100 + lo < 1 || hi * 100 + lo > 199) return code(kNg);
        memChannel_ = hi * 100 + lo;
        return code(kOk);
    }
    case 0x09: {
        if (n != 0) return code(kNg);
        Memory& m = memories_[Key(memBank_, memChannel_)];
        m.hz = v.hz;
        m.mode = v.mode;
        m.filter = v.filter;
        m.name.clear();
        m.txHz = 0;
        return code(kOk);
    }
    case 0x0A: {
        if (n != 0) return code(kNg);
        // A blank channel leaves the VFO as it was.
        auto it = memories_.find(Key(memBank_, memChannel_));
        if (it != memories_.end()) {
            v.hz = it->second.hz;
            v.mode = it->second.mode;
            v.filter = it->second.filter;
        }
        return code(kOk);
    }
    case 0x1A: {
        if (n < 1 || d[0] != 0x00 || !memoryBanks_) return false;
        if (n < 4) return code(kNg);
        const int bank = d[1];
        const int channel = BcdByte(d[2]) * 100 + BcdByte(d[3]);
        if (bank < 1 || bank > 5 || channel < 1 || channel > 199) return code(kNg);
        const int key = Key(bank, channel);
        if (n == 4) {
            out.insert(out.end(), {0x1A, 0x00, d[1], d[2], d[3]});
            Bytes body(kContents - 3, 0x00);
            auto it = memories_.find(key);
            if (it == memories_.end()) {
                body[0] = kBlank;
            } else {
                const Memory& m = it->second;
                body[0] = m.txHz ? kSplitFlag : 0x00;
                HzToBcd(m.hz, &body[1]);  // the receive side, as the radio keeps it
                if (m.txHz) HzToBcd(m.txHz, &body[1 + 17]);
                for (std::size_t i = 0; i < 9; ++i)
                    body[1 + 17 + 5 + 12 + i] = i < m.name.size() ? std::uint8_t(m.name[i]) : ' ';
            }
            out.insert(out.end(), body.begin(), body.end());
            out.push_back(kEnd);
            return true;
        }
        if (n == 5 && d[4] == kBlank) {
            memories_.erase(key);
            return code(kOk);
        }
        if (n != 1 + kContents) return code(kNg);
        const std::uint8_t* body = d + 4;
        if (body[0] == kBlank) {
            memories_.erase(key);
            return code(kOk);
        }
        Memory& m = memories_[key];
        m.txHz = body[0] & kSplitFlag ? BcdToHz(body + 1 + 17) : 0;
        m.name.assign(reinterpret_cast<const char*>(body + 1 + 17 + 5 + 12), 9);
        while (!m.name.empty() && m.name.back() == ' ') m.name.pop_back();
        return code(kOk);
    }
    default:
        return false;
    }
}

}  // namespace sim
