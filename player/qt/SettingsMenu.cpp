#include "SettingsMenu.h"

#include <QMenu>
#include <QMenuBar>

#include "MenuItems.h"

namespace lirabox::qt {
namespace {

constexpr const char* kSettingsMenu = "設定";
constexpr const char* kPlaybackSettings = "再生設定";
constexpr const char* kShortcutKeySettings = "ショートカットキー設定";

}  // namespace

SettingsMenu addSettingsMenu(QMenuBar& bar) {
    SettingsMenu menu;
    menu.mnuSet = bar.addMenu(QString::fromUtf8(kSettingsMenu));
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
