#include "app/main_frame.h"

#include "app/settings_window.h"

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <sstream>

#include "app/app_options.h"
#include "app/commands.h"
#include "app/engine_wiring.h"
#include "app/keys_table.h"
#include "app/panel_requests_wiring.h"
#include "app/settings_hooks.h"
#include "app/settings_load.h"
#include "app/settings_view_wiring.h"
#include "app/tuning_wiring.h"
#include "base/band_files.h"
#include "base/device_options.h"
#include "base/memory_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "base/settings_table.h"
#include "base/shell_ops.h"
#include "base/trace_log.h"
#include "base/version.h"
#include "civ/accessory_ports.h"
#include "civ/civ_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/engine_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/reply_processing.h"
#include "civ/setter_frames.h"
#include "devices/amplifiers.h"
#include "devices/cat_out.h"
#include "devices/control_surfaces.h"
#include "devices/cw_keyboard.h"
#include "devices/cw_panel.h"
#include "devices/external_meters.h"
#include "devices/keying.h"
#include "devices/program_links.h"
#include "devices/remote_link.h"
#include "devices/rotator.h"
#include "devices/switches.h"
#include "devices/tuner.h"
#include "devices/wave_panel.h"
#include "memories/dstar_panel.h"
#include "memories/lookup.h"
#include "memories/memory_windows.h"
#include "memories/radio_memories.h"
#include "memories/recall_panels.h"
#include "memories/stations.h"
#include "memories/sweep.h"
#include "memories/sweep_panel.h"
#include "panel/filter_table.h"
#include "panel/mirror_panel.h"
#include "panel/pop_out_panel.h"
#include "panel/radio_layout.h"
#include "panel/radio_window.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/menu.h"
#include "platform/message_box.h"
#include "settings/trans_ops.h"

#include <algorithm>
#include <climits>

plat::Rect g_mainrect{};
int g_noscreencheck = 1;
int g_screenlimitx = 0;
int g_screenlimity = 0;
int g_ontop = 0;
int g_ontoppending = 0;
int g_mainmaximized = 1;

plat::Font* g_textfont = nullptr;
plat::Font* g_boldfont = nullptr;
plat::Font* g_plainfont = nullptr;
plat::Font* g_microfont = nullptr;
plat::Font* g_smallfont = nullptr;
plat::Font* g_settingssmallfont = nullptr;
plat::Font* g_settingsmicrofont = nullptr;
int g_microfontsize = 14;
int g_smallfontsize = 16;
int g_settingssmallfontsize = 16;
int g_settingsmicrofontsize = 14;

CMainWin* g_mainwin = nullptr;
char g_modelname[64] = {};
int g_oldwindows = 0;
int g_newwindows = 0;

namespace {
plat::Font* MakeFont(int height, int weight) {
    auto* f = new plat::Font;
    f->Create(height, weight, "Arial");
    return f;
}

// Position and size chosen by the system.
constexpr plat::Rect kDefaultRect{};
// The size the frame opens with when the system chooses.
constexpr plat::Rect kFirstRect{0, 0, 1024, 720};
// Whether the start-up arrangement has run: shows before it are its.
bool g_panelsarranged = false;
// The client area's size the start-up arrangement went by, until the window
// manager has given the frame its own (zero after that).
plat::Point g_provisionalview{};
}  // namespace

bool ParseMainLocation(const std::string& text, plat::Rect& r) {
    std::istringstream in(text);
    int v[4];
    for (int& x : v)
        if (!(in >> x)) return false;
    r = {v[0], v[1], v[2], v[3]};
    return true;
}

bool MainRectOffDesktop(const plat::Rect& r, const plat::Rect& desktop) {
    return r.top < -10 || r.top >= desktop.bottom || (r.left >= 0 && r.left > desktop.right - 10) ||
           (r.left < 0 && r.right - r.left < 10);
}

