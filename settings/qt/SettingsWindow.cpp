#include "SettingsWindow.h"

#include "SettingsDialog.h"

namespace lirabox::settings::qt {

SettingsWindow::SettingsWindow(frmSettings::Collaborators parts) : mForm(std::move(parts)) {}

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
