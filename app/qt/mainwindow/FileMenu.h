#pragma once
// The "ファイル" menu of the main window: open, the transport commands, the
// time stamp, go to a time, the recordings opened lately and quit.

#include <array>
#include <cstddef>

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
    QAction* mnuGoToTime = nullptr;
    // The recordings opened lately, "&1 path" .. "&8 path"; hidden while unused.
    std::array<QAction*, 8> mnuRecent {};
    QAction* mnuRecentEnd = nullptr;  // the separator after them, hidden with them
    QAction* mnuQuit = nullptr;
};

// Adds the menu to the bar, items in display order, with Ctrl+O, Ctrl+G and Ctrl+Q.
FileMenu addFileMenu(QMenuBar& bar);

// Each item calls its handler; the recent items are filled from the player's
// list each time the menu opens, a missing recording's item greyed.
void connectFileMenu(const FileMenu& menu, frmMain& form);

}  // namespace lirabox::qt
