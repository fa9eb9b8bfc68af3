#pragma once
// Starting a program that outlives the call: no shell, no waiting, no zombie.

#include <functional>
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

// Starts the executable as startDetached does, but as this process's child:
// a thread of its own waits for it and calls `ended` with its exit status
// (-1 when a signal ended it). Returns 0 or the errno of the failure to start
// it; `ended` is called only after a start.
int startWatched(const std::string& path, const std::vector<std::string>& arguments,
                 std::function<void(int exitStatus)> ended);

}  // namespace lirabox
