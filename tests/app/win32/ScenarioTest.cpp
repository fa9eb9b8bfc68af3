// The real lirabox.exe under Wine, as a Windows user meets it: the INI files
// of a first start as the system writes them, the position handed to
// Timepost.dll ten times a second, global keys typed into another program,
// recordings that cannot be played, resuming and going to a time, the jump to
// a time stamp selected in Notepad, and the recent recordings of the File menu.
#include "ProgramDriver.h"
#include "player/Command.h"
#include "tests/common/Recordings.h"
#include "tests/common/win32/LinuxProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

namespace {

using namespace lirabox::test;
using namespace std::chrono_literals;

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

std::string utf8(const std::wstring& text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8,
                                                                0,
                                                                text.c_str(),
                                                                static_cast<int>(text.size()),
                                                                bytes.data(),
                                                                static_cast<int>(bytes.size()),
                                                                nullptr,
                                                                nullptr)));
    return bytes;
}

std::wstring textOf(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

HWND shownMainWindow() {
    HWND window = nullptr;
    const bool shown = within(30s, [&] {
        window = ::FindWindowW(L"LiraboxMain", L"Lirabox");
        return window != nullptr && ::IsWindowVisible(window);
    });
    return shown ? window : nullptr;
}

// The main window's time label ("00:00:03 / 00:01:00"): the position's seconds.
std::optional<int> positionShown(HWND mainWindow) {
    static const std::wregex kTimeText(LR"((\d\d):(\d\d):(\d\d) / \d\d:\d\d:\d\d)");
    for (HWND child = ::FindWindowExW(mainWindow, nullptr, L"Static", nullptr); child != nullptr;
         child = ::FindWindowExW(mainWindow, child, L"Static", nullptr)) {
        const std::wstring text = textOf(child);
        std::wsmatch time;
        if (std::regex_match(text, time, kTimeText)) {
            return std::stoi(time[1]) * 3600 + std::stoi(time[2]) * 60 + std::stoi(time[3]);
        }
    }
    return std::nullopt;
}

// One call of the logging Timepost.dll: when, and the position it was given.
struct Call {
    double milliseconds;
    double seconds;
};

std::vector<Call> callsLogged(const fs::path& log) {
    std::istringstream lines(readFile(log));
    std::vector<Call> calls;
    Call call {};
    while (lines >> call.milliseconds >> call.seconds) calls.push_back(call);
    return calls;
}

void typeKey(WORD virtualKey) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = virtualKey;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof(INPUT));
}

// The strongly red pixels the window shows on the screen.
int redPixels(HWND window) {
    RECT rect {};
    ::GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    int red = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF pixel = ::GetPixel(memory, x, y);
            if (GetRValue(pixel) > 180 && GetGValue(pixel) < 90 && GetBValue(pixel) < 90) ++red;
        }
    }
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return red;
}

// A Windows message box of the program: its text, and whether it shows the
// error icon.
struct MessageBoxSeen {
    HWND box = nullptr;
    std::wstring text;
    bool errorIcon = false;
};

MessageBoxSeen messageBoxTitled(const wchar_t* title) {
    MessageBoxSeen seen;
    if (!within(30s, [&] { return (seen.box = ::FindWindowW(L"#32770", title)) != nullptr; })) return seen;
    wchar_t text[512] = {};
    ::GetDlgItemTextW(seen.box, 0xFFFF, text, 512);
    seen.text = text;
    // The icon is a static control of its own holding the system's error icon.
    HWND icon = nullptr;
    for (HWND child = ::FindWindowExW(seen.box, nullptr, L"Static", nullptr); child != nullptr && icon == nullptr;
         child = ::FindWindowExW(seen.box, child, L"Static", nullptr)) {
        if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = child;
    }
    // Icon handles are the process's own under Wine: the error icon is told by its red.
    seen.errorIcon = icon != nullptr && within(5s, [&] { return redPixels(icon) >= 100; });
    return seen;
}

// Dismisses the box with its OK button; whether it went.
bool dismissed(HWND box) {
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    return within(10s, [&] { return !::IsWindow(box); });
}