CMainWin::CMainWin() {
    const std::string path = SettingsPathFor(plat::GetCurrentDir());
    g_textfont = MakeFont(14, plat::FW_NORMAL);
    g_boldfont = MakeFont(12, plat::FW_BOLD);
    g_plainfont = MakeFont(14, plat::FW_DONTCARE);
    g_microfontsize = ReadIniInt("RADIO WINDOW", "Micro Font", "14", path);
    g_smallfontsize = ReadIniInt("RADIO WINDOW", "Small Font", "16", path);
    g_settingssmallfontsize = ReadIniInt("RADIO WINDOW", "Settings Small Font", "16", path);
    g_settingsmicrofontsize = ReadIniInt("RADIO WINDOW", "Settings Micro Font", "14", path);
    g_microfont = MakeFont(g_microfontsize, plat::FW_BOLD);
    g_smallfont = MakeFont(g_smallfontsize, plat::FW_NORMAL);
    g_settingssmallfont = MakeFont(g_settingssmallfontsize, plat::FW_NORMAL);
    g_settingsmicrofont = MakeFont(g_settingsmicrofontsize, plat::FW_BOLD);

    g_noscreencheck = ReadIniInt("OPERATING STATUS", "NO SCREEN CHECK", "1", path);
    std::string loc = ReadIniText("MAIN WINDOW", "LOCATION", "", path);
    g_mainrect = kDefaultRect;
    if (!loc.empty() && !ParseMainLocation(loc, g_mainrect)) g_mainrect = kDefaultRect;
    const plat::Rect desktop = plat::app::DesktopRect();
    g_screenlimitx = desktop.right - 50;
    g_screenlimity = desktop.bottom - 80;
    if (g_noscreencheck == 0 && !(g_mainrect == kDefaultRect) && MainRectOffDesktop(g_mainrect, desktop))
        g_mainrect = kDefaultRect;
    g_ontop = ReadIniInt("OPERATING STATUS", "TOP", "0", path);
    if (g_ontop) g_ontoppending = 1;
    std::string maximize = ReadIniText("MAIN WINDOW", "MAXIMIZE", "TRUE", path);

    // Without a saved place the frame takes the screen, so that it fills it
    // also where no window manager maximises it.
    const plat::Rect first = desktop.width() > 0 && desktop.height() > 0 ? desktop : kFirstRect;
    Create(kVersionText, plat::WS_OVERLAPPEDWINDOW, g_mainrect == kDefaultRect ? first : g_mainrect, nullptr, 0);
    // Only the exact text "FALSE" opens the window normal.
    g_mainmaximized = maximize != "FALSE";
    ShowWindow(g_mainmaximized ? plat::SW_SHOWMAXIMIZED : plat::SW_SHOWNORMAL);
    // The menu bar goes on once the frame is on screen: a bar laid onto the
    // hidden frame keeps it from being mapped.
    BuildMenu();
}

CMainWin::~CMainWin() {
    // The exit step normally frees them; a frame that goes without it (an
    // aborted start, a test) must not leave the panel pointing at it.
    DestroyMainObjects();
    if (g_timerwindow == this) g_timerwindow = nullptr;
    if (g_mainwin == this) g_mainwin = nullptr;
    DestroyMemoryWindows();
    delete controlBar_;
    delete monitorBar_;
    delete client_;
    for (plat::Font** f : {&g_textfont, &g_boldfont, &g_plainfont, &g_microfont, &g_smallfont, &g_settingssmallfont,
                           &g_settingsmicrofont}) {
        delete *f;
        *f = nullptr;
    }
}

namespace {
// Radio types that have the radio's internal tuner, in the two lists of
// start-up (the second list adds type 1 and 12 and leaves out 22 and 17).
constexpr int kTunerTypes[] = {5, 3, 16, 20, 1, 12, 22, 23, 17, 18};
constexpr int kTunerKeepTypes[] = {5, 3, 16, 20, 22, 23, 17, 18};
constexpr int kTunerLateTypes[] = {5, 3, 16, 23, 20, 1, 12, 18};
constexpr int kLdgTuner = 4;

template <std::size_t N>
bool In(const int (&list)[N], int v) {
    for (int x : list)
        if (x == v) return true;
    return false;
}

// Buffers made by CreateMainObjects and kept for the whole run.
std::vector<std::uint8_t> g_inicache;
std::vector<std::uint16_t> g_sweepbuffer;
std::vector<std::uint8_t> g_cwringbuffer;
std::vector<std::uint8_t> g_ldgbuffer;
}  // namespace

plat::Rect PlaceChildWindow(const plat::Rect& def, const char* location, int limitx, int limity) {
    plat::Rect r = def;
    if (location == nullptr || location[0] == '\0') return r;
    // Whitespace-separated: a five-character value such as "-1920" must not
    // run into the next field.
    int x = 0, y = 0;
    if (std::sscanf(location, "%d %d", &x, &y) != 2) return r;
    if (x < -400 || x > limitx) x = 0;
    if (y < -230 || y > limity) y = 0;
    return {x, y, x + def.width(), y + def.height()};
}

int InternalTunerRule(int type, int tuner, bool* showButtons, bool* traceZero) {
    if (showButtons) *showButtons = false;
    if (traceZero) *traceZero = false;
    if (tuner == kLdgTuner) return tuner;
    if (In(kTunerTypes, type)) {
        tuner = 1;
        if (showButtons) *showButtons = true;
    }
    if (!In(kTunerKeepTypes, type)) {
        tuner = 0;
        if (traceZero) *traceZero = true;
        if (showButtons) *showButtons = false;
    }
    return tuner;
}

