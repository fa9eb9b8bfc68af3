#pragma once
// The "設定" menu of the main window: the settings dialog on either tab.

class QAction;
class QMenu;
class QMenuBar;

namespace lirabox {
class frmMain;
}

namespace lirabox::qt {

struct SettingsMenu {
    QMenu* mnuSet = nullptr;
    QAction* mnuSetPlay = nullptr;
    QAction* mnuSetKey = nullptr;
};

// Adds the menu to the end of the bar.
SettingsMenu addSettingsMenu(QMenuBar& bar);

// Each item runs its command.
void connectSettingsMenu(const SettingsMenu& menu, frmMain& form);

}  // namespace lirabox::qt
