#include "assets/data_path.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

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

}  // namespace

std::string resolveDataPath(std::string_view path) {
    std::string converted(path);
    std::replace(converted.begin(), converted.end(), '\\', '/');
    std::error_code ec;
    if (converted.empty() || fs::exists(converted, ec)) return converted;

    fs::path resolved;
    bool first = true;
    for (const fs::path& part : fs::path(converted)) {
        std::string name = part.string();
        if (first && part.has_root_directory() && name == "/") {
            resolved = part;
        } else if (name.empty() || name == "." || name == "..") {
            resolved /= part;
        } else {
            fs::path exact = resolved / part;
            if (fs::exists(exact, ec)) {
                resolved = exact;
            } else {
                std::string match = findEntry(resolved, name);
                if (match.empty()) return converted;
                resolved /= match;
            }
        }
        first = false;
    }
    return resolved.string();
}
