// Offline play of the show: capture to video or PNG frames, and the bench.
// Both run the normal start-up and timeline offscreen with a stepped clock
// (frame n shows n * 10 / fps tenths of a second from the show's start), so
// every per-frame step runs as in live play but no frame depends on how
// fast the machine is.
#pragma once

#include <cstdint>
#include <string>

#include "shell/command_line.h"
#include "shell/schedule.h"
#include "shell/show_driver.h"

// Clock range of an offline run in tenths: from --start to --end or the
// show's end (231 s).
struct OfflineSpan {
    double start = 0.0;  // tenths of a second
    double end = kShowEnd; // tenths of a second
    int fps = 60;        // 60

    // The run shows the frames of the step from 0 (clock n * 10 / fps) from
    // the first at or after start while their clock is below end: the same
    // frames a run from 0 shows.
    int64_t firstFrame() const;
    // Frames the run presents.
    int64_t frameCount() const;
    // Clock value of the run's frame n (n = 0 is its first).
    float frameClock(int64_t n) const;
};

OfflineSpan offlineSpan(const CommandLine& options);

// The options an offline run plays the show with (no dialog, windowed, no
// music) and the driver it runs under: offscreen, on the stepped clock of
// --fps, with `presented` as its look at each frame.
CommandLine offlineOptions(const CommandLine& options);
ShowDriver offlineDriver(const CommandLine& options, PresentObserver presented);

// --capture: returns the exit status (0 done, 1 failure: no display
// context, ffmpeg missing or failing, unwritable folder).
int runCapture(const CommandLine& options);
