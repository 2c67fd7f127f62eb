// Serial ports over POSIX termios. Everything here runs on the UI thread, so
// nothing may wait: descriptors are non-blocking, reads take what is
// buffered, and writes give up after their time-out.
#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace plat {

namespace {

PortError g_lasterror = PortError::None;
int g_lasterrno = 0;
int g_writeerrno = 0;  // the system error of the last write that failed

// Bytes moved per device (by device number, so a reopen adds to its count).
std::map<PortHandle, dev_t> g_portdevice;

// Ports whose writes never wait, with what they still owe of a message.
std::map<PortHandle, std::vector<std::uint8_t>> g_nowait;
// Output queued in the driver past this much at close: the device is not
// taking it.
constexpr int kStalledQueue = 512;
std::map<dev_t, SerialTrafficCount> g_traffic;

void CountTraffic(PortHandle h, long long written, long long read) {
    auto it = g_portdevice.find(h);
    if (it == g_portdevice.end()) return;
    SerialTrafficCount& t = g_traffic[it->second];
    t.written += static_cast<std::uint64_t>(written);
    t.read += static_cast<std::uint64_t>(read);
}

struct BaudRow {
    long baud;
    speed_t speed;
};
constexpr BaudRow kBauds[] = {
    {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},     {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},   {115200, B115200},
    {230400, B230400}, {460800, B460800}, {500000, B500000}, {921600, B921600},
};

bool SpeedFor(long baud, speed_t* speed) {
    for (const BaudRow& row : kBauds) {
        if (row.baud == baud) {
            *speed = row.speed;
            return true;
        }
    }
    return false;
}

std::string Lower(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Devices without modem lines (pseudo-terminals, some USB bridges) refuse the
// line requests this way; that is not a port failure.
bool NoModemLines(int e) { return e == ENOTTY || e == EINVAL; }

long long NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

PortError ClassifyOpenError(int e) {
    switch (e) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
    case EIO:  // a ttyS node with no UART behind it
        return PortError::NotFound;
    case EBUSY:
    case EWOULDBLOCK:
        return PortError::InUse;
    case EACCES:
    case EPERM:
        return PortError::NoAccess;
    default:
        return PortError::Other;
    }
}

const char* ErrorText(PortError err) {
    switch (err) {
    case PortError::None: return "";
    case PortError::NoPort: return "no port";
    case PortError::NotFound: return "does not exist";
    case PortError::InUse: return "already in use";
    case PortError::NoAccess: return "access denied";
    case PortError::Other: break;
    }
    return "cannot be opened";
}

PortHandle Fail(PortError err, int e, PortError* errOut, std::string* textOut) {
    g_lasterror = err;
    g_lasterrno = e;
    if (errOut) *errOut = err;
    if (textOut) {
        *textOut = ErrorText(err);
        if (err == PortError::Other && e != 0) *textOut += std::string(": ") + std::strerror(e);
    }
    return kInvalidPort;
}

// Writes what the driver takes now; bytes written, or -1 on a port error
// before any byte went.
int WriteNow(PortHandle h, const std::uint8_t* data, int len) {
    int done = 0;
    while (done < len) {
        const ssize_t n = ::write(h, data + done, static_cast<std::size_t>(len - done));
        if (n > 0) {
            done += static_cast<int>(n);
            CountTraffic(h, n, 0);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return done > 0 ? done : -1;
        break;
    }
    return done;
}

// The owed tail of a no-wait port moved on as far as the driver takes it;
// -1 on a port error.
int MoveTail(PortHandle h, std::vector<std::uint8_t>& tail) {
    if (tail.empty()) return 0;
    const int n = WriteNow(h, tail.data(), static_cast<int>(tail.size()));
    if (n < 0) return -1;
    tail.erase(tail.begin(), tail.begin() + n);
    return static_cast<int>(tail.size());
}

void CloseQuietly(int fd) {
    // Clear exclusive mode first: while another descriptor of the same
    // terminal stays open the flag would outlive us and lock out the next open.
    ioctl(fd, TIOCNXCL);
    flock(fd, LOCK_UN);
    ::close(fd);
}

bool ModemLine(PortHandle h, int bit, bool on, int* errorCode) {
    if (errorCode) *errorCode = 0;
    if (h < 0) {
        if (errorCode) *errorCode = EBADF;
        return false;
    }
    int bits = bit;
    if (ioctl(h, on ? TIOCMBIS : TIOCMBIC, &bits) == 0) return true;
    int e = errno;
    if (NoModemLines(e)) return true;
    if (errorCode) *errorCode = e;
    return false;
}

}  // namespace

bool IsNoPortName(const std::string& name) {
    std::string n = Lower(name);
    return n.empty() || n == "0" || n == "com0" || n == "none";
}

std::string ResolvePortName(const std::string& name) {
    if (IsNoPortName(name)) return {};
    if (name.rfind("/dev/", 0) == 0) return name;
    std::string n = Lower(name);
    if (n.size() < 4 || n.compare(0, 3, "com") != 0) return {};
    long number = 0;
    for (std::size_t i = 3; i < n.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(n[i]))) return {};
        number = number * 10 + (n[i] - '0');
        if (number > 9999) return {};
    }
    if (number < 1) return {};
    // A link made by the user (or a test) names the real device; a dangling
    // link still counts, so that the open reports it missing.
    std::string link = "ports/" + n;
    struct stat st {};
    if (lstat(link.c_str(), &st) == 0) return link;
    return "/dev/ttyS" + std::to_string(number - 1);
}

