// Message boxes without a display: "caption: text" on stderr and the default
// answer.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"

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

}  // namespace
