// The atomic save keeps what the file is to the system (a link stays a link,
// its permissions stay, a device or a FIFO is never replaced), writes back
// whole whatever it read whole, never writes over what it could not read,
// and its leftovers of a killed run, and only those, are cleared at the next
// start.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "common/test_dir.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace {
mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

bool IsLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::string Tmp(const std::string& file, long pid) { return plat::TempFileName(file, pid); }

// A process id that no process has now.
long DeadPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return long(child);
}

void Age(const std::string& path, int seconds) {
    timeval tv[2];
    ::gettimeofday(&tv[0], nullptr);
    tv[0].tv_sec -= seconds;
    tv[1] = tv[0];
    ::utimes(path.c_str(), tv);
}
}  // namespace

TEST(AtomicSave, ALinkStaysALinkAndTheFileItPointsToIsUpdated) {
    TestDir dir;
    ::mkdir(dir.file("real").c_str(), 0755);
    dir.write("real/settings.ini", "[S]\nk=1\n");
    // A relative link, as "ln -s real/settings.ini qarv.ini" makes it.
    ASSERT_EQ(::symlink("real/settings.ini", dir.file("qarv.ini").c_str()), 0);
    const std::string p = dir.file("qarv.ini");
    ASSERT_TRUE(plat::ProfileWriteString("S", "k", "2", p));
    plat::ProfileBeginBatch(p);
    plat::ProfileWriteString("T", "j", "3", p);
    ASSERT_TRUE(plat::ProfileEndBatch());
    EXPECT_TRUE(IsLink(p));
    EXPECT_EQ(dir.read("real/settings.ini"), "[S]\nk=2\n\n[T]\nj=3\n");
    // The temporary file went beside the real one and is gone.
    EXPECT_FALSE(dir.exists(Tmp("real/settings.ini", ::getpid())));
    EXPECT_FALSE(dir.exists(Tmp("qarv.ini", ::getpid())));

    // A chain of links ends in the same file; a loop is refused untouched.
    ASSERT_EQ(::symlink(p.c_str(), dir.file("second.ini").c_str()), 0);
    ASSERT_TRUE(plat::WriteFileAtomic(dir.file("second.ini"), "[S]\nk=9\n"));
    EXPECT_TRUE(IsLink(dir.file("second.ini")));
    EXPECT_EQ(dir.read("real/settings.ini"), "[S]\nk=9\n");
    ASSERT_EQ(::symlink("loop2", dir.file("loop1").c_str()), 0);
    ASSERT_EQ(::symlink("loop1", dir.file("loop2").c_str()), 0);
    std::string why;
    EXPECT_FALSE(plat::WriteFileAtomic(dir.file("loop1"), "x", &why));
    EXPECT_TRUE(IsLink(dir.file("loop1")));
    EXPECT_FALSE(why.empty());
}

TEST(AtomicSave, TheFileKeepsItsPermissions) {
    TestDir dir;
    for (mode_t mode : {mode_t(0600), mode_t(0640), mode_t(0664)}) {
        dir.write("qarv.ini", "[S]\nk=1\n");
        ::chmod(dir.file("qarv.ini").c_str(), mode);
        ASSERT_TRUE(plat::WriteFileAtomic(dir.file("qarv.ini"), "[S]\nk=2\n"));
        EXPECT_EQ(ModeOf(dir.file("qarv.ini")), mode);
        EXPECT_EQ(dir.read("qarv.ini"), "[S]\nk=2\n");
    }
    // Through a link the file it points to keeps its own.
    dir.write("target.rmy", "old");
    ::chmod(dir.file("target.rmy").c_str(), 0600);
    ASSERT_EQ(::symlink("target.rmy", dir.file("link.rmy").c_str()), 0);
    ASSERT_TRUE(plat::WriteFileAtomic(dir.file("link.rmy"), "new"));
    EXPECT_EQ(ModeOf(dir.file("target.rmy")), 0600u);
    EXPECT_EQ(dir.read("target.rmy"), "new");
}

TEST(AtomicSave, AFileOver64MiBIsWrittenBackWhole) {
    TestDir dir;
    std::string text = "[First]\nk=1\n[Filler]\n";
    const std::string line = "pad=" + std::string(1019, 'x') + "\n";  // 1 KiB a line
    while (text.size() < (65u << 20)) text += line;
    text += "[Last]\nkeep=me\n";
    {
        std::ofstream out(dir.file("qarv.ini"), std::ios::binary);
        out << text;
    }
    const std::string p = dir.file("qarv.ini");
    plat::ProfileFlushCache();
    plat::ProfileBeginBatch(p);
    plat::ProfileWriteString("First", "k", "2", p);
    plat::ProfileWriteString("Last", "added", "3", p);
    ASSERT_TRUE(plat::ProfileEndBatch());
    const std::string back = dir.read("qarv.ini");
    ASSERT_EQ(back.size(), text.size() + std::string("added=3\n").size());
    EXPECT_EQ(back.rfind("[First]\nk=2\n[Filler]\n", 0), 0u);
    const std::string tail = "[Last]\nkeep=me\nadded=3\n";
    EXPECT_EQ(back.substr(back.size() - tail.size()), tail);
    EXPECT_EQ(plat::ProfileReadString("Last", "keep", "", p), "me");
}

