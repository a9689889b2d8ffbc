// The authoring mode on SDL's offscreen driver with a private copy of the
// generated show, a scripted millisecond clock, real key events pushed into
// SDL's queue and a soundtrack backend that records what it is told: the
// keys (pause holds clock and music, seeks, section jumps, Home), seeks that
// land on the frame a freshly loaded show stepped there draws, a changed
// script loaded again at the same show time, and broken files shown as
// problems until they are fixed.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/platform.h"
#include "platform/recorders.h"
#include "scene/scene_script.h"
#include "shell/app.h"
#include "shell/author.h"
#include "shell/frame.h"
#include "shell/timeline.h"
#include "tools/temp_show_folder.h"
#include "window/gl_window.h"

namespace {

// The clock value of the live step's frame at or after `time`.
float liveFrame(float time) { return steppedClock(0.0, firstFrameAt(time, kLiveFps), kLiveFps); }

class AuthorTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setClockSource([this] { return now; });
        CommandLine options;
        options.width = 160;
        options.height = 120;
        options.bits = 32;
        session = std::make_unique<AuthorSession>(options);
        ASSERT_TRUE(session->open());
        ASSERT_EQ(session->problem(), "");
    }
    void TearDown() override {
        session.reset();
        platform::setClockSource({});
        glWindow.keyDown.fill(0);
    }

    // Frames `ms` milliseconds apart.
    void play(int frames, uint32_t ms = 16) {
        for (int i = 0; i < frames; ++i) {
            now += ms;
            session->frame();
        }
    }
    // A key pressed and let go, then one frame to take it.
    void press(const char* key, bool shift = false) {
        if (shift) {
            ASSERT_TRUE(platform::injectKey("Left Shift", true));
        }
        ASSERT_TRUE(platform::injectKey(key, true));
        ASSERT_TRUE(platform::injectKey(key, false));
        if (shift) {
            ASSERT_TRUE(platform::injectKey("Left Shift", false));
        }
        play(1);
    }
    std::vector<uint8_t> pixels() const {
        std::vector<uint8_t> rgb(160 * 120 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 160, 120, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }
    // A fresh load stepped to `time` at the live step, and the frame it draws
    // there (the stepping itself is held by the capture's exact-seek test).
    std::vector<uint8_t> frameOfAFreshShow(float time, Timeline*& timeline) {
        reference = std::make_unique<Show>();
        resetLightCounter();
        loadShowScenes(*reference);
        referenceTimeline = std::make_unique<Timeline>(*reference);
        timeline = referenceTimeline.get();
        startShowState(*reference, *timeline);
        seekTimeline(*timeline, time, 0.0, kLiveFps);
        EXPECT_TRUE(timeline->enter(time));
        timeline->step(time);
        glClear(GL_COLOR_BUFFER_BIT);
        timeline->draw();
        timeline->finish(true);
        return pixels();
    }

    TempShowFolder folder;
    AudioRecorder audio;
    uint32_t now = 1000;
    std::unique_ptr<AuthorSession> session;
    std::unique_ptr<Show> reference;
    std::unique_ptr<Timeline> referenceTimeline;
};

TEST_F(AuthorTest, KeysPauseSeekJumpSectionsAndRestart) {
    play(10);
    const float playing = session->showTime();
    EXPECT_GT(playing, 0.0f);
    EXPECT_NE(session->title().find("section 1/9 title"), std::string::npos) << session->title();

    press("Space");
    ASSERT_TRUE(session->paused());
    EXPECT_TRUE(audio.paused);
    const float held = session->showTime();
    play(30, 100);  // three seconds of wall clock
    EXPECT_EQ(session->showTime(), held);
    EXPECT_NE(session->title().find("paused"), std::string::npos);

    struct Move {
        const char* key;
        bool shift;
        float expected;  // from the frame on screen before the key
        bool relative;
    };
    const Move moves[] = {
        {"Right", false, 10.0f, true},   {"Right", true, 100.0f, true},  {"Left", false, -10.0f, true},
        {"PageDown", false, sectionStart(1), false}, {"PageDown", false, sectionStart(2), false},
        {"PageUp", false, sectionStart(1), false},   {"Right", true, sectionStart(1) + 100.0f, false},
        {"PageUp", false, sectionStart(1), false},   {"Home", false, 0.0f, false},
        {"Left", false, 0.0f, false},
    };
    for (const Move& move : moves) {
        const float before = session->showTime();
        press(move.key, move.shift);
        const float want = liveFrame(move.relative ? before + move.expected : move.expected);
        EXPECT_EQ(session->showTime(), want) << move.key << (move.shift ? " with Shift" : "") << " from " << before;
        EXPECT_FLOAT_EQ(static_cast<float>(audio.position), want / 10.0f) << move.key;
        EXPECT_TRUE(session->paused());
    }

    press("PageDown");
    press("Space");  // play on from the start of section 2
    EXPECT_FALSE(audio.paused);
    play(5, 100);
    EXPECT_GT(session->showTime(), sectionStart(1));
    EXPECT_NE(session->title().find("section 2/9 credits"), std::string::npos) << session->title();

    press("Escape");
    EXPECT_TRUE(session->finished());
}

