// The golden moments (tools/show-moments.txt: one per section) and their
// rendering by the capture path at the golden frames' size, 320 x 240, for
// the tests that compare a program's frames with tests/golden (tests only).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/png_read.h"

struct GoldenMoment {
    int section = 0;
    std::string seconds;
};

inline std::vector<GoldenMoment> goldenMoments(const std::string& sourceDir) {
    std::vector<GoldenMoment> list;
    std::ifstream in(sourceDir + "/tools/show-moments.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        GoldenMoment m;
        fields >> m.section >> m.seconds;
        list.push_back(m);
    }
    return list;
}

// The program's frame at the moment (tools/capture-moment) and the golden
// frame of its section; false when either could not be had.
inline bool renderGoldenMoment(const std::string& sourceDir, const std::string& program,
                               const std::string& dataDir, const GoldenMoment& m, PngPicture& got,
                               PngPicture& want) {
    namespace fs = std::filesystem;
    const fs::path out = fs::temp_directory_path() / ("orbelune-golden-" + fs::path(program).filename().string());
    fs::create_directories(out);
    const fs::path frame = out / ("section" + std::to_string(m.section) + ".png");
    const std::string command = sourceDir + "/tools/capture-moment '" + program + "' '" +
                                fs::path(dataDir).parent_path().string() + "' " + m.seconds + " 320x240 '" +
                                frame.string() + "'";
    return std::system(command.c_str()) == 0 && readPng(frame.string(), got) &&
           readPng(sourceDir + "/tests/golden/section" + std::to_string(m.section) + ".png", want);
}