namespace {
// The COM number of a "comN" entry of ports/, or 0.
long ComNumber(const std::string& entry) {
    const std::string n = Lower(entry);
    if (n.size() < 4 || n.size() > 7 || n.compare(0, 3, "com") != 0) return 0;
    long number = 0;
    for (std::size_t i = 3; i < n.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(n[i]))) return 0;
        number = number * 10 + (n[i] - '0');
    }
    return number;
}

std::string RealPath(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::canonical(path, ec);
    return ec ? std::string() : p.string();
}

std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

// A ttyS node exists whether or not a UART answers there; the kernel's
// port type (0: none) tells without opening it.
bool UartPresent(const std::string& tty) {
    std::ifstream type("/sys/class/tty/" + tty + "/type");
    int t = 0;
    return type >> t && t != 0;
}

// Orders "ttyUSB10" after "ttyUSB9".
bool NaturalLess(const std::string& a, const std::string& b) {
    const auto split = [](const std::string& s) {
        std::size_t i = s.size();
        while (i > 0 && std::isdigit(static_cast<unsigned char>(s[i - 1]))) --i;
        return std::make_pair(s.substr(0, i), i < s.size() ? std::atol(s.c_str() + i) : -1L);
    };
    return split(a) < split(b);
}
}  // namespace

std::vector<std::string> ListSerialPorts() {
    std::vector<std::string> out;
    std::set<std::string> devices;  // what the listed names lead to
    std::vector<std::pair<long, std::string>> links;
    for (const std::string& e : Entries("ports"))
        if (long n = ComNumber(e); n > 0) links.emplace_back(n, e);
    std::sort(links.begin(), links.end());
    for (const auto& [n, e] : links) {
        out.push_back("COM" + std::to_string(n));
        if (std::string real = RealPath("ports/" + e); !real.empty()) devices.insert(real);
    }
    const auto add = [&](const std::string& path) {
        const std::string real = RealPath(path);
        if (real.empty() || !devices.insert(real).second) return;
        out.push_back(path);
    };
    std::vector<std::string> ttys;
    for (const std::string& e : Entries("/dev")) {
        const bool usb = e.rfind("ttyUSB", 0) == 0 || e.rfind("ttyACM", 0) == 0;
        const bool uart = e.rfind("ttyS", 0) == 0 && e.size() > 4 && UartPresent(e);
        if (usb || uart) ttys.push_back(e);
    }
    std::sort(ttys.begin(), ttys.end(), NaturalLess);
    for (const std::string& e : ttys) add("/dev/" + e);
    return out;
}

PortError SerialLastError(int* code) {
    if (code) *code = g_lasterrno;
    return g_lasterror;
}

