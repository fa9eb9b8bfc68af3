#include "HandOver.h"

#include <cstring>
#include <vector>

namespace lirabox::win32 {
namespace {

// Tells the message from any other program's WM_COPYDATA.
constexpr ULONG_PTR kHandOverTag = 0x4C425831;  // "LBX1"
// Long enough for a copy that is busy; the answer is normally immediate.
constexpr UINT kAnswerTimeoutMs = 5000;
// A path longer than the system's longest one is not a recording's.
constexpr std::size_t kLongestPath = 32767 * 3;

std::wstring programPathOf(DWORD process) {
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    const HANDLE handle = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (handle == nullptr) return {};
    const bool named = ::QueryFullProcessImageNameW(handle, 0, path.data(), &size) != 0;
    ::CloseHandle(handle);
    path.resize(named ? size : 0);
    return path;
}

struct Search {
    const wchar_t* className;
    std::wstring program;
    HWND found = nullptr;
};

BOOL CALLBACK considerWindow(HWND window, LPARAM searchAddress) {
    auto& search = *reinterpret_cast<Search*>(searchAddress);
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (std::wcscmp(className, search.className) != 0 || process == ::GetCurrentProcessId()) return TRUE;
    if (::CompareStringOrdinal(programPathOf(process).c_str(), -1, search.program.c_str(), -1, TRUE) != CSTR_EQUAL) {
        return TRUE;
    }
    search.found = window;
    return FALSE;
}

}  // namespace

std::optional<HandedOverRecording> handedOverRecording(const COPYDATASTRUCT& data) {
    if (data.dwData != kHandOverTag || data.lpData == nullptr || data.cbData < sizeof(std::int32_t) ||
        data.cbData > sizeof(std::int32_t) + kLongestPath) {
        return std::nullopt;
    }
    HandedOverRecording recording;
    const auto* bytes = static_cast<const char*>(data.lpData);
    std::memcpy(&recording.start, bytes, sizeof recording.start);
    recording.path.assign(bytes + sizeof recording.start, data.cbData - sizeof recording.start);
    if (recording.path.empty() || recording.path.find('\0') != std::string::npos) return std::nullopt;
    return recording;
}

bool WindowMessageRunningCopy::handOver(const std::string& path, std::int32_t start) {
    Search search {mClassName, programPathOf(::GetCurrentProcessId())};
    ::EnumWindows(&considerWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) return false;
    std::vector<char> payload(sizeof start + path.size());
    std::memcpy(payload.data(), &start, sizeof start);
    std::memcpy(payload.data() + sizeof start, path.data(), path.size());
    COPYDATASTRUCT data {kHandOverTag, static_cast<DWORD>(payload.size()), payload.data()};
    // The user started this copy, so it may hand the foreground on.
    DWORD process = 0;
    ::GetWindowThreadProcessId(search.found, &process);
    ::AllowSetForegroundWindow(process);
    DWORD_PTR taken = FALSE;
    return ::SendMessageTimeoutW(search.found,
                                 WM_COPYDATA,
                                 0,
                                 reinterpret_cast<LPARAM>(&data),
                                 SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                 kAnswerTimeoutMs,
                                 &taken) != 0 &&
           taken == TRUE;
}

}  // namespace lirabox::win32
