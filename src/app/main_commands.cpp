// Commands, keys, menus and the two dialog bars of the main frame.
#include "settings/trans_ops.h"
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "app/app_options.h"
#include "app/commands.h"
#include "app/keys_table.h"
#include "app/main_frame.h"
#include "base/device_options.h"
#include "base/settings_store.h"
#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/reply_processing.h"
#include "devices/control_surfaces.h"
#include "devices/cw_keyboard.h"
#include "devices/keying.h"
#include "devices/knob_tuning.h"
#include "devices/program_links.h"
#include "devices/remote_link.h"
#include "devices/tcp_accessory.h"
#include "devices/tuner.h"
#include "devices/wave_panel.h"
#include "memories/dstar_panel.h"
#include "memories/lookup.h"
#include "memories/memory_windows.h"
#include "memories/radio_memories.h"
#include "memories/recall_panels.h"
#include "memories/small_dialogs.h"
#include "memories/station_recall.h"
#include "memories/station_window.h"
#include "memories/stations.h"
#include "memories/sweep.h"
#include "panel/mirror_panel.h"
#include "panel/radio_window.h"
#include "panel/slider_row.h"
#include "panel/swl_panel.h"
#include "platform/controls.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "platform/menu.h"
#include "platform/message_box.h"

std::string g_stationlogtext;
int g_homepressed = 0;

namespace {
constexpr int kControlBarHeight = 30;
constexpr int kMonitorBarWidth = 260;

// Control bar (template 2118): the window toggles and the status text of
// the remote link.
class ControlBarWindow : public plat::Window {
public:
    void Build() {
        struct B {
            const char* text;
            int id;
        };
        constexpr B buttons[] = {{"Radio", ID_VIEW_RADIO},
                                 {"Sweep", ID_VIEW_SPECTRUM},
                                 {"Call", ID_TOGGLE_CALL_LOOKUP},
                                 {"Mirror", ID_TOGGLE_MIRROR}};
        int x = 4;
        for (const B& b : buttons) {
            auto* btn = new plat::Button;
            btn->CreateControl(b.text, {x, 3, x + 70, kControlBarHeight - 3}, this, b.id);
            if (b.id == ID_TOGGLE_CALL_LOOKUP) call = btn;
            // The mirror panel exists only for mirroring.
            if (b.id == ID_TOGGLE_MIRROR) btn->EnableWindow(g_mirror != 0);
            owned_.push_back(btn);
            x += 74;
        }
        status.CreateControl("", {x + 10, 6, x + 500, kControlBarHeight - 6}, this, IDC_STATUS_TEXT);
    }
    ~ControlBarWindow() override {
        for (plat::Window* w : owned_) delete w;
    }
    // Buttons of the bar act as the main frame's commands.
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override {
        return g_mainwin && g_mainwin->OnCommand(id, code, control);
    }
    plat::StaticText status;
    plat::Button* call = nullptr;

private:
    std::vector<plat::Window*> owned_;
};

// CI-V monitor bar (template 2126): the frames sent and received, and Clear.
class MonitorBarWindow : public plat::Window {
public:
    void Build() {
        sent.CreateControl("", {4, 4, kMonitorBarWidth - 4, 200}, this, IDC_MONITOR_SENT);
        received.CreateControl("", {4, 204, kMonitorBarWidth - 4, 400}, this, IDC_MONITOR_RECEIVED);
        clear.CreateControl("Clear", {4, 404, 80, 428}, this, ID_MONITOR_CLEAR);
    }
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override {
        return g_mainwin && g_mainwin->OnCommand(id, code, control);
    }
    plat::ListBox sent, received;
    plat::Button clear;
};

void UpdateMenus(plat::Window* w) {
    auto vis = [](int id) {
        plat::Window* c = g_mainwin ? g_mainwin->ChildById(id) : nullptr;
        return c != nullptr && c->IsWindowVisible();
    };
    plat::CheckMenuItem(w, ID_VIEW_ALWAYS_ON_TOP, g_ontop == 1);
    w->SetTopMost(g_ontop == 1);
    plat::CheckMenuItem(w, ID_VIEW_RADIO, g_radiowindow != nullptr && g_radiowindow->IsWindowVisible());
    plat::CheckMenuItem(w, ID_VIEW_SPECTRUM, g_sweeppanel != nullptr && vis(IDW_SWEEP));
    plat::EnableMenuItem(w, ID_VIEW_SPECTRUM, !g_perseus);
    plat::CheckMenuItem(w, ID_VIEW_MEMORIES, vis(IDW_STATIONS));
    plat::CheckMenuItem(w, ID_VIEW_SETTINGS, vis(IDW_SETTINGS));
    plat::CheckMenuItem(w, ID_VIEW_CONTROL_BAR, g_mainwin && g_mainwin->ControlBar() &&
                                                    g_mainwin->ControlBar()->IsWindowVisible());
    plat::EnableMenuItem(w, ID_FILE_SAVE, g_memmodified != 0);
    plat::EnableMenuItem(w, ID_FILE_SAVE_AS, g_stationcount > 0);
    plat::EnableMenuItem(w, ID_SPEECH_PROCESSOR, !g_perseus);
    plat::EnableMenuItem(w, ID_FILE_IMPORT, true);
    plat::EnableMenuItem(w, ID_FILE_EXPORT, true);
}
}  // namespace

