// POSIX threads keep the default priority: raising it needs privileges, and the
// tools and tests that run here gain nothing from lowering it.
#include "platform/thread/ThreadPriority.h"

namespace spindrel {

void SetCurrentThreadPriority(int) {}

}  // namespace spindrel
