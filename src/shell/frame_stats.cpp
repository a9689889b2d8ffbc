// Frame pacing figures: intervals between presented frames in a table
// reserved before the show (nothing is allocated while it runs; frames past
// its end are counted but not timed), summed up after the show.
#include "shell/frame_stats.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr size_t kMaxIntervals = 240 * 1000;  // the show's 231 s at up to 1000 frames a second
}

FrameStats::FrameStats(double slotMs) : slotMs_(slotMs) { intervals_.reserve(kMaxIntervals); }

void FrameStats::presented(Clock::time_point when) {
    if (frames_ > 0 && intervals_.size() < kMaxIntervals)
        intervals_.push_back(std::chrono::duration<float, std::milli>(when - last_).count());
    last_ = when;
    ++frames_;
}

std::string FrameStats::line(int red, int green, int blue, const std::string& avMs) const {
    std::vector<float> sorted = intervals_;
    std::sort(sorted.begin(), sorted.end());
    double sum = 0.0;
    int64_t dropped = 0;
    for (float ms : sorted) {
        sum += ms;
        // Later than one slot: the frame missed its slot and took a later one.
        if (ms > 1.5 * slotMs_) ++dropped;
    }
    const auto at = [&](double q) {
        return sorted.empty() ? 0.0 : static_cast<double>(sorted[static_cast<size_t>(q * static_cast<double>(sorted.size() - 1) + 0.5)]);
    };
    const double fps = sum > 0.0 ? 1000.0 * static_cast<double>(sorted.size()) / sum : 0.0;
    char text[256];
    std::snprintf(text, sizeof text,
                  "stats: frames=%lld fps=%.2f median_ms=%.2f p99_ms=%.2f dropped=%lld colour_bits=%d,%d,%d av_ms=%s",
                  static_cast<long long>(frames_), fps, at(0.5), at(0.99), static_cast<long long>(dropped), red, green,
                  blue, avMs.c_str());
    return text;
}