TEST_F(AuthorTest, SeekLandsOnTheFrameAFreshShowDraws) {
    play(20);
    press("Space");
    press("H");  // the show's picture alone
    // Every section start (PageDown from the one before) and one second
    // after two of them, each reached after playing elsewhere first.
    for (size_t i = 1; i < kSectionCount; ++i) {
        const bool further = i == 3 || i == 5;
        press("PageDown");
        if (further) press("Right");
        const float time = liveFrame(sectionStart(i) + (further ? 10.0f : 0.0f));
        ASSERT_EQ(session->showTime(), time) << "section " << i + 1;
        const std::vector<uint8_t> shown = pixels();
        const TimelineState seen = session->timeline()->state();
        const int64_t steps = session->timeline()->steps();
        const int32_t counter = session->timeline()->frameCounter();
        const uint32_t random = session->timeline()->random().state;

        Timeline* run = nullptr;
        const std::vector<uint8_t> expected = frameOfAFreshShow(time, run);
        EXPECT_TRUE(shown == expected) << "frame at clock " << time << " differs from a fresh show's";
        EXPECT_EQ(steps, run->steps()) << time;
        EXPECT_EQ(counter, run->frameCounter()) << time;
        EXPECT_EQ(random, run->random().state) << time;
        EXPECT_EQ(seen.flashAlpha, run->state().flashAlpha) << time;
        EXPECT_EQ(seen.sceneStart, run->state().sceneStart) << time;
        if (further) press("Left");  // back to the start, so PageDown goes on to the next one
    }
}

TEST_F(AuthorTest, ChangedScriptIsLoadedAgainAtTheSameShowTime) {
    press("PageDown");
    press("PageDown");  // the flight: scene11
    press("Space");
    const float time = session->showTime();
    ASSERT_EQ(time, liveFrame(sectionStart(2)));
    ASSERT_NE(session->show()->scene11.clearColor[0], 1.0f);
    auto lastLight = [this] {
        const auto& lights = session->show()->scene8.omniLights;
        return lights.empty() ? -1 : lights.back().lightNumber;
    };
    const int32_t firstLoad = lastLight();

    folder.appendLineBeforeEof("data/script/scene11.dat", "CLEAR_COLOR=1,0,0,1");
    play(40);  // more than the half second between looks at the folder
    ASSERT_EQ(session->problem(), "");
    ASSERT_NE(session->show(), nullptr);
    EXPECT_EQ(session->show()->scene11.clearColor[0], 1.0f);
    // The lights are numbered as in the first load (GL has eight).
    EXPECT_EQ(lastLight(), firstLoad);
    EXPECT_EQ(session->showTime(), time);
    EXPECT_TRUE(session->paused());
}

TEST_F(AuthorTest, BrokenFileIsShownUntilItIsFixedThenPlayGoesOn) {
    struct Breakage {
        const char* name;
        std::string file;     // data path
        std::string content;  // what it is made to hold
        const char* message;  // a piece of the problem
    };
    const Breakage breakages[] = {
        {"truncated mesh", folder.firstMeshOf("data/script/scene4.dat"), "MM\x01", "multimedia error"},
        {"picture missing from the list", "data/script/texture.dat", "data\\textures\\gone.bmp\n",
         "Unable to open data\\textures\\gone.bmp"},
        {"script with a stray line", "data/script/scene6.dat", "CAMERA POSITION 1 2 3\nEOF\n", "line 1"},
    };
    press("PageDown");
    press("Right");
    const float time = session->showTime();
    for (const Breakage& breakage : breakages) {
        SCOPED_TRACE(breakage.name);
        const std::string good = folder.read(breakage.file);
        folder.write(breakage.file, breakage.content);
        session->watchFiles();
        EXPECT_NE(session->problem().find(breakage.message), std::string::npos) << session->problem();
        EXPECT_EQ(session->show(), nullptr);
        play(3);
        EXPECT_NE(session->title().find("problem: "), std::string::npos) << session->title();
        EXPECT_FALSE(session->finished());

        folder.write(breakage.file, good);
        session->watchFiles();
        EXPECT_EQ(session->problem(), "");
        ASSERT_NE(session->show(), nullptr);
        play(1, 0);  // the clock has not moved: the frame at the same time
        EXPECT_EQ(session->showTime(), time);
    }
}

}  // namespace
