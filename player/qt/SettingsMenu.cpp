#include "SettingsMenu.h"

#include <QMenu>
#include <QMenuBar>

#include "Catalogue.h"
#include "MenuItems.h"

namespace lirabox::qt {
namespace {

constexpr UiText kSettingsMenu = LIRABOX_TEXT("frmMain", "設定");
constexpr UiText kPlaybackSettings = LIRABOX_TEXT("frmMain", "再生設定");
constexpr UiText kShortcutKeySettings = LIRABOX_TEXT("frmMain", "ショートカットキー設定");

}  // namespace

SettingsMenu addSettingsMenu(QMenuBar& bar) {
    SettingsMenu menu;
    menu.mnuSet = bar.addMenu(uiText(kSettingsMenu));
    menu.mnuSet->setObjectName(QStringLiteral("mnuSet"));
    menu.mnuSetPlay = addItem(*menu.mnuSet, "mnuSetPlay", kPlaybackSettings);
    menu.mnuSetKey = addItem(*menu.mnuSet, "mnuSetKey", kShortcutKeySettings);
    return menu;
}

void connectSettingsMenu(const SettingsMenu& menu, frmMain& form) {
    runsCommand(menu.mnuSetPlay, form, Command::PlaybackSettings);
    runsCommand(menu.mnuSetKey, form, Command::ShortcutKeySettings);
}

}  // namespace lirabox::qt
