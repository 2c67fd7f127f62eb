// The main frame: owner of the shared fonts and of every child window, the
// target of the timers that drive the program, and the close sequence.
#pragma once
#include <string>
#include <vector>

#include "base/shared_fonts.h"
#include "platform/font.h"
#include "platform/scroll_area.h"
#include "platform/types.h"
#include "platform/window.h"

// Placement of the main frame.
extern plat::Rect g_mainrect;
extern int g_noscreencheck;
extern int g_screenlimitx;
extern int g_screenlimity;
extern int g_ontop;
extern int g_ontoppending;
// Set when the main frame opens maximised ([MAIN WINDOW] "MAXIMIZE").
extern int g_mainmaximized;

// The shared fonts (base/shared_fonts.h) are created by the constructor.
// Their configured heights, saved back by the settings store.
extern int g_microfontsize;
extern int g_smallfontsize;
extern int g_settingssmallfontsize;
extern int g_settingsmicrofontsize;

// Accelerator table of the main frame.
constexpr int IDR_ACCELERATORS = 601;

class CMainWin : public plat::Window {
public:
    CMainWin();
    ~CMainWin() override;

    int OnCreate() override;
    void OnTimer(unsigned id) override;
    void OnClose() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    void OnKeyDown(unsigned key, unsigned flags) override;
    void OnKeyUp(unsigned key, unsigned flags) override;
    // Typed characters: the frequency keypad, or the CW keyboard when it is on.
    void OnChar(unsigned ch) override;
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam) override;
    // The wheel over the main window tunes as the knobs do.
    void OnMouseWheel(unsigned flags, int delta, plat::Point p) override;
    void OnSize(int width, int height) override;
    plat::LRESULT WindowProc(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam) override;

    // True once the close sequence has finished and the loop may end.
    bool Closed() const { return closed_; }
    bool Closing() const { return closing_; }
    // The two dialog bars (null until created).
    plat::Window* ControlBar() const { return controlBar_; }
    plat::Window* MonitorBar() const { return monitorBar_; }
    // The scrolled client area under the bars that holds the child windows.
    plat::ScrollArea* Client() const { return client_; }
    // A child window by id (the toggles look windows up this way); null
    // when that window does not exist.
    plat::Window* ChildById(int id) const;
    // The control bar's status text.
    void ShowStatusText(const std::string& text);

private:
    void CreateBars();
    void OpenAmplifierPorts();
    void OpenRotor();
    void LayOutBars();
    void BuildMenu();
    void OnExitTimer();
    void DispatchTimer(unsigned id);
    void DevicePoll();
    void OnOneSecond();
    void OnMeterTick();
    void OnScanStep();
    void OnKeyingLoop();
    void OnTunerWatchdog();
    bool OnToggleCommand(unsigned id);
    void OnSwlCommand();
    void HotKey(char mode);
    void OnVolume(int delta);
    void SetPanelTransmit(int on);
    // The control bar's Call button works only with a lookup library.
    void EnableCallButton();

    bool closed_ = false;
    bool closing_ = false;        // step 1 has run; the close goes on by timer
    bool closeBySignal_ = false;  // no person to answer the close questions
    plat::Window* controlBar_ = nullptr;
    plat::Window* monitorBar_ = nullptr;
    plat::ScrollArea* client_ = nullptr;
};

extern CMainWin* g_mainwin;

// The tuning tick (timer 1): the pending tuning action, that is the end of
// a sweep, or the frequencies with the band stack (and split ended when the
// band changed).
void RunTuningTick();

// Parses "%04d %04d %04d %04d" (any blanks between the numbers) into r;
// false when the text does not hold four numbers.
bool ParseMainLocation(const std::string& text, plat::Rect& r);
// The desktop check of the constructor: true when the saved rectangle must be
// replaced by the default one.
bool MainRectOffDesktop(const plat::Rect& r, const plat::Rect& desktop);

// The radio model name text the title shows (set at start-up).
extern char g_modelname[64];
// Set by CheckWindowsVersion.
extern int g_oldwindows;
extern int g_newwindows;
// The title's frequency, the sweep marker's frequency and the external
// meter's SWR last shown.
extern double g_titlefreq;
extern double g_markerfreq;
extern int g_swrshown;
extern int g_ctssplit;
extern int g_pttcts;
extern int g_transverterhold;
// A frequency send deferred to the next meter tick.
extern int g_propagatepending;

