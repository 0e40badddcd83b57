// Ctrl+C (SIGINT) and SIGTERM during a batch run: the signal only sets a
// flag; the frame loop sees it, finishes what it records (a movie gets its
// trailer, so it plays up to the last frame) and ends the program.
#pragma once

namespace quillmere {

// Installs the handlers; a second signal ends the program at once, as usual.
void catchInterrupt();
// True once a signal has arrived.
bool interruptRequested();
// The exit status for the signal that arrived: 128 + its number.
int interruptExitStatus();

} // namespace quillmere
