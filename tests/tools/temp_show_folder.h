// A private copy of the generated show folder in a temporary directory, made
// the working directory for the test's lifetime, so tests can break files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "assets/data_path.h"
#include "assets/texture_table.h"

class TempShowFolder {
public:
    std::filesystem::path root;

    TempShowFolder() {
        namespace fs = std::filesystem;
        previous_ = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "orbelune-show-XXXXXX").string();
        root = mkdtemp(pattern.data());
        fs::copy(ORBELUNE_DATA_DIR, root / "data", fs::copy_options::recursive);
        fs::current_path(root);
    }
    ~TempShowFolder() {
        std::filesystem::current_path(previous_);
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
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
    std::filesystem::path previous_;
};
