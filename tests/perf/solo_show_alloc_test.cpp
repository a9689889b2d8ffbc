// The whole show, timeline included, allocates nothing per frame once a
// section runs: the bundled show is played headless at a coarse fixed step
// with global operator new counting on the show's thread (the GL driver's
// worker threads are not the show's), and the allocations made between two
// presented frames are charged to the frame drawn in between. Allocations
// made from inside the GL driver (it compiles a program the first time it
// meets a combination of state, which may be in the middle of a section)
// are told apart by the library that asked for the memory, and not counted.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "assets/data_path.h"
#include "capture/offline_run.h"
#include "shell/app.h"
#include "shell/command_line.h"
#include "shell/schedule.h"
#include "support/allocation_count.h"

namespace {

constexpr int kFps = 4;

struct FrameAllocations {
    float clock;  // the clock value the frame was drawn with
    long count;   // by the show's code
};

TEST(ShowAllocations, EveryFrameButTheFirstOfEachSectionAllocatesNothing) {
    void* warmUp[4];
    backtrace(warmUp, 4);  // loads the unwinder before anything is counted
    const CommandLine run =
        parseCommandLine({"--no-dialog", "--windowed", "--no-music", "--fps", std::to_string(kFps)});
    setDataFolder(ORBELUNE_DATA_DIR);

    std::vector<FrameAllocations> frames;
    frames.reserve(2000);
    float drawnWith = 0.0f;
    long before = 0;
    const ShowDriver driver = offlineDriver(run, [&](float clock) {
        counting = false;
        if (frames.size() < frames.capacity())
            frames.push_back({drawnWith, allocations - before});
        drawnWith = clock;
        before = allocations;
        counting = true;
        return true;
    });
    const int status = runShow(offlineOptions(run), driver);
    counting = false;
    ASSERT_EQ(status, 0);
    ASSERT_GT(frames.size(), 900u);

    // A section's first frame is charged with building its loop; after that
    // the show's code allocates nothing. (The driver compiles programs at
    // section starts, in the second frame of a scene with lights, and when a
    // combination of state first appears, e.g. the title fading in.)
    const auto firstOfSection = [](float clock) { return clock < sectionStart(sectionAt(clock)) + 10.0f / kFps; };
    size_t checked = 0;
    for (size_t i = 1; i < frames.size(); ++i) {  // frame 0 follows start-up
        if (firstOfSection(frames[i].clock)) continue;
        ++checked;
        EXPECT_EQ(frames[i].count, 0) << "frame drawn at clock " << frames[i].clock;
    }
    EXPECT_GT(checked, 900u);
}

}  // namespace
