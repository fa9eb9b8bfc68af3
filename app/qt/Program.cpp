#include "Program.h"

#include <cstdio>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

#include "app/PlayerAssembly.h"
#include "app/qt/bus/BusRunningCopy.h"
#include "app/qt/bus/MprisService.h"
#include "app/qt/bus/PortalTextTyper.h"
#include "app/qt/bus/RemoteService.h"
#include "app/qt/keys/DeclaredFunctionManager.h"
#include "app/qt/mainwindow/EngineEventPump.h"
#include "app/qt/mainwindow/LoadWaiter.h"
#include "app/qt/mainwindow/MainWindow.h"
#include "app/qt/mainwindow/PictureBox.h"
#include "app/qt/oneline/OneLineWindow.h"
#include "app/qt/settings/SettingsWindow.h"
#include "app/qt/start/HeadStart.h"
#include "app/qt/toolkit/Catalogue.h"
#include "app/qt/toolkit/OpeningPlace.h"
#include "app/qt/toolkit/QtOwnSettings.h"
#include "app/qt/toolkit/QtSelectionReader.h"
#include "app/qt/toolkit/QtWindowServices.h"
#include "app/qt/toolkit/TraceLog.h"
#include "hotkeys/PortalKeys.h"
#include "hotkeys/dbus/PortalShortcuts.h"
#include "player/CommandLine.h"
#include "player/UsageText.h"
#include "player/frmMain.h"
#include "player/media/mpv/MpvEngine.h"
#include "player/media/mpv/SoundLibraryMessages.h"
#include "settings/KeyboardLevels.h"
#include "support/LoaderPages.h"
#include "support/RaisedError.h"
#include "support/UiText.h"

int lirabox_program_main(int argc, char** argv) {
    // The argument text is taken before Qt sees the arguments, and Qt is given
    // none of them, so a recording's name can never be read as a Qt option.
    const auto [verbose, text] = lirabox::programArguments(argc, argv);
    // Routed already when the launcher started playing.
    lirabox::media::routeSoundLibraryMessages(verbose);
    // The desktop's language, from the first text on (--help included).
    lirabox::qt::Catalogue catalogue;
    if (text == "--help" || text == "-h") {
        namespace usage = lirabox::usage;
        std::fputs((shown(usage::kUsage) + shown(usage::kVerboseOption) + shown(usage::kCommandOption) +
                    shown(usage::kHelpAndVersionOptions))
                       .c_str(),
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
    // QApplication has set the desktop's locale; libmpv, which may be playing
    // already, reads and writes numbers the C way.
    lirabox::media::useNumbersTheCWay();
    catalogue.install();
    QApplication::setApplicationName(QString::fromLatin1(lirabox::frmMain::kTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(LIRABOX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("lirabox"));
    lirabox::qt::routeTracesToLog(verbose);

    // The engine the launcher started playing with, if any, runs on.
    // Otherwise libmpv starts, and opens the recording named on the command
    // line, while the window is built; the player then takes that load over.
    std::unique_ptr<lirabox::media::MpvEngine> engine = lirabox::takeStartedEngine();
    std::future<std::unique_ptr<lirabox::media::MpvEngine>> engineStart;
    if (!engine) {
        std::error_code noStartFolder;
        const std::optional<lirabox::CommandLineFile> file =
            lirabox::parseCommandLine(text, std::filesystem::current_path(noStartFolder));
        engineStart = lirabox::media::startMpvEngine(file ? file->path : std::string());
    }

    lirabox::qt::MainWindow window;
    lirabox::giveOpeningPlace(window);
    window.holdShowing();
    try {
        if (!engine) engine = engineStart.get();
    } catch (const lirabox::RaisedError& error) {
        QMessageBox::critical(nullptr,
                              QString::fromLatin1(lirabox::frmMain::kTitle),
                              QString::fromStdString(lirabox::frmMain::ErrorMessageText(error.number())));
        return 1;
    }
    lirabox::qt::EngineEventPump pump(*engine);
    lirabox::qt::installLoadWaiter(*engine, window);
    lirabox::QtWindowServices windowServices;
    lirabox::hotkeys::DeclaredFunctionManager subclass;
    // Keys reach the program through its own keyboard watcher on X11, and
    // through the desktop's shortcut portal where no program may watch the
    // keyboard (a Wayland session) or there is no display at all; time stamps
    // are typed through XTEST on X11 and the desktop's RemoteDesktop portal elsewhere.
    const bool onX11 = QGuiApplication::platformName() == QStringLiteral("xcb");
    std::unique_ptr<lirabox::hotkeys::PortalShortcuts> portal;
    std::unique_ptr<lirabox::hotkeys::PortalKeys> portalKeys;
    std::unique_ptr<lirabox::TextTyper> portalTyper;
    lirabox::PlayerAssembly* assembled = nullptr;
    lirabox::dbus::BusRunningCopy runningCopy;
    if (!onX11) {
        portal = std::make_unique<lirabox::hotkeys::PortalShortcuts>();
        portalKeys = std::make_unique<lirabox::hotkeys::PortalKeys>(
            *portal, [&assembled](lirabox::Command command) { assembled->form().runCommand(command); });
        portal->answerTo(*portalKeys);
        portalTyper = std::make_unique<lirabox::dbus::PortalTextTyper>([&window] {
            auto* box = new QMessageBox(QMessageBox::Information,
                                        QString::fromLatin1(lirabox::frmMain::kTitle),
                                        lirabox::qt::uiText(lirabox::dbus::kTimeStampOnClipboard),
                                        QMessageBox::Ok,
                                        &window);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->show();
        });
    }
    lirabox::PlayerAssembly player({*engine,
                                    window,
                                    window,
                                    window.seekbk(),
                                    window.seekpoint(),
                                    window.volbk(),
                                    window.picArrow(),
                                    windowServices,
                                    subclass,
                                    window.WindowHandle(),
                                    &lirabox::settings::keyLegendOf,
                                    [](const lirabox::settings::frmSettings::Collaborators& parts) {
                                        return std::make_unique<lirabox::settings::qt::SettingsWindow>(parts);
                                    },
                                    portalKeys.get(),
                                    std::move(portalTyper),
                                    &runningCopy,
                                    std::make_unique<lirabox::qt::QtSelectionReader>()});
    assembled = &player;
    lirabox::frmMain& form = player.form();
    window.connectTo(form);
    window.showEnvelope(player.seekEnvelope());
    window.connectMenus(player.menus());
    window.setOneLineWindowFactory([&form](lirabox::qt::MainWindow& owner) {
        return new lirabox::oneline::qt::OneLineWindow(
            form, owner, owner, *owner.oneLinePopup().mnuSub, *owner.viewMenu().mnuETC, owner.dpi(), owner);
    });

    if (const std::optional<int> secondStart = player.start(text)) return *secondStart;
    const lirabox::dbus::MprisService mpris(form, *engine);
    const lirabox::dbus::RemoteService remote(form);
    window.showLoaded();
    // Once the start-up's events have run, the loader's tables go.
    QTimer::singleShot(0, [] { lirabox::releaseLoaderPages(); });
    return QApplication::exec();
}