// Picks the file in the program's Open dialog, opened with its open button.
void openThroughTheDialog(HWND mainWindow, const wchar_t* openCaption, const wchar_t* dialogTitle,
                          const fs::path& file) {
    const HWND openButton = ::FindWindowExW(mainWindow, nullptr, L"Button", openCaption);
    ASSERT_NE(openButton, nullptr);
    ::PostMessageW(mainWindow,
                   WM_COMMAND,
                   MAKEWPARAM(::GetDlgCtrlID(openButton), BN_CLICKED),
                   reinterpret_cast<LPARAM>(openButton));
    HWND dialog = nullptr;
    ASSERT_TRUE(within(20s, [&] { return (dialog = ::FindWindowW(L"#32770", dialogTitle)) != nullptr; }));
    // The file name box: a combo box in the Explorer-style dialog, an edit box in the old one.
    HWND name = ::GetDlgItem(dialog, 0x47c);
    if (name == nullptr) name = ::GetDlgItem(dialog, 0x480);
    ASSERT_NE(name, nullptr);
    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.wstring().c_str()));
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(within(10s, [&] { return !::IsWindow(dialog); }));
}

// Z:\a\b is /a/b on the Linux side.
std::string linuxPath(const fs::path& zPath) {
    std::string path = zPath.string().substr(2);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// Starts the program as a Japanese user's: Wine takes a program's language
// from the Linux locale it is started in (compiled here for the run), never
// from the Windows environment a Windows program hands down.
void startInJapanese(const fs::path& program, const fs::path& argument) {
    const fs::path locales = fs::path(environment("LIRABOX_RECORDINGS")) / "locales";
    if (!fs::exists(locales / "ja_JP.UTF-8" / "LC_MESSAGES")) {
        fs::create_directories(locales);
        runLinuxProgram("/usr/bin/localedef -i ja_JP -f UTF-8 " + linuxPath(locales) + "/ja_JP.UTF-8");
        within(30s, [&] { return fs::exists(locales / "ja_JP.UTF-8" / "LC_MESSAGES"); });
    }
    const std::string wine = "LC_ALL=ja_JP.UTF-8 LOCPATH=" + linuxPath(locales) + " exec /usr/bin/wine";
    ASSERT_TRUE(runLinuxProgram("/bin/sh -c \"" + wine + " '" + program.string() + "' '" + argument.string() +
                                "' >/dev/null 2>&1 &\""));
}

// The INI file text the system's WritePrivateProfileString gives: CR LF lines.
std::string windowsText(const std::string& text) { return std::regex_replace(text, std::regex("\n"), "\r\n"); }

TEST(Win32Scenario, AFirstStartWritesTheFourIniFilesWhereWindowsKeepsThemAndTimepostHearsTenPositionsASecond) {
    const fs::path folder = freshProgramFolder("lirabox-first-start");
    const fs::path recording = fs::path(environment("LIRABOX_RECORDINGS")) / "talk.wav";
    fs::remove(recording);
    fs::copy_file(fs::path(environment("LIRABOX_RECORDINGS")) / "tone10.wav", recording);
    char windowsFolder[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windowsFolder, MAX_PATH);
    const fs::path appIni = fs::path(windowsFolder) / "Lirabox.ini";
    fs::remove(appIni);
    // The logging Timepost.dll in place of the reference one.
    fs::remove(folder / "Timepost.dll");
    fs::copy_file(besideThisProgram("TimepostLog.dll"), folder / "Timepost.dll");
    const fs::path log = folder / "timepost.log";
    ::SetEnvironmentVariableW(L"LIRABOX_TIMEPOST_LOG", log.c_str());

    const fs::path program = folder / "lirabox.exe";
    PROCESS_INFORMATION process = start("\"" + program.string() + "\" \"" + recording.string() + "/t=5\"", folder);
    const HWND window = shownMainWindow();
    ASSERT_NE(window, nullptr);

    // Every call of SetTime: from 5 s, never going back, advancing, and about
    // ten in the first 2 s.
    std::vector<Call> calls;
    ASSERT_TRUE(within(30s,
                       [&] {
                           calls = callsLogged(log);
                           return !calls.empty() && calls.back().milliseconds >= calls.front().milliseconds + 2000 &&
                                  calls.back().seconds >= calls.front().seconds + 0.5;
                       }))
        << callsLogged(log).size() << " calls";
    std::ostringstream list;
    for (const Call& call : calls) list << call.seconds << ' ';
    EXPECT_GE(calls.front().seconds, 4.9);
    EXPECT_LT(calls.front().seconds, 7.0);
    EXPECT_TRUE(std::is_sorted(calls.begin(), calls.end(), [](const Call& a, const Call& b) {
        return a.seconds < b.seconds;
    })) << list.str();
    const auto inFirstTwoSeconds = std::count_if(calls.begin(), calls.end(), [&](const Call& call) {
        return call.milliseconds < calls.front().milliseconds + 2000;
    });
    EXPECT_GE(inFirstTwoSeconds, 14) << list.str();
    EXPECT_LE(inFirstTwoSeconds, 26) << list.str();

    // What the start-up wrote, as Windows writes INI files.
    std::string config;
    for (int row = 0; row < 8; ++row) {
        config += "[ID0" + std::to_string(row) + "]\nID=-1\nKeyCode=0\nKeyDestroy=0\nShiftStatus=0\n";
    }
    EXPECT_EQ(readFile(folder / "config.ini"), windowsText(config));
    EXPECT_EQ(readFile(folder / "UserCfg.ini"), windowsText("[Config]\nRewind=2\nForward=2\nAutorev=1\n"));
    EXPECT_EQ(readFile(appIni), windowsText("[config]\nAppName=" + program.string() + "\n"));

    WINDOWPLACEMENT placement {};
    placement.length = sizeof placement;
    ::GetWindowPlacement(window, &placement);
    const std::string expectedPosition =
        windowsText("[FormPosition]\nMinimized=0\nMaximized=0\nTop=" + std::to_string(placement.rcNormalPosition.top) +
                    "\nLeft=" + std::to_string(placement.rcNormalPosition.left) + "\n[Volume]\nvalue=2500\n");
    EXPECT_EQ(readFile(folder / "position.ini"), expectedPosition);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeOf(process), 0);
    // The shut-down wrote the same keys again, in place.
    EXPECT_EQ(readFile(folder / "position.ini"), expectedPosition);
    std::vector<std::string> iniFiles;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".ini") iniFiles.push_back(entry.path().filename().string());
    }
    std::sort(iniFiles.begin(), iniFiles.end());
    EXPECT_EQ(iniFiles, (std::vector<std::string> {"UserCfg.ini", "config.ini", "history.ini", "position.ini"}));
    EXPECT_EQ(readFile(folder / "history.ini").rfind("[Recordings]\r\n1=", 0), 0u) << readFile(folder / "history.ini");
}

