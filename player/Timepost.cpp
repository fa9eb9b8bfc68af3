#include "Timepost.h"

#include "support/LibraryLoader.h"

namespace lirabox {

TimepostLibrary::TimepostLibrary() : TimepostLibrary(defaultCandidates()) {}

TimepostLibrary::TimepostLibrary(std::vector<std::string> candidates) : mCandidates(std::move(candidates)) {}

TimepostLibrary::~TimepostLibrary() {
    if (mHandle != nullptr) closeLibrary(mHandle);
}

std::vector<std::string> TimepostLibrary::defaultCandidates() { return libraryCandidates(libraryFileName("Timepost")); }

void TimepostLibrary::SetTime(double seconds) {
    if (isBound()) mSetTime(seconds);
}

bool TimepostLibrary::isBound() {
    if (!mBindTried) bind();
    return mSetTime != nullptr;
}

// The first library that loads and exports SetTime wins; when none does, the
// outcome is remembered and no further attempt is made.
void TimepostLibrary::bind() {
    mBindTried = true;
    mHandle = loadFirstLibrary(mCandidates, [this](void* handle) {
                  mSetTime = libraryFunction<SetTimeFunction>(handle, "SetTime");
                  return std::string(mSetTime != nullptr ? "" : "no function SetTime");
              }).handle;
}

}  // namespace lirabox
