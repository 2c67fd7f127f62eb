// The frame reader on a realistic bus stream: the program's own frames
// echoed back, the radio's replies and acknowledgements, transceive
// broadcasts, collision jams and line noise, handed over in reads of
// uneven size as the device poll would see them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "base/trace_log.h"
#include "civ/frame_reader.h"
#include "civ/radio_models.h"
#include "civ/send_queue.h"

namespace {
using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& out, std::initializer_list<std::uint8_t> bytes) { out.insert(out.end(), bytes); }

Bytes MakeStream(std::size_t size) {
    std::mt19937 rng(7);
    Bytes s;
    while (s.size() < size) {
        switch (rng() % 6) {
            case 0:  // echo of a frequency set, then the acknowledgement
                Append(s, {0xFE, 0xFE, 0x94, 0xE0, 0x05, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD});
                Append(s, {0xFE, 0xFE, 0xE0, 0x94, 0xFB, 0xFD});
                break;
            case 1:  // frequency read and its reply
                Append(s, {0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD});
                Append(s, {0xFE, 0xFE, 0xE0, 0x94, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD});
                break;
            case 2:  // meter reply
                Append(s, {0xFE, 0xFE, 0xE0, 0x94, 0x15, 0x02, 0x01, 0x20, 0xFD});
                break;
            case 3:  // transceive broadcast of frequency and mode
                Append(s, {0xFE, 0xFE, 0x00, 0x94, 0x00, 0x00, 0x50, 0x02, 0x14, 0x00, 0xFD});
                Append(s, {0xFE, 0xFE, 0x00, 0x94, 0x01, 0x01, 0x02, 0xFD});
                break;
            case 4:  // collision jam
                Append(s, {0xFC, 0xFC, 0xFC});
                break;
            default:  // noise
                for (int k = int(rng() % 8); k > 0; --k) s.push_back(std::uint8_t(rng()));
                break;
        }
    }
    return s;
}

// Read sizes between 1 and 200 bytes, as a 10 ms poll sees them.
std::vector<int> MakeSplits(std::size_t size) {
    std::mt19937 rng(11);
    std::vector<int> splits;
    for (std::size_t done = 0; done < size;) {
        int n = 1 + int(rng() % 200);
        if (done + std::size_t(n) > size) n = int(size - done);
        splits.push_back(n);
        done += std::size_t(n);
    }
    return splits;
}

void BM_FrameReader(benchmark::State& state) {
    g_trace = 0;
    g_radioadr = 0x94;
    g_myaddr = 0xE0;
    g_sendpaced = 1;
    const Bytes stream = MakeStream(1 << 20);
    const std::vector<int> splits = MakeSplits(stream.size());
    for (auto _ : state) {
        const std::uint8_t* p = stream.data();
        for (int n : splits) {
            ProcessRadioBytes(p, n);
            p += n;
        }
        benchmark::DoNotOptimize(g_rxcarrylen);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(stream.size()));
}
BENCHMARK(BM_FrameReader)->Unit(benchmark::kMillisecond);
}  // namespace
