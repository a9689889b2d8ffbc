// Drawing and hit-testing of the timeline bar. The sections alternate
// between two greys; the loop range is a blue band over them and the play
// head a white line with a tick above the bar.
#include "shell/timeline_bar.h"

#include "platform/gl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "render/text.h"
#include "shell/schedule.h"

namespace {
constexpr int kMargin = 8;
constexpr int kBarHeight = kGlyphHeight + 8;
}  // namespace

BarLayout barLayout(int windowWidth, int windowHeight) {
    BarLayout bar;
    bar.x = kMargin;
    bar.width = std::max(1, windowWidth - 2 * kMargin);
    bar.height = kBarHeight;
    bar.y = std::max(0, windowHeight - kMargin - kBarHeight);
    return bar;
}

float timeAtX(const BarLayout& bar, int px) {
    const double f = std::clamp(static_cast<double>(px - bar.x) / bar.width, 0.0, 1.0);
    return static_cast<float>(f * kShowEnd);
}

int xAtTime(const BarLayout& bar, float c) {
    const double f = std::clamp(static_cast<double>(c) / kShowEnd, 0.0, 1.0);
    return bar.x + static_cast<int>(std::lround(f * bar.width));
}

void drawTimelineBar(const BarLayout& bar, const BarMarks& marks) {
    for (size_t i = 0; i < kSectionCount; ++i) {
        const int left = xAtTime(bar, sectionStart(i)), right = xAtTime(bar, kSections[i].endTime);
        const float grey = i % 2 ? 0.32f : 0.22f;
        glColor4f(grey, grey, grey, 0.85f);
        fillRect(left, bar.y, right - left, bar.height);
        char label[24];
        const int n = std::snprintf(label, sizeof label, "%zu %s", i + 1, kSections[i].name);
        std::string_view text(label, static_cast<size_t>(std::max(0, n)));
        if (textWidth(text) > right - left - 4) text = text.substr(0, 1);
        glColor4f(0.85f, 0.85f, 0.85f, 1.0f);
        drawText(text, left + 3, bar.y + 4);
    }
    if (marks.loop) {
        const int left = xAtTime(bar, marks.loopStart), right = xAtTime(bar, marks.loopEnd);
        glColor4f(0.2f, 0.45f, 1.0f, 0.45f);
        fillRect(left, bar.y, std::max(1, right - left), bar.height);
    }
    const int head = xAtTime(bar, marks.playHead);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    fillRect(head - 1, bar.y - 4, 3, bar.height + 4);
}
