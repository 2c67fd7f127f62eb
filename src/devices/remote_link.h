// Remote operation between a radio server and an operator client: one TCP
// connection carrying messages of a 16-bit little-endian length (type byte
// and payload), a type byte and the payload. The server accepts nothing but
// a log-on (or a log-off) until a client has logged on with a call sign and
// password from "passwords.csv"; only then does the radio follow the client.
#pragma once
#include <cstdint>
#include <string>

#include "civ/engine_options.h"  // g_client, g_radioserver
#include "platform/socket.h"
#include "platform/types.h"

// 0 not started, 1 idle, 2 listening / connect pending, 3 connected (a
// server: a client has logged on; callers that have not stay apart).
extern int g_linkstate;

extern plat::SocketHandle g_partnersock;  // the data connection
extern plat::SocketHandle g_listensock;   // the server's listener
extern plat::SocketHandle g_switchsock;   // the client's switch-datagram socket
extern int g_socktimeout;    // ms without a byte from the partner before the link drops
extern int g_remotelogon;    // a log-on was accepted on this connection
extern int g_remoteclass;    // the logged-on client's licence class (the server's own stays apart)
extern char g_holdercall[32];  // call sign of the logged-on client; empty otherwise
extern plat::SockAddr g_partneraddr;  // server: where the logged-on client calls from

// Socket events of the link, to the main frame (wParam socket, lParam event).
constexpr unsigned WM_SOCK_REMOTE = plat::WM_USER + 120;
constexpr unsigned WM_SOCK_CLIENT_CONNECT = plat::WM_USER + 121;
constexpr unsigned WM_SOCK_SWITCH = plat::WM_USER + 122;

// Message types.
enum PartnerType : int {
    kMsgCivFrame = 1,
    kMsgTypedChars = 2,
    kMsgClientState = 4,
    kMsgKey = 5,
    kMsgPttLine = 6,
    kMsgTuner = 7,
    kMsgBearing = 8,
    kMsgRotorStop = 9,
    kMsgAmpMains = 10,  // server to client: rotor moving
    kMsgAmpOperate = 11,  // server to client: amplifier text
    kMsgSwitch = 15,      // server to client: wattmeter readings
    kMsgAntenna = 16,     // server to client: WaveNode readings
    kMsgKeepAlive = 98,
    kMsgLogOff = 99,
    kMsgVersion = 100,
    kMsgInUse = 101,
    kMsgRefused = 102,
    kMsgLogOn = 103,
    kMsgAccepted = 104,
};

constexpr int kMaxPartnerLength = 2511;  // type byte and payload
// The longest log-on: type, class, 31-character call, NUL, 63-character
// password, NUL. Nothing longer is read before a log-on.
constexpr int kLogonMaxLength = 1 + 1 + 32 + 64;
constexpr int kLogonDeadlineMs = 10000;
// Connections the server holds while they log on, each with its deadline;
// the listener stays open, so a silent caller cannot lock the operator out.
// More places than a flood has addresses: the places are shared out by
// address, and a caller is only let go for one from an address holding fewer.
constexpr int kCallersMax = 64;
// The version the server announces; clients log on below 12.
constexpr std::uint8_t kProtocolVersion = 11;

// Sends one message of `type` with `length` payload bytes in one send of
// the whole message. Returns the bytes sent, or -1 when nothing went out
// (not connected, not allowed before the log-on, or the link dropped).
int sendtopartner(const std::uint8_t* payload, int length, int type);

void ServiceServerSocket();
void ServiceClientSocket();
void SendKeepAlive();
// At exit: log off, close every socket of the link.
void ShutdownRemote();
void OnSockTimeout();
// Ends the connection; harmless when none is up. Codes: -1 time-out, peer
// closed, bad message or log-off; -2 new port or address (a server also lets
// its callers go and listens anew); -3 send failed.
void DropConnection(int code);

// Socket messages of the link; true when `msg` was one of them.
bool OnRemoteSocketMessage(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam);
void OnSockRemote(plat::SocketHandle s, unsigned event);
void OnSockConnect(plat::SocketHandle s, plat::LPARAM event);
void OnSock6();

// True while a logged-on client operates the radio through this server:
// local CI-V stays quiet and radio frames go to the client.
bool RemoteOperatorActive();
// The client may send operating messages (connected and logged on).
bool RemoteClientReady();

// One received message (type byte first, `length` bytes in all), as the
// assembler hands it on. Exposed for the fuzz target.
void DispatchPartnerMessage(const std::uint8_t* msg, int length);
// Assembles at most one message from the connection and dispatches it.
void ProcessPartnerData();

// Byte source and sink of the link; the sockets unless replaced (fuzzing).
struct PartnerTransport {
    int (*recv)(plat::SocketHandle s, std::uint8_t* buf, int max);  // like SocketRecv
    int (*send)(plat::SocketHandle s, const std::uint8_t* data, int len);
    // The next waiting caller, like SocketAccept; null: nobody ever calls.
    plat::SocketHandle (*accept)(plat::SockAddr* peer);
};
void SetPartnerTransport(const PartnerTransport* t);  // null: the socket

// ---- Pure rules -------------------------------------------------------------

