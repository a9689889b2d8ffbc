// The GL window on SDL's offscreen driver: every creation and release
// failure with its message (through the recording box handler), the
// full-screen refusal answered Yes and No, the release order in full screen,
// the 4:3 picture (rounded to the nearest pixel, centred) and its bars after
// a resize, the key table and the close request.

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/recorders.h"
#include "support/window_steps.h"
#include "window/gl_window.h"

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

const char* const kQuestion =
    "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?";

class GlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        platform::setEventSource({});
        glWindow.keyDown.fill(0);
        glWindow.fullscreen = true;
    }
    void TearDown() override {
        steps.clearFailures();
        if (platform::windowExists()) closeGlWindow();
        drainEvents();
    }

    static void drainEvents() {
        platform::Event e;
        for (int i = 0; i < 1000 && platform::pollEvent(e); ++i) {
        }
    }

    // SDL ends each poll cycle with an empty poll: look a few polls ahead.
    static bool nextEvent(platform::Event& e) {
        for (int i = 0; i < 10; ++i)
            if (platform::pollEvent(e)) return true;
        return false;
    }

    WindowSteps steps;
    BoxRecorder boxes;
};

TEST_F(GlWindowTest, EachCreationFailureReleasesFirstThenReportsAndReturnsFalse) {
    struct Case {
        Step step;
        const char* text;
    };
    const Case cases[] = {
        {Step::StartVideo, "Failed To Register The Window Class."},
        {Step::OpenWindow, "Window Creation Error."},
        {Step::WindowTakesGl, "Can't Create A GL Device Context."},
        {Step::RequestGlBuffers, "Can't Find A Suitable PixelFormat."},
        {Step::LoadGl, "Can't Set The PixelFormat."},
        {Step::CreateGlContext, "Can't Create A GL Rendering Context."},
        {Step::MakeGlContextCurrent, "Can't Activate The GL Rendering Context."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        steps.clearFailures();
        steps.log.clear();
        steps.fail(c.step);
        // What exists at the moment the box is shown.
        bool windowAtBox = true;
        std::string lastStepAtBox;
        std::vector<RecordedBox> seen;
        platform::setMessageBoxHandler([&](const std::string& text, const std::string& caption,
                                           Icon icon, Buttons buttons) {
            windowAtBox = platform::windowExists();
            lastStepAtBox = steps.log.back();
            seen.push_back({text, caption, icon, buttons});
            return Answer::Ok;
        });
        EXPECT_FALSE(createGlWindow("t", 320, 240, 32, false));
        EXPECT_EQ(seen, (std::vector<RecordedBox>{{c.text, "ERROR", Icon::Exclamation, Buttons::Ok}}));
        EXPECT_FALSE(windowAtBox);
        // Nothing to release after a failed registration.
        EXPECT_EQ(lastStepAtBox, c.step == Step::StartVideo ? "startVideo" : "stopVideo");
        EXPECT_FALSE(platform::windowExists());
    }
    platform::setMessageBoxHandler({});
}

TEST_F(GlWindowTest, EveryFailedReleaseIsReportedAndTheSequenceGoesOn) {
    ASSERT_TRUE(createGlWindow("t", 320, 240, 32, false));
    for (Step s : {Step::ReleaseGlContext, Step::DeleteGlContext, Step::UnloadGl, Step::CloseWindow, Step::StopVideo})
        steps.fail(s);
    closeGlWindow();
    std::vector<RecordedBox> expected;
    for (const char* text : {"Release Of DC And RC Failed.", "Release Rendering Context Failed.",
                             "Release Device Context Failed.", "Could Not Release hWnd.", "Could Not Unregister Class."})
        expected.push_back({text, "SHUTDOWN ERROR", Icon::Information, Buttons::Ok});
    EXPECT_EQ(boxes.boxes, expected);
    EXPECT_FALSE(platform::windowExists());
}

TEST_F(GlWindowTest, RefusedOrLostFullscreenYesRunsWindowedAndNoEndsWithoutAWindow) {
    const RecordedBox question{kQuestion, "Wexo GL", Icon::Exclamation, Buttons::YesNo};
    for (Step refused : {Step::SetDisplayMode, Step::ShowWindow}) {  // refused, or lost when shown
        steps.clearFailures();
        steps.fail(refused);
        boxes.boxes.clear();
        boxes.answers = {Answer::Yes};
        glWindow.fullscreen = true;
        ASSERT_TRUE(createGlWindow("t", 800, 600, 32, true));
        EXPECT_EQ(boxes.boxes, std::vector<RecordedBox>{question});
        EXPECT_TRUE(!glWindow.fullscreen && platform::cursorVisible() && !platform::displayModeSwitched());
        steps.log.clear();
        closeGlWindow();
        EXPECT_FALSE(steps.logged("restoreDesktopMode") || steps.logged("showCursor 0"));
        EXPECT_EQ(boxes.boxes.size(), 1u);
    }
    // Answered No: "Program Will Now Close." and no window at all.
    steps.clearFailures();
    steps.fail(Step::SetDisplayMode);
    steps.log.clear();
    boxes.boxes.clear();
    boxes.answers = {Answer::No};
    EXPECT_FALSE(createGlWindow("t", 320, 240, 32, true));
    EXPECT_EQ(boxes.boxes,
              (std::vector<RecordedBox>{question, {"Program Will Now Close.", "ERROR", Icon::Stop, Buttons::Ok}}));
    EXPECT_FALSE(steps.logged("openWindow"));
    EXPECT_FALSE(platform::windowExists());
    platform::windowSystem().stopVideo();  // video stays up after No
}

TEST_F(GlWindowTest, FullscreenHidesTheCursorAndCloseRestoresModeBeforeReleasingGl) {
    ASSERT_TRUE(createGlWindow("t", 800, 600, 32, true));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(glWindow.fullscreen && platform::displayModeSwitched() && !platform::cursorVisible());
    steps.log.clear();
    closeGlWindow();
    EXPECT_EQ(steps.log, (std::vector<std::string>{"restoreDesktopMode", "showCursor 1", "releaseGlContext",
                                                   "deleteGlContext", "unloadGl", "closeWindow", "stopVideo"}));
    EXPECT_TRUE(platform::cursorVisible() && !platform::displayModeSwitched());
}

void expectViewport(const PictureRect& r) {
    std::array<GLint, 4> vp{};
    glGetIntegerv(GL_VIEWPORT, vp.data());
    EXPECT_EQ(vp, (std::array<GLint, 4>{r.x, r.y, r.width, r.height}));
}

// One row of pixels, as colours 0 (black), 1 (the scene's green) or 2 (other).
std::string rowKinds(int y, int width) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, y, width, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::string kinds;
    for (int x = 0; x < width; ++x) {
        const uint8_t* p = &rgb[static_cast<size_t>(x) * 3];
        kinds += p[0] == 0 && p[1] == 0 && p[2] == 0 ? '0' : p[0] == 0 && p[1] == 255 && p[2] == 0 ? '1' : '2';
    }
    return kinds;
}

