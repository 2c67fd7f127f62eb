// Stand-alone simulated radio for running the program by hand or from a
// script: creates a pseudo-terminal, prints its path (and links it with
// --link), and serves until SIGTERM or SIGINT.
//
//   qarv-sim-radio [--address HEX] [--baud N] [--link PATH] [--tune-every S] [--tune-rate N] [--verbose]
//
// --tune-every S turns the simulated VFO by 1 kHz every S seconds and
// announces it as a transceive broadcast, as an operator at the radio would,
// so a person watching the program sees it follow the radio. --tune-rate N
// turns it by 10 Hz N times a second instead, as a knob spun fast does.
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sim/sim_radio.h"

namespace {
void Usage() {
    std::fprintf(stderr,
                 "usage: qarv-sim-radio [--address HEX] [--baud N] [--link PATH] [--tune-every S] [--tune-rate N] "
                 "[--verbose]\n");
}
}  // namespace

int main(int argc, char** argv) {
    unsigned address = 0x94;
    long baud = 19200;
    std::string link;
    bool verbose = false;
    int tuneEvery = 0;
    int tuneRate = 0;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool hasValue = i + 1 < argc;
        if (a == "--address" && hasValue) {
            address = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 16));
        } else if (a == "--baud" && hasValue) {
            baud = std::strtol(argv[++i], nullptr, 10);
        } else if (a == "--link" && hasValue) {
            link = argv[++i];
        } else if (a == "--tune-every" && hasValue) {
            tuneEvery = std::atoi(argv[++i]);
        } else if (a == "--tune-rate" && hasValue) {
            tuneRate = std::atoi(argv[++i]);
        } else if (a == "--verbose") {
            verbose = true;
        } else {
            Usage();
            return 2;
        }
    }
    if (address == 0 || address > 0xDF) {
        std::fprintf(stderr, "qarv-sim-radio: address must be 01..DF\n");
        return 2;
    }

    // Block the stop signals before the server thread starts, so that only
    // sigwait below sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    sim::SimRadio radio(static_cast<std::uint8_t>(address), baud);
    if (!radio.ok()) {
        std::fprintf(stderr, "qarv-sim-radio: cannot create a pseudo-terminal\n");
        return 1;
    }
    if (!link.empty() && !radio.link(link)) {
        std::fprintf(stderr, "qarv-sim-radio: cannot link %s\n", link.c_str());
        return 1;
    }
    std::printf("%s\n", radio.slavePath().c_str());
    std::fflush(stdout);
    radio.start();

    int ticks = 0;
    int step = 1000;
    for (bool stopping = false; !stopping;) {
        const long waitMs = tuneRate > 0 && tuneRate <= 1000 ? 1000 / tuneRate : 200;
        timespec wait{0, waitMs * 1000 * 1000};
        int sig = sigtimedwait(&stopSignals, nullptr, &wait);
        stopping = sig == SIGTERM || sig == SIGINT;
        if (tuneRate > 0 && !stopping) {
            radio.setFrequency(radio.frequency() + 10);
            radio.sendTransceiveFrequency();
        } else if (tuneEvery > 0 && ++ticks >= tuneEvery * 5) {
            ticks = 0;
            // Wander 10 kHz up, then back down, and so on.
            static int moved = 0;
            if (moved == 10 || moved == -10) step = -step;
            moved += step > 0 ? 1 : -1;
            radio.setFrequency(radio.frequency() + step);
            radio.sendTransceiveFrequency();
        }
        // The log is for tests; a long run keeps it short.
        auto frames = radio.takeFrames();
        if (verbose) {
            for (const auto& frame : frames) {
                for (std::uint8_t b : frame) std::fprintf(stderr, "%02X ", b);
                std::fprintf(stderr, "\n");
            }
        }
    }
    radio.stop();
    if (!link.empty()) std::remove(link.c_str());
    return 0;
}
