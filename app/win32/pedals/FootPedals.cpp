// Windows: pedals are HID device interfaces matched by vendor and product.
// Each open pedal has a thread that waits on an overlapped read; what it reads
// goes to a message-only window of the UI thread, which runs the reader and
// the actions there. A pedal plugged in later is announced by
// WM_DEVICECHANGE.

#include "hotkeys/FootPedals.h"

#include "hotkeys/PedalEventQueue.h"
#include "support/Trace.h"
#include "support/win32/SystemMessage.h"

#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>
#include <dbt.h>
#include <io.h>
#include <setupapi.h>
// The HID headers of mingw-w64 declare C functions without saying so.
extern "C" {
#include <hidsdi.h>
}

namespace lirabox::hotkeys {
namespace {

constexpr UINT kReadMessage = WM_APP + 1;
constexpr UINT_PTR kRepeatTimer = 1;
// The class of the message-only window that receives what the readers read.
constexpr const wchar_t* kWindowClass = L"LiraboxFootPedals";

std::string narrow(const std::wstring& text) {
    std::string result;
    for (const wchar_t c : text) result.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return result;
}

// Every HID device interface present now, by path.
std::vector<std::wstring> hidInterfacePaths() {
    GUID hid {};
    ::HidD_GetHidGuid(&hid);
    std::vector<std::wstring> paths;
    const HDEVINFO devices = ::SetupDiGetClassDevsW(&hid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (devices == INVALID_HANDLE_VALUE) return paths;
    SP_DEVICE_INTERFACE_DATA item {};
    item.cbSize = sizeof item;
    for (DWORD index = 0; ::SetupDiEnumDeviceInterfaces(devices, nullptr, &hid, index, &item); ++index) {
        DWORD size = 0;
        ::SetupDiGetDeviceInterfaceDetailW(devices, &item, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
        std::vector<std::byte> buffer(size);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (::SetupDiGetDeviceInterfaceDetailW(devices, &item, detail, size, nullptr, nullptr)) {
            paths.emplace_back(detail->DevicePath);
        }
    }
    ::SetupDiDestroyDeviceInfoList(devices);
    return paths;
}

// The length of the device's input reports as ReadFile gives them: with the
// report number in front, 0 for a device without numbered reports.
std::size_t inputReportLength(HANDLE device) {
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!::HidD_GetPreparsedData(device, &preparsed)) return 0;
    HIDP_CAPS caps {};
    const bool known = ::HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS;
    ::HidD_FreePreparsedData(preparsed);
    return known ? caps.InputReportByteLength : 0;
}

}  // namespace

struct FootPedals::Impl {
    // One open pedal: its handle, its reading thread and what that thread has
    // read and not yet handed over.
    struct Open {
        Open(HANDLE deviceHandle, int descriptor, const PedalDevice& device, std::size_t chunk, std::size_t skip)
            : handle(deviceHandle), fd(descriptor), reader(device), chunkSize(chunk), skipBytes(skip) {}

        HANDLE handle;
        int fd;  // -1 when the handle is ours to close, else the descriptor that owns it
        PedalReader reader;
        std::size_t chunkSize;  // bytes asked of each read
        std::size_t skipBytes;  // the report number in front of each report, dropped
        HANDLE stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::thread thread;
        std::mutex lock;
        std::vector<std::uint8_t> bytes;  // guarded by lock
        std::atomic<bool> ended = false;
        DWORD endError = 0;  // written before ended is set
    };

    explicit Impl(PedalActions& actions) : queue(actions) {
        WNDCLASSEXW windowClass {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &windowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kWindowClass;
        ::RegisterClassExW(&windowClass);
        window =
            ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, this);
    }

    ~Impl() {
        if (notification != nullptr) ::UnregisterDeviceNotification(notification);
        for (auto& [name, open] : pedals) stopReading(*open);
        if (window != nullptr) ::DestroyWindow(window);
    }

    void tellOnce(const std::string& line) {
        if (told.insert(line).second) trace("foot pedals: " + line);
    }

