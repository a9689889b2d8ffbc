// Command-line parsing and the choice of the data folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "assets/data_path.h"
#include "shell/command_line.h"
#include "shell/data_folder.h"
#include "shell/settings.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(CommandLine, BadArgumentsAreRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"}, {"--mode"}, {"--mode", "1024x768x32"}, {"--mode", "800x600x24"},
        {"--data"}, {"--data", ""}, {"--end"}, {"--end", "-1"}, {"--end", "3s"},
        {"--end", "nan"}, {"--end", "inf"}, {"extra"}, {"--max-fps"}, {"--max-fps", "-1"}, {"--max-fps", "60.5"},
        // The live show keeps its four modes; captures take any size but only 16 or 32 bits.
        {"--mode", "320x240x32"}, {"--mode", "320x240"},
        {"--mode", "320x240x24", "--capture", "f/"}, {"--mode", "8x8", "--capture", "f/"},
        {"--mode", "320x240x32x2", "--capture", "f/"}, {"--mode", "320xx32", "--capture", "f/"},
        // An empty or backwards stretch of the show.
        {"--start", "5", "--end", "5"}, {"--end", "5", "--start", "6"}, {"--start", "0", "--end", "0"},
        // The authoring mode plays live; so does the display's own size.
        {"--author", "--capture", "out.mp4"}, {"--author", "--bench"}, {"--author", "--check"},
        {"--mode", "desktop", "--capture", "f/"}, {"--bench", "--mode", "desktop"}, {"--mode", "Desktop"}};
    for (const auto& args : bad) {
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_FALSE(parseCommandLine(args).error.empty());
    }
}

