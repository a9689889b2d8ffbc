// The start-up warnings for what the show mis-draws silently, on a copy of
// the generated show with each mistake planted: none for the clean folder,
// one line each for a texture index past the list (objects grouped), the
// show's own pictures past it, a list without its last newline, and lines
// after a script's EOF.
#include "shell/misdraw_warnings.h"

#include <gtest/gtest.h>

#include "scene/scene_script.h"
#include "shell/startup.h"
#include "shell/timeline.h"
#include "tools/temp_show_folder.h"

namespace {

size_t listLength(const TempShowFolder& folder) {
    return readTextureList(folder.read("data/script/texture.dat")).size();
}

std::vector<std::string> warningsOfFolder() {
    auto show = std::make_unique<Show>();
    resetLightCounter();
    Diagnostics reported;
    loadShowScenes(*show, reported);
    return misdrawWarnings(*show);
}

TEST(MisdrawWarnings, OneLinePerSilentMistake) {
    TempShowFolder folder;
    const std::string list = folder.read("data/script/texture.dat");
    EXPECT_EQ(warningsOfFolder(), std::vector<std::string>{});
    folder.write("data/script/texture.dat", "");
    EXPECT_EQ(warningsOfFolder(), std::vector<std::string>{"data\\script\\texture.dat lists no picture, so every "
                                                           "object is drawn untextured and the show's pictures come "
                                                           "out white"});
    folder.write("data/script/texture.dat", "data\\textures\\glow.bmp\n");
    EXPECT_EQ(warningsOfFolder().back().substr(0, 24), "the show draws pictures ");
    folder.write("data/script/texture.dat", list);

    const std::string last = list.substr(list.rfind('\n', list.size() - 2) + 1);
    folder.write("data/script/texture.dat", list.substr(0, list.find_last_not_of("\r\n") + 1));
    folder.edit("data/script/scene8.dat", "TEXTUREID=15", "TEXTUREID=77");
    folder.write("data/script/scene6.dat", folder.read("data/script/scene6.dat") + "FOG=ON\n");
    const std::vector<std::string> lines = warningsOfFolder();
    ASSERT_EQ(lines.size(), 4u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[0], "data\\script\\texture.dat: the last line \"" + last.substr(0, last.find_first_of("\r\n")) +
                            "\" has no newline, so that picture is not loaded");
    const std::string held = std::to_string(listLength(folder));
    EXPECT_EQ(lines[1], "data\\script\\scene8.dat: object 17 name texture 77 but the list holds " + held +
                            ", so they are drawn untextured");
    // The picture on the lost line is the stars' (scene4's) last one.
    EXPECT_EQ(lines[2], "data\\script\\scene4.dat: objects 3, 4, 5, 6, 7, 8, 9, 10 and 4 more name texture " +
                            held + " but the list holds " + held + ", so they are drawn untextured");
    EXPECT_NE(lines[3].find("data\\script\\scene6.dat: line "), std::string::npos);
    EXPECT_NE(lines[3].find(" \"FOG=ON\" comes after the EOF line and is not read"), std::string::npos);
}

}  // namespace