    void watchForNewDevices() {
        DEV_BROADCAST_DEVICEINTERFACE_W filter {};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        ::HidD_GetHidGuid(&filter.dbcc_classguid);
        notification = ::RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
        if (notification == nullptr) {
            tellOnce("a pedal plugged in later is not noticed: " + systemMessage(::GetLastError()));
        }
    }

    // Returns how many known pedals there are, open or not.
    std::size_t openNewPedals() {
        std::size_t known = 0;
        for (const std::wstring& path : hidInterfacePaths()) {
            const std::string name = narrow(path);
            const HANDLE device = ::CreateFileW(path.c_str(),
                                                GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                nullptr,
                                                OPEN_EXISTING,
                                                FILE_FLAG_OVERLAPPED,
                                                nullptr);
            const DWORD openError = ::GetLastError();
            // A device that cannot be read (a keyboard, a mouse) still tells who it is.
            const HANDLE asked =
                device != INVALID_HANDLE_VALUE
                    ? device
                    : ::CreateFileW(
                          path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
            HIDD_ATTRIBUTES attributes {};
            attributes.Size = sizeof attributes;
            const bool identified = asked != INVALID_HANDLE_VALUE && ::HidD_GetAttributes(asked, &attributes);
            if (asked != device && asked != INVALID_HANDLE_VALUE) ::CloseHandle(asked);
            const PedalDevice* model =
                identified ? findPedalDevice(attributes.VendorID, attributes.ProductID) : nullptr;
            if (model == nullptr || pedals.contains(name)) {
                if (device != INVALID_HANDLE_VALUE) ::CloseHandle(device);
                known += model != nullptr ? 1 : 0;
                continue;
            }
            ++known;
            if (device == INVALID_HANDLE_VALUE) {
                tellOnce(std::string(model->name) + " at " + name + " cannot be opened: " + systemMessage(openError));
                continue;
            }
            // Windows puts the report number in front of every report, 0 where the
            // device does not number them; the model's reports are counted without it.
            const std::size_t length = inputReportLength(device);
            const std::size_t skip = length == model->reportSize + 1 ? 1 : 0;
            start(device, -1, *model, name, length != 0 ? length : model->reportSize, skip);
        }
        return known;
    }

    void start(HANDLE handle, int fd, const PedalDevice& device, const std::string& name, std::size_t chunk,
               std::size_t skip) {
        if (const auto old = pedals.find(name); old != pedals.end()) {
            stopReading(*old->second);
            pedals.erase(old);
        }
        auto open = std::make_unique<Open>(handle, fd, device, chunk, skip);
        Open& pedal = *open;
        pedal.thread = std::thread([this, &pedal] { readLoop(pedal); });
        pedals.emplace(name, std::move(open));
        tellOnce("using " + std::string(device.name) + " at " + name);
    }

    // The reading thread: one overlapped read at a time, until the device goes,
    // an error, or stop.
    void readLoop(Open& pedal) {
        OVERLAPPED overlapped {};
        overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::vector<std::uint8_t> buffer(pedal.chunkSize);
        DWORD error = 0;
        for (;;) {
            ::ResetEvent(overlapped.hEvent);
            DWORD count = 0;
            if (!::ReadFile(pedal.handle, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, &overlapped) &&
                ::GetLastError() != ERROR_IO_PENDING) {
                error = ::GetLastError();
                break;
            }
            const HANDLE waits[] = {overlapped.hEvent, pedal.stop};
            if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
                ::CancelIoEx(pedal.handle, &overlapped);
                ::GetOverlappedResult(pedal.handle, &overlapped, &count, TRUE);
                break;
            }
            if (!::GetOverlappedResult(pedal.handle, &overlapped, &count, FALSE)) {
                error = ::GetLastError();
                break;
            }
            if (count == 0) break;  // the other end of a pipe has gone
            {
                const std::lock_guard guard(pedal.lock);
                for (std::size_t at = 0; at < count; at += pedal.chunkSize) {
                    const std::size_t end = std::min<std::size_t>(at + pedal.chunkSize, count);
                    const std::size_t from = std::min(at + pedal.skipBytes, end);
                    pedal.bytes.insert(pedal.bytes.end(),
                                       buffer.begin() + static_cast<std::ptrdiff_t>(from),
                                       buffer.begin() + static_cast<std::ptrdiff_t>(end));
                }
            }
            ::PostMessageW(window, kReadMessage, 0, 0);
        }
        ::CloseHandle(overlapped.hEvent);
        // The end of a pipe's stream is no error.
        pedal.endError = error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF ? 0 : error;
        pedal.ended = true;
        ::PostMessageW(window, kReadMessage, 0, 0);
    }

