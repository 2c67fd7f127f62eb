// The station window used as an operator uses it: clicks on its buttons and
// rows, typing into the edit dialog; then what the list, the flags and the
// main frame received.
#include "app/tuning_wiring.h"
#include "civ/civ_options.h"
#include "civ/radio_models.h"
#include "memories/station_recall.h"
#include "memories/station_window.h"
#include "memory_fixture.h"
#include "panel/swl_panel.h"
#include "platform/event_loop.h"
#include "platform/input_synth.h"
#include "platform/keys.h"

namespace {
class Frame : public plat::Window {
public:
    int recalls = 0;
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM, plat::LPARAM) override {
        if (msg == WM_RECALL_ENTRY) ++recalls;
        return 0;
    }
};

struct Window : MemoryFixture {
    Frame frame;
    CStationWnd w;
    Window() {
        g_radiotype = 23;
        frame.Create("qarv", plat::WS_OVERLAPPEDWINDOW, {0, 0, 800, 600}, nullptr, 0);
        w.Create("Station Memories", plat::WS_POPUP | plat::WS_CAPTION, {40, 40, 454, 430}, &frame, 1400);
        w.Build();
        g_stationwnd = &w;
        SetName("world.rmy");
        SetList({MakeStation("Radio Exterior", 9.62, "AM", "10.0 kHz ", "Spain"),
                 MakeStation("BBC", 15.4, "AM", "10.0 kHz ", "England"),
                 MakeStation("Net", 14.3, "USB", "2.4 kHz ", "USA", 0, "SP=5")});
        w.FillStationList();
        w.ShowWindow(plat::SW_SHOW);
    }
    ~Window() override { g_stationwnd = nullptr; }
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (int i = 0; i < w.list.GetCount(); ++i) out.push_back(w.list.GetItemText(i));
        return out;
    }
    static std::string Png(const char* name) { return std::string(QARV_BUILD_DIR) + "/" + name; }
};

// A dialog handler that fills the edit dialog and presses OK.
std::function<void(plat::Dialog&)> Enter(const std::string& name, const std::string& mhz,
                                         std::string* seenNotes = nullptr) {
    return [=](plat::Dialog& d) {
        auto& dlg = static_cast<CEditStationDialog&>(d);
        if (seenNotes) *seenNotes = dlg.notes.GetText();
        if (!name.empty()) dlg.name.TypeText(name);
        dlg.frequency.TypeText(mhz);
        dlg.ok.Click();
    };
}
}  // namespace

TEST_F(Window, ListsTheStationsInTheOrderOfTheCheckedSort) {
    EXPECT_EQ(w.title.GetWindowText(), "world.rmy");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"009.62000\tRadio Exterior\tSpain", "014.30000\tNet\tUSA",
                                                 "015.40000\tBBC\tEngland"}));
    EXPECT_EQ(w.current.name, "Radio Exterior");
    w.sortStation.Click();
    EXPECT_EQ(g_stationsort, 1);
    EXPECT_TRUE(w.sortStation.GetCheck());
    EXPECT_FALSE(w.sortFrequency.GetCheck());
    EXPECT_EQ(Lines(), (std::vector<std::string>{"BBC\t15.400000\tEngland", "Net\t14.300000\tUSA",
                                                 "Radio Exterior\t9.620000\tSpain"}));
    w.sortCountry.Click();
    EXPECT_EQ(Lines().front(), "England\tBBC\t15.400000");
    // The row's item data is the list position, whatever the order.
    w.list.Choose(2);
    EXPECT_EQ(w.current.name, "Net");
    EXPECT_EQ(w.StationOfRow(2), 2);
    EXPECT_TRUE(plat::SaveWindowImage(&w, Png("station_window.png")));
}

TEST_F(Window, TuneDoubleClickAndAutoTunePostTheRecall) {
    w.list.Choose(1);
    plat::DeliverPosted();
    EXPECT_EQ(frame.recalls, 0);
    w.tune.Click();
    plat::DeliverPosted();
    EXPECT_EQ(frame.recalls, 1);
    w.list.DoubleClick(2);
    plat::DeliverPosted();
    EXPECT_EQ(frame.recalls, 2);
    EXPECT_EQ(w.current.name, "BBC");
    w.autoTune.Click();
    EXPECT_EQ(g_autotune, 1);
    w.list.Choose(0);
    w.list.Choose(1);
    plat::DeliverPosted();
    EXPECT_EQ(frame.recalls, 4);
}

TEST_F(Window, AddKeepsTheDialogOpenUntilTheRadioCoversTheFrequency) {
    plat::dialog_script::PushHandler(Enter("Coast", "40.0"));  // no coverage between 33 and 49 MHz
    std::string shownAgain = "?";
    plat::dialog_script::PushHandler([&](plat::Dialog& d) {
        auto& dlg = static_cast<CEditStationDialog&>(d);
        shownAgain = dlg.frequency.GetText();
        EXPECT_EQ(dlg.name.GetText(), "Coast");
        EXPECT_TRUE(plat::SaveWindowImage(&d, Png("station_edit_dialog.png")));
        dlg.frequency.TypeText("4.2");
        dlg.ok.Click();
    });
    w.add.Click();
    EXPECT_EQ(shownAgain, "");
    ASSERT_EQ(g_stationlist.size(), 4u);
    EXPECT_EQ(g_stationlist[3].name, "Coast");
    EXPECT_DOUBLE_EQ(g_stationlist[3].frequency, 4.2);
    EXPECT_EQ(g_stationlist[3].mode, "AM");
    EXPECT_EQ(g_memmodified, 1);
    EXPECT_EQ(g_indexvalid, 0);
    EXPECT_EQ(Lines().front(), "004.20000\tCoast\t");
    // Cancel adds nothing.
    plat::dialog_script::PushHandler([](plat::Dialog& d) { static_cast<CEditStationDialog&>(d).cancel.Click(); });
    w.add.Click();
    EXPECT_EQ(g_stationlist.size(), 4u);
}

