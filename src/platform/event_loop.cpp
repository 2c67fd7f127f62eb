#include "platform/event_loop.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QWidget>
#include <QMouseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__linux__)
#include <linux/ppdev.h>
#endif

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <limits>
#include <map>
#include <vector>

#include "platform/clock.h"
#include "platform/loop_internal.h"
#include "platform/resident_memory.h"
#include "platform/window.h"

namespace plat {
namespace {

struct TimerEntry {
    Window* window;
    unsigned id;
    unsigned period;
    std::uint64_t due;
    std::uint64_t seq;
};

struct Posted {
    Window* window;
    unsigned msg;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<TimerEntry> g_timers;
std::uint64_t g_timerSeq = 0;
std::deque<Posted> g_posted;
QApplication* g_app = nullptr;
QTimer* g_driver = nullptr;
bool g_drainScheduled = false;
std::function<bool()> g_idle;
std::function<void(unsigned)> g_inputHook;
Window* g_closeTarget = nullptr;
int g_signalPipe[2] = {-1, -1};
bool g_headless = false;

// Close requests: nested loops end first, the close message waits until the
// outermost loop runs again.
int g_nestDepth = 0;
bool g_endNested = false;      // every nested loop ends now, as cancelled
bool g_unattended = false;     // a signal asked: nobody answers boxes any more
bool g_signalled = false;      // a termination signal came (perhaps before any window)
bool g_quitting = false;
bool g_closePending = false;
Window* g_pendingTarget = nullptr;
WPARAM g_pendingParam = 0;

bool RealLoop() { return g_app != nullptr && !detail::ManualMode(); }

// Posted in place of a window message: run timer wParam of the window now.
constexpr unsigned kTimerSoon = 0xFFFF0001u;

// How early a timer may run when the loop is awake anyway: a twentieth of
// its period, at most 50 ms; none under the manual clock, whose tests count
// on exact times.
std::uint64_t Slack(const TimerEntry& t) {
    if (detail::ManualMode()) return 0;
    return std::min<std::uint64_t>(t.period / 20, 50);
}

// The next timer to run for a wake-up at `upTo`: the earliest due, or else
// one close enough to run early; end() when none.
std::vector<TimerEntry>::iterator NextDue(std::uint64_t upTo) {
    auto best = g_timers.end();
    for (auto it = g_timers.begin(); it != g_timers.end(); ++it) {
        if (it->due > upTo + Slack(*it)) continue;
        if (best == g_timers.end() || it->due < best->due || (it->due == best->due && it->seq < best->seq)) best = it;
    }
    return best;
}

TimerEntry* FindTimer(const Window* w, unsigned id) {
    for (auto& t : g_timers)
        if (t.window == w && t.id == id) return &t;
    return nullptr;
}

void Reschedule() {
    if (!RealLoop() || g_driver == nullptr) return;
    std::uint64_t due = detail::EarliestDue();
    if (due == std::numeric_limits<std::uint64_t>::max()) {
        g_driver->stop();
        return;
    }
    std::uint64_t now = detail::NowMs();
    int wait = due > now ? int(std::min<std::uint64_t>(due - now, 1u << 30)) : 0;
    g_driver->start(wait);
}

void ScheduleDrain() {
    if (!RealLoop() || g_drainScheduled) return;
    g_drainScheduled = true;
    QMetaObject::invokeMethod(
        g_app, [] {
            g_drainScheduled = false;
            DeliverPosted();
        },
        Qt::QueuedConnection);
}

class InputFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (g_inputHook) {
            switch (ev->type()) {
            case QEvent::KeyPress: g_inputHook(WM_KEYDOWN); break;
            case QEvent::MouseButtonPress:
            case QEvent::NonClientAreaMouseButtonPress: {
                auto* me = static_cast<QMouseEvent*>(ev);
                unsigned msg = WM_LBUTTONDOWN;
                if (me->button() == Qt::RightButton) msg = WM_RBUTTONDOWN;
                else if (me->button() == Qt::MiddleButton) msg = WM_MBUTTONDOWN;
                g_inputHook(msg);
                break;
            }
            default: break;
            }
        }
        return QObject::eventFilter(obj, ev);
    }
};

// Pop-up menus and the menu bar's open menus close with the request.
void ClosePopups() {
    if (!g_app) return;
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* p = QApplication::activePopupWidget();
        if (!p) break;
        p->close();
    }
}

