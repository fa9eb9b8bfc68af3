#pragma once
// A text the user reads: the window (context) it belongs to and its Japanese
// source, which is also its key in the catalogue. Mark every such text with
// LIRABOX_TEXT, where lupdate finds it (read as QT_TRANSLATE_NOOP), and show
// it through shown(), which gives it in the user's language.

#include <functional>
#include <string>

namespace lirabox {

struct UiText {
    const char* context;
    const char* source;
};

#define LIRABOX_TEXT(context, source) \
    ::lirabox::UiText { context, source }

// The front end's catalogue lookup, set once at start (the Qt program's is
// its translator). Without one every text is its source.
using Catalogue = std::function<std::string(const UiText&)>;
void useCatalogue(Catalogue catalogue);

// The text in the user's language; the source where the catalogue has none.
std::string shown(const UiText& text);

}  // namespace lirabox
