// Faults planted in a copy of the generated data folder, one per test, and
// the real program run on it headless (no DISPLAY, so every message box
// prints "caption: text" on stderr). Each
// fault must give its messages in order, the outcome the program promises
// (the show goes on, or start-up ends) and its exit status (0 after the
// show, 1 after a start-up failure or a process-ending loader error), and
// never a crash or a hang. (Untouched data: hardening/whole_show_test; a
// missing texture list or soundtrack: the in-process start-up tests,
// shell/app_test.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "assets/data_path.h"
#include "hardening/run_program.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

using hardening::ProgramRun;

// The non-empty lines of a text file, without their line ends.
std::vector<std::string> lines(const fs::path& file) {
    std::ifstream in(file);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) out.push_back(line);
    }
    return out;
}

// A private copy of the generated data folder, removed afterwards.
class DataCopy {
public:
    explicit DataCopy(const std::string& name) : folder_("orbelune-fault-" + name + "-") {
        fs::copy(GENERATED_DATA, data(), fs::copy_options::recursive);
    }

    fs::path data() const { return folder_.root() / "data"; }

    // A path as the data files write it ("data\textures\x.bmp"), on disk.
    fs::path resolve(const std::string& written) const {
        const WorkingDirectory here(folder_.root());
        return folder_.root() / resolveDataPath(written);
    }

    std::vector<std::string> script(const std::string& file) const { return lines(data() / "script" / file); }

    ProgramRun play() const {
        const std::vector<std::string> args = {"--no-dialog", "--windowed", "--no-music",
                                               "--data",      data().string(), "--end", "0.5"};
        // Start-up and half a second of show take a few seconds (a minute
        // under the sanitizers); three minutes means the program hangs.
        return hardening::runProgram(args, 180);
    }

private:
    ScratchFolder folder_;
};

// No crash, the messages in order, and either the show went on to its end
// (status 0 after its half second) or start-up ended (status 1).
void expectRun(const ProgramRun& run, int status, const std::vector<std::string>& messages) {
    EXPECT_EQ(run.signal, "");
    EXPECT_EQ(run.status, status);
    EXPECT_EQ(run.messages, messages);
    if (status == 0) EXPECT_GE(run.seconds, 0.5);
}

void replaceFile(const fs::path& path, const std::string& content) {
    ASSERT_TRUE(fs::exists(path)) << path;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

}  // namespace

TEST(FaultInjection, CorruptBitmapShowsTheDecoderMessageThenEndsStartUp) {
    const DataCopy copy("bad-bitmap");
    const std::string written = copy.script("texture.dat").at(1);
    // "BM", then a header size no bitmap reader here knows.
    replaceFile(copy.resolve(written), std::string("BM\x40\0\0\0\0\0\0\0\x36\0\0\0\x40\0\0\0", 18) +
                                           std::string(40, '\x01'));
    expectRun(copy.play(), 1,
              {"Error: Unknown DIB file format.", "multimedia error: Unable to open " + written,
               "ERROR: Initialization Failed."});
}

TEST(FaultInjection, MissingScriptIsReportedAndTheShowGoesOn) {
    const DataCopy copy("no-script");
    ASSERT_TRUE(fs::remove(copy.data() / "script" / "scene3.dat"));
    expectRun(copy.play(), 0, {"scenefile error: scenefile not found"});
}

TEST(FaultInjection, BadScriptLineIsReportedAndTheShowGoesOn) {
    const DataCopy copy("bad-line");
    std::vector<std::string> all = copy.script("scene2.dat");
    ASSERT_GE(all.size(), 2u);
    all.insert(all.begin() + 1, "FOG = ON");
    std::ostringstream text;
    for (const std::string& line : all) text << line << "\n";
    replaceFile(copy.data() / "script" / "scene2.dat", text.str());
    expectRun(copy.play(), 0, {"scenefile error: no valid attrib found on line 2, data\\script\\scene2.dat."});
}

TEST(FaultInjection, MeshThatIsNotA3dsFileEndsTheProcess) {
    const DataCopy copy("bad-mesh");
    const std::vector<std::string> script = copy.script("scene4.dat");
    const auto mesh = std::find_if(script.begin(), script.end(), [](auto& l) { return l.rfind("FILENAME=", 0) == 0; });
    ASSERT_NE(mesh, script.end());
    replaceFile(copy.resolve(mesh->substr(9)), "solid cube\nfacet normal 0 0 1\n");
    expectRun(copy.play(), 1, {"multimedia error: 3dsfile is fucked up"});
}
