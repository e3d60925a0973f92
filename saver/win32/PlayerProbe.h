// Which of the three media players this machine can create.
#pragma once

namespace spindrel::saver {

// Creates each player's control once and releases it at once; sets FlashAvailable,
// RealAvailable and MediaPlayerAvailable. COM must be initialised on this thread.
void ProbePlayers();

}  // namespace spindrel::saver
