#include "sim/pty_pair.h"

#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

long long MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

std::vector<std::uint8_t> ReadPort(int port, std::size_t want, int ms) {
    std::vector<std::uint8_t> out;
    const long long end = MonotonicMs() + ms;
    while (out.size() < want && MonotonicMs() < end) {
        std::uint8_t buf[256];
        int n = plat::SerialRead(port, buf, sizeof buf);
        if (n < 0) break;
        if (n == 0) ::poll(nullptr, 0, 1);
        out.insert(out.end(), buf, buf + n);
    }
    return out;
}

long BaudFromSpeed(unsigned speed) {
    struct Row {
        speed_t s;
        long b;
    };
    static const Row rows[] = {{B300, 300},       {B600, 600},       {B1200, 1200},     {B2400, 2400},
                               {B4800, 4800},     {B9600, 9600},     {B19200, 19200},   {B38400, 38400},
                               {B57600, 57600},   {B115200, 115200}, {B230400, 230400}, {B460800, 460800},
                               {B500000, 500000}, {B921600, 921600}};
    for (const Row& r : rows)
        if (r.s == speed) return r.b;
    return 0;
}

PtyPair::PtyPair() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0) return;
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        ::close(master_);
        master_ = -1;
        return;
    }
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) {
        ::close(master_);
        master_ = -1;
        return;
    }
    path_ = name;
    spare_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // The device end sees bytes exactly as the program sent them.
    termios tio{};
    if (spare_ >= 0 && tcgetattr(spare_, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(spare_, TCSANOW, &tio);
    }
    const plat::SerialTrafficCount t = plat::SerialTraffic(path_);
    baseWritten_ = t.written;
    baseRead_ = t.read;
}

PtyPair::~PtyPair() {
    if (spare_ >= 0) ::close(spare_);
    closeMaster();
}

void PtyPair::closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

void PtyPair::write(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size() && master_ >= 0) {
        ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            fed_ += static_cast<std::uint64_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, 100);
        }
    }
}

std::vector<std::uint8_t> PtyPair::read(std::size_t want, int ms) {
    std::vector<std::uint8_t> out;
    long long end = MonotonicMs() + ms;
    while (out.size() < want && master_ >= 0) {
        std::uint8_t buf[512];
        ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            out.insert(out.end(), buf, buf + n);
            taken_ += static_cast<std::uint64_t>(n);
            continue;
        }
        long long left = end - MonotonicMs();
        if (left <= 0) break;
        pollfd p{master_, POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
    return out;
}

std::vector<std::uint8_t> PtyPair::takeWritten(int ms) {
    const std::uint64_t sent = plat::SerialTraffic(path_).written - baseWritten_;
    if (sent <= taken_) return {};
    return read(static_cast<std::size_t>(sent - taken_), ms);
}

bool PtyPair::delivered(int ms) const {
    const long long end = MonotonicMs() + ms;
    for (;;) {
        int unread = 0;
        if (spare_ < 0 || ::ioctl(spare_, FIONREAD, &unread) != 0) unread = 0;
        if (plat::SerialTraffic(path_).read - baseRead_ + static_cast<std::uint64_t>(unread) >= fed_) return true;
        if (MonotonicMs() >= end) return false;
        ::poll(nullptr, 0, 1);
    }
}

long PtyPair::slaveBaud() const {
    termios tio{};
    if (spare_ < 0 || tcgetattr(spare_, &tio) != 0) return 0;
    return BaudFromSpeed(cfgetospeed(&tio));
}

bool PtyPair::link(const std::string& linkPath) const {
    std::string dir = linkPath.substr(0, linkPath.rfind('/'));
    if (dir != linkPath) ::mkdir(dir.c_str(), 0755);
    ::unlink(linkPath.c_str());
    return ::symlink(path_.c_str(), linkPath.c_str()) == 0;
}
