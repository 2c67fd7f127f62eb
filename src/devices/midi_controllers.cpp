#include "devices/midi_controllers.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "base/device_options.h"
#include "base/settings_store.h"
#include "base/trace_log.h"
#include "civ/civ_timers.h"
#include "devices/control_surfaces.h"
#include "devices/function_table.h"
#include "devices/key_events.h"
#include "devices/knob_tuning.h"
#include "panel/swl_panel.h"
#include "platform/message_box.h"
#include "platform/midi_in.h"
#include "platform/profile.h"
#include "platform/window.h"

int g_midimodel = 0;
int g_midiopen = 0;
MidiRow g_midiprofile[kMidiMaxRows];
int g_midirows = 0;

namespace {
constexpr const char* kSection = "CMD SETTINGS";
plat::Window* g_midiwindow = nullptr;

std::string ProfilePath() {
    const char* file = MidiModelInfo(g_midimodel).file;
    return g_cwd.empty() ? std::string(file) : g_cwd + "/" + file;
}

void CopyCut(char* dst, std::size_t size, const char* src) { std::snprintf(dst, size, "%s", src ? src : ""); }

bool SameName(const char* a, const char* b) {
    const FunctionEntry one[1] = {{b, 1}};
    return FindFunctionExact(one, a) == 1;
}

// Levels that only make sense as steps do not take a slider.
bool IsExcludedLevel(const char* setting) {
    for (const char* s : {"VFOA", "VFOB", "Filter Tune", "RIT"})
        if (SameName(setting, s)) return true;
    return false;
}

void RunButton(const MidiRow& row, int value) {
    const int action = FindFunctionExact(OfferedFunctions(), row.setting);
    WriteTracef("keyid %d, value %d", action, value);
    const int knob = FindFunctionExact(g_knobfunctions, row.setting);
    const int knobAction = knob < 0 ? 0 : knob;
    if (action < 0) return;
    WriteTracef("keyid %d, value %d, knobfunction %d", action, value, knobAction);
    const int saved = g_knobfunction;
    if (value != 0)
        ExecuteFunction(action, std::uint8_t(knobAction & 0xFF));
    else
        PostKnobButton(action);
    if (knob < 0 && action != kActTuningSelections) g_knobfunction = saved;
}

void RunLevel(const MidiRow& row, int value) {
    const int action = FindFunctionExact(g_knobfunctions, row.setting);
    if (action < 0 || IsExcludedLevel(row.setting)) return;
    g_knobabsolute = 1;
    g_knobabsvalue = g_midimodel == 4 && row.type == kMidiSlider ? 127 - value : value;
    const int saved = g_knobfunction;
    ExecuteFunction(action, 0);
    ApplyTuneStep(StepRecord{});
    g_knobabsolute = 0;
    g_knobfunction = saved;
}
}  // namespace

int MidiRelativeCount(int model, int value) {
    if (model == 4) return value == 1 ? 1 : -1;
    if (model == 3 || model == 5) return value > 64 ? value - 128 : value;
    return value - 64;
}

void LoadMidiProfile() {
    const MidiModel& m = MidiModelInfo(g_midimodel);
    const std::string path = ProfilePath();
    g_midirows = int(m.defaults.size()) < kMidiMaxRows ? int(m.defaults.size()) : kMidiMaxRows;
    for (int i = 0; i < kMidiMaxRows; ++i) g_midiprofile[i] = MidiRow{};
    for (int i = 0; i < g_midirows; ++i) {
        const MidiDefaultRow& d = m.defaults[std::size_t(i)];
        MidiRow& r = g_midiprofile[i];
        r.control = d.control;
        r.status = d.status;
        r.type = d.type;
        CopyCut(r.key, sizeof r.key, d.key);
        CopyCut(r.setting, sizeof r.setting, d.setting);
    }
    for (int i = 0; i < g_midirows; ++i) {
        MidiRow& r = g_midiprofile[i];
        const std::string v = plat::ProfileReadString(kSection, r.key, r.setting, path, 40);
        // The field holds 21 characters; a longer name is cut there.
        CopyCut(r.setting, sizeof r.setting, v.c_str());
        if (r.type == kMidiJogWheel) {
            WriteTrace("Found multi midi");
            const int action = FindFunctionExact(g_knobfunctions, r.setting);
            WriteTracef("setting %s, keyid %d", r.setting, action);
            if (action >= 0) ExecuteFunction(action, 1);
        }
    }
    SaveMidiProfile();
}