void DeliverCloseWhenUnwound() {
    if (!g_closePending || g_nestDepth > 0) return;
    g_closePending = false;
    // An operator's close may still ask its own questions.
    if (!g_unattended) g_endNested = false;
    if (IsLiveWindow(g_pendingTarget)) PostTo(g_pendingTarget, WM_CLOSE, g_pendingParam, 0);
}

// Reads what the signal handler wrote; a signal turns into a close request.
// One that comes before the window to close exists is kept until the window
// is named: start-up then runs on without anyone to answer its boxes, and
// the close (with its save) follows as soon as there is something to close.
void PollCloseSignals() {
    if (g_signalPipe[0] < 0) return;
    char buf[16];
    while (::read(g_signalPipe[0], buf, sizeof buf) > 0) g_signalled = true;
    if (!g_signalled) return;
    if (g_closeTarget && IsLiveWindow(g_closeTarget)) app::RequestClose(g_closeTarget, kCloseBySignal);
    else g_endNested = true;
}

// The toolkit's loop wakes for the signal pipe (under the manual clock the
// nested loops and CloseSignalled poll it instead).
void WatchSignalPipe() {
    static bool watched = false;
    if (watched || !g_app || g_signalPipe[0] < 0) return;
    watched = true;
    auto* n = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, g_app);
    QObject::connect(n, &QSocketNotifier::activated, [] { PollCloseSignals(); });
}

void OnSignal(int) {
    const int saved = errno;
    if (g_signalPipe[1] >= 0) {
        char b = 1;
        ssize_t r = ::write(g_signalPipe[1], &b, 1);
        (void)r;
    }
    errno = saved;
}

// A write to a pipe or socket nobody reads then fails with EPIPE. A handler
// rather than SIG_IGN: programs the operator starts from here get the
// default back when they are executed.
void OnBrokenPipe(int) {}

// Signals whose default ends the program and that carry no fault: each
// closes the program in order. Those the C library keeps for itself are not
// among SIGRTMIN..SIGRTMAX.
std::vector<int> CloseSignals() {
    std::vector<int> s = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM,
                          SIGPROF, SIGXCPU, SIGXFSZ, SIGIO, SIGPWR, SIGSTKFLT};
    for (int r = SIGRTMIN; r <= SIGRTMAX; ++r) s.push_back(r);
    return s;
}

}  // namespace

namespace detail {
std::uint64_t EarliestDue() {
    std::uint64_t best = std::numeric_limits<std::uint64_t>::max();
    for (const auto& t : g_timers) best = std::min(best, t.due);
    return best;
}

void FireDueTimers(std::uint64_t upTo) {
    // Bounded so that a handler that keeps re-arming at the current time
    // cannot hold the loop forever.
    for (int guard = 0; guard < 1000000; ++guard) {
        auto it = NextDue(upTo);
        if (it == g_timers.end()) break;
        if (ManualMode()) {
            if (it->due > NowMs()) SetManualNow(it->due);
            DeliverPosted();
            // Delivery may have changed the timers; look again.
            it = NextDue(upTo);
            if (it == g_timers.end()) break;
        }
        Window* w = it->window;
        unsigned id = it->id;
        // Re-armed before the handler runs, so the handler may kill or
        // re-arm it; no catch-up bursts after a long handler.
        it->due = NowMs() + it->period;
        it->seq = ++g_timerSeq;
        if (IsLiveWindow(w)) w->SendMessage(WM_TIMER, id, 0);
    }
}
}  // namespace detail

void TimerSet(Window* w, unsigned id, unsigned ms) {
    if (ms < 10) ms = 10;
    std::uint64_t due = detail::NowMs() + ms;
    for (auto& t : g_timers) {
        if (t.window == w && t.id == id) {
            t.period = ms;
            t.due = due;
            t.seq = ++g_timerSeq;
            Reschedule();
            return;
        }
    }
    g_timers.push_back({w, id, ms, due, ++g_timerSeq});
    Reschedule();
}

void TimerKill(Window* w, unsigned id) {
    std::erase_if(g_timers, [&](const TimerEntry& t) { return t.window == w && t.id == id; });
    Reschedule();
}

