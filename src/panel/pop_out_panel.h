// What the small pop-out panels of the main frame share (mirror control,
// scratch pad, radio-memory recall): they have no caption bar, so the
// operator drags them by their body; a click there leaves the keyboard with
// the main frame; closing one only hides it, the program keeps it.
#pragma once
#include <cstddef>

#include "platform/font.h"
#include "platform/paint.h"
#include "platform/window.h"

class CPopOutPanel : public plat::Window {
public:
    CPopOutPanel();
    void OnClose() override { ShowWindow(plat::SW_HIDE); }
    // The panel's place as its "LOCATION" key keeps it: "%04d %04d" of the
    // left and top (nothing when the panel was never created).
    void RecordPlace(char* place, std::size_t size) const;
    // The colour of the body (the button face unless set).
    void SetBackground(plat::Colour c) { background_ = c; }

protected:
    // The panel's text font: 10 design units high at the vertical scale
    // `sy`, so captions grow with the buttons they sit on.
    const plat::Font* PanelFont(double sy);

    void OnLButtonDown(unsigned flags, plat::Point p) override;
    void OnMouseMove(unsigned flags, plat::Point p) override;
    void OnLButtonUp(unsigned flags, plat::Point p) override;
    void OnCaptureChanged() override { dragging_ = false; }
    void OnPaint(plat::PaintContext& pc) override;

private:
    bool dragging_ = false;
    plat::Point grab_{};   // screen point where the drag began
    plat::Rect start_{};   // the panel's rectangle then
    plat::Colour background_;
    plat::Font font_;
};

// A design-unit rectangle times the panel scale factors, truncated to pixels.
plat::Rect ScaledRect(int left, int top, int right, int bottom, double sx, double sy);
