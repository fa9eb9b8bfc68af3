#pragma once
// Sections of config.ini as the settings dialog writes them.

#include <string>

namespace lirabox::test {

inline std::string shortcutRow(int index, int id, int keyCode, int keyDestroy, int shiftStatus = 0) {
    return "[ID0" + std::to_string(index) + "]\nID=" + std::to_string(id) + "\nKeyCode=" + std::to_string(keyCode) +
           "\nKeyDestroy=" + std::to_string(keyDestroy) + "\nShiftStatus=" + std::to_string(shiftStatus) + "\n";
}

}  // namespace lirabox::test