void TimerDueSoon(Window* w, unsigned id) {
    if (!FindTimer(w, id)) return;
    for (const Posted& p : g_posted)
        if (p.window == w && p.msg == kTimerSoon && p.wParam == id) return;
    PostTo(w, kTimerSoon, id, 0);
}

long TimerDueIn(const Window* w, unsigned id) {
    const TimerEntry* t = FindTimer(w, id);
    if (!t) return -1;
    const std::uint64_t now = detail::NowMs();
    return t->due > now ? long(t->due - now) : 0;
}

bool TimerExists(const Window* w, unsigned id) {
    return std::any_of(g_timers.begin(), g_timers.end(), [&](const TimerEntry& t) { return t.window == w && t.id == id; });
}

unsigned TimerPeriod(const Window* w, unsigned id) {
    for (const auto& t : g_timers)
        if (t.window == w && t.id == id) return t.period;
    return 0;
}

void TimerKillAll(const Window* w) {
    std::erase_if(g_timers, [&](const TimerEntry& t) { return t.window == w; });
    Reschedule();
}

void PostTo(Window* w, unsigned msg, WPARAM wParam, LPARAM lParam) {
    g_posted.push_back({w, msg, wParam, lParam});
    ScheduleDrain();
}

void PostedDropAll(const Window* w) {
    std::erase_if(g_posted, [&](const Posted& p) { return p.window == w; });
}

namespace {
std::map<int, QSocketNotifier*> g_readNotifiers;
}

void WakeTimerOnReadable(int fd, Window* w, unsigned id, unsigned quietMs) {
    if (!RealLoop() || fd < 0) return;
    QSocketNotifier*& n = g_readNotifiers[fd];
    if (n == nullptr) n = new QSocketNotifier(fd, QSocketNotifier::Read, g_app);
    QObject::disconnect(n, nullptr, nullptr, nullptr);
    // Disabled at the first signal: an unread fd (or one closed meanwhile)
    // must not keep the loop spinning.
    QObject::connect(n, &QSocketNotifier::activated, g_app, [n, w, id, quietMs] {
        n->setEnabled(false);
        if (!IsLiveWindow(w)) return;
        const long due = TimerDueIn(w, id);
        if (due < 0) return;
        if (due > long(std::max(quietMs, 10u))) TimerSet(w, id, quietMs);
    });
    n->setEnabled(true);
}

void StopWakeOnReadable(int fd) {
    auto it = g_readNotifiers.find(fd);
    if (it != g_readNotifiers.end() && it->second) it->second->setEnabled(false);
}

int DeliverPosted() {
    // Only what is queued now; messages posted by the handlers wait for the
    // next round, as they would behind the loop's other events.
    std::size_t n = g_posted.size();
    int delivered = 0;
    for (std::size_t i = 0; i < n && !g_posted.empty(); ++i) {
        Posted p = g_posted.front();
        g_posted.pop_front();
        if (!IsLiveWindow(p.window)) continue;
        if (p.msg == kTimerSoon) {
            // Still armed: it runs now and its period starts again.
            TimerEntry* t = FindTimer(p.window, unsigned(p.wParam));
            if (!t) continue;
            t->due = detail::NowMs() + t->period;
            t->seq = ++g_timerSeq;
            Reschedule();
            p.window->SendMessage(WM_TIMER, p.wParam, 0);
        } else {
            p.window->SendMessage(p.msg, p.wParam, p.lParam);
        }
        ++delivered;
    }
    if (!g_posted.empty()) ScheduleDrain();
    return delivered;
}

std::size_t PostedCount() { return g_posted.size(); }

