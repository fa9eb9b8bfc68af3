// The per-user installer under Wine: a silent install puts the program, its
// libraries, the Start-menu entry, the uninstall key and the associations in
// place; the silent uninstall takes them all away, gives an extension back to
// the program it had before and keeps the user's INI file beside the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <windows.h>

namespace {

namespace fs = std::filesystem;

fs::path besideThisProgram(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path() / name;
}

fs::path environment(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
    return std::wstring(value, length < MAX_PATH ? length : 0);
}

// Runs the command line to its end; its exit code, or -1 when it did not start or end.
long run(std::wstring command) {
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return -1;
    }
    DWORD exitCode = STILL_ACTIVE;
    if (::WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(process.hProcess, &exitCode);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return exitCode == STILL_ACTIVE ? -1 : static_cast<long>(exitCode);
}

bool keyExists(const wchar_t* key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    ::RegCloseKey(handle);
    return true;
}

// A key's default value, empty when there is none.
std::wstring defaultValue(const std::wstring& key) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return {};
    }
    return value;
}

const wchar_t* const kUninstallKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lirabox";
const wchar_t* const kProgramFiles[] = {
    L"lirabox.exe", L"Keytap.dll", L"Timepost.dll", L"Lirabox_help.html", L"Lirabox_help_en.html"};

// The images of a program's icons (its RT_ICON resources), each as its bytes.
std::vector<std::string> iconImages(const fs::path& program) {
    std::vector<std::string> images;
    const HMODULE module = ::LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return images;
    struct Search {
        HMODULE module;
        std::vector<std::string>* images;
    } search {module, &images};
    ::EnumResourceNamesW(
        module,
        MAKEINTRESOURCEW(3),  // RT_ICON
        [](HMODULE from, LPCWSTR type, LPWSTR name, LONG_PTR context) -> BOOL {
            auto& found = *reinterpret_cast<Search*>(context);
            if (HRSRC resource = ::FindResourceW(from, name, type)) {
                const auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(from, resource)));
                if (bytes != nullptr) found.images->emplace_back(bytes, ::SizeofResource(from, resource));
            }
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&search));
    ::FreeLibrary(module);
    return images;
}

TEST(Installer, InstallsForTheUserAndUninstallsKeepingTheIniFiles) {
    const fs::path folder = environment(L"LOCALAPPDATA") / L"Programs" / L"Lirabox";
    const fs::path shortcut =
        environment(L"APPDATA") / L"Microsoft" / L"Windows" / L"Start Menu" / L"Programs" / L"Lirabox.lnk";

    HKEY wav = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(
                  HKEY_CURRENT_USER, L"Software\\Classes\\.wav", 0, nullptr, 0, KEY_WRITE, nullptr, &wav, nullptr),
              ERROR_SUCCESS);
    const std::wstring otherPlayer = L"OtherPlayer.wav";
    ::RegSetValueExW(wav,
                     nullptr,
                     0,
                     REG_SZ,
                     reinterpret_cast<const BYTE*>(otherPlayer.c_str()),
                     static_cast<DWORD>((otherPlayer.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(wav);

    ASSERT_EQ(run(L"\"" + besideThisProgram(L"lirabox-setup.exe").wstring() + L"\" /S"), 0);
    for (const wchar_t* file : kProgramFiles) EXPECT_TRUE(fs::is_regular_file(folder / file)) << fs::path(file);
    EXPECT_TRUE(fs::is_regular_file(shortcut));
    EXPECT_TRUE(keyExists(kUninstallKey));
    const std::wstring progId = defaultValue(L"Software\\Classes\\.mp3");
    ASSERT_FALSE(progId.empty());
    EXPECT_EQ(defaultValue(L"Software\\Classes\\.wav"), progId);
    EXPECT_EQ(defaultValue(L"Software\\Classes\\" + progId + L"\\shell\\open\\command"),
              L"\"" + (folder / L"lirabox.exe").wstring() + L"\" \"%1\"");

    std::ofstream(folder / L"config.ini") << "[Key]\nKey0=120\n";
    // "_?=" runs the uninstaller in place, to its end; it cannot delete itself then.
    ASSERT_EQ(run(L"\"" + (folder / L"uninstall.exe").wstring() + L"\" /S _?=" + folder.wstring()), 0);
    for (const wchar_t* file : kProgramFiles) EXPECT_FALSE(fs::exists(folder / file)) << fs::path(file);
    EXPECT_FALSE(fs::exists(shortcut));
    EXPECT_FALSE(keyExists(kUninstallKey));
    EXPECT_FALSE(keyExists((L"Software\\Classes\\" + progId).c_str()));
    EXPECT_TRUE(defaultValue(L"Software\\Classes\\.mp3").empty());
    EXPECT_EQ(defaultValue(L"Software\\Classes\\.wav"), otherPlayer);
    std::ifstream kept(folder / L"config.ini");
    std::string line;
    std::getline(kept, line);
    EXPECT_EQ(line, "[Key]");
}

// The setup program shows the program's own icon, not the installer's default.
TEST(Installer, CarriesTheProgramsIcon) {
    const std::vector<std::string> program = iconImages(besideThisProgram(L"lirabox.exe"));
    const std::vector<std::string> setup = iconImages(besideThisProgram(L"lirabox-setup.exe"));
    ASSERT_FALSE(program.empty());
    ASSERT_FALSE(setup.empty());
    for (const std::string& image : setup) {
        EXPECT_NE(std::find(program.begin(), program.end(), image), program.end())
            << "an icon image of " << image.size() << " bytes that lirabox.exe does not have";
    }
}

}  // namespace
