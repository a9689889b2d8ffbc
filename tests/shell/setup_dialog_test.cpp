// The setup dialog's message procedure and layout, without a toolkit: a
// recording host stands in for the dialog window. The radio groups and the
// close box are held on a real desktop by window/desktop_xvfb_test.sh.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

#include "shell/settings.h"
#include "shell/setup_dialog.h"

namespace {

using platform::DialogMessage;

struct RecordingHost : platform::DialogHost {
    struct Mark {
        int first, last, checked;
    };
    std::vector<Mark> marks;
    std::vector<int> ends;
    void checkRadioButton(int first, int last, int checked) override { marks.push_back({first, last, checked}); }
    void endDialog(int result) override { ends.push_back(result); }
};

// The settings at their start values.
class SetupDialog : public ::testing::Test {
protected:
    void expectMode(int width, int height, int bits) {
        EXPECT_EQ((std::array{settings.width, settings.height, settings.bits}), (std::array{width, height, bits}));
    }
    int command(uintptr_t id) { return setupDialogProc(settings, host, DialogMessage::Command, id); }
    Settings settings;
    RecordingHost host;
};

}  // namespace

TEST_F(SetupDialog, StartMarksTheChoicesInForceAndWritesNothing) {
    // The choices as the defaults and the command line left them.
    const struct {
        bool music, fullscreen;
        int width, height, bits;
        int musicMark, fullscreenMark, modeMark;
    } table[] = {
        {true, true, 800, 600, 32, IDC_MUSIC_ON, IDC_FULLSCREEN_ON, IDC_MODE_800x600x32},
        {false, false, 640, 480, 16, IDC_MUSIC_OFF, IDC_FULLSCREEN_OFF, IDC_MODE_640x480x16},
        {true, false, 800, 600, 16, IDC_MUSIC_ON, IDC_FULLSCREEN_OFF, IDC_MODE_800x600x16},
        {false, true, 640, 480, 32, IDC_MUSIC_OFF, IDC_FULLSCREEN_ON, IDC_MODE_640x480x32},
        {true, true, 1920, 1080, 32, IDC_MUSIC_ON, IDC_FULLSCREEN_ON, 0},  // no mode button: none marked
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.width * 100 + row.bits);
        settings.music = row.music, settings.fullscreen = row.fullscreen;
        settings.width = row.width, settings.height = row.height, settings.bits = row.bits;
        host.marks.clear();
        EXPECT_EQ(setupDialogProc(settings, host, DialogMessage::InitDialog, 0), 1);
        const std::vector<std::array<int, 3>> want = {{IDC_MUSIC_ON, IDC_MUSIC_OFF, row.musicMark},
                                                      {IDC_FULLSCREEN_ON, IDC_FULLSCREEN_OFF, row.fullscreenMark},
                                                      {IDC_MODE_800x600x32, IDC_MODE_640x480x16, row.modeMark}};
        std::vector<std::array<int, 3>> got;
        for (const auto& m : host.marks) got.push_back({m.first, m.last, m.checked});
        EXPECT_EQ(got, want);
        expectMode(row.width, row.height, row.bits);
        EXPECT_EQ(settings.music, row.music);
        EXPECT_EQ(settings.fullscreen, row.fullscreen);
    }
    EXPECT_TRUE(host.ends.empty());
}

TEST_F(SetupDialog, EachButtonWritesItsChoice) {
    EXPECT_EQ(command(IDC_MUSIC_OFF), 1);
    EXPECT_FALSE(settings.music);
    command(IDC_FULLSCREEN_OFF);
    EXPECT_FALSE(settings.fullscreen);
    command(IDC_MUSIC_ON);
    command(IDC_FULLSCREEN_ON);
    EXPECT_TRUE(settings.music && settings.fullscreen);

    const struct {
        int id, width, height, bits;
    } modes[] = {{IDC_MODE_640x480x16, 640, 480, 16},
                 {IDC_MODE_800x600x16, 800, 600, 16},
                 {IDC_MODE_640x480x32, 640, 480, 32},
                 {IDC_MODE_800x600x32, 800, 600, 32}};
    for (const auto& m : modes) {
        command(static_cast<uintptr_t>(m.id));
        expectMode(m.width, m.height, m.bits);
    }
    EXPECT_TRUE(host.ends.empty());
    EXPECT_TRUE(host.marks.empty());  // the buttons mark themselves

    // Start ends the dialog with the choices kept.
    command(IDC_MUSIC_OFF);
    EXPECT_EQ(command(IDC_START), 1);
    EXPECT_EQ(host.ends, std::vector<int>{0});
    EXPECT_FALSE(settings.cancelled || settings.music);
    EXPECT_EQ(settings.width, 800);
}

