// Faults planted in a copy of the generated data folder and the real program
// run on it headless (every message box prints "caption: text" on stderr).
// Each fault must give its messages in order, the outcome the program
// promises (the show goes on, or start-up ends) with its exit status (0
// after the show, 1 after a start-up failure or a process-ending loader
// error), and never a crash or a hang.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "hardening/hostile_cases.h"
#include "hardening/run_program.h"
#include "tools/temp_show_folder.h"

namespace fs = std::filesystem;

namespace {

using hardening::ProgramRun;

// The program played for half a second on `copy`'s data folder. Start-up
// and half a second of show take a few seconds (a minute under the
// sanitizers); three minutes means the program hangs.
ProgramRun play(const TempShowFolder& copy) {
    return hardening::runProgram(
        {"--no-dialog", "--windowed", "--no-music", "--data", (copy.root / "data").string(), "--end", "0.5"}, 180);
}

// No crash, the messages in order, and either the show went on to its end
// (status 0 after its half second) or start-up ended (status 1).
void expectRun(const ProgramRun& run, int status, const std::vector<std::string>& messages) {
    EXPECT_EQ(run.signal, "");
    EXPECT_EQ(run.status, status);
    EXPECT_EQ(run.messages, messages);
    if (status == 0) {
        EXPECT_GE(run.seconds, 0.5);
    }
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
    std::function<std::pair<fs::path, std::string>(const TempShowFolder&)> file;
    int status;                          // for every kind but an empty file
    std::vector<std::string> messages;   // {} then
    int emptyStatus;
    std::vector<std::string> emptyMessages;
};

// A data path as the data files write it, on disk.
fs::path onDisk(const TempShowFolder& copy, const std::string& written) { return copy.root / copy.resolve(written); }

}  // namespace

// Every kind of file that is not a readable regular file, in each of the four
// roles: the role's own "cannot open" message and outcome, at once (a FIFO or
// a device is never read); an empty file is read and refused as its content
// (the decoder's, script reader's or mesh reader's message and outcome).
TEST(FaultInjection, EachFileKindInEachRoleGivesTheRoleMessage) {
    const std::string initFailed = "ERROR: Initialization Failed.";
    const std::vector<RoleCase> roles = {
        {"texture list", [](auto& c) { return std::pair{c.root / "data/script/texture.dat", std::string()}; },
         1, {"multimedia error: Unable to open texture.dat", initFailed}, 0,
         {"orbelune: warning: data\\script\\texture.dat lists no picture, so every object is drawn untextured and "
          "the show's pictures come out white (--check tells more)"}},
        {"bitmap", [](auto& c) { return std::pair{onDisk(c, c.textureListEntry(1)), c.textureListEntry(1)}; }, 1, {"multimedia error: Unable to open @", initFailed}, 1,
         {"Error: Failed to open DIB file %.", "multimedia error: Unable to open @", initFailed}},
        {"scene script", [](auto& c) { return std::pair{c.root / "data/script/scene3.dat", std::string()}; },
         0, {"scenefile error: scenefile not found"}, 0,
         {"scenefile error: no valid attrib found on line 1, data\\script\\scene3.dat."}},
        {"mesh", [](auto& c) {
             const std::string mesh = c.firstMeshOf("data/script/scene4.dat");
             return std::pair{onDisk(c, mesh), mesh};
         },
         1, {"multimedia error: cannot open 3ds-file"}, 1, {"multimedia error: 3dsfile is fucked up"}},
    };
    for (const RoleCase& role : roles) {
        const TempShowFolder copy;
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
            expectRun(play(copy), empty ? role.emptyStatus : role.status, expected);
            if (kind == FileKind::Unreadable) fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
        }
    }
}

// SIGTERM while the show loads (here: a texture list of large pictures,
// within the pixel budget, that takes seconds to upload) ends the program
// promptly (the program allows itself 0.4 s; the bound here leaves room
// for a loaded machine), with the signal's status.
// A load that does not end (here the opening of one picture never returns)
// must not keep the program from ending on SIGTERM or SIGINT: it ends within
// the watchdog's grace with the signal's status.
TEST(FaultInjection, SignalDuringALoadThatNeverEndsEndsTheProgramPromptly) {
    const TempShowFolder copy;
    std::ofstream(copy.root / "data/held.bmp", std::ios::binary) << hardening::blankRleBitmap(16);
    std::ofstream(copy.root / "data/script/texture.dat", std::ios::binary | std::ios::trunc) << "data\\held.bmp\n";

    const std::vector<std::string> args = {"--no-dialog", "--windowed", "--no-music", "--data", (copy.root / "data").string()};
    for (const int signo : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(signo));
        const ProgramRun run = hardening::runProgram(args, 180, {signo, "held.bmp"});
        EXPECT_EQ(run.signal, "");
        EXPECT_EQ(run.status, 128 + signo);
        EXPECT_GE(run.secondsAfterSignal, 0.0);
        EXPECT_LT(run.secondsAfterSignal, 2.5);
    }
}
