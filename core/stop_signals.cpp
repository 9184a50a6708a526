#include "core/stop_signals.h"

#include <pthread.h>

namespace kova {

sigset_t stopSignalSet() {
    sigset_t stops;
    sigemptyset(&stops);
    for (const int signalNumber : kStopSignals) sigaddset(&stops, signalNumber);
    return stops;
}

void leaveStopSignalsToMainThread() {
    const sigset_t stops = stopSignalSet();
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);
}

}  // namespace kova