struct LogonRequest {
    int licenseClass = 0;
    std::string call;
    std::string password;
};
// A log-on payload: class 0..4, a call of 1..31 of A-Z 0-9 '/', NUL, a
// password of at most 63, NUL, and nothing after it.
bool ParseLogon(const std::uint8_t* payload, int length, LogonRequest* out);
// True when one "passwords.csv" line (call,password,...) grants `call` and
// `password`; both compare without case.
bool PasswordLineMatches(const char* line, const std::string& call, const std::string& password);
// True when a message of `type` with `length` payload bytes has the length
// its type allows in that direction (unknown types: any length).
bool PartnerLengthValid(int type, const std::uint8_t* payload, int length, bool fromClient);
// The client's time-out from a log-on acknowledgement: seconds x 1000, or
// 20000 outside 5..200.
int TimeoutFromAck(int seconds);
// One call-log line (without the line end) for `kind` 1 log-on, 0 log-off.
std::string CallLogLine(const char* call, int kind, int licenseClass, int hour, int minute, int second, int month,
                        int day, int year);
// A refused caller's line: "<tried> from <address> refused (<why>) at <time>".
std::string CallLogRefusalLine(const std::string& tried, const std::string& address, const std::string& why, int hour,
                               int minute, int second, int month, int day, int year);
// The refusals of one address counted since its last line, summed up.
std::string CallLogSummaryLine(const std::string& address, int count, const std::string& why, int hour, int minute,
                               int second, int month, int day, int year);
// Back-off after `failures` refused tries: 1 s doubling, at most a minute.
unsigned LogonBackoffMs(int failures);

// Internal to the link, shared by its files.
// Per connection and per run, besides the globals above.
struct RemoteSession {
    int inUseReceived = 0;    // 101 came in: the status keeps the retry text
    char inUseText[128] = {};
    unsigned logonTick = 0;   // when the holder logged on
    int giveUp = 0;           // client: incompatible version or refused, no more attempts
    int retryTicks = 0;       // client: ticks to wait before connecting again (radio in use)
    int inUseShown = 0;       // client: the in-use box was shown since the last accepted log-on
};
extern RemoteSession g_remotesession;

// One message being assembled from a connection.
struct PartnerAssembly {
    std::uint8_t buf[6000];
    int phase = 0;   // 0 new length, 1 length half read, 2 type and payload
    int count = 0;   // bytes read of the current part
    int wanted = 2;  // bytes still wanted of it
    int length = 0;  // L of the message being read
    void reset() { phase = 0, count = 0, wanted = 2, length = 0; }
};
enum class Assembled { Waiting, Message, Closed, BadLength };
// Reads what `s` has of one message (type byte first). On Message the whole
// message is buf[0..*length); on BadLength *length is the refused length.
// `gotBytes` says whether anything was read.
Assembled AssembleMessage(PartnerAssembly& rx, plat::SocketHandle s, int limit, int* length, bool* gotBytes);
// The next connection waiting on the listener, or kInvalidSocket.
plat::SocketHandle AcceptCaller(plat::SockAddr* peer);
// One message on `s` in one send: the bytes sent, or -1 when it did not all go.
int SendPartnerMessage(plat::SocketHandle s, const std::uint8_t* payload, int length, int type);
// The partner's silence allowed from now on before the link drops.
void ArmPartnerTimeout(int ms);
// Sets the link's watchdog to the earliest deadline of the partner and the callers.
void RearmLinkTimer();

// Callers: connections to the server that have not logged on.
void AcceptCallers();
// One message of the caller on `s`; false when `s` is no caller.
bool ServeCaller(plat::SocketHandle s);
void ServeCallers();
void ExpireCallers();
bool NextCallerDeadline(unsigned* tick);
void CloseCallers();
int RemoteCallerCount();

// The server's answer to a caller's log-on.
enum class LogonAnswer { Accepted, Answered, Dropped };
// Checks a caller's log-on; Answered: a refusal or "in use" went out and
// the caller is to be let go; Dropped: close it without an answer.
LogonAnswer ServerLogon(plat::SocketHandle s, const plat::SockAddr& peer, const std::uint8_t* payload, int length,
                        LogonRequest* req);
// The caller now on g_partnersock has logged on as `req`: it operates the radio.
void OperatorLoggedOn(const LogonRequest& req);
// Per peer address: ms until a log-on from it is looked at again (0: now).
unsigned LogonHeldOffMs(std::uint32_t ip);
// A refused try from `peer`: the back-off doubles and a call-log line
// names the address, what was tried (`tried`, "-" for nothing) and why.
void RefuseCaller(const std::string& tried, const plat::SockAddr& peer, const std::string& why);
// The call-log line alone (a caller turned away with a good password).
void WriteRefusalLog(const std::string& tried, const plat::SockAddr& peer, const std::string& why);
void ClientLogonMessage(const std::uint8_t* payload, int length, int type);
// Appends to "calllog.txt" (kind 1 log-on, 0 log-off) unless it repeats the last line.
void WriteCallLog(int kind);
// Writes the refusals still counted but not yet in the call log.
void FlushCallLogSummaries();
// The radio window and meter poll return to the local operator.
void GiveBackRadio();
// "<head>length %d " and the bytes in hex (the first `shown`).
void TracePartnerBytes(const char* head, const std::uint8_t* payload, int length, int shown);
void ProcessClientMessage(const std::uint8_t* payload, int length, int type);
void ProcessServerMessage(const std::uint8_t* payload, int length, int type);
void ApplyClientState(const std::uint8_t* payload);
