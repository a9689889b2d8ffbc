// The whole start-up, a short show and the shutdown, in-process on SDL's
// offscreen driver with a generated texture list: a silent run makes no
// audio call and ends with status 0; a missing soundtrack ends with "Can't play stream" and status 1; a missing
// texture list ends with "Initialization Failed.".

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/recorders.h"
#include "shell/app.h"
#include "shell/frame.h"
#include "shell/music.h"
#include "shell/startup.h"
#include "shell/timeline.h"
#include "support/scratch_folder.h"
#include "window/gl_window.h"
#include "writers/bmp_writer.h"

namespace fs = std::filesystem;

namespace {

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root_ / "data" / "script");
        glWindow.keyDown.fill(0);
    }
    void TearDown() override {
        if (platform::windowExists()) closeGlWindow();
    }

    void writeTextures() {
        const bmpw::RgbPicture grey{4, 4, std::vector<uint8_t>(48, 0x80)};
        ASSERT_TRUE(bmpw::saveFile((root_ / "data" / "tiny.bmp").string(),
                                   bmpw::writeBmp(grey, bmpw::BmpOptions{})));
        std::ofstream list(root_ / "data" / "script" / "texture.dat", std::ios::binary);
        for (int i = 0; i < 36; ++i) list << "data\\tiny.bmp\n";
    }

    static CommandLine quickRun(bool music) {
        CommandLine c = parseCommandLine({"--no-dialog", "--windowed", "--end", "0.5"});
        c.music = music;
        return c;
    }

    ScratchFolder folder_{"orbelune-app-"};
    const fs::path root_ = folder_.root();
    WorkingDirectory cwd_{root_};
    BoxRecorder boxes;
};

TEST_F(AppTest, SilentShortShowMakesNoAudioCallAndEndsWithZero) {
    writeTextures();
    AudioRecorder audio;
    const uint64_t presented = platform::presentedFrames();
    float lastClock = 0.0f;
    ShowDriver watch;
    watch.presented = [&](float clock) {
        lastClock = clock;
        return true;
    };
    EXPECT_EQ(runShow(quickRun(false), watch), 0);
    EXPECT_TRUE(audio.calls.empty());
    EXPECT_GE(lastClock, 5.0f);
    EXPECT_GT(platform::presentedFrames() - presented, 2u);  // loading screen and show frames
    EXPECT_EQ(platform::windowTitle(), kShowTitle);
    EXPECT_FALSE(platform::windowExists());
    for (const RecordedBox& b : boxes.boxes) EXPECT_EQ(b.caption, "scenefile error");  // no scenes here
}

TEST_F(AppTest, MissingSoundtrackEndsWithPlayErrorAndStatusOne) {
    writeTextures();
    platform::setAudioBackend(nullptr);
    EXPECT_EQ(runShow(quickRun(true)), 1);
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_EQ(boxes.boxes.back(), (RecordedBox{"[error] Can't play stream", "BASS ERROR", platform::Icon::None, platform::Buttons::Ok}));
    EXPECT_EQ(platform::windowTitle(), "music...");
}

// One stage a step, each leaving its title; only the loading picture is
// presented. (No scripts here: each stage warns and goes on.)
TEST_F(AppTest, StartupRunsOneStageAStep) {
    writeTextures();
    fs::create_directories(root_ / "data" / "music");
    std::ofstream(root_ / "data" / "music" / "drabelfinal.mp3") << "mp3";
    AudioRecorder audio;
    ASSERT_TRUE(createGlWindow(kShowTitle, 160, 120, 32, false));
    auto show = std::make_unique<Show>();
    Timeline timeline(*show);
    Soundtrack soundtrack;
    Startup startup(*show, timeline, &soundtrack, 0.0, kLiveFps);
    std::vector<std::string> titles, expected = {"textures...", "textures..."};
    for (const SceneSlot& slot : kSceneSlots) expected.push_back(std::string(slot.script) + "...");
    expected.insert(expected.end(), {expected.back(), expected.back(), "music..."});
    std::vector<uint64_t> presented;
    while (!startup.done()) {
        Diagnostics found;
        const uint64_t before = platform::presentedFrames();
        ASSERT_TRUE(startup.step(found));
        titles.push_back(platform::windowTitle());
        presented.push_back(platform::presentedFrames() - before);
    }
    EXPECT_EQ(titles, expected);
    EXPECT_EQ(presented[1], 1u);
    EXPECT_EQ(std::count(presented.begin(), presented.end(), 1u), 1);
    EXPECT_EQ(audio.calls.back(), "streamPlay 7");
    soundtrack.stop();
}

TEST_F(AppTest, MissingTextureListClosesTheWindowAndEndsWithOne) {
    AudioRecorder audio;
    EXPECT_EQ(runShow(quickRun(true)), 1);
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_EQ(boxes.boxes.back(), (RecordedBox{"Initialization Failed.", "ERROR", platform::Icon::Exclamation, platform::Buttons::Ok}));
    EXPECT_FALSE(platform::windowExists());
    EXPECT_TRUE(audio.calls.empty());
}

}  // namespace
