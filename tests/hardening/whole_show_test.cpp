// The whole bundled show rendered offline at a small size and a low frame
// rate: every section, every effect, four frames per second of show, as
// numbered PNG frames. In a sanitizer build
// (ORBELUNE_SANITIZE) this is the show under AddressSanitizer,
// UndefinedBehaviorSanitizer and LeakSanitizer: any report is printed on
// stderr and fails the run; in a plain build it still proves the show plays
// to its end on the generated data without a message. The progress line's
// total (worked out before the run) must be the number of frames written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "hardening/run_program.h"
#include "support/scratch_folder.h"

TEST(WholeShow, EverySectionRendersWithoutAReport) {
    const ScratchFolder frames("orbelune-show-");
    const hardening::ProgramRun run =
        hardening::runProgram({"--no-dialog", "--no-music", "--data", ORBELUNE_DATA_DIR, "--mode", "160x120",
                               "--fps", "4", "--capture", frames.root().string()},
                              hardening::sanitizerBuild() ? 1800 : 600);
    std::vector<std::string> reports = run.messages;
    std::erase_if(reports, [](const std::string& line) { return line.rfind("capture: frame ", 0) == 0; });
    EXPECT_EQ(run.signal, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(reports, std::vector<std::string>{});
    size_t pngs = 0;
    for (const auto& e : std::filesystem::directory_iterator(frames.root())) pngs += e.path().extension() == ".png";
    EXPECT_GE(pngs, 4u * 230);  // 231 s of show at 4 frames a second
    const std::string last = "capture: frame " + std::to_string(pngs) + " of " + std::to_string(pngs) + " ";
    EXPECT_TRUE(!run.messages.empty() && run.messages.back().rfind(last, 0) == 0) << last;
}
