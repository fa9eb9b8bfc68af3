#include "HelpMenu.h"

#include <QMenu>
#include <QMenuBar>

#include "Catalogue.h"
#include "MenuItems.h"

namespace lirabox::qt {
namespace {

constexpr UiText kHelpCaption = LIRABOX_TEXT("frmMain", "ヘルプ");
constexpr UiText kContentsCaption = LIRABOX_TEXT("frmMain", "目次");
constexpr UiText kVersionCaption = LIRABOX_TEXT("frmMain", "バージョン情報");

}  // namespace

HelpMenu addHelpMenu(QMenuBar& bar) {
    HelpMenu menu;
    menu.mnuHelp = bar.addMenu(uiText(kHelpCaption));
    menu.mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    menu.mnuMokuji = addItem(*menu.mnuHelp, "mnuMokuji", kContentsCaption);
    addSeparator(*menu.mnuHelp, "mnuDami3");
    menu.mnuVer = addItem(*menu.mnuHelp, "mnuVer", kVersionCaption);
    return menu;
}

void connectHelpMenu(const HelpMenu& menu, frmMain& form) {
    runsCommand(menu.mnuMokuji, form, Command::Help);
    runsCommand(menu.mnuVer, form, Command::Version);
}

}  // namespace lirabox::qt
