// lirabox: the player's program. Arguments: an optional recording, optionally
// followed by "/t=" and the second to start from.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include <QApplication>
#include <QMessageBox>

#include "EngineEventPump.h"
#include "MainWindow.h"
#include "OpeningPlace.h"
#include "PictureBox.h"
#include "QtWindowServices.h"
#include "TraceLog.h"
#include "hotkeys/DeclaredFunctionManager.h"
#include "hotkeys/KeytapBinding.h"
#include "player/CommandLine.h"
#include "player/SingleInstance.h"
#include "player/Timepost.h"
#include "player/frmMain.h"
#include "player/media/MpvEngine.h"
#include "support/RaisedError.h"

namespace {

constexpr const char* kUsage =
    "Usage: lirabox [RECORDING[/t=SECONDS]]\n"
    "Plays RECORDING (WAV, MP3 or WMA), from SECONDS when given.\n"
    "\n"
    "  --verbose  log every step skipped after a failure, every sound engine\n"
    "             error and every failed settings write (also on with\n"
    "             QT_LOGGING_RULES=\"lirabox.info=true\")\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n";

}  // namespace

int main(int argc, char** argv) {
    // The argument text is taken before Qt sees the arguments, and Qt is given
    // none of them, so a recording's name can never be read as a Qt option.
    const bool verbose = argc > 1 && std::string_view(argv[1]) == "--verbose";
    const std::string text = verbose ? lirabox::argumentText(argc - 1, argv + 1) : lirabox::argumentText(argc, argv);
    if (text == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (text == "--version") {
        std::printf("lirabox %s\n", LIRABOX_VERSION);
        return 0;
    }

    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QString::fromLatin1(lirabox::frmMain::kTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(LIRABOX_VERSION));
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
    lirabox::QtWindowServices windowServices;
    lirabox::TimepostLibrary timepost;
    lirabox::SingleInstance instance;
    lirabox::hotkeys::KeytapBinding keytap;
    lirabox::hotkeys::DeclaredFunctionManager subclass;
    lirabox::frmMain form(lirabox::frmMain::Collaborators {*engine, window, window.seekbk(), window.seekpoint(),
                                                           window.volbk(), window.picArrow(), &windowServices,
                                                           timepost, instance, keytap, subclass, nullptr});
    window.connectTo(form);
    subclass.setKeyMessageHandler([&form](std::int32_t slot) { form.KeyMessage(slot); });

    if (!form.Form_Load(text)) return 1;  // a second instance: the message has been dismissed
    window.showLoaded();
    return QApplication::exec();
}
