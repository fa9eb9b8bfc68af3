#pragma once
// The "表示" menu of the main window (always on top, one-line mode) and the
// "1行モード" menu, which is not in the menu bar: the one-line window pops it
// up on its text (full mode, always on top, quit).

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace lirabox {
class frmMain;
}

namespace lirabox::qt {

struct ViewMenu {
    QMenu* mnuETC = nullptr;
    QAction* mnuSetOnTop = nullptr;
    QAction* mnuToLineMode = nullptr;
};

struct OneLinePopup {
    QMenu* mnuSub = nullptr;
    QAction* mnuToFullMode = nullptr;
    QAction* mnuSetOnTopSub = nullptr;
    QAction* mnuQuitSub = nullptr;
};

// Adds the menu at the end of the bar.
ViewMenu addViewMenu(QMenuBar& bar);
// The popup, owned by `owner`.
OneLinePopup makeOneLinePopup(QWidget& owner);

// Each item runs its command.
void connectViewMenus(const ViewMenu& menu, const OneLinePopup& popup, frmMain& form);

}  // namespace lirabox::qt