std::string HotKeysBoxText() {
    // Each line is a key and its action; the blanks between them were set for
    // a proportional font. In the box's fixed-pitch font every action starts
    // in one column, two blanks after the longest key.
    std::vector<std::pair<std::string, std::string>> rows;
    std::size_t widest = 0;
    std::istringstream in(HotKeysText());
    for (std::string line; std::getline(in, line);) {
        std::size_t cut = line.find("  ");
        std::size_t from = cut;
        if (cut == std::string::npos) {
            // "<Shift F1> to <Shift F9> SSB Band Buttons": the key ends at its last '>'.
            cut = line.rfind('>');
            cut = cut == std::string::npos ? line.size() : cut + 1;
            from = cut;
        }
        from = line.find_first_not_of(' ', from);
        rows.emplace_back(line.substr(0, cut), from == std::string::npos ? std::string() : line.substr(from));
        widest = std::max(widest, rows.back().first.size());
    }
    std::string text;
    for (const auto& [key, action] : rows) text += key + std::string(widest + 2 - key.size(), ' ') + action + "\n";
    return text;
}

void OpenHelpDocument(plat::Window* owner) {
    const std::string path = g_cwd + "/" + kHelpFile;
    if (!plat::FileExists(path)) {
        plat::MessageBox(owner, std::string("The help file \"") + kHelpFile + "\" is missing: it is not in " + g_cwd + ".",
                         "Help", plat::MB_OK | plat::MB_ICONEXCLAMATION);
        return;
    }
    if (!plat::ShellOpen(path))
        plat::MessageBox(owner,
                         std::string("The help file \"") + kHelpFile +
                             "\" could not be opened: no program to show it was found (xdg-open).",
                         "Help", plat::MB_OK | plat::MB_ICONEXCLAMATION);
}

bool VolumeStep(int& gain, int delta) {
    const int before = gain;
    gain += delta;
    if (gain > 255) gain = 255;
    if (gain < 0) gain = 0;
    return gain != before;
}

