// Saves at close that fail are told (a box naming the file and the reason,
// a line on stderr) and end the program with a failure status; a damaged
// memory file stays the one to load; leftovers of killed saves, and no
// other file, are cleared at start-up; a termination signal ends a start-up
// busy with a large list.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/app_options.h"
#include "app/close_sequence.h"
#include "app/main_frame.h"
#include "app/started_app.h"
#include "base/memory_options.h"
#include "base/settings_store.h"
#include "common/program_runner.h"
#include "common/test_dir.h"
#include "memories/station_archive.h"
#include "memories/stations.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/message_box.h"

namespace {
CStation St(const std::string& name, double mhz) {
    CStation s;
    s.name = name;
    s.frequency = mhz;
    return s;
}

// Closes the started program by a signal and runs the close to its end.
void CloseBySignal() {
    g_mainwin->SendMessage(plat::WM_CLOSE, plat::kCloseBySignal);
    plat::manual_clock::Advance(600);
    ASSERT_TRUE(g_mainwin->Closed());
}

const plat::message_box_script::Shown* SaveFailedBox() {
    for (const auto& b : plat::message_box_script::History())
        if (b.caption == "Error- Save Failed") return &b;
    return nullptr;
}
}  // namespace

TEST(SaveFailure, ASettingsSaveThatFailsAtCloseIsToldAndTheStatusIsNotZero) {
    TestDir dir;
    // qarv.ini links into a folder that is gone: nothing can be written there,
    // whoever runs the program.
    ASSERT_EQ(::symlink("gone/qarv.ini", dir.file("qarv.ini").c_str()), 0);
    testing::internal::CaptureStderr();
    {
        StartedApp s;
        g_mutealways = 1;
        CloseBySignal();
        EXPECT_EQ(CloseExitStatus(), 1);
    }
    const std::string err = testing::internal::GetCapturedStderr();
    const std::string file = dir.file("qarv.ini");
    EXPECT_NE(err.find("qarv: could not save " + file + ": "), std::string::npos) << err;
    EXPECT_NE(err.find("No such file or directory"), std::string::npos) << err;
    const auto* box = SaveFailedBox();
    ASSERT_NE(box, nullptr);
    EXPECT_NE(box->text.find(file), std::string::npos);
    EXPECT_NE(box->text.find("No such file or directory"), std::string::npos);
}

TEST(SaveFailure, AReadOnlyFolderFailsTheSettingsAndTheMemorySave) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind for root";
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMUTE ALWAYS=1\nMEMORY FILE=list.rmy\n");
    testing::internal::CaptureStderr();
    {
        StartedApp s;
        g_stationlist = {St("New", 9.5)};
        StationListChanged(true);
        ::chmod(dir.path().c_str(), 0555);
        CloseBySignal();
        ::chmod(dir.path().c_str(), 0755);
        EXPECT_EQ(CloseExitStatus(), 1);
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("could not save " + dir.file("qarv.ini")), std::string::npos) << err;
    EXPECT_NE(err.find("could not save " + dir.file("list.rmy")), std::string::npos) << err;
    EXPECT_NE(err.find("Permission denied"), std::string::npos) << err;
}

TEST(SaveFailure, AMemorySaveThatFailsAtASignalCloseIsToldToo) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMUTE ALWAYS=1\nMEMORY FILE=gone/list.rmy\n");
    testing::internal::CaptureStderr();
    {
        StartedApp s;
        g_stationlist = {St("New", 9.5)};
        StationListChanged(true);
        CloseBySignal();
        EXPECT_EQ(CloseExitStatus(), 1);
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("qarv: could not save " + dir.file("gone/list.rmy") + ": "), std::string::npos) << err;
    EXPECT_NE(err.find("No such file or directory"), std::string::npos) << err;
    ASSERT_NE(SaveFailedBox(), nullptr);
    // The settings went through.
    EXPECT_NE(dir.read("qarv.ini").find("VERSION=V3.52"), std::string::npos);
}

TEST(SaveFailure, ACleanCloseEndsWithStatusZeroAndNoBox) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMUTE ALWAYS=1\n");
    StartedApp s;
    CloseBySignal();
    EXPECT_EQ(CloseExitStatus(), 0);
    EXPECT_EQ(SaveFailedBox(), nullptr);
}

