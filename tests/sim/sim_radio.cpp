#include "sim/sim_radio.h"

#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace sim {

namespace {

constexpr std::uint8_t kPreamble = 0xFE;
constexpr std::uint8_t kEnd = 0xFD;
constexpr std::uint8_t kOk = 0xFB;
constexpr std::uint8_t kNg = 0xFA;
constexpr std::uint8_t kJam = 0xFC;
constexpr std::size_t kLongestFrame = 400;

bool ValidMode(std::uint8_t m) { return m <= 0x08 || m == 0x12 || m == 0x13 || m == 0x17; }

}  // namespace

long long BcdToHz(const std::uint8_t* five) {
    long long hz = 0;
    for (int i = 4; i >= 0; --i) {
        int hi = five[i] >> 4, lo = five[i] & 0x0F;
        if (hi > 9 || lo > 9) return -1;
        hz = hz * 100 + hi * 10 + lo;
    }
    return hz;
}

void HzToBcd(long long hz, std::uint8_t* five) {
    for (int i = 0; i < 5; ++i) {
        int pair = static_cast<int>(hz % 100);
        hz /= 100;
        five[i] = static_cast<std::uint8_t>(((pair / 10) << 4) | (pair % 10));
    }
}

int Bcd2ToInt(const std::uint8_t* two) {
    int v = 0;
    for (int i = 0; i < 2; ++i) {
        int hi = two[i] >> 4, lo = two[i] & 0x0F;
        if (hi > 9 || lo > 9) return -1;
        v = v * 100 + hi * 10 + lo;
    }
    return v;
}

void IntToBcd2(int value, std::uint8_t* two) {
    two[0] = static_cast<std::uint8_t>((((value / 1000) % 10) << 4) | ((value / 100) % 10));
    two[1] = static_cast<std::uint8_t>((((value / 10) % 10) << 4) | (value % 10));
}

SimRadio::SimRadio(std::uint8_t address, long baud) : address_(address), baud_(baud) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        wakeRead_ = fds[0];
        wakeWrite_ = fds[1];
    }
    vfo_[1].hz = 7074000;
    vfo_[1].mode = 0x00;
    const plat::SerialTrafficCount before = plat::SerialTraffic(pty_.slavePath());
    baseWritten_ = before.written;
    baseRead_ = before.read;
}

SimRadio::~SimRadio() {
    stop();
    if (wakeRead_ >= 0) ::close(wakeRead_);
    if (wakeWrite_ >= 0) ::close(wakeWrite_);
}

void SimRadio::start() {
    if (running_ || !ok()) return;
    running_ = true;
    thread_ = std::thread([this] { run(); });
}

void SimRadio::stop() {
    if (!running_) return;
    running_ = false;
    char b = 1;
    (void)!::write(wakeWrite_, &b, 1);
    thread_.join();
}

bool SimRadio::stallLine() {
    stop();
    const std::vector<std::uint8_t> fill(512, 0xFD);
    // The terminal moves bytes across a little after they were written, and
    // may free a little room once more after a first refusal: the line counts
    // as full only when it has refused every byte for ten rounds in a row.
    for (int round = 0, held = 0, full = 0; round < 500;
         ++round, std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
        bool took = false;
        while (::write(pty_.spareSlave(), fill.data(), fill.size()) > 0) took = true;
        full = !took && ::ioctl(pty_.master(), FIONREAD, &held) == 0 && held >= 4095 ? full + 1 : 0;
        if (full >= 10) return true;
    }
    return false;
}

void SimRadio::run() {
    while (running_) pollOnce(1000);
}

