// MIDI input over the ALSA sequencer. Input devices are the readable,
// subscribable sequencer ports (the system and "Midi Through" clients left
// out), named "<client name>: <port name>". An open device delivers each
// short message on the UI thread, synchronously, to a window as message
// `msg` with wParam = status | data1 << 8 | data2 << 16 and lParam = the
// tick count. Without a sequencer (no /dev/snd/seq) there are no devices.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

class Window;

// Where MIDI comes from: the sequencer, or a stand-in under test.
class MidiSource {
public:
    virtual ~MidiSource() = default;
    virtual std::vector<std::string> Inputs() = 0;
    // 0 when open, else an error code.
    virtual int Open(int index) = 0;
    virtual void Close() = 0;
    // Descriptors that become readable when messages wait (may be none).
    virtual std::vector<int> PollFds() = 0;
    // Takes the short messages that have arrived (never waits).
    virtual std::vector<std::uint32_t> Take() = 0;
};

// Replaces the sequencer (tests); null restores it.
void SetMidiSource(std::unique_ptr<MidiSource> source);

int MidiInGetNumDevs();
// The device's name; false for an index out of range.
bool MidiInGetDevCaps(int index, std::string* name);
// Opens device `index` for `target`; 0 on success, else an error code.
int MidiInOpen(int index, Window* target, unsigned msg);
void MidiInClose();
bool MidiInIsOpen();
// Delivers what has arrived now (the loop does this when the sequencer's
// descriptors turn readable; tests call it).
int MidiInPump();

// Packs a short message the way MidiInOpen delivers it.
constexpr std::uint32_t PackMidi(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    return std::uint32_t(status) | std::uint32_t(data1) << 8 | std::uint32_t(data2) << 16;
}

}  // namespace plat
