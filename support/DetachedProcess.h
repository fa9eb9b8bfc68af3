#pragma once
// Starting a program that outlives the call: no shell, no waiting, no zombie.

#include <string>
#include <vector>

namespace lirabox {

// The executable file `name` is found as in $PATH (a name holding "/" is taken
// as it is); empty when there is none.
std::string findProgram(const std::string& name);

// Starts the executable at `path` with `arguments` (argument 0 included) in a
// session of its own, and returns as soon as it has been started: 0 then, or
// the errno of the failure (for instance ENOENT, EACCES, ENOEXEC). The started
// program is not a child of this process, so it never lingers as a zombie.
int startDetached(const std::string& path, const std::vector<std::string>& arguments);

}  // namespace lirabox
