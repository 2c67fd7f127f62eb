// Callsign lookup through a library loaded by path: the record shown line
// by line, the library's errors as texts, and without a library the Call
// command stays disabled.
#include "base/memory_options.h"
#include "base/settings_options.h"
#include "memories/lookup.h"
#include "memory_fixture.h"
#include "platform/library.h"

namespace {
class Frame : public plat::Window {
public:
    bool OnCommand(unsigned id, unsigned, plat::LPARAM) override {
        if (id != ID_RUN_CALL_LOOKUP) return false;
        RunCallLookup();
        return true;
    }
};

struct Lookup : MemoryFixture {
    Frame frame;
    CLookupCallWnd w;
    Lookup() {
        frame.Create("qarv", plat::WS_OVERLAPPEDWINDOW, {0, 0, 600, 400}, nullptr, 0);
        w.Create("Call Lookup", plat::WS_POPUP | plat::WS_CAPTION, {10, 10, 338, 168}, &frame, 2389);
        w.Build();
        w.ShowWindow(plat::SW_SHOW);
        g_lookupwnd = &w;
    }
    ~Lookup() override {
        g_lookupwnd = nullptr;
        FreeHamCallLibrary();
    }
    void Load() {
        std::snprintf(g_hamcalllibrary, sizeof g_hamcalllibrary, "%s", QARV_HAMCAL_STANDIN);
        LoadHamCallLibrary();
    }
    std::string Find(const std::string& call) {
        w.call.TypeText(call);
        w.find.Click();
        return w.result.GetText();
    }
};
}  // namespace

TEST(LookupRules, RecordsAndPaths) {
    EXPECT_EQ(HamCallPath("C:"), "C:/ham0/");
    EXPECT_EQ(HamCallPath("/srv/hamcall/"), "/srv/hamcall/");
    const auto lines = ParseHamCallRecord("N0CALL \xB6G\xB7" "CQ\xB8" "ANN\xBA" "LEE\xBF" "TOWN\xC0" "KS\xC1" "66000");
    EXPECT_EQ(lines, (std::vector<std::string>{"Club Call", "Silent Key", "N0CALL - General Class", "ANN  LEE", "",
                                               "TOWN, KS  66000"}));
    EXPECT_EQ(ParseHamCallRecord("K1X \xB7X\xBA" "SMITH"), (std::vector<std::string>{"K1X SMITH"}));
    // Field runs stop at any character outside their set.
    EXPECT_EQ(ParseHamCallRecord("A1 \xB8" "BO\x01" "B")[1], "BO  ");
    EXPECT_EQ(LookupErrorText(-4), "Database Memory Error!");
}

TEST_F(Lookup, FindShowsTheRecordOfTheTypedCall) {
    Load();
    ASSERT_EQ(g_hamcallloaded, 1);
    EXPECT_EQ(traced("load library  "), 1);
    std::snprintf(g_hamcall, sizeof g_hamcall, "%s", "/data");
    EXPECT_FALSE(w.find.IsWindowEnabled());
    EXPECT_EQ(Find("W1AW"),
              "Club Call\r\nW1AW - Extra Class\r\nHIRAM P MAXIM\r\n225 MAIN ST\r\nNEWINGTON, CT  06111\r\n");
    EXPECT_EQ(w.call.GetText(), "");
    EXPECT_TRUE(plat::SaveWindowImage(&w, std::string(QARV_BUILD_DIR) + "/call_lookup.png"));
    EXPECT_EQ(Find("ZZ9"), "ZZ9\r\nCallsign Not Found!\r\n");
    EXPECT_EQ(Find("IDX"), "IDX\r\nDatabase Index Error!\r\n");
    // A library that claims more than its buffer is read no further.
    const std::string longest = Find("LONG");
    EXPECT_EQ(longest.rfind("AAAA", 0), 0u);
    EXPECT_LT(longest.size(), 2100u);
    std::snprintf(g_hamcall, sizeof g_hamcall, "%s", "nodb");
    EXPECT_EQ(Find("W1AW"), "W1AW\r\nDatabase Not Found!\r\n");
    auto lib = plat::LoadLibrary(QARV_HAMCAL_STANDIN);
    auto last = reinterpret_cast<const char* (*)()>(plat::GetProcAddress(lib, "LastLookupPath"));
    ASSERT_NE(last, nullptr);
    EXPECT_STREQ(last(), "nodb/ham0/");
    plat::FreeLibrary(lib);
}

TEST_F(Lookup, WithoutALibraryFindDoesNothing) {
    std::snprintf(g_hamcalllibrary, sizeof g_hamcalllibrary, "%s", "missing.so");
    LoadHamCallLibrary();
    EXPECT_EQ(g_hamcallloaded, 0);
    EXPECT_EQ(Find("W1AW"), "");
    // A library without the export is no lookup library either.
    std::snprintf(g_hamcalllibrary, sizeof g_hamcalllibrary, "%s", "libc.so.6");
    LoadHamCallLibrary();
    EXPECT_EQ(g_hamcallloaded, 0);
}