TEST(SaveFailure, ADamagedMemoryFileStaysTheOneToLoadNext) {
    TestDir dir;
    const std::string good = WriteStationArchive({St("Kept", 9.5)});
    dir.write("damaged.rmy", good.substr(0, good.size() - 4));
    dir.write("qarv.ini", "[OPERATING STATUS]\nMUTE ALWAYS=1\nMEMORY FILE=damaged.rmy\n");
    {
        StartedApp s;
        EXPECT_TRUE(g_stationlist.empty());
        CloseBySignal();
    }
    EXPECT_NE(dir.read("qarv.ini").find("MEMORY FILE=damaged.rmy"), std::string::npos) << dir.read("qarv.ini");
    EXPECT_EQ(dir.read("damaged.rmy"), good.substr(0, good.size() - 4));
}

TEST(SaveFailure, LeftoversOfAKilledSaveAreRemovedAtStartUp) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMUTE ALWAYS=1\n");
    const std::string mine = plat::TempFileName("qarv.ini", ::getpid());
    const std::string other = plat::TempFileName("qarv.ini", ::getppid());
    dir.write(mine, "[OPERATING STATUS]\nMUTE");
    dir.write(other, "another run saving now");
    StartedApp s;
    EXPECT_FALSE(dir.exists(mine));
    EXPECT_TRUE(dir.exists(other));
}

TEST(SaveFailure, AStartRemovesTheLeftoversOfItsOwnSavesAndNoFileThatOnlyLooksLikeOne) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMUTE ALWAYS=1\n[INTERFACE]\nCOMPORT=COM0\n");
    const pid_t child = ::fork();  // an id no process has once it is reaped
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string dead = std::to_string(child);
    // The operator's: an editor's backup, a file two hours old of process 1.
    const std::vector<std::string> theirs = {"WORLD.RMY.tmp" + dead, "notes.txt.tmp1", "qarv.ini.tmp" + dead};
    for (const auto& f : theirs) dir.write(f, "the operator's");
    dir.write("notes.txt", "");
    timeval old[2];
    ::gettimeofday(&old[0], nullptr);
    old[0].tv_sec -= 2 * 3600;
    old[1] = old[0];
    ::utimes(dir.file("notes.txt.tmp1").c_str(), old);
    // What saves cut short by a kill left.
    const std::vector<std::string> ours = {plat::TempFileName("WORLD.RMY", child),
                                           plat::TempFileName("qarv.ini", child),
                                           plat::TempFileName("notes.txt", child)};
    for (const auto& f : ours) dir.write(f, "cut short");
    ProgramRunner qarv(dir.path());
    ASSERT_TRUE(qarv.WaitForText("comms.txt", "OnCreate exit", 20000));
    for (const auto& f : theirs) EXPECT_EQ(dir.read(f), "the operator's") << f;
    for (const auto& f : ours) EXPECT_FALSE(dir.exists(f)) << f;
    EXPECT_EQ(qarv.StopWith(SIGTERM, 20000), 0);
}

TEST(SaveFailure, TheProgramEndsWithAFailureStatusWhenItsSettingsCannotBeSaved) {
    TestDir dir;
    ASSERT_EQ(::symlink("gone/qarv.ini", dir.file("qarv.ini").c_str()), 0);
    ProgramRunner qarv(dir.path());
    ASSERT_GT(qarv.pid(), 0);
    ASSERT_TRUE(qarv.WaitForText("comms.txt", "OnCreate exit", 20000));
    EXPECT_EQ(qarv.StopWith(SIGTERM, 20000), 1);
}

TEST(SaveFailure, ASignalDuringTheLoadOfAVeryLargeListEndsTheProgram) {
    TestDir dir;
    StationList list;
    for (int i = 0; i < 300000; ++i) list.push_back(St("Station " + std::to_string(i), 0.5 + (i % 29000) * 0.001));
    dir.write("big.rmy", WriteStationArchive(list));
    dir.write("qarv.ini", "[OPERATING STATUS]\nMUTE ALWAYS=1\nMEMORY FILE=big.rmy\n");
    ProgramRunner qarv(dir.path());
    ASSERT_GT(qarv.pid(), 0);
    ASSERT_TRUE(qarv.WaitForText("comms.txt", "Create progress 1.1.1", 20000));
    // A bound for a loaded machine: the load stops within 1024 rows.
    EXPECT_EQ(qarv.StopWith(SIGTERM, 40000), 0);
    EXPECT_NE(dir.read("comms.txt").find("calling saveoper"), std::string::npos);
    EXPECT_EQ(dir.read("big.rmy"), WriteStationArchive(list));
}