std::string MainTitle(double vfoA, const char* model) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%6.3f %s ", vfoA, model ? model : "");
    return std::string(buf) + kVersionText;
}

int CheckWindowsVersion() {
    int major = 0, minor = 0;
    plat::OsVersion(major, minor);
    WriteTracef("major %d, minor %d", major, minor);
    if (major < 5) g_oldwindows = 1;
    if (major > 5) g_newwindows = 1;
    return 1;
}

namespace {
// A pop-out panel's rectangle: its size at the place its section keeps,
// by the placement rule, or where it opens while the section holds none
// (the place the save writes then, so creating it changes no setting).
plat::Rect PopOutRect(const char* section, plat::Point size, const char* place) {
    const plat::Point d = DefaultWindowPlace(section);
    return PlaceChildWindow({d.x, d.y, d.x + size.x, d.y + size.y}, place, g_screenlimitx, g_screenlimity);
}
}  // namespace

// The sweep panel: its options from the settings, its place by the
// placement rule; shown when saved visible on a radio that sweeps.
void CreateSweepPanel() {
    if (g_sweeppanel == nullptr) g_sweeppanel = new CSweepPanel();
    g_sweeppanel->LoadOptions();
    const plat::Rect def{100, 100, g_bigsweep ? 760 : 480, 340};
    const plat::Rect r = PlaceChildWindow(def, g_sweepplace, g_screenlimitx, g_screenlimity);
    g_sweeppanel->Create("SweepPanel", plat::WS_CHILD | plat::WS_CLIPSIBLINGS | plat::WS_SYSMENU | plat::WS_BORDER, r, g_mainwin, IDW_SWEEP);
    if (g_sweepvisible && ModelCap(g_hassweep) && !g_perseus) g_sweeppanel->ShowWindow(plat::SW_SHOW);
}

// The radio window: its size from the layout, its place by the placement
// rule, attached to the tuning state. It shows at the end of window creation.
void CreateRadioWindow(plat::Window* frame) {
    auto* w = new CRadioWindow();
    const plat::Rect size = radio_layout::WindowRect(float(g_scalex), float(g_scaley));
    const plat::Rect r = PlaceChildWindow(size, g_radioplace, g_screenlimitx, g_screenlimity);
    if (!w->CreatePanel(frame, r, g_swlpanel)) {
        delete w;
        return;
    }
    w->CreateSliderRow();
}

void CreateMainObjects() {
    WireEngine();
    if (g_swlpanel == nullptr) g_swlpanel = new CSwlPanel(g_mainwin);
    WireTuningView();
    WirePanelRequests();
    WireSettingsView();
    g_inicache.assign(32010, 0);
    g_sweepbuffer.assign(kSweepSamples, 0);
    g_sweeptrace = g_sweepbuffer.data();
    for (short& d : g_ampdrive) d = -1;
    g_cwringbuffer.assign(kCwRingSize, 0);
    g_cwring = g_cwringbuffer.data();
    g_ldgbuffer.assign(kLdgImageSize, 0);
    g_ldgimage = g_ldgbuffer.data();
}

