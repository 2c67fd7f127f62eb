#include "civ/engine_events.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/types.h"

namespace {
std::vector<EngineListener*>& Listeners() {
    static std::vector<EngineListener*> listeners;
    return listeners;
}

// Hands each announcement to every listener in turn.
class Broadcast final : public EngineListener {
public:
    template <typename F>
    static void Each(F f) {
        // By index: a listener may register or leave while it is called.
        const std::vector<EngineListener*>& all = Listeners();
        for (std::size_t i = 0; i < all.size(); ++i) f(*all[i]);
    }
    template <typename F>
    static bool Any(F f) {
        bool taken = false;
        Each([&](EngineListener& l) { taken = f(l) || taken; });
        return taken;
    }

    void AntennaFrequency(double mhz) override {
        Each([=](EngineListener& l) { l.AntennaFrequency(mhz); });
    }
    void BandChanged() override {
        Each([](EngineListener& l) { l.BandChanged(); });
    }
    void SecondReceiverChanged() override {
        Each([](EngineListener& l) { l.SecondReceiverChanged(); });
    }
    void SecondReceiverMute(int how) override {
        Each([=](EngineListener& l) { l.SecondReceiverMute(how); });
    }
    void CatOutText(const std::uint8_t* text, int length, bool allPorts) override {
        Each([=](EngineListener& l) { l.CatOutText(text, length, allPorts); });
    }
    bool DualFrequencyFile() override {
        return Any([](EngineListener& l) { return l.DualFrequencyFile(); });
    }
    void RadioInitialising() override {
        Each([](EngineListener& l) { l.RadioInitialising(); });
    }
    void KeyOn() override {
        Each([](EngineListener& l) { l.KeyOn(); });
    }
    void KeyOff() override {
        Each([](EngineListener& l) { l.KeyOff(); });
    }
    void PttRequest(int on) override {
        Each([=](EngineListener& l) { l.PttRequest(on); });
    }
    void KeyerSpeed(int wpm, int weight) override {
        Each([=](EngineListener& l) { l.KeyerSpeed(wpm, weight); });
    }
    void TuneStarting() override {
        Each([](EngineListener& l) { l.TuneStarting(); });
    }
    void PollStationMeters() override {
        Each([](EngineListener& l) { l.PollStationMeters(); });
    }
    void SurfaceMeter(int value) override {
        Each([=](EngineListener& l) { l.SurfaceMeter(value); });
    }
    void FrameToPartner(const std::uint8_t* frame, int length) override {
        Each([=](EngineListener& l) { l.FrameToPartner(frame, length); });
    }
    void SweepFrequency(double mhz) override {
        Each([=](EngineListener& l) { l.SweepFrequency(mhz); });
    }
    void SweepReading(double mhz, int level) override {
        Each([=](EngineListener& l) { l.SweepReading(mhz, level); });
    }
    void StopSweep() override {
        Each([](EngineListener& l) { l.StopSweep(); });
    }
    void SweepKeepsVfoB(double mhz, int mode, int filter) override {
        Each([=](EngineListener& l) { l.SweepKeepsVfoB(mhz, mode, filter); });
    }
    void StationFrequency(double mhz) override {
        Each([=](EngineListener& l) { l.StationFrequency(mhz); });
    }
    void ScanNextStation() override {
        Each([](EngineListener& l) { l.ScanNextStation(); });
    }
    bool MemoryFrequency(double mhz) override {
        return Any([=](EngineListener& l) { return l.MemoryFrequency(mhz); });
    }
    void MemoryFilterWidth(int hz) override {
        Each([=](EngineListener& l) { l.MemoryFilterWidth(hz); });
    }
    void MemoryMode(int civMode, int filter) override {
        Each([=](EngineListener& l) { l.MemoryMode(civMode, filter); });
    }
    void MemoryContents(const std::uint8_t* bytes, int length) override {
        Each([=](EngineListener& l) { l.MemoryContents(bytes, length); });
    }
    void MemoryTransferEnds() override {
        Each([](EngineListener& l) { l.MemoryTransferEnds(); });
    }
};

OperatorNoticeShower g_noticeshower = nullptr;
}  // namespace

void AddEngineListener(EngineListener* listener) {
    auto& all = Listeners();
    if (listener && std::find(all.begin(), all.end(), listener) == all.end()) all.push_back(listener);
}

void RemoveEngineListener(EngineListener* listener) {
    auto& all = Listeners();
    all.erase(std::remove(all.begin(), all.end(), listener), all.end());
}

EngineListener& Announce() {
    static Broadcast broadcast;
    return broadcast;
}

void SetOperatorNoticeShower(OperatorNoticeShower shower) { g_noticeshower = shower; }

namespace {
bool g_noticesheld = false;
std::vector<OperatorNotice> g_heldnotices;
}  // namespace

int TellOperator(const OperatorNotice& notice) {
    if (!g_noticeshower) return 0;
    if (g_noticesheld && !notice.awaited) {
        g_heldnotices.push_back(notice);
        return (notice.kind & 0xF) == plat::MB_YESNO || (notice.kind & 0xF) == plat::MB_YESNOCANCEL ? plat::IDYES
                                                                                                   : plat::IDOK;
    }
    return g_noticeshower(notice);
}

void HoldOperatorNotices() { g_noticesheld = true; }

void ReleaseOperatorNotices() {
    g_noticesheld = false;
    std::vector<OperatorNotice> held;
    held.swap(g_heldnotices);
    for (const OperatorNotice& n : held) TellOperator(n);
}
