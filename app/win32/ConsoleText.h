#pragma once
// Text for the user of a program without a console of its own (--help,
// --version): written to the standard output when it goes somewhere (a pipe,
// a file, Wine's terminal), else to the console of the program that started
// this one, else shown in a message box.

#include <string>

namespace lirabox::win32 {

void tellUser(const std::string& utf8Text);

}  // namespace lirabox::win32
