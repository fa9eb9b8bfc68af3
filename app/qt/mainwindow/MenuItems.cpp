#include "MenuItems.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

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

namespace {

void opensOn(QMenuBar& bar, const QKeySequence& key, QAction* menu) {
    auto* shortcut = new QShortcut(key, bar.window());
    QObject::connect(shortcut, &QShortcut::activated, &bar, [&bar, menu] { bar.setActiveAction(menu); });
}

}  // namespace

void giveAccessKey(QMenuBar& bar, QMenu& menu, Qt::Key letter) {
    if (!QKeySequence::mnemonic(menu.title()).isEmpty()) return;  // the bar answers Alt+letter itself
    opensOn(bar, QKeySequence(Qt::ALT | letter), menu.menuAction());
}

void openWithF10(QMenuBar& bar) {
    if (!bar.actions().isEmpty()) opensOn(bar, QKeySequence(Qt::Key_F10), bar.actions().first());
}

}  // namespace lirabox::qt
