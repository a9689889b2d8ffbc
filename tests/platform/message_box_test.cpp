// Message boxes without a display: "caption: text" on stderr and the default
// answer; the recording handler takes precedence over everything.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "platform/recorders.h"

namespace {

TEST(MessageBox, WithoutADisplayWritesCaptionAndTextAndTakesTheDefault) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    EXPECT_FALSE(platform::displayAvailable());
    testing::internal::CaptureStderr();
    const auto ok = platform::messageBox("Release Device Context Failed.", "SHUTDOWN ERROR",
                                         platform::Icon::Information);
    const auto yes = platform::messageBox("Use Windowed\nMode Instead?", "Wexo GL",
                                          platform::Icon::Exclamation, platform::Buttons::YesNo);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ok, platform::Answer::Ok);
    EXPECT_EQ(yes, platform::Answer::Yes);
    EXPECT_EQ(err,
              "SHUTDOWN ERROR: Release Device Context Failed.\n"
              "Wexo GL: Use Windowed\nMode Instead?\n");
}

TEST(MessageBox, NoDisplayVariableMeansNoDisplay) {
    const char* saved = std::getenv("DISPLAY");
    const std::string keep = saved ? saved : "";
    unsetenv("DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    EXPECT_FALSE(platform::displayAvailable());
    if (saved) setenv("DISPLAY", keep.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
}

TEST(MessageBox, RecordingHandlerSeesEveryBoxAndAnswers) {
    BoxRecorder boxes;
    boxes.answers = {platform::Answer::No};
    testing::internal::CaptureStderr();
    EXPECT_EQ(platform::messageBox("q", "c", platform::Icon::Stop, platform::Buttons::YesNo),
              platform::Answer::No);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].icon, platform::Icon::Stop);
}

}  // namespace
