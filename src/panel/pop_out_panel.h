// What the pop-out panels of the main frame share (sweep, settings, station
// memories, call lookup, memory file name, Wave Node, D-Star, mirror
// control, scratch pad, radio-memory recall): each paints its own body, so
// no window under it shows through; the operator drags it by its body;
// closing one only hides it, the program keeps it.
#pragma once
#include <cstddef>

#include "platform/font.h"
#include "platform/paint.h"
#include "platform/window.h"

class CPopOutPanel : public plat::Window {
public:
    // `clickFocus`: whether a click on the panel takes the keyboard (the
    // small button panels leave it with the main frame).
    explicit CPopOutPanel(bool clickFocus = false);
    void OnClose() override { ShowWindow(plat::SW_HIDE); }
    // The panel's place as its "LOCATION" key keeps it: "%04d %04d" of the
    // left and top (nothing when the panel was never created).
    void RecordPlace(char* place, std::size_t size) const;
    // The colour of the body (the button face unless set).
    void SetBackground(plat::Colour c) { background_ = c; }
    plat::Colour Background() const { return background_; }

    // Called whenever a panel comes on view after start-up: the main frame
    // moves it off the windows it would cover.
    static void SetShownHook(void (*hook)(plat::Window*)) { shownHook_ = hook; }
    // The same for a window of the frame that is no pop-out panel (the CW
    // keyboard) when it comes on view.
    static void Shown(plat::Window* w) {
        if (shownHook_) shownHook_(w);
    }

protected:
    // The panel's text font: 10 design units high at the vertical scale
    // `sy`, so captions grow with the buttons they sit on.
    const plat::Font* PanelFont(double sy);

    void OnPaint(plat::PaintContext& pc) override;
    void OnShowWindow(bool shown) override;

private:
    plat::Colour background_;
    plat::Font font_;
    static inline void (*shownHook_)(plat::Window*) = nullptr;
};

// A design-unit rectangle times the panel scale factors, truncated to pixels.
plat::Rect ScaledRect(int left, int top, int right, int bottom, double sx, double sy);
