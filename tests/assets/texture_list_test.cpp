// Texture-list line rules: newline-terminated reads of at most 98 characters,
// CR LF as one newline, an unterminated last line not counted, 100 entries at most.
#include <gtest/gtest.h>

#include <sstream>

#include "assets/texture_table.h"

namespace {

std::vector<std::string> entries(const std::string& bytes) {
    std::istringstream in(bytes);
    return readTextureList(in);
}

using List = std::vector<std::string>;

}  // namespace

TEST(TextureList, LineRules) {
    EXPECT_EQ(entries(""), List{});
    EXPECT_EQ(entries("a.bmp\nb.bmp\n"), (List{"a.bmp", "b.bmp"}));
    // Last line without a newline is not counted.
    EXPECT_EQ(entries("a\nb\nc"), (List{"a", "b"}));
    // A blank last line is an entry with an empty path.
    EXPECT_EQ(entries("a\n\n"), (List{"a", ""}));
    // CR LF is one newline; a lone CR is part of the path; no trimming.
    EXPECT_EQ(entries("data\\x.bmp\r\n y \r\nq\rz\n"), (List{"data\\x.bmp", " y ", "q\rz"}));
    // A NUL byte ends the path.
    EXPECT_EQ(entries(std::string("ab\0cd\n", 6)), (List{"ab"}));
}

TEST(TextureList, LongLinesSplitAt98Characters) {
    const std::string p97(97, 'x');
    EXPECT_EQ(entries(p97 + "\n"), (List{p97}));
    // 98 characters: the first read takes them all and loses the last one;
    // the newline then makes a second, empty entry.
    const std::string p98 = std::string(97, 'y') + "z";
    EXPECT_EQ(entries(p98 + "\n"), (List{std::string(97, 'y'), ""}));
    // 97 characters with CR LF still fit one read.
    EXPECT_EQ(entries(p97 + "\r\n"), (List{p97}));
    // A 98-character tail without newline is still a full read, so it counts.
    EXPECT_EQ(entries("a\n" + p98), (List{"a", std::string(97, 'y')}));
    // 200 characters: two full reads, then the rest with its newline.
    const std::string p200(200, 'w');
    EXPECT_EQ(entries(p200 + "\n"), (List{std::string(97, 'w'), std::string(97, 'w'), std::string(4, 'w')}));
}

TEST(TextureList, MoreThanAHundredLinesKeepsTheFirstHundred) {
    std::string text;
    for (int i = 0; i < 150; ++i) text += "t" + std::to_string(i) + ".bmp\n";
    const List got = entries(text);
    ASSERT_EQ(got.size(), 100u);
    EXPECT_EQ(got.front(), "t0.bmp");
    EXPECT_EQ(got.back(), "t99.bmp");
}

TEST(TextureList, IndexOutsideTheTableGivesName0) {
    TextureTable[0] = 11;
    TextureTable[99] = 12;
    EXPECT_EQ(textureName(0), 11u);
    EXPECT_EQ(textureName(99), 12u);
    EXPECT_EQ(textureName(100), 0u);
    EXPECT_EQ(textureName(-1), 0u);
    TextureTable[0] = TextureTable[99] = 0;
}
