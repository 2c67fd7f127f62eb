#include "platform/paint.h"

#include <QFontMetrics>
#include <QPainter>

#include "platform/font.h"
#include "platform/font_impl.h"

namespace plat {
namespace {
QColor ToQ(Colour c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
QRect ToQ(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }
}  // namespace

void PaintContext::FillRect(const Rect& r, Colour c) { p_.fillRect(ToQ(r), ToQ(c)); }

void PaintContext::FrameRect(const Rect& r, Colour c) {
    p_.setPen(ToQ(c));
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
}

void PaintContext::Line(int x1, int y1, int x2, int y2, Colour c, int width) {
    p_.setPen(QPen(ToQ(c), width));
    p_.drawLine(x1, y1, x2, y2);
}

void PaintContext::SetFont(const Font* f) {
    if (f && f->impl()) p_.setFont(f->impl()->font);
}

void PaintContext::DrawText(const std::string& text, const Rect& r, unsigned format) {
    int flags = 0;
    flags |= (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    flags |= (format & DT_VCENTER) ? Qt::AlignVCenter : Qt::AlignTop;
    p_.setPen(ToQ(text_));
    p_.drawText(ToQ(r), flags, QString::fromLatin1(text.c_str()));
}

void PaintContext::TextOut(int x, int y, const std::string& text) {
    p_.setPen(ToQ(text_));
    QFontMetrics fm(p_.font());
    p_.drawText(x, y + fm.ascent(), QString::fromLatin1(text.c_str()));
}

Point PaintContext::TextExtent(const std::string& text) {
    QFontMetrics fm(p_.font());
    return {fm.horizontalAdvance(QString::fromLatin1(text.c_str())), fm.height()};
}

}  // namespace plat
