// Data paths written on Windows resolved against the files on disk: each
// component matched in any letter case (the exact name first, then the first
// in sorted order), and a leading "data" led into the chosen data folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "assets/data_path.h"
#include "support/scratch_folder.h"

TEST(DataPath, ComponentsResolvedInAnyCaseAndDataLedIntoTheChosenFolder) {
    const ScratchFolder folder("orbelune-path-");
    const WorkingDirectory cwd(folder.root());
    for (const char* file : {"data/meshes/rock.3ds", "data/pairs/Rock.3ds", "data/pairs/ROCK.3DS", "show/Meshes/rock.3ds"})
        folder.write(file, "x");
    const std::string root = folder.root().string() + "/", show = root + "show/";
    struct Case {
        const char* dataFolder;  // "" for data/ under the working directory (after "show": set back)
        std::string path, resolved;
    };
    const Case cases[] = {
        {"show", "data\\meshes\\ROCK.3ds", show + "Meshes/rock.3ds"},
        {"show", "DATA/Meshes/rock.3ds", show + "Meshes/rock.3ds"},
        {"show", "data\\meshes\\stone.3ds", show + "meshes/stone.3ds"},
        {"show", "./data/meshes/rock.3ds", "./data/meshes/rock.3ds"},  // only a leading "data" is the data folder
        {"show", "database/x", "database/x"},
        {"", "data\\meshes\\rock.3ds", "data/meshes/rock.3ds"},
        {"", "Data\\Meshes\\Rock.3DS", "data/meshes/rock.3ds"},
        {"", "DATA/meshes\\ROCK.3ds", "data/meshes/rock.3ds"},
        {"", ".\\Data\\MESHES\\rock.3ds", "./data/meshes/rock.3ds"},
        {"", root + "Data\\meshes\\Rock.3ds", root + "data/meshes/rock.3ds"},  // absolute paths keep their root
        {"", "data\\pairs\\Rock.3ds", "data/pairs/Rock.3ds"},                // the exact name wins
        {"", "data\\pairs\\rOcK.3ds", "data/pairs/ROCK.3DS"},                // then the first in sorted order
        {"", "Data\\Meshes\\Stone.3DS", "Data/Meshes/Stone.3DS"},            // unmatched: only converted
        {"", "data\\meshes\\rock.3ds\\x", "data/meshes/rock.3ds/x"},         // a file is no folder
        {"", "", ""},
    };
    for (const Case& c : cases) {
        setDataFolder(*c.dataFolder ? folder.root() / c.dataFolder : std::filesystem::path());
        EXPECT_EQ(resolveDataPath(c.path), c.resolved) << c.path << " in \"" << c.dataFolder << "\"";
    }
    setDataFolder({});
}
