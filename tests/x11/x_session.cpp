#include "x11/x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

extern char** environ;

namespace xtest {
namespace {

bool OnPath(const char* program) {
    const std::string cmd = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

// Standard error goes to `errPath` (appended), or nowhere.
pid_t Spawn(const std::vector<std::string>& args, const std::string& display, const std::string& errPath = "") {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string v = *e;
        if (v.rfind("DISPLAY=", 0) == 0 || v.rfind("WAYLAND_DISPLAY=", 0) == 0) continue;
        env.push_back(v);
    }
    if (!display.empty()) env.push_back("DISPLAY=" + display);
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<std::string> a = args;
    std::vector<char*> argv;
    for (auto& s : a) argv.push_back(s.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    if (errPath.empty()) posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    else posix_spawn_file_actions_addopen(&fa, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    pid_t pid = -1;
    if (posix_spawnp(&pid, a[0].c_str(), &fa, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    return pid;
}

void Stop(pid_t& pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
}

// The last lines a helper wrote, for the reason of a failed start.
std::string Tail(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        std::fclose(f);
    }
    if (text.size() > 600) text.erase(0, text.size() - 600);
    return text.empty() ? "" : ":\n" + text;
}

std::string Grabber() { return std::string(QARV_BUILD_DIR) + "/qarv-xgrab"; }

bool Exited(pid_t pid, int* status = nullptr) {
    int st = 0;
    if (::waitpid(pid, &st, WNOHANG) != pid) return false;
    if (status) *status = st;
    return true;
}

std::string HowEnded(int status) {
    if (WIFEXITED(status)) return "with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "by signal " + std::to_string(WTERMSIG(status));
    return "";
}
}  // namespace

bool WaitUntil(const std::function<bool()>& cond, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (cond()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
}

XSession::XSession(bool windowManager, const std::string& screen) : withWm_(windowManager), screen_(screen) {
    // Servers that start at the same moment can take one another's socket
    // (their display numbers are found by trying), and the window manager
    // then finds no display: the set-up, not the test, is made again, at
    // most three times, each one's reason kept.
    std::string reasons;
    for (int attempt = 0; attempt < 3 && !ok_; ++attempt) {
        ok_ = Start();
        if (ok_) break;
        reasons += (reasons.empty() ? "" : "\n") + why_;
        Stop(wm_);
        Stop(xvfb_);
        if (why_.find("is not installed") != std::string::npos || why_.find("is not built") != std::string::npos) break;
    }
    if (!ok_) why_ = reasons;
}

XSession::~XSession() {
    Stop(wm_);
    Stop(xvfb_);
    if (!log_.empty()) ::unlink(log_.c_str());
}

bool XSession::Start() {
    // All of them come with scripts/install-deps; the screen is read by our
    // own helper, built beside the tests.
    for (const char* p : {"Xvfb", "openbox", "xprop", "xdotool", "wmctrl", "xwininfo"}) {
        if (!OnPath(p)) {
            why_ = std::string(p) + " is not installed (scripts/install-deps installs it)";
            return false;
        }
    }
    if (::access(Grabber().c_str(), X_OK) != 0) {
        why_ = Grabber() + " is not built";
        return false;
    }
    // What the server and the window manager say goes to a log of this
    // session's own, shown when they fail.
    if (log_.empty()) {
        char log[] = "/tmp/qarv-x11-XXXXXX";
        const int logFd = ::mkstemp(log);
        if (logFd >= 0) {
            ::close(logFd);
            log_ = log;
        }
    }
    // The server picks a free display and writes its number to the pipe once
    // it accepts clients.
    int fds[2];
    if (::pipe(fds) != 0) {
        why_ = "no pipe";
        return false;
    }
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    xvfb_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen_ + "x24", "-nolisten", "tcp"}, "", log_);
    ::close(fds[1]);
    if (xvfb_ <= 0) {
        ::close(fds[0]);
        why_ = "Xvfb did not start";
        return false;
    }
    std::string number;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBoundMs);
    while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < end) {
        pollfd p{fds[0], POLLIN, 0};
        if (::poll(&p, 1, 100) > 0) {
            char buf[16];
            const ssize_t n = ::read(fds[0], buf, sizeof buf);
            if (n <= 0) break;
            number.append(buf, std::size_t(n));
        }
        if (Exited(xvfb_)) {
            xvfb_ = -1;
            break;
        }
    }
    ::close(fds[0]);
    if (number.empty() || number.find('\n') == std::string::npos) {
        why_ = "Xvfb did not come up" + Tail(log_);
        return false;
    }
    display_ = ":" + number.substr(0, number.find('\n'));
    if (Run("xprop -root _NET_SUPPORTING_WM_CHECK").empty()) {
        why_ = "Xvfb on " + display_ + " does not answer" + Tail(log_);
        return false;
    }
    if (!withWm_) return true;
    wm_ = Spawn({"openbox"}, display_, log_);
    if (wm_ <= 0) {
        why_ = "openbox did not start";
        return false;
    }
    // The window manager owns the screen once it has set its check window.
    bool ended = false;
    int status = 0;
    if (!WaitUntil([&] {
            if (Exited(wm_, &status)) {
                ended = true;
                return true;
            }
            return Run("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") != std::string::npos;
        }) || ended) {
        if (ended) wm_ = -1;
        why_ = (ended ? "openbox ended at start " + HowEnded(status) + (Exited(xvfb_) ? ", and so did Xvfb" : "") : "openbox did not take the screen within " + std::to_string(kBoundMs) + " ms") +
               Tail(log_);
        return false;
    }
    return true;
}

std::string XSession::Run(const std::string& command) const {
    const std::string full = "DISPLAY=" + display_ + " " + command + " 2>/dev/null";
    std::string out;
    if (FILE* f = ::popen(full.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        ::pclose(f);
    }
    return out;
}

std::vector<unsigned long> XSession::Stacking() const {
    std::vector<unsigned long> ids;
    const std::string out = Run("xprop -root _NET_CLIENT_LIST_STACKING");
    const std::size_t hash = out.find('#');
    if (hash == std::string::npos) return ids;
    std::stringstream in(out.substr(hash + 1));
    std::string item;
    while (std::getline(in, item, ',')) ids.push_back(std::strtoul(item.c_str(), nullptr, 16));
    return ids;
}

std::vector<XWindow> XSession::Windows() const {
    std::vector<XWindow> list;
    std::stringstream in(Run("wmctrl -lG"));
    std::string line;
    while (std::getline(in, line)) {
        std::stringstream l(line);
        XWindow w;
        std::string id, desktop, host;
        if (!(l >> id >> desktop >> w.x >> w.y >> w.width >> w.height >> host)) continue;
        w.id = std::strtoul(id.c_str(), nullptr, 16);
        std::getline(l, w.title);
        if (!w.title.empty() && w.title[0] == ' ') w.title.erase(0, 1);
        list.push_back(w);
    }
    return list;
}

XWindow XSession::Find(const std::string& part) const {
    for (const XWindow& w : Windows())
        if (w.title.find(part) != std::string::npos) return w;
    return {};
}

bool XSession::ClientOrigin(unsigned long id, int* x, int* y) const {
    char cmd[64];
    std::snprintf(cmd, sizeof cmd, "xwininfo -id 0x%lx", id);
    const std::string out = Run(cmd);
    const std::size_t ax = out.find("Absolute upper-left X:"), ay = out.find("Absolute upper-left Y:");
    if (ax == std::string::npos || ay == std::string::npos) return false;
    *x = std::atoi(out.c_str() + ax + 22);
    *y = std::atoi(out.c_str() + ay + 22);
    return true;
}

unsigned long XSession::ActiveWindow() const {
    const std::string out = Run("xprop -root _NET_ACTIVE_WINDOW");
    const std::size_t hash = out.find('#');
    return hash == std::string::npos ? 0 : std::strtoul(out.c_str() + hash + 1, nullptr, 16);
}

namespace {
// A waited-for move to (x, y): from a pixel beside it, since a pointer that
// is there already never moves and the wait would run out.
std::string MoveTo(int x, int y) {
    return "mousemove " + std::to_string(x + 1) + " " + std::to_string(y) + " mousemove --sync " + std::to_string(x) + " " +
           std::to_string(y);
}
}  // namespace

void XSession::Click(int x, int y) const { Run("xdotool " + MoveTo(x, y) + " click 1"); }

void XSession::Drag(int x0, int y0, int x1, int y1) const {
    // While the button is held the program has the pointer grabbed: moves
    // are not waited for (--sync would wait out its time-out), only paced.
    const int ym = (y0 + y1) / 2, xm = (x0 + x1) / 2;
    Run("xdotool " + MoveTo(x0, y0) + " mousedown 1 sleep 0.05 mousemove " +
        std::to_string(xm) + " " + std::to_string(ym) + " sleep 0.05 mousemove " + std::to_string(x1) + " " +
        std::to_string(y1) + " sleep 0.05 mouseup 1");
}

void XSession::Key(const std::string& keys) const { Run("xdotool key " + keys); }

std::vector<unsigned long> XSession::TopWindows(int pid) const {
    std::vector<unsigned long> ids;
    std::stringstream in(Run(std::string("xdotool search --maxdepth ") + (withWm_ ? "2" : "1") + " --onlyvisible --pid " +
                             std::to_string(pid)));
    std::string line;
    while (std::getline(in, line))
        if (!line.empty()) ids.push_back(std::strtoul(line.c_str(), nullptr, 10));
    return ids;
}

std::string XSession::Pixels(int x, int y, int w, int h) const {
    char cmd[96];
    std::snprintf(cmd, sizeof cmd, " pixels %d %d %d %d", x, y, w, h);
    return Run(Grabber() + cmd);
}

bool XSession::FindColour(int x, int y, int length, bool down, unsigned rgb, int* fx, int* fy) const {
    std::stringstream in(Pixels(x, y, down ? 1 : length, down ? length : 1));
    std::string line;
    // Lines "col,row: (r,g,b)", in pixel order.
    while (std::getline(in, line)) {
        int cx = 0, cy = 0, r = 0, g = 0, b = 0;
        if (std::sscanf(line.c_str(), "%d,%d: (%d,%d,%d)", &cx, &cy, &r, &g, &b) != 5) continue;
        if (unsigned(r << 16 | g << 8 | b) != (rgb & 0xFFFFFFu)) continue;
        *fx = x + cx;
        *fy = y + cy;
        return true;
    }
    return false;
}

bool XSession::Screenshot(const std::string& path) const {
    Run(Grabber() + " png " + path);
    return std::system(("test -s " + path).c_str()) == 0;
}

bool XSession::Screenshot(const std::string& path, int x, int y, int w, int h) const {
    char rect[64];
    std::snprintf(rect, sizeof rect, " %d %d %d %d", x, y, w, h);
    Run(Grabber() + " png " + path + rect);
    return std::system(("test -s " + path).c_str()) == 0;
}

}  // namespace xtest
