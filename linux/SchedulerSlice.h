// The scheduler slice of the calling thread.
#pragma once

#include <cstdint>

// A busy processor lets a woken thread wait until the running one has used its slice (some 3 ms,
// up to a 4 ms clock tick); a thread that asks for a short slice is let in sooner. Any user may ask
// (Linux 6.12 and later; older kernels ignore it); the niceness stays as it is. Zero asks for the
// kernel's default slice again.
void AskForSchedulerSlice(uint64_t nanoseconds);
