// The scheduler slice of the calling thread.
#include "linux/SchedulerSlice.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace {

// The kernel's sched_attr (glibc before 2.41 does not declare it).
struct SchedulerAttributes {
  uint32_t size;
  uint32_t policy;
  uint64_t flags;
  int32_t nice;
  uint32_t priority;
  uint64_t runtime;
  uint64_t deadline;
  uint64_t period;
};

}  // namespace

void AskForSchedulerSlice(uint64_t nanoseconds) {
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, 0);
  if (errno != 0) return;
  SchedulerAttributes attributes{};
  attributes.size = sizeof attributes;
  attributes.policy = SCHED_OTHER;
  attributes.nice = nice;
  attributes.runtime = nanoseconds;
  syscall(SYS_sched_setattr, 0, &attributes, 0);
}
