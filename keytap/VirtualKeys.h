#pragma once
// The one table between Windows virtual-key codes (what config.ini and the
// Keytap records hold), X keysyms and Qt key values. Header only and free of
// X and Qt headers, so any part of the program can use it without linking
// the Keytap library.
//
// Several keysyms may share one virtual key (both Shift keys are 16, Return
// and the keypad Enter are 13); the first row of a virtual key is the one
// its reverse lookups return. Qt values of keypad rows carry Qt's keypad
// modifier bit, as QKeyEvent::key() | (modifiers & Qt::KeypadModifier) does.
//
// The punctuation keys follow the Japanese (JIS) layout the key names of the
// settings dialog describe; keysyms found only on a US layout get the codes
// Windows gives those keys there.

#include <array>
#include <cstddef>
#include <cstdint>

namespace keytap {

struct VirtualKey {
    int32_t virtualKey;
    uint32_t keysym;
    int32_t qtKey;
};

inline constexpr int32_t kQtKeypadModifier = 0x20000000;

namespace vk {
inline constexpr int32_t kBack = 8, kTab = 9, kClear = 12, kReturn = 13, kShift = 16, kControl = 17, kMenu = 18,
                         kPause = 19, kCapital = 20, kKanji = 25, kEscape = 27, kConvert = 28, kNonConvert = 29,
                         kSpace = 32, kPrior = 33, kNext = 34, kEnd = 35, kHome = 36, kLeft = 37, kUp = 38, kRight = 39,
                         kDown = 40, kSnapshot = 44, kInsert = 45, kDelete = 46, kLWin = 91, kRWin = 92, kApps = 93,
                         kNumpad0 = 96, kMultiply = 106, kAdd = 107, kSeparator = 108, kSubtract = 109, kDecimal = 110,
                         kDivide = 111, kF1 = 112, kNumLock = 144, kScroll = 145, kVolumeMute = 173, kVolumeDown = 174,
                         kVolumeUp = 175, kMediaNext = 176, kMediaPrev = 177, kMediaStop = 178, kMediaPlayPause = 179,
                         kOem1 = 186, kOemPlus = 187, kOemComma = 188, kOemMinus = 189, kOemPeriod = 190, kOem2 = 191,
                         kOem3 = 192, kOem4 = 219, kOem5 = 220, kOem6 = 221, kOem7 = 222, kOem102 = 226, kOemAttn = 240,
                         kOemCopy = 242, kOemAuto = 243, kCancel = 3;
}  // namespace vk

namespace detail {

// Qt::Key values used below.
inline constexpr int32_t kQtF1 = 0x01000030;

inline constexpr VirtualKey kFixedKeys[] = {
    {vk::kBack, 0xff08, 0x01000003},                        // BackSpace
    {vk::kTab, 0xff09, 0x01000001},                         // Tab
    {vk::kClear, 0xff0b, 0x0100000b},                       // Clear
    {vk::kReturn, 0xff0d, 0x01000004},                      // Return
    {vk::kReturn, 0xff8d, 0x01000005 | kQtKeypadModifier},  // KP_Enter
    {vk::kShift, 0xffe1, 0x01000020},                       // Shift_L
    {vk::kShift, 0xffe2, 0x01000020},                       // Shift_R
    {vk::kControl, 0xffe3, 0x01000021},                     // Control_L
    {vk::kControl, 0xffe4, 0x01000021},                     // Control_R
    {vk::kMenu, 0xffe9, 0x01000023},                        // Alt_L
    {vk::kMenu, 0xffea, 0x01000023},                        // Alt_R
    {vk::kMenu, 0xffe7, 0x01000022},                        // Meta_L
    {vk::kMenu, 0xffe8, 0x01000022},                        // Meta_R
    {vk::kPause, 0xff13, 0x01000008},                       // Pause
    {vk::kCancel, 0xff6b, 0},                               // Break
    {vk::kCapital, 0xffe5, 0x01000024},                     // Caps_Lock
    {vk::kKanji, 0xff21, 0x01001121},                       // Kanji
    {vk::kEscape, 0xff1b, 0x01000000},                      // Escape
    {vk::kConvert, 0xff23, 0x01001123},                     // Henkan_Mode
    {vk::kNonConvert, 0xff22, 0x01001122},                  // Muhenkan
    {vk::kSpace, 0x0020, 0x20},                             // space
    {vk::kPrior, 0xff55, 0x01000016},                       // Prior (Page Up)
    {vk::kNext, 0xff56, 0x01000017},                        // Next (Page Down)
    {vk::kEnd, 0xff57, 0x01000011},                         // End
    {vk::kHome, 0xff50, 0x01000010},                        // Home
    {vk::kLeft, 0xff51, 0x01000012},                        // Left
    {vk::kUp, 0xff52, 0x01000013},                          // Up
    {vk::kRight, 0xff53, 0x01000014},                       // Right
    {vk::kDown, 0xff54, 0x01000015},                        // Down
    {vk::kSnapshot, 0xff61, 0x01000009},                    // Print
    {vk::kInsert, 0xff63, 0x01000006},                      // Insert
    {vk::kDelete, 0xffff, 0x01000007},                      // Delete
    {vk::kLWin, 0xffeb, 0x01000053},                        // Super_L
    {vk::kRWin, 0xffec, 0x01000054},                        // Super_R
    {vk::kApps, 0xff67, 0x01000055},                        // Menu
    // Keypad keys without Num Lock.
    {vk::kClear, 0xff9d, 0x0100000b | kQtKeypadModifier},   // KP_Begin
    {vk::kPrior, 0xff9a, 0x01000016 | kQtKeypadModifier},   // KP_Prior
    {vk::kNext, 0xff9b, 0x01000017 | kQtKeypadModifier},    // KP_Next
    {vk::kEnd, 0xff9c, 0x01000011 | kQtKeypadModifier},     // KP_End
    {vk::kHome, 0xff95, 0x01000010 | kQtKeypadModifier},    // KP_Home
    {vk::kLeft, 0xff96, 0x01000012 | kQtKeypadModifier},    // KP_Left
    {vk::kUp, 0xff97, 0x01000013 | kQtKeypadModifier},      // KP_Up
    {vk::kRight, 0xff98, 0x01000014 | kQtKeypadModifier},   // KP_Right
    {vk::kDown, 0xff99, 0x01000015 | kQtKeypadModifier},    // KP_Down
    {vk::kInsert, 0xff9e, 0x01000006 | kQtKeypadModifier},  // KP_Insert
    {vk::kDelete, 0xff9f, 0x01000007 | kQtKeypadModifier},  // KP_Delete
    // Keypad operators.
    {vk::kMultiply, 0xffaa, 0x2a | kQtKeypadModifier},   // KP_Multiply
    {vk::kAdd, 0xffab, 0x2b | kQtKeypadModifier},        // KP_Add
    {vk::kSeparator, 0xffac, 0x2c | kQtKeypadModifier},  // KP_Separator
    {vk::kSubtract, 0xffad, 0x2d | kQtKeypadModifier},   // KP_Subtract
    {vk::kDecimal, 0xffae, 0x2e | kQtKeypadModifier},    // KP_Decimal
    {vk::kDivide, 0xffaf, 0x2f | kQtKeypadModifier},     // KP_Divide
    {vk::kNumLock, 0xff7f, 0x01000025},                  // Num_Lock
    {vk::kScroll, 0xff14, 0x01000026},                   // Scroll_Lock
    // Media keys.
    {vk::kVolumeMute, 0x1008ff12, 0x01000071},      // XF86AudioMute
    {vk::kVolumeDown, 0x1008ff11, 0x01000070},      // XF86AudioLowerVolume
    {vk::kVolumeUp, 0x1008ff13, 0x01000072},        // XF86AudioRaiseVolume
    {vk::kMediaNext, 0x1008ff17, 0x01000083},       // XF86AudioNext
    {vk::kMediaPrev, 0x1008ff16, 0x01000082},       // XF86AudioPrev
    {vk::kMediaStop, 0x1008ff15, 0x01000081},       // XF86AudioStop
    {vk::kMediaPlayPause, 0x1008ff14, 0x01000080},  // XF86AudioPlay
    {vk::kMediaPlayPause, 0x1008ff31, 0x01000085},  // XF86AudioPause
    // Punctuation, JIS legends first.
    {vk::kOem1, 0x003a, 0x3a},           // colon
    {vk::kOemPlus, 0x003b, 0x3b},        // semicolon
    {vk::kOemPlus, 0x003d, 0x3d},        // equal (US)
    {vk::kOemComma, 0x002c, 0x2c},       // comma
    {vk::kOemMinus, 0x002d, 0x2d},       // minus
    {vk::kOemPeriod, 0x002e, 0x2e},      // period
    {vk::kOem2, 0x002f, 0x2f},           // slash
    {vk::kOem3, 0x0040, 0x40},           // at
    {vk::kOem3, 0x0060, 0x60},           // grave (US)
    {vk::kOem4, 0x005b, 0x5b},           // bracketleft
    {vk::kOem5, 0x005c, 0x5c},           // backslash
    {vk::kOem5, 0x00a5, 0xa5},           // yen
    {vk::kOem6, 0x005d, 0x5d},           // bracketright
    {vk::kOem7, 0x005e, 0x5e},           // asciicircum
    {vk::kOem7, 0x0027, 0x27},           // apostrophe (US)
    {vk::kOem102, 0x005f, 0x5f},         // underscore: the JIS backslash-underscore key
    {vk::kOemAttn, 0xff30, 0x01001130},  // Eisu_toggle
    {vk::kOemCopy, 0xff27, 0x01001127},  // Hiragana_Katakana
    {vk::kOemAuto, 0xff2a, 0x0100112a},  // Zenkaku_Hankaku
};

inline constexpr std::size_t kGeneratedKeys = 10 + 26 + 26 + 24 + 10;

constexpr auto makeVirtualKeyTable() {
    std::array<VirtualKey, std::size(kFixedKeys) + kGeneratedKeys> table {};
    std::size_t n = 0;
    for (const VirtualKey& key : kFixedKeys) table[n++] = key;
    for (int32_t i = 0; i < 10; ++i) table[n++] = {'0' + i, uint32_t('0' + i), '0' + i};
    for (int32_t i = 0; i < 26; ++i) table[n++] = {'A' + i, uint32_t('a' + i), 'A' + i};
    for (int32_t i = 0; i < 26; ++i) table[n++] = {'A' + i, uint32_t('A' + i), 'A' + i};
    for (int32_t i = 0; i < 24; ++i) table[n++] = {vk::kF1 + i, uint32_t(0xffbe + i), kQtF1 + i};
    for (int32_t i = 0; i < 10; ++i)  // KP_0 .. KP_9
        table[n++] = {vk::kNumpad0 + i, uint32_t(0xffb0 + i), ('0' + i) | kQtKeypadModifier};
    return table;
}

}  // namespace detail

inline constexpr auto kVirtualKeys = detail::makeVirtualKeyTable();

// The keysym of a virtual key's first row; 0 when the table has none.
constexpr uint32_t keysymForVirtualKey(int32_t virtualKey) {
    for (const VirtualKey& key : kVirtualKeys)
        if (key.virtualKey == virtualKey) return key.keysym;
    return 0;
}

// The virtual key of a keysym; 0 when the table has none.
constexpr int32_t virtualKeyForKeysym(uint32_t keysym) {
    for (const VirtualKey& key : kVirtualKeys)
        if (key.keysym == keysym) return key.virtualKey;
    return 0;
}

// The virtual key of a physical key from the keysyms of its first two levels
// (plain and shifted). Keypad keys count as with Num Lock on; a semicolon key
// with colon above it is the US layout's (VK_OEM_1), and a backslash key with
// underscore above it is the JIS layout's extra key (VK_OEM_102).
constexpr int32_t virtualKeyForKeyLevels(uint32_t plain, uint32_t shifted) {
    const bool keypadDigitAbove = (shifted >= 0xffb0 && shifted <= 0xffb9) || shifted == 0xffae;
    if (keypadDigitAbove && plain >= 0xff95 && plain <= 0xff9f) return virtualKeyForKeysym(shifted);
    if (plain == ';' && shifted == ':') return vk::kOem1;
    if (plain == '\\' && shifted == '_') return vk::kOem102;
    return virtualKeyForKeysym(plain);
}

// The Qt key value (keypad bit included) of a virtual key's first row; 0 when none.
constexpr int32_t qtKeyForVirtualKey(int32_t virtualKey) {
    for (const VirtualKey& key : kVirtualKeys)
        if (key.virtualKey == virtualKey) return key.qtKey;
    return 0;
}

// The virtual key of a Qt key value (with the keypad bit for keypad keys); 0 when none.
constexpr int32_t virtualKeyForQtKey(int32_t qtKey) {
    if (qtKey == 0) return 0;
    for (const VirtualKey& key : kVirtualKeys)
        if (key.qtKey == qtKey) return key.virtualKey;
    return 0;
}

// Shift 1 + Ctrl 2 + Alt 4 contributed by a modifier virtual key; 0 for other keys.
constexpr int32_t modifierBitOfVirtualKey(int32_t virtualKey) {
    switch (virtualKey) {
    case vk::kShift: return 1;
    case vk::kControl: return 2;
    case vk::kMenu: return 4;
    default: return 0;
    }
}

}  // namespace keytap
