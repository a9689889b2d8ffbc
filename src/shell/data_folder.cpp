// Finding the data folder: the command line, then the working directory, the
// user's data home and last the installed tree next to the executable.

#include "shell/data_folder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "assets/data_path.h"
#include "shell/command_line.h"

#ifndef ORBELUNE_DATA_FROM_BIN
#define ORBELUNE_DATA_FROM_BIN "../share/orbelune/data"
#endif

namespace fs = std::filesystem;

namespace {

bool sameLetters(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return i == a.size() && !b[i];
}

bool holdsFolder(const fs::path& dir, const char* name) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (sameLetters(it->path().filename().string(), name) && it->is_directory(ec)) return true;
    return false;
}

// `dir`/data in any letter case (exact name first); empty when there is none.
fs::path dataBelow(const fs::path& dir) {
    std::error_code ec;
    if (fs::is_directory(dir / "data", ec)) return dir / "data";
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (sameLetters(it->path().filename().string(), "data") && it->is_directory(ec)) return it->path();
    return {};
}

fs::path absoluteFrom(const fs::path& base, const fs::path& path) {
    fs::path full = path.is_absolute() ? path : base / path;
    return full.lexically_normal();
}

std::string withoutTrailingSlash(fs::path path) {
    std::string text = path.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace

DataPlaces defaultDataPlaces() {
    DataPlaces places;
    std::error_code ec;
    places.workingDirectory = fs::current_path(ec);
    if (const char* xdg = std::getenv("XDG_DATA_HOME")) places.xdgDataHome = xdg;
    if (const char* home = std::getenv("HOME")) places.home = home;
    places.executable = fs::read_symlink("/proc/self/exe", ec);
    if (ec) places.executable.clear();
    return places;
}

bool isDataFolder(const fs::path& dir) { return holdsFolder(dir, "script") && holdsFolder(dir, "textures"); }

DataFolderChoice findDataFolder(const std::string& option, const DataPlaces& places) {
    DataFolderChoice choice;
    auto take = [&choice](const fs::path& folder, const char* origin) {
        choice.folder = fs::path(withoutTrailingSlash(folder));
        choice.origin = origin;
        return choice;
    };

    if (!option.empty()) {
        const fs::path dir = absoluteFrom(places.workingDirectory, option);
        std::error_code ec;
        if (!fs::is_directory(dir, ec)) {
            choice.error = "cannot use data folder '" + option + "': not a folder";
            return choice;
        }
        choice.lookedIn.push_back(withoutTrailingSlash(dir));
        if (isDataFolder(dir)) return take(dir, "--data");
        const fs::path below = dataBelow(dir);
        choice.lookedIn.push_back(withoutTrailingSlash(below.empty() ? dir / "data" : below));
        if (!below.empty() && isDataFolder(below)) return take(below, "--data");
        choice.error = "cannot use data folder '" + option + "': looked for the folders script and textures in " +
                       choice.lookedIn[0] + " and in " + choice.lookedIn[1] + ", found neither pair";
        return choice;
    }

    std::vector<std::pair<fs::path, const char*>> candidates;
    if (!places.workingDirectory.empty()) candidates.emplace_back(places.workingDirectory / "data", "./data");
    // Relative values of XDG_DATA_HOME are invalid and ignored.
    if (!places.xdgDataHome.empty() && fs::path(places.xdgDataHome).is_absolute())
        candidates.emplace_back(fs::path(places.xdgDataHome) / "orbelune" / "data", "$XDG_DATA_HOME");
    else if (!places.home.empty() && fs::path(places.home).is_absolute())
        candidates.emplace_back(fs::path(places.home) / ".local/share/orbelune/data", "~/.local/share/orbelune/data");
    if (!places.executable.empty())
        candidates.emplace_back(
            (places.executable.parent_path() / ORBELUNE_DATA_FROM_BIN).lexically_normal(), "installed");

    for (const auto& [folder, origin] : candidates) {
        choice.lookedIn.push_back(withoutTrailingSlash(folder));
        if (isDataFolder(folder)) return take(folder, origin);
    }
    choice.error = "no data folder found (a folder holding script and textures); looked in:";
    for (const std::string& place : choice.lookedIn) choice.error += "\n  " + place;
    return choice;
}

std::string describeDataFolder(const DataFolderChoice& choice) {
    if (choice.folder.empty()) return choice.error;
    return "data folder: " + choice.folder.string() + " (" + choice.origin + ")";
}

bool liesInside(const fs::path& path, const fs::path& folder) {
    std::error_code ec;
    const fs::path target = fs::weakly_canonical(fs::absolute(path, ec), ec);
    const fs::path base = fs::weakly_canonical(folder, ec);
    if (ec || base.empty()) return false;
    auto [b, t] = std::mismatch(base.begin(), base.end(), target.begin(), target.end());
    return b == base.end() || (b->empty() && std::next(b) == base.end());
}

int useDataFolder(const CommandLine& options, const DataFolderChoice& choice) {
    // A lone file may be inspected without any data folder.
    const bool needsData = options.inspect.empty() || !options.dataDir.empty();
    if (choice.folder.empty()) {
        if (!needsData) return 0;
        std::fprintf(stderr, "orbelune: %s\n", choice.error.c_str());
        return 1;
    }
    for (const std::string* output : {&options.capture, &options.out}) {
        if (!output->empty() && liesInside(*output, choice.folder)) {
            std::fprintf(stderr, "orbelune: '%s' lies inside the data folder %s, which the program only reads\n",
                         output->c_str(), choice.folder.c_str());
            return 2;
        }
    }
    setDataFolder(choice.folder);
    return 0;
}