void CMainWin::BuildMenu() {
    using plat::MenuItem;
    std::vector<MenuItem> bar = {
        {"&File",
         0,
         {{"&New", ID_FILE_NEW, {}},
          {"&Open...", ID_FILE_OPEN, {}},
          {"&Close", ID_FILE_CLOSE, {}},
          {"&Save", ID_FILE_SAVE, {}},
          {"Save &As...", ID_FILE_SAVE_AS, {}},
          {"", 0, {}},
          {"&Import...", ID_FILE_IMPORT, {}},
          {"&Export...", ID_FILE_EXPORT, {}},
          {"", 0, {}},
          {"Save Qarv Memories", ID_SAVE_RADIO_MEMORIES, {}},
          {"Restore Qarv Memories", ID_RESTORE_RADIO_MEMORIES, {}},
          {"Abort Sav/Res Mems", ID_ABORT_RADIO_MEMORIES, {}},
          {"", 0, {}},
          {"&Quit", ID_FILE_QUIT, {}}}},
        {"&View",
         0,
         {{"&Radio", ID_VIEW_RADIO, {}},
          {"S&pectrum", ID_VIEW_SPECTRUM, {}},
          {"&Memories", ID_VIEW_MEMORIES, {}},
          {"&Settings", ID_VIEW_SETTINGS, {}},
          {"&Control Bar", ID_VIEW_CONTROL_BAR, {}},
          {"Time/ UTC", ID_TIME_UTC, {}},
          {"Always On &Top", ID_VIEW_ALWAYS_ON_TOP, {}}}},
        {"&Help", 0, {{"&Help", ID_HELP_DOCUMENT, {}}, {"&Hot Keys", ID_HOT_KEYS, {}}, {"&About", ID_ABOUT, {}}}},
    };
    plat::SetWindowMenu(this, bar);
    plat::SetMenuUpdateHandler(this, UpdateMenus);
    LayOutBars();
}

void CMainWin::CreateBars() {
    auto* cb = new ControlBarWindow;
    cb->Create("", plat::WS_CHILD | plat::WS_DOCKED, {0, 0, 800, kControlBarHeight}, this, IDW_CONTROL_BAR);
    cb->Build();
    controlBar_ = cb;
    auto* mb = new MonitorBarWindow;
    mb->Create("", plat::WS_CHILD | plat::WS_DOCKED, {0, kControlBarHeight, kMonitorBarWidth, kControlBarHeight + 440},
               this, IDW_CIV_MONITOR);
    mb->Build();
    monitorBar_ = mb;
    if (g_controlbar) cb->ShowWindow(plat::SW_SHOW);
    LayOutBars();
}

void CMainWin::LayOutBars() {
    // The control bar docks across the top, the monitor bar at the left
    // below it; the client area with the child windows takes the rest.
    const plat::Rect client = GetClientRect();
    const int width = std::max(client.width(), 1);
    const int menu = plat::MenuBarHeight(this);
    const int top = menu + (controlBar_ && controlBar_->IsWindowVisible() ? kControlBarHeight : 0);
    if (controlBar_) controlBar_->MoveWindow({0, menu, width, menu + kControlBarHeight});
    const int bottom = std::max(client.bottom, top + 1);
    if (monitorBar_) monitorBar_->MoveWindow({0, top, kMonitorBarWidth, std::max(top + 440, bottom)});
    const int left = monitorBar_ && monitorBar_->IsWindowVisible() ? kMonitorBarWidth : 0;
    if (client_) client_->MoveWindow({left, top, std::max(width, left + 1), bottom});
    SettlePanelPlaces();
}

plat::Window* CMainWin::ChildById(int id) const {
    switch (id) {
    case IDW_CONTROL_BAR: return controlBar_;
    case IDW_CIV_MONITOR: return monitorBar_;
    case IDW_SWEEP: return g_sweeppanel;
    case IDW_CW_KEYBOARD: return CwKeyboardWindow();
    case IDW_WAVENODE: return g_wavepanel;
    case IDW_SETTINGS: return g_transops;
    case IDW_RECALL_MEMORY: return g_qarvmempanel;
    case IDW_MIRROR: return g_mrpanel;
    case IDW_SP_MEMORY: return g_spmemory;
    default: return MemoryWindowById(id);  // the other child windows come with their own parts
    }
}

void CMainWin::ShowStatusText(const std::string& text) {
    if (controlBar_) static_cast<ControlBarWindow*>(controlBar_)->status.SetWindowText(text);
}

