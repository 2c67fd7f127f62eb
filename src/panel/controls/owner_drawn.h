// What every owner-drawn control of the panels shares: it is created as a
// child from a pixel rectangle, it tells its owner (the window set with
// SetOwner, else its parent) synchronously, and a screen reader knows it by
// its caption or, for a display, by the value it shows.
#pragma once
#include <string>

#include "platform/paint.h"
#include "platform/window.h"

class COwnerDrawn : public plat::Window {
public:
    // A visible (or hidden) child of `parent` at `r` (pixels) with id `id`.
    bool CreateChild(const std::string& caption, const plat::Rect& r, plat::Window* parent, int id, bool visible = true);
    void SetOwner(plat::Window* owner) { owner_ = owner; }
    plat::Window* GetOwner() const;
    int Width() const { return GetWindowRect().width(); }
    int Height() const { return GetWindowRect().height(); }

protected:
    plat::LRESULT SendToOwner(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam);
    void PostToOwner(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam);
    // WM_COMMAND `id` (lParam 0) to the owner.
    void SendCommand(unsigned id) { SendToOwner(plat::WM_COMMAND, id, 0); }

private:
    plat::Window* owner_ = nullptr;
};

// The grey bevel the scales and the meter share: two dark lines along the top
// and left (RGB 128 outside, 63 inside), light ones (192) along the bottom
// and right.
void DrawBevel(plat::PaintContext& pc, int width, int height);
