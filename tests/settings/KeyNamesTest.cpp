// Key names and key capture: what a key box shows and what it stores.

#include "settings/KeyCapture.h"
#include "settings/KeyCodeToName.h"
#include "settings/KeyLegends.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace lirabox::settings {
namespace {

TEST(KeyCodeToName, NamesEveryKeyOfTheTableWithTheJapaneseLegends) {
    // clang-format off: a table of six columns
    const std::pair<int, const char*> names[] = {
        {8, "BackSpace"},   {9, "Tab"},
        {13, "Enter"},      {16, "Shift"},
        {17, "CTL"},        {18, "Alt"},
        {19, "Pause"},      {20, "CapsLock"},
        {27, "Esc"},        {32, "SPACE"},
        {33, "PageUp"},     {34, "PageDown"},
        {35, "End"},        {36, "Home"},
        {37, "←"},          {38, "↑"},
        {39, "→"},          {40, "↓"},
        {45, "Insert"},     {46, "Delete"},
        {91, "WindowsKey"}, {96, "0"},
        {101, "5"},         {105, "9"},
        {106, "*"},         {107, "+"},
        {109, "-"},         {110, "."},
        {111, "/"},         {112, "F1"},
        {116, "F5"},        {123, "F12"},
        {144, "NumLock"},   {145, "ScrollLock"},
        {186, ":"},         {187, ";"},
        {188, ","},         {189, "="},
        {190, "."},         {191, "/"},
        {192, "@"},         {219, "["},
        {220, "\\"},        {221, "]"},
        {222, "~"},         {226, "\xEF\xBC\xBC"},
        {240, "CapsLock"},  {65, "A"},
        {90, "Z"},          {48, "0"},
        {53, "5"},
    };
    // clang-format on
    for (const auto& [code, name] : names) EXPECT_EQ(KeyCodeToName(code, 0), name) << code;
}

TEST(KeyCodeToName, CodesWithoutACharacterShowNothing) {
    for (const int code : {0, 1, 7, 31, 127, 128, 200, 255, 256, -1, INT_MIN, INT_MAX}) {
        EXPECT_EQ(KeyCodeToName(code, 0), "") << code;
    }
}

TEST(KeyCodeToName, JoinsModifierAndKeyAndNamesAModifierKeyByTheModifierAlone) {
    EXPECT_EQ(KeyCodeToName(116, 2), "Ctrl + F5");
    EXPECT_EQ(KeyCodeToName(65, 5), "Shift+Alt + A");
    EXPECT_EQ(KeyCodeToName(123, 7), "Shift + Ctrl + Alt + F12");
    EXPECT_EQ(KeyCodeToName(9, 1), "Shift + Tab");
    EXPECT_EQ(KeyCodeToName(65, 3), "Shift + Ctrl + A");
    EXPECT_EQ(KeyCodeToName(65, 4), "Alt + A");
    EXPECT_EQ(KeyCodeToName(65, 6), "Ctrl + Alt + A");
    EXPECT_EQ(KeyCodeToName(17, 2), "Ctrl");
    EXPECT_EQ(KeyCodeToName(16, 3), "Shift + Ctrl");
    EXPECT_EQ(KeyCodeToName(18, 4), "Alt");
    // A modifier code outside 1..7 has no name of its own.
    EXPECT_EQ(KeyCodeToName(65, 8), " + A");
    EXPECT_EQ(KeyCodeToName(17, -1), "");
}

KeyPress withLevels(std::uint32_t plain, std::uint32_t shifted) {
    KeyPress press;
    press.levels = KeyLevels {plain, shifted};
    return press;
}

TEST(KeyCodeToName, TakesTheLayoutsLegendWhereItGivesOne) {
    const KeyLegend us = [](std::int32_t code) -> std::optional<std::string> {
        if (code == 186) return ";";
        if (code == 187) return "=";
        return std::nullopt;
    };
    EXPECT_EQ(KeyCodeToName(186, 0, us), ";");
    EXPECT_EQ(KeyCodeToName(187, 2, us), "Ctrl + =");
    EXPECT_EQ(KeyCodeToName(188, 0, us), ",");  // no legend: the table
    EXPECT_EQ(KeyCodeToName(186, 0, {}), ":");  // no legends at all: the table
}

TEST(KeyLegend, NamesPunctuationByTheLayoutAndLeavesTheJapaneseLayoutToTheTable) {
    // A few keys of each layout: plain and shifted keysyms.
    const std::vector<KeyLevels> us {{';', ':'}, {'=', '+'}, {'-', '_'}, {'\'', '"'}, {'a', 'A'}};
    const std::vector<KeyLevels> japanese {{';', '+'}, {':', '*'}, {'^', '~'}, {'-', '='}};
    EXPECT_EQ(keyLegend(186, "English (US)", us), ";");
    EXPECT_EQ(keyLegend(187, "English (US)", us), "=");
    EXPECT_EQ(keyLegend(189, "English (US)", us), "-");
    EXPECT_EQ(keyLegend(222, "English (US)", us), "'");
    EXPECT_EQ(keyLegend(93, "English (US)", us), "Menu");
    EXPECT_EQ(keyLegend(65, "English (US)", us), std::nullopt);   // letters keep their names
    EXPECT_EQ(keyLegend(191, "English (US)", us), std::nullopt);  // no such key: the table's name
    for (const int code : {186, 187, 189, 222, 93}) EXPECT_EQ(keyLegend(code, "Japanese", japanese), std::nullopt);
    EXPECT_EQ(KeyCodeToName(222, 0, [&](std::int32_t code) { return keyLegend(code, "Japanese", japanese); }), "~");
}

TEST(CaptureKey, TakesTheKeyFromTheKeyboardMapAsTheHookLibraryDoes) {
    // Keypad 5 (KP_Begin, KP_5) and main-row 5 (5, percent) are different keys.
    EXPECT_EQ(captureKey(withLevels(0xff9d, 0xffb5)), (CapturedKey {101, 0}));
    EXPECT_EQ(captureKey(withLevels('5', '%')), (CapturedKey {53, 0}));
    // Shift+1 is the 1 key with Shift, whatever character it types.
    KeyPress shiftOne = withLevels('1', '!');
    shiftOne.shift = true;
    EXPECT_EQ(captureKey(shiftOne), (CapturedKey {49, 1}));
    // The JIS backslash-underscore key.
    EXPECT_EQ(captureKey(withLevels('\\', '_')), (CapturedKey {226, 0}));
    KeyPress ctrlF5 = withLevels(0xffc2, 0xffc2);
    ctrlF5.ctrl = true;
    EXPECT_EQ(captureKey(ctrlF5), (CapturedKey {116, 2}));
}

TEST(CaptureKey, CountsAModifierKeyAsHeldAndRefusesKeysWithoutACode) {
    EXPECT_EQ(captureKey(withLevels(0xffe3, 0xffe3)), (CapturedKey {17, 2}));  // Control_L, state not yet updated
    KeyPress altShift = withLevels(0xffe9, 0xffe9);
    altShift.shift = true;
    EXPECT_EQ(captureKey(altShift), (CapturedKey {18, 5}));
    EXPECT_EQ(captureKey(withLevels(0x1008ff2f, 0)), std::nullopt);  // XF86Sleep: no virtual key
    EXPECT_EQ(captureKey(KeyPress {}), std::nullopt);
    // A code the platform reports itself (Windows): the same rules, codes 1..254 only.
    EXPECT_EQ(captureVirtualKey(16, false, true, false), (CapturedKey {16, 3}));
    EXPECT_EQ(captureVirtualKey(120, true, false, true), (CapturedKey {120, 5}));
    EXPECT_EQ(captureVirtualKey(255, false, false, false), std::nullopt);
}

TEST(CaptureKey, FallsBackToTheToolkitKeyWithItsKeypadBit) {
    KeyPress keypad;
    keypad.qtKey = '5' | 0x20000000;
    EXPECT_EQ(captureKey(keypad), (CapturedKey {101, 0}));
    KeyPress mainRow;
    mainRow.qtKey = '5';
    mainRow.alt = true;
    EXPECT_EQ(captureKey(mainRow), (CapturedKey {53, 4}));
    // A map entry without a code does not hide the toolkit's key.
    KeyPress f9 = withLevels(0, 0);
    f9.qtKey = 0x01000038;
    EXPECT_EQ(captureKey(f9), (CapturedKey {120, 0}));
}

}  // namespace
}  // namespace lirabox::settings