TEST(CommandLine, SizesAndStretchesThatAreTaken) {
    struct Case {
        std::vector<std::string> args;
        int width, height, bits;
        bool freeSize;
    };
    const Case cases[] = {
        {{"--mode", "640x480x16"}, 640, 480, 16, false},
        {{"--capture", "f/", "--mode", "800x600x16"}, 800, 600, 16, false},
        {{"--capture", "f/", "--mode", "320x240x32"}, 320, 240, 32, true},
        {{"--bench", "--mode", "1920x1080x16"}, 1920, 1080, 16, true},
        {{"--capture", "x.mp4", "--mode", "1280x720"}, 1280, 720, 32, true},
        {{"--capture", "f/", "--start", "5", "--end", "5.1"}, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const CommandLine line = parseCommandLine(c.args);
        ASSERT_EQ(line.error, "");
        EXPECT_EQ(line.width, c.width);
        EXPECT_EQ(line.height, c.height);
        EXPECT_EQ(line.bits, c.bits);
        EXPECT_EQ(line.freeSize, c.freeSize);
    }
    // The desktop's own size is 0 x 0 in the settings; the last --mode counts.
    struct Desktop {
        std::vector<std::string> args;
        int width, height;
    };
    for (const Desktop& d : {Desktop{{"--mode", "desktop"}, 0, 0},
                             Desktop{{"--mode", "640x480x16", "--mode", "desktop"}, 0, 0},
                             Desktop{{"--mode", "desktop", "--mode", "640x480x16"}, 640, 480}}) {
        SCOPED_TRACE(testing::PrintToString(d.args));
        const CommandLine line = parseCommandLine(d.args);
        ASSERT_EQ(line.error, "");
        const Settings settings = settingsFrom(line);
        EXPECT_EQ(settings.width, d.width);
        EXPECT_EQ(settings.height, d.height);
    }
}

// A tree with every place the search looks at; each case makes some of them
// real data folders (script and textures inside) and names the winner.
class DataFolderSearch : public ::testing::Test {
protected:
    void makeData(const std::string& relative, const char* script = "script", const char* textures = "textures") {
        fs::create_directories(root() / relative / script);
        fs::create_directories(root() / relative / textures);
    }
    DataPlaces places() const {
        return {root() / "start", (root() / "xdg").string(), (root() / "home").string(),
                root() / "prefix" / "bin" / "orbelune"};
    }
    const fs::path& root() const { return folder_.root(); }

    ScratchFolder folder_{"orbelune-search-"};
};

TEST_F(DataFolderSearch, FirstOfDataOptionWorkingFolderUserDataHomeAndInstalledTree) {
    const fs::path installed = (root() / "prefix" / "bin" / ORBELUNE_DATA_FROM_BIN).lexically_normal();
    struct Case {
        std::vector<std::string> folders;  // made into data folders
        std::string option;
        std::string expected;  // relative to the root; empty: none found
        std::string origin;
        const char* xdg = nullptr;  // XDG_DATA_HOME, when not the tree's own
    };
    const std::string installedRel = installed.lexically_relative(root()).string();
    const Case cases[] = {
        {{"start/data", "xdg/orbelune/data", "home/.local/share/orbelune/data", installedRel}, "", "start/data",
         "./data"},
        {{"xdg/orbelune/data", "home/.local/share/orbelune/data", installedRel}, "", "xdg/orbelune/data",
         "$XDG_DATA_HOME"},
        {{"home/.local/share/orbelune/data", installedRel}, "", installedRel, "installed"},
        {{installedRel}, "", installedRel, "installed"},
        // Without XDG_DATA_HOME, or with a relative one (ignored): the home folder's.
        {{"xdg/orbelune/data", "home/.local/share/orbelune/data"}, "", "home/.local/share/orbelune/data",
         "~/.local/share/orbelune/data", ""},
        {{"xdg/orbelune/data", "home/.local/share/orbelune/data"}, "", "home/.local/share/orbelune/data",
         "~/.local/share/orbelune/data", "xdg"},
        // The option beats everything; any name will do, relative to the start.
        {{"start/data", "mine"}, "../mine", "mine", "--data"},
        {{"holder/data"}, root().string() + "/holder", "holder/data", "--data"},
        {{"holder/data", "holder/script"}, root().string() + "/holder/", "holder/data", "--data"},
        {{}, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected + " from " + c.option + " XDG_DATA_HOME=" + (c.xdg ? c.xdg : "(the tree's)"));
        for (const std::string& folder : c.folders) makeData(folder);
        DataPlaces where = places();
        if (c.xdg) where.xdgDataHome = c.xdg;
        const DataFolderChoice choice = findDataFolder(c.option, where);
        if (c.expected.empty()) {
            EXPECT_EQ(choice.folder, fs::path());
            EXPECT_EQ(choice.lookedIn.size(), 3u);
            EXPECT_NE(choice.error.find((root() / "start" / "data").string()), std::string::npos) << choice.error;
            EXPECT_NE(choice.error.find(installed.string()), std::string::npos) << choice.error;
        } else {
            EXPECT_EQ(choice.folder, root() / c.expected) << choice.error;
            EXPECT_EQ(choice.origin, c.origin);
        }
        for (const char* top : {"start", "xdg", "home", "prefix", "mine", "holder"}) fs::remove_all(root() / top);
    }
}

TEST_F(DataFolderSearch, AnyLetterCaseCountsAndAHalfFolderDoesNot) {
    makeData("Show", "Script", "TEXTURES");
    EXPECT_EQ(findDataFolder((root() / "Show").string(), places()).folder, root() / "Show");
    fs::create_directories(root() / "half" / "script");
    fs::create_directories(root() / "half" / "data" / "textures");
    const DataFolderChoice half = findDataFolder((root() / "half").string(), places());
    EXPECT_TRUE(half.folder.empty());
    // Says what it looked for, and where.
    for (const std::string& piece : {std::string("script and textures"), (root() / "half").string(),
                                     (root() / "half" / "data").string()})
        EXPECT_NE(half.error.find(piece), std::string::npos) << half.error;
    EXPECT_NE(findDataFolder((root() / "nothing").string(), places()).error.find("not a folder"), std::string::npos);
}

TEST_F(DataFolderSearch, OutputsInsideTheDataFolderAreRefused) {
    makeData("show");
    const DataFolderChoice choice = findDataFolder((root() / "show").string(), places());
    ASSERT_FALSE(choice.folder.empty());
    const struct {
        std::string path;
        bool inside;
    } cases[] = {{(root() / "show" / "textures" / "x.png").string(), true},
                 {(root() / "show" / "frames" / "").string(), true},
                 {(root() / "show" / ".." / "show" / "a.mp4").string(), true},
                 {(root() / "showreel.mp4").string(), false},
                 {(root() / "frames").string(), false}};
    for (const auto& c : cases) EXPECT_EQ(liesInside(c.path, choice.folder), c.inside) << c.path;

    CommandLine capture = parseCommandLine({"--capture", (root() / "show" / "x.mp4").string()});
    EXPECT_EQ(useDataFolder(capture, choice), 2);
    capture = parseCommandLine({"--capture", (root() / "x.mp4").string()});
    EXPECT_EQ(useDataFolder(capture, choice), 0);
    EXPECT_EQ(dataFolder(), choice.folder);
    setDataFolder({});
}

}  // namespace