TEST_F(SetupDialog, EscapeAndOtherNotificationsAreIgnored) {
    EXPECT_EQ(command(platform::DIALOG_CANCEL_ID), 1);
    // Only a plain click (notification 0) acts.
    EXPECT_EQ(command((uintptr_t{1} << 16) | IDC_MUSIC_OFF), 1);
    EXPECT_EQ(command((uintptr_t{5} << 16) | IDC_START), 1);
    EXPECT_EQ(command(1020), 1);
    EXPECT_EQ(command(0), 1);
    EXPECT_TRUE(host.ends.empty() && settings.music && !settings.cancelled);
    EXPECT_EQ(setupDialogProc(settings, host, DialogMessage::Other, IDC_START), 0);
    EXPECT_TRUE(host.ends.empty());
}

TEST_F(SetupDialog, WithoutADisplayTheDefaultsStand) {
    const char* old = std::getenv("DISPLAY");
    const std::string saved = old ? old : "";
    setenv("DISPLAY", ":65000", 1);  // no server there
    runSetupDialog(settings);
    old ? setenv("DISPLAY", saved.c_str(), 1) : unsetenv("DISPLAY");
    EXPECT_TRUE(!settings.cancelled && settings.music && settings.fullscreen);
    expectMode(800, 600, 32);
}

TEST(SetupDialogLayout, DialogUnitsBecomePixels) {
    const auto pixels = [](int x, int y, int w, int h) {
        const platform::PixelRect r = platform::dialogUnitsToPixels(x, y, w, h);
        return std::array{r.x, r.y, r.width, r.height};
    };
    EXPECT_EQ(pixels(0, 0, 111, 82), (std::array{0, 0, 194, 133}));
    EXPECT_EQ(pixels(4, 37, 44, 10), (std::array{7, 60, 77, 16}));
    // Twice as large on a 192-dpi display.
    const platform::PixelRect big = platform::dialogUnitsToPixels(0, 0, 111, 82, platform::dialogScaleForDpi(192));
    EXPECT_EQ((std::array{big.width, big.height}), (std::array{389, 267}));
    for (const auto& [dpi, scale] : std::vector<std::pair<double, double>>{
             {96, 1.0}, {72, 1.0}, {0, 1.0}, {-5, 1.0}, {120, 1.25}, {144, 1.5}, {1e6, 4.0}, {NAN, 1.0}})
        EXPECT_EQ(platform::dialogScaleForDpi(dpi), scale) << dpi;
    // Touching controls stay touching: edges are rounded, not sizes.
    const platform::PixelRect left = platform::dialogUnitsToPixels(25, 12, 21, 10);
    const platform::PixelRect right = platform::dialogUnitsToPixels(46, 12, 20, 10);
    EXPECT_EQ(left.x + left.width, right.x);
}

TEST(SetupDialogLayout, TemplateHoldsEveryControlInsideTheDialog) {
    const platform::DialogTemplate& t = setupDialogTemplate();
    EXPECT_STREQ(t.caption, "Tamsk Orbelune Setup");
    std::set<int> ids;
    int defaults = 0;
    for (const platform::DialogControl& c : t.controls) {
        EXPECT_TRUE(c.id <= 0 || ids.insert(c.id).second) << c.id;
        EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.x + c.width <= t.width && c.y + c.height <= t.height) << c.text;
        defaults += c.kind == platform::ControlKind::DefaultPushButton;
    }
    EXPECT_EQ(defaults, 1);
}