void SimRadio::pollOnce(int ms) {
    pollfd p[2] = {{pty_.master(), POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    int r = ::poll(p, 2, ms);
    if (r <= 0) return;
    if (p[1].revents & POLLIN) {
        char b[16];
        while (::read(wakeRead_, b, sizeof b) > 0) {
        }
    }
    if (!(p[0].revents & POLLIN)) {
        // The program has closed its end (the spare descriptor keeps the
        // terminal alive, so this is rare); do not spin on the error.
        if (p[0].revents & (POLLHUP | POLLERR)) ::poll(nullptr, 0, 10);
        return;
    }
    std::uint8_t buf[512];
    busy_ = true;
    ssize_t n = ::read(pty_.master(), buf, sizeof buf);
    if (n > 0) handleInput(buf, static_cast<std::size_t>(n));
    busy_ = false;
}

void SimRadio::handleInput(const std::uint8_t* data, std::size_t n) {
    in_ += n;
    bool echo;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        received_.insert(received_.end(), data, data + n);
        echo = echo_;
    }
    // The bus carries every byte back to its sender, whatever the baud.
    if (echo) writeOut(Bytes(data, data + n));

    std::vector<Bytes> complete;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.insert(pending_.end(), data, data + n);
        for (;;) {
            // Noise before a preamble is dropped; so is a frame that never ends.
            std::size_t start = 0;
            while (start + 1 < pending_.size() && !(pending_[start] == kPreamble && pending_[start + 1] == kPreamble))
                ++start;
            if (start + 1 >= pending_.size()) {
                if (!pending_.empty() && pending_.back() == kPreamble) start = pending_.size() - 1;
                pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(start));
                break;
            }
            while (start + 2 < pending_.size() && pending_[start + 2] == kPreamble) ++start;
            std::size_t end = start + 2;
            while (end < pending_.size() && pending_[end] != kEnd) ++end;
            if (end >= pending_.size()) {
                pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(start));
                if (pending_.size() > kLongestFrame) pending_.clear();
                break;
            }
            Bytes frame(pending_.begin() + static_cast<long>(start), pending_.begin() + static_cast<long>(end) + 1);
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(end) + 1);
            complete.push_back(std::move(frame));
        }
    }
    for (const Bytes& f : complete) handleFrame(f);
}

void SimRadio::handleFrame(const Bytes& frame) {
    if (frame.size() < 6) return;
    for (std::uint8_t b : frame)
        if (b == kJam) return;  // a collided frame is lost on the bus
    const std::uint8_t to = frame[2];
    if (to != address_ && to != 0x00) return;
    Bytes reply;
    bool hasReply = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        frames_.push_back(frame);
        logged_.notify_all();
        if (!answering_) return;
        // At the wrong rate the radio hears noise, not this frame.
        if (pty_.slaveBaud() != baud_) return;
        reply = answer(frame, &hasReply);
    }
    if (hasReply) writeOut(reply);
}

