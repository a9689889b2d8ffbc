// The show clock: the wall clock, steered toward the soundtrack while it
// plays, or a stepped clock.

#include "shell/show_clock.h"

#include <algorithm>
#include <cmath>

#include "platform/platform.h"

namespace {
// Counter value at which the clock reads `time` at counter value `now`.
uint32_t baseFor(uint32_t now, float time) {
    return now - static_cast<uint32_t>(std::llround(static_cast<double>(time) * 100.0));
}
}  // namespace

void ShowClock::start(float startTime) {
    if (stepFps_ > 0) {
        stepFrame_ = firstFrameAt(startTime, stepFps_);
        now_ = steppedClock(0.0, stepFrame_, stepFps_);
        return;
    }
    now_ = startTime;
    last_ = platform::ticks();
    // The base lies startTime before now, so the wall clock continues from it.
    base_ = baseFor(last_, startTime);
}

void ShowClock::update() {
    if (stepFps_ > 0) {
        ++stepFrame_;
        now_ = steppedClock(0.0, stepFrame_, stepFps_);
        return;
    }
    const uint32_t ticks = platform::ticks();
    const double heard = music_ != 0 ? platform::audio().position(music_) : -1.0;
    if (heard < 0.0) {
        now_ = showTimeAt(ticks, base_);
    } else {
        const float elapsed = static_cast<float>(std::max(static_cast<int32_t>(ticks - last_), 0) * 0.01);
        now_ = steerToward(now_, elapsed, static_cast<float>(heard * 10.0));
        base_ = baseFor(ticks, now_);  // the wall clock goes on from here if the music stops
    }
    last_ = ticks;
}

float steerToward(float now, float elapsed, float music) {
    const float wall = now + elapsed;
    const float gap = music - wall;
    if (gap > kJumpGap) return music;
    if (gap < -kJumpGap) return now;
    const float limit = kMaxSlew * elapsed;
    return std::max(now, wall + std::clamp(gap * kPull, -limit, limit));
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