namespace app {

bool Init(int& argc, char** argv) {
    if (g_app) return true;
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
        std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    // With shared-memory images every repaint of a region drawn before waits
    // for the X server (a round trip that wakes two threads); the program
    // repaints small parts often (the meter, the clocks), which plain image
    // requests carry without one.
    setenv("QT_XCB_NO_MITSHM", "1", 0);
    const char* qpa = std::getenv("QT_QPA_PLATFORM");
    g_headless = qpa != nullptr && std::string(qpa) == "offscreen";
    g_app = new QApplication(argc, argv);
    // The toolkit adopts the user's locale; numbers in the settings file,
    // the trace and every protocol are written and read with a '.' whatever
    // the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    g_driver = new QTimer(g_app);
    g_driver->setSingleShot(true);
    g_driver->setTimerType(Qt::PreciseTimer);
    QObject::connect(g_driver, &QTimer::timeout, [] {
        detail::FireDueTimers(detail::NowMs());
        Reschedule();
    });
    g_app->installEventFilter(new InputFilter(g_app));
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, [] {
        static bool inIdle = false;
        if (!g_idle || inIdle) return;
        inIdle = true;
        bool more = g_idle();
        inIdle = false;
        if (more) QTimer::singleShot(50, g_app, [] {});
    });
    Reschedule();
    if (!g_posted.empty()) ScheduleDrain();
    WatchSignalPipe();
    return true;
}

bool Started() { return g_app != nullptr; }

int Run() {
    if (!g_app) return 1;
    // Once start-up is over, what only it needed leaves the resident set.
    constexpr int kTrimAfterStartMs = 3000;
    QTimer::singleShot(kTrimAfterStartMs, g_app, [] { TrimResidentMemory(); });
    return g_app->exec();
}

void Quit(int code) {
    g_quitting = true;
    if (g_app) g_app->exit(code);
}

bool RunNested(const std::function<bool()>& done) {
    auto ended = [] { return g_endNested || g_quitting; };
    if (ended()) return done();
    ++g_nestDepth;
    // A timer handler that opens a box may have armed nothing since the
    // loop's driver fired: the timers must run inside the box all the same.
    Reschedule();
    if (detail::ManualMode() || !g_app) {
        // No person and no real time under test: let simulated time pass.
        for (int i = 0; i < 6000 && !done() && !ended(); ++i) {
            PollCloseSignals();
            if (!ended()) manual_clock::Advance(10);
        }
    } else {
        while (!done() && !ended()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            PollCloseSignals();
        }
    }
    --g_nestDepth;
    const bool result = done();
    DeliverCloseWhenUnwound();
    return result;
}

int NestingDepth() { return g_nestDepth; }

bool ClosingModals() { return g_endNested || g_quitting; }

void RequestClose(Window* target, WPARAM wParam) {
    // The close by signal runs once; a second signal must not start it again.
    if (g_unattended) return;
    if (wParam == kCloseBySignal) g_unattended = true;
    g_endNested = true;
    g_closePending = true;
    g_pendingTarget = target;
    g_pendingParam = wParam;
    ClosePopups();
    DeliverCloseWhenUnwound();
}

void SetIdleHandler(std::function<bool()> handler) { g_idle = std::move(handler); }
void SetInputHook(std::function<void(unsigned)> hook) { g_inputHook = std::move(hook); }

void InstallCloseSignals(Window* target) {
    if (target) g_closeTarget = target;
    if (g_signalPipe[0] < 0) {
        if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
        struct sigaction sa {};
        sa.sa_handler = OnSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        for (int sig : CloseSignals()) {
            // One that the parent set to be ignored (nohup) stays ignored,
            // and one already taken (a profiler's timer) stays with its taker.
            struct sigaction old {};
            const bool taken = sigaction(sig, nullptr, &old) == 0 &&
                               ((old.sa_flags & SA_SIGINFO) != 0 || old.sa_handler != SIG_DFL);
            if (taken && sig != SIGTERM && sig != SIGINT) continue;
            sigaction(sig, &sa, nullptr);
        }
        struct sigaction pipe {};
        pipe.sa_handler = OnBrokenPipe;
        sigemptyset(&pipe.sa_mask);
        pipe.sa_flags = SA_RESTART;
        sigaction(SIGPIPE, &pipe, nullptr);
    }
    WatchSignalPipe();
    // A signal that came before the window was named closes it now.
    if (target) PollCloseSignals();
}

bool CloseSignalled() {
    PollCloseSignals();
    return g_unattended || g_signalled;
}

void SetWaitCursor(bool on) {
    if (!g_app) return;
    if (on) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else QApplication::restoreOverrideCursor();
}

namespace {
Rect g_headlessdesktop{};
}  // namespace

void SetHeadlessDesktop(const Rect& r) { g_headlessdesktop = r; }

