#pragma once
// The catalogue's translations as a plain table, generated at build time from
// the .ts files in data/translations/, for front ends without Qt's translator
// (the Qt program reads the same .ts compiled to .qm). Japanese is the source
// language: it has no table of its own.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lirabox {

struct Translation {
    const char* language;  // "en"
    const char* context;
    const char* source;
    const char* text;
};

// Every translation of every language, in the order of the .ts files.
std::span<const Translation> translations();

// The language of the texts for a desktop whose languages are these, most
// preferred first ("en-GB", "ja_JP", "C"): "ja" when Japanese comes before
// English, otherwise "en".
std::string textLanguage(const std::vector<std::string>& preferred);

// The source in that language; the source itself for Japanese or when the
// table has no translation.
std::string_view translate(std::string_view context, std::string_view source, std::string_view language);

}  // namespace lirabox