PortHandle SerialOpen(const std::string& name, const SerialConfig& cfg, PortError* err, std::string* errText) {
    if (IsNoPortName(name)) return Fail(PortError::NoPort, 0, err, errText);
    std::string path = ResolvePortName(name);
    if (path.empty()) return Fail(PortError::NotFound, ENOENT, err, errText);
    speed_t speed{};
    if (!SpeedFor(cfg.baud, &speed)) return Fail(PortError::Other, EINVAL, err, errText);

    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Fail(ClassifyOpenError(errno), errno, err, errText);
    // TIOCEXCL keeps other programs out (root is exempt from it); the lock
    // also catches a second open by root or by this program itself.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int e = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return Fail(ClassifyOpenError(e), e, err, errText);
    }
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        int e = errno;
        flock(fd, LOCK_UN);
        ::close(fd);
        return Fail(PortError::Other, e, err, errText);
    }
    ioctl(fd, TIOCEXCL);

    cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    if (cfg.ctsOutputFlow || cfg.rtsHandshake) tio.c_cflag |= CRTSCTS;
    // With VMIN 1 a non-blocking read tells "nothing buffered" (EAGAIN) apart
    // from a hung-up line (end of file); VMIN 0 would read 0 for both.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        int e = errno;
        CloseQuietly(fd);
        return Fail(PortError::Other, e, err, errText);
    }
    struct stat st {};
    if (fstat(fd, &st) == 0) g_portdevice[fd] = st.st_rdev;
    if (cfg.noWaitWrites)
        g_nowait[fd].clear();
    else
        g_nowait.erase(fd);
    SerialPurge(fd, true, true);  // counts what it throws away as read
    // Opening a terminal raises DTR and RTS; the program expects them as its
    // line settings say: DTR only when enabled, RTS only under handshake.
    ModemLine(fd, TIOCM_DTR, cfg.dtrHandshake, nullptr);
    if (!cfg.rtsHandshake) ModemLine(fd, TIOCM_RTS, false, nullptr);
    g_lasterror = PortError::None;
    g_lasterrno = 0;
    if (err) *err = PortError::None;
    if (errText) errText->clear();
    return fd;
}

void SerialClose(PortHandle& h) {
    g_portdevice.erase(h);
    // A device that stopped reading would hold the close until the
    // driver's output drained (half a minute on a serial port): its output
    // is dropped. A live device's last short command is left to go out.
    if (auto it = g_nowait.find(h); it != g_nowait.end()) {
        int queued = 0;
        if (!it->second.empty() || (ioctl(h, TIOCOUTQ, &queued) == 0 && queued >= kStalledQueue))
            tcflush(h, TCOFLUSH);
        g_nowait.erase(it);
    }
    if (h >= 0) CloseQuietly(h);
    h = kInvalidPort;
}

bool SerialIsOpen(PortHandle h) { return h >= 0; }

bool SerialSetBaud(PortHandle h, long baud) {
    speed_t speed{};
    if (h < 0 || !SpeedFor(baud, &speed)) return false;
    termios tio{};
    if (tcgetattr(h, &tio) != 0) return false;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    return tcsetattr(h, TCSANOW, &tio) == 0;
}

int SerialRead(PortHandle h, std::uint8_t* buf, int max) {
    if (h < 0) return -1;
    // The device poll reads every port each tick: an owed tail moves on here.
    if (auto it = g_nowait.find(h); it != g_nowait.end() && MoveTail(h, it->second) < 0) return -1;
    if (max <= 0) return 0;
    for (;;) {
        ssize_t n = ::read(h, buf, static_cast<std::size_t>(max));
        if (n > 0) CountTraffic(h, 0, n);
        if (n > 0) return static_cast<int>(n);
        // A terminal that was hung up (adapter unplugged) reads end-of-file
        // for ever; a live one with nothing buffered answers EAGAIN.
        if (n == 0) return -1;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        return -1;
    }
}

int SerialWriteBacklog(PortHandle h) {
    auto it = g_nowait.find(h);
    if (h < 0 || it == g_nowait.end()) return 0;
    const int left = MoveTail(h, it->second);
    return left < 0 ? static_cast<int>(it->second.size()) : left;
}

