#pragma once
// The settings dialog as the main window opens and unloads it: loaded on the
// first opening, only shown again afterwards, unloaded at the main window's
// shut-down.

#include <memory>

#include "player/SettingsDialogSeam.h"
#include "settings/frmSettings.h"

namespace lirabox::settings::qt {

class SettingsDialog;

class SettingsWindow final : public SettingsDialogSeam {
public:
    explicit SettingsWindow(frmSettings::Collaborators parts);
    ~SettingsWindow() override;
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    void open(SettingsTab tab) override;
    bool isLoaded() const override { return mForm.isLoaded(); }
    void unload() override;

    // The dialog while it is loaded; null otherwise.
    SettingsDialog* dialog() const { return mDialog.get(); }
    frmSettings& form() { return mForm; }

private:
    frmSettings mForm;
    std::unique_ptr<SettingsDialog> mDialog;
};

}  // namespace lirabox::settings::qt
