#include "DroppedFiles.h"

#include "WideText.h"

namespace lirabox::win32 {

std::vector<std::string> droppedFiles(HDROP drop) {
    std::vector<std::string> files;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring name(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        name.resize(::DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size())));
        files.push_back(toUtf8(name));
    }
    ::DragFinish(drop);
    return files;
}

}  // namespace lirabox::win32
