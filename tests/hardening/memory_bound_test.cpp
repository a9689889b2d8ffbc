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
#include <new>
#include <string>
#include <vector>

#include "hardening/hostile_cases.h"
#include "hardening/run_program.h"

namespace {

const bool kSanitized = hardening::sanitizerBuild();

size_t currentAddressSpace() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmSize:", 0) == 0) return std::stoul(line.substr(7)) * 1024;  // kB
    return 0;
}

// Exit status of a child that loads `file` under the cap: 0 done with the
// same messages as without a cap, 3 an allocation was refused, 5 other
// messages (a loader reported running out of memory), 128 + n killed by
// signal n.
int loadUnderCap(const hardening::HostileFile& file, size_t allowance,
                 const std::vector<std::string>& uncapped) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const rlim_t cap = currentAddressSpace() + allowance;
        const rlimit limit{cap, cap};
        if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(4);
        try {
            _exit(hardening::loadHostile(file) == uncapped ? 0 : 5);
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
        EXPECT_EQ(loadUnderCap(file, allowance, hardening::loadHostile(file)), 0);
    }
}

// The check itself: a cap far too small for the picture at the decoder's
// limit must be noticed (otherwise the test above proves nothing).
TEST(MemoryBound, TheCapIsEnforced) {
    if (kSanitized) GTEST_SKIP() << "address-space limits do not work under AddressSanitizer";
    const hardening::HostileFile big{"bmp_side_at_cap_rle.bmp", hardening::HostileKind::Bitmap};
    EXPECT_EQ(loadUnderCap(big, size_t{64} << 20, {}), 5);  // "Out of memory." instead of the picture
}
