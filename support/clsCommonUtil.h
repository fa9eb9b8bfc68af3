#pragma once
// Small services several windows need: two file-name helpers, keeping a window
// above the others, opening a file or starting a program without waiting, and
// the computer's name. The window-bound ones act on the window given by Object.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "DesktopServices.h"

namespace lirabox {

class clsCommonUtil {
public:
    static constexpr std::int32_t kErrObjectNotSet = 1000;

    explicit clsCommonUtil(std::shared_ptr<DesktopServices> services = systemDesktopServices());

    // The part after the last "/" (on Windows also "\"; empty when the name
    // ends in one), or the whole name when it holds none. Raises an overflow
    // error (6) for a text longer than 32,767 characters.
    std::string ExtractFileName(const std::string& FileName) const;

    // Removes one pair of enclosing double quotes; anything else comes back unchanged.
    std::string TrimDoubleQ(const std::string& Str) const;

    // Opens ExeName (starting it with CommandLine as its arguments when it is a
    // program) and returns at once: above 32 on success, 32 or less on failure.
    // Raises 1000 when Object was never set. ShowMode is passed on.
    // FailedLater: see DesktopServices::open.
    std::int32_t ASyncExecute(const std::string& ExeName, const std::string& CommandLine, std::int32_t ShowMode,
                              std::function<void()> FailedLater = {});

    void setObject(std::uintptr_t Obj);

    // The last value set; the window itself is not asked.
    bool TopMost() const { return mTopMost; }
    void setTopMost(bool bValue);

    std::string ComputerName() const;

private:
    std::shared_ptr<DesktopServices> mServices;
    bool mObjectSet = false;
    bool mTopMost = false;
    std::uintptr_t mWindow = 0;
};

}  // namespace lirabox
