#include <gtest/gtest.h>

// Qt's names before X11's macros, which would clash with them.
#include <Qt>

#include <X11/XF86keysym.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <map>
#include <set>

#include "keytap/VirtualKeys.h"

namespace keytap {
namespace {

static_assert(keysymForVirtualKey(112) == XK_F1, "usable at compile time");
static_assert(virtualKeyForKeysym(XK_a) == 'A');

int32_t onKeypad(Qt::Key key) { return static_cast<int32_t>(key) | kQtKeypadModifier; }

// Every virtual key the settings dialog names, plus letters and F13-F24.
std::set<int32_t> namedVirtualKeys() {
    std::set<int32_t> keys {8,   9,   13,  16,  17,  18,  19,  20,  27,  32,  33,  34,  35,  36,
                            37,  38,  39,  40,  45,  46,  91,  106, 107, 109, 110, 111, 144, 145,
                            186, 187, 188, 189, 190, 191, 192, 219, 220, 221, 222, 226, 240};
    for (int32_t key = 96; key <= 105; ++key) keys.insert(key);   // keypad digits
    for (int32_t key = 112; key <= 135; ++key) keys.insert(key);  // F1 .. F24
    for (int32_t key = '0'; key <= '9'; ++key) keys.insert(key);
    for (int32_t key = 'A'; key <= 'Z'; ++key) keys.insert(key);
    return keys;
}

TEST(VirtualKeysTest, EveryNamedKeyHasAKeysymThatLeadsBackToIt) {
    for (int32_t key : namedVirtualKeys()) {
        const uint32_t keysym = keysymForVirtualKey(key);
        ASSERT_NE(keysym, 0u) << key;
        EXPECT_EQ(virtualKeyForKeysym(keysym), key) << key;
        EXPECT_NE(qtKeyForVirtualKey(key), 0) << key;
        EXPECT_EQ(virtualKeyForQtKey(qtKeyForVirtualKey(key)), key) << key;
    }
}

TEST(VirtualKeysTest, EveryKeysymIsARealOneAndAppearsOnce) {
    std::set<uint32_t> seen;
    for (const VirtualKey& key : kVirtualKeys) {
        EXPECT_NE(XKeysymToString(key.keysym), nullptr) << std::hex << key.keysym;
        EXPECT_TRUE(seen.insert(key.keysym).second) << std::hex << key.keysym;
    }
}

TEST(VirtualKeysTest, AQtKeyLeadsToOneVirtualKeyOnly) {
    std::map<int32_t, int32_t> virtualKeyOfQtKey;
    for (const VirtualKey& key : kVirtualKeys) {
        if (key.qtKey == 0) continue;
        const auto [it, inserted] = virtualKeyOfQtKey.emplace(key.qtKey, key.virtualKey);
        EXPECT_EQ(it->second, key.virtualKey) << std::hex << key.qtKey;
    }
}

TEST(VirtualKeysTest, KeysymsAreTheOnesXNamesThem) {
    const std::map<int32_t, uint32_t> expected {
        {8, XK_BackSpace},     {9, XK_Tab},           {13, XK_Return},        {16, XK_Shift_L},
        {17, XK_Control_L},    {18, XK_Alt_L},        {19, XK_Pause},         {20, XK_Caps_Lock},
        {27, XK_Escape},       {32, XK_space},        {33, XK_Prior},         {34, XK_Next},
        {35, XK_End},          {36, XK_Home},         {37, XK_Left},          {38, XK_Up},
        {39, XK_Right},        {40, XK_Down},         {45, XK_Insert},        {46, XK_Delete},
        {91, XK_Super_L},      {96, XK_KP_0},         {105, XK_KP_9},         {106, XK_KP_Multiply},
        {107, XK_KP_Add},      {109, XK_KP_Subtract}, {110, XK_KP_Decimal},   {111, XK_KP_Divide},
        {112, XK_F1},          {123, XK_F12},         {124, XK_F13},          {135, XK_F24},
        {144, XK_Num_Lock},    {145, XK_Scroll_Lock}, {186, XK_colon},        {187, XK_semicolon},
        {188, XK_comma},       {189, XK_minus},       {190, XK_period},       {191, XK_slash},
        {192, XK_at},          {219, XK_bracketleft}, {220, XK_backslash},    {221, XK_bracketright},
        {222, XK_asciicircum}, {226, XK_underscore},  {240, XK_Eisu_toggle},  {'A', XK_a},
        {'Z', XK_z},           {'0', XK_0},           {179, XF86XK_AudioPlay}};
    for (const auto& [key, keysym] : expected) EXPECT_EQ(keysymForVirtualKey(key), keysym) << key;
    EXPECT_EQ(virtualKeyForKeysym(XK_Shift_R), 16);
    EXPECT_EQ(virtualKeyForKeysym(XK_Control_R), 17);
    EXPECT_EQ(virtualKeyForKeysym(XK_Alt_R), 18);
    EXPECT_EQ(virtualKeyForKeysym(XK_Meta_L), 18);
    EXPECT_EQ(virtualKeyForKeysym(XK_KP_Enter), 13);
    EXPECT_EQ(virtualKeyForKeysym(XK_Z), 'Z');
    EXPECT_EQ(virtualKeyForKeysym(XK_equal), 187);
    EXPECT_EQ(virtualKeyForKeysym(XK_apostrophe), 222);
    EXPECT_EQ(virtualKeyForKeysym(XK_grave), 192);
    EXPECT_EQ(virtualKeyForKeysym(XK_yen), 220);
    EXPECT_EQ(virtualKeyForKeysym(XK_Hyper_L), 0);
}

TEST(VirtualKeysTest, QtValuesAreQtsOwn) {
    const std::map<int32_t, int32_t> expected {{8, Qt::Key_Backspace},
                                               {9, Qt::Key_Tab},
                                               {13, Qt::Key_Return},
                                               {16, Qt::Key_Shift},
                                               {17, Qt::Key_Control},
                                               {18, Qt::Key_Alt},
                                               {19, Qt::Key_Pause},
                                               {20, Qt::Key_CapsLock},
                                               {27, Qt::Key_Escape},
                                               {32, Qt::Key_Space},
                                               {33, Qt::Key_PageUp},
                                               {34, Qt::Key_PageDown},
                                               {35, Qt::Key_End},
                                               {36, Qt::Key_Home},
                                               {37, Qt::Key_Left},
                                               {38, Qt::Key_Up},
                                               {39, Qt::Key_Right},
                                               {40, Qt::Key_Down},
                                               {45, Qt::Key_Insert},
                                               {46, Qt::Key_Delete},
                                               {91, Qt::Key_Super_L},
                                               {112, Qt::Key_F1},
                                               {135, Qt::Key_F24},
                                               {144, Qt::Key_NumLock},
                                               {145, Qt::Key_ScrollLock},
                                               {186, Qt::Key_Colon},
                                               {187, Qt::Key_Semicolon},
                                               {188, Qt::Key_Comma},
                                               {189, Qt::Key_Minus},
                                               {190, Qt::Key_Period},
                                               {191, Qt::Key_Slash},
                                               {192, Qt::Key_At},
                                               {219, Qt::Key_BracketLeft},
                                               {220, Qt::Key_Backslash},
                                               {221, Qt::Key_BracketRight},
                                               {222, Qt::Key_AsciiCircum},
                                               {226, Qt::Key_Underscore},
                                               {240, Qt::Key_Eisu_toggle},
                                               {'A', Qt::Key_A},
                                               {'9', Qt::Key_9},
                                               {179, Qt::Key_MediaPlay},
                                               {28, Qt::Key_Henkan},
                                               {29, Qt::Key_Muhenkan}};
    for (const auto& [key, qtKey] : expected) EXPECT_EQ(qtKeyForVirtualKey(key), qtKey) << key;
    EXPECT_EQ(qtKeyForVirtualKey(101), onKeypad(Qt::Key_5));
    EXPECT_EQ(qtKeyForVirtualKey(106), onKeypad(Qt::Key_Asterisk));
    EXPECT_EQ(kQtKeypadModifier, static_cast<int32_t>(Qt::KeypadModifier));
    EXPECT_EQ(virtualKeyForQtKey(onKeypad(Qt::Key_Enter)), 13);
    EXPECT_EQ(virtualKeyForQtKey(onKeypad(Qt::Key_5)), 101);
    EXPECT_EQ(virtualKeyForQtKey(Qt::Key_5), '5');
    EXPECT_EQ(virtualKeyForQtKey(Qt::Key_AltGr), 0);
    EXPECT_EQ(virtualKeyForQtKey(0), 0);
}

TEST(VirtualKeysTest, APhysicalKeyIsKnownByItsPlainAndShiftedKeysyms) {
    EXPECT_EQ(virtualKeyForKeyLevels(XK_a, XK_A), 'A');
    EXPECT_EQ(virtualKeyForKeyLevels(XK_1, XK_exclam), '1');
    EXPECT_EQ(virtualKeyForKeyLevels(XK_semicolon, XK_plus), 187);   // JIS
    EXPECT_EQ(virtualKeyForKeyLevels(XK_colon, XK_asterisk), 186);   // JIS
    EXPECT_EQ(virtualKeyForKeyLevels(XK_semicolon, XK_colon), 186);  // US
    EXPECT_EQ(virtualKeyForKeyLevels(XK_equal, XK_plus), 187);       // US
    EXPECT_EQ(virtualKeyForKeyLevels(XK_backslash, XK_bar), 220);
    EXPECT_EQ(virtualKeyForKeyLevels(XK_backslash, XK_underscore), 226);
    EXPECT_EQ(virtualKeyForKeyLevels(XK_KP_Home, XK_KP_7), 103);
    EXPECT_EQ(virtualKeyForKeyLevels(XK_KP_Begin, XK_KP_5), 101);
    EXPECT_EQ(virtualKeyForKeyLevels(XK_KP_Delete, XK_KP_Decimal), 110);
    EXPECT_EQ(virtualKeyForKeyLevels(XK_KP_Home, 0), 36);
    EXPECT_EQ(virtualKeyForKeyLevels(XK_Shift_L, 0), 16);
    EXPECT_EQ(virtualKeyForKeyLevels(0, XK_A), 0);
}

TEST(VirtualKeysTest, OnlyShiftCtrlAndAltAreModifierKeys) {
    EXPECT_EQ(modifierBitOfVirtualKey(16), 1);
    EXPECT_EQ(modifierBitOfVirtualKey(17), 2);
    EXPECT_EQ(modifierBitOfVirtualKey(18), 4);
    EXPECT_EQ(modifierBitOfVirtualKey(91), 0);
    EXPECT_EQ(modifierBitOfVirtualKey(20), 0);
}

}  // namespace
}  // namespace keytap
