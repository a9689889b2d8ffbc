// The frame skeleton the show runs on, and the projection helper. Each frame:
// take at most one window event, clear the colour buffer, step the timeline
// and draw it, update the clock, the Escape test (that frame is not
// presented and its section ends), present, quit test. The show runs while
// no quit was requested, the clock is below --end and a section remains.
#pragma once

#include <cstdint>
#include <functional>

class Timeline;

// The live show's step: its per-frame motion was made for about 60 frames a
// second. The frame cap, --start and the catch-up after a hidden spell use it.
constexpr int kLiveFps = 60;

// Plays the timeline from the current clock to the end of the show.
void playTimeline(Timeline& timeline);

// Steps frames n = 0, 1, ... of a fixed step (clock value
// steppedClock(origin, n, fps)) while their clock is below `target`, without
// presenting any, and returns how many were stepped. The frame just before
// `target` is drawn (not shown), so that the GL state one frame hands to the
// next (the lights get their parameters after the objects they light) is
// what a played run leaves: the frames that follow are the frames a run
// through every step draws.
int64_t seekTimeline(Timeline& timeline, float target, double origin, int fps);

// Called once per presented frame, right before the buffer swap, with the
// finished picture in the back buffer (capture reads it back, the bench
// times it). An empty function removes the observer.
void setPresentObserver(std::function<void()> observer);

// Takes at most one window event: a posted quit sets quitRequested, anything
// else goes to the window's event handling.
void framePump();

// The show also ends when the clock reaches this (--end); no limit by default.
extern float showEndLimit;  // +infinity; clock units

// Perspective for the show's 4:3 picture (the aspect of every screen mode),
// near 0.1, far 100; leaves the model-view matrix selected and identity.
void setProjection(int fieldOfView);
