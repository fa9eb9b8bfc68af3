#include "FileMenu.h"

#include <QMenu>
#include <QMenuBar>

#include "MenuItems.h"
#include "app/qt/toolkit/Catalogue.h"
#include "player/MainWindowTexts.h"
#include "player/frmMain.h"

namespace lirabox::qt {

FileMenu addFileMenu(QMenuBar& bar) {
    FileMenu menu;
    menu.mnuMain = bar.addMenu(uiText(texts::kFileMenu));
    menu.mnuMain->setObjectName(QStringLiteral("mnuMain"));
    QMenu& items = *menu.mnuMain;
    menu.mnuOpen = addItem(items, "mnuOpen", texts::kOpen, QKeySequence(Qt::CTRL | Qt::Key_O));
    addSeparator(items, "mnuDami");
    menu.mnuPlay = addItem(items, "mnuPlay", texts::kPlay);
    menu.mnuPause = addItem(items, "mnuPause", texts::kPause);
    menu.mnuStop = addItem(items, "mnuStop", texts::kStop);
    menu.mnuFor = addItem(items, "mnuFor", texts::kForward);
    menu.mnuRev = addItem(items, "mnuRev", texts::kRewind);
    menu.mnuSpeedUp = addItem(items, "mnuSpeedUp", texts::kSpeedUpItem);
    menu.mnuSpeedDown = addItem(items, "mnuSpeedDown", texts::kSpeedDownItem);
    menu.mnuTimeStamp = addItem(items, "mnuTimeStamp", texts::kTimeStampItem);
    menu.mnuGoToTime = addItem(items, "mnuGoToTime", texts::kGoToTimeItem, QKeySequence(Qt::CTRL | Qt::Key_G));
    addSeparator(items, "mnuDami2");
    for (std::size_t i = 0; i < menu.mnuRecent.size(); ++i) {
        menu.mnuRecent[i] = items.addAction(QString());
        menu.mnuRecent[i]->setObjectName(QStringLiteral("mnuRecent%1").arg(i + 1));
        menu.mnuRecent[i]->setVisible(false);
    }
    menu.mnuRecentEnd = items.addSeparator();
    menu.mnuRecentEnd->setObjectName(QStringLiteral("mnuDami3"));
    menu.mnuRecentEnd->setVisible(false);
    menu.mnuQuit = addItem(items, "mnuQuit", texts::kQuitItem, QKeySequence(Qt::CTRL | Qt::Key_Q));
    return menu;
}

void connectFileMenu(const FileMenu& menu, frmMain& form) {
    const auto on = [&form](QAction* action, Command command) { runsCommand(action, form, command); };
    on(menu.mnuOpen, Command::Open);
    on(menu.mnuPlay, Command::Play);
    on(menu.mnuPause, Command::Pause);
    on(menu.mnuStop, Command::Stop);
    on(menu.mnuFor, Command::FastForward);
    on(menu.mnuRev, Command::Rewind);
    on(menu.mnuSpeedUp, Command::Faster);
    on(menu.mnuSpeedDown, Command::Slower);
    on(menu.mnuTimeStamp, Command::InsertTimeStamp);
    on(menu.mnuGoToTime, Command::GoToTime);
    QObject::connect(menu.mnuMain, &QMenu::aboutToShow, menu.mnuMain, [&form, menu] {
        const std::vector<frmMain::RecentRecording> listed = form.recentRecordings();
        const auto& recent = menu.mnuRecent;
        menu.mnuRecentEnd->setVisible(!listed.empty());
        for (std::size_t i = 0; i < recent.size(); ++i) {
            QAction* item = recent[i];
            item->setVisible(i < listed.size());
            if (i >= listed.size()) continue;
            QString path = QString::fromStdString(listed[i].path);
            item->setText(
                QStringLiteral("&%1 %2").arg(i + 1).arg(path.replace(QLatin1Char('&'), QStringLiteral("&&"))));
            item->setEnabled(listed[i].exists);
            item->setData(QString::fromStdString(listed[i].path));
        }
    });
    for (QAction* item : menu.mnuRecent) {
        QObject::connect(
            item, &QAction::triggered, item, [&form, item] { form.openRecent(item->data().toString().toStdString()); });
    }
    on(menu.mnuQuit, Command::Quit);
}

}  // namespace lirabox::qt
