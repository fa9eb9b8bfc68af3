#include "ViewMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "Catalogue.h"
#include "MenuItems.h"

namespace lirabox::qt {
namespace {

constexpr UiText kViewCaption = LIRABOX_TEXT("frmMain", "表示");
constexpr UiText kOnTopCaption = LIRABOX_TEXT("frmMain", "常に手前に表示");
// The key is handled by the window, not by the menu: it is only named here.
constexpr UiText kToLineModeCaption = LIRABOX_TEXT("frmMain", "1行モード          Alt+Enter");
constexpr UiText kSubCaption = LIRABOX_TEXT("frmMain", "1行モード");
constexpr UiText kToFullModeCaption = LIRABOX_TEXT("frmMain", "フルモード");
constexpr UiText kQuitCaption = LIRABOX_TEXT("frmMain", "終了");

QAction* addCheckItem(QMenu& menu, const char* name) {
    QAction* action = addItem(menu, name, kOnTopCaption);
    action->setCheckable(true);
    return action;
}

}  // namespace

ViewMenu addViewMenu(QMenuBar& bar) {
    ViewMenu menu;
    menu.mnuETC = bar.addMenu(uiText(kViewCaption));
    menu.mnuETC->setObjectName(QStringLiteral("mnuETC"));
    menu.mnuSetOnTop = addCheckItem(*menu.mnuETC, "mnuSetOnTop");
    menu.mnuToLineMode = addItem(*menu.mnuETC, "mnuToLineMode", kToLineModeCaption);
    return menu;
}

OneLinePopup makeOneLinePopup(QWidget& owner) {
    OneLinePopup popup;
    popup.mnuSub = new QMenu(uiText(kSubCaption), &owner);
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
