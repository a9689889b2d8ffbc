// What a driver of the show (capture, the bench, tests) may say about a run,
// handed to runShow: which clock, whether anyone sees it, and a look at each
// finished frame that can also stop the show. The show never hands a driver
// its state, and a driver never writes it.
#pragma once

#include <functional>

// Called once per presented frame, right before the buffer swap, with the
// finished picture in the back buffer and the show clock already moved on to
// the next frame's value. Returning false ends the show after this frame.
using PresentObserver = std::function<bool(float clock)>;

struct ShowDriver {
    // 0: live (the wall clock, vsync and the frame cap); else the show runs
    // on a stepped clock of this many frames a second, as fast as it goes,
    // and --start is reached at this step.
    int stepFps = 0;
    // Nobody watches: the offscreen video driver, a window rather than full
    // screen, no setup dialog, no soundtrack.
    bool offscreen = false;
    PresentObserver presented;  // empty: none
};
