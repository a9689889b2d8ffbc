// The frame skeleton on a real GL context with a scripted clock and scripted
// window events: a close request ends the show after the frame that took the
// quit; --end and the last section end it (Escape is timeline_test's; the
// projection is held by the golden frames).

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <memory>
#include <vector>

#include "scripted_frames.h"
#include "shell/frame_stats.h"
#include "shell/timeline.h"

namespace {

using platform::Event;
using platform::EventKind;

class FrameTest : public ScriptedFrames {
protected:
    void SetUp() override {
        ScriptedFrames::SetUp();
        now = 5000;
        run.clock.start();
    }
    // One scripted entry per poll, i.e. per frame; none once they run out.
    // Every frame moves the clock by 50 units (5 s).
    bool nextEvent(Event& e) override {
        now += 5000;
        if (script.empty()) return false;
        e = script.front();
        script.pop_front();
        return e.kind != EventKind::None;
    }

    std::deque<Event> script;
    std::unique_ptr<Show> show = std::make_unique<Show>();
    Timeline timeline{*show};
};

TEST_F(FrameTest, CloseRequestEndsTheShowAfterTheFrameThatTookTheQuitIsPresented) {
    Event close;
    close.kind = EventKind::Close;
    script = {Event{}, Event{}, close};
    const uint64_t presented = platform::presentedFrames();
    playTimeline(timeline, run);
    // Frame 3 takes the close request (posting the quit), frame 4 takes the quit.
    EXPECT_EQ(timeline.steps(), 4);
    EXPECT_EQ(platform::presentedFrames() - presented, 4u);
    EXPECT_TRUE(run.stopRequested);
}

TEST_F(FrameTest, EndLimitStopsTheShowAtThatShowTime) {
    run.endLimit = 500.0f;
    playTimeline(timeline, run);
    EXPECT_EQ(timeline.steps(), 10);  // drawn at 0, 50, ..., 450
    EXPECT_EQ(timeline.clock(), 450.0f);
}

TEST_F(FrameTest, WholeShowEndsAfterTheLastSection) {
    const uint64_t presented = platform::presentedFrames();
    playTimeline(timeline, run);
    EXPECT_EQ(timeline.steps(), 47);  // 0 to 2300 in steps of 50
    EXPECT_EQ(platform::presentedFrames() - presented, 47u);
    EXPECT_EQ(timeline.section(), kSectionCount);
}

// The --stats line from known present times: 98 intervals of 16 ms and two
// of 40 ms (frames that missed their slot), no music.
TEST(FrameStatsLine, SumsUpTheIntervals) {
    FrameStats stats(1000.0 / 60);
    FrameStats::Clock::time_point t{};
    stats.presented(t);
    for (int i = 1; i <= 100; ++i) {
        t += std::chrono::milliseconds(i == 50 || i == 80 ? 40 : 16);
        stats.presented(t);
    }
    EXPECT_EQ(stats.line(8, 8, 8, "-"),
              "stats: frames=101 fps=60.68 median_ms=16.00 p99_ms=40.00 dropped=2 colour_bits=8,8,8 av_ms=-");
}

}  // namespace