TEST(Win32Scenario, ASwallowedKeyTypedIntoAnotherProgramPausesAndNeverReachesItAPassedOnOneReachesItAndActs) {
    const fs::path folder = freshProgramFolder("lirabox-global-keys");
    // Play/pause on Q, swallowed; fast-forward (2 s) on W, passed on.
    writeFile(folder / "config.ini",
              windowsText("[ID00]\nID=0\nKeyCode=81\nKeyDestroy=1\nShiftStatus=0\n"
                          "[ID04]\nID=4\nKeyCode=87\nKeyDestroy=0\nShiftStatus=0\n"));
    const fs::path recording = folder / "minute.wav";
    writeSineWav(recording, 60);
    const fs::path position = timepostPositionFile();
    fs::remove(position);
    PROCESS_INFORMATION player = start("\"" + (folder / "lirabox.exe").string() + "\" " + recording.string(), folder);
    const HWND window = shownMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(within(20s, [&] { return positionHeard(position).has_value(); }));

    // The user's editor, in front: keytap_target.exe logs each character it gets.
    const fs::path typed = folder / "typed.txt";
    PROCESS_INFORMATION editor =
        start("\"" + besideThisProgram("keytap_target.exe").string() + "\" " + typed.string(), folder);
    HWND editorWindow = nullptr;
    ASSERT_TRUE(within(20s, [&] { return (editorWindow = ::FindWindowA(nullptr, "Keytap target")) != nullptr; }));
    ASSERT_TRUE(runLinuxProgram("/usr/bin/xdotool search --sync --name \"^Keytap target$\" windowactivate --sync"));
    EXPECT_TRUE(within(10s, [&] { return ::GetForegroundWindow() == editorWindow; }));
    // Wine may drop the first keys after a change of focus: a key that is no
    // shortcut is typed until one arrives, then the log starts afresh.
    for (int attempt = 0; attempt < 20 && readFile(typed).empty(); ++attempt) {
        typeKey('A');
        within(1s, [&] { return !readFile(typed).empty(); });
    }
    ASSERT_FALSE(readFile(typed).empty()) << "keytap_target never received a key";
    fs::remove(typed);

    typeKey('Q');
    EXPECT_TRUE(positionOnceStill(position, 1s, 10s)) << "Q did not pause";
    const std::optional<int> paused = positionShown(window);
    ASSERT_TRUE(paused.has_value());

    typeKey('W');
    EXPECT_TRUE(within(10s, [&] { return readFile(typed) == "w"; })) << readFile(typed);
    EXPECT_TRUE(within(10s, [&] { return positionShown(window) == *paused + 2; }))
        << "W did not fast-forward from " << *paused;

    typeKey('Z');  // no shortcut: everything typed before it has arrived once it has
    EXPECT_TRUE(within(10s, [&] { return readFile(typed).find('z') != std::string::npos; }));
    EXPECT_EQ(readFile(typed), "wz");
    EXPECT_TRUE(positionOnceStill(position, 1s, 10s));

    ::PostMessageW(editorWindow, WM_CLOSE, 0, 0);
    exitCodeOf(editor);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeOf(player), 0);
}

