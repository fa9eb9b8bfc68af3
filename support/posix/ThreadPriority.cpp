#include "support/ThreadPriority.h"

#include <sys/resource.h>
#include <unistd.h>

namespace lirabox {

// The weakest nice value, not SCHED_IDLE: an idle-class thread may never run
// while the cores are busy, and whoever waits for it to stop (the UI thread,
// on the next load) would wait as long. On Linux the nice value of a thread
// id acts on that thread alone.
void lowerThisThreadPriority() noexcept { setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19); }

}  // namespace lirabox
