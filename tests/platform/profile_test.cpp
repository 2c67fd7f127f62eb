#include <gtest/gtest.h>

#include "common/test_dir.h"
#include "platform/profile.h"

using plat::ProfileReadString;
using plat::ProfileWriteString;

TEST(Profile, ReadsWithPlatformSemantics) {
    TestDir dir;
    dir.write("a.ini",
              "; comment kept\r\n"
              "[Radio]\r\n"
              "  Mode = USB  \r\n"
              "mode=LSB\r\n"
              "garbage line without equals\r\n"
              "[radio]\r\n"
              "Step=5\r\n"
              "[Other]\r\n"
              "Step=7\n");
    const std::string p = dir.file("a.ini");
    // Names without case, value trimmed, first occurrence wins (key and section).
    EXPECT_EQ(ProfileReadString("RADIO", "MODE", "x", p), "USB");
    EXPECT_EQ(ProfileReadString("radio", "Step", "none", p), "none");
    EXPECT_EQ(ProfileReadString("Other", "step", "", p), "7");
    EXPECT_EQ(ProfileReadString("Missing", "k", "dflt", p), "dflt");
    EXPECT_EQ(ProfileReadString("Radio", "Mode", "", p, 3), "US");  // cut like a 3-byte buffer
    EXPECT_EQ(ProfileReadString("Radio", "Mode", "", dir.file("none.ini")), "");
}

TEST(Profile, WritesInPlaceAppendsAndKeepsUnknownLines) {
    TestDir dir;
    dir.write("a.ini", "# note\n[A]\nx = 1\nweird\n\n[B]\ny=2\n");
    const std::string p = dir.file("a.ini");
    ASSERT_TRUE(ProfileWriteString("a", "X", "10", p));
    ASSERT_TRUE(ProfileWriteString("A", "z", "3", p));
    ASSERT_TRUE(ProfileWriteString("C", "w", "4", p));
    EXPECT_EQ(dir.read("a.ini"), "# note\n[A]\nX=10\nweird\nz=3\n\n[B]\ny=2\n\n[C]\nw=4\n");
    EXPECT_EQ(ProfileReadString("A", "x", "", p), "10");
}

TEST(Profile, KeepsCrLfFilesCrLfAndCreatesMissingFile) {
    TestDir dir;
    dir.write("crlf.ini", "[S]\r\nk=v\r\n");
    ASSERT_TRUE(ProfileWriteString("S", "k", "w", dir.file("crlf.ini")));
    EXPECT_EQ(dir.read("crlf.ini"), "[S]\r\nk=w\r\n");
    ASSERT_TRUE(ProfileWriteString("S", "k", "v", dir.file("new.ini")));
    EXPECT_EQ(dir.read("new.ini"), "[S]\nk=v\n");
}

TEST(Profile, BatchReplacesFileOnceAndLeavesNoTemporary) {
    TestDir dir;
    dir.write("a.ini", "[S]\nk=1\n");
    const std::string p = dir.file("a.ini");
    plat::ProfileBeginBatch(p);
    ProfileWriteString("S", "k", "2", p);
    ProfileWriteString("S", "j", "3", p);
    // Nothing reaches the file before the batch ends; reads see the batch.
    EXPECT_EQ(dir.read("a.ini"), "[S]\nk=1\n");
    EXPECT_EQ(ProfileReadString("S", "j", "", p), "3");
    ASSERT_TRUE(plat::ProfileEndBatch());
    EXPECT_EQ(dir.read("a.ini"), "[S]\nk=2\nj=3\n");
    int files = 0;
    for (const char* n : {"a.ini"}) files += dir.exists(n);
    EXPECT_EQ(files, 1);
}

TEST(Profile, FailedAtomicWriteKeepsOldFile) {
    TestDir dir;
    dir.write("a.ini", "[S]\nk=1\n");
    // A path in a missing folder cannot be written; the old file is untouched.
    EXPECT_FALSE(plat::WriteFileAtomic(dir.file("missing/a.ini"), "x"));
    EXPECT_TRUE(plat::WriteFileAtomic(dir.file("a.ini"), "[S]\nk=2\n"));
    EXPECT_EQ(dir.read("a.ini"), "[S]\nk=2\n");
}

TEST(Profile, ReadSeesFileChangedBehindItsBack) {
    TestDir dir;
    const std::string p = dir.file("a.ini");
    dir.write("a.ini", "[S]\nk=1\n");
    EXPECT_EQ(ProfileReadString("S", "k", "", p), "1");
    dir.write("a.ini", "[S]\nk=22\n");
    EXPECT_EQ(ProfileReadString("S", "k", "", p), "22");
}
