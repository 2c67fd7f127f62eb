// CScale: the horizontal frequency scale under the frequency display. Tick
// labels around the centre frequency, short ticks coloured by the operator's
// band privileges, the names of the bands of "bands.dat" over them. Dragging
// scrolls it: the centre follows the mouse and the owner gets message 352
// posted (wParam the control id). A double click picks the frequency under
// the pointer (GetValue, kHz) and sends the owner message 351 (wParam the id).
#pragma once
#include <string>

#include "panel/controls/owner_drawn.h"

constexpr unsigned WM_SCALE_PICKED = 351;   // a value was picked (sent)
constexpr unsigned WM_SCALE_DRAGGED = 352;  // the scale or drag tool moved (posted)

// Pixel columns to frequency: column x of a scale `width` pixels wide shows
// ColumnUnits(x) in units of 1/zoom kHz. 64-bit, so a transverter's 10 GHz
// and more at zoom 100 does not overflow.
struct ScaleGeometry {
    double centre = 0;  // MHz
    int zoom = 1;       // pixels per kHz
    int width = 0;
    long long ColumnUnits(int x) const;
    // kHz at pixel x, at least 0.
    double KhzAt(int x) const;
    // The centre after the mouse moved from lastX to x with the button held.
    double Dragged(int lastX, int x) const;
};

// a mod m, never negative: the tick of a column left of 0 Hz is the tick of
// its place, not of its sign.
inline long long FloorMod(long long a, long long m) {
    const long long r = a % m;
    return r < 0 ? r + m : r;
}

// The tick-label text of a column at `units` (1/zoom kHz) for zoom 1, 10
// or 100; empty for any other zoom.
std::string ScaleLabel(long long units, int zoom);

class CScale : public COwnerDrawn {
public:
    CScale();
    bool Create(const plat::Rect& r, plat::Window* parent, int id, double mhz);
    void SetCentre(double mhz);
    void SetZoom(int pixelsPerKhz);
    double GetValue() const { return picked_; }   // kHz
    double GetCentre() const { return centre_; }  // MHz
    int GetZoom() const { return zoom_; }
    void SetDisplayValue(int v) { display_ = v; }
    int GetDisplayValue() const { return display_; }

protected:
    void OnLButtonDown(unsigned flags, plat::Point p) override;
    void OnLButtonUp(unsigned flags, plat::Point p) override;
    void OnMouseMove(unsigned flags, plat::Point p) override;
    void OnLButtonDblClk(unsigned flags, plat::Point p) override;
    void OnCaptureChanged() override { dragging_ = false; }
    void OnPaint(plat::PaintContext& pc) override;

private:
    ScaleGeometry Geometry() const { return {centre_, zoom_, Width()}; }
    void ShowName();
    double centre_ = 0;
    double picked_ = 0;
    int zoom_ = 1;
    int lastX_ = 0;
    int display_ = 0;
    bool dragging_ = false;
};
