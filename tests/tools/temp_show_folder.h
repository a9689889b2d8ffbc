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

    std::string textureListEntry(size_t index) const {
        std::ifstream list(resolveDataPath("data/script/texture.dat"));
        auto entries = readTextureList(list);
        return index < entries.size() ? entries[index] : std::string();
    }

    std::string firstMeshOf(const std::string& script) const {
        std::ifstream in(resolveDataPath(script));
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind("FILENAME=", 0) == 0) return line.substr(9);
        }
        return {};
    }

    // Inserts a line before the script's EOF line (keeping its line ends).
    void appendLineBeforeEof(const std::string& script, const std::string& text) const {
        std::string path = resolveDataPath(script);
        std::ifstream in(path, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        std::string content = all.str();
        size_t eof = content.rfind("EOF");
        ASSERT_NE(eof, std::string::npos);
        bool crlf = content.find("\r\n") != std::string::npos;
        content.insert(eof, text + (crlf ? "\r\n" : "\n"));
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    }

private:
    std::optional<WorkingDirectory> cwd_;
};
