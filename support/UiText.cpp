#include "UiText.h"

#include <utility>

namespace lirabox {
namespace {

Catalogue& catalogue() {
    static Catalogue installed;
    return installed;
}

}  // namespace

void useCatalogue(Catalogue lookup) { catalogue() = std::move(lookup); }

std::string shown(const UiText& text) {
    if (catalogue()) {
        std::string translated = catalogue()(text);
        if (!translated.empty()) return translated;
    }
    return text.source;
}

}  // namespace lirabox
