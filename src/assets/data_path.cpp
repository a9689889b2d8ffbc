#include "assets/data_path.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A global on purpose: it stands in for the working directory the data's
// paths are relative to, which is process-wide too. Every loader resolves
// through it (the show, the tools, the fuzzers); it is written once, by
// useDataFolder before anything loads (and by tests between their cases),
// and only read afterwards.
fs::path chosenFolder;

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The entry of `dir` whose name matches `name` ignoring case; first in sorted order.
std::string findEntry(const fs::path& dir, std::string_view name) {
    std::error_code ec;
    std::vector<std::string> matches;
    for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (equalsIgnoreCase(entry, name)) matches.push_back(std::move(entry));
    }
    if (matches.empty()) return {};
    return *std::min_element(matches.begin(), matches.end());
}

// Walks `rest` below `base` (taken as it is), one component at a time.
std::string resolveBelow(fs::path resolved, const fs::path& rest, const std::string& unmatched) {
    std::error_code ec;
    for (const fs::path& part : rest) {
        const std::string name = part.string();
        if (name.empty() || name == "." || name == "..") {
            resolved /= part;
            continue;
        }
        fs::path exact = resolved / part;
        if (fs::exists(exact, ec)) {
            resolved = std::move(exact);
        } else {
            const std::string match = findEntry(resolved, name);
            if (match.empty()) return unmatched;
            resolved /= match;
        }
    }
    return resolved.string();
}

}  // namespace

void setDataFolder(const fs::path& folder) { chosenFolder = folder; }

const fs::path& dataFolder() { return chosenFolder; }

std::string resolveDataPath(std::string_view path) {
    std::string converted(path);
    std::replace(converted.begin(), converted.end(), '\\', '/');
    if (converted.empty()) return converted;

    const fs::path given(converted);
    if (!chosenFolder.empty() && given.is_relative() && equalsIgnoreCase(given.begin()->string(), "data")) {
        fs::path rest;
        for (auto it = std::next(given.begin()); it != given.end(); ++it) rest /= *it;
        const std::string inFolder = (chosenFolder / rest).string();
        std::error_code ec;
        if (fs::exists(inFolder, ec)) return inFolder;
        return resolveBelow(chosenFolder, rest, inFolder);
    }

    std::error_code ec;
    if (fs::exists(converted, ec)) return converted;
    fs::path root;
    fs::path rest = given;
    if (given.has_root_directory()) {
        root = given.root_path();
        rest = given.relative_path();
    }
    return resolveBelow(root, rest, converted);
}

std::string withSlashes(std::string_view path) {
    std::string out(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}
