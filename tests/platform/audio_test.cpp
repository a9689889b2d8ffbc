// The SDL2_mixer soundtrack backend on SDL's dummy audio driver: no audio
// driver makes init fail and releasing stays safe; a real MP3 plays and only
// its own handle does. (A missing file: see the start-up tests.)

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/platform.h"

namespace {

class MixerAudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::setAudioBackend(nullptr);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    void TearDown() override {
        platform::audio().free();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    std::filesystem::path dir_ = std::filesystem::temp_directory_path();
};

TEST_F(MixerAudioTest, NoAudioDriverMakesInitFailAndFreeIsStillSafe) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(platform::audio().init(-1, 44100, 0));
    EXPECT_EQ(platform::audio().streamCreateFile("x.mp3"), 0u);
    platform::audio().free();
    platform::audio().free();
}

TEST_F(MixerAudioTest, PlaysARealMp3) {
    const auto mp3 = dir_ / "orbelune-tone.mp3";
    const std::string command = "ffmpeg -v quiet -y -f lavfi -i sine=frequency=440:duration=1 " +
                                mp3.string() + " </dev/null";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "ffmpeg could not make an MP3";
    platform::AudioBackend& audio = platform::audio();
    ASSERT_TRUE(audio.init(-1, 44100, 0));
    const uint32_t handle = audio.streamCreateFile(mp3.string());
    ASSERT_NE(handle, 0u);
    EXPECT_TRUE(audio.streamPlay(handle));
    EXPECT_FALSE(audio.streamPlay(handle + 1));
    audio.streamFree(handle);
    EXPECT_FALSE(audio.streamPlay(handle));
    std::filesystem::remove(mp3);
}

}  // namespace
