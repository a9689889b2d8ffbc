// The show clock's arithmetic (unsigned difference read as signed 32 bits,
// x 0.01, across the 2^32 wrap) and the soundtrack's calls and failure paths
// through a recording audio backend.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/recorders.h"
#include "shell/music.h"
#include "shell/show_clock.h"

namespace {

TEST(ShowClock, TenthsOfASecondFromTheUnsignedDifferenceReadAsSignedThroughTheWrap) {
    EXPECT_FLOAT_EQ(showTimeAt(1500, 1000), 5.0f);
    EXPECT_FLOAT_EQ(showTimeAt(0x00000100u, 0xFFFFFF00u), 5.12f);  // across the wrap
    EXPECT_FLOAT_EQ(showTimeAt(1000, 1500), -5.0f);               // counter behind the base
    EXPECT_FLOAT_EQ(showTimeAt(231000u + 7u, 7u), 2310.0f);
    EXPECT_FLOAT_EQ(showTimeAt(0x80000000u, 0u), -21474836.48f);  // half the range reads negative

    uint32_t now = 0xFFFFFFF0u;
    platform::setClockSource([&] { return now; });
    ShowClock clock;
    clock.start();
    EXPECT_EQ(clock.base(), 0xFFFFFFF0u);
    EXPECT_EQ(clock.now(), 0.0f);
    now = 0x10u;
    clock.update();
    EXPECT_FLOAT_EQ(clock.now(), 0.32f);
    now += 100000;
    clock.update();
    EXPECT_FLOAT_EQ(clock.now(), 1000.32f);
    platform::setClockSource({});
}

class MusicTest : public ::testing::Test {
protected:
    // Starts the soundtrack with its records shown as the show shows them.
    bool start() {
        Diagnostics found;
        const bool ok = music.start(0.0, found);
        EXPECT_EQ(stopsShow(found), !ok);
        showDiagnostics(found);
        return ok;
    }

    Soundtrack music;
    AudioRecorder audio;
    BoxRecorder boxes;
};

TEST_F(MusicTest, StartsTheStreamWithTheFixedCallsAndStopsIt) {
    ASSERT_TRUE(start());
    const std::vector<std::string> expected = {
        "getVersion", "init -1 44100 0", "start", "streamFree 0",
        "streamCreateFile data/music/drabelfinal.mp3", "streamPlay 7"};
    EXPECT_EQ(audio.calls, expected);
    EXPECT_EQ(music.stream, 7u);
    EXPECT_TRUE(boxes.boxes.empty());
    audio.calls.clear();
    music.stop();
    EXPECT_EQ(audio.calls, (std::vector<std::string>{"streamFree 7", "free"}));
}

TEST_F(MusicTest, WrongLibraryVersionIsReportedBeforeAnyOtherCall) {
    audio.version = 0x00020000;
    EXPECT_FALSE(start());
    EXPECT_EQ(audio.calls, std::vector<std::string>{"getVersion"});
    EXPECT_EQ(boxes.boxes, (std::vector<RecordedBox>{{"[error] Could not load bass.dll", "multimedia error",
                                                       platform::Icon::None, platform::Buttons::Ok}}));
}

TEST_F(MusicTest, FailedInitAndFailedPlayReleaseTheLibrary) {
    struct Case {
        bool failInit, failCreate;
        const char* text;
        const char* lastCalls[2];
    };
    const Case cases[] = {
        {true, false, "[error] Can't initialize BASS Sound System", {"init -1 44100 0", "free"}},
        {false, true, "[error] Can't play stream", {"streamPlay 0", "free"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        audio.calls.clear();
        boxes.boxes.clear();
        audio.failInit = c.failInit;
        audio.failCreate = c.failCreate;
        EXPECT_FALSE(start());
        EXPECT_EQ(boxes.boxes, (std::vector<RecordedBox>{{c.text, "BASS ERROR", platform::Icon::None, platform::Buttons::Ok}}));
        ASSERT_GE(audio.calls.size(), 2u);
        EXPECT_EQ(audio.calls[audio.calls.size() - 2], c.lastCalls[0]);
        EXPECT_EQ(audio.calls.back(), c.lastCalls[1]);
    }
}

}  // namespace
