// The small dialogs: "UTC World Time Stations" (tunes a time station and
// can round the PC clock to the minute), the tuning-step and AGC pickers of
// the radio window, and the about box.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/dialog.h"

constexpr unsigned ID_TIME_UTC = 3231;
constexpr unsigned ID_ABOUT = 511;
constexpr int IDC_ZERO_SECONDS = 3244;
constexpr int IDC_CURRENT_STEP = 3228;
constexpr int IDC_AGC_TEXT = 1236;

// The frequency (MHz) a time-station button chose; WM_COMMAND 1214 tunes it.
extern double g_presetfreq;

struct TimeStation {
    const char* caption;
    int id;
    double mhz;
    const char* group;
};
extern const TimeStation kTimeStations[8];

struct PickerButton {
    const char* caption;
    int id;
    int value;
};
extern const PickerButton kStepPicks[12];
extern const PickerButton kAgcButtons[3];

// "Zero Out Seconds": 30 s or more go to 59.990, less to 0.000.
plat::SystemTime ZeroedSeconds(plat::SystemTime t);

// A dialog whose controls are made from a table and freed with it.
class CSmallDialog : public plat::Dialog {
public:
    // The control with `id`, for the scripts and tests that press it.
    plat::Window* Control(int id) const;
    // A dialog run again builds its controls again.
    void OnDestroy() override { owned_.clear(); }

protected:
    // A picker's button: its value (0 for Cancel) and the dialog ended;
    // false for any other id.
    template <std::size_t N>
    bool Pick(const PickerButton (&table)[N], unsigned id, int& value) {
        return PickButton(table, N, id, value);
    }
    template <std::size_t N>
    static int ButtonFor(const PickerButton (&table)[N], int value) {
        return ButtonOfValue(table, N, value);
    }
    template <class T>
    T* Add(const std::string& text, const plat::Rect& r, int id) {
        auto c = std::make_unique<T>();
        c->CreateControl(text, r, this, id);
        T* raw = c.get();
        owned_.push_back(std::move(c));
        return raw;
    }

private:
    bool PickButton(const PickerButton* table, std::size_t count, unsigned id, int& value);
    // The button of `value`; Cancel when no button has it.
    static int ButtonOfValue(const PickerButton* table, std::size_t count, int value);
    std::vector<std::unique_ptr<plat::Control>> owned_;
};

class CWorldTime : public CSmallDialog {
public:
    void OnInitDialog() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
};

class CTuneSel : public CSmallDialog {
public:
    double step = 10000;  // Hz
    std::string text;     // the line above the buttons; empty: the step in Hz
    void OnInitDialog() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    // Enter keeps the step in force; a right click anywhere cancels.
    int DefaultButton() const override;
    void OnRButtonDown(unsigned flags, plat::Point p) override;
    // Runs the picker centred on `owner`; true when a step was chosen.
    bool Run(plat::Window* owner);
};

class CAgcDlg : public CSmallDialog {
public:
    int agc = '2';  // '3' fast, '2' medium, '1' slow
    void OnInitDialog() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    // Enter keeps the AGC in force.
    int DefaultButton() const override;
    bool Run(plat::Window* owner);
};

class CAboutProgram : public CSmallDialog {
public:
    std::string keyerVersion;  // the serial keyer's version text, empty without one
    void OnInitDialog() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
};

// WM_COMMAND 3231: the world-time dialog; anything but "Exit and Keep
// Changes" puts VFO A's frequency, mode and filter back.
void OnTimeUtc(plat::Window* frame);
// Help > About.
void OnAbout(plat::Window* frame);
