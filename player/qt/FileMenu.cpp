#include "FileMenu.h"

#include <QMenu>
#include <QMenuBar>

#include "Catalogue.h"
#include "MenuItems.h"

namespace lirabox::qt {
namespace {

constexpr UiText kFileCaption = LIRABOX_TEXT("frmMain", "ファイル");
constexpr UiText kTimeStampCaption = LIRABOX_TEXT("frmMain", "タイムスタンプ挿入");

}  // namespace

FileMenu addFileMenu(QMenuBar& bar) {
    FileMenu menu;
    menu.mnuMain = bar.addMenu(uiText(kFileCaption));
    menu.mnuMain->setObjectName(QStringLiteral("mnuMain"));
    QMenu& items = *menu.mnuMain;
    menu.mnuOpen = addItem(items, "mnuOpen", LIRABOX_TEXT("frmMain", "開く"), QKeySequence(Qt::CTRL | Qt::Key_O));
    addSeparator(items, "mnuDami");
    menu.mnuPlay = addItem(items, "mnuPlay", LIRABOX_TEXT("frmMain", "再生"));
    menu.mnuPause = addItem(items, "mnuPause", LIRABOX_TEXT("frmMain", "一時停止"));
    menu.mnuStop = addItem(items, "mnuStop", LIRABOX_TEXT("frmMain", "停止"));
    menu.mnuFor = addItem(items, "mnuFor", LIRABOX_TEXT("frmMain", "早送り"));
    menu.mnuRev = addItem(items, "mnuRev", LIRABOX_TEXT("frmMain", "巻き戻し"));
    menu.mnuSpeedUp = addItem(items, "mnuSpeedUp", LIRABOX_TEXT("frmMain", "再生速度アップ"));
    menu.mnuSpeedDown = addItem(items, "mnuSpeedDown", LIRABOX_TEXT("frmMain", "再生速度ダウン"));
    menu.mnuTimeStamp = addItem(items, "mnuTimeStamp", kTimeStampCaption);
    addSeparator(items, "mnuDami2");
    menu.mnuQuit = addItem(items, "mnuQuit", LIRABOX_TEXT("frmMain", "終了"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    return menu;
}

void connectFileMenu(const FileMenu& menu, frmMain& form) {
    const auto on = [&form](QAction* action, Command command) { runsCommand(action, form, command); };
    on(menu.mnuOpen, Command::Open);
    on(menu.mnuPlay, Command::Play);
    on(menu.mnuPause, Command::Pause);
    on(menu.mnuStop, Command::Stop);
    on(menu.mnuFor, Command::FastForward);
    on(menu.mnuRev, Command::Rewind);
    on(menu.mnuSpeedUp, Command::Faster);
    on(menu.mnuSpeedDown, Command::Slower);
    on(menu.mnuTimeStamp, Command::InsertTimeStamp);
    on(menu.mnuQuit, Command::Quit);
}

}  // namespace lirabox::qt
