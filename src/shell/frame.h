// The frame skeleton shared by every scene loop of the show, and the
// projection helper. One loop runs while no quit was requested and the show
// clock is below its end time; each frame: take at most one window event,
// clear the colour buffer, the loop's drawing, clock update, Escape test
// (that frame is not presented), swap, quit test.
#pragma once

#include <functional>

struct SceneLoop {
    float endTime = 0.0f;                     // clock value (tenths of a second) the loop runs below
    std::function<void(float c)> draw;        // between the clear and the clock update; c = demoClock
    std::function<void()> afterClock;         // after the clock update, before the Escape test
    std::function<void()> afterSwap;          // after the swap and glColor4f(1,1,1,1)
};

// Runs one scene loop to its end (end time, Escape, or quit request).
void runSceneLoop(const SceneLoop& loop);

// Called once per presented frame, right before the buffer swap, with the
// finished picture in the back buffer (capture reads it back, the bench
// times it). An empty function removes the observer.
void setPresentObserver(std::function<void()> observer);

// Takes at most one window event: a posted quit sets quitRequested, anything
// else goes to the window's event handling.
void framePump();

// Every loop also ends when the clock reaches this (--end); no limit by default.
extern float showEndLimit;  // +infinity; clock units

// Perspective for the show's 4:3 picture (the aspect of every screen mode),
// near 0.1, far 100; leaves the model-view matrix selected and identity.
void setProjection(int fieldOfView);
