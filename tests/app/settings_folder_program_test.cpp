// The settings file and its folder through whole runs of the program: a
// folder renamed under a running copy, a second line for a key, files
// written by other editors, the one-copy lock against permissions, a
// linked settings file, other users and namespaces, devices, folders and
// FIFOs where its files belong, and what the program says on stderr.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/program_runner.h"
#include "common/test_dir.h"
#include "platform/profile.h"
#include "sim/pty_pair.h"
#include "sim/sim_radio.h"

namespace {
const std::string kNoRadio = "[INTERFACE]\nCOMPORT=COM0\n";

// One copy of the program in `dir`, its stderr kept.
struct Copy {
    int err[2] = {-1, -1};
    std::unique_ptr<ProgramRunner> run;
    explicit Copy(const std::string& dir, const std::vector<std::string>& wrapper = {}) {
        if (::pipe(err) != 0) return;
        run = std::make_unique<ProgramRunner>(dir, err[1], wrapper);
        ::close(err[1]);
    }
    bool up() const { return run && run->WaitForText("comms.txt", "OnCreate exit", 20000); }
    // Waits until it has said `text` on stderr (kept in `said`).
    bool says(const std::string& text, std::string& said, int ms = 20000) {
        char buf[512];
        for (int waited = 0; said.find(text) == std::string::npos; waited += 100) {
            pollfd p{err[0], POLLIN, 0};
            if (waited >= ms || ::poll(&p, 1, 100) < 0) return false;
            if (!(p.revents & (POLLIN | POLLHUP))) continue;
            const ssize_t n = ::read(err[0], buf, sizeof buf);
            if (n <= 0) return false;
            said.append(buf, std::size_t(n));
        }
        return true;
    }
    // Closes it by SIGTERM, or waits for a refused copy to end by itself:
    // its exit status, and what it said.
    int end(std::string& said, bool refused = false) {
        const int status = refused ? run->WaitExit(15000) : run->StopWith(SIGTERM, 20000);
        run.reset();  // a copy that was not refused ends here
        char buf[512];
        for (ssize_t n; (n = ::read(err[0], buf, sizeof buf)) > 0;) said.append(buf, std::size_t(n));
        ::close(err[0]);
        return status;
    }
};

// What the file at `path` itself is (S_IFCHR, S_IFIFO, ...); 0 when missing.
mode_t TypeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

// What another local user's process could take of a folder.
struct Holds {
    bool socket = false, flock = false, readLock = false, writeLock = false;
};

// Another local user (nobody, when the test runs as root) takes every hold
// on `dir` it can get: the folder's old socket name, flock on the folder,
// locks on its lock file. It keeps them until `release` is closed.
pid_t Intruder(const std::string& dir, Holds& got, int& release) {
    struct stat st {};
    ::stat(dir.c_str(), &st);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const int n = std::snprintf(addr.sun_path + 1, sizeof addr.sun_path - 1, "qarv-folder-%llx-%llx",
                                static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino));
    const std::string lock = dir + "/qarv.lock";
    int said[2], hold[2];
    if (::pipe2(said, O_CLOEXEC) != 0 || ::pipe2(hold, O_CLOEXEC) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(said[0]);
        ::close(hold[1]);
        const uid_t id = 65534;
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setresgid(id, id, id) != 0 ||
                                 ::setresuid(id, id, id) != 0))
            ::_exit(2);
        Holds h;
        const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
        h.socket = ::bind(s, reinterpret_cast<sockaddr*>(&addr), socklen_t(sizeof(sa_family_t) + 1 + n)) == 0;
        const int d = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
        h.flock = d >= 0 && ::flock(d, LOCK_EX | LOCK_NB) == 0;
        for (const int mode : {O_RDONLY, O_RDWR}) {
            const int f = ::open(lock.c_str(), mode | O_NOFOLLOW | O_NONBLOCK);
            struct flock fl {};
            fl.l_type = mode == O_RDONLY ? F_RDLCK : F_WRLCK;
            (mode == O_RDONLY ? h.readLock : h.writeLock) = f >= 0 && ::fcntl(f, F_OFD_SETLK, &fl) == 0;
        }
        if (::write(said[1], &h, sizeof h) != ssize_t(sizeof h)) ::_exit(3);
        char c;
        while (::read(hold[0], &c, 1) > 0) {}
        ::_exit(0);
    }
    ::close(said[1]);
    ::close(hold[0]);
    release = hold[1];
    if (::read(said[0], &got, sizeof got) != ssize_t(sizeof got)) got = Holds{};
    ::close(said[0]);
    return pid;
}

