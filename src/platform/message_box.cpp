#include "platform/message_box.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMessageBox>

#include <cctype>
#include <cstdio>
#include <deque>
#include <string_view>

#include "platform/event_loop.h"
#include "platform/types.h"
#include "platform/window.h"
#include "platform/window_impl.h"

namespace plat {
namespace {
bool g_scripted = false;
std::deque<int> g_answers;
std::vector<message_box_script::Shown> g_history;
std::function<int(const message_box_script::Shown&)> g_holder;

// The answer of a box closed without a choice.
int CancelAnswer(unsigned type) {
    switch (type & 0xF) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    default: return IDOK;
    }
}

int FirstButton(unsigned type) {
    switch (type & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDYES;
    default: return IDOK;
    }
}
}  // namespace

namespace message_box_script {
void Enable() { g_scripted = true; }
bool Enabled() { return g_scripted; }
void PushAnswer(int answer) { g_answers.push_back(answer); }
void SetHolder(std::function<int(const Shown&)> holder) { g_holder = std::move(holder); }
const std::vector<Shown>& History() { return g_history; }
void Clear() {
    g_history.clear();
    g_answers.clear();
}
}  // namespace message_box_script

namespace {
bool IsProgramName(std::string_view s) {
    if (s.size() != 4) return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != "qarv"[i]) return false;
    return true;
}

// The box as one line of the console, under the program's one "qarv: ": a
// caption that is only the program's name (or none) adds nothing, nor does
// a text that names the program first itself; the text's own line ends at
// its end go, and a CR LF inside it is one line end.
std::string ConsoleLine(std::string_view text, std::string_view caption) {
    if (text.size() > 5 && IsProgramName(text.substr(0, 4)) && text.substr(4, 2) == ": ") text.remove_prefix(6);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    std::string line = "qarv: ";
    if (!caption.empty() && !IsProgramName(caption)) {
        line += caption;
        line += ": ";
    }
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) line += text[i];
    return line;
}
}  // namespace

unsigned g_beeps = 0;
unsigned BeepCount() { return g_beeps; }

void MessageBeep(unsigned) {
    ++g_beeps;
    if (message_box_script::Enabled() || app::Headless() || !app::Started()) return;
    QApplication::beep();
}

int MessageBox(Window* owner, const std::string& text, const std::string& caption, unsigned type) {
    // A modal box takes the mouse: whatever a held button was doing ends.
    ReleaseAnyCapture();
    g_history.push_back({text, caption, type});
    if (g_scripted) {
        if (g_holder) {
            // Inside a nested loop, as a shown box is.
            const auto holder = g_holder;
            const message_box_script::Shown shown = g_history.back();
            int answer = CancelAnswer(type);
            bool asked = false;
            app::RunNested([&] {
                if (!asked) {
                    asked = true;
                    answer = holder(shown);
                }
                return true;
            });
            return answer;
        }
        if (g_answers.empty()) return FirstButton(type);
        int a = g_answers.front();
        g_answers.pop_front();
        return a;
    }
    if (!app::Started() || app::Headless()) {
        // Nobody can answer a headless box: say it on the console and take
        // the first button, which the callers use for the harmless choice.
        std::fprintf(stderr, "%s\n", ConsoleLine(text, caption).c_str());
        return FirstButton(type);
    }
    // The program is closing: nobody is left to answer.
    if (app::ClosingModals()) return CancelAnswer(type);
    QMessageBox box;
    box.setWindowTitle(QString::fromLatin1(caption.c_str()));
    box.setText(QString::fromLatin1(text.c_str()));
    if (type & MB_FIXEDPITCH) box.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    switch (type & 0xF) {
    case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MB_YESNOCANCEL: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    switch (type & 0xF0) {
    case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    if (owner && owner->impl() && owner->impl()->widget) box.setParent(owner->impl()->widget, Qt::Dialog);
    // Our own nested loop (timers keep firing), so that a close request
    // ends the box as cancelled.
    box.setWindowModality(Qt::ApplicationModal);
    bool finished = false;
    QObject::connect(&box, &QDialog::finished, [&finished](int) { finished = true; });
    box.show();
    app::RunNested([&finished] { return finished; });
    const QAbstractButton* clicked = finished ? box.clickedButton() : nullptr;
    box.hide();
    if (!clicked) return CancelAnswer(type);
    switch (box.standardButton(const_cast<QAbstractButton*>(clicked))) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return CancelAnswer(type);
    }
}

}  // namespace plat
