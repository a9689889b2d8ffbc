// The SDL2_mixer soundtrack backend on SDL's dummy audio driver: a missing or
// non-MP3 file gives no stream and playing it fails; no audio driver makes
// init fail; releasing is safe in every state; a real MP3 plays.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

TEST_F(MixerAudioTest, ReportsTheExpectedVersion) {
    EXPECT_EQ(platform::audio().getVersion(), 0x00070000u);
}

TEST_F(MixerAudioTest, MissingOrBrokenFileGivesNoStreamAndPlayFails) {
    platform::AudioBackend& audio = platform::audio();
    ASSERT_TRUE(audio.init(-1, 44100, 0));
    audio.start();
    audio.streamFree(0);  // accepted without a stream
    EXPECT_EQ(audio.streamCreateFile((dir_ / "orbelune-no-such.mp3").string()), 0u);
    EXPECT_FALSE(audio.streamPlay(0));

    const auto junk = dir_ / "orbelune-junk.mp3";
    std::ofstream(junk, std::ios::binary) << std::string(64, '\x01');
    const uint32_t handle = audio.streamCreateFile(junk.string());
    EXPECT_FALSE(handle != 0 && audio.streamPlay(handle));
    std::filesystem::remove(junk);
}

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