TEST(Win32Scenario, ABrokenRecordingShowsTheErrorMessageAndTheProgramGoesOnToPlayAGoodOne) {
    const fs::path folder = freshProgramFolder("lirabox-broken-recording");
    std::string garbage;
    for (unsigned i = 0; i < 65536; ++i) garbage += static_cast<char>((i * 7919u + (i >> 5)) & 0xFF);
    writeFile(folder / "broken.wav", garbage);
    writeFile(folder / "broken.mp3", garbage);
    // A Japanese name, as a Japanese user's recordings have.
    const fs::path good = folder / L"会議の録音.wav";
    fs::copy_file(fs::path(environment("LIRABOX_RECORDINGS")) / "tone10.wav", good);
    const fs::path position = timepostPositionFile();
    fs::remove(position);

    ASSERT_NO_FATAL_FAILURE(startInJapanese(folder / "lirabox.exe", folder / "broken.wav"));
    // The error lines, the file and why it could not be played.
    const auto errorFor = [](const std::wstring& name) {
        return std::wregex(L"エラーが発生しました。\r\nErrCode = -?[0-9]+\r\n.*\\\\" + name +
                           L"\r\nLirabox で再生できる録音ではありません。");
    };

    // From the command line.
    MessageBoxSeen message = messageBoxTitled(L"Lirabox");
    ASSERT_NE(message.box, nullptr);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(message.box, &processId);
    PROCESS_INFORMATION process {};
    process.hProcess =
        ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
    EXPECT_TRUE(std::regex_match(message.text, errorFor(L"broken\\.wav"))) << utf8(message.text);
    EXPECT_TRUE(message.errorIcon);
    EXPECT_TRUE(dismissed(message.box));
    const HWND window = shownMainWindow();
    ASSERT_NE(window, nullptr);

    // Through the Open dialog, with another name.
    ASSERT_NO_FATAL_FAILURE(openThroughTheDialog(window, L"開く", L"サウンドファイルの指定", folder / "broken.mp3"));
    message = messageBoxTitled(L"Lirabox");
    ASSERT_NE(message.box, nullptr);
    EXPECT_TRUE(std::regex_match(message.text, errorFor(L"broken\\.mp3"))) << utf8(message.text);
    EXPECT_TRUE(message.errorIcon);
    EXPECT_TRUE(dismissed(message.box));

    // The program is still there: a good recording opens and plays.
    ASSERT_TRUE(::IsWindow(window));
    ASSERT_NO_FATAL_FAILURE(openThroughTheDialog(window, L"開く", L"サウンドファイルの指定", good));
    EXPECT_TRUE(within(10s, [&] { return ::FindWindowExW(window, nullptr, L"Static", L"会議の録音.wav") != nullptr; }));
    EXPECT_TRUE(within(10s, [&] { return positionShown(window) == 0; }));
    EXPECT_EQ(::FindWindowW(L"#32770", L"Lirabox"), nullptr) << "a message for the good recording";
    ::PostMessageW(window, ::RegisterWindowMessageA("KVL_MESSAGE_PROC"), 0, 0);  // play/pause
    EXPECT_TRUE(within(20s, [&] {
        const std::optional<double> heard = positionHeard(position);
        return heard && *heard >= 0.5;
    }));

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeOf(process), 0);
}

