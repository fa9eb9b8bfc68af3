#pragma once
// The selected text through Qt's clipboard: the PRIMARY selection where the
// platform has one (X11, Wayland with the primary-selection protocol), the
// clipboard elsewhere. Qt waits for the selection's owner for a bounded time
// (its clipboard timeout), so read() answers before it returns.

#include "player/SelectionReader.h"

namespace lirabox::qt {

class QtSelectionReader : public SelectionReader {
public:
    void read(std::function<void(const std::string& text)> done) override;
};

}  // namespace lirabox::qt
