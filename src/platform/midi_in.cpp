#include "platform/midi_in.h"

#include <alsa/asoundlib.h>
#include <poll.h>
#include <unistd.h>

#include <QSocketNotifier>

#include "platform/clock.h"
#include "platform/library.h"
#include "platform/window.h"

namespace plat {

namespace {

// The sequencer library is loaded at run time: a desktop without it still
// runs, with no MIDI devices.
#define QARV_ALSA_FUNCTIONS(X)                                                                                \
    X(snd_seq_open) X(snd_seq_close) X(snd_seq_set_client_name) X(snd_seq_create_simple_port)                 \
    X(snd_seq_connect_from) X(snd_seq_disconnect_from) X(snd_seq_poll_descriptors_count)                      \
    X(snd_seq_poll_descriptors) X(snd_seq_event_input) X(snd_seq_client_id) X(snd_seq_client_info_malloc)     \
    X(snd_seq_client_info_free) X(snd_seq_client_info_set_client) X(snd_seq_query_next_client)                \
    X(snd_seq_client_info_get_client) X(snd_seq_client_info_get_name) X(snd_seq_port_info_malloc)             \
    X(snd_seq_port_info_free) X(snd_seq_port_info_set_client) X(snd_seq_port_info_set_port)                   \
    X(snd_seq_query_next_port) X(snd_seq_port_info_get_capability) X(snd_seq_port_info_get_port)              \
    X(snd_seq_port_info_get_name)

struct AlsaApi {
#define QARV_ALSA_POINTER(f) decltype(&::f) f = nullptr;
    QARV_ALSA_FUNCTIONS(QARV_ALSA_POINTER)
#undef QARV_ALSA_POINTER
    LibraryHandle lib = nullptr;
    bool tried = false;

    bool Load() {
        if (tried) return lib != nullptr;
        tried = true;
        lib = LoadLibrary("libasound.so.2");
        if (!lib) return false;
        bool all = true;
#define QARV_ALSA_BIND(f) all = all && (f = reinterpret_cast<decltype(f)>(GetProcAddress(lib, #f))) != nullptr;
        QARV_ALSA_FUNCTIONS(QARV_ALSA_BIND)
#undef QARV_ALSA_BIND
        if (!all) {
            FreeLibrary(lib);
            lib = nullptr;
        }
        return lib != nullptr;
    }
};
AlsaApi g_alsa;

// The sequencer: one client of ours with one writable port, subscribed to
// the chosen source; events are read non-blocking.
class AlsaSource : public MidiSource {
public:
    ~AlsaSource() override {
        Close();
        if (seq_) g_alsa.snd_seq_close(seq_);
    }

    std::vector<std::string> Inputs() override {
        Scan();
        std::vector<std::string> names;
        for (const Port& p : ports_) names.push_back(p.name);
        return names;
    }

    int Open(int index) override {
        Scan();
        if (!seq_ || index < 0 || index >= int(ports_.size())) return -ENODEV;
        if (myport_ < 0) {
            myport_ = g_alsa.snd_seq_create_simple_port(seq_, "qarv in", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                                                 SND_SEQ_PORT_TYPE_APPLICATION);
            if (myport_ < 0) return myport_;
        }
        Close();
        const int r = g_alsa.snd_seq_connect_from(seq_, myport_, ports_[std::size_t(index)].client,
                                           ports_[std::size_t(index)].port);
        if (r < 0) return r;
        source_ = ports_[std::size_t(index)];
        connected_ = true;
        return 0;
    }

    void Close() override {
        if (connected_ && seq_) g_alsa.snd_seq_disconnect_from(seq_, myport_, source_.client, source_.port);
        connected_ = false;
    }

    std::vector<int> PollFds() override {
        std::vector<int> fds;
        if (!seq_) return fds;
        const int n = g_alsa.snd_seq_poll_descriptors_count(seq_, POLLIN);
        std::vector<pollfd> p(std::size_t(n > 0 ? n : 0));
        const int got = g_alsa.snd_seq_poll_descriptors(seq_, p.data(), unsigned(p.size()), POLLIN);
        for (int i = 0; i < got; ++i) fds.push_back(p[std::size_t(i)].fd);
        return fds;
    }

    std::vector<std::uint32_t> Take() override {
        std::vector<std::uint32_t> out;
        if (!seq_) return out;
        for (int guard = 0; guard < 4096; ++guard) {
            snd_seq_event_t* ev = nullptr;
            const int r = g_alsa.snd_seq_event_input(seq_, &ev);
            if (r == -ENOSPC) continue;  // an overrun: what is left still counts
            if (r < 0 || ev == nullptr) break;
            const std::uint32_t m = ToShortMessage(*ev);
            if (m != 0) out.push_back(m);
        }
        return out;
    }

private:
    struct Port {
        int client = 0;
        int port = 0;
        std::string name;
    };