int CMainWin::OnCreate() {
    g_mainwin = this;
    g_timerwindow = this;
    g_panelsarranged = false;
    g_provisionalview = {};
    // Nothing toggled yet (a frame made again in one process starts afresh).
    g_lasttoggled = nullptr;
    // A panel shown later moves off the windows it would cover.
    CPopOutPanel::SetShownHook(PlaceShownPanel);
    CreateMainObjects();
    RenameNewDataFiles();
    // Painting draws straight into the window here; no memory context is kept.
    const std::string path = SettingsPathFor(plat::GetCurrentDir());
    // The trace level first, so that every later step is traced.
    LoadTraceSettings(path);
    LoadSettings(path);
    ApplyRadioLinkOptions();
    std::snprintf(g_modelname, sizeof g_modelname, "%s", RadioModelName());
    if (g_qarvstart) {
        if (g_client || g_radioserver) {
            g_firstpoll = 0;
            WriteTrace("firstpoll 0 2");
        } else {
            g_firstpoll = 1;
        }
    }
    bool tunerButtons = false, tunerZero = false;
    g_internaltuner = InternalTunerRule(g_radiotype, g_internaltuner, &tunerButtons, &tunerZero);
    if (tunerZero) WriteTrace("tuner allowed set to 0, 1");
    plat::SetAccelerators(this, MainAccelerators());
    plat::app::InstallCloseSignals(this);
    // A port that fails may have been holding the transmitter.
    g_onportlost = ReleaseAllKeying;
    StartKeying();

    // The child windows live in a scrolled client area under the bars: a
    // window larger than the screen scrolls rather than leaving its far
    // controls out of reach.
    client_ = new plat::ScrollArea;
    client_->Create("", plat::WS_CHILD | plat::WS_DOCKED | plat::WS_VISIBLE, GetClientRect(), this, 0);
    client_->SetBackground(plat::GetSysColour(plat::COLOR_BTNSHADOW));
    SetClientArea(client_);
    client_->FitToChildren();

    // 6. The sweep panel.
    CreateSweepPanel();
    WriteTrace("startup 2");
    OpenRadioPort();
    if (g_poweronoff) {
        plat::SleepMs(300);
        SetRadioPower(1);
        plat::SleepMs(2000);
    }
    WriteTrace("startup 3");
    WriteTrace("Creating SWL");
    CreateRadioWindow(this);
    WriteTrace("Creating TxOps");
    CreateSettingsWindow(this);
    CreateBars();
    WriteTrace("Creating station panel");
    CreateMemoryWindows(this);
    WriteTrace("Creating CW panel");
    CreateCwKeyboard(this);
    CreateWavePanel(this, PopOutRect("WAVE WINDOW", kWavePanelSize, g_waveplace), g_wavenode && g_wavevisible);
    CreateRecallPanel(this, PopOutRect("QARVMEM WINDOW", RecallPanelSize(), g_qarvmemplace));
    CreateMirrorPanel(this, PopOutRect("MR WINDOW", MirrorPanelSize(), g_mrplace));
    if (g_mrpanel) g_mrpanel->ShowWindow(plat::SW_SHOW);
    WriteTrace("Creating SP panel");
    CreateScratchPadPanel(this, PopOutRect("SP WINDOW", ScratchPadPanelSize(), g_spplace));
    if (g_voxstate) {
        g_swlpanel->vox = 1;
        g_swlpanel->ShowVox(1);
    }
    if (g_radiowindow && g_radiovisible) {
        g_radiowindow->ShowWindow(plat::SW_SHOW);
        g_radiowindow->BringWindowToTop();
    }

    CheckWindowsVersion();
    SetCivTimer(TIMER_ONE_SECOND, 1000);
    if (g_ppkeying || g_bandparallel) {
        if (OpenPortTalk()) {
            WriteTrace("porttalk ok");
            g_porttalkok = 1;
        } else {
            WriteTrace("porttalk failed");
        }
    }
    WriteTrace("Create progress 1");
    WriteTrace("Create progress 1.1");
    if (g_tavnag == 1) ConnectToTavn_ag();
    g_swlpanel->SetPanelTuning(g_vfoafreq, char(g_vfoamode), g_step, g_rxfilter, g_vfobfreq, char(g_vfobmode));
    WriteTrace("Create progress 1.1.1");
    LoadMemoryFile();
    WriteTrace("Create progress 1.1.2");
    FillStationList();
    WriteTrace("Create progress 1.1.3");
    if (LoadBandFiles() < 0) WriteTrace("bands.dat not read");
    WriteTrace("Create progress 1.1.4");
    WriteTrace("Create progress 1.2");
    ShowPodKnob();
    ShowStationName(g_vfoafreq);

    WriteTrace("scr 2");
    g_selvfo = 'C';
    SelectVfo('A');
    SendCiv({0x03});
    if (g_firstpoll) {
        if (ModelCap(g_hasvsc)) SendCiv({0x16, 0x4C});
        if (ModelCap(g_menudialect)) SendCiv({0x1A, 0x06});
    }
    SendCiv({0x04});
    if (g_firstpoll && ModelCap(g_hasfilterwidth)) SendCiv({0x1A, 0x03});

    WriteTrace("Create progress 2");
    if (!PortIsOff(g_pegasuscomport)) {
        OpenPegasusPort();
        InitRx331();
    }
    if (!PortIsOff(g_pttcomport)) OpenPttPort();
    g_swlpanel->ShowStepB();
    OpenCwKeyboard();
    SetModelFilterCount();
    ReadLdgFile();
    if (g_internaltuner == kLdgTuner) OpenLdgPort();
    if (g_wattmetertype) OpenPowerMeterPort();
    LoadHamCallLibrary();
    EnableCallButton();
    if (ModelCap(g_memorychannels) == 200) g_radiomemcount = 200;
    if (g_rawmode) InitRadio();

    WriteTrace("Create progress 3");
    if (g_thp) OpenThpPorts();
    WriteTrace("Create progress 3.1");
    if (!PortIsOff(g_serialabcomport) || !PortIsOff(g_serialcdcomport)) {
        WriteTrace("open serial BCD ports");
        OpenBcdPorts(g_serialabcomport, g_serialcdcomport);
    }
    WriteTrace("Create progress 3.2");
    OpenAmplifierPorts();
    OpenRotor();

    WriteTrace("Create progress 4");
    if (!PortIsOff(g_zuncomport)) OpenZunPort();
    if (!PortIsOff(g_steppircomport)) OpenSteppirPort();
    if (g_spvisible && g_spmemory) {
        g_spmemory->ShowWindow(plat::SW_SHOW);
        g_spmemory->BringWindowToTop();
        g_lasttoggled = g_spmemory;
    }
    if (g_usetmate2) OnTmate2MultiChange();

    if (g_autoprogramstart[0]) {
        WriteTrace("StartEXE");
        plat::SetCurrentDir(g_autoprogramstartfolder);
        plat::StartProgram(g_autoprogramstart);
        plat::SetCurrentDir(g_cwd);
    }
    if (g_client) ServiceClientSocket();

    WriteTrace("Create progress 5");
    if (g_mirror) {
        if (ModelCap(g_hasdualmenu)) {
            const std::uint8_t poll[] = {0xFE, 0xFE, std::uint8_t(g_radioadr), std::uint8_t(g_myaddr), 0x1A, 0x05,
                                         0x00, 0x87, 0x00, 0xFD};
            SendPoll(poll, int(sizeof poll));
        }
        if (ModelCap(g_hasdualpanel)) SetDualWatch(0, 1);
        std::uint8_t split[6];
        BuildCivHeader(split);
        split[4] = 0x0F;
        split[5] = 0xFD;
        SendPoll(split, 6);
        SelectVfoDirect('A');
        SetTimer(TIMER_POLL_SEQUENCE, unsigned(g_mirrorpoll));
    }
    g_pw1reportstate = 0;
    g_om4reportstate = 0;
    if (g_flexknob) FindFlexKnob();
    if (g_usetmate2) OpenTMate2();
    if (g_qarvmempanel) g_qarvmempanel->ShowWindow(g_qarvmemvisible ? plat::SW_SHOW : plat::SW_HIDE);
    if (In(kTunerLateTypes, g_radiotype) && g_internaltuner != kLdgTuner) {
        g_internaltuner = 1;
        // Types 1 and 12 lost their tuner at the settings step: the buttons
        // come back with it.
        if (g_radiowindow) g_radiowindow->ShowTunerButtons(g_internaltuner);
    }
    if (g_cmdmicro) OpenMidi();
    if (g_cwpopout) ApplyCwPopOut();
    if (g_ldg1000 && !PortIsOff(g_ldgcoaxcomport)) OpenLdg6();
    if (g_relayboards == 2) {
        SendToLdgCoax("CPA00000000\r");
        SendToLdgCoax("CPB00000000\r");
    }
    if (g_lp500 && !OpenLp500()) {
        plat::MessageBox(this, "LP500 device not Found", "No LP500", plat::MB_OK);
        WriteTrace("No LP500");
    }
    if (g_b26ip[0]) SendRadioInfo();
    if (g_gorvradio) OpenGorvSocket();
    if (g_denkovi) OpenDenkovi();
    if (g_usingpgxlamp) {
        // The discovery needs no socket library start of its own here.
        WriteTrace("discovery socket init worked");
        StartPGXLDiscovery();
    }
    // The D-Star panel shows at the end of start-up (only a DV radio keeps it).
    if (g_dstarvisible && g_dstarpanel) g_dstarpanel->ShowWindow(plat::SW_SHOW);
    if (g_radiowindow)
        g_radiowindow->CreateToolTips();
    else
        WriteTrace("Unable to create the ToolTip");
    plat::EnableToolTips(g_tooltip != 0);
    g_swlpanel->InitAgc();
    // Every window that shows at start has its place now: none covers another.
    ArrangeEmbeddedPanels();
    PlaceDockedKeyboard();
    WriteTrace("OnCreate exit");
    return 0;
}