// One start and close in `dir`: its exit status.
int RunOnce(const std::string& dir) {
    ::unlink((dir + "/comms.txt").c_str());  // the trace of an earlier run
    Copy copy(dir);
    std::string said;
    return copy.up() ? copy.end(said) : -1;
}
}  // namespace

TEST(SettingsFolder, AFolderRenamedUnderARunningCopyIsSavedInItselfAndNeverInTheNewOneOfItsName) {
    TestDir top;
    const std::string ren = top.file("ren"), moved = top.file("ren2");
    ::mkdir(ren.c_str(), 0755);
    top.write("ren/qarv.ini", kNoRadio + "[OPERATING STATUS]\nQARV=23\nCALLSIGN=W1AW\n");
    Copy a(ren);
    ASSERT_TRUE(a.up());

    // The operator renames the folder and starts another copy in a new one of the old name.
    ASSERT_EQ(::rename(ren.c_str(), moved.c_str()), 0);
    ::mkdir(ren.c_str(), 0755);
    top.write("ren/qarv.ini", kNoRadio + "[OPERATING STATUS]\nQARV=4\nCALLSIGN=K1ABC\n");
    ASSERT_EQ(RunOnce(ren), 0);
    const std::string bSaved = top.read("ren/qarv.ini");
    std::string said;
    EXPECT_EQ(a.end(said), 1);
    EXPECT_NE(said.find("its folder was moved to " + moved), std::string::npos) << said;
    EXPECT_EQ(top.read("ren/qarv.ini"), bSaved);
    const std::string aSaved = top.read("ren2/qarv.ini");
    EXPECT_TRUE(aSaved.find("CALLSIGN=W1AW") != std::string::npos && aSaved.find("VERSION=V3.52") != std::string::npos);

    // A folder removed under the running copy: nothing is saved anywhere, and it says so.
    ::unlink(top.file("ren/comms.txt").c_str());
    ::unlink(top.file("ren/qarv.ini").c_str());
    Copy c(ren);
    ASSERT_TRUE(c.up());
    // The copy keeps writing its files there: removed once they stop coming.
    std::error_code ec;
    for (int i = 0; i < 100 && std::filesystem::exists(ren); ++i) std::filesystem::remove_all(ren, ec);
    ::mkdir(ren.c_str(), 0755);
    said.clear();
    EXPECT_EQ(c.end(said), 1);
    EXPECT_NE(said.find("its folder was removed while qarv ran"), std::string::npos) << said;
    EXPECT_FALSE(top.exists("ren/qarv.ini"));
}

