#include "settings/window_view.h"

#include "settings/device_status.h"
#include "settings/settings_pages.h"
#include "settings/trans_ops.h"

namespace {
class WindowView : public SettingsView {
public:
    void ShowSettingRow(int id) override { ::ShowSettingRow(id); }
    void ShowRowText(int id, const char* text) override { ::ShowRowText(id, text); }
    void SetEditText(int id, const char* text) override {
        if (g_transops)
            if (plat::Edit* e = g_transops->EditOf(id)) e->SetWindowText(text);
    }
    void SetCheck(int id, int check) override {
        if (g_transops)
            if (plat::CheckBox* box = g_transops->CheckOf(id)) box->SetCheck(check);
    }
    void SetValueLabel(int id, const char* text) override {
        if (g_transops)
            if (plat::StaticText* label = g_transops->ValueLabel(settings::RowOfId(id))) label->SetWindowText(text);
    }
    void SetKeySpeed(int base) override {
        if (g_transops) g_transops->SetKeySpeed(base);
    }
    void ShowRotorState() override { ::ShowRotorState(); }
    void ShowRotorTarget() override { ::ShowRotorTarget(); }
    void ShowAmplifierText() override { ::ShowAmplifierText(); }
};
}  // namespace

SettingsView& TransOpsView() {
    static WindowView view;
    return view;
}
