// The authoring mode's text over the picture: a status line at the top
// (show time, frame of the 60-a-second step, section, frame rate, play
// state, loop range, camera) and, while the data cannot be played, the
// loaders' records below it (the same records --check prints), wrapped to
// the window.
#pragma once

#include <string>
#include <vector>

#include "assets/diagnostic.h"
#include "render/text.h"

// Where the text goes, in window pixels from the top-left corner.
constexpr int kOverlayLeft = 8;
constexpr int kOverlayTop = 8;
constexpr int kOverlayLineHeight = kGlyphHeight + 2;
// Top of the problem's first line below `statusLines` status lines.
constexpr int problemTop(size_t statusLines) {
    return kOverlayTop + static_cast<int>(statusLines) * kOverlayLineHeight + kOverlayLineHeight / 2;
}

// A loader's record as the overlay shows it: the file, line and the line's
// text, then the message ("caption: text"), then the hint, one per line.
std::string recordText(const Diagnostic& record);

// Lines of `text` (split at newlines) wrapped to at most `columns` characters.
std::vector<std::string> wrappedLines(const std::string& text, size_t columns);

// Draws the status lines at the top-left, then the problem's lines, each on
// a dark band. Needs the pixel view of render/text.h. Returns the y below
// the last line.
int drawOverlayText(const std::vector<std::string>& status, const std::vector<std::string>& problem,
                    int windowWidth);