// The program's dialog owned by its main window that holds an edit box with
// this id (the go-to-time dialog), or without one (a message box).
HWND ownedDialog(HWND owner, bool withTextBox) {
    for (HWND dialog = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); dialog != nullptr;
         dialog = ::FindWindowExW(nullptr, dialog, L"#32770", nullptr)) {
        if (::GetWindow(dialog, GW_OWNER) == owner && (::GetDlgItem(dialog, 100) != nullptr) == withTextBox) {
            return dialog;
        }
    }
    return nullptr;
}

void putOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(::GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);
    ::CloseClipboard();
}

// An edit box's text, from another process too (GetWindowText gives only a caption there).
std::wstring editText(HWND edit) {
    wchar_t text[512] = {};
    ::SendMessageW(edit, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring clipboardText() {
    if (!::OpenClipboard(nullptr)) return L"<not opened>";
    std::wstring text;
    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(::GlobalLock(data));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

TEST(Win32Scenario, ARecordingResumesGoesToATimeAndJumpsToATimeStampSelectedInNotepad) {
    const fs::path folder = freshProgramFolder("lirabox-resume");
    writeFile(folder / "UserCfg.ini", windowsText("[Config]\nResume=1\n"));
    // The jump to the selected time stamp on J, swallowed.
    writeFile(folder / "config.ini", windowsText("[ID09]\nID=9\nKeyCode=74\nKeyDestroy=1\nShiftStatus=0\n"));
    const fs::path recording = folder / "interview.wav";
    writeSineWav(recording, 200);
    const fs::path position = timepostPositionFile();
    const fs::path program = folder / "lirabox.exe";
    const auto heardAbout = [&](double seconds) {
        return within(20s, [&] {
            const std::optional<double> heard = positionHeard(position);
            return heard && *heard >= seconds && *heard < seconds + 3;
        });
    };

    // Played to 15 s and quit: started again without /t=, it goes on from there.
    fs::remove(position);
    PROCESS_INFORMATION first = start("\"" + program.string() + "\" \"" + recording.string() + "/t=15\"", folder);
    HWND window = shownMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(heardAbout(15));
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeOf(first), 0);
    ASSERT_TRUE(within(10s, [&] { return !::IsWindow(window); }));
    fs::remove(position);
    PROCESS_INFORMATION player = start("\"" + program.string() + "\" \"" + recording.string() + "\"", folder);
    window = shownMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(within(20s, [&] { return positionHeard(position).has_value(); }));
    EXPECT_GE(*positionHeard(position), 15);
    EXPECT_LT(*positionHeard(position), 18);

    // Go to a time: what is no time is refused with a message and asked again.
    const auto goToTime = [&](const std::wstring& text) {
        ::PostMessageW(window, WM_COMMAND, 1000 + static_cast<int>(lirabox::Command::GoToTime), 0);
        HWND dialog = nullptr;
        EXPECT_TRUE(within(10s, [&] { return (dialog = ownedDialog(window, true)) != nullptr; }));
        if (dialog == nullptr) return;
        ::SendMessageW(::GetDlgItem(dialog, 100), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(within(10s, [&] { return !::IsWindow(dialog); }));
    };
    goToTime(L"abc");
    HWND message = nullptr;
    ASSERT_TRUE(within(10s, [&] { return (message = ownedDialog(window, false)) != nullptr; }));
    EXPECT_TRUE(dismissed(message));
    HWND again = nullptr;
    ASSERT_TRUE(within(10s, [&] { return (again = ownedDialog(window, true)) != nullptr; }));
    ::PostMessageW(again, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(within(10s, [&] { return !::IsWindow(again); }));
    goToTime(L"0:01:40");
    EXPECT_TRUE(heardAbout(100));

    // Notepad in front with "[00:00:42]" selected, something else on the clipboard.
    const fs::path notes = folder / "notes.txt";
    writeFile(notes, "she said [00:00:42] then");
    PROCESS_INFORMATION editor = start("notepad.exe \"" + notes.string() + "\"", folder);
    HWND notepad = nullptr;
    ASSERT_TRUE(within(20s, [&] { return (notepad = ::FindWindowW(L"Notepad", nullptr)) != nullptr; }));
    const HWND edit = ::FindWindowExW(notepad, nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(within(10s, [&] { return editText(edit) == L"she said [00:00:42] then"; }));
    ::SendMessageW(edit, EM_SETSEL, 9, 19);
    ASSERT_TRUE(runLinuxProgram("/usr/bin/xdotool search --sync --name \"^" + utf8(textOf(notepad)) +
                                "$\" windowactivate --sync"));
    ASSERT_TRUE(within(10s, [&] { return ::GetForegroundWindow() == notepad; }));
    putOnClipboard(L"what the user had copied");

    // Wine may drop the first keys after a change of focus: J is pressed until it arrives.
    bool jumped = false;
    for (int attempt = 0; attempt < 10 && !jumped; ++attempt) {
        typeKey('J');
        jumped = within(3s, [&] {
            const std::optional<double> heard = positionHeard(position);
            return heard && *heard >= 42 && *heard < 45;
        });
    }
    EXPECT_TRUE(jumped);
    EXPECT_TRUE(within(10s, [&] { return clipboardText() == L"what the user had copied"; })) << utf8(clipboardText());
    EXPECT_EQ(editText(edit), L"she said [00:00:42] then") << "the swallowed J reached Notepad";

    ::PostMessageW(notepad, WM_CLOSE, 0, 0);
    exitCodeOf(editor);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeOf(player), 0);
    EXPECT_NE(readFile(folder / "history.ini").find("interview.wav"), std::string::npos)
        << readFile(folder / "history.ini");
}

void pressWith(WORD modifier, WORD virtualKey) {
    INPUT keys[4] = {};
    for (INPUT& key : keys) key.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[3].ki.wVk = modifier;
    keys[1].ki.wVk = keys[2].ki.wVk = virtualKey;
    keys[2].ki.dwFlags = keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(4, keys, sizeof(INPUT));
}

TEST(Win32Scenario, TheFileMenuOpensARecentRecordingByItsNumberAndAMissingOneNot) {
    const fs::path folder = freshProgramFolder("lirabox-recent");
    const fs::path first = folder / "first.wav", missing = folder / "missing.wav", third = folder / "third.wav";
    writeSineWav(first, 10);
    writeSineWav(third, 10);
    writeFile(folder / "history.ini",
              windowsText("[Recordings]\n1=2.0|" + first.string() + "\n2=0.0|" + missing.string() + "\n3=5.0|" +
                          third.string() + "\n"));
    PROCESS_INFORMATION player = start("\"" + (folder / "lirabox.exe").string() + "\"", folder);
    const HWND window = shownMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(runLinuxProgram("/usr/bin/xdotool search --sync --name \"^Lirabox$\" windowactivate --sync"));
    ASSERT_TRUE(within(10s, [&] { return ::GetForegroundWindow() == window; }));

    // Alt+F, then the item's number. Wine may drop the first keys after a change of focus.
    const auto pick = [&](WORD number, const wchar_t* shownName) {
        for (int attempt = 0; attempt < 10; ++attempt) {
            pressWith(VK_MENU, 'F');
            if (!within(2s, [&] { return ::FindWindowW(L"#32768", nullptr) != nullptr; })) continue;
            typeKey(number);
            return within(5s, [&] { return ::FindWindowExW(window, nullptr, L"Static", shownName) != nullptr; });
        }
        return false;
    };
    EXPECT_FALSE(pick('2', L"missing.wav")) << "a greyed item opened";
    typeKey(VK_ESCAPE);
    ASSERT_TRUE(within(5s, [&] { return ::FindWindowW(L"#32768", nullptr) == nullptr; }));
    EXPECT_TRUE(pick('3', L"third.wav"));
    // The load runs apart from the window, and closing while it runs would
    // give it up: the length shows once it is done. Resuming is off: at 0.
    EXPECT_TRUE(within(10s, [&] { return ::FindWindowExW(window, nullptr, L"Static", L"00:00:00 / 00:00:10"); }));

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeOf(player), 0);
    const std::string history = readFile(folder / "history.ini");
    // The one opened comes first, at the position it was left at.
    EXPECT_NE(history.find("1=0.0|" + third.string()), std::string::npos) << history;
}

}  // namespace
