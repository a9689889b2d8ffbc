// The show clock. Picture and sound stay together only because both start
// at the same moment; the clock is never corrected against the soundtrack.

#include "shell/show_clock.h"

#include <cmath>

#include "platform/platform.h"

void ShowClock::start(float startTime) {
    if (stepFps_ > 0) {
        stepFrame_ = firstFrameAt(startTime, stepFps_);
        now_ = steppedClock(0.0, stepFrame_, stepFps_);
        return;
    }
    now_ = startTime;
    // The base lies startTime before now, so the wall clock continues from it.
    base_ = platform::ticks() - static_cast<uint32_t>(std::llround(static_cast<double>(startTime) * 100.0));
}

void ShowClock::update() {
    if (stepFps_ > 0) {
        ++stepFrame_;
        now_ = steppedClock(0.0, stepFrame_, stepFps_);
        return;
    }
    now_ = showTimeAt(platform::ticks(), base_);
}

int64_t firstFrameAt(float time, int fps) {
    if (!(time > 0.0f)) return 0;
    auto n = static_cast<int64_t>(static_cast<double>(time) * fps / 10.0);
    if (n > 0) --n;
    while (steppedClock(0.0, n, fps) < time) ++n;
    return n;
}

float showTimeAt(uint32_t now, uint32_t base) {
    const auto elapsed = static_cast<int32_t>(now - base);
    return static_cast<float>(elapsed * 0.01);
}

float steppedClock(double origin, int64_t n, int fps) {
    return static_cast<float>(origin + static_cast<double>(n) * 10.0 / fps);
}