// Applies one frame to the radio state and builds the reply. Called with
// the state locked.
Bytes SimRadio::answer(const Bytes& f, bool* reply) {
    const std::uint8_t from = f[3];
    const std::uint8_t cmd = f[4];
    const std::uint8_t* d = f.data() + 5;
    const std::size_t n = f.size() - 6;  // bytes after the command, before FD
    Bytes out = {kPreamble, kPreamble, from, address_};
    auto code = [&](std::uint8_t c) {
        out.push_back(c);
        out.push_back(kEnd);
        return out;
    };
    auto data = [&](std::initializer_list<std::uint8_t> bytes) {
        out.insert(out.end(), bytes);
        out.push_back(kEnd);
        return out;
    };
    *reply = true;

    // Transceive frames from a controller change the radio without a reply.
    if (cmd == 0x00 || cmd == 0x01) {
        *reply = false;
        Vfo& v = vfo_[selected_];
        if (cmd == 0x00 && n == 5 && BcdToHz(d) >= 0) v.hz = BcdToHz(d);
        if (cmd == 0x01 && n >= 1 && ValidMode(d[0])) {
            v.mode = d[0];
            if (n >= 2) v.filter = d[1];
        }
        return out;
    }
    if (ngCount_ > 0) {
        --ngCount_;
        return code(kNg);
    }
    if (answerMemory(cmd, d, n, out)) return out;
    Vfo& v = vfo_[selected_];
    std::uint8_t bcd[5];
    switch (cmd) {
    case 0x03:
        if (n != 0) return code(kNg);
        HzToBcd(v.hz, bcd);
        return data({0x03, bcd[0], bcd[1], bcd[2], bcd[3], bcd[4]});
    case 0x04:
        if (n != 0) return code(kNg);
        return data({0x04, v.mode, v.filter});
    case 0x05:
        if (n != 5 || BcdToHz(d) < 0) return code(kNg);
        v.hz = BcdToHz(d);
        return code(kOk);
    case 0x06:
        if (n < 1 || n > 2 || !ValidMode(d[0]) || (n == 2 && (d[1] < 1 || d[1] > 3))) return code(kNg);
        v.mode = d[0];
        if (n == 2) v.filter = d[1];
        return code(kOk);
    case 0x07:
        if (n == 0) return code(kOk);
        if (n != 1) return code(kNg);
        switch (d[0]) {
        case 0x00:
        case 0xD0: selected_ = 0; break;
        case 0x01:
        case 0xD1: selected_ = 1; break;
        case 0xA0: vfo_[1 - selected_] = vfo_[selected_]; break;
        case 0xB0: std::swap(vfo_[0], vfo_[1]); break;
        default: return code(kNg);
        }
        return code(kOk);
    case 0x0F:
        if (n == 0) return data({0x0F, static_cast<std::uint8_t>(split_ ? 1 : 0)});
        if (n != 1 || d[0] > 1) return code(kNg);
        split_ = d[0] == 1;
        return code(kOk);
    case 0x11:
        if (n == 0) return data({0x11, static_cast<std::uint8_t>(((attenuator_ / 10) << 4) | (attenuator_ % 10))});
        if (n != 1 || (d[0] >> 4) > 9 || (d[0] & 0x0F) > 9) return code(kNg);
        attenuator_ = (d[0] >> 4) * 10 + (d[0] & 0x0F);
        return code(kOk);
    case 0x12:
        if (n == 0) return data({0x12, static_cast<std::uint8_t>(antenna_), static_cast<std::uint8_t>(rxAntenna_)});
        if (n > 2 || d[0] > 3 || (n == 2 && d[1] > 1)) return code(kNg);
        antenna_ = d[0];
        if (n == 2) rxAntenna_ = d[1];
        return code(kOk);
    case 0x14:
        if (n == 1) {
            std::uint8_t lv[2];
            auto it = levels_.find(d[0]);
            IntToBcd2(it == levels_.end() ? 0 : it->second, lv);
            return data({0x14, d[0], lv[0], lv[1]});
        }
        if (n != 3 || Bcd2ToInt(d + 1) < 0 || Bcd2ToInt(d + 1) > 255) return code(kNg);
        levels_[d[0]] = Bcd2ToInt(d + 1);
        return code(kOk);
    case 0x15: {
        if (n != 1) return code(kNg);
        std::uint8_t lv[2];
        auto it = meters_.find(d[0]);
        const int value = it == meters_.end() ? 0 : it->second;
        IntToBcd2(d[0] == 0x02 && !signals_.empty() ? std::max(value, signalLevel(v.hz)) : value, lv);
        return data({0x15, d[0], lv[0], lv[1]});
    }
    case 0x16:
        if (n == 1) {
            auto it = switches_.find(d[0]);
            return data({0x16, d[0], static_cast<std::uint8_t>(it == switches_.end() ? 0 : it->second)});
        }
        if (n != 2) return code(kNg);
        switches_[d[0]] = d[1];
        return code(kOk);
    case 0x19:
        if (n != 1 || d[0] != 0x00) return code(kNg);
        return data({0x19, 0x00, address_});
    case 0x1A:
        if (n >= 1 && d[0] == 0x03) {
            if (n == 1) {
                std::uint8_t w = static_cast<std::uint8_t>(((filterWidth_ / 10) << 4) | (filterWidth_ % 10));
                return data({0x1A, 0x03, w});
            }
            int hi = d[1] >> 4, lo = d[1] & 0x0F;
            if (n != 2 || hi > 9 || lo > 9 || hi * 10 + lo > 49) return code(kNg);
            filterWidth_ = hi * 10 + lo;
            return code(kOk);
        }
        if (n >= 1 && d[0] == 0x06) {
            if (n == 1)
                return data({0x1A, 0x06, static_cast<std::uint8_t>(dataMode_), static_cast<std::uint8_t>(dataFilter_)});
            if (n > 3 || d[1] > 3) return code(kNg);
            dataMode_ = d[1];
            if (n == 3) dataFilter_ = d[2];
            return code(kOk);
        }
        return code(kNg);
    case 0x25: {
        // Frequency of the selected (00) or unselected (01) VFO.
        if (n < 1 || d[0] > 1) return code(kNg);
        Vfo& t = vfo_[d[0] == 0 ? selected_ : 1 - selected_];
        if (n == 1) {
            HzToBcd(t.hz, bcd);
            return data({0x25, d[0], bcd[0], bcd[1], bcd[2], bcd[3], bcd[4]});
        }
        if (n != 6 || BcdToHz(d + 1) < 0) return code(kNg);
        t.hz = BcdToHz(d + 1);
        return code(kOk);
    }
    case 0x26: {
        // Mode, data mode and filter of the selected (00) or unselected (01) VFO.
        if (n < 1 || d[0] > 1) return code(kNg);
        Vfo& t = vfo_[d[0] == 0 ? selected_ : 1 - selected_];
        if (n == 1) return data({0x26, d[0], t.mode, static_cast<std::uint8_t>(dataMode_), t.filter});
        if (n != 4 || !ValidMode(d[1]) || d[2] > 1 || d[3] < 1 || d[3] > 3) return code(kNg);
        t.mode = d[1];
        dataMode_ = d[2];
        t.filter = d[3];
        return code(kOk);
    }
    case 0x1C:
        if (n >= 1 && d[0] == 0x00) {
            if (n == 1) return data({0x1C, 0x00, static_cast<std::uint8_t>(transmit_)});
            if (n != 2 || d[1] > 1) return code(kNg);
            transmit_ = d[1];
            return code(kOk);
        }
        return code(kNg);
    default:
        return code(kNg);
    }
}

