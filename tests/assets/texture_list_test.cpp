// Texture-list line rules: newline-terminated reads of at most 98 characters,
// CR LF as one newline, an unterminated last line not counted, 100 entries at most.
#include <gtest/gtest.h>

#include <sstream>

#include "assets/texture_table.h"

using List = std::vector<std::string>;
using namespace std::string_literals;

static List entries(const std::string& bytes) {
    std::istringstream in(bytes);
    return readTextureList(in);
}

TEST(TextureList, LineRules) {
    EXPECT_EQ(entries(""), List{});
    EXPECT_EQ(entries("a\nb\nc"), (List{"a", "b"}));  // unterminated last line
    EXPECT_EQ(entries("a\n\n"), (List{"a", ""}));     // blank last line: empty path
    // CR LF is one newline; a lone CR belongs to the path; no trimming; NUL ends a path.
    EXPECT_EQ(entries("data\\x.bmp\r\n y \r\nq\rz\nab\0cd\n"s),
              (List{"data\\x.bmp", " y ", "q\rz", "ab"}));
    // 97 characters fit one read; 98 lose the last one to the first read and
    // the newline makes a second, empty entry; a 98-character tail without
    // newline is a full read and counts; 200 characters make three reads.
    const std::string p97(97, 'x');
    EXPECT_EQ(entries(p97 + "\n" + p97 + "\r\n"), (List{p97, p97}));
    EXPECT_EQ(entries(p97 + "z\n"), (List{p97, ""}));
    EXPECT_EQ(entries("a\n" + p97 + "z"), (List{"a", p97}));
    EXPECT_EQ(entries(std::string(200, 'x') + "\n"), (List{p97, p97, "xxxx"}));
    // The 100-entry limit: hardening/hostile_files_test (texture_list_more_than_100_lines.dat);
    // indices outside the table: render/scene_draw_test.
}
