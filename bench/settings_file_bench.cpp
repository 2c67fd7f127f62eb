// Cost of a large settings file (another program's sections first, then the
// program's own): the store's read of every setting and its save, and the
// whole program's start-up and close on such a file, at 1, 10 and 100 MB.
// Both should grow linearly with the size, also in blank lines.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/profile.h"

extern char** environ;

namespace {
std::string LargeIni(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 4096);
    for (int s = 0; text.size() < bytes; ++s) {
        text += "[OTHER PROGRAM " + std::to_string(s) + "]\r\n";
        for (int k = 0; k < 40; ++k) text += "Entry" + std::to_string(k) + "=value of another program\r\n";
    }
    text += "[OPERATING STATUS]\r\nCALLSIGN=W1AW\r\n";
    return text;
}

// About as many keys as a start-up reads and a close writes.
std::vector<std::pair<std::string, std::string>> OwnKeys() {
    std::vector<std::pair<std::string, std::string>> keys;
    const char* sections[] = {"OPERATING STATUS", "PREFERENCE", "INTERFACE", "RADIO WINDOW", "20 Meters CW"};
    for (int i = 0; i < 700; ++i) keys.emplace_back(sections[i % 5], "KEY " + std::to_string(i));
    return keys;
}

void BM_SettingsReadAndSave(benchmark::State& state) {
    const std::string text = LargeIni(std::size_t(state.range(0)) << 20);
    const auto keys = OwnKeys();
    for (auto _ : state) {
        plat::IniDocument doc;
        doc.Parse(text);
        for (const auto& [section, key] : keys) benchmark::DoNotOptimize(doc.Get(section, key));
        for (const auto& [section, key] : keys) doc.Set(section, key, "1");
        benchmark::DoNotOptimize(doc.Serialize());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(BM_SettingsReadAndSave)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

// A section followed by many blank lines, into which the save adds its
// keys: each new key goes before the blank lines, which must not be moved
// or scanned again for every key.
void BM_SaveIntoSectionBeforeBlankLines(benchmark::State& state) {
    const std::string text = "[OPERATING STATUS]\r\nCALLSIGN=W1AW\r\n" +
                             std::string(std::size_t(state.range(0)) << 20, '\n') + "[OTHER]\r\nx=1\r\n";
    for (auto _ : state) {
        plat::IniDocument doc;
        doc.Parse(text);
        for (int i = 0; i < 700; ++i) doc.Set("OPERATING STATUS", "KEY " + std::to_string(i), "1");
        benchmark::DoNotOptimize(doc.Serialize());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}
BENCHMARK(BM_SaveIntoSectionBeforeBlankLines)->Arg(1)->Arg(3)->Arg(10)->Unit(benchmark::kMillisecond);

bool Contains(const std::string& file, const std::string& text) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str().find(text) != std::string::npos;
}

// The program started headless on the file: seconds until its main window
// is up ("OnCreate exit" in the trace) and from SIGTERM to its exit.
void BM_ProgramStartAndClose(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("qarv-bench-ini-" + std::to_string(::getpid()));
    const std::string text = LargeIni(std::size_t(state.range(0)) << 20);
    double startSum = 0, closeSum = 0;
    for (auto _ : state) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ofstream(dir / "qarv.ini", std::ios::binary) << text;
        const std::string bin = QARV_BINARY;
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) env.emplace_back(*e);
        env.emplace_back("QT_QPA_PLATFORM=offscreen");
        std::vector<char*> envp;
        for (auto& s : env) envp.push_back(s.data());
        envp.push_back(nullptr);
        std::string arg0 = bin;
        char* argv[] = {arg0.data(), nullptr};
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addchdir_np(&fa, dir.c_str());
        posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
        const auto t0 = std::chrono::steady_clock::now();
        pid_t pid = -1;
        const int rc = posix_spawn(&pid, bin.c_str(), &fa, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&fa);
        if (rc != 0) {
            state.SkipWithError("cannot start the program");
            break;
        }
        // Polled every millisecond: the figure is seconds, the poll far finer.
        while (!Contains((dir / "comms.txt").string(), "OnCreate exit"))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const auto t1 = std::chrono::steady_clock::now();
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
        const auto t2 = std::chrono::steady_clock::now();
        const double start = std::chrono::duration<double>(t1 - t0).count();
        const double close = std::chrono::duration<double>(t2 - t1).count();
        startSum += start;
        closeSum += close;
        state.SetIterationTime(start + close);
    }
    fs::remove_all(dir);
    state.counters["start_s"] = benchmark::Counter(startSum, benchmark::Counter::kAvgIterations);
    state.counters["close_s"] = benchmark::Counter(closeSum, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ProgramStartAndClose)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);
}  // namespace
