#pragma once
// Reading the text the user has selected in whichever program has the focus:
// the X11 PRIMARY selection, or on Windows a copy through the clipboard. The
// desktop backend provides it; tests give the main window a fake.

#include <functional>
#include <string>

namespace lirabox {

class SelectionReader {
public:
    virtual ~SelectionReader() = default;
    // Returns at once or after a short, bounded wait; `done` is called once,
    // on the UI thread, with the selected text as UTF-8 (empty when there is
    // none or it could not be read), possibly before read() returns. No call
    // is made after the reader is destroyed.
    virtual void read(std::function<void(const std::string& text)> done) = 0;
};

}  // namespace lirabox