void SimRadio::writeOut(const Bytes& b) {
    std::lock_guard<std::mutex> lock(writeMutex_);
    bool split;
    {
        std::lock_guard<std::mutex> state(mutex_);
        split = splitWrites_;
    }
    const int fd = pty_.master();
    const long long deadline = MonotonicMs() + 500;
    std::size_t done = 0;
    while (done < b.size()) {
        std::size_t chunk = split ? 1 : b.size() - done;
        ssize_t n = ::write(fd, b.data() + done, chunk);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            out_ += static_cast<std::uint64_t>(n);
            if (split) ::poll(nullptr, 0, 2);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) return;
        // The program is not reading: drop the rest rather than hang.
        long long left = deadline - MonotonicMs();
        if (left <= 0) return;
        pollfd p{fd, POLLOUT, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
}

long long SimRadio::frequency(int vfo) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return vfo_[vfoIndex(vfo)].hz;
}

void SimRadio::setFrequency(long long hz, int vfo) {
    std::lock_guard<std::mutex> lock(mutex_);
    vfo_[vfoIndex(vfo)].hz = hz;
}

std::uint8_t SimRadio::mode(int vfo) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return vfo_[vfoIndex(vfo)].mode;
}

std::uint8_t SimRadio::filter(int vfo) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return vfo_[vfoIndex(vfo)].filter;
}

void SimRadio::setMode(std::uint8_t mode, std::uint8_t filter, int vfo) {
    std::lock_guard<std::mutex> lock(mutex_);
    vfo_[vfoIndex(vfo)].mode = mode;
    vfo_[vfoIndex(vfo)].filter = filter;
}

int SimRadio::selectedVfo() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return selected_;
}

bool SimRadio::split() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return split_;
}

int SimRadio::level(std::uint8_t sub) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = levels_.find(sub);
    return it == levels_.end() ? -1 : it->second;
}

void SimRadio::setLevel(std::uint8_t sub, int value) {
    std::lock_guard<std::mutex> lock(mutex_);
    levels_[sub] = value;
}

void SimRadio::setMeter(std::uint8_t sub, int value) {
    std::lock_guard<std::mutex> lock(mutex_);
    meters_[sub] = value;
}