TEST(AtomicSave, AFileThatCannotBeReadIsNeverWrittenOver) {
    TestDir dir;
    // A folder where the file should be: it cannot be read, and stays.
    ::mkdir(dir.file("qarv.ini").c_str(), 0755);
    dir.write("qarv.ini/inside", "kept");
    EXPECT_FALSE(plat::ProfileWriteString("S", "k", "1", dir.file("qarv.ini")));
    plat::ProfileBeginBatch(dir.file("qarv.ini"));
    plat::ProfileWriteString("S", "k", "1", dir.file("qarv.ini"));
    std::string why;
    EXPECT_FALSE(plat::ProfileEndBatch(&why));
    EXPECT_NE(why.find("it is a folder, not a regular file"), std::string::npos) << why;
    EXPECT_EQ(dir.read("qarv.ini/inside"), "kept");
}

TEST(AtomicSave, AFileWithoutReadPermissionIsNeverWrittenOver) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind for root";
    TestDir dir;
    dir.write("locked.ini", "[S]\nk=old\n");
    ::chmod(dir.file("locked.ini").c_str(), 0200);  // writable, not readable
    EXPECT_FALSE(plat::ProfileWriteString("S", "k", "new", dir.file("locked.ini")));
    ::chmod(dir.file("locked.ini").c_str(), 0600);
    EXPECT_EQ(dir.read("locked.ini"), "[S]\nk=old\n");
}

TEST(AtomicSave, AFailureSaysWhyAndLeavesNothingBehind) {
    TestDir dir;
    dir.write("qarv.ini", "[S]\nk=1\n");
    ::mkdir(Tmp(dir.file("qarv.ini"), ::getpid()).c_str(), 0755);  // the temporary name is taken
    std::string why;
    EXPECT_FALSE(plat::WriteFileAtomic(dir.file("qarv.ini"), "new", &why));
    EXPECT_NE(why.find("Is a directory"), std::string::npos) << why;
    EXPECT_EQ(dir.read("qarv.ini"), "[S]\nk=1\n");
    // A link into a folder that is not there.
    ASSERT_EQ(::symlink("gone/qarv.ini", dir.file("dangling.ini").c_str()), 0);
    EXPECT_FALSE(plat::WriteFileAtomic(dir.file("dangling.ini"), "new", &why));
    EXPECT_NE(why.find("No such file or directory"), std::string::npos) << why;
    EXPECT_TRUE(IsLink(dir.file("dangling.ini")));
}

TEST(AtomicSave, StaleTemporaryFilesOfItsOwnAreRemoved) {
    TestDir dir;
    const std::string ini = dir.file("qarv.ini");
    const long dead = DeadPid();
    const long alive = long(::getppid());
    dir.write(Tmp("qarv.ini", dead), "cut");           // killed mid-save
    dir.write(Tmp("qarv.ini", ::getpid()), "cut");     // an earlier run with this id
    dir.write(Tmp("qarv.ini", alive), "busy");         // another run saving now
    dir.write(Tmp("qarv.ini", alive + 100000), "cut");  // an id no process has
    dir.write("events.txt", "");
    dir.write(Tmp("events.txt", dead), "cut");
    dir.write(Tmp("world.rmy", alive), "old");
    dir.write("world.rmy", "");
    Age(dir.file(Tmp("world.rmy", alive)), 2 * 3600);  // from hours ago: no save takes that long
    dir.write(Tmp("notes", dead), "not ours");         // no file "notes" here
    dir.write("backup.tmpx1", "not ours");
    // What editors and other programs leave looks alike, but is not ours.
    dir.write("events.txt.tmp" + std::to_string(dead), "the operator's");
    dir.write("qarv.ini.tmp" + std::to_string(::getpid()), "the operator's");
    ::mkdir(dir.file(Tmp("dir", dead)).c_str(), 0755);
    dir.write("dir", "");

    EXPECT_EQ(plat::RemoveStaleTempFiles(ini), 3);
    EXPECT_FALSE(dir.exists(Tmp("qarv.ini", dead)));
    EXPECT_FALSE(dir.exists(Tmp("qarv.ini", ::getpid())));
    EXPECT_TRUE(dir.exists(Tmp("qarv.ini", alive)));
    EXPECT_EQ(plat::RemoveStaleTempFilesIn(dir.path()), 2);
    EXPECT_FALSE(dir.exists(Tmp("events.txt", dead)));
    EXPECT_FALSE(dir.exists(Tmp("world.rmy", alive)));
    EXPECT_TRUE(dir.exists(Tmp("qarv.ini", alive)));
    EXPECT_TRUE(dir.exists(Tmp("notes", dead)));
    EXPECT_TRUE(dir.exists("backup.tmpx1"));
    EXPECT_TRUE(dir.exists("events.txt.tmp" + std::to_string(dead)));
    EXPECT_TRUE(dir.exists("qarv.ini.tmp" + std::to_string(::getpid())));
    EXPECT_TRUE(dir.exists(Tmp("dir", dead)));

    // Through a link the leftovers lie beside the real file.
    ::mkdir(dir.file("real").c_str(), 0755);
    dir.write("real/list.rmy", "");
    dir.write(Tmp("real/list.rmy", dead), "cut");
    ASSERT_EQ(::symlink("real/list.rmy", dir.file("list.rmy").c_str()), 0);
    EXPECT_EQ(plat::RemoveStaleTempFiles(dir.file("list.rmy")), 1);
    EXPECT_FALSE(dir.exists(Tmp("real/list.rmy", dead)));
}
