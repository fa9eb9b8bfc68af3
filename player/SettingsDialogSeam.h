#pragma once
// The settings dialog as the main window's shut-down sees it.

namespace lirabox {

class SettingsDialogSeam {
public:
    virtual ~SettingsDialogSeam() = default;
    virtual bool isLoaded() const = 0;
    // Closes the dialog; its own unload processing runs.
    virtual void unload() = 0;
};

}  // namespace lirabox
