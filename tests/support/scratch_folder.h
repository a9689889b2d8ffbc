// Folders for tests: a fresh one under the temporary directory, removed with
// everything in it at the end, and a guard that makes a folder the working
// directory while it lives.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& dir) : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() { std::filesystem::current_path(saved_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path saved_;
};

class ScratchFolder {
public:
    // `prefix` plus a unique suffix, e.g. "orbelune-scene-".
    explicit ScratchFolder(const std::string& prefix) {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make " + pattern);
        root_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // Writes `bytes` to `relative` (folders made as needed); returns the full path.
    std::string write(const std::string& relative, const std::string& bytes) const {
        std::filesystem::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative, std::ios::binary) << bytes;
        return (root_ / relative).string();
    }

private:
    std::filesystem::path root_;
};