// The next frequency of a range scan: `stepKhz` up (or down), back to
// `start` past the end limit `stop`.
double NextScanFrequency(double mhz, int stepKhz, int up, double start, double stop);
// Timer periods from the settings: below 10 ms they run at 10 ms, so a 0
// never spins.
unsigned TimerMs(long ms);
// The device poll's period: "READ TIMER" (at least 10 ms); while no
// accessory needs polling, at least kIdlePollMs, since the radio's data and
// the program's own writes then bring it forward.
constexpr unsigned kIdlePollMs = 1000;
unsigned DevicePollPeriod(bool idle, long readTimer);
// True when an accessory port or surface needs the poll at its full rate.
bool AccessoryPollNeeded();
// The second close step (TIMER_CLOSE2) and the Quit command.
void close2();
void OnQuit();

// Objects and buffers kept for the whole run.
void CreateMainObjects();
void DestroyMainObjects();
int CheckWindowsVersion();

// Placement of a child window: `def` is its default rectangle; a non-empty
// "LOCATION" text holds x and y (any blanks between them); x below -400 or
// above `limitx` becomes 0, y below -230 or above `limity` becomes 0. The
// window keeps its size.
plat::Rect PlaceChildWindow(const plat::Rect& def, const char* location, int limitx, int limity);
// Places for panels of the wanted rectangles, in order: each keeps its
// place unless it reaches above `top` (the menu and control bar), left of
// the frame or onto a `fixed` rectangle or a panel before it; then it takes
// the free place nearest the top left corner that ends within `limit`
// (the screen's size), else whose corner lies within `cornerLimit` (the
// placement rule's limits), else below everything.
std::vector<plat::Rect> PackPanels(const std::vector<plat::Rect>& wanted, std::vector<plat::Rect> fixed, int top,
                                   plat::Point limit, plat::Point cornerLimit);
// The windows that live inside the main frame's client area: the radio
// window, settings, sweep (on radios that sweep), the CW keyboard unless
// popped out, mirror (in mirror mode), radio-memory recall, scratch pad,
// station memories, call lookup, memory file name, WaveNode and D-Star.
std::vector<plat::Window*> EmbeddedPanels();
// Keeps the shown panels off one another: the radio window and the panels
// at places the operator left stay, the ones at default places go where
// they cover none. Hidden panels keep theirs (and their saved places).
void ArrangeEmbeddedPanels();
// The frame's client area got a size: when it is the first one the window
// system gave after the start-up arrangement, that arrangement runs again.
void SettlePanelPlaces();
// A panel just shown by a toggle moves off the shown panels when it lies
// on one.
void PlaceShownPanel(plat::Window* w);
// After a settings change: a CW keyboard the operator docked again comes
// back on a free place in the frame.
void PlaceDockedKeyboard();
// The internal-tuner rule of start-up for radio type `type` and "INTERNAL
// TUNER" value `tuner`: the new value (1 with tuner buttons, 0, or unchanged).
int InternalTunerRule(int type, int tuner, bool* showButtons, bool* traceZero);
// Title text of the main frame for VFO A and the model name.
std::string MainTitle(double vfoA, const char* model);

// The help document, in the working directory.
constexpr const char* kHelpFile = "qarv.pdf";
// Help > Help: opens the help document with the desktop's viewer, or says
// in a box that it is missing.
void OpenHelpDocument(plat::Window* owner);
// The "Hot Keys" box's text: the lines of HotKeysText with every action in
// one column (the box shows it in a fixed-pitch font).
std::string HotKeysBoxText();
// AF gain by a key: `delta` clamped to 0..255; true when it changed.
bool VolumeStep(int& gain, int delta);
// Escape from a control surface: Escape to the frame, the CW keyboard in CW.
void DoEscape();
// The text the station edit dialog stored for the log (command 1533).
extern std::string g_stationlogtext;
// Home key: the next press sends Enter.
extern int g_homepressed;

// Save hooks of the window-place keys.
struct SettingKey;
void SaveMainWindowPlace(const SettingKey& row, const std::string& path);
