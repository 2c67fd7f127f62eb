#include "platform/menu.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include <deque>
#include <map>

#include "platform/event_loop.h"

#include "platform/keys.h"
#include "platform/window.h"
#include "platform/window_impl.h"

namespace plat {
namespace {

struct MenuState {
    QMenuBar* bar = nullptr;
    std::map<unsigned, QAction*> actions;
    // Kept also without a display, so the program's update logic is testable.
    std::map<unsigned, bool> checked;
    std::map<unsigned, bool> enabled;
    void (*update)(Window*) = nullptr;
};

std::map<const Window*, MenuState>& Menus() {
    static std::map<const Window*, MenuState> m;
    return m;
}

struct AccelState {
    Window* window;
    std::vector<Accelerator> table;
};
std::vector<AccelState>& Accels() {
    static std::vector<AccelState> a;
    return a;
}

void AddItems(Window* w, MenuState& st, QMenu* menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& it : items) {
        if (!it.items.empty()) {
            QMenu* sub = menu->addMenu(QString::fromLatin1(it.text.c_str()));
            AddItems(w, st, sub, it.items);
        } else if (it.text.empty()) {
            menu->addSeparator();
        } else {
            QAction* a = menu->addAction(QString::fromLatin1(it.text.c_str()));
            unsigned id = it.id;
            QObject::connect(a, &QAction::triggered, [w, id] {
                if (IsLiveWindow(w)) w->SendMessage(WM_COMMAND, id, 0);
            });
            st.actions[id] = a;
        }
    }
}

// Every command id starts enabled, with or without a toolkit window, so the
// update logic sees the same menu either way.
void RecordIds(MenuState& st, const std::vector<MenuItem>& items) {
    for (const MenuItem& it : items) {
        if (!it.items.empty()) RecordIds(st, it.items);
        else if (it.id) st.enabled.emplace(it.id, true);
    }
}

class AccelFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* obj, QEvent* ev) override {
        // An open menu or modal box keeps its keys (arrows walk the menu,
        // Alt+X must not close the program beneath a box).
        if ((ev->type() == QEvent::KeyPress || ev->type() == QEvent::ShortcutOverride) &&
            !QApplication::activePopupWidget() && !QApplication::activeModalWidget() && app::NestingDepth() == 0) {
            auto* ke = static_cast<QKeyEvent*>(ev);
            unsigned vk = VirtualKeyOf(ke->key());
            unsigned flags = 0;
            if (ke->modifiers() & Qt::ShiftModifier) flags |= KF_SHIFT;
            if (ke->modifiers() & Qt::ControlModifier) flags |= KF_CONTROL;
            if (ke->modifiers() & Qt::AltModifier) flags |= KF_ALT;
            unsigned ch = ke->text().isEmpty() ? 0 : ke->text().at(0).unicode();
            for (auto& a : Accels()) {
                unsigned id = FindAccelerator(a.table, vk, flags, ch);
                if (id != 0 && IsLiveWindow(a.window)) {
                    if (ev->type() == QEvent::ShortcutOverride) {
                        ev->accept();  // keep the key away from the toolkit's own shortcuts
                        return true;
                    }
                    a.window->SendMessage(WM_COMMAND, id, 0);
                    return true;
                }
            }
        }
        return QObject::eventFilter(obj, ev);
    }
};

}  // namespace

void SetWindowMenu(Window* w, const std::vector<MenuItem>& bar) {
    MenuState& st = Menus()[w];
    RecordIds(st, bar);
    if (!w->impl() || !w->impl()->widget) return;
    QWidget* host = w->impl()->widget;
    if (!st.bar) {
        st.bar = new QMenuBar(host);
        auto* layout = new QVBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setMenuBar(st.bar);
    }
    st.bar->clear();
    st.actions.clear();
    for (const MenuItem& top : bar) {
        QMenu* m = st.bar->addMenu(QString::fromLatin1(top.text.c_str()));
        QObject::connect(m, &QMenu::aboutToShow, [w] {
            auto it = Menus().find(w);
            if (it != Menus().end() && it->second.update) it->second.update(w);
        });
        AddItems(w, st, m, top.items);
    }
}

void CheckMenuItem(Window* w, unsigned id, bool checked) {
    MenuState& st = Menus()[w];
    st.checked[id] = checked;
    auto it = st.actions.find(id);
    if (it != st.actions.end()) {
        it->second->setCheckable(true);
        it->second->setChecked(checked);
    }
}

