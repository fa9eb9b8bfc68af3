// Reports written into a pipe that stands in for a pedal's HID device reach
// the actions on the thread that pumps messages: a held middle pedal plays
// and pauses, a held right pedal fast-forwards at once and then every 300 ms,
// and a pedal still down when its device goes is released.
#include "hotkeys/FootPedals.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>
#include <fcntl.h>
#include <io.h>

namespace lirabox::hotkeys {
namespace {

using namespace std::chrono_literals;

// An overlapped named pipe: the read end goes to the pedals as a descriptor.
class OverlappedPipe {
public:
    OverlappedPipe() {
        const std::wstring name = L"\\\\.\\pipe\\lirabox-pedal-" + std::to_wstring(::GetCurrentProcessId());
        const HANDLE server = ::CreateNamedPipeW(name.c_str(),
                                                 PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
                                                 PIPE_TYPE_BYTE | PIPE_WAIT,
                                                 1,
                                                 4096,
                                                 4096,
                                                 0,
                                                 nullptr);
        mWrite = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        mReadFd = ::_open_osfhandle(reinterpret_cast<intptr_t>(server), _O_RDONLY);
    }
    ~OverlappedPipe() { closeWriteEnd(); }
    OverlappedPipe(const OverlappedPipe&) = delete;
    OverlappedPipe& operator=(const OverlappedPipe&) = delete;

    int readEnd() const { return mReadFd; }
    void send(std::vector<std::uint8_t> bytes) {
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(mWrite, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    }
    void closeWriteEnd() {
        if (mWrite != INVALID_HANDLE_VALUE) ::CloseHandle(mWrite);
        mWrite = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE mWrite = INVALID_HANDLE_VALUE;
    int mReadFd = -1;
};

// Pumps this thread's messages until done() or the time is up.
bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message {};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    }
    return true;
}

void pumpFor(std::chrono::milliseconds time) {
    pumpUntil([] { return false; }, time);
}

TEST(Win32FootPedals, HeldPedalsPlayAndRepeatAndAreReleasedWhenTheDeviceGoes) {
    std::vector<Command> ran;
    PedalActions actions([] { return defaultPedalMapping(); }, [&ran](Command command) { ran.push_back(command); });
    FootPedals pedals(actions);
    OverlappedPipe pipe;
    ASSERT_GE(pipe.readEnd(), 0);
    pedals.watch(pipe.readEnd(), *findPedalDevice(0x05f3, 0x00ff), "pipe");

    // Middle: plays while held. A report split over two writes counts once.
    pipe.send({0x02});
    pipe.send({0x00});
    ASSERT_TRUE(pumpUntil([&] { return ran.size() == 1; }, 5s));
    EXPECT_EQ(ran.back(), Command::Play);
    pipe.send({0x00, 0x00});
    ASSERT_TRUE(pumpUntil([&] { return ran.size() == 2; }, 5s));
    EXPECT_EQ(ran.back(), Command::Pause);

    // Right, held for about a second: one step at once, then one every 300 ms.
    ran.clear();
    pipe.send({0x04, 0x00});
    ASSERT_TRUE(pumpUntil([&] { return !ran.empty(); }, 5s));
    pumpFor(1000ms);
    EXPECT_GE(ran.size(), 3U);
    EXPECT_LE(ran.size(), 5U);
    for (const Command command : ran) EXPECT_EQ(command, Command::FastForward);

    // The device goes while the pedal is down: no step after that.
    pipe.closeWriteEnd();
    pumpFor(200ms);
    const std::size_t steps = ran.size();
    pumpFor(700ms);
    EXPECT_EQ(ran.size(), steps);
}

}  // namespace
}  // namespace lirabox::hotkeys
