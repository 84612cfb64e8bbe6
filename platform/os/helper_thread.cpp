#include "platform/os/helper_thread.h"

#include <pthread.h>
#include <sched.h>

namespace cuentas {

std::thread startBesideCaller(std::function<void()> work) {
    std::thread helper(std::move(work));
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const int here = ::sched_getcpu();
    if (here >= 0 && here < CPU_SETSIZE && ::sched_getaffinity(0, sizeof allowed, &allowed) == 0 &&
        CPU_COUNT(&allowed) > 1) {
        // A placement, not a rule: a failure leaves the helper wherever the system put it.
        CPU_CLR(here, &allowed);
        ::pthread_setaffinity_np(helper.native_handle(), sizeof allowed, &allowed);
    }
    return helper;
}

} // namespace cuentas