void CMainWin::OpenAmplifierPorts() {
    if (!PortIsOff(g_pw1comport)) {
        g_pw1port = OpenPw1Port();
        if (g_pw1port != plat::kInvalidPort) {
            WriteTrace("set rts and dtr for PW1");
            SetRTS(1, g_pw1port);
            SetDTR(1, g_pw1port);
        } else {
            ReportAmplifierOpenFailure("PW1 open failed");
        }
    }
    if (!PortIsOff(g_om4comport)) {
        g_om4port = OpenOm4Port();
        if (g_om4port != plat::kInvalidPort) {
            WriteTrace("set rts and dtr for OM4");
            SetRTS(1, g_om4port);
            SetDTR(1, g_om4port);
        } else {
            ReportAmplifierOpenFailure("OM4 open failed");
        }
    }
    if (g_client) return;
    if (!PortIsOff(g_alpha87acomport)) {
        g_a87port = OpenA87Port();
        WriteTracef("Alpha Comm Dev %04x", unsigned(g_a87port));
    }
    if (!PortIsOff(g_acomcomport)) {
        g_acomport = OpenAcomPort();
        WriteTracef("Acom Comm Dev %04x", unsigned(g_acomport));
    }
    if (!PortIsOff(g_palstarcomport)) g_palstarport = OpenPalstarPort();
}

