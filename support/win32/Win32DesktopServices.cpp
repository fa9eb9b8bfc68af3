#include "support/DesktopServices.h"

#include <windows.h>
#include <shellapi.h>

namespace lirabox {
namespace {

HWND asWindow(std::uintptr_t window) { return reinterpret_cast<HWND>(window); }

class Win32DesktopServices final : public DesktopServices {
public:
    void setWindowAbove(std::uintptr_t window, bool above) override {
        ::SetWindowPos(asWindow(window),
                       above ? HWND_TOPMOST : HWND_NOTOPMOST,
                       0,
                       0,
                       0,
                       0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }

    // The shell's own result: above 32 is success.
    // ShellExecute tells every failure at once: failedLater is never called.
    std::int32_t open(const std::string& file, const std::string& parameters, std::int32_t showMode,
                      std::function<void()>) override {
        const HINSTANCE result =
            ::ShellExecuteA(nullptr, "open", file.c_str(), parameters.c_str(), "", static_cast<INT>(showMode));
        return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(result));
    }

    std::string hostName() override {
        char buffer[260];
        DWORD size = sizeof buffer;
        if (!::GetComputerNameA(buffer, &size)) return {};
        return std::string(buffer, strnlen(buffer, sizeof buffer));
    }
};

}  // namespace

std::shared_ptr<DesktopServices> systemDesktopServices() { return std::make_shared<Win32DesktopServices>(); }

}  // namespace lirabox
