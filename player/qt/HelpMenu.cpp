#include "HelpMenu.h"

#include <QMenu>
#include <QMenuBar>

#include "MenuItems.h"

namespace lirabox::qt {
namespace {

const char* const kHelpCaption = "ヘルプ";
const char* const kContentsCaption = "目次";
const char* const kVersionCaption = "バージョン情報";

}  // namespace

HelpMenu addHelpMenu(QMenuBar& bar) {
    HelpMenu menu;
    menu.mnuHelp = bar.addMenu(QString::fromUtf8(kHelpCaption));
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
