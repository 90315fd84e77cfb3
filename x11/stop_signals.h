#pragma once

#include <signal.h>

// From here on SIGTERM, SIGINT and SIGHUP are held back and let in only while the hack waits in
// ppoll with StopWaitMask(); each then only records itself, so that the hack can free its
// shared memory and close the display before it ends. Call it first thing, so that a signal
// sent while the hack starts still ends it that way.
void CatchStopSignals();

// The stop signal that came, or 0.
int StopSignal();

// The mask to wait with: the stop signals let in.
const sigset_t* StopWaitMask();

// After a stop signal, ends the process by that same signal, as its sender expects (daemons tell
// a hack that died by SIGTERM from one that failed). Returns only when none came.
void EndByStopSignal();
