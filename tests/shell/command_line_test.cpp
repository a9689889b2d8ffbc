// Command-line parsing and the choice of the data folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "shell/app.h"
#include "shell/command_line.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

TEST(CommandLine, BadArgumentsAreRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"}, {"--mode"}, {"--mode", "1024x768x32"}, {"--mode", "800x600x24"},
        {"--data"}, {"--data", ""}, {"--end"}, {"--end", "-1"}, {"--end", "3s"},
        {"--end", "nan"}, {"--end", "inf"}, {"extra"}};
    for (const auto& args : bad) {
        SCOPED_TRACE(args[0] + (args.size() > 1 ? " " + args[1] : ""));
        EXPECT_FALSE(parseCommandLine(args).error.empty());
    }
}

TEST(DataFolder, TakesTheFolderHoldingDataOrTheDataFolderItself) {
    const fs::path saved = fs::current_path();
    const ScratchFolder folder("orbelune-cli-");
    const fs::path& root = folder.root();
    fs::create_directories(root / "Data" / "script");
    std::string reason;

    ASSERT_TRUE(enterDataFolder(root.string(), reason)) << reason;
    EXPECT_EQ(fs::current_path(), fs::canonical(root));
    ASSERT_TRUE(enterDataFolder((root / "Data").string() + "/", reason)) << reason;
    EXPECT_EQ(fs::current_path(), fs::canonical(root));
    ASSERT_TRUE(enterDataFolder((root / "Data" / "script").string(), reason)) << reason;
    EXPECT_EQ(fs::current_path(), fs::canonical(root / "Data" / "script"));

    fs::current_path(saved);
    EXPECT_FALSE(enterDataFolder((root / "missing").string(), reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(fs::current_path(), saved);
}

}  // namespace