void CMainWin::OpenRotor() {
    const bool serial = !PortIsOff(g_rotorcomport);
    // "TAVN RG" marks the network rotor; "ROTOR TAVN" is its number there.
    if ((serial && !g_client) || g_tavnrg == 1) {
        WriteTrace("rotor open");
        if (g_tavnrg == 1)
            ConnectToTavn_rg();
        else
            g_rotorport = OpenRotorPort(g_m2rotor ? 9600 : 4800);
    }
}

void SaveMainWindowPlace(const SettingKey&, const std::string& path) {
    plat::Rect r = g_mainwin ? g_mainwin->GetNormalRect() : g_mainrect;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d %04d %04d %04d", r.left, r.top, r.right, r.bottom);
    WriteIniKey("MAIN WINDOW", "LOCATION", buf, path);
    bool maximized = g_mainwin ? g_mainwin->IsZoomed() : g_mainmaximized != 0;
    WriteIniKey("MAIN WINDOW", "MAXIMIZE", maximized ? "TRUE" : "FALSE", path);
}

// ---- Places of the embedded panels ------------------------------------------

namespace {
constexpr int kPanelGap = 4;
constexpr int kFrameMarginX = 8, kFrameMarginY = 60;
// The menu bar's height before it is built (the frame is made first).
constexpr int kMenuBarGuess = 24;

bool Collides(const plat::Rect& r, const std::vector<plat::Rect>& taken) {
    for (const plat::Rect& t : taken)
        if (r.left < t.right && t.left < r.right && r.top < t.bottom && t.top < r.bottom) return true;
    return false;
}

bool OnView(const plat::Rect& r, plat::Point limit) { return r.right <= limit.x && r.bottom <= limit.y; }

// The free place for a panel the size of `want` nearest its own place,
// right of the frame's left edge and below `top`: one that ends within
// `limit` (the screen); unless `onViewOnly`, else one whose corner is within
// `cornerLimit` (the next start keeps it there), else below everything.
// False when none is found.
bool NearestFree(const plat::Rect& want, const std::vector<plat::Rect>& taken, int top, plat::Point limit,
                 plat::Point cornerLimit, bool onViewOnly, plat::Rect* out) {
    const int w = want.width(), h = want.height();
    std::vector<int> xs{kPanelGap, want.left}, ys{top + kPanelGap, want.top};
    int lowest = top;
    for (const plat::Rect& t : taken) {
        if (t.right < INT_MAX / 4) xs.push_back(t.right + kPanelGap);
        if (t.bottom >= top) ys.push_back(t.bottom + kPanelGap);
        lowest = std::max(lowest, t.bottom);
    }
    auto distance = [&](int x, int y) {
        const long long dx = x - want.left, dy = y - want.top;
        return dx * dx + dy * dy;
    };
    for (const bool whole : {true, false}) {
        if (!whole && onViewOnly) return false;
        bool found = false;
        plat::Rect best{};
        for (int y : ys)
            for (int x : xs) {
                if (x < 0 || y < top) continue;
                const plat::Rect r{x, y, x + w, y + h};
                if (whole ? !OnView(r, limit) : x > cornerLimit.x || y > cornerLimit.y) continue;
                if (Collides(r, taken)) continue;
                const long long d = distance(x, y), b = distance(best.left, best.top);
                if (!found || d < b || (d == b && (y < best.top || (y == best.top && x < best.left)))) best = r;
                found = true;
            }
        if (found) {
            *out = best;
            return true;
        }
    }
    *out = {kPanelGap, lowest + kPanelGap, kPanelGap + w, lowest + kPanelGap + h};
    return true;
}
}  // namespace