Rect DesktopRect() {
    if (Headless() && g_headlessdesktop.width() > 0 && g_headlessdesktop.height() > 0) return g_headlessdesktop;
    if (g_app) {
        if (QScreen* s = QGuiApplication::primaryScreen()) {
            QRect g = s->geometry();
            return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
        }
    }
    return {0, 0, 1920, 1080};
}

bool Headless() { return g_app == nullptr || g_headless; }

}  // namespace app

namespace fatal_release {
namespace {
struct ArmedSlot {
    // -1 while not armed; written last when arming, first when disarming,
    // so the handler never sees a slot half filled.
    std::atomic<int> fd{-1};
    dev_t dev = 0;
    ino_t ino = 0;
    std::uint8_t bytes[kMaxBytes] = {};
    int len = 0;
    int lines = 0;  // TIOCM_RTS | TIOCM_DTR
    int control = -1;  // a parallel port's control register value, or -1
};
ArmedSlot g_slots[kSlotCount];
volatile sig_atomic_t g_dying = 0;

void Say(const char* text, std::size_t n) {
    while (n > 0) {
        const ssize_t r = ::write(2, text, n);
        if (r > 0) {
            text += r;
            n -= std::size_t(r);
        } else if (r < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

// The last words are put together without the heap or stdio: a fixed
// buffer and plain copies, all async-signal-safe.
struct Words {
    char text[512];
    std::size_t n = 0;
    void add(const char* s) {
        while (*s && n + 1 < sizeof text) text[n++] = *s++;
    }
    void add(long v) {
        char digits[24];
        int k = 0;
        const bool negative = v < 0;
        unsigned long u = negative ? 0UL - static_cast<unsigned long>(v) : static_cast<unsigned long>(v);
        do {
            digits[k++] = char('0' + u % 10);
            u /= 10;
        } while (u && k < 23);
        if (negative) add("-");
        while (k > 0 && n + 1 < sizeof text) text[n++] = digits[--k];
    }
};

const char* const kSlotWords[kSlotCount] = {"the radio's transmit-off frame", "the keyer's key-up",
                                            "the keying lines", "the radio port's keying lines",
                                            "the parallel port's key-up"};

// Why a write or line change did not happen, as the operator can act on it.
void AddWhy(Words& w, int err) {
    if (err == EAGAIN || err == EWOULDBLOCK) {
        w.add("the line is full");
    } else if (err == EBADF) {
        w.add("the port is closed");
    } else if (err == EIO || err == ENXIO || err == ENODEV) {
        w.add("the device is gone, error ");
        w.add(long(err));
    } else {
        w.add("error ");
        w.add(long(err));
    }
}

struct Outcome {
    bool tried = false;
    bool done = false;
};

// Carries out one armed slot and says how it went.
// Says how one line change went (" dropped", " not dropped (why)"), with
// errno as the change left it; false when it failed.
bool SayStep(Words& w, bool done, const char* what) {
    const int err = errno;
    w.add(done ? " " : " not ");
    w.add(what);
    if (done) return true;
    w.add(" (");
    AddWhy(w, err);
    w.add(")");
    return false;
}

Outcome Release(ArmedSlot& s, int fd, Words& w) {
    Outcome o;
    o.tried = true;
    w.add(kSlotWords[&s - g_slots]);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_dev != s.dev || st.st_ino != s.ino) {
        // Closed since it was armed (a port lost in use): nothing of ours is
        // there to write to.
        w.add(": its port was closed");
        return o;
    }
    bool ok = true;
    if (s.len > 0) {
        int off = 0, err = 0;
        // The port is non-blocking: a full output buffer ends the try.
        for (int tries = 0; off < s.len && tries < 100; ++tries) {
            const ssize_t n = ::write(fd, s.bytes + off, std::size_t(s.len - off));
            if (n > 0) {
                off += int(n);
            } else if (n < 0 && errno != EINTR) {
                err = errno;
                if (err != EAGAIN && err != EWOULDBLOCK) break;
            }
        }
        if (off >= s.len) {
            w.add(" written");
        } else {
            ok = false;
            if (off > 0) {
                w.add(": only ");
                w.add(long(off));
                w.add(" of ");
                w.add(long(s.len));
                w.add(" bytes written (");
            } else {
                w.add(" not written (");
            }
            AddWhy(w, err ? err : EAGAIN);
            w.add(")");
        }
    }
    if (s.lines) {
        int bits = s.lines;
        if (s.len > 0) w.add(",");
        // A pseudo-terminal has no modem lines: nothing is held by them.
        const bool dropped = ::ioctl(fd, TIOCMBIC, &bits) == 0 || errno == ENOTTY || errno == EINVAL;
        ok = SayStep(w, dropped, "dropped") && ok;
    }
#if defined(__linux__)
    if (s.control >= 0) {
        unsigned char value = static_cast<unsigned char>(s.control);
        ok = SayStep(w, ::ioctl(fd, PPWCONTROL, &value) == 0, "set") && ok;
    }
#endif
    o.done = ok;
    return o;
}

// Only async-signal-safe calls from here on: the heap may be what broke.
void OnFatalSignal(int sig) {
    const int savedErrno = errno;
    if (!g_dying) {
        g_dying = 1;
        // What each slot did is put in `detail`; the line says first whether
        // the transmitter was let go, as that is what the operator must know.
        Words detail;
        bool any = false, failed = false;
        for (ArmedSlot& s : g_slots) {
            const int fd = s.fd.load(std::memory_order_acquire);
            if (fd < 0) continue;
            if (any) detail.add("; ");
            const Outcome o = Release(s, fd, detail);
            any = any || o.tried;
            failed = failed || !o.done;
        }
        Words line;
        if (!any) {
            line.add("qarv: fatal signal\n");
        } else if (!failed) {
            line.add("qarv: fatal signal, the transmitter was released\n");
        } else {
            line.add("qarv: fatal signal, the transmitter could not be released: ");
            detail.text[detail.n] = 0;
            line.add(detail.text);
            line.add("\n");
        }
        Say(line.text, line.n);
    }
    errno = savedErrno;
    // SA_RESETHAND gave the signal its default action back: it ends the
    // program now, with a core where the system keeps them.
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}
}  // namespace

namespace {
void ArmSlot(int slot, int fd, const std::uint8_t* bytes, int len, int lines, int control) {
    if (slot < 0 || slot >= kSlotCount) return;
    ArmedSlot& s = g_slots[slot];
    s.fd.store(-1, std::memory_order_release);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) return;
    s.dev = st.st_dev;
    s.ino = st.st_ino;
    s.len = std::clamp(len, 0, kMaxBytes);
    for (int i = 0; i < s.len; ++i) s.bytes[i] = bytes[i];
    s.lines = lines;
    s.control = control;
    s.fd.store(fd, std::memory_order_release);
}
}  // namespace

void Arm(int slot, int fd, const std::uint8_t* bytes, int len, bool dropRts, bool dropDtr) {
    ArmSlot(slot, fd, bytes, len, (dropRts ? TIOCM_RTS : 0) | (dropDtr ? TIOCM_DTR : 0), -1);
}

void ArmControlRegister(int slot, int fd, std::uint8_t value) { ArmSlot(slot, fd, nullptr, 0, 0, value); }

void Disarm(int slot) {
    if (slot < 0 || slot >= kSlotCount) return;
    g_slots[slot].fd.store(-1, std::memory_order_release);
}

bool Armed(int slot) { return slot >= 0 && slot < kSlotCount && g_slots[slot].fd.load() >= 0; }

bool ReleaseArmed(std::string& detail) {
    Words w;
    bool ok = true;
    for (ArmedSlot& s : g_slots) {
        const int fd = s.fd.load(std::memory_order_acquire);
        if (fd < 0) continue;
        if (w.n > 0) w.add("; ");
        ok = Release(s, fd, w).done && ok;
        s.fd.store(-1, std::memory_order_release);
    }
    detail.assign(w.text, w.n);
    return ok;
}

void Install() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    // A stack overflow leaves no stack for the handler: it runs on its own.
    static char altStack[64 * 1024];
    stack_t ss {};
    ss.ss_sp = altStack;
    ss.ss_size = sizeof altStack;
    sigaltstack(&ss, nullptr);
    struct sigaction sa {};
    sa.sa_handler = OnFatalSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESETHAND | SA_NODEFER | SA_ONSTACK;
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGSYS, SIGTRAP}) sigaction(sig, &sa, nullptr);
}
}  // namespace fatal_release

}  // namespace plat
