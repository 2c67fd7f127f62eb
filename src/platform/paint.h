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

constexpr unsigned DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_SINGLELINE = 0x20;

class PaintContext {
public:
    explicit PaintContext(QPainter& p) : p_(p) {}
    void FillRect(const Rect& r, Colour c);
    void FrameRect(const Rect& r, Colour c);
    void Line(int x1, int y1, int x2, int y2, Colour c, int width = 1);
    void SetFont(const Font* f);
    void SetTextColour(Colour c) { text_ = c; }
    void DrawText(const std::string& text, const Rect& r, unsigned format);
    void TextOut(int x, int y, const std::string& text);
    // Size in pixels of `text` in the current font.
    Point TextExtent(const std::string& text);
    QPainter& painter() { return p_; }

private:
    QPainter& p_;
    Colour text_ = 0;
};

}  // namespace plat
