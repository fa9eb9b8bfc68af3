#include "clsWinPlacement.h"

#include "ConfigFiles.h"
#include "PlacementMath.h"
#include "RaisedError.h"
#include "VbConvert.h"
#include "clsIniFile.h"

namespace lirabox {
namespace {

const std::string kSourceNoSectionName = "セクション名が設定されていません。";
const std::string kSourceNoIniFile = "IniFile クラスが設定されていません。";
const std::string kSourceNoTagetWnd = "TagetWndが設定されていません。";
const std::string kSourceGetPlacementFailed = "位置情報の取得に失敗しました";

const std::string kKeyMinimized {config::kKeyMinimized};
const std::string kKeyMaximized {config::kKeyMaximized};
const std::string kKeyLeft {config::kKeyLeft};
const std::string kKeyTop {config::kKeyTop};
const std::string kKeyRight {config::kKeyRight};
const std::string kKeyBottom {config::kKeyBottom};
const std::string kDefaultMinimized {config::kDefaultMinimized};
const std::string kDefaultMaximized {config::kDefaultMaximized};

const char* flagText(bool value) { return value ? "1" : "0"; }

bool readFlag(clsIniFile& ini, const std::string& section, const std::string& key, const std::string& defalt) {
    return toInt16(ini.ReadString(section, key, defalt)) != 0;
}

std::int32_t readEdge(clsIniFile& ini, const std::string& section, const std::string& key, std::int32_t current) {
    return toInt32(ini.ReadString(section, key, std::to_string(current)));
}

}  // namespace

clsWinPlacement::clsWinPlacement(WindowServices& services) : mServices(services) {}

const std::string& clsWinPlacement::SectionName() const {
    if (mSectionName.empty()) throw RaisedError::object(kErrNoSectionName, kSourceNoSectionName, "");
    return mSectionName;
}

WindowHandle clsWinPlacement::TagetWnd() const {
    if (!mTagetWndSet) throw RaisedError::object(kErrNoTagetWnd, kSourceNoTagetWnd, "");
    return mTagetWnd;
}

void clsWinPlacement::setTagetWnd(WindowHandle value) {
    mTagetWnd = value;
    mTagetWndSet = true;
}

std::shared_ptr<clsIniFile> clsWinPlacement::IniFile() const {
    if (!mIniFileSet) throw RaisedError::object(kErrNoIniFile, kSourceNoIniFile, "");
    return mIniFile;
}

void clsWinPlacement::setIniFile(std::shared_ptr<clsIniFile> value) {
    mIniFile = std::move(value);
    mIniFileSet = mIniFile != nullptr;
}

void clsWinPlacement::Save() {
    const std::shared_ptr<clsIniFile> ini = IniFile();
    const std::string& section = SectionName();
    const WindowHandle window = TagetWnd();

    WindowPlacement placement;
    if (!mServices.GetWindowPlacement(window, placement)) {
        throw RaisedError::object(kErrGetPlacementFailed, kSourceGetPlacementFailed, "");
    }
    // One replacement of the file: a crash never leaves the new Left with the old Top.
    const PixelRect& normal = placement.normalPosition;
    std::vector<clsIniFile::Entry> entries {
        {section, kKeyMinimized, flagText(mServices.IsIconic(window))},
        {section, kKeyMaximized, flagText(mServices.IsZoomed(window))},
        {section, kKeyLeft, std::to_string(normal.left)},
        {section, kKeyTop, std::to_string(normal.top)},
    };
    if (mUseWidth) entries.push_back({section, kKeyRight, std::to_string(normal.right)});
    if (mUseHeight) entries.push_back({section, kKeyBottom, std::to_string(normal.bottom)});
    ini->WriteStrings(entries);
}

void clsWinPlacement::Restore(bool& bFormPostitionErr) {
    const std::shared_ptr<clsIniFile> ini = IniFile();
    const std::string& section = SectionName();
    const WindowHandle window = TagetWnd();

    const bool showMinimized = readFlag(*ini, section, kKeyMinimized, kDefaultMinimized) && mMinimized;
    const bool showMaximized = readFlag(*ini, section, kKeyMaximized, kDefaultMaximized) && mMaximized;

    PixelRect current;
    mServices.GetWindowRect(window, current);

    PixelRect rect;
    rect.top = readEdge(*ini, section, kKeyTop, current.top);
    rect.left = readEdge(*ini, section, kKeyLeft, current.left);
    rect.right = mUseWidth ? readEdge(*ini, section, kKeyRight, current.right)
                           : checkedAdd(rect.left, checkedSubtract(current.right, current.left));
    rect.bottom = mUseHeight ? readEdge(*ini, section, kKeyBottom, current.bottom)
                             : checkedAdd(rect.top, checkedSubtract(current.bottom, current.top));

    WindowPlacement placement;
    placement.showCmd = placementShowCommand(showMinimized, showMaximized);

    for (const PositionHandler& handler : mPosition) {
        handler(rect.top, rect.left, rect.bottom, rect.right, false);
    }

    const ScreenSize screen = placementScreenSize(mServices.DesktopClientRect(), mServices.PrimaryScreenRect());
    const ScreenFit fit = keepOnScreen(rect, screen, mSafePosition);
    bFormPostitionErr = fit.outside;

    placement.normalPosition = fit.rect;
    mServices.SetWindowPlacement(window, placement);
}

}  // namespace lirabox
