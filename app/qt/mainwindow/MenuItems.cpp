#include "MenuItems.h"

#include <QAction>
#include <QMenu>

#include "app/qt/toolkit/Catalogue.h"
#include "player/frmMain.h"

namespace lirabox::qt {

QAction* addItem(QMenu& menu, const char* name, const UiText& caption, QKeySequence shortcut) {
    QAction* action = menu.addAction(uiText(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

void addSeparator(QMenu& menu, const char* name) { menu.addSeparator()->setObjectName(QString::fromLatin1(name)); }

void runsCommand(QAction* action, frmMain& form, Command command) {
    QObject::connect(action, &QAction::triggered, action, [&form, command] { form.runCommand(command); });
}

}  // namespace lirabox::qt
