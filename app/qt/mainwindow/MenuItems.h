#pragma once
// Building the window's menus: named items and separators, and items that
// each run one command of the player.

#include <QKeySequence>

#include "player/Command.h"
#include "support/UiText.h"

class QAction;
class QMenu;
class QMenuBar;

namespace lirabox {
class frmMain;
}

namespace lirabox::qt {

// An item with its object name, caption and, optionally, an accelerator.
QAction* addItem(QMenu& menu, const char* name, const UiText& caption, QKeySequence shortcut = {});
void addSeparator(QMenu& menu, const char* name);

// Choosing the item runs the command.
void runsCommand(QAction* action, frmMain& form, Command command);

// Alt+letter opens the bar's menu: through the caption's own access key
// ("&File"), or, for a caption without one (the Japanese captions keep their
// exact text), through a shortcut of the bar's window with the same letter.
void giveAccessKey(QMenuBar& bar, QMenu& menu, Qt::Key letter);
// F10 opens the bar's first menu; the arrow keys go on from there.
void openWithF10(QMenuBar& bar);

}  // namespace lirabox::qt
