#pragma once
// Splitting a command-line text into program arguments, without a shell.

#include <string>
#include <string_view>
#include <vector>

namespace lirabox {

// Words separated by blanks (spaces, tabs). A double quote starts or ends a
// quoted stretch in which blanks belong to the word; the quotes themselves are
// dropped, so "" gives an empty word. Nothing else is special: no variables,
// globs, escapes or redirections. The text ends at a NUL.
std::vector<std::string> splitCommandLine(std::string_view text);

}  // namespace lirabox
