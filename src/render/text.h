// Text on the picture for the authoring mode: a fixed 6 x 13 pixel font of
// the printable ASCII characters, built into the program, drawn as one quad
// per run of lit pixels in window pixels (origin at the top-left corner, y
// down). Characters outside 32..126 are drawn as '?'.
//
// GL state: beginPixelView switches texturing, lighting, fog, depth test,
// culling and the scissor off, blending on with (source alpha, one minus
// source alpha), and sets window-pixel matrices over the whole window;
// endPixelView puts back every piece of state beginPixelView changed.
#pragma once

#include <cstdint>
#include <string_view>

constexpr int kGlyphWidth = 6;
constexpr int kGlyphHeight = 13;

// The rows of a character's glyph, top row first; bit 5 is the leftmost pixel.
const uint8_t* glyphRows(char c);
// Width in pixels of `text` drawn at `scale`.
int textWidth(std::string_view text, int scale = 1);

void beginPixelView(int windowWidth, int windowHeight);
void endPixelView();

// Draws `text` in the current colour with its top-left corner at (x, y),
// each font pixel `scale` x `scale` window pixels. Needs the pixel view.
void drawText(std::string_view text, int x, int y, int scale = 1);
// A filled rectangle in the current colour. Needs the pixel view.
void fillRect(int x, int y, int width, int height);