namespace {
// SerialWrite without its error bookkeeping.
int WriteAll(PortHandle h, const std::uint8_t* data, int len) {
    if (h < 0) return -1;
    if (len <= 0) return 0;
    if (auto it = g_nowait.find(h); it != g_nowait.end()) {
        std::vector<std::uint8_t>& tail = it->second;
        const int owed = MoveTail(h, tail);
        if (owed < 0) return -1;
        if (owed > 0) return 0;
        const int n = WriteNow(h, data, len);
        if (n < 0) return -1;
        tail.assign(data + n, data + len);
        return len;
    }
    const long long deadline = NowMs() + 10 + 10LL * len;
    int done = 0;
    while (done < len) {
        const int n = WriteNow(h, data + done, len - done);
        if (n < 0) return done > 0 ? done : -1;
        done += n;
        if (done >= len) break;
        long long left = deadline - NowMs();
        if (left <= 0) break;
        pollfd p{h, POLLOUT, 0};
        int r = ::poll(&p, 1, static_cast<int>(left));
        if (r < 0 && errno != EINTR) return done > 0 ? done : -1;
        if (r > 0 && (p.revents & (POLLERR | POLLNVAL))) {
            g_writeerrno = (p.revents & POLLNVAL) ? EBADF : EIO;
            return done > 0 ? done : -1;
        }
    }
    return done;
}
}  // namespace

int SerialWriteError() { return g_writeerrno; }

bool SerialDeviceGone(int err) { return err == EIO || err == ENXIO || err == ENODEV || err == EBADF; }

int SerialWrite(PortHandle h, const std::uint8_t* data, int len) {
    g_writeerrno = 0;
    const int n = WriteAll(h, data, len);
    if (n < 0 && g_writeerrno == 0) g_writeerrno = h < 0 ? EBADF : errno;
    return n;
}

void SerialPurge(PortHandle h, bool tx, bool rx) {
    if (h < 0) return;
    if (tx) tcflush(h, TCOFLUSH);
    if (rx) {
        // What the purge throws away was delivered all the same.
        int pending = 0;
        if (ioctl(h, FIONREAD, &pending) == 0 && pending > 0) CountTraffic(h, 0, pending);
        tcflush(h, TCIFLUSH);
    }
}

bool SerialSetDTR(PortHandle h, bool on, int* errorCode) { return ModemLine(h, TIOCM_DTR, on, errorCode); }

bool SerialSetRTS(PortHandle h, bool on, int* errorCode) { return ModemLine(h, TIOCM_RTS, on, errorCode); }

bool SerialGetCTS(PortHandle h, bool* on) {
    if (on) *on = false;
    if (h < 0) return false;
    int bits = 0;
    if (ioctl(h, TIOCMGET, &bits) == 0) {
        if (on) *on = (bits & TIOCM_CTS) != 0;
        return true;
    }
    return NoModemLines(errno);
}

int SerialPending(PortHandle h) {
    if (h < 0) return 0;
    int n = 0;
    if (ioctl(h, FIONREAD, &n) != 0) return 0;
    return n;
}

SerialTrafficCount SerialTraffic(const std::string& name) {
    SerialTrafficCount t;
    const std::string path = name.rfind("/", 0) == 0 ? name : ResolvePortName(name);
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return t;
    auto it = g_traffic.find(st.st_rdev);
    if (it != g_traffic.end()) t = it->second;
    t.pending = 0;
    for (const auto& [fd, dev] : g_portdevice)
        if (dev == st.st_rdev) t.pending += static_cast<std::uint64_t>(SerialPending(fd));
    return t;
}

int SerialWaitForInput(PortHandle h, int count, int ms) {
    if (h < 0) return 0;
    const long long deadline = NowMs() + ms;
    for (;;) {
        const int n = SerialPending(h);
        const long long left = deadline - NowMs();
        if (n >= count || left <= 0) return n;
        // Woken by the first byte; a slow device then gets short naps.
        pollfd p{h, POLLIN, 0};
        if (n == 0) {
            if (::poll(&p, 1, static_cast<int>(left)) < 0 && errno != EINTR) return n;
            if (p.revents & (POLLERR | POLLNVAL | POLLHUP)) return SerialPending(h);
        } else {
            timespec nap{0, 5 * 1000000L};
            nanosleep(&nap, nullptr);
        }
    }
}

std::vector<std::string> SerialSearchNames() {
    std::vector<std::string> names;
    for (const std::string& p : ListSerialPorts())
        if (p.rfind("COM", 0) == 0 || p.rfind("/dev/ttyACM", 0) == 0) names.push_back(p);
    return names;
}

bool SamePortDevice(const std::string& a, const std::string& b) {
    const std::string pa = ResolvePortName(a), pb = ResolvePortName(b);
    if (pa.empty() || pb.empty()) return false;
    struct stat sa {}, sb {};
    if (stat(pa.c_str(), &sa) != 0 || stat(pb.c_str(), &sb) != 0) return pa == pb;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace plat
