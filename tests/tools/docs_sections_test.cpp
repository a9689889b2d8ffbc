// The table of sections in docs/scene-scripts.md against the schedule and
// the sections' own scenes: every row's name, start, end and scripts, in
// order, so the table cannot drift from the show.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shell/schedule.h"
#include "shell/sections/section.h"

namespace {

std::string scriptName(SceneId id) {
    const std::string path = sceneSlot(id).script;
    return "`" + path.substr(path.rfind('\\') + 1) + "`";
}

TEST(DocsSectionTable, RowsAreTheSchedule) {
    std::ifstream in(std::string(ORBELUNE_SOURCE_DIR) + "/docs/scene-scripts.md");
    ASSERT_TRUE(in) << "docs/scene-scripts.md";
    std::vector<std::string> rows;
    bool inTable = false;
    for (std::string line; std::getline(in, line);) {
        if (line == "| # | name | start (s) | end (s) | scene drawn |") inTable = true;
        else if (inTable && line.rfind("| ", 0) == 0 && line.find("---") == std::string::npos) rows.push_back(line);
        else if (inTable && line.empty()) break;
    }
    ASSERT_EQ(rows.size(), kSectionCount);
    for (size_t i = 0; i < kSectionCount; ++i) {
        const auto& scenes = sectionUnit(i).scenes;
        std::string drawn = scriptName(scenes[0].id);
        if (scenes.size() > 1) drawn += ", then " + scriptName(scenes[1].id) + " over it";
        char expected[160];
        std::snprintf(expected, sizeof expected, "| %zu | %s | %.1f | %.1f | %s |", i + 1, kSections[i].name,
                      sectionStart(i) / 10.0, kSections[i].endTime / 10.0, drawn.c_str());
        EXPECT_EQ(rows[i], expected);
    }
}

}  // namespace