TEST_F(GlWindowTest, AnyClientSizeGetsA4By3PictureBetweenBlackBarsAndTheScenesClearStaysInside) {
    ASSERT_TRUE(createGlWindow("t", 320, 240, 32, false));
    EXPECT_EQ(platform::windowTitle(), "t");
    expectViewport({0, 0, 320, 240});
    resizeGlView(0, 0);  // no size counts as one pixel
    expectViewport({0, 0, 1, 1});
    resizeGlView(200, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    expectViewport({99, 0, 1, 1});
    // A 90-degree 4:3 view whatever the client's shape: y scaled by 1, x by
    // 3/4 (near and far planes show in the golden frames); model-view selected.
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[5], 1.0, 1e-5);
    EXPECT_NEAR(m[0], 0.75, 1e-5);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    // The show's own field of view outlives a resize (a flash sized for it
    // still covers the picture).
    projectPicture(65);
    resizeGlView(300, 200);
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_NEAR(m[5], 1.0 / std::tan(32.5 * M_PI / 180.0), 1e-5);
    projectPicture(90);
    struct Case {
        int width, height;
        PictureRect picture;
    };
    for (const Case& c : {Case{200, 100, {33, 0, 133, 100}}, Case{90, 120, {0, 26, 90, 68}},
                          Case{320, 240, {0, 0, 320, 240}}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        // Whatever the buffer held before: red everywhere (the scissor as it was).
        glPushAttrib(GL_SCISSOR_BIT);
        glDisable(GL_SCISSOR_TEST);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glPopAttrib();
        platform::Event resize;  // as the window reports it
        resize.kind = platform::EventKind::Resize, resize.width = c.width, resize.height = c.height;
        glWindowProc(resize);
        expectViewport(c.picture);
        // A scene's own clear colour, kept by the bars and scissored to the
        // picture (the last case: no scissor left from the one before).
        glClearColor(0, 1, 0, 1);
        paintBars();
        glClear(GL_COLOR_BUFFER_BIT);
        const PictureRect& p = c.picture;
        const std::string inside =
            std::string(p.x, '0') + std::string(p.width, '1') + std::string(c.width - p.x - p.width, '0');
        EXPECT_EQ(rowKinds(p.y + p.height / 2, c.width), inside);
        if (p.y > 0) {
            EXPECT_EQ(rowKinds(p.y - 1, c.width), std::string(c.width, '0'));
            EXPECT_EQ(rowKinds(p.y + p.height, c.width), std::string(c.width, '0'));
            EXPECT_EQ(rowKinds(0, c.width), std::string(c.width, '0'));
        }
    }
}

TEST_F(GlWindowTest, ARefusedModeOrTheDesktopModeIsFullScreenAtTheDisplaysSizeWithoutAQuestion) {
    steps.refuseSizes = true;
    struct Case {
        int width, height;
        bool fullscreen;
    };
    for (const Case& c : {Case{800, 600, true}, Case{0, 0, true}, Case{0, 0, false}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << (c.fullscreen ? " full screen" : ""));
        ASSERT_TRUE(createGlWindow("t", c.width, c.height, 32, c.fullscreen));
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_EQ(glWindow.fullscreen, c.fullscreen);
        EXPECT_EQ(platform::cursorVisible(), !c.fullscreen);
        int desktopW = 0, desktopH = 0, drawW = 0, drawH = 0;
        ASSERT_TRUE(platform::desktopSize(desktopW, desktopH));
        platform::drawableSize(drawW, drawH);
        EXPECT_EQ(drawW, desktopW);
        EXPECT_EQ(drawH, desktopH);
        expectViewport(pictureRect(desktopW, desktopH));
        closeGlWindow();
    }
}

TEST_F(GlWindowTest, KeysFillTheTableAndACloseRequestPostsAQuit) {
    ASSERT_TRUE(createGlWindow("t", 160, 120, 32, false));
    drainEvents();
    const std::pair<const char*, int> table[] = {
        {"Escape", 27}, {"A", 65}, {"Z", 90}, {"0", 48}, {"9", 57}, {"F1", 112},
        {"F12", 123}, {"Left", 37}, {"Down", 40}, {"Return", 13}, {"Keypad 5", 101}};
    for (const auto& [name, code] : table) {
        SCOPED_TRACE(name);
        for (bool down : {true, false}) {
            ASSERT_TRUE(platform::injectKey(name, down));
            platform::Event e;
            ASSERT_TRUE(nextEvent(e));
            glWindowProc(e);
            EXPECT_EQ(glWindow.keyDown[static_cast<size_t>(code)], down ? 1 : 0);
            EXPECT_EQ(std::count(glWindow.keyDown.begin(), glWindow.keyDown.end(), 1), down ? 1 : 0);
        }
    }
    // A key without a virtual-key code is an event like any other but leaves the table.
    EXPECT_EQ(platform::virtualKeyForKeyName("AC Home"), 0);
    ASSERT_TRUE(platform::injectKey("AC Home", true));
    platform::Event e;
    ASSERT_TRUE(nextEvent(e));
    EXPECT_EQ(e.kind, platform::EventKind::Other);
    glWindowProc(e);
    EXPECT_EQ(std::count(glWindow.keyDown.begin(), glWindow.keyDown.end(), 1), 0);

    // A close request posts a quit that the next poll hands out.
    ASSERT_TRUE(platform::injectCloseRequest());
    ASSERT_TRUE(nextEvent(e));
    EXPECT_EQ(e.kind, platform::EventKind::Close);
    glWindowProc(e);
    EXPECT_TRUE(platform::windowExists());  // the window stays until shutdown
    ASSERT_TRUE(platform::pollEvent(e));
    EXPECT_EQ(e.kind, platform::EventKind::Quit);
    EXPECT_FALSE(platform::pollEvent(e));
}

}  // namespace
