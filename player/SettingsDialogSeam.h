#pragma once
// The settings dialog as the main window sees it: its menus open it on a tab,
// and shut-down unloads it.

namespace lirabox {

// The dialog's tabs, in their order.
enum class SettingsTab { Playback = 0, ShortcutKeys = 1, FootPedals = 2 };

class SettingsDialogSeam {
public:
    virtual ~SettingsDialogSeam() = default;
    // Shows the dialog (loading it first when it is not loaded) on the tab,
    // with the tab's caption. A loaded dialog is only made visible.
    virtual void open(SettingsTab tab) = 0;
    virtual bool isLoaded() const = 0;
    // Closes the dialog; its own unload processing runs.
    virtual void unload() = 0;
};

}  // namespace lirabox
