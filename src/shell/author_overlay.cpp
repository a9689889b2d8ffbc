// Text blocks of the authoring mode's overlay. Each line gets a band of
// translucent black behind it so it reads over any picture; the problem's
// lines are drawn in a light red.
#include "shell/author_overlay.h"

#include "platform/gl.h"

#include <algorithm>


std::string recordText(const Diagnostic& record) {
    std::string text;
    if (!record.file.empty()) {
        text = record.file;
        if (record.line > 0) text += ", line " + std::to_string(record.line) + ": \"" + record.lineText + "\"";
        text += "\n";
    }
    text += messageLine(record);
    if (!record.hint.empty()) text += "\nhint: " + record.hint;
    return text;
}

std::vector<std::string> wrappedLines(const std::string& text, size_t columns) {
    std::vector<std::string> lines;
    columns = std::max<size_t>(columns, 8);
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line(text.data() + start, end - start);
        do {
            size_t cut = line.size() <= columns ? line.size() : line.rfind(' ', columns);
            if (cut == std::string_view::npos || cut == 0) cut = std::min(columns, line.size());
            lines.emplace_back(line.substr(0, cut));
            line.remove_prefix(cut);
            while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        } while (!line.empty());
        start = end + 1;
    }
    return lines;
}

int drawOverlayText(const std::vector<std::string>& status, const std::vector<std::string>& problem,
                    int windowWidth) {
    int y = kOverlayTop;
    auto block = [&](const std::vector<std::string>& lines, float r, float g, float b) {
        for (const std::string& line : lines) {
            glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
            fillRect(kOverlayLeft - 3, y - 1, std::min(textWidth(line) + 6, windowWidth - kOverlayLeft), kOverlayLineHeight);
            glColor4f(r, g, b, 1.0f);
            drawText(line, kOverlayLeft, y);
            y += kOverlayLineHeight;
        }
    };
    block(status, 1.0f, 1.0f, 1.0f);
    if (!problem.empty()) y = problemTop(status.size());
    block(problem, 1.0f, 0.75f, 0.7f);
    return y;
}