std::vector<plat::Rect> PackPanels(const std::vector<plat::Rect>& wanted, std::vector<plat::Rect> fixed, int top,
                                   plat::Point limit, plat::Point cornerLimit) {
    std::vector<plat::Rect> placed;
    // Nothing goes under the menu and the control bar.
    fixed.push_back({INT_MIN / 4, INT_MIN / 4, INT_MAX / 4, top});
    for (const plat::Rect& want : wanted) {
        plat::Rect r = want;
        if (r.left < 0 || r.top < top || Collides(r, fixed)) {
            NearestFree(want, fixed, top, limit, cornerLimit, false, &r);
        } else if (!OnView(r, limit)) {
            // Free but reaching past the screen: the free space on view
            // comes first; scrolling is for what fits nowhere there.
            plat::Rect seen;
            if (NearestFree(want, fixed, top, limit, cornerLimit, true, &seen)) r = seen;
        }
        placed.push_back(r);
        fixed.push_back(r);
    }
    return placed;
}

std::vector<plat::Window*> EmbeddedPanels() {
    std::vector<plat::Window*> panels;
    // The radio window first: the others make room for it. The small mirror
    // panel (shown at start) gives way to the others.
    // Panels that can never show on this radio or in this mode take no room.
    plat::Window* cw = g_cwpanel && !g_cwpanel->PoppedOut() ? g_cwpanel : nullptr;
    plat::Window* sweep = ModelCap(g_hassweep) && !g_perseus ? g_sweeppanel : nullptr;
    for (plat::Window* w : std::initializer_list<plat::Window*>{
             g_radiowindow, g_transops, sweep, cw, g_qarvmempanel, g_spmemory, g_wavepanel, g_dstarpanel,
             MemoryWindowById(IDW_STATIONS), MemoryWindowById(IDW_CALL_LOOKUP), MemoryWindowById(IDW_MEMORY_FILE_NAME),
             g_mrpanel})
        if (w && w->IsCreated() && w->GetParent() == g_mainwin) panels.push_back(w);
    return panels;
}

namespace {
// The room the client area has on this screen: the desktop without the
// frame's border and title, the menu bar, the control bar and the monitor
// bar; and the corner limits of the placement rule in its pixels.
void ClientLimits(plat::Point& limit, plat::Point& corner) {
    const plat::Rect desktop = plat::app::DesktopRect();
    int top = g_mainwin ? plat::MenuBarHeight(g_mainwin) : 0;
    if (top == 0) top = kMenuBarGuess;
    int left = 0;
    if (g_mainwin) {
        if (plat::Window* bar = g_mainwin->ControlBar(); bar && bar->IsWindowVisible()) top += bar->GetWindowRect().height();
        if (plat::Window* bar = g_mainwin->MonitorBar(); bar && bar->IsWindowVisible()) left = bar->GetWindowRect().width();
    }
    limit = {desktop.width() - kFrameMarginX - left, desktop.height() - kFrameMarginY - top};
    corner = {g_screenlimitx, g_screenlimity};
    // Once the client area is laid out, it is the measure itself.
    if (g_mainwin && g_mainwin->Client()) {
        const plat::Rect view = g_mainwin->Client()->GetClientRect();
        if (view.width() > 1 && view.height() > 1) limit = {view.width(), view.height()};
    }
}

void KeepCwPlace(const plat::Window* w, const plat::Rect& r) {
    // The keyboard keeps its place in its own keys.
    if (w == g_cwpanel) {
        g_cwleft = r.left;
        g_cwtop = r.top;
    }
}

// The settings window at `place` flowed into `lines` lines.
plat::Rect SettingsAt(const plat::Rect& place, int lines) {
    const plat::Point size = g_transops->SizeFor(lines);
    return {place.left, place.top, place.left + size.x, place.top + size.y};
}

// Where a panel the operator did not drag in this run goes among the `taken`
// rectangles: its own place when that covers none and lies on view, else
// the nearest free place. The settings window may flow its pages into fewer
// lines (a wider, lower window) to find a place on view; where none has
// room it keeps its usual shape and the client area scrolls to it.
plat::Rect PlaceAmong(plat::Window* w, const std::vector<plat::Rect>& taken, plat::Point limit, plat::Point corner) {
    if (w != g_transops) return PackPanels({w->GetWindowRect()}, taken, 0, limit, corner)[0];
    const plat::Rect want = SettingsAt(w->GetWindowRect(), CTransOps::MostLines());
    std::vector<plat::Rect> fixed = taken;
    fixed.push_back({INT_MIN / 4, INT_MIN / 4, INT_MAX / 4, 0});
    int lines = CTransOps::MostLines();
    plat::Rect r = want;
    if (want.left < 0 || want.top < 0 || Collides(want, fixed) || !OnView(want, limit)) {
        bool found = false;
        for (int n = CTransOps::MostLines(); n >= CTransOps::FewestLines() && !found; --n) {
            found = NearestFree(SettingsAt(want, n), fixed, 0, limit, corner, true, &r);
            if (found) lines = n;
        }
        if (!found) r = PackPanels({want}, taken, 0, limit, corner)[0];
    }
    // The window is whole where the client area has room for it at all.
    g_transops->MoveWindow(r);
    g_transops->Flow(lines, limit.x, limit.y);
    return g_transops->GetWindowRect();
}
}  // namespace