void SaveMidiProfile() {
    const std::string path = ProfilePath();
    plat::ProfileBeginBatch(path);
    for (int i = 0; i < g_midirows; ++i) plat::ProfileWriteString(kSection, g_midiprofile[i].key, g_midiprofile[i].setting, path);
    if (!plat::ProfileEndBatch()) WriteTracef("%s could not be written", path.c_str());
}

void OpenMidi() {
    // MIDI data goes to the main frame, the window of every timer.
    g_midiwindow = g_timerwindow;
    const int n = plat::MidiInGetNumDevs();
    WriteTracef("midi number of devices %d", n);
    if (n == 0 || g_midiopen) {
        WriteTrace("no devices");
    } else {
        g_midimodel = 2;
        int chosen = -1;
        for (int i = 0; i < n; ++i) {
            std::string name;
            if (!plat::MidiInGetDevCaps(i, &name)) continue;
            WriteTrace(name);
            const int model = MidiModelForName(name.c_str());
            if (model == 0) continue;
            chosen = i;
            g_midimodel = model;
            if (model == 1)
                WriteTrace("midi device found");
            else
                WriteTracef("midi device found %d", model);
        }
        if (chosen < 0 && n == 1) chosen = 0;
        if (chosen >= 0) {
            LoadMidiProfile();
            WriteTrace("midi 1");
            const int err = plat::MidiInOpen(chosen, g_midiwindow, WM_MIDI_DATA);
            WriteTrace("midi 1.1");
            if (err != 0) {
                WriteTracef("midi open error %d", err);
            } else {
                WriteTrace("midi 2");
                WriteTrace("start midi");
                g_midiopen = 1;
            }
        }
    }
    if (!g_midiopen) plat::MessageBox(nullptr, "Behringer CMD Micro not Found", "NO CMD MICRO", plat::MB_OK);
    WriteTrace("midi open exit");
}

void OnMidiReopen() {
    plat::MidiInClose();
    g_midiopen = 0;
    OpenMidi();
}

void MidiDataLong(std::uint32_t p1, std::uint32_t p2) { WriteTracef("MidiDataLong %08x, %08x", p1, p2); }

void MidiData(std::uint32_t message, std::uint32_t time) {
    WriteTracef("MidiData %08x, %08x", message, time);
    if (!g_cmdmicro) return;
    g_midifunctionknob = 0;
    int status = int(message & 0xFF);
    const int control = int(message >> 8 & 0xFF);
    int value = int(message >> 16 & 0xFF);
    WriteTracef("MidiData status %8x, control %8x, value %8x", status, control, value);
    // A note-off is a release whatever velocity it carries, and it finds its
    // button's row: the DJ2GO2 releases with note-offs on the button's own
    // channel, so its channel stays.
    if ((status & 0xF0) == 0x80) {
        value = 0;
        status |= 0x10;
    }
    if (g_midimodel != 4) status &= 0xF0;
    const int rows = MidiModelInfo(g_midimodel).rows < g_midirows ? MidiModelInfo(g_midimodel).rows : g_midirows;
    int found = -1;
    for (int i = 0; i < rows; ++i)
        if (g_midiprofile[i].status == status && g_midiprofile[i].control == control) found = i;
    if (found < 0) return;
    MidiRow& row = g_midiprofile[found];
    if ((g_midimodel == 3 || g_midimodel == 5) && row.type != kMidiButton && row.used == 0) {
        row.used = 1;
        WriteTracef("block index %d, type %d, setting %s", found, row.type, row.setting);
        return;
    }
    WriteTracef("type %d, setting %s", row.type, row.setting);
    const int count = MidiRelativeCount(g_midimodel, value);
    switch (row.type) {
    case kMidiFunctionKnob: {
        const int action = FindFunctionExact(g_knobfunctions, row.setting);
        if (action < 0) break;
        g_midifunctionknob = 1;
        const int saved = g_knobfunction;
        ExecuteFunction(action, 0);
        AccumulateTuneStep(count);
        g_knobfunction = saved;
        break;
    }
    case kMidiJogWheel:
        if (FindFunctionExact(g_knobfunctions, row.setting) >= 0) AccumulateTuneStep(count);
        break;
    case kMidiButton: RunButton(row, value); break;
    case kMidiSlider:
    case kMidiLevelKnob: RunLevel(row, value); break;
    default: break;
    }
}
