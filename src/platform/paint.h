// The small drawing context that owner-drawn windows paint through.
#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

class QPainter;

namespace plat {

class Font;

using Colour = std::uint32_t;  // 0x00BBGGRR, as the program's colour values are stored
constexpr Colour RGB(int r, int g, int b) {
    return Colour(r & 0xFF) | (Colour(g & 0xFF) << 8) | (Colour(b & 0xFF) << 16);
}
constexpr int GetRValue(Colour c) { return int(c & 0xFF); }
constexpr int GetGValue(Colour c) { return int((c >> 8) & 0xFF); }
constexpr int GetBValue(Colour c) { return int((c >> 16) & 0xFF); }

constexpr unsigned DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
                   DT_SINGLELINE = 0x20;

// Colours of the desktop's button look.
enum SysColourIndex { COLOR_WINDOWFRAME = 6, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16, COLOR_BTNTEXT = 18,
                      COLOR_BTNHIGHLIGHT = 20 };
Colour GetSysColour(int index);

// Background of text: TRANSPARENT leaves what is under it, OPAQUE fills the
// text's box with the background colour first.
constexpr int TRANSPARENT = 1, OPAQUE = 2;

class PaintContext {
public:
    explicit PaintContext(QPainter& p) : p_(p) {}
    void FillRect(const Rect& r, Colour c);
    // 1-pixel outline on the rectangle's inner edge.
    void FrameRect(const Rect& r, Colour c);
    // From (x1, y1) up to but not including (x2, y2), as the program's line
    // calls draw; `width` pixels wide.
    void Line(int x1, int y1, int x2, int y2, Colour c, int width = 1);
    // Outline with a pen of `penWidth` centred on the rectangle's inner edge,
    // interior filled with `fill`.
    void Rectangle(const Rect& r, Colour pen, int penWidth, Colour fill);
    // Filled polygon with an outline (penWidth 0: none), and an open polyline.
    void Polygon(const Point* pts, int n, Colour fill, Colour pen, int penWidth = 1);
    void Polyline(const Point* pts, int n, Colour pen, int penWidth = 1);
    void SetFont(const Font* f);
    void SetTextColour(Colour c) { text_ = c; }
    Colour GetTextColour() const { return text_; }
    void SetBkMode(int mode) { bkMode_ = mode; }
    void SetBkColour(Colour c) { bk_ = c; }
    void DrawText(const std::string& text, const Rect& r, unsigned format);
    void TextOut(int x, int y, const std::string& text);
    // Size in pixels of `text` in the current font.
    Point TextExtent(const std::string& text);
    // Copies `from` (whole) to (x, y).
    void Blit(int x, int y, class BufferedPaint& from);
    QPainter& painter() { return p_; }

private:
    QPainter& p_;
    Colour text_ = 0;
    Colour bk_ = 0xFFFFFF;
    int bkMode_ = TRANSPARENT;
};

// An off-screen picture to paint a whole control into and then copy to the
// window in one step, so a repaint never flickers. It has the pixel density
// of the window it is made for, so text and lines stay sharp on a high-DPI
// screen.
class BufferedPaint {
public:
    BufferedPaint(PaintContext& target, int width, int height);
    ~BufferedPaint();
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    PaintContext& pc() { return *pc_; }
    int Width() const { return w_; }
    int Height() const { return h_; }
    struct Impl;
    Impl* impl() { return impl_; }

private:
    Impl* impl_;
    PaintContext* pc_;
    int w_, h_;
};

}  // namespace plat
