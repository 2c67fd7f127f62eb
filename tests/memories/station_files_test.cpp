// The File menu on the station list: memory files open whole or not at
// all, a save never leaves a half-written file or a false "saved", and no
// answer or failure drops a list that is not on disk.
#include <sys/stat.h>

#include "memories/memory_file_panel.h"
#include "memories/station_archive.h"
#include "memories/station_cdf.h"
#include "memory_fixture.h"
#include "platform/files.h"

using plat::file_dialog_script::PushAnswer;
using plat::message_box_script::PushAnswer;

namespace {
using Files = MemoryFixture;

void AnswerBox(int a) { plat::message_box_script::PushAnswer(a); }
void AnswerFile(const std::string& p) { plat::file_dialog_script::PushAnswer(p); }
}  // namespace

TEST_F(Files, SaveUnderItsNameWritesAtOnceAndClearsTheFlag) {
    SetList({MakeStation("A", 9.5), MakeStation("B", 11.7)}, true);
    SetName("world.rmy");
    EXPECT_TRUE(OnFileSave());
    EXPECT_EQ(plat::file_dialog_script::Shown(), 0);
    EXPECT_EQ(dir.read("world.rmy"), WriteStationArchive(g_stationlist));
    EXPECT_EQ(g_memmodified, 0);
}

TEST_F(Files, SaveWithoutANameAsksAndACancelKeepsTheFlag) {
    SetList({MakeStation("A", 9.5)}, true);
    AnswerFile("");
    EXPECT_FALSE(OnFileSave());
    EXPECT_EQ(g_memmodified, 1);
    EXPECT_STREQ(g_memfilename, "NONAME");
    AnswerFile(dir.file("mine.rmy"));
    EXPECT_TRUE(OnFileSave());
    EXPECT_EQ(g_memmodified, 0);
    EXPECT_EQ(std::string(g_memfilename), dir.file("mine.rmy"));
    EXPECT_TRUE(dir.exists("mine.rmy"));
    // The crash mark is set around the dialog and cleared after it.
    EXPECT_NE(dir.read("qarv.ini").find("MEMORY CRASH=0"), std::string::npos);
}

TEST_F(Files, AFailedSaveKeepsTheOldFileAndTheFlag) {
    dir.write("keep.rmy", "old contents");
    SetList({MakeStation("A", 9.5)}, true);
    SetName("keep.rmy");
    // A directory where the temporary file must go: the write cannot even start.
    ::mkdir(plat::TempFileName(dir.file("keep.rmy"), ::getpid()).c_str(), 0755);
    EXPECT_FALSE(OnFileSave());
    EXPECT_EQ(dir.read("keep.rmy"), "old contents");
    EXPECT_EQ(g_memmodified, 1);
    EXPECT_NE(LastBox().find("ERROR: Access to File Denied"), std::string::npos);
    // A folder that is a file (root writes anywhere else).
    dir.write("notadir", "x");
    SetName("notadir/list.rmy");
    EXPECT_FALSE(SaveMemoryFileAs(kUseName));
    EXPECT_EQ(g_memmodified, 1);
    EXPECT_STREQ(g_memfilename, "notadir/list.rmy");
}

TEST_F(Files, CloseGoesOnOnlyAfterASuccessfulSave) {
    SetList({MakeStation("A", 9.5)}, true);
    AnswerBox(plat::IDYES);
    AnswerFile("");  // the save's dialog is cancelled
    EXPECT_FALSE(CloseMemoryFile());
    EXPECT_EQ(g_stationlist.size(), 1u);
    EXPECT_EQ(g_memmodified, 1);
    AnswerBox(plat::IDCANCEL);
    EXPECT_FALSE(CloseMemoryFile());
    EXPECT_EQ(g_stationlist.size(), 1u);
    AnswerBox(plat::IDYES);
    AnswerFile(dir.file("closed.rmy"));
    EXPECT_TRUE(CloseMemoryFile());
    EXPECT_TRUE(g_stationlist.empty());
    EXPECT_STREQ(g_memfilename, "NONAME");
    StationList back;
    std::string error;
    ASSERT_TRUE(ReadStationArchive(dir.read("closed.rmy"), back, error));
    EXPECT_EQ(back.size(), 1u);
}

TEST_F(Files, OpenReadsAWholeFileOrNothing) {
    SetList({MakeStation("Current", 6.0)});
    SetName("current.rmy");
    const std::string good = WriteStationArchive({MakeStation("X", 9.5), MakeStation("Y", 15.1)});
    dir.write("good.rmy", good);
    dir.write("bad.rmy", good.substr(0, good.size() - 3));
    AnswerFile(dir.file("bad.rmy"));
    EXPECT_FALSE(OpenMemoryFile(kAskName));
    EXPECT_NE(LastBox().find("Unable to read memory file"), std::string::npos);
    ASSERT_EQ(g_stationlist.size(), 1u);
    EXPECT_EQ(g_stationlist[0].name, "Current");
    EXPECT_STREQ(g_memfilename, "current.rmy");

    AnswerFile(dir.file("missing.rmy"));
    EXPECT_FALSE(OpenMemoryFile(kAskName));
    EXPECT_EQ(LastBox(), "Unable to locate file: " + dir.file("missing.rmy"));
    EXPECT_EQ(plat::message_box_script::History().back().caption, "Error- File Not Found");

    AnswerFile(dir.file("good.rmy"));
    EXPECT_TRUE(OpenMemoryFile(kAskName));
    ASSERT_EQ(g_stationlist.size(), 2u);
    EXPECT_EQ(g_stationlist[1].name, "Y");
    EXPECT_EQ(g_memmodified, 0);
    EXPECT_EQ(g_indexvalid, 0);
}