bool CMainWin::OnToggleCommand(unsigned id) {
    switch (id) {
    case ID_VIEW_RADIO: ToggleWindow(ToggleRule::A, g_radiowindow); return true;
    case ID_VIEW_SPECTRUM:
        if (ModelCap(g_hassweep) && !g_perseus) ToggleWindow(ToggleRule::A, ChildById(IDW_SWEEP));
        return true;
    case ID_VIEW_MEMORIES: ToggleWindow(ToggleRule::B, ChildById(IDW_STATIONS)); return true;
    case ID_VIEW_SETTINGS:
    case ID_VIEW_SETTINGS_BAR: ToggleWindow(ToggleRule::A, ChildById(IDW_SETTINGS)); return true;
    case ID_TOGGLE_CALL_LOOKUP:
        if (g_hamcallloaded) ToggleWindow(ToggleRule::A, ChildById(IDW_CALL_LOOKUP));
        return true;
    case ID_TOGGLE_MIRROR:
        if (g_mirror)
            if (plat::Window* w = ChildById(IDW_MIRROR)) w->BringWindowToTop();
        return true;
    case ID_TOGGLE_SP_MEMORY: ToggleWindow(ToggleRule::C, ChildById(IDW_SP_MEMORY), &g_spvisible); return true;
    case ID_TOGGLE_WAVENODE:
        if (g_wavenode) ToggleWindow(ToggleRule::C, ChildById(IDW_WAVENODE), &g_wavevisible);
        return true;
    case ID_TOGGLE_DSTAR:
        if (ModelCap(g_hasdstar)) ToggleWindow(ToggleRule::C, ChildById(IDW_DSTAR), &g_dstarvisible);
        return true;
    case ID_TOGGLE_RECALL_MEMORY:
        ToggleWindow(ToggleRule::C, ChildById(IDW_RECALL_MEMORY), &g_qarvmemvisible);
        return true;
    case ID_VIEW_CONTROL_BAR:
        ToggleWindow(ToggleRule::D, controlBar_);
        g_controlbar = controlBar_ && controlBar_->IsWindowVisible() ? 1 : 0;
        LayOutBars();
        return true;
    case ID_VIEW_CIV_MONITOR:
        ToggleWindow(ToggleRule::D, monitorBar_);
        LayOutBars();
        return true;
    default: return false;
    }
}

