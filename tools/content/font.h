// A small built-in bitmap font (5 dots wide, 7 dots cap height, 2 rows of
// descender) for lettering the title, credit and loading pictures.
#pragma once

#include <string_view>

#include "content/picture.h"

namespace content {

constexpr int kGlyphWidth = 5;   // dots
constexpr int kGlyphHeight = 9;  // dots, descenders included
constexpr int kGlyphAdvance = 6; // dots from one letter to the next
constexpr int kLineAdvance = 11; // dots from one line to the next

// True when the font has a glyph for c (others are drawn as blanks).
bool hasGlyph(char c);
// Dot (col, row) of c's glyph is set; row 0 is the top.
bool glyphDot(char c, int col, int row);

struct TextStyle {
    float dotWidth = 4.0f;   // picture pixels per dot, horizontally
    float dotHeight = 4.0f;  // picture pixels per dot, vertically
    float dotFill = 1.0f;    // part of each dot cell that is inked (0..1), both directions
    Rgbf colour{1, 1, 1};    // white
};

// Width of the text in picture pixels (last letter without its gap).
float textWidth(std::string_view text, const TextStyle& style);
// Draws the text with its top-left corner at (x, y), adding to the picture.
void drawText(Picture& p, std::string_view text, float x, float y, const TextStyle& style);
// Draws the text centred horizontally on cx.
void drawTextCentred(Picture& p, std::string_view text, float cx, float y, const TextStyle& style);

}  // namespace content
