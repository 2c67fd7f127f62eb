// The settings file and its folder through whole runs of the program: a
// folder renamed under a running copy, a second line for a key, files
// written by other editors, and the one-copy lock against permissions and
// a linked settings file.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "common/program_runner.h"
#include "common/test_dir.h"
#include "platform/profile.h"
#include "sim/pty_pair.h"
#include "sim/sim_radio.h"

namespace {
const std::string kNoRadio = "[INTERFACE]\nCOMPORT=COM0\n";

// What the program wrote on stderr until now (the pipe's write end closed).
std::string Drain(int fd) {
    std::string text;
    char buf[512];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) text.append(buf, std::size_t(n));
    ::close(fd);
    return text;
}

// Runs one copy in `dir` to its end; its exit status and its stderr.
int RunOnce(const std::string& dir, std::string* err = nullptr) {
    ::unlink((dir + "/comms.txt").c_str());  // the trace of an earlier run
    int p[2];
    if (::pipe(p) != 0) return -1;
    int status;
    {
        ProgramRunner qarv(dir, p[1]);
        ::close(p[1]);
        status = qarv.WaitForText("comms.txt", "OnCreate exit", 20000) ? qarv.StopWith(SIGTERM, 20000) : -1;
    }
    const std::string text = Drain(p[0]);
    if (err) *err = text;
    return status;
}

// A second copy started in `dir` while another runs: its status and stderr.
int Refused(const std::string& dir, std::string& err, const std::vector<std::string>& wrapper = {}) {
    int p[2];
    if (::pipe(p) != 0) return -1;
    int status;
    {
        ProgramRunner second(dir, p[1], wrapper);
        ::close(p[1]);
        status = second.WaitExit(15000);
    }  // a copy that was not refused is ended here
    err = Drain(p[0]);
    return status;
}
}  // namespace

TEST(SettingsFolder, AFolderRenamedUnderARunningCopyIsSavedInItselfAndNeverInTheNewOneOfItsName) {
    TestDir top;
    const std::string ren = top.file("ren"), moved = top.file("ren2");
    ::mkdir(ren.c_str(), 0755);
    top.write("ren/qarv.ini", kNoRadio + "[OPERATING STATUS]\nQARV=23\nCALLSIGN=W1AW\n");
    int p[2];
    ASSERT_EQ(::pipe(p), 0);
    ProgramRunner a(ren, p[1]);
    ::close(p[1]);
    ASSERT_TRUE(a.WaitForText("comms.txt", "OnCreate exit", 20000));

    // The operator renames the folder and starts another copy in a new one of the old name.
    ASSERT_EQ(::rename(ren.c_str(), moved.c_str()), 0);
    ::mkdir(ren.c_str(), 0755);
    top.write("ren/qarv.ini", kNoRadio + "[OPERATING STATUS]\nQARV=4\nCALLSIGN=K1ABC\n");
    ASSERT_EQ(RunOnce(ren), 0);
    const std::string bSaved = top.read("ren/qarv.ini");

    EXPECT_EQ(a.StopWith(SIGTERM, 20000), 1);
    EXPECT_NE(Drain(p[0]).find("its folder was moved to " + moved), std::string::npos);
    EXPECT_EQ(top.read("ren/qarv.ini"), bSaved);
    const std::string aSaved = top.read("ren2/qarv.ini");
    EXPECT_NE(aSaved.find("VERSION=V3.52"), std::string::npos);
    EXPECT_NE(aSaved.find("CALLSIGN=W1AW"), std::string::npos);

    // A folder removed under the running copy: nothing is saved anywhere, and it says so.
    ::mkdir(ren.c_str(), 0755);
    ::unlink(top.file("ren/qarv.ini").c_str());
    ::unlink(top.file("ren/comms.txt").c_str());
    ASSERT_EQ(::pipe(p), 0);
    ProgramRunner c(ren, p[1]);
    ::close(p[1]);
    ASSERT_TRUE(c.WaitForText("comms.txt", "OnCreate exit", 20000));
    // The running copy keeps writing its files there: removed once they stop coming.
    std::error_code ec;
    for (int i = 0; i < 100 && std::filesystem::exists(ren); ++i) std::filesystem::remove_all(ren, ec);
    ASSERT_FALSE(std::filesystem::exists(ren));
    ::mkdir(ren.c_str(), 0755);
    EXPECT_EQ(c.StopWith(SIGTERM, 20000), 1);
    EXPECT_NE(Drain(p[0]).find("its folder was removed while qarv ran"), std::string::npos);
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
        for (std::size_t at = saved.find_first_of("\r\n"); at != std::string::npos; at = saved.find_first_of("\r\n", at + 1)) {
            ASSERT_EQ(saved.compare(at, eol.size(), eol), 0) << at;
            at += eol.size() - 1;
        }
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
    {
        ProgramRunner first(w, -1, asUser);
        ASSERT_TRUE(first.WaitForText("comms.txt", "OnCreate exit", 20000));
        std::string err;
        EXPECT_EQ(Refused(w, err, asUser), 1);
        EXPECT_NE(err.find("another copy is already running in " + w), std::string::npos) << err;
        EXPECT_EQ(first.StopWith(SIGTERM, 20000), 0);
    }
    ::chmod(w.c_str(), 0755);

    // A settings file linked into another folder belongs to that folder too,
    // whichever copy starts first.
    const std::string x = top.file("x"), y = top.file("y");
    ::mkdir(x.c_str(), 0755);
    ::mkdir(y.c_str(), 0755);
    top.write("y/qarv.ini", kNoRadio);
    ASSERT_EQ(::symlink("../y/qarv.ini", top.file("x/qarv.ini").c_str()), 0);
    for (bool linkFirst : {false, true}) {
        SCOPED_TRACE(linkFirst);
        const std::string one = linkFirst ? x : y, two = linkFirst ? y : x;
        ProgramRunner first(one);
        ASSERT_TRUE(first.WaitForText("comms.txt", "OnCreate exit", 20000));
        std::string err;
        EXPECT_EQ(Refused(two, err), 1);
        EXPECT_NE(err.find("another copy is already running in " + y), std::string::npos) << err;
        EXPECT_EQ(first.StopWith(SIGTERM, 20000), 0);
    }
    struct stat st {};
    EXPECT_TRUE(::lstat(top.file("x/qarv.ini").c_str(), &st) == 0 && S_ISLNK(st.st_mode));
}
