#include "SettingsWindow.h"

#include "SettingsDialog.h"
#include "settings/KeyboardLevels.h"

namespace lirabox::settings::qt {

namespace {

// The key names follow the layout of the keyboard at hand unless the caller chose otherwise.
frmSettings::Collaborators withKeyLegends(frmSettings::Collaborators parts) {
    if (!parts.keyLegend) parts.keyLegend = &keyLegendOf;
    return parts;
}

}  // namespace

SettingsWindow::SettingsWindow(frmSettings::Collaborators parts) : mForm(withKeyLegends(std::move(parts))) {}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::open(SettingsTab tab) {
    if (!mDialog) {
        mDialog = std::make_unique<SettingsDialog>(mForm);
        mForm.Form_Load(static_cast<std::uintptr_t>(mDialog->winId()));
        mDialog->showFields();
    }
    mDialog->openOn(tab);
}

void SettingsWindow::unload() {
    mForm.Form_Unload();
    mDialog.reset();
}

}  // namespace lirabox::settings::qt
