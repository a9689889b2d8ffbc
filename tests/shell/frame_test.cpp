// The frame skeleton on a real GL context with a scripted clock and scripted
// window events: Escape leaves a loop without presenting that frame while the
// next loop still runs to its own end; a close request ends the show after
// the frame that took the quit; --end bounds every loop; setProjection.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <vector>

#include "scripted_frames.h"

namespace {

using platform::Event;
using platform::EventKind;

class FrameTest : public ScriptedFrames {
protected:
    void SetUp() override {
        ScriptedFrames::SetUp();
        now = 5000;
        startClock();
    }
    // One scripted entry per poll, i.e. per frame; none once they run out.
    bool nextEvent(Event& e) override {
        if (script.empty()) return false;
        e = script.front();
        script.pop_front();
        return e.kind != EventKind::None;
    }

    // A loop whose every drawn frame moves the clock by one unit (100 ms).
    SceneLoop loop(float end, std::vector<float>& drawnAt) {
        SceneLoop l;
        l.endTime = end;
        l.draw = [this, &drawnAt](float c) {
            drawnAt.push_back(c);
            now += 100;
        };
        return l;
    }

    std::deque<Event> script;
};

TEST_F(FrameTest, EscapeFrameIsNotPresentedAndTheNextLoopRunsToItsOwnEnd) {
    // Escape goes down in the fourth frame and up in the fifth.
    script = {Event{}, Event{}, Event{}, key(EventKind::KeyDown), key(EventKind::KeyUp)};
    std::vector<float> first, second;
    int afterClock = 0, afterSwap = 0;
    SceneLoop a = loop(100.0f, first);
    a.afterClock = [&] { ++afterClock; };
    a.afterSwap = [&] { ++afterSwap; };

    const uint64_t presented = platform::presentedFrames();
    runSceneLoop(a);
    EXPECT_EQ(first, (std::vector<float>{0, 1, 2, 3}));  // drawn with the previous frame's clock
    EXPECT_EQ(afterClock, 4);
    EXPECT_EQ(afterSwap, 3);
    EXPECT_EQ(platform::presentedFrames() - presented, 3u);
    EXPECT_FLOAT_EQ(demoClock, 4.0f);

    runSceneLoop(loop(8.0f, second));
    EXPECT_EQ(second, (std::vector<float>{4, 5, 6, 7}));
    EXPECT_EQ(platform::presentedFrames() - presented, 7u);
    EXPECT_FLOAT_EQ(demoClock, 8.0f);
    EXPECT_FALSE(quitRequested);
}

TEST_F(FrameTest, HeldEscapeLeavesEachLoopAfterOneUnpresentedFrame) {
    script = {key(EventKind::KeyDown)};
    std::vector<float> drawn;
    const uint64_t presented = platform::presentedFrames();
    for (float end : {50.0f, 60.0f, 70.0f}) runSceneLoop(loop(end, drawn));
    EXPECT_EQ(drawn, (std::vector<float>{0, 1, 2}));
    EXPECT_EQ(platform::presentedFrames(), presented);
}

TEST_F(FrameTest, CloseRequestEndsTheShowAfterTheFrameThatTookTheQuitIsPresented) {
    Event close;
    close.kind = EventKind::Close;
    script = {Event{}, Event{}, close};
    std::vector<float> first, second;
    const uint64_t presented = platform::presentedFrames();
    runSceneLoop(loop(100.0f, first));
    // Frame 3 takes the close request (posting the quit), frame 4 takes the quit.
    EXPECT_EQ(first.size(), 4u);
    EXPECT_EQ(platform::presentedFrames() - presented, 4u);
    EXPECT_TRUE(quitRequested);
    runSceneLoop(loop(200.0f, second));
    EXPECT_TRUE(second.empty());
}

TEST_F(FrameTest, EndLimitStopsEveryLoopAtThatShowTime) {
    showEndLimit = 3.0f;
    std::vector<float> first, second;
    runSceneLoop(loop(100.0f, first));
    runSceneLoop(loop(200.0f, second));
    EXPECT_EQ(first, (std::vector<float>{0, 1, 2}));
    EXPECT_TRUE(second.empty());
}

TEST_F(FrameTest, ProjectionUsesTheChosenModeNotTheWindow) {
    screenWidth = 640;
    screenHeight = 480;
    setProjection(65);
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double f = 1.0 / std::tan(65.0 * M_PI / 360.0);
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[0], f / (640.0 / 480.0), 1e-5);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    screenWidth = 800;
    screenHeight = 600;
}

}  // namespace
