#include "platform/dialog.h"

#include <QFileDialog>
#include <QPixmap>
#include <QPushButton>

#include <deque>

#include "platform/controls.h"
#include "platform/event_loop.h"
#include "platform/keys.h"
#include "platform/types.h"
#include "platform/window_impl.h"

namespace plat {
namespace {
bool g_dialogScripted = false;
std::deque<std::function<void(Dialog&)>> g_handlers;
std::vector<std::string> g_dialogHistory;

bool g_fileScripted = false;
std::deque<std::string> g_fileAnswers;
int g_fileShown = 0;

// "Memory Files(*.rmy)|*.rmy|All files(*.*)|*.*||" -> "Memory Files(*.rmy);;All files(*.*)".
QString QtFilter(const std::string& filter) {
    QStringList parts = QString::fromUtf8(filter.c_str()).split('|');
    QStringList names;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        if (!parts[i].isEmpty()) names << parts[i];
    return names.join(";;");
}

bool RunFileDialog(Window* owner, bool open, const std::string& defExt, const std::string& filter,
                   const std::string& initial, std::string& path) {
    ++g_fileShown;
    if (g_fileScripted) {
        if (g_fileAnswers.empty()) return false;
        path = g_fileAnswers.front();
        g_fileAnswers.pop_front();
        return !path.empty();
    }
    if (!app::Started() || app::Headless() || app::ClosingModals()) return false;
    QWidget* parent = owner && owner->impl() ? owner->impl()->widget.data() : nullptr;
    QFileDialog dlg(parent, QString(), QString::fromUtf8(initial.c_str()), QtFilter(filter));
    dlg.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dlg.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dlg.setDefaultSuffix(QString::fromUtf8(defExt.c_str()));
    // Our own nested loop, not the toolkit's: a close request must end it.
    dlg.setWindowModality(Qt::ApplicationModal);
    int result = -1;
    QObject::connect(&dlg, &QDialog::finished, [&result](int r) { result = r; });
    dlg.show();
    app::RunNested([&result] { return result != -1; });
    dlg.hide();
    if (result != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    path = dlg.selectedFiles().front().toUtf8().toStdString();
    return true;
}

// The dialog's push button with `id`, null when it has none on the screen.
Button* ButtonOf(const Dialog& d, int id) {
    if (!d.impl() || !d.impl()->widget) return nullptr;
    for (QPushButton* q : d.impl()->widget->findChildren<QPushButton*>()) {
        auto* b = dynamic_cast<Button*>(WindowOfWidget(q));
        if (b && b->GetDlgCtrlID() == id) return b;
    }
    return nullptr;
}

// A press of the button `id` as the operator's click; without the button on
// the screen its command still runs, and an OK or Cancel nobody handles
// ends the dialog with it.
void PressButton(Dialog& d, int id) {
    if (Button* b = ButtonOf(d, id)) {
        if (b->IsWindowEnabled()) b->Click();
        return;
    }
    if (!d.OnCommand(unsigned(id), 0, 0) && (id == IDOK || id == IDCANCEL)) d.EndDialog(id);
}
}  // namespace

int Dialog::DoModal(Window* owner, const std::string& title, const Rect& r) {
    ended_ = false;
    result_ = IDCANCEL;
    g_dialogHistory.push_back(title);
    Create(title, WS_POPUP | WS_CAPTION, r, owner, 0);
    OnInitDialog();
    if (Button* b = ButtonOf(*this, DefaultButton()))
        if (auto* q = qobject_cast<QPushButton*>(b->impl()->widget.data())) q->setDefault(true);
    if (g_dialogScripted) {
        if (!g_handlers.empty()) {
            auto handler = std::move(g_handlers.front());
            g_handlers.pop_front();
            handler(*this);
        }
    } else if (app::Started() && !app::Headless() && !app::ClosingModals()) {
        if (impl() && impl()->widget) impl()->widget->setWindowModality(Qt::ApplicationModal);
        ShowWindow(SW_SHOW);
        app::RunNested([this] { return ended_; });
    }
    const int result = ended_ ? result_ : IDCANCEL;
    DestroyWindow();
    return result;
}

void Dialog::OnKeyDown(unsigned key, unsigned) {
    // The buttons and fields pass both keys on to the dialog (a multi-line
    // field keeps Enter for its new line).
    if (key == VK_ESCAPE) PressButton(*this, IDCANCEL);
    else if (key == VK_RETURN) PressButton(*this, DefaultButton());
}

void Dialog::EndDialog(int code) {
    result_ = code;
    ended_ = true;
}

namespace dialog_script {
void Enable() { g_dialogScripted = true; }
bool Enabled() { return g_dialogScripted; }
void PushHandler(std::function<void(Dialog&)> handler) { g_handlers.push_back(std::move(handler)); }
const std::vector<std::string>& History() { return g_dialogHistory; }
void Clear() {
    g_handlers.clear();
    g_dialogHistory.clear();
}
}  // namespace dialog_script

bool FileOpenDialog(Window* owner, const std::string& defExt, const std::string& filter, const std::string& initial,
                    std::string& path) {
    return RunFileDialog(owner, true, defExt, filter, initial, path);
}
bool FileSaveDialog(Window* owner, const std::string& defExt, const std::string& filter, const std::string& initial,
                    std::string& path) {
    return RunFileDialog(owner, false, defExt, filter, initial, path);
}

namespace file_dialog_script {
void Enable() { g_fileScripted = true; }
void PushAnswer(const std::string& path) { g_fileAnswers.push_back(path); }
int Shown() { return g_fileShown; }
void Clear() {
    g_fileAnswers.clear();
    g_fileShown = 0;
}
}  // namespace file_dialog_script


}  // namespace plat
