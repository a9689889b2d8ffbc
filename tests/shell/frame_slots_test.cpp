// The frame slots a capped show takes from a display that sets its own rate.

#include <gtest/gtest.h>

#include "shell/frame_slots.h"

namespace {

// Frames taken in `seconds` from a display at `hz` (each frame up to
// `jitterMs` late, in a fixed pattern), from `fromMs` on.
int framesTaken(FrameSlots& slots, double hz, double seconds, double jitterMs = 0.0, double fromMs = 0.0) {
    int taken = 0;
    const int frames = static_cast<int>(hz * seconds);
    for (int i = 0; i < frames; ++i) {
        const double jitter = jitterMs * ((i * 7919) % 11) / 10.0;
        taken += slots.due(fromMs + i * 1000.0 / hz + jitter);
    }
    return taken;
}

TEST(FrameSlots, AtMostTheCapWhateverTheDisplaysRate) {
    struct Case {
        double hz, jitterMs;
        int atLeast, atMost;  // frames in 10 s at a cap of 60
    };
    const Case cases[] = {
        {60.0, 0.0, 600, 600},   // every frame
        {60.0, 2.0, 599, 600},   // a jittery display still gives every frame
        {120.0, 1.0, 599, 601},  // every other one
        {144.0, 0.5, 480, 601},  // no more than the cap
        {240.0, 0.0, 599, 601},
        {30.0, 0.0, 300, 300},   // a slow display: all it has
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hz);
        FrameSlots slots(60);
        slots.start(0.0);
        const int taken = framesTaken(slots, c.hz, 10.0, c.jitterMs);
        EXPECT_GE(taken, c.atLeast);
        EXPECT_LE(taken, c.atMost);
    }
    FrameSlots uncapped(0);
    EXPECT_EQ(framesTaken(uncapped, 144.0, 1.0), 144);
}

TEST(FrameSlots, AfterAStallANewGridWithoutABurst) {
    FrameSlots slots(60);
    slots.start(0.0);
    framesTaken(slots, 240.0, 1.0);
    // Half a second without frames, then the display goes on at 240 Hz: the
    // next 100 ms give the cap's six frames, not the thirty slots missed.
    const int taken = framesTaken(slots, 240.0, 0.1, 0.0, 1500.0);
    EXPECT_GE(taken, 6);
    EXPECT_LE(taken, 7);
}

}  // namespace