TEST(SettingsFolder, AChangeIsSavedOnTheLineTheKeyWasReadFromWhateverLinesFollow) {
    TestDir dir;
    sim::SimRadio radio{0x94, 19200};
    PtyPair cat;
    ASSERT_TRUE(radio.link(dir.file("ports/com1")) && cat.link(dir.file("ports/com2")));
    radio.start();
    for (const char* first : {" VFO-A FREQUENCY=14.025000", "VFO-A FREQUENCY = 14.025000"}) {
        SCOPED_TRACE(first);
        dir.write("qarv.ini", std::string("[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nTHP COMPORT=COM2\n"
                                          "[OPERATING STATUS]\nQARV=23\nTHP=1\n") +
                                  first + "\nVFO-A FREQUENCY=07.074000\n");
        ::unlink(dir.file("comms.txt").c_str());
        ProgramRunner qarv(dir.path());
        ASSERT_TRUE(qarv.WaitForText("comms.txt", "Good Message 3", 15000));
        // First contact puts the value read on the radio; then a logger tunes
        // VFO A to where the file's second line already stands.
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (radio.frequency(0) != 14025000 && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_EQ(radio.frequency(0), 14025000);
        end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (radio.frequency(0) != 7074000 && std::chrono::steady_clock::now() < end) {
            const std::string fa = "FA00007074000;";
            cat.write({fa.begin(), fa.end()});
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        ASSERT_EQ(radio.frequency(0), 7074000);
        EXPECT_EQ(qarv.StopWith(SIGTERM, 20000), 0);
        const std::string saved = dir.read("qarv.ini");
        EXPECT_EQ(plat::ProfileReadString("OPERATING STATUS", "VFO-A FREQUENCY", "", dir.file("qarv.ini")),
                  "07.074000");
        // The other line stays as it was.
        EXPECT_NE(saved.find("\nVFO-A FREQUENCY=07.074000\nVFO-A FREQUENCY=07.074000\n"), std::string::npos);
    }
    radio.stop();
}

TEST(SettingsFolder, AByteOrderMarkAndCrLineEndsFromAnotherEditorLoseNothing) {
    const std::string bom = "\xEF\xBB\xBF";
    for (const std::string eol : {"\r\n", "\r"}) {
        SCOPED_TRACE(eol.size());
        TestDir dir;
        const std::string seed = bom + "[OPERATING STATUS]" + eol + "QARV=23" + eol + "CALLSIGN=W1AW" + eol +
                                 "[INTERFACE]" + eol + "COMPORT=COM0" + eol;
        dir.write("qarv.ini", seed);
        ASSERT_EQ(RunOnce(dir.path()), 0);
        const std::string saved = dir.read("qarv.ini");
        EXPECT_EQ(saved.compare(0, bom.size() + 18, bom + "[OPERATING STATUS]"), 0);
        EXPECT_EQ(saved.find("[OPERATING STATUS]", 4), std::string::npos);  // no second one
        EXPECT_NE(saved.find(eol + "QARV=23" + eol + "CALLSIGN=W1AW" + eol), std::string::npos);
        EXPECT_NE(saved.find(eol + "VERSION=V3.52"), std::string::npos);
        // Every line keeps the file's own end, the new ones too.
        if (eol == "\r") {
            EXPECT_EQ(saved.find('\n'), std::string::npos);
        }
        for (std::size_t at = saved.find_first_of("\r\n"); at != std::string::npos;
             at = saved.find_first_of("\r\n", at + eol.size()))
            ASSERT_EQ(saved.compare(at, eol.size(), eol), 0) << at;
        // A second run finds every key as it left it: nothing more to write.
        ASSERT_EQ(RunOnce(dir.path()), 0);
        EXPECT_EQ(dir.read("qarv.ini"), saved);
    }
}

TEST(SettingsFolder, NeitherPermissionsNorALinkedSettingsFileLetASecondCopyIn) {
    TestDir top;
    ::chmod(top.path().c_str(), 0711);
    // A folder its user may write but not read: as root, permissions bind
    // only for another user, so both copies run as nobody.
    const std::string w = top.file("w");
    ::mkdir(w.c_str(), 0755);
    top.write("w/qarv.ini", kNoRadio);
    std::vector<std::string> asUser;
    if (::geteuid() == 0) {
        asUser = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
        ASSERT_EQ(::chown(w.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chown(top.file("w/qarv.ini").c_str(), 65534, 65534), 0);
    }
    ::chmod(w.c_str(), 0333);
    // A copy in a user and network namespace of its own (util-linux, a part
    // of every Debian system) is still the same folder's copy.
    ASSERT_EQ(std::system("unshare -Un true"), 0) << "unshare -Un";
    std::vector<std::string> apart = asUser;
    apart.insert(apart.end(), {"unshare", "-Un", "--"});
    // First the unreadable folder, alone and apart, then a file linked into another folder,
    // which belongs to that folder too, whichever copy starts first.
    const std::string x = top.file("x"), y = top.file("y");
    ::mkdir(x.c_str(), 0755);
    ::mkdir(y.c_str(), 0755);
    top.write("y/qarv.ini", kNoRadio);
    ASSERT_EQ(::symlink("../y/qarv.ini", top.file("x/qarv.ini").c_str()), 0);
    const struct {
        std::string first, second, held;
        std::vector<std::string> wrapper, wrapper2;
    } rounds[] = {{w, w, w, asUser, asUser}, {w, w, w, asUser, apart}, {y, x, y, {}, {}}, {x, y, y, {}, {}}};
    for (const auto& r : rounds) {
        SCOPED_TRACE(r.first + " then " + r.second + (r.wrapper2.size() > r.wrapper.size() ? " apart" : ""));
        ::unlink((r.first + "/comms.txt").c_str());  // up once this copy has written it
        Copy first(r.first, r.wrapper);
        ASSERT_TRUE(first.up());
        Copy second(r.second, r.wrapper2);
        std::string said, ignored;
        EXPECT_EQ(second.end(said, true), 1);
        EXPECT_NE(said.find("another copy is already running in " + r.held), std::string::npos) << said;
        EXPECT_EQ(first.end(ignored), 0);
    }
    struct stat st {};
    EXPECT_TRUE(::lstat(top.file("x/qarv.ini").c_str(), &st) == 0 && S_ISLNK(st.st_mode));
}

TEST(SettingsFolder, ALinkToADeviceOrAFolderIsNeverReplacedAndARefusedSettingsSaveFailsTheClose) {
    TestDir dir;
    // The system's null device made here (the tests run as root), and a folder.
    ::mkdir(dir.file("devs").c_str(), 0755);
    ::mkdir(dir.file("devs/folder").c_str(), 0755);
    ASSERT_EQ(::mknod(dir.file("devs/null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0) << std::strerror(errno);
    // The exchange file is written at every start; then the settings file
    // itself leads to the device, then to the folder.
    const std::string ini = dir.file("qarv.ini");
    dir.write("qarv.ini", kNoRadio);
    ASSERT_EQ(::symlink(dir.file("devs/null").c_str(), dir.file("pegasus.out").c_str()), 0);
    for (const std::string what : {"", "a character device", "a folder"}) {
        SCOPED_TRACE(what);
        if (!what.empty()) {
            ::unlink(ini.c_str());
            ASSERT_EQ(::symlink(what == "a folder" ? "devs/folder" : "devs/null", ini.c_str()), 0);
        }
        ::unlink(dir.file("comms.txt").c_str());
        Copy copy(dir.path());
        ASSERT_TRUE(copy.up());
        std::string said;
        EXPECT_EQ(copy.end(said), what.empty() ? 0 : 1);
        EXPECT_NE(said.find("qarv: " + dir.file("pegasus.out") + " is a character device, not a regular file"),
                  std::string::npos) << said;
        if (!what.empty()) {
            EXPECT_NE(said.find("qarv: could not save " + ini + ": it is " + what + ", not a regular file"),
                      std::string::npos) << said;
        }
    }
    struct stat st {};
    ASSERT_EQ(::lstat(dir.file("devs/null").c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode) && st.st_rdev == ::makedev(1, 3));
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("devs/folder")));
    EXPECT_EQ(TypeOf(ini), mode_t(S_IFLNK));
}

TEST(SettingsFolder, AFifoAsTheSettingsOrTheTunerFileIsRefusedAndASignalStillEndsTheProgram) {
    TestDir dir;
    // The FIFO, and the close's status: a refused settings save fails it.
    for (const auto& [name, status] : {std::pair{"qarv.ini", 1}, std::pair{"ldg.dat", 0}}) {
        SCOPED_TRACE(name);
        for (const char* f : {"qarv.ini", "ldg.dat", "comms.txt"}) ::unlink(dir.file(f).c_str());
        if (status == 0) dir.write("qarv.ini", kNoRadio);
        const std::string fifo = dir.file(name);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
        Copy copy(dir.path());
        ASSERT_TRUE(copy.up());  // no wait for a writer that never comes
        std::string said;
        EXPECT_EQ(copy.end(said), status);
        EXPECT_NE(said.find("qarv: " + fifo + " is a FIFO, not a regular file"), std::string::npos) << said;
        EXPECT_EQ(TypeOf(fifo), mode_t(S_IFIFO));
    }
}

TEST(SettingsFolder, EachMessageHasOneProgramPrefixAndAMovedFolderTellsWhereItsSettingsWent) {
    TestDir top;
    const std::string ren = top.file("ren"), moved = top.file("ren2");
    ::mkdir(ren.c_str(), 0755);
    // No port of that name: start-up says so.
    top.write("ren/qarv.ini", "[INTERFACE]\nCOMPORT=COM7\n[OPERATING STATUS]\nQARV=23\nCALLSIGN=W1AW\n");
    Copy copy(ren);
    ASSERT_TRUE(copy.up());
    ASSERT_EQ(::rename(ren.c_str(), moved.c_str()), 0);
    std::string said;
    EXPECT_EQ(copy.end(said), 1);
    EXPECT_NE(said.find("\nqarv: Error accessing Primary COM7.  It does not exist.\n"), std::string::npos) << said;
    EXPECT_NE(said.find("\nqarv: saved " + moved + "/qarv.ini instead of " + ren + "/qarv.ini: its folder was moved to " +
                        moved + " while qarv ran\n"),
              std::string::npos)
        << said;
    EXPECT_EQ(said.find("qarv: qarv"), std::string::npos) << said;
    EXPECT_EQ(said.find("could not save"), std::string::npos) << said;
    EXPECT_EQ(said.find("\r"), std::string::npos) << said;
    EXPECT_NE(top.read("ren2/qarv.ini").find("CALLSIGN=W1AW"), std::string::npos);
}

TEST(SettingsFolder, AnotherUserCanNeitherKeepTheOperatorsCopyOutNorTakeItsLock) {
    TestDir top;
    ::chmod(top.path().c_str(), 0711);
    const std::string o = top.file("o"), link = top.file("o-link");
    ::mkdir(o.c_str(), 0755);
    top.write("o/qarv.ini", kNoRadio);
    ASSERT_EQ(::symlink(o.c_str(), link.c_str()), 0);
    ASSERT_EQ(RunOnce(o), 0);  // the lock file is there from now on
    const bool other = ::geteuid() == 0;
    Holds got;
    int release = -1;
    const pid_t them = Intruder(o, got, release);
    ASSERT_GT(them, 0);
    EXPECT_TRUE(got.socket && got.flock);
    // The lock file is the operator's alone.
    if (other) {
        EXPECT_FALSE(got.readLock || got.writeLock);
    }

    ::unlink(top.file("o/comms.txt").c_str());
    Copy a(o);
    ASSERT_TRUE(a.up());
    // A second copy of the operator's is refused, by the folder's name or a link to it.
    for (const std::string& dir : {o, link}) {
        SCOPED_TRACE(dir);
        Copy b(dir);
        std::string said;
        EXPECT_EQ(b.end(said, true), 1);
        EXPECT_NE(said.find("qarv: another copy is already running in " + o + ";"), std::string::npos) << said;
    }
    if (other) {
        // The other user's copy may not write the folder: it holds nothing and is told so.
        Copy n(o, {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"});
        std::string said;
        EXPECT_TRUE(n.says("qarv: no lock can be taken on the folder " + o + " (qarv.lock: ", said)) << said;
        EXPECT_EQ(said.find("qarv: qarv:"), std::string::npos);
        n.end(said);
    }
    std::string said;
    EXPECT_EQ(a.end(said), 0);
    EXPECT_EQ(said.find("lock"), std::string::npos) << said;
    ::close(release);
    ::waitpid(them, nullptr, 0);
    struct stat st {};
    EXPECT_TRUE(::lstat(top.file("o/qarv.lock").c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                (st.st_mode & 07777) == 0600);
}
