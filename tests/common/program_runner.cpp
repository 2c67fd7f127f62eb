#include "common/program_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

ProgramRunner::ProgramRunner(const std::string& dir) : dir_(dir) { Start(""); }

ProgramRunner::ProgramRunner(const std::string& dir, const std::string& display) : dir_(dir) { Start(display); }

ProgramRunner::ProgramRunner(const std::string& dir, int stderrFd) : dir_(dir) { Start("", stderrFd); }

ProgramRunner::ProgramRunner(const std::string& dir, int stderrFd, const std::vector<std::string>& wrapper)
    : dir_(dir) {
    Start("", stderrFd, wrapper);
}

void ProgramRunner::Signal(int sig) const {
    if (pid_ > 0) ::kill(pid_, sig);
}

void ProgramRunner::Start(const std::string& display, int stderrFd, const std::vector<std::string>& wrapper) {
    const std::string& dir = dir_;
    std::string bin = std::string(QARV_BUILD_DIR) + "/qarv";
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string v = *e;
        if (!display.empty() && (v.rfind("QT_QPA_PLATFORM=", 0) == 0 || v.rfind("DISPLAY=", 0) == 0 ||
                                 v.rfind("WAYLAND_DISPLAY=", 0) == 0))
            continue;
        env.push_back(v);
    }
    if (display.empty()) {
        env.emplace_back("QT_QPA_PLATFORM=offscreen");
    } else {
        env.emplace_back("QT_QPA_PLATFORM=xcb");
        env.emplace_back("DISPLAY=" + display);
    }
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = wrapper;
    args.push_back(bin);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addchdir_np(&fa, dir.c_str());
    if (stderrFd >= 0) posix_spawn_file_actions_adddup2(&fa, stderrFd, 2);
    else posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    if (posix_spawnp(&pid_, argv[0], &fa, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&fa);
}

ProgramRunner::~ProgramRunner() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

bool ProgramRunner::WaitForText(const std::string& file, const std::string& text, int ms) const {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        std::ifstream in(dir_ + "/" + file, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        if (s.str().find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

bool ProgramRunner::WaitForHandler(int sig, int ms) const {
    if (pid_ <= 0) return false;
    const std::string status = "/proc/" + std::to_string(pid_) + "/status";
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        // "SigCgt:" is the mask of caught signals, in hexadecimal.
        std::ifstream in(status);
        std::string line;
        while (std::getline(in, line))
            if (line.rfind("SigCgt:", 0) == 0) {
                const unsigned long long caught = std::stoull(line.substr(7), nullptr, 16);
                if (caught & (1ULL << (sig - 1))) return true;
            }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

int ProgramRunner::StopWith(int sig, int ms) {
    if (pid_ <= 0) return -1;
    ::kill(pid_, sig);
    return WaitExit(ms);
}

int ProgramRunner::WaitExit(int ms) {
    if (pid_ <= 0) return -1;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
}
