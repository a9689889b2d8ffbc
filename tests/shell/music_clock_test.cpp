// The show clock following the soundtrack, on a scripted millisecond counter
// and a soundtrack whose heard position the test sets: one that plays slower
// than the wall clock in whole buffers ends within 20 ms of the music;
// the clock never runs backwards and jumps only past the large gap (music
// started ahead of it), waits for music that stands still, and goes on by
// the wall clock once the music reports no position.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "platform/platform.h"
#include "shell/show_clock.h"

namespace {

// A playing soundtrack whose position is whatever `heard` says.
class ScriptedMusic final : public platform::AudioBackend {
public:
    ScriptedMusic() { platform::setAudioBackend(this); }
    ~ScriptedMusic() override { platform::setAudioBackend(nullptr); }
    uint32_t getVersion() override { return platform::kAudioVersion; }
    bool init(int, int, uint32_t) override { return true; }
    bool start() override { return true; }
    void streamFree(uint32_t) override {}
    uint32_t streamCreateFile(const std::string&) override { return 1; }
    bool streamPlay(uint32_t) override { return true; }
    void free() override {}
    double position(uint32_t handle) override { return handle == 1 ? heard() : -1.0; }

    std::function<double()> heard;  // seconds into the soundtrack
};

class MusicClock : public ::testing::Test {
protected:
    void SetUp() override { platform::setClockSource([this] { return ms; }); }
    void TearDown() override { platform::setClockSource({}); }

    // Frames of `frameMs` (every 50th one 150 ms: a busy machine) until the
    // counter reaches `untilMs`. Checks that the clock never runs backwards;
    // counts the frames in which it moved further than the slew allows.
    void play(uint32_t untilMs, uint32_t frameMs = 17) {
        for (int frame = 0; ms < untilMs; ++frame) {
            const uint32_t step = frame % 50 == 49 ? 150 : frameMs;
            ms += step;
            const float before = clock.now();
            clock.update();
            ASSERT_GE(clock.now(), before) << "at " << ms << " ms";
            if (clock.now() - before > step * 0.01f * (1.0f + kMaxSlew) + 1e-3f) ++jumps;
        }
    }
    // How far the picture is ahead of the music, in ms.
    double leadMs() const { return (clock.now() / 10.0 - music.heard()) * 1000.0; }

    uint32_t ms = 5000;
    ScriptedMusic music;
    ShowClock clock;
    int jumps = 0;
};

// Heard position of music that started at `startMs` from `from` seconds and
// plays at `rate`, handed over in buffers of 2048 frames at 44.1 kHz.
double buffered(uint32_t now, uint32_t startMs, double from, double rate) {
    const double buffer = 2048.0 / 44100.0;
    const double played = std::max(static_cast<double>(now - startMs) / 1000.0 * rate, 0.0);
    return from + std::floor(played / buffer) * buffer;
}

TEST_F(MusicClock, MusicSlowerThanTheWallClockEndsWithinTwentyMilliseconds) {
    for (double rate : {0.97, 0.995, 1.0}) {
        SCOPED_TRACE(rate);
        ms = 5000;
        jumps = 0;
        const uint32_t startMs = ms;
        music.heard = [&, startMs, rate] { return buffered(ms, startMs, 0.0, rate); };
        clock.followMusic(1);
        clock.start();
        play(startMs + 231000);
        EXPECT_LT(std::fabs(leadMs()), 20.0);
        EXPECT_EQ(jumps, 0);
    }
}

TEST_F(MusicClock, JumpsOnlyToMusicThatIsFarAheadAndWaitsForMusicThatStands) {
    clock.followMusic(1);
    // A seek: the music was moved 500 ms before the clock started at 100 s.
    const uint32_t startMs = ms - 500;
    music.heard = [&, startMs] { return buffered(ms, startMs, 100.0, 1.0); };
    clock.start(1000.0f);
    play(ms + 1000);
    EXPECT_EQ(jumps, 1);
    EXPECT_LT(std::fabs(leadMs()), 20.0);

    // 150 ms ahead: inside the gap, caught up by the slew alone.
    const uint32_t aheadMs = ms - 150;
    const double at = clock.now() / 10.0;
    music.heard = [&, aheadMs, at] { return buffered(ms, aheadMs, at, 1.0); };
    jumps = 0;
    play(ms + 5000);
    EXPECT_EQ(jumps, 0);
    EXPECT_LT(std::fabs(leadMs()), 20.0);

    // The audio thread starved for a second: the music stands, so does the picture.
    const double stood = music.heard();
    music.heard = [stood] { return stood; };
    play(ms + 1000);
    EXPECT_LT(clock.now() / 10.0 - stood, kJumpGap / 10.0 + 0.02);
    const uint32_t resumeMs = ms;
    music.heard = [&, resumeMs, stood] { return buffered(ms, resumeMs, stood, 1.0); };
    jumps = 0;
    play(ms + 5000);
    EXPECT_EQ(jumps, 0);
    EXPECT_LT(std::fabs(leadMs()), 20.0);
}

TEST_F(MusicClock, WithoutAPositionTheWallClockGoesOnFromWhereTheClockIs) {
    const uint32_t startMs = ms;
    music.heard = [&, startMs] { return buffered(ms, startMs, 0.0, 0.9); };
    clock.followMusic(1);
    clock.start();
    play(ms + 10000);
    const float followed = clock.now();
    EXPECT_LT(followed, 95.0f);  // it followed the slow music
    music.heard = [] { return -1.0; };  // the music ended
    ms += 2000;
    clock.update();
    EXPECT_NEAR(clock.now(), followed + 20.0f, 0.02f);

    clock.followMusic(0);  // nothing followed: the plain wall clock
    music.heard = [] { return 1000.0; };
    ms += 1000;
    clock.update();
    EXPECT_NEAR(clock.now(), followed + 30.0f, 0.02f);
}

}  // namespace
