#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "assets/data_path.h"

namespace fs = std::filesystem;

namespace {

class DataPath : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        root_ = fs::temp_directory_path() / ("orbelune-path-" + std::to_string(seed()));
        fs::create_directories(root_ / "data" / "meshes");
        touch("data/meshes/rock.3ds");
        saved_ = fs::current_path();
        fs::current_path(root_);
    }
    void TearDown() override {
        fs::current_path(saved_);
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    void touch(const std::string& name) { std::ofstream(root_ / name) << "x"; }

    fs::path root_, saved_;
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