void EnableMenuItem(Window* w, unsigned id, bool enabled) {
    MenuState& st = Menus()[w];
    st.enabled[id] = enabled;
    auto it = st.actions.find(id);
    if (it != st.actions.end()) it->second->setEnabled(enabled);
}

bool IsMenuItemChecked(Window* w, unsigned id) {
    auto& st = Menus()[w];
    auto it = st.checked.find(id);
    return it != st.checked.end() && it->second;
}

bool IsMenuItemEnabled(Window* w, unsigned id) {
    auto& st = Menus()[w];
    auto it = st.enabled.find(id);
    return it == st.enabled.end() || it->second;
}

void SetMenuUpdateHandler(Window* w, void (*handler)(Window*)) { Menus()[w].update = handler; }

int MenuBarHeight(Window* w) {
    auto it = Menus().find(w);
    if (it == Menus().end() || !it->second.bar) return 0;
    return it->second.bar->sizeHint().height();
}

unsigned FindAccelerator(std::span<const Accelerator> table, unsigned vk, unsigned keyFlags, unsigned ch) {
    for (const Accelerator& a : table) {
        if (a.flags & FVIRTKEY) {
            if (a.key != vk || vk == 0) continue;
            bool shift = (a.flags & FSHIFT) != 0, ctrl = (a.flags & FCONTROL) != 0, alt = (a.flags & FALT) != 0;
            if (shift != ((keyFlags & KF_SHIFT) != 0) || ctrl != ((keyFlags & KF_CONTROL) != 0) ||
                alt != ((keyFlags & KF_ALT) != 0))
                continue;
            return a.id;
        }
        // Character entries: the typed character, with Alt when asked for.
        if (ch == 0 || a.key != ch) continue;
        if (((a.flags & FALT) != 0) != ((keyFlags & KF_ALT) != 0)) continue;
        return a.id;
    }
    return 0;
}

namespace {
bool g_popupScripted = false;
std::deque<unsigned> g_popupChoices;
std::vector<popup_menu_script::Shown> g_popupHistory;

void AddPopupItems(QMenu* menu, const std::vector<MenuItem>& items, unsigned& chosen) {
    for (const MenuItem& it : items) {
        if (!it.items.empty()) {
            AddPopupItems(menu->addMenu(QString::fromLatin1(it.text.c_str())), it.items, chosen);
        } else if (it.text.empty()) {
            menu->addSeparator();
        } else {
            QAction* a = menu->addAction(QString::fromLatin1(it.text.c_str()));
            const unsigned id = it.id;
            QObject::connect(a, &QAction::triggered, [&chosen, id] { chosen = id; });
        }
    }
}
}  // namespace

namespace popup_menu_script {
void Enable() { g_popupScripted = true; }
void PushChoice(unsigned id) { g_popupChoices.push_back(id); }
const std::vector<Shown>& History() { return g_popupHistory; }
}  // namespace popup_menu_script

unsigned TrackPopupMenu(Window* owner, const std::vector<MenuItem>& items, int x, int y) {
    ReleaseAnyCapture();
    unsigned chosen = 0;
    if (g_popupScripted) {
        g_popupHistory.push_back({items, x, y});
        if (!g_popupChoices.empty()) {
            chosen = g_popupChoices.front();
            g_popupChoices.pop_front();
        }
    } else if (app::Started() && !app::Headless() && !app::ClosingModals()) {
        QMenu menu(owner && owner->impl() ? owner->impl()->widget.data() : nullptr);
        AddPopupItems(&menu, items, chosen);
        // Our own nested loop: a close request closes the menu (dismissed).
        menu.popup(QPoint(x, y));
        app::RunNested([&menu] { return !menu.isVisible(); });
        if (menu.isVisible()) {
            menu.close();
            chosen = 0;
        }
    }
    if (chosen != 0 && IsLiveWindow(owner)) owner->SendMessage(WM_COMMAND, chosen, 0);
    return chosen;
}

void SetAccelerators(Window* w, std::span<const Accelerator> table) {
    static AccelFilter* filter = nullptr;
    if (!filter && qApp) {
        filter = new AccelFilter(qApp);
        qApp->installEventFilter(filter);
    }
    auto& list = Accels();
    std::erase_if(list, [w](const AccelState& a) { return a.window == w || !IsLiveWindow(a.window); });
    list.push_back({w, std::vector<Accelerator>(table.begin(), table.end())});
}

}  // namespace plat
