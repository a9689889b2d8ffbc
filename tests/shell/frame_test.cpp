// The frame skeleton on a real GL context with a scripted clock and scripted
// window events, playing the whole timeline of an empty show: a close request
// ends the show after the frame that took the quit, Escape leaves a section
// (held, each one after a frame), the last section ends it; and the --stats
// line. --end is held by the captures in tools/capture_test, the projection
// by the golden frames.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>

#include "platform/platform.h"
#include "shell/frame.h"
#include "shell/frame_stats.h"
#include "shell/startup.h"
#include "shell/timeline.h"
#include "support/gl_context.h"
#include "window/gl_window.h"

namespace {

using platform::Event;
using platform::EventKind;

// `onFrame` is asked once a frame, with the clock the frame starts at, for
// the event that frame polls; every frame moves the clock `stepMs` on.
class TimelineRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        glWindow.keyDown.fill(0);
        platform::setClockSource([this] { return now; });
        platform::setEventSource([this](Event& e) {
            ++frames;
            e = onFrame ? onFrame(run.clock.now()) : Event{};
            now += stepMs;
            return e.kind != EventKind::None;
        });
        startShowState(*show, timeline);
        run.clock.start();
    }
    void TearDown() override {
        platform::setClockSource({});
        platform::setEventSource({});
        glWindow.keyDown.fill(0);
    }

    static Event escape(EventKind kind) {
        Event e;
        e.kind = kind;
        e.key = VK_ESCAPE_CODE;
        return e;
    }
    static bool anyAlive(const ParticleSystem& system) {
        return std::any_of(system.particles.begin(), system.particles.end(), [](const Particle& p) { return p.alive; });
    }

    TestGlContext gl{64, 48};
    ShowRun run;
    uint32_t now = 0, stepMs = 500;
    int frames = 0;
    std::unique_ptr<Show> show = std::make_unique<Show>();
    Timeline timeline{*show};
    const TimelineState& st = timeline.state();
    std::function<Event(float)> onFrame;
};

}  // namespace

TEST_F(TimelineRun, CloseRequestEndsTheShowAfterTheFrameThatTookTheQuitIsPresented) {
    onFrame = [&](float) {
        Event e;
        if (frames == 3) e.kind = EventKind::Close;
        return e;
    };
    const uint64_t presented = platform::presentedFrames();
    playTimeline(timeline, run);
    // Frame 3 takes the close request (posting the quit), frame 4 takes the quit.
    EXPECT_EQ(timeline.steps(), 4);
    EXPECT_EQ(platform::presentedFrames() - presented, 4u);
    EXPECT_TRUE(run.stopRequested);
}

TEST_F(TimelineRun, WholeShowEndsAfterTheLastSection) {
    stepMs = 5000;
    const uint64_t presented = platform::presentedFrames();
    playTimeline(timeline, run);
    EXPECT_EQ(timeline.steps(), 47);  // 0 to 2300 in steps of 50
    EXPECT_EQ(platform::presentedFrames() - presented, 47u);
    EXPECT_EQ(timeline.section(), kSectionCount);
}

TEST_F(TimelineRun, EscapeInTheFlightStartsTheSparksEarlyWithTheirOwnStart) {
    float escapeAt = -1.0f, sparksFrom = -1.0f;
    int32_t sparksStart = -1, sparksStartLate = -1;
    float sparksFlash = -9.0f;
    onFrame = [&](float c) {
        if (c >= 600.0f && escapeAt < 0.0f) {  // in the flight, before 763
            escapeAt = c;
            return escape(EventKind::KeyDown);
        }
        if (escapeAt >= 0.0f && sparksFrom < 0.0f) {  // first frame of the sparks
            sparksFrom = c;
            return escape(EventKind::KeyUp);
        }
        if (sparksFrom >= 0.0f && sparksStart < 0) {  // after that first frame
            sparksStart = st.sceneStart;
            sparksFlash = st.flashAlpha;
        }
        if (c >= 1020.0f && c < 1028.0f) sparksStartLate = st.sceneStart;
        return Event{};
    };
    playTimeline(timeline, run);

    ASSERT_GE(escapeAt, 600.0f);
    EXPECT_EQ(sparksFrom, escapeAt + 5.0f);  // the escaped frame still moved the clock
    EXPECT_EQ(sparksStart, static_cast<int32_t>(sparksFrom));
    EXPECT_FLOAT_EQ(sparksFlash, static_cast<float>(1 - (static_cast<double>(sparksFrom) - sparksStart) * 0.1));
    // The sparks still run to their own end, 1028.
    EXPECT_EQ(sparksStartLate, sparksStart);
    EXPECT_GE(run.clock.now(), 2310.0f);
    EXPECT_TRUE(anyAlive(show->sparkSystem));
    EXPECT_TRUE(anyAlive(show->fountainSystem));

    // The show leaves the additive blend function behind.
    GLint blend[2] = {};
    glGetIntegerv(GL_BLEND_SRC, &blend[0]);
    glGetIntegerv(GL_BLEND_DST, &blend[1]);
    EXPECT_TRUE(blend[0] == GL_SRC_ALPHA && blend[1] == GL_ONE) << blend[0] << " " << blend[1];
}

TEST_F(TimelineRun, HeldEscapeLeavesEachSectionAfterOneFrame) {
    onFrame = [&](float) { return escape(EventKind::KeyDown); };
    playTimeline(timeline, run);
    EXPECT_EQ(frames, 9);
    // The title, fountain and ending count before the Escape test, the
    // sparks and stars before drawing, the magnets only after a swap that
    // never came.
    EXPECT_EQ(timeline.frameCounter(), 5);
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
