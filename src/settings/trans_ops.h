// The "Transceiver Settings" window: one window carrying the controls of
// every page, showing one page at a time. It only edits: every change is
// reported to the main frame as WM_COMMAND 2367, whose handler
// (ApplySettings) takes the values over.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "panel/controls/bistate_button.h"
#include "panel/controls/slider.h"
#include "panel/pop_out_panel.h"
#include "platform/controls.h"
#include "platform/font.h"
#include "platform/scroll_area.h"

constexpr unsigned kSettingsChangedId = 2367;  // WM_COMMAND to the main frame
constexpr int IDC_PAGE_LIST = 2370;
constexpr int IDC_MENU_UP = 5060;
constexpr int IDC_MENU_DOWN = 5061;
constexpr unsigned kTmate2MultiId = 4508;
constexpr unsigned kMidiReopenId = 5174;

extern int g_settingspagecount;  // entries of the page list (22, 23 or 24)
extern int g_prefs3shown;        // page 2 is on show

class CTransOps : public CPopOutPanel {
public:
    CTransOps();
    ~CTransOps() override;

    void ShowPage(int page);
    void HidePages();
    // The port lists, filled without opening any port: "COM0"/"NONE" first,
    // then the ports that exist.
    void EnumerateComPorts(const std::vector<std::string>& ports);

    // Controls by id (null for an id the window does not have).
    plat::Control* Control(int id) const;
    plat::Edit* EditOf(int id) const;
    plat::CheckBox* CheckOf(int id) const;
    plat::ComboBox* ComboOf(int id) const;
    CSlider* SliderOf(int id) const;
    CBiStateButton* BiStateOf(int id) const;
    // The control of a page row.
    plat::Window* RowControl(int row) const { return row >= 0 && row < int(controls_.size()) ? controls_[row].get() : nullptr; }
    // The "%d" label under a slider row (null for other rows).
    plat::StaticText* ValueLabel(int row) const;
    // Shows the setting a slider row's position stands for in its label.
    void ShowSliderValue(int row);
    plat::ComboBox* PageList() { return &pageList_; }
    CBiStateButton* MenuUp() { return &menuUp_; }
    CBiStateButton* MenuDown() { return &menuDown_; }

    // Port-name selectors: keep the name as the list's saved name and select
    // the entry of exactly that name (none when the list has no such entry).
    void SelectPort(int listId, const char* name);
    const std::string& SavedPort(int listId) const;

    // The assignment rows of pages 17-19: labelled and filled for the surface
    // in use (again when the surface changes), selected from the saved texts.
    void RefillAssignments();
    plat::ComboBox* AssignList(int n) { return &assign_[n]; }
    const std::string& AssignLabel(int n) const { return assignLabel_[n].GetWindowText(); }
    // Copies changed selections into the active surface's saved texts.
    void ApplyAssignments();

    // The CW slider copies kept for the keyer code.
    void SetSidetoneVolume(int v) { sidetone_ = v; }
    // The key-speed slider shows the keyer's speed-pot base (g_keyercw).
    void SetKeySpeed(int base);
    int GetSidetoneVolume() const { return sidetone_; }

    int txFilterData = 0;  // item data of the last "Transmit Filter" selection
    int rotorStart = 0;    // a typed bearing waits for the next apply
    int operChange = 0, powerChange = 0;

    int OnCreate() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    void OnClose() override { ShowWindow(plat::SW_HIDE); }
    void OnPaint(plat::PaintContext& pc) override;
    // A slider reports with its own id as the message number.
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam) override;

    // design units to pixels
    plat::Rect Scaled(int l, int t, int r, int b) const;
    float ScaleX = 1.4f, ScaleY = 1.4f;

    // The window's size in pixels with the page area whole.
    plat::Point NaturalSize() const;
    // Gives the window its natural size, cut where it would reach past
    // `maxWidth` x `maxHeight` pixels from its place; the page area scrolls
    // what the window cannot show.
    void FitWithin(int maxWidth, int maxHeight);
    // The page rows flow down columns of `lines` lines (FewestLines() to
    // MostLines(), the default): fewer lines make a wider, lower window.
    plat::Point SizeFor(int lines) const;
    static int FewestLines();
    static int MostLines();
    int Lines() const { return lines_; }
    // Flows the pages into `lines` lines and gives the window that size,
    // cut at `maxWidth` x `maxHeight` (the page area scrolls the rest).
    void Flow(int lines, int maxWidth, int maxHeight);
    // The page area: every page's controls stand on its surface.
    plat::ScrollArea* PageArea() { return &pages_; }
    // Width of one column of page rows, in design units (wide enough for the
    // widest row in the window's font).
    int ColumnWidth() const { return column_; }

private:
    // A rectangle in design units on the page area's surface, in pixels.
    plat::Rect OnPage(int l, int t, int r, int b) const;
    // Width in design units that `text` needs in the window's font, with
    // `chrome` pixels of the control's own around it.
    int Units(const std::string& text, int chrome) const;
    void MeasureRows();
    void PlacePageArea();
    void FitSurface();
    void NotifyChanged();
    void OnEditKillFocus(int id);
    std::vector<std::unique_ptr<plat::Window>> controls_;
    std::vector<std::unique_ptr<plat::StaticText>> labels_;
    std::vector<int> labelOf_;  // by row: its caption label, or -1
    std::vector<int> valueOf_;  // by row: its value label (sliders), or -1
    void Place(int row, int line);
    // A slider of the page's slider strip at design x `left`, top `top`.
    void PlaceSlider(int row, int left, int top);
    std::vector<std::string> savedPorts_;  // by row
    plat::Font font_;           // the settings font, grown with the window
    plat::ScrollArea pages_;
    int column_ = 265;          // design units
    int lines_ = 19;            // lines of a column of page rows
    int sliderPitch_ = 50;      // design units
    std::vector<int> captionNeed_, fieldNeed_;  // by row, design units
    int assignCaptionNeed_ = 0, assignFieldNeed_ = 0;
    plat::ComboBox pageList_;
    plat::Font pageListFont_;  // small enough for the longest page name
    plat::ComboBox assign_[14];
    plat::StaticText assignLabel_[14];
    CBiStateButton menuUp_, menuDown_;
    int sidetone_ = 0;
};

extern CTransOps* g_transops;

// The main frame's settings work, run on the window above.
void LoadSettingsControls();
// What the Expert amplifier drive edit shows: the current band's drive, or
// the single factor.
int ShownAmpDrive(bool byBand);
// Shows a page's settings in its controls again (after its values changed).
void FillPageRows(int page);
// Shows one control's setting again (after the radio changed it).
void ShowSettingRow(int id);
// Puts `text` on the control of a row (a label showing a device's state).
void ShowRowText(int id, const char* text);
// The handler of WM_COMMAND 2367: takes every control over in a fixed order.
void ApplySettings();
// Its second half: keyer, VOX, serial lines, search, user buttons, bands.
void OnPortsChanged(int resend);

// Refused-value helpers of the edit handlers (pure).
int StepButtonDefault(int n);           // 1..6
std::string StepButtonCaption(int hz);  // "%d Hz" below 1000, else "%d kHz"
int FilterPositionDefault(int editId, bool dspWidths);

// Hooks the application sets: re-push the radio state after a serial line
// change (OnSwl with the reinitialise flag).
extern void (*g_settingsreinit)();
