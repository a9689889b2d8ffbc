// Memory bounds: every hostile file is loaded in a child process whose
// address space is capped at what it already has plus a small allowance
// (32 MiB and 64 bytes per byte of the file). Only the largest picture the
// decoder accepts (16384 x 16384) gets the room its header asks for. A
// loader that lets a small file demand more fails here with an allocation
// failure or a crash instead of passing. AddressSanitizer reserves huge
// address ranges, so sanitizer builds skip this test.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "assets/texture_table.h"
#include "hardening/hostile_cases.h"
#include "hardening/run_program.h"
#include "scene/scene.h"
#include "scene/scene_script.h"
#include "support/scratch_folder.h"
#include "writers/tds_writer.h"

namespace {

const bool kSanitized = hardening::sanitizerBuild();

size_t currentAddressSpace() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmSize:", 0) == 0) return std::stoul(line.substr(7)) * 1024;  // kB
    return 0;
}

// Exit status of a child that runs `load` with its address space capped at
// what it already has plus `allowance`: 0 when `load` gave `expected`, 3 an
// allocation was refused, 5 other messages (a loader reported running out of
// memory), 128 + n killed by signal n.
int underCap(size_t allowance, const std::function<std::vector<std::string>()>& load,
             const std::vector<std::string>& expected) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const rlim_t cap = currentAddressSpace() + allowance;
        const rlimit limit{cap, cap};
        if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(4);
        try {
            _exit(load() == expected ? 0 : 5);
        } catch (const std::bad_alloc&) {
            _exit(3);
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

TEST(MemoryBound, EveryHostileFileLoadsWithinASmallMultipleOfItsSize) {
    if (kSanitized) GTEST_SKIP() << "address-space limits do not work under AddressSanitizer";
    for (const hardening::HostileFile& file : hardening::hostileFiles()) {
        SCOPED_TRACE(file.name);
        const size_t size = std::filesystem::file_size(std::string(HOSTILE_DIR) + "/" + file.name);
        size_t allowance = (size_t{32} << 20) + 64 * size;
        if (file.name == "bmp_side_at_cap_rle.bmp") allowance += size_t{16384} * 16384 * 3;
        EXPECT_EQ(underCap(allowance, [&] { return hardening::loadHostile(file); }, hardening::loadHostile(file)), 0);
    }
}

// The check itself: a cap far too small for the picture at the decoder's
// limit must be noticed (otherwise the test above proves nothing).
TEST(MemoryBound, TheCapIsEnforced) {
    if (kSanitized) GTEST_SKIP() << "address-space limits do not work under AddressSanitizer";
    const hardening::HostileFile big{"bmp_side_at_cap_rle.bmp", hardening::HostileKind::Bitmap};
    EXPECT_EQ(underCap(size_t{64} << 20, [&] { return hardening::loadHostile(big); }, {}), 5);  // "Out of memory." instead of the picture
}

// The budgets bound what the worst repeated files can make the show hold: a
// script naming a mesh of 65535 vertices 1000 times (about 5 GB without the
// vertex budget) and a texture list naming a 37-byte RLE bitmap of 8192 x 8192
// pixels 100 times (19 GB when every picture is kept, as the GL keeps its
// textures). Each stops at its budget with its own message, within the
// memory the budget allows.
TEST(MemoryBound, BudgetsBoundRepeatedMeshesAndHugeRlePictures) {
    if (kSanitized) GTEST_SKIP() << "address-space limits do not work under AddressSanitizer";
    const ScratchFolder dir("orbelune-budgets-");
    tds::TdsObject big;
    for (int i = 0; i < 65535; ++i) big.vertices.push_back({float(i % 256), float(i / 256), 0.0f});
    ASSERT_TRUE(tds::write3dsFile((dir.root() / "big.3ds").string(), {big}));
    std::string script;
    for (int i = 0; i < 1000; ++i) script += "FILENAME=big.3ds\n";
    dir.write("s.dat", script + "EOF\n");

    dir.write("rle.bmp", hardening::blankRleBitmap(8192, 2));
    const std::vector<std::string> list(100, "rle.bmp");

    const WorkingDirectory here(dir.root());
    struct Case {
        const char* what;
        size_t allowance;
        std::function<std::vector<std::string>()> load;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"repeated mesh", (size_t{32} << 20) + size_t(kShowVertexBudget) * (sizeof(MeshVertex) + sizeof(Vec3)) * 5 / 4,  // vertex and ring entry
         [] {
             Diagnostics found;
             resetLightCounter();
             Scene scene;
             scene.loadScene("s.dat", found);
             return messageLines(found);
         },
         "multimedia error: big.3ds takes the show past its budget of " + std::to_string(kShowVertexBudget) +
             " vertices"},
        {"repeated RLE picture", (size_t{32} << 20) + size_t(kTexturePixelBudget) * 3 * 5 / 4,
         [&] {
             Diagnostics found;
             std::vector<RgbImage> kept;
             loadListedPictures(list, [&](size_t, RgbImage&& image) { kept.push_back(std::move(image)); }, found,
                                ListFailure::ends);
             return messageLines(found);
         },
         "multimedia error: rle.bmp takes the textures past their budget of " +
             std::to_string(kTexturePixelBudget) + " pixels"},
    };
    for (const Case& c : cases) EXPECT_EQ(underCap(c.allowance, c.load, {c.message}), 0) << c.what;
}
