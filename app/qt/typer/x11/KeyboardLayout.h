#pragma once
// The keyboard as the X server has it at one moment: for a keysym, the key
// and the modifiers that type it in the current group, with the locked
// modifiers (Caps Lock, Num Lock) taken into account; and the keys that no
// layout uses, which can be bound for a moment to a keysym the layout lacks.

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <optional>
#include <vector>

namespace lirabox::x11 {

struct Keystroke {
    KeyCode keycode = 0;
    // Keys held down around it: Shift and the level-three shift (AltGr) as needed.
    std::vector<KeyCode> held;
};

class KeyboardLayout {
public:
    // Reads the map, the state and the modifier mapping; valid() is false
    // when the server has no XKB.
    explicit KeyboardLayout(Display* display);
    ~KeyboardLayout();
    KeyboardLayout(const KeyboardLayout&) = delete;
    KeyboardLayout& operator=(const KeyboardLayout&) = delete;

    bool valid() const { return mXkb != nullptr && mModifiers != nullptr; }

    std::optional<Keystroke> strokeFor(KeySym symbol) const;
    // The symbol the key gives with no modifier down beyond the locked ones.
    KeySym plainSymbol(KeyCode keycode) const;
    // Up to `wanted` keys with no symbols and no modifier role, other than
    // those taken; the highest key codes first.
    std::vector<KeyCode> spareKeys(const std::vector<KeyCode>& taken, std::size_t wanted) const;

private:
    std::vector<KeyCode> modifierKeys() const;
    KeySym symbolAt(KeyCode keycode, unsigned modifiers) const;
    // The key whose first symbol is `symbol` and the modifier it sets; 0s when none.
    std::pair<KeyCode, unsigned> modifierKey(KeySym symbol) const;

    XkbDescPtr mXkb = nullptr;
    XModifierKeymap* mModifiers = nullptr;
    int mGroup = 0;
    unsigned mLocked = 0;
};

}  // namespace lirabox::x11
