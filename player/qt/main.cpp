// lirabox: the player's program. Arguments: an optional recording, optionally
// followed by "/t=" and the second to start from; or --command and a command
// for the copy that runs.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include "Catalogue.h"
#include "EngineEventPump.h"
#include "LoadWaiter.h"
#include "MainWindow.h"
#include "MprisService.h"
#include "OpeningPlace.h"
#include "PictureBox.h"
#include "PortalTextTyper.h"
#include "RemoteSender.h"
#include "RemoteService.h"
#include "QtOwnSettings.h"
#include "QtWindowServices.h"
#include "TraceLog.h"
#include "hotkeys/DeclaredFunctionManager.h"
#include "hotkeys/FootPedals.h"
#include "hotkeys/KeytapBinding.h"
#include "hotkeys/PortalKeys.h"
#include "hotkeys/dbus/PortalShortcuts.h"
#include "oneline/qt/OneLineWindow.h"
#include "player/CommandLine.h"
#include "player/MenuHandlers.h"
#include "player/SingleInstance.h"
#include "player/TextTyper.h"
#include "player/Timepost.h"
#include "player/UsageText.h"
#include "player/frmMain.h"
#include "player/media/MpvEngine.h"
#include "settings/qt/SettingsWindow.h"
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
        std::fputs((shown(usage::kUsage) + shown(usage::kVerboseOption) + shown(usage::kCommandOption) +
                    shown(usage::kHelpAndVersionOptions)).c_str(),
                   stdout);
        return 0;
    }
    if (text == "--version") {
        std::printf("lirabox %s\n", LIRABOX_VERSION);
        return 0;
    }
    if (argc > 1 && std::string_view(argv[1]) == "--command") {
        int coreArgc = 1;
        const QCoreApplication sender(coreArgc, argv);
        return lirabox::dbus::sendRemoteCommand(std::vector<std::string>(argv + 2, argv + argc));
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
    lirabox::TimepostLibrary timepost;
    lirabox::SingleInstance instance;
    // Keys reach the program through its own keyboard watcher on X11, and
    // through the desktop's shortcut portal where no program may watch the
    // keyboard (a Wayland session) or there is no display at all.
    const bool onX11 = QGuiApplication::platformName() == QStringLiteral("xcb");
    lirabox::hotkeys::KeytapBinding keytapBinding;
    std::unique_ptr<lirabox::hotkeys::PortalShortcuts> portal;
    std::unique_ptr<lirabox::hotkeys::PortalKeys> portalKeys;
    lirabox::frmMain* player = nullptr;
    if (!onX11) {
        portal = std::make_unique<lirabox::hotkeys::PortalShortcuts>();
        portalKeys = std::make_unique<lirabox::hotkeys::PortalKeys>(
            *portal, [&player](lirabox::Command command) { player->runCommand(command); });
        portal->answerTo(*portalKeys);
    }
    lirabox::KeytapApi& keytap = onX11 ? static_cast<lirabox::KeytapApi&>(keytapBinding) : *portalKeys;
    lirabox::hotkeys::DeclaredFunctionManager subclass;
    lirabox::frmMain form(lirabox::frmMain::Collaborators {*engine, window, window.seekbk(), window.seekpoint(),
                                                           window.volbk(), window.picArrow(), &windowServices,
                                                           timepost, instance, keytap, subclass, nullptr});
    player = &form;
    window.connectTo(form);
    lirabox::settings::qt::SettingsWindow settings(
        {form, window.WindowHandle(), keytap, subclass, lirabox::systemDesktopServices()});
    form.setSettingsDialog(&settings);
    lirabox::MenuHandlers menus(form, window, window);
    form.setMenuHandlers(&menus);
    // Typing into other programs: XTEST on X11, the desktop's RemoteDesktop portal elsewhere.
    const std::unique_ptr<lirabox::TextTyper> typer =
        onX11 ? lirabox::desktopTextTyper() : std::make_unique<lirabox::dbus::PortalTextTyper>([&window] {
              auto* box = new QMessageBox(QMessageBox::Information, QString::fromLatin1(lirabox::frmMain::kTitle),
                                          lirabox::qt::uiText(lirabox::dbus::kTimeStampOnClipboard),
                                          QMessageBox::Ok, &window);
              box->setAttribute(Qt::WA_DeleteOnClose);
              box->show();
          });
    form.setTextTyper(typer.get());
    window.connectMenus(menus);
    window.setOneLineWindowFactory([&form](lirabox::qt::MainWindow& owner) {
        return new lirabox::oneline::qt::OneLineWindow(form, owner, owner, *owner.oneLinePopup().mnuSub,
                                                       *owner.viewMenu().mnuETC, owner.dpi(), owner);
    });
    subclass.setKeyMessageHandler([&form](std::int32_t slot) { form.KeyMessage(slot); });

    lirabox::hotkeys::PedalActions pedalActions([&form] { return form.pedal_mapping(); },
                                                [&form](lirabox::Command command) { form.runCommand(command); });
    lirabox::hotkeys::FootPedals pedals(pedalActions);

    if (!form.Form_Load(text)) return 1;  // a second instance: the message has been dismissed
    pedals.start();
    const lirabox::dbus::MprisService mpris(form, *engine);
    const lirabox::dbus::RemoteService remote(form);
    window.showLoaded();
    return QApplication::exec();
}
