// Frame pacing figures of a live run (--stats): the moment each frame was
// presented, kept in a table sized once before the show, and after the show
// the one line that sums them up.
#pragma once

#include <chrono>
#include <string>
#include <vector>

class FrameStats {
public:
    using Clock = std::chrono::steady_clock;

    // `slotMs`: the frame slot of the cap (a frame later than one slot
    // counts as dropped). Room for the whole show at 1000 frames a second.
    explicit FrameStats(double slotMs);
    void presented(Clock::time_point when);
    int64_t frames() const { return frames_; }

    // "stats: frames=N fps=F median_ms=M p99_ms=P dropped=D colour_bits=R,G,B av_ms=A";
    // `avMs` is the picture's lead over the music in ms, or "-".
    std::string line(int red, int green, int blue, const std::string& avMs) const;

private:
    double slotMs_;
    int64_t frames_ = 0;
    Clock::time_point last_{};
    std::vector<float> intervals_;  // ms between two presented frames
};
