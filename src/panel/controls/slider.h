// CSlider: the owner-painted vertical level slider of the radio panel, the
// settings window and the main frame.
//
// An owner creates it with Create(rect, parent, id), gives it a range with
// SetRange(low, high) and a value with SetValue. When the operator presses,
// double-clicks or drags on it, it tells the owner synchronously with the
// message whose number is its own control id: SendMessage(id, wParam = id,
// lParam = the value). Top is `high`, bottom is `low`; the 6 pixels at either
// end snap to that end. With the keyboard focus the arrow keys move it by one
// (Up and Right up) and Page Up/Down by a tenth of the range; a screen
// reader sets its value or steps it. Each move is told to the owner as a
// click is. Setting the value from the program does not notify.
#pragma once
#include <string>

#include "panel/controls/owner_drawn.h"

// The slider's arithmetic, apart from the window.
struct SliderScale {
    int low = 0, high = 10;
    int top = 0, bottom = 0;  // pixel rows of the track
    // The value at pixel row `y`: the ends snap within 6 pixels, between
    // them linear from high at the top to low at the bottom, always within
    // [low, high].
    int ValueAt(int y) const;
    // The pixel row of `value` (clamped into the range).
    int RowOf(int value) const;
    int Clamp(int value) const;
};

class CSlider : public COwnerDrawn {
public:
    CSlider();
    bool Create(const plat::Rect& r, plat::Window* parent, int id, bool visible = true);
    void SetRange(int low, int high);
    // Clamps into the range (so a negative value in a range from 0 shows 0).
    void SetValue(int value);
    int GetValue() const { return value_; }
    int GetLow() const { return scale_.low; }
    int GetHigh() const { return scale_.high; }
    // The thumb's pixel row.
    int ThumbRow() const { return scale_.RowOf(value_); }

protected:
    void OnLButtonDown(unsigned flags, plat::Point p) override;
    void OnLButtonDblClk(unsigned flags, plat::Point p) override { OnLButtonDown(flags, p); }
    void OnLButtonUp(unsigned flags, plat::Point p) override;
    void OnMouseMove(unsigned flags, plat::Point p) override;
    void OnCaptureChanged() override { dragging_ = false; }
    void OnKeyDown(unsigned key, unsigned flags) override;
    bool AccessibleValue(int* value, int* low, int* high) const override;
    void OnAccessibleSetValue(int value) override { MoveTo(value); }
    void OnPaint(plat::PaintContext& pc) override;

private:
    void Track(int y);
    // Takes `value` (clamped) and tells the owner.
    void MoveTo(int value);
    void UpdateTrack();
    void ShowValueName();
    SliderScale scale_;
    int value_ = 0;
    bool dragging_ = false;
};
