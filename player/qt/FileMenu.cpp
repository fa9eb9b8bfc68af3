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
    const auto on = [&form](QAction* action, Command command) {
        QObject::connect(action, &QAction::triggered, action, [&form, command] { form.runCommand(command); });
    };
    on(menu.mnuOpen, Command::Open);
    on(menu.mnuPlay, Command::Play);
    on(menu.mnuPause, Command::Pause);
    on(menu.mnuStop, Command::Stop);
    on(menu.mnuFor, Command::FastForward);
    on(menu.mnuRev, Command::Rewind);
    on(menu.mnuSpeedUp, Command::Faster);
    on(menu.mnuSpeedDown, Command::Slower);
    on(menu.mnuQuit, Command::Quit);
}

}  // namespace lirabox::qt