    bool Connect() {
        if (seq_) return true;
        // No sequencer device, no MIDI: the controller is simply absent.
        if (access("/dev/snd/seq", R_OK | W_OK) != 0 || !g_alsa.Load()) return false;
        if (g_alsa.snd_seq_open(&seq_, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0) {
            seq_ = nullptr;
            return false;
        }
        g_alsa.snd_seq_set_client_name(seq_, "qarv");
        return true;
    }

    void Scan() {
        ports_.clear();
        if (!Connect()) return;
        snd_seq_client_info_t* cinfo = nullptr;
        snd_seq_port_info_t* pinfo = nullptr;
        if (g_alsa.snd_seq_client_info_malloc(&cinfo) < 0) return;
        if (g_alsa.snd_seq_port_info_malloc(&pinfo) < 0) {
            g_alsa.snd_seq_client_info_free(cinfo);
            return;
        }
        g_alsa.snd_seq_client_info_set_client(cinfo, -1);
        const int self = g_alsa.snd_seq_client_id(seq_);
        while (g_alsa.snd_seq_query_next_client(seq_, cinfo) >= 0) {
            const int client = g_alsa.snd_seq_client_info_get_client(cinfo);
            const std::string cname = g_alsa.snd_seq_client_info_get_name(cinfo);
            if (client == SND_SEQ_CLIENT_SYSTEM || client == self || cname == "Midi Through") continue;
            g_alsa.snd_seq_port_info_set_client(pinfo, client);
            g_alsa.snd_seq_port_info_set_port(pinfo, -1);
            while (g_alsa.snd_seq_query_next_port(seq_, pinfo) >= 0) {
                const unsigned caps = g_alsa.snd_seq_port_info_get_capability(pinfo);
                const unsigned need = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
                if ((caps & need) != need || (caps & SND_SEQ_PORT_CAP_NO_EXPORT)) continue;
                ports_.push_back({client, g_alsa.snd_seq_port_info_get_port(pinfo),
                                  cname + ": " + g_alsa.snd_seq_port_info_get_name(pinfo)});
            }
        }
        g_alsa.snd_seq_port_info_free(pinfo);
        g_alsa.snd_seq_client_info_free(cinfo);
    }

    // Back to the three bytes a MIDI input driver would give.
    static std::uint32_t ToShortMessage(const snd_seq_event_t& ev) {
        const std::uint8_t ch = ev.data.note.channel & 0x0F;
        switch (ev.type) {
        case SND_SEQ_EVENT_NOTEON:
            return PackMidi(std::uint8_t(0x90 | ch), ev.data.note.note & 0x7F, ev.data.note.velocity & 0x7F);
        case SND_SEQ_EVENT_NOTEOFF:
            return PackMidi(std::uint8_t(0x80 | ch), ev.data.note.note & 0x7F, ev.data.note.velocity & 0x7F);
        case SND_SEQ_EVENT_CONTROLLER:
            return PackMidi(std::uint8_t(0xB0 | (ev.data.control.channel & 0x0F)), ev.data.control.param & 0x7F,
                            ev.data.control.value & 0x7F);
        default: return 0;
        }
    }

    snd_seq_t* seq_ = nullptr;
    int myport_ = -1;
    bool connected_ = false;
    Port source_;
    std::vector<Port> ports_;
};

std::unique_ptr<MidiSource> g_source;
Window* g_target = nullptr;
unsigned g_msg = 0;
bool g_open = false;
std::vector<QSocketNotifier*> g_notifiers;

MidiSource& Source() {
    if (!g_source) g_source = std::make_unique<AlsaSource>();
    return *g_source;
}

void DropNotifiers() {
    for (QSocketNotifier* n : g_notifiers) delete n;
    g_notifiers.clear();
}
}  // namespace

void SetMidiSource(std::unique_ptr<MidiSource> source) {
    MidiInClose();
    g_source = std::move(source);
}

int MidiInGetNumDevs() { return int(Source().Inputs().size()); }

bool MidiInGetDevCaps(int index, std::string* name) {
    const std::vector<std::string> names = Source().Inputs();
    if (index < 0 || index >= int(names.size())) return false;
    if (name) *name = names[std::size_t(index)];
    return true;
}

int MidiInOpen(int index, Window* target, unsigned msg) {
    MidiInClose();
    const int r = Source().Open(index);
    if (r != 0) return r;
    g_target = target;
    g_msg = msg;
    g_open = true;
    for (int fd : Source().PollFds()) {
        auto* n = new QSocketNotifier(fd, QSocketNotifier::Read);
        QObject::connect(n, &QSocketNotifier::activated, [] { MidiInPump(); });
        g_notifiers.push_back(n);
    }
    return 0;
}

void MidiInClose() {
    DropNotifiers();
    if (g_open && g_source) g_source->Close();
    g_open = false;
    g_target = nullptr;
}

bool MidiInIsOpen() { return g_open; }

int MidiInPump() {
    if (!g_open) return 0;
    int n = 0;
    for (std::uint32_t m : Source().Take()) {
        if (!g_open || !IsLiveWindow(g_target)) break;
        g_target->SendMessage(g_msg, m, GetTickCount());
        ++n;
    }
    return n;
}

}  // namespace plat
