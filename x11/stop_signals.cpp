#include "x11/stop_signals.h"

namespace {

volatile sig_atomic_t stopSignal = 0;
sigset_t waitMask;

constexpr int StopSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnStopSignal(int signal) {
    if (stopSignal == 0) stopSignal = signal;
}

}  // namespace

void CatchStopSignals() {
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigset_t stops;
    sigemptyset(&stops);
    for (int signal : StopSignals) {
        sigaction(signal, &action, nullptr);
        sigaddset(&stops, signal);
    }
    sigprocmask(SIG_BLOCK, &stops, &waitMask);
    for (int signal : StopSignals) sigdelset(&waitMask, signal);
}

int StopSignal() { return stopSignal; }

const sigset_t* StopWaitMask() { return &waitMask; }

void EndByStopSignal() {
    const int signal = stopSignal;
    if (signal == 0) return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    raise(signal);  // held back until the mask lets it in
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
}
