// One TCP link to a network accessory (antenna switch, rotor switch,
// amplifier): non-blocking connect, events as window messages of the main
// frame, a bounded receive buffer framed by the device's own rule, a
// watchdog timer, and a reconnect when the link is lost. The trace and
// status texts are each device's own.
#pragma once
#include <cstdint>
#include <string>

#include "platform/socket.h"

struct TcpAccessoryTexts {
    const char* start;         // "ConnectToTavn_ag start"
    const char* ipPort;        // "Tavn ag ip %08x, port %d"
    const char* socketFailed;  // "Tavn ag socket failed"
    const char* nonBlocking;   // "Tavn ag ioctlsocket 0 rc %d"
    const char* connecting;    // "starting connect"
    const char* connectBack;   // "back from connect"
    const char* trying;        // status "Trying to Connect to TAVN AG" (or trace)
    const char* waiting;       // status "Waiting for Connect to Complete to TAVN AG"
    const char* waitFailed;    // "Tavn ag connect waiting rc %d, lasterror %d"
    const char* complete;      // "Tavn ag connect complete lasterror %d, wParam %d, lParam %d"
    const char* completeOk;    // "Tavn ag Connect complete"
    const char* connected;     // status "Connected AG"
    const char* keepAlive;     // "setsockopt rc %d"
    const char* readStart;     // "AG_Tavn_ReadData"
    const char* recvLength;    // "Tavn ag recv length %d"
    const char* dumpAsc;       // "From Tavn ag Ethernet asc "
    const char* dumpHex;       // "From Tavn ag ethernet hex "
    const char* readEnd;       // "Tavn ag Read Data end"
    const char* sendDump;      // "Send to Tavn AG "
    const char* sendGood;      // "good Tavn AG send"
    const char* sendBad;       // "bad Tavn AG send rc %d, length %d"
    const char* lost;          // status "Lost Connection AG"
    bool statusInBar;          // the texts above marked status go to the status bar
};

class TcpAccessory {
public:
    // Called with each whole record; returns nothing.
    using RecordFn = void (*)(const std::uint8_t* record, int length);
    // Returns the length of the first whole record in `data` (0: not yet).
    using FrameFn = int (*)(const std::uint8_t* data, int length);

    TcpAccessory(const TcpAccessoryTexts& texts, unsigned connectMsg, unsigned readMsg, unsigned watchdogTimer,
                 unsigned watchdogMs);

    // Starts a connection to `address`:`port` (a dotted address).
    void Connect(const std::string& address, int port);
    // The two socket messages; false when the message is not this link's.
    bool OnMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
    // Sends; a failed send while connected counts as a lost link.
    int Send(const std::uint8_t* data, int length);
    // The watchdog expired or the link broke: close and connect again.
    void Lost();
    void Close();
    bool Connected() const { return connected_; }

    FrameFn frame = nullptr;
    RecordFn onRecord = nullptr;
    void (*onConnected)() = nullptr;
    // Re-armed by data; nothing when 0.
    bool watchdogOnData = true;

    static constexpr int kBufferSize = 1024;

private:
    void OnConnect(std::uintptr_t wParam, std::intptr_t lParam);
    void OnRead();
    void Status(const char* text);

    const TcpAccessoryTexts& t_;
    const unsigned connectMsg_, readMsg_, watchdogTimer_, watchdogMs_;
    plat::SocketHandle s_ = plat::kInvalidSocket;
    bool connected_ = false;
    std::string address_;
    int port_ = 0;
    std::uint8_t buf_[kBufferSize] = {};
    int len_ = 0;
};

// The accessories' socket messages, for the main frame's message handler;
// true when one of them took the message.
bool OnStationSocketMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);
