#pragma once
// The "ヘルプ" menu of the main window: the user guide and the version message.

class QAction;
class QMenu;
class QMenuBar;

namespace lirabox {
class frmMain;
}

namespace lirabox::qt {

struct HelpMenu {
    QMenu* mnuHelp = nullptr;
    QAction* mnuMokuji = nullptr;
    QAction* mnuVer = nullptr;
};

// Adds the menu at the end of the bar.
HelpMenu addHelpMenu(QMenuBar& bar);

// Each item runs its command.
void connectHelpMenu(const HelpMenu& menu, frmMain& form);

}  // namespace lirabox::qt
