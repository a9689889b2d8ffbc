// Faults planted in a copy of the generated data folder and the real
// program run on it headless (no DISPLAY, so every message box
// prints "caption: text" on stderr). Each
// fault must give its messages in order, the outcome the program promises
// (the show goes on, or start-up ends) and its exit status (0 after the
// show, 1 after a start-up failure or a process-ending loader error), and
// never a crash or a hang. (Untouched data: hardening/whole_show_test; a
// missing texture list or soundtrack: the in-process start-up tests,
// shell/app_test.)
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "assets/data_path.h"
#include "hardening/hostile_cases.h"
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

}  // namespace

// ---- file kinds ------------------------------------------------------------------

namespace {

enum class FileKind { Folder, Fifo, DevZeroLink, DanglingLink, Unreadable, Empty };

const std::pair<FileKind, const char*> kKinds[] = {
    {FileKind::Folder, "folder"},           {FileKind::Fifo, "FIFO nobody writes"},
    {FileKind::DevZeroLink, "link to /dev/zero"}, {FileKind::DanglingLink, "dangling link"},
    {FileKind::Unreadable, "unreadable"},   {FileKind::Empty, "empty"}};

// Puts a file of that kind where `path` was; false when the kind cannot be
// made here (an unreadable file is readable to root).
bool plant(const fs::path& path, FileKind kind) {
    fs::remove_all(path);
    switch (kind) {
        case FileKind::Folder: fs::create_directory(path); return true;
        case FileKind::Fifo: return mkfifo(path.c_str(), 0600) == 0;
        case FileKind::DevZeroLink: fs::create_symlink("/dev/zero", path); return true;
        case FileKind::DanglingLink: fs::create_symlink(path.string() + ".gone", path); return true;
        case FileKind::Unreadable:
            std::ofstream(path) << "x";
            fs::permissions(path, fs::perms::none);
            return !std::ifstream(path).is_open();
        case FileKind::Empty: std::ofstream{path}; return true;
    }
    return false;
}

struct RoleCase {
    const char* role;
    // The file of that role in the copy, and the name the program's messages give it.
    std::function<std::pair<fs::path, std::string>(const DataCopy&)> file;
    int status;                          // for every kind but an empty file
    std::vector<std::string> messages;   // {} then
    int emptyStatus;
    std::vector<std::string> emptyMessages;
};

std::string firstMesh(const DataCopy& copy) {
    const std::vector<std::string> script = copy.script("scene4.dat");
    const auto mesh = std::find_if(script.begin(), script.end(), [](auto& l) { return l.rfind("FILENAME=", 0) == 0; });
    return mesh == script.end() ? std::string() : mesh->substr(9);
}

}  // namespace

// Every kind of file that is not a readable regular file, in each of the four
// roles: the role's own "cannot open" message and outcome, at once (a FIFO or
// a device is never read); an empty file is read and refused as its content
// (the decoder's, script reader's or mesh reader's message and outcome).
TEST(FaultInjection, EachFileKindInEachRoleGivesTheRoleMessage) {
    const std::string initFailed = "ERROR: Initialization Failed.";
    const std::vector<RoleCase> roles = {
        {"texture list", [](const DataCopy& c) { return std::pair{c.data() / "script" / "texture.dat", std::string()}; },
         1, {"multimedia error: Unable to open texture.dat", initFailed}, 0, {}},
        {"bitmap", [](const DataCopy& c) {
             const std::string written = c.script("texture.dat").at(1);
             return std::pair{c.resolve(written), written};
         }, 1, {"multimedia error: Unable to open @", initFailed}, 1,
         {"Error: Failed to open DIB file %.", "multimedia error: Unable to open @", initFailed}},
        {"scene script", [](const DataCopy& c) { return std::pair{c.data() / "script" / "scene3.dat", std::string()}; },
         0, {"scenefile error: scenefile not found"}, 0,
         {"scenefile error: no valid attrib found on line 1, data\\script\\scene3.dat."}},
        {"mesh", [](const DataCopy& c) { return std::pair{c.resolve(firstMesh(c)), firstMesh(c)}; },
         1, {"multimedia error: cannot open 3ds-file"}, 1, {"multimedia error: 3dsfile is fucked up"}},
    };
    for (const RoleCase& role : roles) {
        const DataCopy copy(std::string("kinds-") + role.role[0]);
        const auto [path, written] = role.file(copy);
        for (const auto& [kind, name] : kKinds) {
            SCOPED_TRACE(std::string(role.role) + ", " + name);
            if (!plant(path, kind)) continue;  // root reads an unreadable file
            const bool empty = kind == FileKind::Empty;
            std::vector<std::string> expected = empty ? role.emptyMessages : role.messages;
            for (std::string& line : expected) {
                if (const size_t at = line.find('@'); at != std::string::npos) line.replace(at, 1, written);
                if (const size_t at = line.find('%'); at != std::string::npos) line.replace(at, 1, path.string());
            }
            expectRun(copy.play(), empty ? role.emptyStatus : role.status, expected);
            if (kind == FileKind::Unreadable) fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
        }
    }
}

// SIGTERM while the show loads (here: a texture list of large pictures,
// within the pixel budget, that takes seconds to upload) ends the program
// promptly (the program allows itself 0.4 s; the bound here leaves room
// for a loaded machine), with the signal's status.
TEST(FaultInjection, SignalDuringALongLoadEndsTheProgramPromptly) {
    const DataCopy copy("signal");
    std::ofstream(copy.data() / "big.bmp", std::ios::binary) << hardening::blankRleBitmap(4096);
    std::string list;
    for (int i = 0; i < 4; ++i) list += "data\\big.bmp\n";
    std::ofstream(copy.data() / "script" / "texture.dat", std::ios::binary | std::ios::trunc) << list;

    const std::vector<std::string> args = {"--no-dialog", "--windowed", "--no-music", "--data", copy.data().string()};
    const ProgramRun run = hardening::runProgram(args, 180, {SIGTERM, 0.3});
    EXPECT_EQ(run.signal, "");
    EXPECT_EQ(run.status, 128 + SIGTERM);
    EXPECT_GE(run.secondsAfterSignal, 0.0);
    EXPECT_LT(run.secondsAfterSignal, 2.5);
}
