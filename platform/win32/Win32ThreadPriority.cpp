// The seven thread priority levels of the platform.
#include <windows.h>

#include "platform/thread/ThreadPriority.h"

namespace spindrel {

void SetCurrentThreadPriority(int Level)
{
    static const int priorities[] = {THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL,
                                     THREAD_PRIORITY_NORMAL,       THREAD_PRIORITY_ABOVE_NORMAL,
                                     THREAD_PRIORITY_HIGHEST,      THREAD_PRIORITY_TIME_CRITICAL};
    if (Level >= 0 && Level < 7)
        SetThreadPriority(GetCurrentThread(), priorities[Level]);
}

}  // namespace spindrel
