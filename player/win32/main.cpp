// lirabox.exe: the player's program on Windows. Arguments: an optional
// recording, optionally followed by "/t=" and the second to start from.

#include "ConsoleText.h"
#include "LoadWaiter.h"
#include "MainWindow.h"
#include "WideText.h"
#include "hotkeys/FootPedals.h"
#include "hotkeys/KeytapBinding.h"
#include "hotkeys/win32/KeyMessageSubclass.h"
#include "player/CommandLine.h"
#include "player/MenuHandlers.h"
#include "player/SingleInstance.h"
#include "player/TextTyper.h"
#include "player/Timepost.h"
#include "player/UsageText.h"
#include "player/frmMain.h"
#include "player/media/win32/Win32MediaEngine.h"
#include "settings/KeyboardLevels.h"
#include "settings/win32/SettingsDialog.h"
#include "support/DesktopServices.h"
#include "support/RaisedError.h"
#include "support/Translations.h"
#include "support/UiText.h"
#include "Win32WindowServices.h"

#include <memory>
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
    const INITCOMMONCONTROLSEX controls {sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
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
        ::MessageBoxW(nullptr, lirabox::win32::toWide(lirabox::frmMain::ErrorMessageText(error.number())).c_str(),
                      lirabox::win32::toWide(lirabox::frmMain::kTitle).c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }

    lirabox::win32::MainWindow window(instance);
    lirabox::win32::installLoadWaiter(*engine, window);
    lirabox::Win32WindowServices windowServices;
    lirabox::TimepostLibrary timepost;
    lirabox::SingleInstance instanceGuard;
    lirabox::hotkeys::KeytapBinding keytap;
    lirabox::hotkeys::KeyMessageSubclass subclass;
    lirabox::frmMain form(lirabox::frmMain::Collaborators {*engine, window, window.seekbk(), window.seekpoint(),
                                                           window.volbk(), window.picArrow(), &windowServices,
                                                           timepost, instanceGuard, keytap, subclass, nullptr});
    lirabox::MenuHandlers menus(form, window, window);
    form.setMenuHandlers(&menus);
    const std::unique_ptr<lirabox::TextTyper> typer = lirabox::desktopTextTyper();
    form.setTextTyper(typer.get());
    window.connectTo(form, menus);
    subclass.setKeyMessageHandler([&form](std::int32_t slot) { form.KeyMessage(slot); });
    lirabox::settings::win32::SettingsDialog settings(
        instance, {form, window.WindowHandle(), keytap, subclass, lirabox::systemDesktopServices(),
                   &lirabox::settings::keyLegendOf});
    form.setSettingsDialog(&settings);
    lirabox::hotkeys::PedalActions pedalActions([&form] { return form.pedal_mapping(); },
                                                [&form](lirabox::Command command) { form.runCommand(command); });
    lirabox::hotkeys::FootPedals pedals(pedalActions);

    if (!form.Form_Load(text)) return 1;  // a second instance: the message has been dismissed
    pedals.start();
    window.show();
    return window.run();
}
