#include "SettingsMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "player/frmMain.h"

namespace lirabox::qt {
namespace {

constexpr const char* kSettingsMenu = "設定";
constexpr const char* kPlaybackSettings = "再生設定";
constexpr const char* kShortcutKeySettings = "ショートカットキー設定";

QAction* addItem(QMenu& menu, const char* name, const char* caption) {
    QAction* action = menu.addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

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
    const auto on = [&form](QAction* action, Command command) {
        QObject::connect(action, &QAction::triggered, action, [&form, command] { form.runCommand(command); });
    };
    on(menu.mnuSetPlay, Command::PlaybackSettings);
    on(menu.mnuSetKey, Command::ShortcutKeySettings);
}

}  // namespace lirabox::qt