void ArrangeEmbeddedPanels() {
    if (!g_mainwin) return;
    // The radio window and the panels the operator dragged in this run stay;
    // each other one keeps its place when it covers none of those before it
    // and lies on view, else it goes to the nearest free place.
    std::vector<plat::Rect> taken;
    std::vector<plat::Window*> pack;
    for (plat::Window* w : EmbeddedPanels()) {
        if (!w->IsWindowVisible()) continue;
        if (w == g_radiowindow || w->DraggedByOperator()) taken.push_back(w->GetWindowRect());
        else pack.push_back(w);
    }
    plat::Point limit, corner;
    ClientLimits(limit, corner);
    for (plat::Window* w : pack) {
        const plat::Rect before = w->GetWindowRect();
        const plat::Rect r = PlaceAmong(w, taken, limit, corner);
        if (!(r == before)) {
            w->MoveWindow(r);
            KeepCwPlace(w, r);
        }
        taken.push_back(r);
    }
    g_panelsarranged = true;
    g_provisionalview = limit;
}

void SettlePanelPlaces() {
    if (!g_panelsarranged || g_provisionalview.x == 0) return;
    plat::Point limit, corner;
    ClientLimits(limit, corner);
    if (limit.x == g_provisionalview.x && limit.y == g_provisionalview.y) return;
    // The frame has its size on the screen now (a window manager maximised
    // it): the start-up arrangement is checked once more against it.
    ArrangeEmbeddedPanels();
    g_provisionalview = {};
}

namespace {
// Moves `w` off the shown panels when it lies on one.
void PlacePanel(plat::Window* w) {
    std::vector<plat::Rect> taken;
    bool embedded = false;
    for (plat::Window* o : EmbeddedPanels()) {
        if (o == w) embedded = true;
        else if (o->IsWindowVisible()) taken.push_back(o->GetWindowRect());
    }
    if (!embedded) return;
    plat::Point limit, corner;
    ClientLimits(limit, corner);
    const plat::Rect want = w->GetWindowRect();
    const plat::Rect r = PlaceAmong(w, taken, limit, corner);
    if (r == want) return;
    w->MoveWindow(r);
    KeepCwPlace(w, r);
}

// Whether the CW keyboard was a window of its own at the last look.
bool g_cwwasout = false;
}  // namespace

namespace {
// The radio window shown again comes back at its own place: the panels
// shown on it meanwhile move aside, to the nearest free place.
void MakeRoomForRadioWindow() {
    const plat::Rect radio = g_radiowindow->GetWindowRect();
    std::vector<plat::Rect> taken{radio};
    std::vector<plat::Window*> moving;
    for (plat::Window* o : EmbeddedPanels()) {
        if (o == g_radiowindow || !o->IsWindowVisible()) continue;
        if (Collides(o->GetWindowRect(), {radio})) moving.push_back(o);
        else taken.push_back(o->GetWindowRect());
    }
    plat::Point limit, corner;
    ClientLimits(limit, corner);
    for (plat::Window* o : moving) {
        const plat::Rect r = PlaceAmong(o, taken, limit, corner);
        o->MoveWindow(r);
        KeepCwPlace(o, r);
        taken.push_back(r);
    }
}
}  // namespace

void PlaceShownPanel(plat::Window* w) {
    if (!g_panelsarranged || !w || !g_mainwin || w->GetParent() != g_mainwin || !w->IsWindowVisible()) return;
    if (w == g_radiowindow) return MakeRoomForRadioWindow();
    // A place the operator dragged the panel to in this run holds.
    if (!w->DraggedByOperator()) PlacePanel(w);
    // Where the client area has no room for it, the frame scrolls to it.
    plat::Point limit, corner;
    ClientLimits(limit, corner);
    if (g_mainwin->Client() && !OnView(w->GetWindowRect(), limit)) g_mainwin->Client()->ScrollTo(w->GetWindowRect());
}

void PlaceDockedKeyboard() {
    const bool out = g_cwpanel && g_cwpanel->PoppedOut();
    // Docked again by the operator: it comes back into the frame on a free place.
    if (g_cwwasout && !out && g_cwpanel && g_cwpanel->IsCreated()) PlacePanel(g_cwpanel);
    g_cwwasout = out;
}
