// Keytap.dll as the player uses it, with keys typed by xdotool into another
// Wine program: the hook runs in that program, posts to our window, and a
// discard key never reaches the program while a pass-through key does.
#include "keytap/Keytap.h"
#include "tests/common/Polling.h"
#include "tests/common/TempFolder.h"
#include "tests/common/win32/LinuxProgram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

namespace {

using namespace std::chrono_literals;
using lirabox::test::waitStable;
using lirabox::test::waitUntil;

struct Post {
    WPARAM wParam;
    LPARAM lParam;
};

template <class Function>
Function exported(HMODULE library, const char* name) {
    const FARPROC address = ::GetProcAddress(library, name);
    Function function = nullptr;
    std::memcpy(&function, &address, sizeof function);
    return function;
}

std::string folderOfThisProgram() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text(path);
    return text.substr(0, text.find_last_of('\\') + 1);
}

std::string readLog(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

void xdotool(const std::string& arguments) {
    ASSERT_TRUE(lirabox::test::runLinuxProgram("/usr/bin/xdotool " + arguments));
}

class KeytapHook : public ::testing::Test {
protected:
    void SetUp() override {
        library = ::LoadLibraryA((folderOfThisProgram() + "Keytap.dll").c_str());
        ASSERT_NE(library, nullptr);
        initHook = exported<decltype(initHook)>(library, "InitHook");
        terminateHook = exported<decltype(terminateHook)>(library, "TerminateHook");
        registKey = exported<decltype(registKey)>(library, "RegistKey");
        messageId = exported<decltype(messageId)>(library, "GetMessageID_KeyBoard");
        ASSERT_TRUE(initHook && terminateHook && registKey && messageId && exported<void*>(library, "UnRegistKey"));
        host = ::CreateWindowExA(0,
                                 "STATIC",
                                 "Keytap host",
                                 WS_OVERLAPPED,
                                 0,
                                 0,
                                 100,
                                 100,
                                 nullptr,
                                 nullptr,
                                 ::GetModuleHandleA(nullptr),
                                 nullptr);
        ASSERT_NE(host, nullptr);
    }

    void TearDown() override {
        if (target != nullptr) {
            ::PostMessageA(target, WM_CLOSE, 0, 0);
            ::WaitForSingleObject(targetProcess.hProcess, 10000);
            ::CloseHandle(targetProcess.hThread);
            ::CloseHandle(targetProcess.hProcess);
        }
        ::DestroyWindow(host);
        ::FreeLibrary(library);
    }

    void startTarget() {
        std::string command = "\"" + folderOfThisProgram() + "keytap_target.exe\" " + log;
        STARTUPINFOA startup {};
        startup.cb = sizeof startup;
        ASSERT_TRUE(::CreateProcessA(
            nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &targetProcess));
        waitUntil([&] { return (target = ::FindWindowA(nullptr, "Keytap target")) != nullptr; }, 10s);
        ASSERT_NE(target, nullptr);
        xdotool("search --sync --name \"^Keytap target$\" windowactivate --sync");
        waitUntil([&] { return ::GetForegroundWindow() == target; }, 5s);
        ASSERT_EQ(::GetForegroundWindow(), target);
        // Wine may drop the first keys after a change of focus: a key that is
        // no shortcut is typed until one arrives, then the log starts afresh.
        for (int attempt = 0; attempt < 10 && readLog(log).empty(); ++attempt) {
            xdotool("key a");
            waitUntil([&] { return !readLog(log).empty(); }, 1s);
        }
        ASSERT_FALSE(readLog(log).empty()) << "keytap_target never received a key";
        ::DeleteFileA(log.c_str());
    }

    // Collects our posts until the target has logged `until`, or 10 s pass.
    std::vector<Post> typeAndCollect(const std::string& keys, const std::string& until) {
        xdotool("key --delay 50 " + keys);
        std::vector<Post> posts;
        const auto collect = [&] {
            MSG message;
            while (::PeekMessageA(&message, host, 0, 0, PM_REMOVE)) {
                if (message.message == messageId()) posts.push_back({message.wParam, message.lParam});
            }
            return posts.size();
        };
        waitUntil(
            [&] {
                collect();
                return readLog(log).find(until) != std::string::npos;
            },
            10s);
        waitStable(collect, 200ms, 5s);  // a late post would still show
        return posts;
    }

    HMODULE library = nullptr;
    int32_t(__stdcall* initHook)(KeytapWindow) = nullptr;
    int32_t(__stdcall* terminateHook)() = nullptr;
    int32_t(__stdcall* registKey)(const ShortcutKeyRecord*) = nullptr;
    uint32_t(__stdcall* messageId)() = nullptr;
    HWND host = nullptr;
    HWND target = nullptr;
    PROCESS_INFORMATION targetProcess {};
    lirabox::test::TempFolder folder;
    const std::string log = folder.fileText("typed.txt");
};

TEST_F(KeytapHook, KeysTypedIntoAnotherProgramArePostedAndDiscardKeysNeverReachIt) {
    ASSERT_EQ(initHook(reinterpret_cast<KeytapWindow>(host)), 1);
    EXPECT_EQ(messageId(), ::RegisterWindowMessageA("KVL_MESSAGE_PROC"));
    const ShortcutKeyRecord passShiftW {3, 'W', 1, 0};
    const ShortcutKeyRecord discardQ {5, 'Q', 0, 1};
    ASSERT_EQ(registKey(&passShiftW), 1);
    ASSERT_EQ(registKey(&discardQ), 1);
    ASSERT_NO_FATAL_FAILURE(startTarget());

    const std::vector<Post> posts = typeAndCollect("shift+w q w z", "z");
    EXPECT_EQ(readLog(log), "Wwz");  // q was swallowed; plain w and z are no shortcuts
    std::string seen;
    for (const Post& post : posts) seen += std::to_string(post.wParam) + "/" + std::to_string(post.lParam) + " ";
    ASSERT_EQ(posts.size(), 2u) << seen;
    EXPECT_EQ(posts[0].wParam, 3u);
    EXPECT_EQ(posts[0].lParam, (1 << 16) | 'W');
    EXPECT_EQ(posts[1].wParam, 5u);
    EXPECT_EQ(posts[1].lParam, 'Q');

    EXPECT_NE(terminateHook(), 0);
    EXPECT_TRUE(typeAndCollect("q x", "x").empty());
    EXPECT_EQ(readLog(log), "Wwzqx");  // without the hook q arrives
}

}  // namespace
