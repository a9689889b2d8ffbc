// The show clock in tenths of a second. Live it is the platform's
// millisecond counter (replaceable through platform::setClockSource) read in
// one place, update(); while the soundtrack plays it follows what is heard
// of it instead (followMusic), so picture and sound stay together after a
// seek, a stall or a starved audio thread. A driver that steps by frames
// (capture, the bench) makes it a stepped clock, one frame of a fixed step
// per update, whatever the wall clock says.
#pragma once

#include <cstdint>

class ShowClock {
public:
    // stepFps 0: the wall clock; else frames per second of a stepped clock
    // that runs through steppedClock(0, n, stepFps).
    explicit ShowClock(int stepFps = 0) : stepFps_(stepFps) {}

    // The clock reads `startTime` now. A stepped clock starts at the first
    // frame of its step at or after `startTime`.
    void start(float startTime = 0.0f);
    // Live: now = (counter - base) read as signed 32 bits, x 0.01; while a
    // followed stream reports a position, the wall clock's advance steered
    // toward it (steerToward). Stepped: the next frame of the step.
    void update();
    // Live: from the next update on, follow the soundtrack stream's heard
    // position (platform::audio().position). 0, or a stream that reports no
    // position (stopped, ended), leaves the wall clock alone.
    void followMusic(uint32_t stream) { music_ = stream; }

    float now() const { return now_; }       // show time, tenths of a second
    uint32_t base() const { return base_; }  // counter value at show time 0 (wall clock)
    int stepFps() const { return stepFps_; } // 0 on the wall clock

private:
    float now_ = 0.0f;      // 0
    uint32_t base_ = 0;     // 0
    uint32_t last_ = 0;     // 0; counter value at the last start or update (wall clock)
    uint32_t music_ = 0;    // 0; the soundtrack stream followed, none
    int stepFps_ = 0;       // 0: wall clock
    int64_t stepFrame_ = 0; // 0; frame of the step the stepped clock shows
};

// How the clock follows the music, in clock units (tenths of a second).
// Within kJumpGap of the music each update moves by the wall clock's
// advance plus kPull of the gap, the correction at most kMaxSlew of that
// advance (so the clock never runs backwards and its speed changes by at
// most a tenth). Past the gap something stalled: music ahead, the clock
// jumps to it; music behind, the clock waits for it.
constexpr float kJumpGap = 2.0f;  // 200 ms
constexpr float kPull = 0.1f;
constexpr float kMaxSlew = 0.1f;
// The clock that read `now` and has seen `elapsed` units of wall time since,
// while the music is heard at `music`.
float steerToward(float now, float elapsed, float music);

// The first frame n of a fixed step from 0 whose clock is at or after `time`.
int64_t firstFrameAt(float time, int fps);
// Clock value of frame n of a fixed step of `fps` frames a second that
// starts at `origin` (tenths of a second): origin + n * 10 / fps, worked out
// in double from n (never accumulated) and stored as float. The stepped
// clock, the seek and capture's frame times all use it.
float steppedClock(double origin, int64_t n, int fps);
// The arithmetic of the wall clock's update, for any counter value.
float showTimeAt(uint32_t now, uint32_t base);
