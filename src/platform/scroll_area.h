// A scrolled area inside a window: the window places the area (its visible
// part) like any child, and hands it the controls that live on the larger
// surface behind it. The controls stay the owner's children for messages;
// only their on-screen place moves onto the surface, so nothing else about
// them changes. Scroll bars appear when the surface is larger than the area.
#pragma once
#include "platform/paint.h"
#include "platform/window.h"

class QObject;
class QScrollArea;

namespace plat {

class ScrollArea : public Window {
public:
    ~ScrollArea() override;
    // Puts `child`'s widget onto the surface, keeping its rectangle (now in
    // surface pixels) and whether it is shown. A list or drawn control put
    // there takes the wheel only while it has the focus; otherwise the wheel
    // scrolls.
    void Adopt(Window* child);
    // The size of the surface in pixels; the area scrolls over it.
    void SetSurfaceSize(int width, int height);
    // From now on the surface grows and shrinks with the windows on it:
    // it holds every shown child whole, and is never smaller than the view
    // (a frame's client area).
    void FitToChildren();
    // Shows the bars the surface needs in the area's present size (after
    // the area was moved or resized).
    void UpdateBars();
    Point SurfaceSize() const { return surface_; }
    // Fill of the surface (and of the area around a small surface).
    void SetBackground(Colour c);
    // The surface pixel at the area's top left corner.
    Point ScrollPos() const;
    // The width of a vertical scroll bar (the height of a horizontal one).
    int BarExtent() const;
    // True when the surface does not fit and a scroll bar is shown.
    bool Scrolls() const;
    // The part of the area the surface shows through (without the bars),
    // in the area's own pixels.
    Rect ViewRect() const;
    // Scrolls so that the surface rectangle `r` is on view, as far as the
    // view holds it.
    void ScrollTo(const Rect& r);

protected:
    QWidget* CreateNative(QWidget* parent) override;

private:
    QScrollArea* area() const;
    void Fit();
    Point surface_{0, 0};
    bool fitting_ = false;
    QObject* watcher_ = nullptr;  // fits the surface; goes with this object
    friend class FitWatcher;
};

}  // namespace plat
