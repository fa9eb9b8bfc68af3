#include "ClipboardSelectionReader.h"

#include "app/win32/toolkit/WideText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

namespace lirabox::win32 {
namespace {

constexpr UINT kPollMilliseconds = 10;

bool keysDown() {
    static constexpr std::array<int, 5> kModifiers {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN};
    return std::ranges::any_of(kModifiers, [](int key) { return (::GetAsyncKeyState(key) & 0x8000) != 0; });
}

// Formats whose data is not global memory cannot be copied byte for byte.
bool isGlobalMemory(UINT format) {
    switch (format) {
    case CF_BITMAP:
    case CF_DSPBITMAP:
    case CF_ENHMETAFILE:
    case CF_DSPENHMETAFILE:
    case CF_METAFILEPICT:
    case CF_DSPMETAFILEPICT:
    case CF_PALETTE:
    case CF_OWNERDISPLAY: return false;
    default: return format < CF_GDIOBJFIRST || format > CF_GDIOBJLAST;
    }
}

struct SavedFormat {
    UINT format;
    std::vector<char> bytes;
};

// OpenClipboard fails while another program has it open: tried for a moment.
bool openClipboard(HWND window) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (::OpenClipboard(window)) return true;
        ::Sleep(5);
    }
    return false;
}

std::vector<SavedFormat> saveClipboard(HWND window) {
    std::vector<SavedFormat> saved;
    if (!openClipboard(window)) return saved;
    for (UINT format = ::EnumClipboardFormats(0); format != 0; format = ::EnumClipboardFormats(format)) {
        if (!isGlobalMemory(format)) continue;
        const HANDLE data = ::GetClipboardData(format);
        const void* bytes = data != nullptr ? ::GlobalLock(data) : nullptr;
        if (bytes == nullptr) continue;
        const auto* first = static_cast<const char*>(bytes);
        saved.push_back({format, std::vector<char>(first, first + ::GlobalSize(data))});
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return saved;
}

void restoreClipboard(HWND window, const std::vector<SavedFormat>& saved) {
    if (!openClipboard(window)) return;
    ::EmptyClipboard();
    for (const SavedFormat& format : saved) {
        const HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, std::max<std::size_t>(format.bytes.size(), 1));
        void* bytes = copy != nullptr ? ::GlobalLock(copy) : nullptr;
        if (bytes == nullptr) {
            if (copy != nullptr) ::GlobalFree(copy);
            continue;
        }
        std::memcpy(bytes, format.bytes.data(), format.bytes.size());
        ::GlobalUnlock(copy);
        if (::SetClipboardData(format.format, copy) == nullptr) ::GlobalFree(copy);
    }
    ::CloseClipboard();
}

std::string clipboardText(HWND window) {
    if (!openClipboard(window)) return {};
    std::string text;
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    const auto* units = data != nullptr ? static_cast<const wchar_t*>(::GlobalLock(data)) : nullptr;
    if (units != nullptr) {
        const std::size_t room = ::GlobalSize(data) / sizeof(wchar_t);
        text = toUtf8(std::wstring_view(units, std::find(units, units + room, L'\0') - units));
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

void sendCopy() {
    std::array<INPUT, 4> strokes {};
    const std::array<std::pair<WORD, DWORD>, 4> keys {
        {{VK_CONTROL, 0}, {'C', 0}, {'C', KEYEVENTF_KEYUP}, {VK_CONTROL, KEYEVENTF_KEYUP}}};
    for (std::size_t i = 0; i < keys.size(); ++i) {
        strokes[i].type = INPUT_KEYBOARD;
        strokes[i].ki.wVk = keys[i].first;
        strokes[i].ki.dwFlags = keys[i].second;
    }
    ::SendInput(static_cast<UINT>(strokes.size()), strokes.data(), sizeof(INPUT));
}

class ClipboardSelectionReader final : public SelectionReader {
public:
    explicit ClipboardSelectionReader(HWND window) : mWindow(window) {}
    ~ClipboardSelectionReader() override {
        if (mTimer != 0) ::KillTimer(nullptr, mTimer);
        if (sRunning == this) sRunning = nullptr;
    }
    ClipboardSelectionReader(const ClipboardSelectionReader&) = delete;
    ClipboardSelectionReader& operator=(const ClipboardSelectionReader&) = delete;

    void read(std::function<void(const std::string& text)> done) override {
        if (mDone || sRunning != nullptr) {
            done({});
            return;
        }
        mDone = std::move(done);
        mCopied = false;
        mSince = std::chrono::steady_clock::now();
        sRunning = this;
        mTimer = ::SetTimer(nullptr, 0, kPollMilliseconds, &onTimer);
        poll();
    }

private:
    // A thread timer has no window to find its reader by: one read runs at a time.
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (sRunning != nullptr) sRunning->poll();
    }

    void poll() {
        const auto waited = std::chrono::steady_clock::now() - mSince;
        if (!mCopied) {
            if (keysDown() && waited < kKeysUpWait) return;
            if (keysDown()) return finish({});
            mSaved = saveClipboard(mWindow);
            mSequence = ::GetClipboardSequenceNumber();
            mCopied = true;
            mSince = std::chrono::steady_clock::now();
            sendCopy();
            return;
        }
        if (::GetClipboardSequenceNumber() != mSequence) {
            const std::string text = clipboardText(mWindow);
            restoreClipboard(mWindow, mSaved);
            return finish(text);
        }
        if (waited >= kCopyWait) finish({});  // nothing was copied: the clipboard is as it was
    }

    void finish(const std::string& text) {
        if (mTimer != 0) ::KillTimer(nullptr, mTimer);
        mTimer = 0;
        sRunning = nullptr;
        mSaved.clear();
        auto done = std::move(mDone);
        mDone = nullptr;
        if (done) done(text);
    }

    static inline ClipboardSelectionReader* sRunning = nullptr;
    HWND mWindow;
    UINT_PTR mTimer = 0;
    std::function<void(const std::string&)> mDone;
    bool mCopied = false;
    std::chrono::steady_clock::time_point mSince;
    DWORD mSequence = 0;
    std::vector<SavedFormat> mSaved;
};

}  // namespace

std::unique_ptr<SelectionReader> clipboardSelectionReader(std::uintptr_t window) {
    return std::make_unique<ClipboardSelectionReader>(reinterpret_cast<HWND>(window));
}

}  // namespace lirabox::win32
