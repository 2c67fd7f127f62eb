// A simulated network accessory: a TCP server on 127.0.0.1 (a port of the
// system's choosing) served from a background thread. It takes one
// connection at a time, logs what the program sent, answers through a
// responder, and can drop the connection to test the program's reconnect.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace sim {

class SimTcpServer {
public:
    using Responder = std::function<std::string(const std::string& received)>;
    explicit SimTcpServer(Responder responder = nullptr, int port = 0);
    ~SimTcpServer();
    SimTcpServer(const SimTcpServer&) = delete;
    SimTcpServer& operator=(const SimTcpServer&) = delete;

    bool ok() const { return listen_ >= 0; }
    int port() const { return port_; }
    std::string received() const;
    void clear();
    int connections() const { return accepted_; }
    bool waitFor(const std::string& needle, int ms = 2000) const;
    // Sends to the connected program now.
    void send(const std::string& s);
    // Closes the current connection (the listener stays).
    void drop();

private:
    void run();

    Responder responder_;
    int listen_ = -1;
    int port_ = 0;
    std::atomic<int> client_{-1};
    std::atomic<int> accepted_{0};
    std::atomic<bool> dropRequested_{false};
    mutable std::mutex mutex_;
    std::string received_;
    std::thread thread_;
    std::atomic<bool> running_{true};
};

// Sends one UDP datagram from 127.0.0.1 to 127.0.0.1:`port`.
bool SendDatagram(int port, const std::string& payload);

}  // namespace sim
