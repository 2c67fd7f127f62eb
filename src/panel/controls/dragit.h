// CDragit: the small horizontal drag scale for offsets (RIT/XIT, PBT). A
// press picks the value under the pointer and sends the owner message 351;
// dragging sets the value (beyond either edge it keeps scrolling by the zoom
// per pixel) and posts 352; a double click picks relative to the centre and
// sends 351; a right press zeroes value and pick and sends 351. wParam is
// always the control id; the owner reads GetValue / GetPicked.
#pragma once
#include <string>

#include "panel/controls/owner_drawn.h"
#include "panel/controls/scale.h"
#include "platform/font.h"

class CDragit : public COwnerDrawn {
public:
    CDragit();
    bool Create(const plat::Rect& r, plat::Window* parent, int id, int flag);
    void SetValue(double v);
    void SetRange(int low, int high);
    void SetZoom(int zoom);
    double GetValue() const { return value_; }
    double GetPicked() const { return picked_; }
    int GetZoom() const { return zoom_; }
    // Value per pixel across the range; kept current on create, resize and range.
    double Factor() const;
    int GetFlag() const { return flag_; }

protected:
    int OnCreate() override;
    void OnLButtonDown(unsigned flags, plat::Point p) override;
    void OnLButtonUp(unsigned flags, plat::Point p) override;
    void OnMouseMove(unsigned flags, plat::Point p) override;
    void OnLButtonDblClk(unsigned flags, plat::Point p) override;
    void OnRButtonDown(unsigned flags, plat::Point p) override;
    void OnCaptureChanged() override { dragging_ = false; }
    void OnPaint(plat::PaintContext& pc) override;

private:
    bool Inside(plat::Point p) const { return p.x >= 0 && p.y >= 0 && p.x < Width() && p.y < Height(); }
    void ShowName();
    plat::Font font_;
    double value_ = 0;
    double picked_ = 0;
    int low_ = 0, high_ = 0;
    int zoom_ = 1;
    int lastX_ = 0;
    int flag_ = 0;
    bool dragging_ = false;
};
