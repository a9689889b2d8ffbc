// The authoring mode's text over the picture: a status line at the top
// (show time, frame of the 60-a-second step, section, frame rate, play
// state, loop range, camera) and, while the data cannot be played, the
// loader's problem below it, one block per message, wrapped to the window.
#pragma once

#include <string>
#include <vector>

#include "render/text.h"

// Where the text goes, in window pixels from the top-left corner.
constexpr int kOverlayLeft = 8;
constexpr int kOverlayTop = 8;
constexpr int kOverlayLineHeight = kGlyphHeight + 2;
// Top of the problem's first line below `statusLines` status lines.
constexpr int problemTop(size_t statusLines) {
    return kOverlayTop + static_cast<int>(statusLines) * kOverlayLineHeight + kOverlayLineHeight / 2;
}

// Lines of `text` (split at newlines) wrapped to at most `columns` characters.
std::vector<std::string> wrappedLines(const std::string& text, size_t columns);

// Draws the status lines at the top-left, then the problem's lines, each on
// a dark band. Needs the pixel view of render/text.h. Returns the y below
// the last line.
int drawOverlayText(const std::vector<std::string>& status, const std::vector<std::string>& problem,
                    int windowWidth);
