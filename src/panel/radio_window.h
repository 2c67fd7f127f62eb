// The "Radio Window": the operator's front panel. It is built from the
// layout table (panel/radio_layout.h) and is the view the widget-free
// tuning state (CSwlPanel) shows itself through. Creating or filling it
// never writes a setting or sends a frame: only the operator's actions do,
// through the tuning state and the main frame.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "panel/radio_layout.h"
#include "panel/swl_panel.h"
#include "platform/font.h"
#include "platform/window.h"

class CRadioWindow : public plat::Window, public PanelView {
public:
    CRadioWindow();
    ~CRadioWindow() override;

    // Creates the window over `frame` at `place` (pixels; its size is the
    // layout's), attaches it to `panel` and creates the controls of OnCreate.
    bool CreatePanel(plat::Window* frame, const plat::Rect& place, CSwlPanel* panel);
    // The controls of the slider row, the tuner, CW-memory and transverter
    // buttons, the save notice.
    void CreateSliderRow();
    // Registers the tooltip texts; false when the window is not there.
    bool CreateToolTips();

    // A created control by id (the one on show where the tuners share ids), or null.
    plat::Window* Control(int id) const;
    // The layout as placed for this window.
    const std::vector<radio_layout::Placed>& Placement() const { return placed_; }
    float ScaleX() const { return sx_; }
    float ScaleY() const { return sy_; }

    // PanelView.
    void ShowDigits(int vfo, const std::array<std::string, kDigitBoxes>& boxes) override;
    void ShowModeCaption(int vfo, char mode) override;
    void LightModeButton(char mode) override;
    void ShowFilterName(const std::string& name) override;
    void SetFilterGraphicWidth(int hz) override;
    void LightFilterButtons(int index) override;
    void ShowVfoBFilterLabel(int index) override;
    void LightBandButton(int row) override;
    void ShowStepCaption(const std::string& text) override;
    void LightStepButton(int button) override;
    void ShowStepBCaption(const std::string& text) override;
    void SetScaleResolution(int resolution) override;
    void MoveFrequencyScale(double mhz) override;
    void SetTransmitColour(int vfo, bool transmitting) override;
    void ShowPbt(int shift) override;
    void ShowMeter(int value, int type) override;
    void ShowPowerMeter(int forward, int reflected) override;
    void ShowMeterPeak(int peak, int type) override;
    void ShowStoreCaption(const std::string& text) override;
    void LightButton(unsigned id, int on) override { Light(int(id), on != 0); }
    void ShowSaveNotice() override;
    void SetControlText(unsigned id, const std::string& text) override { SetText(int(id), text); }
    void ShowControl(unsigned id, bool show) override;
    void SetSliderValue(unsigned id, int value) override;
    int SliderValue(unsigned id) const override;
    void SetDragValue(unsigned id, int value) override;
    void SetButtonOnColour(unsigned id, plat::Colour colour) override;
    void ShowRadioSilent(bool silent, const std::string& text) override;
    void SetCallSignStyle(int height, plat::Colour colour) override;

    // The window's settings place "%04d %04d" of its normal rectangle.
    std::string PlaceText() const;
    // The tuner buttons after the tuner selection changed: the radio's own
    // two for 1 to 3, the LDG tuner's eight for 4, none for 0.
    void ShowTunerButtons(int tuner);

protected:
    int OnCreate() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnClose() override;
    void OnChar(unsigned ch) override;
    void OnKeyDown(unsigned key, unsigned flags) override;
    void OnKeyUp(unsigned key, unsigned flags) override;
    void OnPaint(plat::PaintContext& pc) override;
    void OnLButtonDown(unsigned flags, plat::Point p) override;
    void OnLButtonUp(unsigned flags, plat::Point p) override;
    void OnMouseMove(unsigned flags, plat::Point p) override;
    void OnMouseWheel(unsigned flags, int delta, plat::Point p) override;
    void OnCaptureChanged() override { dragging_ = false; }

private:
    void CreateItems(bool sliderRow);
    void CreateItem(const radio_layout::Placed& p);
    void SetText(int id, const std::string& text);
    void Light(int id, bool on);

    CSwlPanel* panel_ = nullptr;
    float sx_ = 1.4f, sy_ = 1.4f;
    radio_layout::Context context_;
    std::vector<radio_layout::Placed> placed_;
    std::vector<std::unique_ptr<plat::Window>> owned_;
    std::multimap<int, plat::Window*> byId_;
    plat::Font buttonFont_, digitFontA_, digitFontB_, labelFont_;
    plat::Font callFont_;    // the call sign's own size
    int callHeight_ = 0;
    plat::Colour callColour_ = 0;
    plat::Font statusFont_;  // fixed pitch: the status lines have columns
    plat::Font drawFont_;    // the text the scales, meter and passband picture draw
    int litMode_ = 0, litBand_ = 0, litFilter_ = 0, litStep_ = 0;
    int txShown_[2] = {-1, -1};  // the digits' colours as last set: -1 none yet
    int filterAm_ = -1;          // the filter buttons' caption table as last set
    bool dragging_ = false;
    plat::Point dragFrom_{};
    // Both tuner button sets, created hidden where the tuner is another.
    std::vector<std::pair<radio_layout::Show, plat::Window*>> tunerButtons_;
};

// The one radio window (null until the main frame creates it).
extern CRadioWindow* g_radiowindow;
// Before the settings are saved: the window's place into [RADIO WINDOW]
// "LOCATION" (unchanged while the window does not exist).
void RecordRadioWindowPlace();
