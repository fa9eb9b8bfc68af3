#include "FileMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "player/frmMain.h"

namespace lirabox::qt {
namespace {

QAction* addItem(QMenu& menu, const char* name, const char* caption, QKeySequence shortcut = {}) {
    QAction* action = menu.addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

void addSeparator(QMenu& menu, const char* name) { menu.addSeparator()->setObjectName(QString::fromLatin1(name)); }

}  // namespace

FileMenu addFileMenu(QMenuBar& bar) {
    FileMenu menu;
    menu.mnuMain = bar.addMenu(QStringLiteral("ファイル"));
    menu.mnuMain->setObjectName(QStringLiteral("mnuMain"));
    QMenu& items = *menu.mnuMain;
    menu.mnuOpen = addItem(items, "mnuOpen", "開く", QKeySequence(Qt::CTRL | Qt::Key_O));
    addSeparator(items, "mnuDami");
    menu.mnuPlay = addItem(items, "mnuPlay", "再生");
    menu.mnuPause = addItem(items, "mnuPause", "一時停止");
    menu.mnuStop = addItem(items, "mnuStop", "停止");
    menu.mnuFor = addItem(items, "mnuFor", "早送り");
    menu.mnuRev = addItem(items, "mnuRev", "巻き戻し");
    menu.mnuSpeedUp = addItem(items, "mnuSpeedUp", "再生速度アップ");
    menu.mnuSpeedDown = addItem(items, "mnuSpeedDown", "再生速度ダウン");
    addSeparator(items, "mnuDami2");
    menu.mnuQuit = addItem(items, "mnuQuit", "終了", QKeySequence(Qt::CTRL | Qt::Key_Q));
    return menu;
}

void connectFileMenu(const FileMenu& menu, frmMain& form) {
    const auto on = [&form](QAction* action, void (frmMain::*handler)()) {
        QObject::connect(action, &QAction::triggered, action, [&form, handler] { (form.*handler)(); });
    };
    on(menu.mnuOpen, &frmMain::mnuOpen_Click);
    on(menu.mnuPlay, &frmMain::mnuPlay_Click);
    on(menu.mnuPause, &frmMain::mnuPause_Click);
    on(menu.mnuStop, &frmMain::mnuStop_Click);
    on(menu.mnuFor, &frmMain::mnuFor_Click);
    on(menu.mnuRev, &frmMain::mnuRev_Click);
    on(menu.mnuSpeedUp, &frmMain::mnuSpeedUp_Click);
    on(menu.mnuSpeedDown, &frmMain::mnuSpeedDown_Click);
    on(menu.mnuQuit, &frmMain::mnuQuit_Click);
}

}  // namespace lirabox::qt