bool CMainWin::OnCommand(unsigned id, unsigned code, plat::LPARAM control) {
    (void)code;
    (void)control;
    if (OnToggleCommand(id)) return true;
    if (OnMemoryCommand(id)) return true;
    switch (id) {
    case IDC_RADIO_WINDOW: OnSwlCommand(); return true;
    case ID_STORED_FREQ: TuneToFrequency(g_keypadfreq, 0); return true;
    case IDC_SUB_VOLUME: SetSubVolume(g_volumeb); return true;
    case IDC_VFOB_CHANGED: SendFreqToRX340(); return true;  // VFO B and the sub receiver
    case ID_MUTE:
        ToggleMute();
        if (g_swlpanel) g_swlpanel->ShowMute(g_muted);
        return true;
    case ID_SPEECH_PROCESSOR:
        if (g_perseus) return true;
        g_speech = !g_speech;
        SetSpeech(g_speech, g_speechvalue);
        return true;
    case IDC_TRANSCEIVER_SETTINGS:
        ApplySettings();
        PlaceDockedKeyboard();
        return true;
    case ID_VIEW_ALWAYS_ON_TOP:
        g_ontop = g_ontop ? 0 : 1;
        SetTopMost(g_ontop == 1);
        return true;
    case ID_HELP_DOCUMENT: OpenHelpDocument(this); return true;
    case ID_HOT_KEYS: plat::MessageBox(this, HotKeysBoxText(), "Hot Keys", plat::MB_OK | plat::MB_FIXEDPITCH); return true;
    case ID_SWEEP_START:
        if (g_sweeppanel)
            OnSweepStart(g_sweeppanel->runStart, g_sweeppanel->runStep, g_sweeppanel->runCount, g_sweeppanel->highRes != 0);
        return true;
    case ID_SWEEP_STOP: EndSweep(); return true;
    case ID_SWEEP_PICK:
        if (g_sweeppanel) OnSweepPick(g_sweeppanel->pickFreq);
        return true;
    case ID_ABORT_RADIO_MEMORIES: InitRadio(); return true;
    case ID_SEND_DSTAR_CALLS:
        SendDstarUrRpt();
        if (g_dstarpanel) g_dstarpanel->ShowCalls();  // as the radio got them, upper case
        return true;
    case ID_SEND_DSTAR_MY:
        SendDstarMy();
        if (g_dstarpanel) g_dstarpanel->ShowCalls();
        return true;
    case ID_RECALL_RADIO_MEMORY: RecallRadioMemory(g_qarvmemchannel); return true;
    case ID_MONITOR_CLEAR:
        if (auto* mb = static_cast<MonitorBarWindow*>(monitorBar_)) {
            mb->sent.ResetContent();
            mb->received.ResetContent();
        }
        return true;
    case ID_STEP_DOWN:
        if (g_swlpanel) g_swlpanel->StepDown();
        return true;
    case ID_STEP_UP:
        if (g_swlpanel) g_swlpanel->StepUp();
        return true;
    case ID_HOTKEY_AM: HotKey('4'); return true;
    case ID_HOTKEY_USB: HotKey('0'); return true;
    case ID_HOTKEY_LSB: HotKey('1'); return true;
    case ID_HOTKEY_CW: HotKey('3'); return true;
    case ID_HOTKEY_FM: HotKey('5'); return true;
    case ID_HOTKEY_RTTY: HotKey('7'); return true;
    case ID_HOTKEY_PSK: HotKey('9'); return true;
    case ID_COPY_A_TO_B:
        if (g_swlpanel) g_swlpanel->CopyAToB();
        return true;
    case ID_SWAP_AB:
        if (g_swlpanel) g_swlpanel->SwapAB();
        return true;
    case ID_TOGGLE_SPLIT:
        if (g_swlpanel) g_swlpanel->ToggleSplit();
        return true;
    case ID_CYCLE_ATTENUATOR:
        if (g_swlpanel) g_swlpanel->CycleAttenuator();
        return true;
    case ID_VOLUME_UP:
    case ID_VOLUME_UP_KEY: OnVolume(+3); return true;
    case ID_VOLUME_DOWN:
    case ID_VOLUME_DOWN_KEY: OnVolume(-3); return true;
    case ID_HOME_KEY:
        if (g_homepressed) {
            if (plat::Window* f = plat::FocusedWindow()) f->PostMessage(plat::WM_CHAR, 13);
        } else {
            FocusMainWindow();
        }
        g_homepressed = !g_homepressed;
        return true;
    case ID_STATION_LOG_TEXT: WriteTrace(g_stationlogtext); return true;
    case ID_QUIT_KEY:
    case ID_FILE_QUIT: OnQuit(); return true;
    case ID_PTT_TOGGLE: OnKeyToggle(); return true;
    case ID_CW_KEYBOARD: OnShowCwKeyboard(); return true;
    case ID_CW_SEND_TOGGLE: OnToggleCwSend(); return true;
    case ID_CW_ID_NOW: OnCwIdNow(); return true;
    default: break;
    }
    if (id >= ID_CW_MEMORY_1 && id < ID_CW_MEMORY_1 + 5) {
        RunMemoryKey(int(id - ID_CW_MEMORY_1) + 1);
        return true;
    }
    if ((id >= ID_BAND_CW_FIRST && id <= ID_BAND_CW_FIRST + 8) ||
        (id >= ID_BAND_SSB_FIRST && id <= ID_BAND_SSB_FIRST + 8)) {
        // Band buttons belong to the radio window.
        if (g_swlpanel) g_swlpanel->OnCommand(id);
        return true;
    }
    if (OnSurfaceCommand(id)) return true;
    if (OnTunerButton(id)) return true;
    // Control surfaces post the panel's own commands here.
    return g_swlpanel && g_swlpanel->OnCommand(id);
}

void CMainWin::OnSwlCommand() { OnSwl(); }

void CMainWin::HotKey(char mode) {
    if (g_swlpanel) g_swlpanel->HotKeyMode(mode);
}

