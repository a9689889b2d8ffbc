// --bench: the show played headless at a fixed step, timed per frame.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <vector>

#include "capture/offline_run.h"
#include "shell/command_line.h"

// Prints the JSON report on stdout; returns the exit status.
int runBench(const CommandLine& options);

// The bench's timing of one run of the offline options `run`
// (offlineOptions): each presented frame is finished (glFinish) and the
// time since the previous one goes to the section the frame was drawn in.
// The desktop's --bench and the browser's `bench` report through it.
class BenchTimes {
public:
    explicit BenchTimes(const CommandLine& run);
    // The look at each presented frame (a PresentObserver); never stops the show.
    bool presented();
    // The report: size, step, start-up time, peak memory, and per section
    // and in total frames, frames per second, mean, median, 99th percentile
    // and longest frame time.
    void write(std::ostream& out) const;

private:
    using Clock = std::chrono::steady_clock;
    struct FrameTime {
        float ms;
        uint8_t section;
    };

    CommandLine run_;
    OfflineSpan span_;
    std::vector<FrameTime> frames_;
    Clock::time_point last_{};
    double startupMs_ = -1.0;  // -1 until the first frame
};
