#pragma once
// The "ファイル" menu of the main window: open, the transport commands, the
// time stamp and quit.

class QAction;
class QMenu;
class QMenuBar;

namespace lirabox {
class frmMain;
}

namespace lirabox::qt {

struct FileMenu {
    QMenu* mnuMain = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuPlay = nullptr;
    QAction* mnuPause = nullptr;
    QAction* mnuStop = nullptr;
    QAction* mnuFor = nullptr;
    QAction* mnuRev = nullptr;
    QAction* mnuSpeedUp = nullptr;
    QAction* mnuSpeedDown = nullptr;
    QAction* mnuTimeStamp = nullptr;
    QAction* mnuQuit = nullptr;
};

// Adds the menu to the bar, items in display order, with Ctrl+O and Ctrl+Q.
FileMenu addFileMenu(QMenuBar& bar);

// Each item calls its handler.
void connectFileMenu(const FileMenu& menu, frmMain& form);

}  // namespace lirabox::qt
