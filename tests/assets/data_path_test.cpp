#include <gtest/gtest.h>

#include <filesystem>

#include "assets/data_path.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

class DataPath : public ::testing::Test {
protected:
    void SetUp() override { touch("data/meshes/rock.3ds"); }
    void touch(const std::string& name) { folder_.write(name, "x"); }

    ScratchFolder folder_{"orbelune-path-"};
    const fs::path root_ = folder_.root();
    WorkingDirectory cwd_{root_};
};

}  // namespace

TEST_F(DataPath, BackslashesAndLetterCaseAreResolvedPerComponent) {
    EXPECT_EQ(resolveDataPath("data\\meshes\\rock.3ds"), "data/meshes/rock.3ds");
    EXPECT_EQ(resolveDataPath("Data\\Meshes\\Rock.3DS"), "data/meshes/rock.3ds");
    EXPECT_EQ(resolveDataPath("DATA/meshes\\ROCK.3ds"), "data/meshes/rock.3ds");
    EXPECT_EQ(resolveDataPath(".\\Data\\MESHES\\rock.3ds"), "./data/meshes/rock.3ds");
    // Absolute paths keep their root.
    EXPECT_EQ(resolveDataPath((root_ / "Data\\meshes\\Rock.3ds").string()),
              (root_ / "data/meshes/rock.3ds").string());
}

TEST_F(DataPath, ExactNameWinsThenFirstInSortedOrder) {
    touch("data/meshes/Rock.3ds");
    touch("data/meshes/ROCK.3DS");
    EXPECT_EQ(resolveDataPath("data\\meshes\\Rock.3ds"), "data/meshes/Rock.3ds");
    EXPECT_EQ(resolveDataPath("data\\meshes\\rOcK.3ds"), "data/meshes/ROCK.3DS");
}

TEST_F(DataPath, UnmatchedPathsComeBackConverted) {
    EXPECT_EQ(resolveDataPath("Data\\Meshes\\Stone.3DS"), "Data/Meshes/Stone.3DS");
    // A file used as a folder matches nothing below it.
    EXPECT_EQ(resolveDataPath("data\\meshes\\rock.3ds\\x"), "data/meshes/rock.3ds/x");
    EXPECT_EQ(resolveDataPath(""), "");
}

TEST_F(DataPath, PathsUnderDataLeadIntoTheChosenFolderWhateverItsName) {
    touch("show/Meshes/rock.3ds");
    setDataFolder(root_ / "show");
    const std::string mapped = (root_ / "show/Meshes/rock.3ds").string();
    EXPECT_EQ(resolveDataPath("data\\meshes\\ROCK.3ds"), mapped);
    EXPECT_EQ(resolveDataPath("DATA/Meshes/rock.3ds"), mapped);
    // Only a leading "data" is the data folder; other paths stay where they are.
    EXPECT_EQ(resolveDataPath("./data/meshes/rock.3ds"), "./data/meshes/rock.3ds");
    EXPECT_EQ(resolveDataPath("database/x"), "database/x");
    EXPECT_EQ(resolveDataPath("data\\meshes\\stone.3ds"), (root_ / "show/meshes/stone.3ds").string());
    setDataFolder({});
    EXPECT_EQ(resolveDataPath("data\\meshes\\ROCK.3ds"), "data/meshes/rock.3ds");
}
