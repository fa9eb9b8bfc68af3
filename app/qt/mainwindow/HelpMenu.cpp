#include "HelpMenu.h"

#include <QMenu>
#include <QMenuBar>

#include "MenuItems.h"
#include "app/qt/toolkit/Catalogue.h"
#include "player/MainWindowTexts.h"

namespace lirabox::qt {

HelpMenu addHelpMenu(QMenuBar& bar) {
    HelpMenu menu;
    menu.mnuHelp = bar.addMenu(uiText(texts::kHelpMenu));
    menu.mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    menu.mnuMokuji = addItem(*menu.mnuHelp, "mnuMokuji", texts::kContentsItem);
    addSeparator(*menu.mnuHelp, "mnuDami3");
    menu.mnuVer = addItem(*menu.mnuHelp, "mnuVer", texts::kVersionItem);
    return menu;
}

void connectHelpMenu(const HelpMenu& menu, frmMain& form) {
    runsCommand(menu.mnuMokuji, form, Command::Help);
    runsCommand(menu.mnuVer, form, Command::Version);
}

}  // namespace lirabox::qt
