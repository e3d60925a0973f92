// Scheduling priority of the calling thread, in the platform's seven levels.
#pragma once

namespace spindrel {

// 0 idle, 1 lowest, 2 lower, 3 normal, 4 higher, 5 highest, 6 time-critical.
void SetCurrentThreadPriority(int Level);

}  // namespace spindrel
