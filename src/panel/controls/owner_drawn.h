// What every owner-drawn control of the panels shares: it is created as a
// child from a pixel rectangle, it tells its owner (the window set with
// SetOwner, else its parent) synchronously, and a screen reader knows it by
// its caption or, for a display, by the value it shows.
#pragma once
#include <functional>
#include <string>
#include <vector>

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

    // The texts the last paint drew and the boxes it gave them (client
    // pixels): what a person can read on the control.
    struct DrawnText {
        std::string text;
        plat::Rect box;
    };
    const std::vector<DrawnText>& DrawnTexts() const { return drawn_; }

protected:
    // Draws `text` into `box` and records it; every text a control paints
    // goes through here.
    void DrawLabel(plat::PaintContext& pc, const std::string& text, const plat::Rect& box, unsigned format);
    void ForgetDrawnTexts() { drawn_.clear(); }
    // The room `text` takes in the font being painted with: the painter's
    // measure or the window's own, whichever is larger, so a box never
    // crops a glyph that reaches past the font's line height.
    plat::Point LabelSize(plat::PaintContext& pc, const std::string& text) const;
    plat::LRESULT SendToOwner(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam);
    void PostToOwner(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam);
    // WM_COMMAND `id` (lParam 0) to the owner.
    void SendCommand(unsigned id) { SendToOwner(plat::WM_COMMAND, id, 0); }

private:
    plat::Window* owner_ = nullptr;
    std::vector<DrawnText> drawn_;
};

// Tick labels along a strip `width` pixels wide: `at` is the column each
// label is centred on. Only labels whose whole box lies between the bevels
// (2 .. width - 2) are kept, so no number is shown cut at an end ("14." for
// 14.4, ".00" for -100). Boxes start at `top`.
struct TickLabel {
    std::string text;
    int at;
};
std::vector<COwnerDrawn::DrawnText> PlaceTickLabels(const std::vector<TickLabel>& labels, int width, int top,
                                                    const std::function<plat::Point(const std::string&)>& measure);

// The grey bevel the scales and the meter share: two dark lines along the top
// and left (RGB 128 outside, 63 inside), light ones (192) along the bottom
// and right.
void DrawBevel(plat::PaintContext& pc, int width, int height);
