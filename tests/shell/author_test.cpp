// The authoring mode on SDL's offscreen driver with a private copy of the
// generated show, a scripted millisecond clock, real key and mouse events
// pushed into SDL's queue and a soundtrack backend that records what it is
// told: the keys (pause holds clock and music, seeks, section jumps, Home),
// seeks, frame steps, slow speeds and loops that land on the frame a freshly
// loaded show stepped there draws, the 60-a-second pacing, a click and a drag
// on the timeline bar, the free camera and its path, a changed script loaded
// again at the same show time, and broken files shown as problems, their
// text drawn over the picture, until they are fixed.

#include "platform/gl.h"
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "platform/recorders.h"
#include "scene/scene_script.h"
#include "shell/app.h"
#include "render/text.h"
#include "shell/author.h"
#include "shell/author_overlay.h"
#include "shell/frame.h"
#include "shell/startup.h"
#include "shell/timeline_bar.h"
#include "shell/timeline.h"
#include "tools/temp_show_folder.h"
#include "window/gl_window.h"

namespace {

// The clock value of the live step's frame at or after `time`.
float liveFrame(float time) { return steppedClock(0.0, firstFrameAt(time, kStepRate), kStepRate); }

class AuthorTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setClockSource([this] { return now; });
        openSession(options());
    }
    static CommandLine options(int width = 160, int height = 120) {
        CommandLine line;
        line.width = width;
        line.height = height;
        line.bits = 32;
        return line;
    }
    void openSession(const CommandLine& line) {
        session.reset();
        session = std::make_unique<AuthorSession>(line);
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
        const int w = glWindow.drawableWidth, h = glWindow.drawableHeight;
        std::vector<uint8_t> rgb(static_cast<size_t>(w * h * 3));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }
    // The session's picture against a fresh show's at the same time (the
    // overlay hidden for the comparison and shown again).
    void expectFreshFrame(const char* what) {
        press("H");
        const std::vector<uint8_t> shown = pixels();
        Timeline* run = nullptr;
        EXPECT_TRUE(shown == frameOfAFreshShow(session->showTime(), run))
            << what << ": frame at clock " << session->showTime() << " differs from a fresh show's";
        press("H");
    }
    // A fresh load stepped to `time` at the live step, and the frame it draws
    // there (the stepping itself is held by the capture's exact-seek test).
    std::vector<uint8_t> frameOfAFreshShow(float time, Timeline*& timeline) {
        reference = std::make_unique<Show>();
        resetLightCounter();
        Diagnostics found;
        loadShowScenes(*reference, found);
        EXPECT_TRUE(found.empty());
        referenceTimeline = std::make_unique<Timeline>(*reference);
        timeline = referenceTimeline.get();
        startShowState(*reference, *timeline);
        seekTimeline(*timeline, time, kStepRate);
        EXPECT_TRUE(timeline->playing(time));
        stepTo(*timeline, time);
        timeline->drawAt(time);
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
        const char* recordFile;  // the file its first record names
        const char* lineStart;   // how the line it quotes starts
    };
    const Breakage breakages[] = {
        {"truncated mesh", folder.firstMeshOf("data/script/scene4.dat"), "MM\x01", "multimedia error",
         "data\\script\\scene4.dat", "FILENAME="},
        {"picture missing from the list", "data/script/texture.dat", "data\\textures\\gone.bmp\n",
         "Unable to open data\\textures\\gone.bmp", "data\\script\\texture.dat", "data\\textures\\gone.bmp"},
        {"script with a stray line", "data/script/scene6.dat", "CAMERA POSITION 1 2 3\nEOF\n", "line 1",
         "data\\script\\scene6.dat", "CAMERA POSITION 1 2 3"},
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
        ASSERT_FALSE(session->diagnostics().empty());
        const Diagnostic& record = session->diagnostics().front();
        EXPECT_EQ(record.file, breakage.recordFile);
        EXPECT_GT(record.line, 0);
        EXPECT_EQ(record.lineText.rfind(breakage.lineStart, 0), 0u) << record.lineText;
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

namespace {

TEST_F(AuthorTest, PlaysSixtyFramesASecondAtEachSpeedAndStepsFrames) {
    press("PageDown");
    const int64_t start = session->frameNumber();
    // 1 s of wall clock in uneven slices: 60 frames of the live step, each one.
    for (uint32_t ms : {7u, 9u, 30u, 16u, 1u, 20u}) play(1, ms);
    play(917 / 16, 16);
    play(1, 1000 - 83 - (917 / 16) * 16);
    EXPECT_EQ(session->frameNumber(), start + 60);
    EXPECT_FALSE(audio.paused);

    struct Speed {
        const char* key;
        int divisor;
    };
    for (const Speed speed : {Speed{"2", 2}, Speed{"4", 4}, Speed{"8", 8}, Speed{"1", 1}}) {
        SCOPED_TRACE(speed.key);
        press(speed.key);
        ASSERT_EQ(session->speedDivisor(), speed.divisor);
        EXPECT_EQ(audio.paused, speed.divisor != 1) << "the music plays at full speed only";
        const int64_t from = session->frameNumber();
        play(40, 20);  // 0.8 s
        EXPECT_EQ(session->frameNumber(), from + 48 / speed.divisor);
        expectFreshFrame(speed.key);
    }

    press("Space");
    const int64_t held = session->frameNumber();
    for (const char* key : {".", ".", ".", ","}) press(key);
    EXPECT_EQ(session->frameNumber(), held + 2);
    EXPECT_TRUE(session->paused());
    expectFreshFrame("frame step");
    press("Space");
    press(",");  // playing: pauses and steps back
    EXPECT_TRUE(session->paused());
    EXPECT_FLOAT_EQ(static_cast<float>(audio.position), session->showTime() / 10.0f);
    expectFreshFrame("frame step back");
}

TEST_F(AuthorTest, LoopsTheRangeSetByKeysOrTheCommandLine) {
    press("PageDown");
    press("Right");
    press("I");
    const float in = session->showTime();
    press("Right");
    press("O");
    const float out = session->showTime();
    ASSERT_TRUE(session->looping());
    EXPECT_EQ(session->loopStart(), in);
    EXPECT_EQ(session->loopEnd(), out);
    EXPECT_NE(session->statusLines().back().find("loop 21.5-22.5 s"), std::string::npos);

    press("Home");
    EXPECT_EQ(session->showTime(), in);
    play(30, 50);  // 1.5 s: round the loop once
    EXPECT_GE(session->showTime(), in);
    EXPECT_LT(session->showTime(), out);
    EXPECT_EQ(session->frameNumber(), firstFrameAt(in, kStepRate) + 30);
    EXPECT_FLOAT_EQ(static_cast<float>(audio.position), liveFrame(in) / 10.0f) << "the music went back with it";
    expectFreshFrame("after the wrap");

    press("U");
    EXPECT_FALSE(session->looping());
    play(30, 50);
    EXPECT_GT(session->showTime(), out);
    press("Home");
    EXPECT_EQ(session->showTime(), 0.0f);
    press("I");
    play(30, 50);
    press("O");  // while playing: the next frame is the loop's first
    const float end = session->loopEnd();
    play(3, 50);
    EXPECT_LT(session->showTime(), end);
    EXPECT_EQ(session->frameNumber(), 9) << "back to 0 in the frame that took O, then 150 ms";

    CommandLine line = options();
    line.startSeconds = 85.0;
    line.endSeconds = 88.0;
    openSession(line);
    EXPECT_TRUE(session->looping());
    EXPECT_EQ(session->showTime(), liveFrame(850.0f));
    play(200, 20);  // 4 s
    EXPECT_FALSE(session->paused()) << "the end of the range is no pause";
    // Play starts with the first frame drawn (20 ms in), wraps after the
    // range's 3 s and runs on for the rest.
    EXPECT_EQ(session->frameNumber(), firstFrameAt(850.0f, kStepRate) + (200 * 20 - 20 - 3000) * 60 / 1000);
}

TEST_F(AuthorTest, ClickAndDragOnTheBarSeek) {
    press("Space");
    const BarLayout bar = barLayout(160, 120);
    const int y = bar.y + bar.height / 2;
    const int x = bar.x + bar.width * 3 / 4;
    ASSERT_TRUE(platform::injectMouseButton(x, y, 1, true));
    play(1);
    EXPECT_EQ(session->showTime(), liveFrame(timeAtX(bar, x)));
    ASSERT_TRUE(platform::injectMouseMove(x - 40, y - 30, true));  // dragging off the bar still scrubs
    play(1);
    EXPECT_EQ(session->showTime(), liveFrame(timeAtX(bar, x - 40)));
    ASSERT_TRUE(platform::injectMouseButton(x - 40, y - 30, 1, false));
    ASSERT_TRUE(platform::injectMouseMove(x, y, false));
    play(1);
    EXPECT_EQ(session->showTime(), liveFrame(timeAtX(bar, x - 40))) << "moving without the button does not seek";
    expectFreshFrame("after the drag");

    ASSERT_TRUE(platform::injectMouseButton(x, bar.y - 20, 1, true));  // above the bar
    ASSERT_TRUE(platform::injectMouseButton(x, bar.y - 20, 1, false));
    play(1);
    EXPECT_EQ(session->showTime(), liveFrame(timeAtX(bar, x - 40)));
}

TEST_F(AuthorTest, CameraPathIsWhereTheTimelinePutsTheCameraAndTheFreeCameraLeavesTheShowAlone) {
    // The title's camera is closed-form: (30, 0.16c - 7, 0.1c - 10).
    press("Space");
    press("C");
    ASSERT_TRUE(session->freeCamera());
    const std::vector<Vec3>& title = session->cameraPathShown();
    ASSERT_EQ(title.size(), static_cast<size_t>(firstFrameAt(sectionStart(1), kStepRate)));
    for (size_t n = 0; n < title.size(); n += 97) {
        const double c = steppedClock(0.0, static_cast<int64_t>(n), kStepRate);
        EXPECT_FLOAT_EQ(title[n].x, 30.0f);
        EXPECT_FLOAT_EQ(title[n].y, static_cast<float>(0.16 * c - 7.0)) << n;
        EXPECT_FLOAT_EQ(title[n].z, static_cast<float>(0.1 * c - 10.0)) << n;
    }
    press("C");
    EXPECT_TRUE(session->cameraPathShown().empty());

    // The orbit's camera is written after each frame from its clock, so the
    // first point is the script's camera and the next the first frame's.
    for (int i = 0; i < 4; ++i) press("PageDown");
    ASSERT_EQ(sectionAt(session->showTime()), 4u);
    const Vec3 scripted = session->loadedShow()->scene6.cameraPosition;
    press("C");
    const std::vector<Vec3>& orbit = session->cameraPathShown();
    const int64_t first = firstFrameAt(sectionStart(4), kStepRate);
    ASSERT_EQ(orbit.size(), static_cast<size_t>(firstFrameAt(sectionStart(5), kStepRate) - first));
    EXPECT_EQ(orbit[0].x, scripted.x);
    EXPECT_EQ(orbit[0].z, scripted.z);
    const double c0 = steppedClock(0.0, first, kStepRate);
    EXPECT_FLOAT_EQ(orbit[1].x, static_cast<float>(7.0 * std::cos(0.12 * c0)));
    EXPECT_FLOAT_EQ(orbit[1].z, static_cast<float>(7.0 * std::sin(0.12 * c0)));

    // The free view differs from the show's; moving it changes it again; the
    // show's own frame comes back unchanged.
    press("H");
    const std::vector<uint8_t> outside = pixels();
    ASSERT_TRUE(platform::injectKey("W", true));
    play(10, 50);
    ASSERT_TRUE(platform::injectKey("W", false));
    play(1);
    EXPECT_FALSE(pixels() == outside) << "W moved nothing";
    press("C");
    Timeline* run = nullptr;
    EXPECT_FALSE(outside == frameOfAFreshShow(session->showTime(), run));
    press("H");
    expectFreshFrame("back at the show's camera");
}

TEST_F(AuthorTest, ProblemTextIsDrawnOverThePicture) {
    openSession(options(640, 480));
    const std::string name = "data\\textures\\gone.bmp";
    folder.write("data/script/texture.dat", name + "\n");
    session->watchFiles();
    play(1);
    const std::string& problem = session->problem();
    ASSERT_NE(problem.find(name), std::string::npos) << problem;

    // Find the name in the wrapped lines and look at each of its glyphs.
    const std::vector<std::string> lines = wrappedLines(problem, (640 - 16) / kGlyphWidth);
    size_t row = 0, column = std::string::npos;
    for (; row < lines.size() && column == std::string::npos; ++row) column = lines[row].find(name);
    ASSERT_NE(column, std::string::npos) << "the name was wrapped";
    --row;
    const std::vector<uint8_t> rgb = pixels();
    const int top = problemTop(1) + static_cast<int>(row) * kOverlayLineHeight;
    int lit = 0, wrong = 0;
    for (size_t k = 0; k < name.size(); ++k) {
        const uint8_t* glyph = glyphRows(name[k]);
        const int left = kOverlayLeft + static_cast<int>(column + k) * kGlyphWidth;
        for (int gy = 0; gy < kGlyphHeight; ++gy)
            for (int gx = 0; gx < kGlyphWidth; ++gx) {
                const int y = 479 - (top + gy);
                const uint8_t green = rgb[static_cast<size_t>((y * 640 + left + gx) * 3 + 1)];
                const bool on = glyph[gy] >> (kGlyphWidth - 1 - gx) & 1;
                lit += on;
                wrong += on ? green < 150 : green > 60;
            }
    }
    EXPECT_GT(lit, 100);
    EXPECT_EQ(wrong, 0) << "pixels of \"" << name << "\" not where the font puts them";
}

}  // namespace
