// Non-blocking TCP and UDP sockets whose events arrive as window messages,
// the asynchronous socket model the program was written for.
//
// How to use it:
//   1. Create a socket: TcpSocket() or UdpSocket() (kInvalidSocket on
//      failure, SocketLastError() tells why). Every socket is non-blocking;
//      nothing here ever waits on the UI thread.
//   2. Ask for events: SocketSelect(s, window, WM_MY_SOCKET, kSockRead | ...).
//      The window's OnMessage(WM_MY_SOCKET, wParam, lParam) then receives
//      wParam = the socket handle and lParam = event | error << 16; take
//      them apart with SocketEventOf / SocketErrorOf. A handle is never
//      reused in one run, so an event of a socket closed meanwhile can be
//      recognised (wParam differs from the socket in use) and ignored.
//   3. A server: SocketBind(s, "", port) (SO_REUSEADDR is set, so a restart
//      binds again at once), SocketListen, and SocketAccept on kSockAccept.
//      A client: SocketConnect; kSockConnect reports the outcome (error 0
//      means connected). A failed connection takes a new socket: never
//      connect a socket twice after a failure.
//   4. Read on kSockRead with SocketRecv / SocketRecvFrom until they return
//      -1 with SocketLastError() == kSockWouldBlock. SocketRecv returning 0
//      means the peer closed. kSockClose reports a close that was seen
//      before anything was read.
//   5. Send with SocketSend / SocketSendTo: they never wait and never raise
//      SIGPIPE. A result below the length is a short send: the kernel's
//      buffer is full (a stalled peer); the caller decides what to do.
//   6. SocketClose(s) forgets the selection and sets s to kInvalidSocket.
//
// Events are re-armed like the model they come from: a read (or accept)
// event is posted once, and again only after the program called SocketRecv
// (SocketAccept) on that socket, so a slow handler is never flooded and an
// unread socket never keeps the loop busy. Under the manual clock of tests
// the sockets are polled each time the clock advances.
#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace plat {

class Window;

using SocketHandle = int;
constexpr SocketHandle kInvalidSocket = -1;

// Event bits (the values of the model, since handlers compare them).
constexpr unsigned kSockRead = 0x01;
constexpr unsigned kSockWrite = 0x02;
constexpr unsigned kSockAccept = 0x08;
constexpr unsigned kSockConnect = 0x10;
constexpr unsigned kSockClose = 0x20;

// Error numbers are the system's (errno); these are the ones callers test.
extern const int kSockWouldBlock;   // nothing to read, or the send buffer is full
extern const int kSockInProgress;   // a non-blocking connect under way
extern const int kSockAlready;      // a connect already under way
extern const int kSockIsConnected;  // connect on a connected socket

inline unsigned SocketEventOf(LPARAM lParam) { return unsigned(lParam) & 0xFFFFu; }
inline int SocketErrorOf(LPARAM lParam) { return int((unsigned(lParam) >> 16) & 0xFFFFu); }

// An IPv4 address (host byte order: 127.0.0.1 is 0x7F000001) and a port.
struct SockAddr {
    std::uint32_t ip = 0;
    int port = 0;
};
constexpr std::uint32_t kLoopback = 0x7F000001u;
constexpr std::uint32_t kBroadcastAddress = 0xFFFFFFFFu;

SocketHandle TcpSocket();
SocketHandle UdpSocket();
void SocketClose(SocketHandle& s);
bool SocketIsOpen(SocketHandle s);

// The system's error number of the last failed call (0 after a success of
// a call that reports none).
int SocketLastError();

// Events for `events` (bits above) go to `w` as message `msg`; events 0
// stops them. A second call replaces the first.
bool SocketSelect(SocketHandle s, Window* w, unsigned msg, unsigned events);

// Binds to `address` ("" or "0.0.0.0" for any, else dotted) and `port`
// (0: the system chooses; SocketLocalPort tells which).
bool SocketBind(SocketHandle s, const std::string& address, int port);
bool SocketListen(SocketHandle s, int backlog);
// A new connected socket (non-blocking, no events selected yet), or
// kInvalidSocket with kSockWouldBlock when nobody is waiting.
SocketHandle SocketAccept(SocketHandle listener, SockAddr* peer = nullptr);
// 0 when connected at once; else -1 and SocketLastError() (kSockInProgress
// is the normal start; kSockAlready while it runs; kSockIsConnected once done).
int SocketConnect(SocketHandle s, const SockAddr& to);
int SocketLocalPort(SocketHandle s);

// Ends the sending direction only: what was sent still reaches the peer,
// which then sees the end of the stream; reading goes on until it closes.
bool SocketShutdownSend(SocketHandle s);

// Bytes sent (may be fewer than len), or -1.
int SocketSend(SocketHandle s, const std::uint8_t* data, int len);
// Bytes read, 0 when the peer closed, -1 on an error or when nothing is there.
int SocketRecv(SocketHandle s, std::uint8_t* buf, int max);
int SocketSendTo(SocketHandle s, const std::uint8_t* data, int len, const SockAddr& to);
// One datagram (cut to max), or -1.
int SocketRecvFrom(SocketHandle s, std::uint8_t* buf, int max, SockAddr* from = nullptr);

// Options.
bool SocketSetKeepAlive(SocketHandle s, bool on);
bool SocketSetBroadcast(SocketHandle s, bool on);
// Sends small messages at once instead of holding them for the peer's
// acknowledgement of the last (which can take 40-200 ms): for links where a
// person waits on every message.
bool SocketSetNoDelay(SocketHandle s, bool on);

// A dotted address or a host name to its IPv4 address. A name lookup asks
// the system's resolver; give dotted addresses where a lookup could hang.
bool ResolveHost(const std::string& name, std::uint32_t* ip);
// "a.b.c.d".
std::string AddressText(std::uint32_t ip);

}  // namespace plat
