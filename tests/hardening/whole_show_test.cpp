// The whole bundled show rendered offline at a small size and a low frame
// rate: every section, every effect, four frames per second of show, as
// numbered PNG frames. In a sanitizer build
// (ORBELUNE_SANITIZE) this is the show under AddressSanitizer,
// UndefinedBehaviorSanitizer and LeakSanitizer: any report is printed on
// stderr and fails the run; in a plain build it still proves the show plays
// to its end on the generated data without a message.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "hardening/run_program.h"

namespace fs = std::filesystem;

namespace {

class CaptureFolder {
public:
    CaptureFolder() : dir_(fs::temp_directory_path() / ("orbelune-show-" + std::to_string(::getpid()))) {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    ~CaptureFolder() { fs::remove_all(dir_); }
    const fs::path& path() const { return dir_; }
    size_t frames() const {
        size_t n = 0;
        for (const auto& e : fs::directory_iterator(dir_)) n += e.path().extension() == ".png";
        return n;
    }

private:
    fs::path dir_;
};

}  // namespace

TEST(WholeShow, EverySectionRendersWithoutAReport) {
    const CaptureFolder frames;
    const hardening::ProgramRun run =
        hardening::runProgram({"--no-dialog", "--no-music", "--data", GENERATED_DATA, "--mode", "160x120",
                               "--fps", "4", "--capture", frames.path().string()},
                              hardening::sanitizerBuild() ? 1800 : 600);
    std::vector<std::string> reports = run.messages;
    std::erase_if(reports, [](const std::string& line) { return line.rfind("capture: frame ", 0) == 0; });
    EXPECT_EQ(run.signal, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(reports, std::vector<std::string>{});
    EXPECT_GE(frames.frames(), 4u * 230);  // 231 s of show at 4 frames a second
}
