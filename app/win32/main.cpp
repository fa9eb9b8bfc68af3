// lirabox.exe: the player's program on Windows. Arguments: an optional
// recording, optionally followed by "/t=" and the second to start from.

#include "ConsoleText.h"
#include "app/PlayerAssembly.h"
#include "app/win32/keys/KeyMessageSubclass.h"
#include "app/win32/mainwindow/HandOver.h"
#include "app/win32/mainwindow/LoadWaiter.h"
#include "app/win32/mainwindow/MainWindow.h"
#include "app/win32/settings/SettingsDialog.h"
#include "app/win32/toolkit/WideText.h"
#include "app/win32/typer/ClipboardSelectionReader.h"
#include "player/CommandLine.h"
#include "player/UsageText.h"
#include "player/frmMain.h"
#include "player/media/win32/Win32MediaEngine.h"
#include "settings/KeyboardLevels.h"
#include "support/DesktopServices.h"
#include "support/RaisedError.h"
#include "support/Translations.h"
#include "support/UiText.h"
#include "support/win32/Win32WindowServices.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

namespace {

// The arguments as UTF-8, joined as the Linux program receives them.
std::string commandLineText() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int i = 0; i < count; ++i) utf8.push_back(lirabox::win32::toUtf8(arguments[i]));
    ::LocalFree(arguments);
    std::vector<const char*> pointers;
    for (const std::string& argument : utf8) pointers.push_back(argument.c_str());
    return lirabox::argumentText(static_cast<int>(pointers.size()), pointers.data());
}

// Japanese for a Japanese user interface, English otherwise.
void useTextsOfUserLanguage() {
    const bool japanese = PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_JAPANESE;
    const std::string language = japanese ? "ja" : "en";
    lirabox::useCatalogue([language](const lirabox::UiText& text) {
        return std::string(lirabox::translate(text.context, text.source, language));
    });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const INITCOMMONCONTROLSEX controls {sizeof(INITCOMMONCONTROLSEX),
                                         ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&controls);
    useTextsOfUserLanguage();
    const std::string text = commandLineText();
    if (text == "--help" || text == "-h") {
        namespace usage = lirabox::usage;
        lirabox::win32::tellUser(shown(usage::kUsage) + shown(usage::kHelpAndVersionOptions));
        return 0;
    }
    if (text == "--version") {
        lirabox::win32::tellUser(std::string("lirabox ") + LIRABOX_VERSION + "\n");
        return 0;
    }

    std::unique_ptr<lirabox::media::Win32MediaEngine> engine;
    try {
        engine = std::make_unique<lirabox::media::Win32MediaEngine>();
    } catch (const lirabox::RaisedError& error) {
        ::MessageBoxW(nullptr,
                      lirabox::win32::toWide(lirabox::frmMain::ErrorMessageText(error.number())).c_str(),
                      lirabox::win32::toWide(lirabox::frmMain::kTitle).c_str(),
                      MB_OK | MB_ICONERROR);
        return 1;
    }

    lirabox::win32::MainWindow window(instance);
    lirabox::win32::installLoadWaiter(*engine, window);
    lirabox::Win32WindowServices windowServices;
    lirabox::hotkeys::KeyMessageSubclass subclass;
    lirabox::win32::WindowMessageRunningCopy runningCopy(lirabox::win32::MainWindow::kClassName);
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
                                    [instance](const lirabox::settings::frmSettings::Collaborators& parts) {
                                        return std::make_unique<lirabox::settings::win32::SettingsDialog>(instance,
                                                                                                          parts);
                                    },
                                    nullptr,
                                    nullptr,  // the Keytap library's keys, the SendInput typer
                                    &runningCopy,

                                    lirabox::win32::clipboardSelectionReader(window.WindowHandle())});
    window.connectTo(player.form(), player.menus());
    window.showEnvelope(player.seekEnvelope());

    if (const std::optional<int> secondStart = player.start(text)) return *secondStart;
    window.show();
    return window.run();
}
