#include "sim/sim_tcp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "sim/pty_pair.h"

namespace sim {

SimTcpServer::SimTcpServer(Responder responder, int port) : responder_(std::move(responder)) {
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(std::uint16_t(port));
    if (::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listen_, 4) != 0) {
        ::close(listen_);
        listen_ = -1;
        return;
    }
    socklen_t len = sizeof a;
    ::getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { run(); });
}

SimTcpServer::~SimTcpServer() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
    if (client_ >= 0) ::close(client_);
    if (listen_ >= 0) ::close(listen_);
}

void SimTcpServer::run() {
    char buf[2048];
    while (running_) {
        if (dropRequested_.exchange(false) && client_ >= 0) {
            ::close(client_);
            client_ = -1;
        }
        pollfd p[2] = {{listen_, POLLIN, 0}, {client_, POLLIN, 0}};
        if (::poll(p, client_ >= 0 ? 2 : 1, 10) <= 0) continue;
        if (p[0].revents & POLLIN) {
            const int c = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            if (c >= 0) {
                if (client_ >= 0) ::close(client_);
                client_ = c;
                ++accepted_;
            }
        }
        if (client_ >= 0 && (p[1].revents & (POLLIN | POLLHUP))) {
            const ssize_t n = ::recv(client_, buf, sizeof buf, 0);
            if (n <= 0) {
                ::close(client_);
                client_ = -1;
                continue;
            }
            const std::string chunk(buf, std::size_t(n));
            {
                std::lock_guard<std::mutex> lock(mutex_);
                received_ += chunk;
            }
            if (responder_) {
                const std::string answer = responder_(chunk);
                if (!answer.empty()) send(answer);
            }
        }
    }
}

std::string SimTcpServer::received() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

void SimTcpServer::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    received_.clear();
}

bool SimTcpServer::waitFor(const std::string& needle, int ms) const {
    const long long end = MonotonicMs() + ms;
    do {
        if (received().find(needle) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (MonotonicMs() < end);
    return false;
}

void SimTcpServer::send(const std::string& s) {
    const int c = client_;
    if (c >= 0) (void)::send(c, s.data(), s.size(), MSG_NOSIGNAL);
}

void SimTcpServer::drop() {
    dropRequested_ = true;
    // The server's thread closes it within one of its 10 ms polls; the bound
    // is for a loaded machine.
    const long long end = MonotonicMs() + 5000;
    while (dropRequested_ && MonotonicMs() < end) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool SendDatagram(int port, const std::string& payload) {
    const int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (s < 0) return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(std::uint16_t(port));
    const ssize_t n = ::sendto(s, payload.data(), payload.size(), 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::close(s);
    return n == ssize_t(payload.size());
}

}  // namespace sim
