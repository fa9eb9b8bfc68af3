#include "ViewMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "MenuItems.h"

namespace lirabox::qt {
namespace {

const char* const kViewCaption = "表示";
const char* const kOnTopCaption = "常に手前に表示";
// The key is handled by the window, not by the menu: it is only named here.
const char* const kToLineModeCaption = "1行モード          Alt+Enter";
const char* const kSubCaption = "1行モード";
const char* const kToFullModeCaption = "フルモード";
const char* const kQuitCaption = "終了";

QAction* addCheckItem(QMenu& menu, const char* name) {
    QAction* action = addItem(menu, name, kOnTopCaption);
    action->setCheckable(true);
    return action;
}

}  // namespace

ViewMenu addViewMenu(QMenuBar& bar) {
    ViewMenu menu;
    menu.mnuETC = bar.addMenu(QString::fromUtf8(kViewCaption));
    menu.mnuETC->setObjectName(QStringLiteral("mnuETC"));
    menu.mnuSetOnTop = addCheckItem(*menu.mnuETC, "mnuSetOnTop");
    menu.mnuToLineMode = addItem(*menu.mnuETC, "mnuToLineMode", kToLineModeCaption);
    return menu;
}

OneLinePopup makeOneLinePopup(QWidget& owner) {
    OneLinePopup popup;
    popup.mnuSub = new QMenu(QString::fromUtf8(kSubCaption), &owner);
    popup.mnuSub->setObjectName(QStringLiteral("mnuSub"));
    popup.mnuToFullMode = addItem(*popup.mnuSub, "mnuToFullMode", kToFullModeCaption);
    popup.mnuSetOnTopSub = addCheckItem(*popup.mnuSub, "mnuSetOnTopSub");
    addSeparator(*popup.mnuSub, "mnuDami4");
    popup.mnuQuitSub = addItem(*popup.mnuSub, "mnuQuitSub", kQuitCaption);
    return popup;
}

void connectViewMenus(const ViewMenu& menu, const OneLinePopup& popup, frmMain& form) {
    runsCommand(menu.mnuSetOnTop, form, Command::ToggleAlwaysOnTop);
    runsCommand(menu.mnuToLineMode, form, Command::OneLineMode);
    runsCommand(popup.mnuToFullMode, form, Command::FullMode);
    runsCommand(popup.mnuSetOnTopSub, form, Command::ToggleAlwaysOnTop);
    runsCommand(popup.mnuQuitSub, form, Command::Quit);
}

}  // namespace lirabox::qt
