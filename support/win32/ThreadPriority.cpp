#include "support/ThreadPriority.h"

#include <windows.h>

namespace lirabox {

void lowerThisThreadPriority() noexcept { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE); }

}  // namespace lirabox
