#include "Translations.h"

#include <algorithm>

namespace lirabox {
namespace {

bool isLanguage(const std::string& tag, std::string_view language) {
    return tag.starts_with(language) && (tag.size() == language.size() || tag[language.size()] == '-' ||
                                         tag[language.size()] == '_' || tag[language.size()] == '.');
}

}  // namespace

std::string textLanguage(const std::vector<std::string>& preferred) {
    for (const std::string& tag : preferred) {
        if (isLanguage(tag, "ja")) return "ja";
        if (isLanguage(tag, "en")) return "en";
    }
    return "en";
}

std::string_view translate(std::string_view context, std::string_view source, std::string_view language) {
    const auto table = translations();
    const auto found = std::find_if(table.begin(), table.end(), [&](const Translation& entry) {
        return entry.language == language && entry.context == context && entry.source == source;
    });
    return found == table.end() ? source : std::string_view(found->text);
}

}  // namespace lirabox