int SimRadio::switchState(std::uint8_t sub) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = switches_.find(sub);
    return it == switches_.end() ? -1 : it->second;
}

int SimRadio::dataMode() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return dataMode_;
}

int SimRadio::filterWidth() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return filterWidth_;
}

int SimRadio::transmitting() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return transmit_;
}

bool SimRadio::settle(int ms) const {
    const long long deadline = MonotonicMs() + ms;
    for (;;) {
        int pending = 0;
        if (::ioctl(pty_.master(), FIONREAD, &pending) != 0) pending = 0;
        if (pending == 0 && !busy_) return true;
        if (MonotonicMs() >= deadline) return false;
        ::poll(nullptr, 0, 1);
    }
}

bool SimRadio::settleLine(int ms) const {
    const long long deadline = MonotonicMs() + ms;
    for (;;) {
        const plat::SerialTrafficCount t = plat::SerialTraffic(pty_.slavePath());
        int pending = 0;
        if (::ioctl(pty_.master(), FIONREAD, &pending) != 0) pending = 0;
        const bool taken = pending == 0 && !busy_ && in_ >= t.written - baseWritten_;
        // What waits to be read, seen through the spare descriptor: it is
        // there whether or not the program has the port open just now.
        int unread = 0;
        if (::ioctl(pty_.spareSlave(), FIONREAD, &unread) != 0) unread = 0;
        if (taken && t.read - baseRead_ + std::uint64_t(unread) >= out_) return true;
        if (MonotonicMs() >= deadline) return false;
        ::poll(nullptr, 0, 1);
    }
}

void SimRadio::setSwitch(std::uint8_t sub, int value) {
    std::lock_guard<std::mutex> lock(mutex_);
    switches_[sub] = value;
}

void SimRadio::setSplit(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    split_ = on;
}

void SimRadio::setAttenuator(int db) {
    std::lock_guard<std::mutex> lock(mutex_);
    attenuator_ = db;
}

int SimRadio::attenuator() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return attenuator_;
}

void SimRadio::setAntenna(int antenna, int rxAntenna) {
    std::lock_guard<std::mutex> lock(mutex_);
    antenna_ = antenna;
    rxAntenna_ = rxAntenna;
}

void SimRadio::setFilterWidth(int code) {
    std::lock_guard<std::mutex> lock(mutex_);
    filterWidth_ = code;
}

void SimRadio::setDataMode(int value) {
    std::lock_guard<std::mutex> lock(mutex_);
    dataMode_ = value;
}

void SimRadio::setTransmit(int on) {
    std::lock_guard<std::mutex> lock(mutex_);
    transmit_ = on;
}

void SimRadio::sendTransceiveFrequency() {
    std::uint8_t bcd[5];
    HzToBcd(frequency(), bcd);
    writeOut({kPreamble, kPreamble, 0x00, address_, 0x00, bcd[0], bcd[1], bcd[2], bcd[3], bcd[4], kEnd});
}

void SimRadio::sendTransceiveMode() { writeOut({kPreamble, kPreamble, 0x00, address_, 0x01, mode(), filter(), kEnd}); }

void SimRadio::setEcho(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    echo_ = on;
}

void SimRadio::setAnswering(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    answering_ = on;
}

void SimRadio::setSplitWrites(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    splitWrites_ = on;
}

void SimRadio::replyNg(int count) {
    std::lock_guard<std::mutex> lock(mutex_);
    ngCount_ = count;
}

void SimRadio::sendGarbage(const Bytes& b) { writeOut(b); }

void SimRadio::sendCollision(int count) { writeOut(Bytes(static_cast<std::size_t>(count), kJam)); }

std::vector<Bytes> SimRadio::frames() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return frames_;
}

Bytes SimRadio::received() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

void SimRadio::clearLog() {
    std::lock_guard<std::mutex> lock(mutex_);
    frames_.clear();
    received_.clear();
}

std::vector<Bytes> SimRadio::takeFrames() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Bytes> out;
    out.swap(frames_);
    received_.clear();
    return out;
}

bool SimRadio::waitFrames(std::size_t count, int ms) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return logged_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return frames_.size() >= count; });
}

}  // namespace sim
