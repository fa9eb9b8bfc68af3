#pragma once
// Typing text into whichever window of the desktop has the keyboard focus, as
// if the user typed it. The desktop backend provides it (player/x11/: XTEST);
// tests give the main window a fake.

#include <memory>
#include <string>

namespace lirabox {

class TextTyper {
public:
    virtual ~TextTyper() = default;
    // UTF-8 text. Returns at once: the backend may wait until the user has let
    // go of the keys of the shortcut that asked for it, and until a window of
    // another program has the focus, before typing.
    virtual void type(const std::string& text) = 0;
};

// The desktop's typer; nothing where this desktop cannot type into other programs.
std::unique_ptr<TextTyper> desktopTextTyper();

}  // namespace lirabox
