#pragma once
// Saves a window's position, size and minimised/maximised state into one INI
// section and puts the window back there later, keeping it on the screen.

#include "WindowServices.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lirabox {

class clsIniFile;

class clsWinPlacement {
public:
    // Listeners may change the edges about to be checked against the screen
    // and applied; ErrorFlag is always false.
    using PositionHandler = std::function<void(std::int32_t& TopPixel, std::int32_t& LeftPixels,
                                               std::int32_t& BottomPixels, std::int32_t& RightPixels, bool ErrorFlag)>;

    static constexpr std::int32_t kErrNoSectionName = 3001;
    static constexpr std::int32_t kErrNoIniFile = 3002;
    static constexpr std::int32_t kErrNoTagetWnd = 3003;
    static constexpr std::int32_t kErrGetPlacementFailed = 3004;

    explicit clsWinPlacement(WindowServices& services);

    // Writes Minimized, Maximized, Left, Top (then Right, Bottom when enabled).
    void Save();
    // Reads the stored placement and applies it; bFormPostitionErr tells
    // whether the stored rectangle reached beyond the screen on any side.
    void Restore(bool& bFormPostitionErr);

    bool UseWidth() const { return mUseWidth; }
    void setUseWidth(bool value) { mUseWidth = value; }
    bool UseHeight() const { return mUseHeight; }
    void setUseHeight(bool value) { mUseHeight = value; }
    bool SafePosition() const { return mSafePosition; }
    void setSafePosition(bool value) { mSafePosition = value; }
    bool Minimized() const { return mMinimized; }
    void setMinimized(bool value) { mMinimized = value; }
    bool Maximized() const { return mMaximized; }
    void setMaximized(bool value) { mMaximized = value; }

    // The getters below raise 3001 / 3003 / 3002 while unset.
    const std::string& SectionName() const;
    void setSectionName(const std::string& value) { mSectionName = value; }
    WindowHandle TagetWnd() const;
    void setTagetWnd(WindowHandle value);
    std::shared_ptr<clsIniFile> IniFile() const;
    void setIniFile(std::shared_ptr<clsIniFile> value);  // shared, not copied; nullptr unsets it

    void onPosition(PositionHandler handler) { mPosition.push_back(std::move(handler)); }

private:
    WindowServices& mServices;
    std::shared_ptr<clsIniFile> mIniFile;
    bool mIniFileSet = false;
    WindowHandle mTagetWnd = 0;
    bool mTagetWndSet = false;
    std::string mSectionName;
    bool mMinimized = true;
    bool mMaximized = true;
    bool mSafePosition = true;
    bool mUseWidth = true;
    bool mUseHeight = true;
    std::vector<PositionHandler> mPosition;
};

}  // namespace lirabox
