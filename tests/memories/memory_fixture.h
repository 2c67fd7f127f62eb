// A fresh working directory with the memories' globals reset, scripted
// dialogs and a station list of its own.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/memory_options.h"
#include "base/settings_store.h"
#include "base/trace_log.h"
#include "common/test_dir.h"
#include "memories/station.h"
#include "memories/stations.h"
#include "platform/dialog.h"
#include "platform/message_box.h"

inline CStation MakeStation(const std::string& name, double mhz, const std::string& mode = "AM",
                            const std::string& filter = "FIL2", const std::string& country = "",
                            double second = 0, const std::string& notes = "") {
    CStation s;
    s.name = name;
    s.frequency = mhz;
    s.mode = mode;
    s.filter = filter;
    s.country = country;
    s.frequency2 = second;
    s.notes = notes;
    return s;
}

struct MemoryFixture : ::testing::Test {
    TestDir dir;
    MemoryFixture() {
        g_cwd = dir.path();
        OpenTraceFile();
        plat::dialog_script::Enable();
        plat::file_dialog_script::Enable();
        plat::message_box_script::Clear();
        std::snprintf(g_memfilename, sizeof g_memfilename, "%s", "NONAME");
    }
    ~MemoryFixture() override {
        EndTraceFile();
        CloseTraceStream();
        g_stationlist.clear();
    }
    void SetList(std::initializer_list<CStation> stations, bool modified = false) {
        g_stationlist = stations;
        StationListChanged(modified);
    }
    void SetName(const char* name) { std::snprintf(g_memfilename, sizeof g_memfilename, "%s", name); }
    std::string LastBox() const {
        const auto& h = plat::message_box_script::History();
        return h.empty() ? std::string() : h.back().text;
    }
    int traced(const std::string& text) {
        const std::string log = dir.read("comms.txt");
        int n = 0;
        for (std::size_t p = log.find(text); p != std::string::npos; p = log.find(text, p + 1)) ++n;
        return n;
    }
};
