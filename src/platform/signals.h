// SIGINT and SIGTERM: the program ends within a second of either, at any
// stage. In the frame loop a signal reads as a close request (the show ends
// as when the window is closed); anywhere else (the setup dialog, a message
// box, loading the show) nothing would notice it, so after a short grace
// period a watchdog thread restores the desktop display mode and ends the
// process with status 128 + the signal's number.
#pragma once

namespace platform {

// Installs the handlers and starts the watchdog; call once, first thing in
// main (SDL then leaves the two signals to us).
void installStopSignals();

// True when a signal arrived that no frame loop has taken yet; taking it
// (takeStopSignal) tells the watchdog the show is ending on its own.
bool stopSignalPending();
void takeStopSignal();

}  // namespace platform