TEST_F(Files, NamesThatAreNoMemoryFilesAreRefused) {
    SetList({MakeStation("Current", 6.0)});
    dir.write("NONAME", WriteStationArchive({MakeStation("X", 9.5)}));
    dir.write("stations.txt", WriteStationArchive({MakeStation("X", 9.5)}));
    for (const char* name : {"stations.txt", "NONAME"}) {
        AnswerFile(dir.file(name));
        EXPECT_FALSE(OpenMemoryFile(kAskName)) << name;
        EXPECT_NE(LastBox().find("Not a memory file"), std::string::npos);
        EXPECT_EQ(g_stationlist[0].name, "Current");
    }
    EXPECT_TRUE(IsMemoryFileName("a.RMY"));
    EXPECT_FALSE(IsMemoryFileName(".rmy"));
}

TEST_F(Files, StartUpLoadNeverSetsUpADamagedFileForOverwriting) {
    dir.write("WORLD.RMY", "\xFF\xFF garbage");
    SetName("WORLD.RMY");
    LoadMemoryFile();
    EXPECT_TRUE(g_stationlist.empty());
    // The name stays (the repaired file loads next time); a save asks first.
    EXPECT_STREQ(g_memfilename, "WORLD.RMY");
    EXPECT_EQ(traced("memory file not read: WORLD.RMY"), 1);
    g_stationlist = {MakeStation("New", 7.1)};
    StationListChanged(true);
    plat::file_dialog_script::PushAnswer("");
    EXPECT_FALSE(OnFileSave());
    EXPECT_EQ(dir.read("WORLD.RMY"), "\xFF\xFF garbage");
    // A .cdf name is not reopened as a list.
    SetName("export.cdf");
    LoadMemoryFile();
    EXPECT_STREQ(g_memfilename, "NONAME");
    // A missing file keeps its name: the first save creates it.
    SetName("new.rmy");
    LoadMemoryFile();
    EXPECT_STREQ(g_memfilename, "new.rmy");
}

TEST_F(Files, ACloseBySignalSavesAnUnnamedListBesideTheSettings) {
    SetList({MakeStation("A", 9.5)}, true);
    EXPECT_TRUE(SaveMemoryFileUnattended());
    EXPECT_EQ(plat::file_dialog_script::Shown(), 0);
    const std::string name = g_memfilename;
    EXPECT_EQ(name.rfind("unsaved-", 0), 0u);
    EXPECT_TRUE(dir.exists(name));
    EXPECT_EQ(g_memmodified, 0);
    EXPECT_EQ(traced("saving memory file " + dir.file(name)), 1);
}

TEST_F(Files, TypedNamesRunTheWaitingOperationOnce) {
    g_memcrash = 1;
    CCRAPanel panel;
    g_crapanel = &panel;
    panel.Create("Memory File Name", plat::WS_POPUP, {0, 0, 300, 60}, nullptr, 2527);
    panel.Build();
    const std::string good = WriteStationArchive({MakeStation("X", 9.5)});
    dir.write("typed.rmy", good);
    SetName("old.rmy");
    OnFileOpen();
    EXPECT_EQ(plat::file_dialog_script::Shown(), 0);
    EXPECT_TRUE(panel.IsWindowVisible());
    EXPECT_EQ(panel.edit.GetText(), "old.rmy");
    EXPECT_EQ(g_memcrashop, kOpOpen);
    panel.edit.TypeText("typed.rmy");
    OnMemoryFileName();
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_EQ(g_stationlist.size(), 1u);
    EXPECT_STREQ(g_memfilename, "typed.rmy");
    EXPECT_EQ(g_memcrashop, 0);
    // A second focus change finds nothing waiting.
    g_stationlist.clear();
    OnMemoryFileName();
    EXPECT_TRUE(g_stationlist.empty());

    // An export never makes the .cdf the memory file.
    SetList({MakeStation("X", 9.5)});
    ExportCdf(kAskName);
    EXPECT_EQ(g_memcrashop, kOpExport);
    panel.edit.TypeText("out.cdf");
    OnMemoryFileName();
    EXPECT_TRUE(dir.exists("out.cdf"));
    EXPECT_STREQ(g_memfilename, "typed.rmy");
    g_crapanel = nullptr;
}

TEST_F(Files, TheLookupFindsTheStationVfoASitsOn) {
    SetList({MakeStation("First", 9.5), MakeStation("Second", 9.5), MakeStation("Other", 7.2)});
    BuildStationIndex();
    ShowStationName(9.5);
    EXPECT_EQ(g_stationcaption, "Second");  // later in the list
    ShowStationName(7.2004);
    EXPECT_EQ(g_stationcaption, "Other");
    ShowStationName(7.2005);
    EXPECT_EQ(g_stationcaption, std::string(11, ' '));
    ShowStationName(7.1996);
    EXPECT_EQ(g_stationcaption, "Other");
    g_skipstationname = 1;
    ShowStationName(9.5);
    EXPECT_EQ(g_stationcaption, "Other");
    EXPECT_EQ(g_skipstationname, 0);

    g_stationlist.assign(kMaxIndexedStations + 1, MakeStation("Many", 9.5));
    BuildStationIndex();
    EXPECT_EQ(FindIndexedStation(9.5), -1);
}
