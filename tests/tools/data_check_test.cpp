// The data check against the generated show folder: clean as generated, and
// every planted fault reported in the same pass.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/data_check.h"
#include "tools/temp_show_folder.h"

namespace fs = std::filesystem;

namespace {

bool mentions(const DataCheckReport& report, const std::string& needle) {
    for (const std::string& line : report.problems)
        if (line.find(needle) != std::string::npos) return true;
    return false;
}

void expectMentions(const DataCheckReport& report, std::initializer_list<std::string> needles) {
    for (const std::string& n : needles) EXPECT_TRUE(mentions(report, n)) << n;
}

TEST(DataCheck, GeneratedFolderIsClean) {
    TempShowFolder folder;
    std::ostringstream out;
    EXPECT_EQ(runDataCheck(out), 0) << out.str();
    EXPECT_NE(out.str().find("data folder OK"), std::string::npos);
}

TEST(DataCheck, ReportsEveryPlantedProblemInOnePass) {
    TempShowFolder folder;
    // A listed bitmap goes missing, a script gets a bad line, a mesh goes
    // missing, the soundtrack goes missing.
    std::string texture = folder.textureListEntry(7);
    fs::remove(folder.resolve(texture));
    folder.appendLineBeforeEof("data/script/scene6.dat", "FOG = ON");
    std::string mesh = folder.firstMeshOf("data/script/scene2.dat");
    fs::remove(folder.resolve(mesh));
    fs::remove(folder.root / "data/music/drabelfinal.mp3");

    DataCheckReport report = checkDataFolder();
    expectMentions(report, {"Unable to open " + texture, "no valid attrib found on line", "scene6.dat",
                            "mesh file " + mesh + " cannot be opened", "soundtrack is missing"});
    // Scripts after the one whose mesh failed were still checked.
    EXPECT_FALSE(mentions(report, "scene8.dat: the show needs"));
    std::ostringstream out;
    EXPECT_EQ(runDataCheck(out), 1);
}

TEST(DataCheck, MissingListAndWhatTheTimelineNeeds) {
    TempShowFolder folder;
    fs::remove(folder.root / "data/script/texture.dat");
    std::ofstream(folder.root / "data/script/scene5.dat") << "EOF\n";
    // With no list, every picture the timeline draws is out of range.
    expectMentions(checkDataFolder(), {"Unable to open texture.dat",
                                       "scene5.dat: the show needs 2 objects, the script has 0",
                                       "scene5.dat: the show needs 2 magnets, the script has 0",
                                       "the timeline uses texture 35 but the list holds 0"});
}

}  // namespace
