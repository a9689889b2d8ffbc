// A private copy of the generated show folder in a temporary directory, made
// the working directory for the test's lifetime, so tests can break files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "assets/data_path.h"
#include "assets/texture_table.h"
#include "support/scratch_folder.h"

class TempShowFolder {
    ScratchFolder folder_{"orbelune-show-"};

public:
    const std::filesystem::path root = folder_.root();

    TempShowFolder() {
        std::filesystem::copy(ORBELUNE_DATA_DIR, root / "data", std::filesystem::copy_options::recursive);
        cwd_.emplace(root);
    }

    // A data path as the scripts write it, resolved under the copy.
    std::filesystem::path resolve(const std::string& dataPath) const { return resolveDataPath(dataPath); }

    std::string read(const std::string& dataPath) const {
        std::ifstream in(resolve(dataPath), std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

    void write(const std::string& dataPath, const std::string& bytes) const {
        std::ofstream(resolve(dataPath), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string textureListEntry(size_t index) const {
        std::istringstream list(read("data/script/texture.dat"));
        auto entries = readTextureList(list);
        return index < entries.size() ? entries[index] : std::string();
    }

    std::string firstMeshOf(const std::string& script) const {
        const std::string text = read(script);
        const size_t at = text.find("FILENAME="), end = text.find_first_of("\r\n", at);
        return at == std::string::npos ? std::string() : text.substr(at + 9, end - at - 9);
    }

    // Replaces the first `from` in a data file (ASSERTs that it is there).
    void edit(const std::string& dataPath, const std::string& from, const std::string& to) const {
        std::string content = read(dataPath);
        const size_t at = content.find(from);
        ASSERT_NE(at, std::string::npos) << dataPath << ": " << from;
        content.replace(at, from.size(), to);
        write(dataPath, content);
    }

    // Inserts a line before the script's EOF line (keeping its line ends).
    void appendLineBeforeEof(const std::string& script, const std::string& text) const {
        const bool crlf = read(script).find("\r\n") != std::string::npos;
        edit(script, "EOF", text + (crlf ? "\r\n" : "\n") + "EOF");
    }

private:
    std::optional<WorkingDirectory> cwd_;
};
