#include "platform/modal.h"

#include <map>

#include "platform/event_loop.h"
#include "platform/types.h"
#include "platform/window.h"
#include "platform/window_impl.h"

namespace plat {
namespace {
std::function<void(Window*)> g_handler;
std::map<const Window*, int> g_ended;  // dialogs ended, with their codes
}  // namespace

namespace modal_script {
void SetHandler(std::function<void(Window*)> handler) { g_handler = std::move(handler); }
}  // namespace modal_script

void EndModal(Window* dlg, int code) { g_ended[dlg] = code; }

int RunModal(Window* dlg) {
    ReleaseAnyCapture();
    g_ended.erase(dlg);
    if (g_handler) {
        g_handler(dlg);
    } else if (app::Started() && !app::Headless() && !app::ClosingModals()) {
        if (dlg->impl() && dlg->impl()->widget) dlg->impl()->widget->setWindowModality(Qt::ApplicationModal);
        dlg->ShowWindow(SW_SHOW);
        app::RunNested([dlg] { return g_ended.count(dlg) != 0 || !IsLiveWindow(dlg) || !dlg->IsCreated(); });
    }
    int code = IDCANCEL;
    auto it = g_ended.find(dlg);
    if (it != g_ended.end()) {
        code = it->second;
        g_ended.erase(it);
    }
    if (IsLiveWindow(dlg)) dlg->ShowWindow(SW_HIDE);
    return code;
}

}  // namespace plat