// Enter in a field is OK, Escape in the mode list is Cancel.
TEST_F(Window, TheSheetTakesEnterAsOkAndEscapeAsCancel) {
    for (unsigned key : {plat::VK_ESCAPE, plat::VK_RETURN}) {
        plat::dialog_script::PushHandler([key](plat::Dialog& d) {
            auto& dlg = static_cast<CEditStationDialog&>(d);
            plat::synth::Type(&dlg.frequency, "4.2");
            plat::synth::Key(key == plat::VK_RETURN ? static_cast<plat::Window*>(&dlg.frequency) : &dlg.mode, key);
            EXPECT_TRUE(d.Ended());
        });
        w.add.Click();
    }
    ASSERT_EQ(g_stationlist.size(), 4u);
    EXPECT_DOUBLE_EQ(g_stationlist[3].frequency, 4.2);
}

TEST_F(Window, EditAndDeleteChangeTheSelectedStation) {
    w.list.Choose(1);  // Net
    std::string notes;
    plat::dialog_script::PushHandler([&](plat::Dialog& d) {
        auto& dlg = static_cast<CEditStationDialog&>(d);
        notes = dlg.notes.GetText();
        EXPECT_EQ(dlg.mode.GetSelectedText(), "USB");
        EXPECT_EQ(dlg.filter.GetSelectedText(), "2.4 kHz ");
        dlg.name.TypeText("Evening Net");
        dlg.mode.Choose(dlg.mode.FindStringExact("LSB"));
        dlg.ok.Click();
    });
    w.edit.Click();
    EXPECT_EQ(notes, "SP=5");
    EXPECT_EQ(g_stationlist[2].name, "Evening Net");
    EXPECT_EQ(g_stationlist[2].mode, "LSB");
    EXPECT_EQ(g_stationlist[2].filter, "2.4 kHz ");
    EXPECT_EQ(g_memmodified, 1);
    w.list.Choose(0);
    w.del.Click();
    ASSERT_EQ(g_stationlist.size(), 2u);
    EXPECT_EQ(g_stationlist[0].name, "BBC");
    w.list.Choose(0);
    w.del.Click();
    w.list.Choose(0);
    w.del.Click();
    EXPECT_TRUE(g_stationlist.empty());
    EXPECT_FALSE(w.del.IsWindowEnabled());
    EXPECT_FALSE(w.tune.IsWindowEnabled());
    EXPECT_TRUE(w.add.IsWindowEnabled());
}

TEST_F(Window, TheEditPutsTheToneIntoTheNotesDigitsOnly) {
    g_savefmcts = 1;
    g_fmcts = 885;
    ASSERT_TRUE(ModelCap(g_hastone));
    g_stationlist[2].notes = "FMCTS=1000  keep this";
    w.list.Choose(1);
    std::string seen;
    plat::dialog_script::PushHandler(Enter("", "14.3", &seen));
    w.edit.Click();
    EXPECT_EQ(seen, "FMCTS=0885  keep this");
    g_stationlist[2].notes = "plain";
    w.FillStationList();
    w.list.Choose(1);
    plat::dialog_script::PushHandler(Enter("", "14.3", &seen));
    w.edit.Click();
    EXPECT_EQ(seen, "FMCTS=0885\r\nplain");
}

TEST_F(Window, StoreTakesVfoAAndInSplitVfoB) {
    CSwlPanel panel;
    g_swlpanel = &panel;
    WireTuningView();
    panel.vfoAFreq = 7.074;
    panel.vfoAMode = '1';
    panel.filter = 13;
    panel.vfoBFreq = 7.18;
    panel.split = 1;
    std::string mode, filter, freq;
    plat::dialog_script::PushHandler([&](plat::Dialog& d) {
        auto& dlg = static_cast<CEditStationDialog&>(d);
        mode = dlg.mode.GetSelectedText();
        filter = dlg.filter.GetSelectedText();
        freq = dlg.frequency.GetText();
        dlg.name.TypeText("Split net");
        dlg.ok.Click();
    });
    StoreStationFromPanel();
    g_swlpanel = nullptr;
    EXPECT_EQ(mode, "LSB");
    EXPECT_EQ(filter, "2.4 kHz ");
    EXPECT_EQ(freq, "7.074000");
    ASSERT_EQ(g_stationlist.size(), 4u);
    EXPECT_EQ(g_stationlist[3].name, "Split net");
    EXPECT_DOUBLE_EQ(g_stationlist[3].frequency2, 7.18);
    EXPECT_EQ(g_memmodified, 1);
    EXPECT_EQ(ModeWordForChar(':'), "PSKR");
    EXPECT_EQ(ModeWordForChar('x'), "AM");
    EXPECT_EQ(ModeCharForWord("RTTY2R"), '8');
    EXPECT_EQ(ModeCharForWord("WFM"), '<');
}
