#include "ViewMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "MenuItems.h"
#include "app/qt/toolkit/Catalogue.h"
#include "player/MainWindowTexts.h"

namespace lirabox::qt {
namespace {

QAction* addCheckItem(QMenu& menu, const char* name) {
    QAction* action = addItem(menu, name, texts::kOnTop);
    action->setCheckable(true);
    return action;
}

}  // namespace

ViewMenu addViewMenu(QMenuBar& bar) {
    ViewMenu menu;
    menu.mnuETC = bar.addMenu(uiText(texts::kViewMenu));
    menu.mnuETC->setObjectName(QStringLiteral("mnuETC"));
    menu.mnuSetOnTop = addCheckItem(*menu.mnuETC, "mnuSetOnTop");
    menu.mnuToLineMode = addItem(*menu.mnuETC, "mnuToLineMode", texts::kToLineModeItem);
    return menu;
}

OneLinePopup makeOneLinePopup(QWidget& owner) {
    OneLinePopup popup;
    popup.mnuSub = new QMenu(uiText(texts::kOneLineMenu), &owner);
    popup.mnuSub->setObjectName(QStringLiteral("mnuSub"));
    popup.mnuToFullMode = addItem(*popup.mnuSub, "mnuToFullMode", texts::kToFullModeItem);
    popup.mnuSetOnTopSub = addCheckItem(*popup.mnuSub, "mnuSetOnTopSub");
    addSeparator(*popup.mnuSub, "mnuDami4");
    popup.mnuQuitSub = addItem(*popup.mnuSub, "mnuQuitSub", texts::kQuitItem);
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
