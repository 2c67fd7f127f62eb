// Start-up cost of the station list: the memory file read and the station
// window filled, for the sizes operators keep (2,000 to 16,000 stations).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "base/memory_options.h"
#include "base/settings_store.h"
#include "memories/station_archive.h"
#include "memories/station_window.h"
#include "memories/stations.h"
#include "platform/event_loop.h"
#include "platform/window.h"

namespace {
struct Station {
    plat::Window frame;
    CStationWnd window;
    std::string dir;
    Station() {
        static int argc = 1;
        static char name[] = "station_list_bench";
        static char* argv[] = {name, nullptr};
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        plat::app::Init(argc, argv);
        char tmpl[] = "/tmp/qarv-bench-XXXXXX";
        dir = ::mkdtemp(tmpl);
        g_cwd = dir;
        frame.Create("qarv", plat::WS_OVERLAPPEDWINDOW, {0, 0, 800, 600}, nullptr, 0);
        window.Create("Station Memories", plat::WS_POPUP | plat::WS_CAPTION, {40, 40, 454, 430}, &frame, 1400);
        window.Build();
        window.ShowWindow(plat::SW_SHOW);
        g_stationwnd = &window;
    }
};

void WriteList(const std::string& path, int n) {
    StationList list;
    for (int i = 0; i < n; ++i) {
        CStation s;
        s.name = "Station " + std::to_string(i * 7919 % n);
        s.frequency = 0.5 + (i * 104729 % n) * 0.005;
        s.country = i % 3 ? "Spain" : "Japan";
        list.push_back(s);
    }
    const std::string bytes = WriteStationArchive(list);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

void BM_LoadStationList(benchmark::State& state) {
    static Station station;
    const int n = int(state.range(0));
    const std::string file = "list" + std::to_string(n) + ".rmy";
    WriteList(station.dir + "/" + file, n);
    for (auto _ : state) {
        std::snprintf(g_memfilename, sizeof g_memfilename, "%s", file.c_str());
        LoadMemoryFile();
        FillStationList();
        benchmark::DoNotOptimize(station.window.list.GetCount());
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_LoadStationList)->Arg(2000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond)->Complexity();
}  // namespace
