// Large station lists fill the window whole, and a
// damaged memory file refused at start-up stays the one to load next.
#include <sys/stat.h>

#include <string>

#include "memories/station_archive.h"
#include "memories/station_window.h"
#include "memory_fixture.h"
#include "platform/files.h"

namespace {
StationList ManyStations(int n) {
    StationList list;
    list.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i)
        list.push_back(MakeStation("Station " + std::to_string(i * 7919 % n), 0.5 + (i * 104729 % n) * 0.005, "AM",
                                   "FIL2", i % 3 ? "Spain" : "Japan"));
    return list;
}

struct Loaded : MemoryFixture {
    plat::Window frame;
    CStationWnd w;
    Loaded() {
        frame.Create("qarv", plat::WS_OVERLAPPEDWINDOW, {0, 0, 800, 600}, nullptr, 0);
        w.Create("Station Memories", plat::WS_POPUP | plat::WS_CAPTION, {40, 40, 454, 430}, &frame, 1400);
        w.Build();
        w.ShowWindow(plat::SW_SHOW);
        g_stationwnd = &w;
    }
    ~Loaded() override { g_stationwnd = nullptr; }
    // The start-up path: the file read, then the window filled.
    void Load(const std::string& name) {
        SetName(name.c_str());
        LoadMemoryFile();
        FillStationList();
    }
};
}  // namespace

// How long it takes is measured in bench/station_list_bench (a busy
// machine must not decide a test).
TEST_F(Loaded, LargeListsFillTheWindowWholeAndALoadReplacesThePreviousList) {
    dir.write("small.rmy", WriteStationArchive(ManyStations(4000)));
    dir.write("large.rmy", WriteStationArchive(ManyStations(16000)));
    Load("small.rmy");
    ASSERT_EQ(w.list.GetCount(), 4000);
    Load("large.rmy");
    ASSERT_EQ(w.list.GetCount(), 16000);
    Load("small.rmy");
    EXPECT_EQ(w.list.GetCount(), 4000);
}

TEST_F(Loaded, ADamagedFileRefusedAtStartUpStaysTheFileToLoad) {
    const std::string good = WriteStationArchive({MakeStation("Kept", 9.5)});
    dir.write("damaged.rmy", good.substr(0, good.size() - 4));
    SetName("damaged.rmy");
    LoadMemoryFile();
    EXPECT_NE(LastBox().find("Unable to read memory file: damaged.rmy"), std::string::npos);
    EXPECT_STREQ(g_memfilename, "damaged.rmy");
    EXPECT_TRUE(g_stationlist.empty());

    // A station added and saved does not go over the refused file: the save
    // asks for a name, and a cancel leaves both alone.
    g_stationlist.push_back(MakeStation("New", 7.1));
    StationListChanged(true);
    plat::file_dialog_script::PushAnswer("");
    EXPECT_FALSE(OnFileSave());
    EXPECT_EQ(plat::file_dialog_script::Shown(), 1);
    EXPECT_EQ(dir.read("damaged.rmy"), good.substr(0, good.size() - 4));
    EXPECT_STREQ(g_memfilename, "damaged.rmy");

    // A close that nobody can answer keeps the list in a file of its own and
    // the refused one as the file to load.
    EXPECT_TRUE(SaveMemoryFileUnattended());
    EXPECT_STREQ(g_memfilename, "damaged.rmy");
    EXPECT_EQ(dir.read("damaged.rmy"), good.substr(0, good.size() - 4));
    EXPECT_EQ(traced("saving memory file " + dir.path() + "/unsaved-"), 1);

    // Repaired, it opens, and saves go to it again.
    dir.write("damaged.rmy", good);
    ASSERT_TRUE(OpenMemoryFile(kUseName));
    ASSERT_EQ(g_stationlist.size(), 1u);
    g_stationlist.push_back(MakeStation("Added", 7.2));
    StationListChanged(true);
    EXPECT_TRUE(OnFileSave());
    EXPECT_EQ(plat::file_dialog_script::Shown(), 1);
    EXPECT_EQ(dir.read("damaged.rmy"), WriteStationArchive(g_stationlist));
}

TEST_F(Loaded, AnUnattendedSaveThatFailsIsNotedForTheClose) {
    g_stationlist = {MakeStation("A", 9.5)};
    StationListChanged(true);
    SetName("gone/list.rmy");  // a folder that is not there
    EXPECT_FALSE(SaveMemoryFileUnattended());
    ASSERT_EQ(SaveFailures().size(), 1u);
    EXPECT_EQ(SaveFailures()[0].file, dir.file("gone/list.rmy"));
    EXPECT_NE(SaveFailures()[0].reason.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(g_memmodified, 1);
}

TEST_F(Loaded, StaleTemporaryFilesOfTheMemoryFileGoAtItsLoad) {
    dir.write("world.rmy", WriteStationArchive({MakeStation("A", 9.5)}));
    dir.write(plat::TempFileName("world.rmy", ::getpid()), "cut short");
    SetName("world.rmy");
    LoadMemoryFile();
    EXPECT_EQ(g_stationlist.size(), 1u);
    EXPECT_FALSE(dir.exists(plat::TempFileName("world.rmy", ::getpid())));
}
