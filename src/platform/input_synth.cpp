#include "platform/input_synth.h"

#include "platform/files.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointingDevice>
#include <QScreen>
#include <QWheelEvent>

#include "platform/keys.h"
#include "platform/window.h"
#include "platform/window_impl.h"

namespace plat {
namespace {
QWidget* Target(Window* w) { return w && IsLiveWindow(w) && w->impl() ? w->impl()->widget.data() : nullptr; }

Qt::MouseButton QButton(synth::Button b) {
    switch (b) {
    case synth::Button::Right: return Qt::RightButton;
    case synth::Button::Middle: return Qt::MiddleButton;
    case synth::Button::Left: break;
    }
    return Qt::LeftButton;
}

Qt::MouseButtons Held(unsigned mk) {
    Qt::MouseButtons b;
    if (mk & MK_LBUTTON) b |= Qt::LeftButton;
    if (mk & MK_RBUTTON) b |= Qt::RightButton;
    if (mk & MK_MBUTTON) b |= Qt::MiddleButton;
    return b;
}

void SendMouse(Window* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, Point p) {
    QWidget* q = Target(w);
    if (!q) return;
    const QPointF local(p.x, p.y);
    QMouseEvent ev(type, local, local, q->mapToGlobal(local), button, buttons, Qt::NoModifier,
                   QPointingDevice::primaryPointingDevice());
    QApplication::sendEvent(q, &ev);
}

int QtKeyOf(unsigned vk) {
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + int(vk - 'A');
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + int(vk - '0');
    if (vk >= VK_F1 && vk <= VK_F12) return Qt::Key_F1 + int(vk - VK_F1);
    switch (vk) {
    case VK_BACK: return Qt::Key_Backspace;
    case VK_TAB: return Qt::Key_Tab;
    case VK_RETURN: return Qt::Key_Return;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_SPACE: return Qt::Key_Space;
    case VK_LEFT: return Qt::Key_Left;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_UP: return Qt::Key_Up;
    case VK_DOWN: return Qt::Key_Down;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_HOME: return Qt::Key_Home;
    case VK_END: return Qt::Key_End;
    case VK_SNAPSHOT: return Qt::Key_Print;
    default: return 0;
    }
}

void SendKeyHalf(QWidget* q, QEvent::Type type, int key, const QString& text, bool autoRepeat = false) {
    QKeyEvent ev(type, key, Qt::NoModifier, text, autoRepeat);
    QApplication::sendEvent(q, &ev);
}

void SendKey(QWidget* q, int key, const QString& text) {
    SendKeyHalf(q, QEvent::KeyPress, key, text);
    SendKeyHalf(q, QEvent::KeyRelease, key, text);
}

QString KeyText(unsigned vk) {
    if (vk == VK_RETURN) return "\r";
    if (vk == VK_BACK) return "\b";
    if (vk == VK_ESCAPE) return QString(QChar(27));
    if (vk == VK_SPACE) return " ";
    if (vk >= '0' && vk <= '9') return QString(QChar(char16_t(vk)));
    if (vk >= 'A' && vk <= 'Z') return QString(QChar(char16_t(vk - 'A' + 'a')));
    return {};
}
}  // namespace

namespace synth {
void Press(Window* w, Button b, Point p) { SendMouse(w, QEvent::MouseButtonPress, QButton(b), QButton(b), p); }
void Release(Window* w, Button b, Point p) { SendMouse(w, QEvent::MouseButtonRelease, QButton(b), Qt::NoButton, p); }
void DoubleClick(Window* w, Button b, Point p) {
    // As the toolkit delivers a double click: press, release, double click, release.
    Press(w, b, p);
    Release(w, b, p);
    SendMouse(w, QEvent::MouseButtonDblClick, QButton(b), QButton(b), p);
    Release(w, b, p);
}
void Click(Window* w, Button b, Point p) {
    Press(w, b, p);
    Release(w, b, p);
}
void Move(Window* w, Point p, unsigned held) { SendMouse(w, QEvent::MouseMove, Qt::NoButton, Held(held), p); }
void Wheel(Window* w, Point p, int angle) {
    QWidget* q = Target(w);
    if (!q) return;
    QPointF local(p.x, p.y);
    const QPointF global = q->mapToGlobal(local);
    // A real wheel event that a widget ignores (an edit) goes on to its
    // parents; Qt does that only for spontaneous events, so it is done here.
    for (;;) {
        QWheelEvent ev(local, global, QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                       false);
        QApplication::sendEvent(q, &ev);
        if (ev.isAccepted() || q->isWindow() || !q->parentWidget()) break;
        local = q->mapToParent(local);
        q = q->parentWidget();
    }
}
void Enter(Window* w) {
    QWidget* q = Target(w);
    if (!q) return;
    QEnterEvent ev(QPointF(1, 1), QPointF(1, 1), q->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(q, &ev);
}
void Leave(Window* w) {
    QWidget* q = Target(w);
    if (!q) return;
    QEvent ev(QEvent::Leave);
    QApplication::sendEvent(q, &ev);
}
void Key(Window* w, unsigned vk) {
    if (QWidget* q = Target(w)) SendKey(q, QtKeyOf(vk), KeyText(vk));
}
void KeyDown(Window* w, unsigned vk, bool autoRepeat) {
    if (QWidget* q = Target(w)) SendKeyHalf(q, QEvent::KeyPress, QtKeyOf(vk), KeyText(vk), autoRepeat);
}
void KeyUp(Window* w, unsigned vk, bool autoRepeat) {
    if (QWidget* q = Target(w)) SendKeyHalf(q, QEvent::KeyRelease, QtKeyOf(vk), KeyText(vk), autoRepeat);
}
void Type(Window* w, const std::string& text) {
    QWidget* q = Target(w);
    if (!q) return;
    for (char c : text) {
        int key = 0;
        if (c >= '0' && c <= '9') key = Qt::Key_0 + (c - '0');
        else if (c >= 'a' && c <= 'z') key = Qt::Key_A + (c - 'a');
        else if (c >= 'A' && c <= 'Z') key = Qt::Key_A + (c - 'A');
        else if (c == '.') key = Qt::Key_Period;
        else if (c == '\r') key = Qt::Key_Return;
        else if (c == ' ') key = Qt::Key_Space;
        else key = Qt::Key_unknown;
        SendKey(q, key, QString(QChar(char16_t(static_cast<unsigned char>(c)))));
    }
}
}  // namespace synth

bool SaveWindowPng(Window* w, const std::string& path, double pixelRatio) {
    QWidget* q = Target(w);
    if (!q) return false;
    if (pixelRatio <= 0) pixelRatio = 1.0;
    QPixmap pm(QSize(int(q->width() * pixelRatio + 0.5), int(q->height() * pixelRatio + 0.5)));
    pm.setDevicePixelRatio(pixelRatio);
    pm.fill(Qt::white);
    q->render(&pm, QPoint(), QRegion(), QWidget::DrawChildren);
    EnsureParentDirectory(path);
    return pm.save(QString::fromStdString(path), "PNG");
}

namespace {
Snapshot FromImage(const QImage& picture) {
    Snapshot s;
    const QImage img = picture.convertToFormat(QImage::Format_RGB32);
    s.width = img.width();
    s.height = img.height();
    s.pixels.resize(std::size_t(s.width) * std::size_t(s.height));
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const QRgb c = img.pixel(x, y);
            s.pixels[std::size_t(y * s.width + x)] =
                std::uint32_t(qRed(c)) | (std::uint32_t(qGreen(c)) << 8) | (std::uint32_t(qBlue(c)) << 16);
        }
    return s;
}
}  // namespace

Snapshot TakeSnapshot(Window* w) {
    QWidget* q = Target(w);
    if (!q || q->width() <= 0 || q->height() <= 0) return {};
    QPixmap pm(q->size());
    pm.fill(Qt::white);
    q->render(&pm, QPoint(), QRegion(), QWidget::DrawChildren);
    return FromImage(pm.toImage());
}

Snapshot ScreenSnapshot(Window* w) {
    QWidget* q = Target(w);
    if (!q || !q->isVisible() || q->width() <= 0 || q->height() <= 0) return {};
    // The repaints the loop owes run first (user input is not taken here).
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QWidget* top = q->window();
    QScreen* screen = top->screen();
    if (!screen) return {};
    const QPoint at = q->mapTo(top, QPoint(0, 0));
    const QPixmap pm = screen->grabWindow(top->winId(), at.x(), at.y(), q->width(), q->height());
    if (pm.isNull()) return {};
    return FromImage(pm.toImage());
}

std::uint32_t WindowPixel(Window* w, int x, int y) { return TakeSnapshot(w).At(x, y); }

}  // namespace plat
