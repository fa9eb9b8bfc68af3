#include "clsCommonUtil.h"

#include "RaisedError.h"

#include <cstddef>
#include <filesystem>
#include <limits>

namespace lirabox {
namespace {

// Length in the 16-bit units the position counter of ExtractFileName counts.
std::size_t utf16Length(const std::string& text) {
    std::size_t units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

}  // namespace

clsCommonUtil::clsCommonUtil(std::shared_ptr<DesktopServices> services) : mServices(std::move(services)) {}

std::string clsCommonUtil::ExtractFileName(const std::string& FileName) const {
    if (utf16Length(FileName) > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
        throw RaisedError(kErrOverflow, "Lirabox", "Overflow");
    }
    // Windows separates folders with "\" as well.
    const char* separators = std::filesystem::path::preferred_separator == '\\' ? "\\/" : "/";
    const std::size_t slash = FileName.find_last_of(separators);
    return slash == std::string::npos ? FileName : FileName.substr(slash + 1);
}

std::string clsCommonUtil::TrimDoubleQ(const std::string& Str) const {
    if (Str.size() >= 2 && Str.front() == '"' && Str.back() == '"') return Str.substr(1, Str.size() - 2);
    return Str;
}

std::int32_t clsCommonUtil::ASyncExecute(const std::string& ExeName, const std::string& CommandLine,
                                         std::int32_t ShowMode, std::function<void()> FailedLater) {
    if (!mObjectSet) {
        throw RaisedError::object(kErrObjectNotSet,
                                  "CommonUtil - Class",
                                  "オブジェクトが設定されていません。\r\nObjectプロパティを使用してください");
    }
    return mServices->open(ExeName, CommandLine, ShowMode, std::move(FailedLater));
}

void clsCommonUtil::setObject(std::uintptr_t Obj) {
    mWindow = Obj;
    mObjectSet = true;
}

void clsCommonUtil::setTopMost(bool bValue) {
    mServices->setWindowAbove(mWindow, bValue);
    mTopMost = bValue;
}

std::string clsCommonUtil::ComputerName() const { return mServices->hostName(); }

}  // namespace lirabox
