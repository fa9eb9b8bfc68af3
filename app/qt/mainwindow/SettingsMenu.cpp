#include "SettingsMenu.h"

#include <QMenu>
#include <QMenuBar>

#include "MenuItems.h"
#include "app/qt/toolkit/Catalogue.h"
#include "player/MainWindowTexts.h"

namespace lirabox::qt {

SettingsMenu addSettingsMenu(QMenuBar& bar) {
    SettingsMenu menu;
    menu.mnuSet = bar.addMenu(uiText(texts::kSettingsMenu));
    menu.mnuSet->setObjectName(QStringLiteral("mnuSet"));
    menu.mnuSetPlay = addItem(*menu.mnuSet, "mnuSetPlay", texts::kPlaybackSettings);
    menu.mnuSetKey = addItem(*menu.mnuSet, "mnuSetKey", texts::kShortcutKeySettings);
    return menu;
}

void connectSettingsMenu(const SettingsMenu& menu, frmMain& form) {
    runsCommand(menu.mnuSetPlay, form, Command::PlaybackSettings);
    runsCommand(menu.mnuSetKey, form, Command::ShortcutKeySettings);
}

}  // namespace lirabox::qt
