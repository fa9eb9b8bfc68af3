#pragma once
// Building the window's menus: named items and separators, and items that
// each run one command of the player.

#include <QKeySequence>

#include "player/Command.h"
#include "support/UiText.h"

class QAction;
class QMenu;

namespace lirabox {
class frmMain;
}

namespace lirabox::qt {

// An item with its object name, caption and, optionally, an accelerator.
QAction* addItem(QMenu& menu, const char* name, const UiText& caption, QKeySequence shortcut = {});
void addSeparator(QMenu& menu, const char* name);

// Choosing the item runs the command.
void runsCommand(QAction* action, frmMain& form, Command command);

}  // namespace lirabox::qt
