// What the engine announces to the station around the radio. The engine
// sits below the devices and memories, so it cannot call them: it calls
// Announce(), and whoever registered a listener at start-up (the devices:
// CAT-out, band decoder, antenna outputs, program links, keying, meters,
// the remote link; the memories: sweep, stations, memory transfer) reacts.
// Every listener hears every announcement, in the order they registered;
// with none registered an announcement does nothing.
#pragma once
#include <cstdint>
#include <string>

namespace plat {
class Window;
}

class EngineListener {
public:
    virtual ~EngineListener() = default;

    // ---- Frequency and band fan-out ----
    // VFO A moved: the antenna outputs follow it.
    virtual void AntennaFrequency(double /*mhz*/) {}
    // The band may have changed: the band decoder sends its data.
    virtual void BandChanged() {}
    // Dual watch or split changed what the second receiver on CAT-out gets.
    virtual void SecondReceiverChanged() {}
    // The second receiver is muted (0), heard (1) or follows transmit (2).
    virtual void SecondReceiverMute(int /*how*/) {}
    // Text for the devices on CAT-out; `allPorts` sends it to every port
    // rather than to the one last addressed.
    virtual void CatOutText(const std::uint8_t* /*text*/, int /*length*/, bool /*allPorts*/) {}
    // VFO B goes to the programs' exchange file; true when a file is named
    // (the programs, not the radio, then carry the second receiver).
    virtual bool DualFrequencyFile() { return false; }
    // The radio is being initialised: what was sent to the programs is sent again.
    virtual void RadioInitialising() {}

    // ---- Transmit and keying ----
    virtual void KeyOn() {}
    virtual void KeyOff() {}
    // The panel's PTT request changed (1 keyed, 0 released).
    virtual void PttRequest(int /*on*/) {}
    virtual void KeyerSpeed(int /*wpm*/, int /*weight*/) {}
    // A tune from the panel starts: earlier tuner results no longer hold.
    virtual void TuneStarting() {}

    // ---- Meters ----
    // A meter tick: the station's own meters are asked for a reading.
    virtual void PollStationMeters() {}
    // The radio's meter reading for the control surfaces.
    virtual void SurfaceMeter(int /*value*/) {}

    // ---- Remote link ----
    // A CI-V frame for the link partner (a server's client, a client's server).
    virtual void FrameToPartner(const std::uint8_t* /*frame*/, int /*length*/) {}

    // ---- Sweep, stations and memories ----
    virtual void SweepFrequency(double /*mhz*/) {}
    // An S-meter reading for the sweep at `mhz`.
    virtual void SweepReading(double /*mhz*/, int /*level*/) {}
    // The sweep must stop (split on, transmit).
    virtual void StopSweep() {}
    // Split starts during a sweep: VFO B is kept as it stands.
    virtual void SweepKeepsVfoB(double /*mhz*/, int /*mode*/, int /*filter*/) {}
    // The station heard at `mhz` may have a name to show.
    virtual void StationFrequency(double /*mhz*/) {}
    // The memory scan goes on with the next station.
    virtual void ScanNextStation() {}
    // A memory transfer reads the radio's replies; MemoryFrequency is true
    // when the transfer took the reply.
    virtual bool MemoryFrequency(double /*mhz*/) { return false; }
    virtual void MemoryFilterWidth(int /*hz*/) {}
    virtual void MemoryMode(int /*civMode*/, int /*filter*/) {}
    virtual void MemoryContents(const std::uint8_t* /*bytes*/, int /*length*/) {}
    virtual void MemoryTransferEnds() {}
};

void AddEngineListener(EngineListener* listener);
void RemoveEngineListener(EngineListener* listener);
// The engine's side: each call reaches every registered listener.
EngineListener& Announce();

// ---- Telling the operator ----
// A message for the operator (a modal box in the program). The answer is the
// button pressed (plat::IDOK ...); 0 when nobody shows notices.
struct OperatorNotice {
    std::string text;
    std::string caption;
    unsigned kind = 0;            // the box's buttons and icon (plat::MB_...)
    plat::Window* owner = nullptr;
    // The program waits for the answer even while notices are held (a
    // question whose answer guards the transmitter).
    bool awaited = false;
};
using OperatorNoticeShower = int (*)(const OperatorNotice& notice);
void SetOperatorNoticeShower(OperatorNoticeShower shower);  // null: notices go nowhere
int TellOperator(const OperatorNotice& notice);
// While held (the frame reader's scan: a box opened inside it would leave
// the radio unread for as long as it is up), notices wait and answer their
// first button; releasing shows those that waited, in order.
void HoldOperatorNotices();
void ReleaseOperatorNotices();