void CMainWin::OnVolume(int delta) {
    VolumeStep(g_volume, delta);
    SetVolume(g_volume);
    if (g_swlpanel) {
        g_swlpanel->fn.afGain = g_volume;  // so the next state push keeps it
        g_swlpanel->SetVolumeA(g_volume);
    }
    FocusMainWindow();
}

void CMainWin::OnKeyDown(unsigned key, unsigned flags) {
    WriteTracef("key down %d", int(key));
    switch (key) {
    case plat::VK_LEFT: TuneDown(); break;
    case plat::VK_RIGHT: TuneUp(); break;
    case plat::VK_SPACE:
        // A held Space repeats: the first press keyed the radio already.
        if (g_cwtakesinput || (flags & plat::KF_REPEAT)) break;
        WriteTrace("PTT On space");
        SetPanelTransmit(1);
        keyon();
        break;
    default: break;
    }
}

void CMainWin::OnKeyUp(unsigned key, unsigned flags) {
    WriteTracef("key up %d", int(key));
    // Under X11 a held key repeats as release and press pairs; only the
    // real release lets go of the transmitter.
    const bool repeat = (flags & plat::KF_REPEAT) != 0;
    switch (key) {
    case plat::VK_SNAPSHOT:
        if (!repeat) keyon();
        break;
    case plat::VK_END:
        if (!repeat) keyoff();
        break;
    case plat::VK_SPACE:
        if (g_cwtakesinput || repeat) break;
        WriteTrace("PTT Off space");
        SetPanelTransmit(0);
        keyoff();
        break;
    default: break;
    }
}

void CMainWin::OnChar(unsigned ch) {
    WriteTracef("nChar %04X ", ch);
    const bool keypadEntry = g_swlpanel && g_swlpanel->keyA.active;
    if (ch == 27 && keypadEntry) {
        g_keyentry = 27;
        g_swlpanel->KeyDigitA();
        return;
    }
    if (!CwKeyboardOn() || keypadEntry || ch == 13) {
        // The frequency keypad.
        if ((ch >= '0' && ch <= '9') || ch == '.' || ch == 13) {
            if (g_swlpanel) {
                g_keyentry = int(ch);
                g_swlpanel->KeyDigitA();
            }
        } else if (ch == '-') {
            TuneDown();
        } else if (ch == '+') {
            TuneUp();
        }
        return;
    }
    CwKeyboardChar(ch);
}

void CMainWin::SetPanelTransmit(int on) {
    if (!g_swlpanel) return;
    g_swlpanel->transmit = on;
    g_swlpanel->ShowTransmitButton(on);
    if (g_mirror) MirrorShowTransmit(on);
}

plat::LRESULT CMainWin::WindowProc(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam) {
    if (msg == plat::WM_CLOSE && wParam == plat::kCloseBySignal) closeBySignal_ = true;
    return plat::Window::WindowProc(msg, wParam, lParam);
}

plat::LRESULT CMainWin::OnMessage(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam) {
    if (msg == WM_RECALL_ENTRY) OnRecallEntry();
    if (OnStationSocketMessage(msg, std::uintptr_t(wParam), std::intptr_t(lParam))) return 0;
    OnRemoteSocketMessage(msg, wParam, lParam);
    OnSurfaceMessage(msg, wParam, lParam);
    if (msg == WM_SOCK_GORV) OnSockGorvRead(wParam, lParam);
    return 0;
}

void CMainWin::OnMouseWheel(unsigned, int delta, plat::Point) { ::OnMouseWheel(delta); }

// The bars span the frame's width at any size; the client area takes the rest.
void CMainWin::OnSize(int, int) { LayOutBars(); }

void CMainWin::EnableCallButton() {
    if (auto* cb = static_cast<ControlBarWindow*>(controlBar_); cb && cb->call) cb->call->EnableWindow(g_hamcallloaded != 0);
}

void DoEscape() {
    WriteTrace("ESC1");
    if (g_mainwin) g_mainwin->OnChar(27);
    if (!g_cwtakesinput && (g_vfoamode == '3' || g_vfoamode == '2')) OnShowCwKeyboard();
    MyWindowFocus();
}
