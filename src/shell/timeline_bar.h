// The authoring mode's timeline bar along the bottom of the window: the
// nine sections of the schedule side by side, each as long as it plays and
// named where its name fits, the loop range, and the play head. A click or
// a drag on it seeks; where a pixel column lands is timeAtX.
#pragma once

// The bar's place in window pixels (origin at the top-left corner).
struct BarLayout {
    int x = 0, y = 0, width = 0, height = 0;
    bool contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
};

// The bar for a window of that size: along the bottom, a margin on each side.
BarLayout barLayout(int windowWidth, int windowHeight);
// Show time (tenths of a second) under pixel column px, within 0 and the show's end.
float timeAtX(const BarLayout& bar, int px);
// Pixel column of show time c.
int xAtTime(const BarLayout& bar, float c);

struct BarMarks {
    float playHead = 0.0f;   // 0; show time of the frame on screen
    bool loop = false;       // false; a loop range is set
    float loopStart = 0.0f;  // 0
    float loopEnd = 0.0f;    // 0
};
// Draws the bar. Needs the pixel view of render/text.h.
void drawTimelineBar(const BarLayout& bar, const BarMarks& marks);
