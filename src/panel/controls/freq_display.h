// CFreqDisplay: the large frequency readout, yellow digits on black grouped
// as MHz.kHz.Hz. Clicking it (or typing on it) opens an edit over it for a
// new frequency; while it is open the radio's frequency reports are held off
// (g_tuning). Whatever ends the entry releases the hold, hides the edit, moves
// the focus to the parent and sends the parent WM_COMMAND with the display's
// id; the parent reads the new value with GetValue (0: nothing was entered).
#pragma once
#include <string>

#include "panel/controls/numeric_edit.h"
#include "panel/controls/owner_drawn.h"

constexpr int IDC_FREQ_EDIT = 999;

// The readout of `mhz`: "%09.6f" below 100 MHz, "%09.5f" below 1000, else
// "%09.4f" (wider from 10 GHz on); unless `removeExtraDecimal`, a second
// point after the kHz digits (14.025.000, 144.300.00, 1296.100.0); below
// 10 MHz a blank in place of the leading 0. Empty for 0.
std::string ReadoutText(double mhz, bool removeExtraDecimal);

class CFreqDisplay : public COwnerDrawn {
public:
    CFreqDisplay();
    virtual bool Create(const plat::Rect& r, plat::Window* parent, int id, double mhz);
    void SetValue(double mhz);
    double GetValue() const { return value_; }
    bool InEntry() const { return entry_; }
    CNumericEdit& Edit() { return edit_; }
    void SetTextColour(plat::Colour c);

protected:
    int OnCreate() override;
    void OnPaint(plat::PaintContext& pc) override;
    void OnLButtonDown(unsigned flags, plat::Point p) override;
    void OnChar(unsigned ch) override;
    void OnKillFocus(plat::Window*) override { Invalidate(); }
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;

private:
    void StartEntry();
    void EndEntry();
    void ShowName();
    double value_ = 0;
    bool entry_ = false;
    plat::Colour text_;
    CNumericEdit edit_;
};
