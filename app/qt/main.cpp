// lirabox: the player's program. Arguments: an optional recording, optionally
// followed by "/t=" and the second to start from.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include <QApplication>
#include <QMessageBox>

#include "app/PlayerAssembly.h"
#include "app/qt/toolkit/Catalogue.h"
#include "app/qt/mainwindow/EngineEventPump.h"
#include "app/qt/mainwindow/LoadWaiter.h"
#include "app/qt/mainwindow/MainWindow.h"
#include "app/qt/mpris/MprisService.h"
#include "app/qt/toolkit/OpeningPlace.h"
#include "app/qt/mainwindow/PictureBox.h"
#include "app/qt/toolkit/QtOwnSettings.h"
#include "app/qt/toolkit/QtWindowServices.h"
#include "app/qt/toolkit/TraceLog.h"
#include "app/qt/keys/DeclaredFunctionManager.h"
#include "app/qt/oneline/OneLineWindow.h"
#include "player/CommandLine.h"
#include "player/UsageText.h"
#include "player/frmMain.h"
#include "app/qt/settings/SettingsWindow.h"
#include "player/media/mpv/MpvEngine.h"
#include "settings/KeyboardLevels.h"
#include "support/RaisedError.h"
#include "support/UiText.h"

int main(int argc, char** argv) {
    // The argument text is taken before Qt sees the arguments, and Qt is given
    // none of them, so a recording's name can never be read as a Qt option.
    const bool verbose = argc > 1 && std::string_view(argv[1]) == "--verbose";
    const std::string text = verbose ? lirabox::argumentText(argc - 1, argv + 1) : lirabox::argumentText(argc, argv);
    // The desktop's language, from the first text on (--help included).
    lirabox::qt::Catalogue catalogue;
    if (text == "--help" || text == "-h") {
        namespace usage = lirabox::usage;
        std::fputs((shown(usage::kUsage) + shown(usage::kVerboseOption) + shown(usage::kHelpAndVersionOptions)).c_str(),
                   stdout);
        return 0;
    }
    if (text == "--version") {
        std::printf("lirabox %s\n", LIRABOX_VERSION);
        return 0;
    }

    lirabox::qt::keepQtSettingsInMemory();
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    catalogue.install();
    QApplication::setApplicationName(QString::fromLatin1(lirabox::frmMain::kTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(LIRABOX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("lirabox"));
    lirabox::qt::routeTracesToLog(verbose);

    std::unique_ptr<lirabox::media::MpvEngine> engine;
    try {
        engine = std::make_unique<lirabox::media::MpvEngine>();
    } catch (const lirabox::RaisedError& error) {
        QMessageBox::critical(nullptr, QString::fromLatin1(lirabox::frmMain::kTitle),
                              QString::fromStdString(lirabox::frmMain::ErrorMessageText(error.number())));
        return 1;
    }
    lirabox::qt::EngineEventPump pump(*engine);

    lirabox::qt::MainWindow window;
    lirabox::giveOpeningPlace(window);
    window.holdShowing();
    lirabox::qt::installLoadWaiter(*engine, window);
    lirabox::QtWindowServices windowServices;
    lirabox::hotkeys::DeclaredFunctionManager subclass;
    lirabox::PlayerAssembly player({*engine, window, window, window.seekbk(), window.seekpoint(), window.volbk(),
                                    window.picArrow(), windowServices, subclass, window.WindowHandle(),
                                    &lirabox::settings::keyLegendOf,
                                    [](const lirabox::settings::frmSettings::Collaborators& parts) {
                                        return std::make_unique<lirabox::settings::qt::SettingsWindow>(parts);
                                    }});
    lirabox::frmMain& form = player.form();
    window.connectTo(form);
    window.connectMenus(player.menus());
    window.setOneLineWindowFactory([&form](lirabox::qt::MainWindow& owner) {
        return new lirabox::oneline::qt::OneLineWindow(form, owner, owner, *owner.oneLinePopup().mnuSub,
                                                       *owner.viewMenu().mnuETC, owner.dpi(), owner);
    });

    if (!player.start(text)) return 1;  // a second instance: the message has been dismissed
    const lirabox::dbus::MprisService mpris(form, *engine);
    window.showLoaded();
    return QApplication::exec();
}
