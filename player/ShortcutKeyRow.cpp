#include "ShortcutKeyRow.h"

#include "support/ConfigFiles.h"
#include "support/VbConvert.h"
#include "support/clsIniFile.h"

#include <cstdio>
#include <string>

namespace lirabox {
namespace {

namespace cfg = config;

std::string sectionOf(int index) {
    char section[16];
    std::snprintf(section, sizeof section, "%s%02d", cfg::kShortcutSectionPrefix.data(), index);
    return section;
}

}  // namespace

ShortcutKeyRecord readShortcutKeyRow(clsIniFile& ini, int index) {
    const std::string section = sectionOf(index);
    const bool addedRow = index >= cfg::kOriginalShortcutRows;
    const auto read = [&](std::string_view key, std::string_view defaultText) {
        const std::string k(key), d(defaultText);
        return toInt32(addedRow ? ReadStringKeepingFile(ini, section, k, d) : ini.ReadString(section, k, d));
    };
    ShortcutKeyRecord record {};
    record.ID = read(cfg::kKeyID, cfg::kDefaultID);
    record.KeyCode = read(cfg::kKeyKeyCode, cfg::kDefaultKeyCode);
    record.KeyDestroy = read(cfg::kKeyKeyDestroy, cfg::kDefaultKeyDestroy);
    record.ShiftStatus = read(cfg::kKeyShiftStatus, cfg::kDefaultShiftStatus);
    return record;
}

bool shortcutKeyRowToKeep(int index, const ShortcutKeyRecord& record) {
    return index < cfg::kOriginalShortcutRows || record.KeyCode != 0 || record.ID != -1;
}

bool writeShortcutKeyRow(clsIniFile& ini, int index, const ShortcutKeyRecord& record) {
    const std::string section = sectionOf(index);
    bool written = true;
    const auto write = [&](std::string_view key, std::int32_t value) {
        written = ini.WriteString(section, std::string(key), std::to_string(value)) && written;
    };
    write(cfg::kKeyID, index);
    write(cfg::kKeyKeyCode, record.KeyCode);
    write(cfg::kKeyKeyDestroy, record.KeyDestroy);
    write(cfg::kKeyShiftStatus, record.ShiftStatus);
    return written;
}

}  // namespace lirabox
