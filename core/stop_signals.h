#pragma once
// The signals that stop a run: SIGINT, SIGTERM and SIGHUP. The program shell's handler takes
// them on the main thread, which holds them back while it renames the files of a run; a worker
// thread that took one would let the handler run in the middle of those renames.
#include <signal.h>

namespace kova {

inline constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The stop signals as a set.
sigset_t stopSignalSet();
// Blocks the stop signals on the calling thread, for good: a worker thread calls it first, so
// that a stop always reaches the main thread.
void leaveStopSignalsToMainThread();

}  // namespace kova
