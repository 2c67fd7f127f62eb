// Sockets over POSIX. Events are found with poll(): in the running program
// a toolkit notifier per socket wakes the loop and the same check runs; under
// the manual clock every socket is checked as the clock advances.
#include "platform/socket.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <vector>

#include "platform/event_loop.h"
#include "platform/loop_internal.h"
#include "platform/window.h"

namespace plat {

const int kSockWouldBlock = EWOULDBLOCK;
const int kSockInProgress = EINPROGRESS;
const int kSockAlready = EALREADY;
const int kSockIsConnected = EISCONN;

namespace {

struct Entry {
    int fd = -1;
    bool tcp = true;
    Window* window = nullptr;
    unsigned msg = 0;
    unsigned events = 0;
    // An event is posted once and re-armed by the call that answers it.
    bool readPosted = false;
    bool acceptPosted = false;
    bool closePosted = false;
    bool connecting = false;
    QSocketNotifier* readNotifier = nullptr;
    QSocketNotifier* writeNotifier = nullptr;
};

std::map<SocketHandle, Entry> g_sockets;
SocketHandle g_nextHandle = 1;
int g_lasterror = 0;

bool RealLoop() { return QCoreApplication::instance() != nullptr && !detail::ManualMode(); }

Entry* Find(SocketHandle s) {
    auto it = g_sockets.find(s);
    if (it == g_sockets.end()) {
        g_lasterror = EBADF;
        return nullptr;
    }
    return &it->second;
}

int Fail() {
    g_lasterror = errno;
    return -1;
}

sockaddr_in ToSockaddr(const SockAddr& a) {
    sockaddr_in sin{};
    sin.sin_family = AF_INET;
    sin.sin_addr.s_addr = htonl(a.ip);
    sin.sin_port = htons(static_cast<std::uint16_t>(a.port));
    return sin;
}

SockAddr FromSockaddr(const sockaddr_in& sin) { return {ntohl(sin.sin_addr.s_addr), ntohs(sin.sin_port)}; }

void Post(SocketHandle s, Entry& e, unsigned event, int error) {
    PostTo(e.window, e.msg, WPARAM(s), LPARAM((unsigned(error) & 0xFFFFu) << 16 | event));
}

int PendingBytes(int fd) {
    int n = 0;
    if (::ioctl(fd, FIONREAD, &n) != 0) return 0;
    return n;
}

void UpdateNotifiers(SocketHandle s, Entry& e);

// Looks at one socket and posts what it has to say.
void Check(SocketHandle s, Entry& e) {
    if (e.window == nullptr || e.events == 0) return;
    pollfd p{e.fd, 0, 0};
    const bool wantIn = (e.events & kSockAccept && !e.acceptPosted) ||
                        (e.events & (kSockRead | kSockClose) && !e.readPosted && !e.closePosted);
    if (wantIn) p.events |= POLLIN | POLLRDHUP;
    if (e.connecting) p.events |= POLLOUT;
    if (p.events == 0 || ::poll(&p, 1, 0) <= 0) return;
    if (e.connecting && (p.revents & (POLLOUT | POLLERR | POLLHUP))) {
        int err = 0;
        socklen_t len = sizeof err;
        ::getsockopt(e.fd, SOL_SOCKET, SO_ERROR, &err, &len);
        e.connecting = false;
        if (e.events & kSockConnect) Post(s, e, kSockConnect, err);
        // A failed connection has nothing more to say; the caller takes a
        // new socket. What a good one has shows at the next look.
        if (err != 0) e.window = nullptr;
        return;
    }
    if (!wantIn) return;
    if (e.events & kSockAccept) {
        if ((p.revents & POLLIN) && !e.acceptPosted) {
            e.acceptPosted = true;
            Post(s, e, kSockAccept, 0);
        }
        return;
    }
    const bool hup = (p.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
    const bool data = (p.revents & POLLIN) && (!e.tcp || PendingBytes(e.fd) > 0);
    const bool eof = !data && (hup || (p.revents & POLLIN));
    if (data || (eof && !(e.events & kSockClose))) {
        // A close behind unread data is found by the read that returns 0.
        // Without a read event asked for, the data is not looked at again
        // (a level-triggered notifier would otherwise spin).
        e.readPosted = true;
        if (e.events & kSockRead) Post(s, e, kSockRead, 0);
    } else if (eof) {
        int err = 0;
        socklen_t len = sizeof err;
        ::getsockopt(e.fd, SOL_SOCKET, SO_ERROR, &err, &len);
        e.closePosted = true;
        Post(s, e, kSockClose, err);
    }
}

void UpdateNotifiers(SocketHandle s, Entry& e) {
    if (!RealLoop()) return;
    const bool wantIn = e.window != nullptr &&
                        ((e.events & kSockAccept && !e.acceptPosted) ||
                         (e.events & (kSockRead | kSockClose) && !e.readPosted && !e.closePosted));
    const bool wantOut = e.window != nullptr && e.connecting;
    auto make = [s](QSocketNotifier*& n, int fd, QSocketNotifier::Type type) {
        if (n != nullptr) return;
        n = new QSocketNotifier(fd, type);
        QObject::connect(n, &QSocketNotifier::activated, [s] {
            Entry* e = Find(s);
            if (e == nullptr) return;
            Check(s, *e);
            UpdateNotifiers(s, *e);
        });
    };
    if (wantIn) make(e.readNotifier, e.fd, QSocketNotifier::Read);
    if (e.readNotifier) e.readNotifier->setEnabled(wantIn);
    if (wantOut) make(e.writeNotifier, e.fd, QSocketNotifier::Write);
    if (e.writeNotifier) e.writeNotifier->setEnabled(wantOut);
}

void Rearm(SocketHandle s, Entry& e, bool Entry::*flag) {
    if (!(e.*flag)) return;
    e.*flag = false;
    // Data still waiting is reported at once, as the model does.
    Check(s, e);
    UpdateNotifiers(s, e);
}

bool SetOption(SocketHandle s, int level, int name, bool on) {
    Entry* e = Find(s);
    if (e == nullptr) return false;
    const int v = on ? 1 : 0;
    if (::setsockopt(e->fd, level, name, &v, sizeof v) != 0) {
        Fail();
        return false;
    }
    return true;
}

SocketHandle Make(int type) {
    const int fd = ::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        Fail();
        return kInvalidSocket;
    }
    const SocketHandle s = g_nextHandle++;
    Entry e;
    e.fd = fd;
    e.tcp = type == SOCK_STREAM;
    g_sockets[s] = e;
    g_lasterror = 0;
    return s;
}
}  // namespace

namespace detail {
void PollSockets() {
    // Handles, not iterators: a check may post, never close, but stay safe.
    std::vector<SocketHandle> handles;
    handles.reserve(g_sockets.size());
    for (const auto& [s, e] : g_sockets) handles.push_back(s);
    for (SocketHandle s : handles)
        if (Entry* e = Find(s)) Check(s, *e);
}
}  // namespace detail

SocketHandle TcpSocket() { return Make(SOCK_STREAM); }
SocketHandle UdpSocket() { return Make(SOCK_DGRAM); }

void SocketClose(SocketHandle& s) {
    auto it = g_sockets.find(s);
    s = kInvalidSocket;
    if (it == g_sockets.end()) return;
    delete it->second.readNotifier;
    delete it->second.writeNotifier;
    ::close(it->second.fd);
    g_sockets.erase(it);
}

bool SocketIsOpen(SocketHandle s) { return g_sockets.count(s) != 0; }

int SocketLastError() { return g_lasterror; }

bool SocketSelect(SocketHandle s, Window* w, unsigned msg, unsigned events) {
    Entry* e = Find(s);
    if (e == nullptr) return false;
    e->window = events ? w : nullptr;
    e->msg = msg;
    e->events = events;
    e->readPosted = e->acceptPosted = e->closePosted = false;
    UpdateNotifiers(s, *e);
    return true;
}

bool SocketBind(SocketHandle s, const std::string& address, int port) {
    Entry* e = Find(s);
    if (e == nullptr) return false;
    SockAddr a{0, port};
    if (!address.empty() && address != "0.0.0.0" && !ResolveHost(address, &a.ip)) {
        g_lasterror = EADDRNOTAVAIL;
        return false;
    }
    if (e->tcp) {
        // A listener restarted after a drop must not wait out TIME_WAIT.
        const int one = 1;
        ::setsockopt(e->fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    }
    const sockaddr_in sin = ToSockaddr(a);
    if (::bind(e->fd, reinterpret_cast<const sockaddr*>(&sin), sizeof sin) != 0) {
        Fail();
        return false;
    }
    return true;
}

bool SocketListen(SocketHandle s, int backlog) {
    Entry* e = Find(s);
    if (e == nullptr) return false;
    if (::listen(e->fd, backlog) != 0) {
        Fail();
        return false;
    }
    return true;
}

SocketHandle SocketAccept(SocketHandle listener, SockAddr* peer) {
    Entry* e = Find(listener);
    if (e == nullptr) return kInvalidSocket;
    sockaddr_in sin{};
    socklen_t len = sizeof sin;
    const int fd = ::accept4(e->fd, reinterpret_cast<sockaddr*>(&sin), &len, SOCK_NONBLOCK | SOCK_CLOEXEC);
    const int err = errno;
    Rearm(listener, *e, &Entry::acceptPosted);
    if (fd < 0) {
        g_lasterror = err;
        return kInvalidSocket;
    }
    if (peer) *peer = FromSockaddr(sin);
    const SocketHandle s = g_nextHandle++;
    Entry n;
    n.fd = fd;
    g_sockets[s] = n;
    g_lasterror = 0;
    return s;
}

int SocketConnect(SocketHandle s, const SockAddr& to) {
    Entry* e = Find(s);
    if (e == nullptr) return -1;
    const sockaddr_in sin = ToSockaddr(to);
    if (::connect(e->fd, reinterpret_cast<const sockaddr*>(&sin), sizeof sin) == 0) {
        g_lasterror = 0;
        e->connecting = false;
        if (e->window && (e->events & kSockConnect)) Post(s, *e, kSockConnect, 0);
        UpdateNotifiers(s, *e);
        return 0;
    }
    const int err = Fail();
    if (g_lasterror == EINPROGRESS) {
        e->connecting = true;
        UpdateNotifiers(s, *e);
    }
    return err;
}

int SocketLocalPort(SocketHandle s) {
    Entry* e = Find(s);
    if (e == nullptr) return 0;
    sockaddr_in sin{};
    socklen_t len = sizeof sin;
    if (::getsockname(e->fd, reinterpret_cast<sockaddr*>(&sin), &len) != 0) {
        Fail();
        return 0;
    }
    return ntohs(sin.sin_port);
}

bool SocketShutdownSend(SocketHandle s) {
    Entry* e = Find(s);
    if (e == nullptr) return false;
    if (::shutdown(e->fd, SHUT_WR) != 0) {
        Fail();
        return false;
    }
    return true;
}

int SocketSend(SocketHandle s, const std::uint8_t* data, int len) {
    Entry* e = Find(s);
    if (e == nullptr || len < 0) return -1;
    // MSG_NOSIGNAL: a peer that reset the connection must not kill the
    // program with SIGPIPE (perhaps while it transmits).
    const ssize_t n = ::send(e->fd, data, std::size_t(len), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0) return Fail();
    g_lasterror = 0;
    return int(n);
}

int SocketRecv(SocketHandle s, std::uint8_t* buf, int max) {
    Entry* e = Find(s);
    if (e == nullptr || max < 0) return -1;
    const ssize_t n = ::recv(e->fd, buf, std::size_t(max), MSG_DONTWAIT);
    const int err = errno;
    Rearm(s, *e, &Entry::readPosted);
    if (n < 0) {
        g_lasterror = err;
        return -1;
    }
    g_lasterror = 0;
    return int(n);
}

int SocketSendTo(SocketHandle s, const std::uint8_t* data, int len, const SockAddr& to) {
    Entry* e = Find(s);
    if (e == nullptr || len < 0) return -1;
    const sockaddr_in sin = ToSockaddr(to);
    const ssize_t n = ::sendto(e->fd, data, std::size_t(len), MSG_NOSIGNAL | MSG_DONTWAIT,
                               reinterpret_cast<const sockaddr*>(&sin), sizeof sin);
    if (n < 0) return Fail();
    g_lasterror = 0;
    return int(n);
}

int SocketRecvFrom(SocketHandle s, std::uint8_t* buf, int max, SockAddr* from) {
    Entry* e = Find(s);
    if (e == nullptr || max < 0) return -1;
    sockaddr_in sin{};
    socklen_t len = sizeof sin;
    const ssize_t n = ::recvfrom(e->fd, buf, std::size_t(max), MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&sin), &len);
    const int err = errno;
    Rearm(s, *e, &Entry::readPosted);
    if (n < 0) {
        g_lasterror = err;
        return -1;
    }
    if (from) *from = FromSockaddr(sin);
    g_lasterror = 0;
    return int(n);
}

bool SocketSetKeepAlive(SocketHandle s, bool on) { return SetOption(s, SOL_SOCKET, SO_KEEPALIVE, on); }

bool SocketSetBroadcast(SocketHandle s, bool on) { return SetOption(s, SOL_SOCKET, SO_BROADCAST, on); }

bool SocketSetNoDelay(SocketHandle s, bool on) { return SetOption(s, IPPROTO_TCP, TCP_NODELAY, on); }

bool ResolveHost(const std::string& name, std::uint32_t* ip) {
    in_addr a{};
    if (::inet_pton(AF_INET, name.c_str(), &a) == 1) {
        *ip = ntohl(a.s_addr);
        return true;
    }
    if (name.empty()) return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* res = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &res) != 0 || res == nullptr) {
        g_lasterror = EHOSTUNREACH;
        return false;
    }
    *ip = ntohl(reinterpret_cast<const sockaddr_in*>(res->ai_addr)->sin_addr.s_addr);
    ::freeaddrinfo(res);
    return true;
}

std::string AddressText(std::uint32_t ip) {
    char buf[INET_ADDRSTRLEN] = {};
    in_addr a{};
    a.s_addr = htonl(ip);
    ::inet_ntop(AF_INET, &a, buf, sizeof buf);
    return buf;
}

}  // namespace plat