    void stopReading(Open& pedal) {
        ::SetEvent(pedal.stop);
        if (pedal.thread.joinable()) pedal.thread.join();
        ::CloseHandle(pedal.stop);
        if (pedal.fd >= 0) {
            ::_close(pedal.fd);
        } else {
            ::CloseHandle(pedal.handle);
        }
    }

    // On the UI thread: what the readers have read becomes events, in order.
    void takeWhatWasRead() {
        std::vector<PedalEvent> events;
        for (auto pedal = pedals.begin(); pedal != pedals.end();) {
            Open& open = *pedal->second;
            const bool ended = open.ended;  // before the bytes: a thread that ended has handed over all it read
            std::vector<std::uint8_t> bytes;
            {
                const std::lock_guard guard(open.lock);
                bytes.swap(open.bytes);
            }
            const std::vector<PedalEvent> read = open.reader.take(bytes);
            events.insert(events.end(), read.begin(), read.end());
            if (!ended) {
                ++pedal;
                continue;
            }
            const std::vector<PedalEvent> released = open.reader.end(static_cast<int>(open.endError));
            events.insert(events.end(), released.begin(), released.end());
            trace("foot pedals: " + pedal->first + " ended" +
                  (open.endError != 0 ? ": " + systemMessage(open.endError) : std::string()));
            stopReading(open);
            pedal = pedals.erase(pedal);
        }
        queue.run(events);
        scheduleRepeat();
    }

    void scheduleRepeat() {
        const auto wait = queue.untilNextStep();
        if (wait) {
            ::SetTimer(window,
                       kRepeatTimer,
                       static_cast<UINT>(std::max<long long>(wait->count(), USER_TIMER_MINIMUM)),
                       nullptr);
        } else {
            ::KillTimer(window, kRepeatTimer);
        }
    }

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            ::SetWindowLongPtrW(window,
                                GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        auto* self = reinterpret_cast<Impl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr) {
            switch (message) {
            case kReadMessage: self->takeWhatWasRead(); return 0;
            case WM_TIMER:
                self->queue.tick();
                self->scheduleRepeat();
                return 0;
            case WM_DEVICECHANGE:
                if (wParam == DBT_DEVICEARRIVAL) self->openNewPedals();
                return TRUE;
            default: break;
            }
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    PedalEventQueue queue;
    HWND window = nullptr;
    HDEVNOTIFY notification = nullptr;
    // By device path. The threads refer to their Open, so each stays where it is.
    std::map<std::string, std::unique_ptr<Open>> pedals;
    std::set<std::string> told;
};

FootPedals::FootPedals(PedalActions& actions) : mImpl(std::make_unique<Impl>(actions)) {}

FootPedals::~FootPedals() = default;

void FootPedals::start() {
    mImpl->watchForNewDevices();
    if (mImpl->openNewPedals() == 0) {
        mImpl->tellOnce("none in use; known models: " + knownPedalModels() +
                        (mImpl->notification != nullptr ? "; one plugged in later is used" : ""));
    }
}

// The descriptor's handle must be open for overlapped reads.
void FootPedals::watch(int fd, const PedalDevice& device, const std::string& name) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    mImpl->start(handle, fd, device, name, device.reportSize, 0);
}

}  // namespace lirabox::hotkeys
