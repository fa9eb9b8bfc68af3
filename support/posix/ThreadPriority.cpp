#include "support/ThreadPriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace lirabox {

// SCHED_IDLE runs the thread only when a core has nothing else to do; the
// nice value is for kernels that refuse it. On Linux both act on the thread
// alone.
void lowerThisThreadPriority() noexcept {
    sched_param none {};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &none);
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
}

}  // namespace lirabox
