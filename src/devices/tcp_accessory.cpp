#include "devices/tcp_accessory.h"

#include <cstdio>
#include <cstring>

#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "civ/civ_timers.h"
#include "devices/amplifiers.h"
#include "devices/device_port.h"
#include "devices/rotator.h"
#include "devices/switches.h"

TcpAccessory::TcpAccessory(const TcpAccessoryTexts& texts, unsigned connectMsg, unsigned readMsg,
                           unsigned watchdogTimer, unsigned watchdogMs)
    : t_(texts), connectMsg_(connectMsg), readMsg_(readMsg), watchdogTimer_(watchdogTimer), watchdogMs_(watchdogMs) {}

void TcpAccessory::Status(const char* text) {
    if (t_.statusInBar)
        SetStatusBarText(text);
    else
        WriteTrace(text);
}

void TcpAccessory::Connect(const std::string& address, int port) {
    WriteTrace(t_.start);
    address_ = address;
    port_ = port;
    std::uint32_t ip = 0;
    // A dotted address only: a name lookup could hang the loop.
    if (!plat::ResolveHost(address, &ip)) ip = 0;
    WriteTracef(t_.ipPort, unsigned(ip), port);
    Close();
    s_ = plat::TcpSocket();
    if (s_ == plat::kInvalidSocket) {
        WriteTrace(t_.socketFailed);
        return;
    }
    WriteTracef(t_.nonBlocking, 0);
    plat::SocketSelect(s_, g_timerwindow, connectMsg_, plat::kSockConnect);
    WriteTrace(t_.connecting);
    const int rc = plat::SocketConnect(s_, plat::SockAddr{ip, port});
    WriteTrace(t_.connectBack);
    Status(t_.trying);
    if (rc == 0) return;  // the connect event follows
    if (plat::SocketLastError() == plat::kSockInProgress) {
        Status(t_.waiting);
    } else {
        WriteTracef(t_.waitFailed, rc, plat::SocketLastError());
        // Try again when the watchdog expires.
        if (watchdogTimer_) SetCivTimer(watchdogTimer_, watchdogMs_);
    }
}

bool TcpAccessory::OnMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    if (msg != connectMsg_ && msg != readMsg_) return false;
    // Events of a socket closed meanwhile carry another handle.
    if (s_ == plat::kInvalidSocket || int(wParam) != s_) return true;
    if (msg == connectMsg_)
        OnConnect(wParam, lParam);
    else
        OnRead();
    return true;
}

void TcpAccessory::OnConnect(std::uintptr_t wParam, std::intptr_t lParam) {
    const int err = plat::SocketErrorOf(plat::LPARAM(lParam));
    WriteTracef(t_.complete, err, int(wParam), int(lParam));
    if (plat::SocketEventOf(plat::LPARAM(lParam)) != plat::kSockConnect || err != 0) {
        // Refused or unreachable: a new socket when the watchdog expires.
        plat::SocketClose(s_);
        if (watchdogTimer_) SetCivTimer(watchdogTimer_, watchdogMs_);
        return;
    }
    WriteTrace(t_.completeOk);
    Status(t_.connected);
    WriteTracef(t_.keepAlive, plat::SocketSetKeepAlive(s_, true) ? 0 : -1);
    plat::SocketSelect(s_, g_timerwindow, readMsg_, plat::kSockRead | plat::kSockClose);
    connected_ = true;
    len_ = 0;
    if (watchdogTimer_) SetCivTimer(watchdogTimer_, watchdogMs_);
    if (onConnected) onConnected();
}

void TcpAccessory::OnRead() {
    WriteTrace(t_.readStart);
    bool closed = false;
    for (;;) {
        // A full buffer without one whole record is dropped: the link is
        // resynchronised by the next record rather than left deaf.
        if (len_ >= kBufferSize) len_ = 0;
        const int n = plat::SocketRecv(s_, buf_ + len_, kBufferSize - len_);
        if (n == 0) {
            closed = true;
            break;
        }
        if (n < 0) {
            if (plat::SocketLastError() != plat::kSockWouldBlock) closed = true;
            break;
        }
        WriteTracef(t_.recvLength, n);
        if (g_trace > 1) {
            WriteTracef("%scount %d %.*s", t_.dumpAsc, n, n, reinterpret_cast<const char*>(buf_ + len_));
            char prefix[64];
            std::snprintf(prefix, sizeof prefix, "%scount %03X ", t_.dumpHex, n);
            TraceHex(prefix, buf_ + len_, n);
        }
        len_ += n;
        if (watchdogTimer_ && watchdogOnData) SetCivTimer(watchdogTimer_, watchdogMs_);
        int used = 0;
        while (frame && used < len_) {
            const int k = frame(buf_ + used, len_ - used);
            if (k <= 0) break;
            if (onRecord) onRecord(buf_ + used, k);
            used += k;
        }
        if (used > 0) {
            std::memmove(buf_, buf_ + used, std::size_t(len_ - used));
            len_ -= used;
        }
    }
    if (closed) Lost();
    WriteTrace(t_.readEnd);
}

int TcpAccessory::Send(const std::uint8_t* data, int length) {
    if (g_trace > 1) {
        char prefix[64];
        std::snprintf(prefix, sizeof prefix, "%scount %d ", t_.sendDump, length);
        TraceHex(prefix, data, length);
    }
    if (!connected_) return -1;
    const int rc = plat::SocketSend(s_, data, length);
    if (rc == length) {
        WriteTrace(t_.sendGood);
    } else {
        WriteTracef(t_.sendBad, rc, length);
        if (rc < 0) Lost();
    }
    return rc;
}

void TcpAccessory::Lost() {
    if (connected_) Status(t_.lost);
    Close();
    if (!address_.empty()) Connect(address_, port_);
}

void TcpAccessory::Close() {
    plat::SocketClose(s_);
    connected_ = false;
    len_ = 0;
}

bool OnStationSocketMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
    return OnAntennaSwitchMessage(msg, wParam, lParam) || OnRotorSocketMessage(msg, wParam, lParam) ||
           OnPgxlSocketMessage(msg, wParam, lParam);
}
