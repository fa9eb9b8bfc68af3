#include "KeyboardLayout.h"

#include <X11/keysym.h>

#include <algorithm>

namespace lirabox::x11 {

KeyboardLayout::KeyboardLayout(Display* display) {
    mXkb = XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    mModifiers = XGetModifierMapping(display);
    XkbStateRec state {};
    if (XkbGetState(display, XkbUseCoreKbd, &state) == Success) {
        mGroup = state.group;
        mLocked = state.locked_mods;
    }
}

KeyboardLayout::~KeyboardLayout() {
    if (mXkb != nullptr) XkbFreeKeyboard(mXkb, 0, True);
    if (mModifiers != nullptr) XFreeModifiermap(mModifiers);
}

// The symbol a key gives with these modifiers down: the level its key type
// assigns to them within the current group (out-of-range groups wrap).
KeySym KeyboardLayout::symbolAt(KeyCode keycode, unsigned modifiers) const {
    const int groups = XkbKeyNumGroups(mXkb, keycode);
    if (groups == 0) return NoSymbol;
    const int group = mGroup % groups;
    const XkbKeyTypePtr type = XkbKeyKeyType(mXkb, keycode, group);
    const unsigned relevant = modifiers & type->mods.mask;
    int level = 0;
    for (int i = 0; i < type->map_count; ++i) {
        const XkbKTMapEntryRec& entry = type->map[i];
        if (entry.active && entry.mods.mask == relevant) level = entry.level;
    }
    if (level >= XkbKeyGroupWidth(mXkb, keycode, group)) return NoSymbol;
    return XkbKeySymEntry(mXkb, keycode, level, group);
}

KeySym KeyboardLayout::plainSymbol(KeyCode keycode) const {
    if (!valid() || keycode < mXkb->min_key_code || keycode > mXkb->max_key_code) return NoSymbol;
    return symbolAt(keycode, mLocked);
}

std::pair<KeyCode, unsigned> KeyboardLayout::modifierKey(KeySym symbol) const {
    for (int row = 0; row < 8; ++row) {
        for (int i = 0; i < mModifiers->max_keypermod; ++i) {
            const KeyCode keycode = mModifiers->modifiermap[row * mModifiers->max_keypermod + i];
            if (keycode != 0 && XkbKeyNumGroups(mXkb, keycode) > 0 && XkbKeySymEntry(mXkb, keycode, 0, 0) == symbol) {
                return {keycode, 1u << row};
            }
        }
    }
    return {0, 0};
}

// Fewest modifiers first: a plain key, then Shift, AltGr, Shift + AltGr.
std::optional<Keystroke> KeyboardLayout::strokeFor(KeySym symbol) const {
    if (!valid()) return std::nullopt;
    const auto [shiftKey, shiftMask] = modifierKey(XK_Shift_L);
    const auto [levelThreeKey, levelThreeMask] = modifierKey(XK_ISO_Level3_Shift);
    std::vector<Keystroke> ways {{0, {}}};
    if (shiftKey != 0) ways.push_back({0, {shiftKey}});
    if (levelThreeKey != 0) ways.push_back({0, {levelThreeKey}});
    if (shiftKey != 0 && levelThreeKey != 0) ways.push_back({0, {shiftKey, levelThreeKey}});
    for (Keystroke& way : ways) {
        unsigned modifiers = mLocked;
        for (const KeyCode held : way.held) modifiers |= held == shiftKey ? shiftMask : levelThreeMask;
        for (int keycode = mXkb->min_key_code; keycode <= mXkb->max_key_code; ++keycode) {
            if (symbolAt(static_cast<KeyCode>(keycode), modifiers) != symbol) continue;
            way.keycode = static_cast<KeyCode>(keycode);
            return way;
        }
    }
    return std::nullopt;
}

std::vector<KeyCode> KeyboardLayout::modifierKeys() const {
    std::vector<KeyCode> keys;
    if (mModifiers == nullptr) return keys;
    for (int i = 0; i < 8 * mModifiers->max_keypermod; ++i) {
        if (mModifiers->modifiermap[i] != 0) keys.push_back(mModifiers->modifiermap[i]);
    }
    return keys;
}

// From the top: the highest key codes are the ones keyboards rarely send.
std::vector<KeyCode> KeyboardLayout::spareKeys(const std::vector<KeyCode>& taken, std::size_t wanted) const {
    std::vector<KeyCode> spares;
    if (!valid()) return spares;
    const std::vector<KeyCode> modifiers = modifierKeys();
    for (int keycode = mXkb->max_key_code; keycode >= mXkb->min_key_code && spares.size() < wanted; --keycode) {
        const auto code = static_cast<KeyCode>(keycode);
        if (std::ranges::find(taken, code) != taken.end() || std::ranges::find(modifiers, code) != modifiers.end()) {
            continue;
        }
        bool empty = true;
        for (int i = 0; i < XkbKeyNumSyms(mXkb, code); ++i) empty = empty && XkbKeySymsPtr(mXkb, code)[i] == NoSymbol;
        if (empty) spares.push_back(code);
    }
    return spares;
}

}  // namespace lirabox::x11
