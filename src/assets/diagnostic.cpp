// Records to boxes and to lines.
#include "assets/diagnostic.h"

#include <algorithm>

std::string messageLine(const Diagnostic& diagnostic) {
    std::string line = diagnostic.caption + ": " + diagnostic.text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

std::vector<std::string> messageLines(const Diagnostics& diagnostics) {
    std::vector<std::string> lines;
    for (const Diagnostic& d : diagnostics) lines.push_back(messageLine(d));
    return lines;
}

bool stopsShow(const Diagnostics& diagnostics) {
    return std::any_of(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& d) { return d.stops; });
}

void showDiagnostics(const Diagnostics& diagnostics) {
    for (const Diagnostic& d : diagnostics) platform::messageBox(d.text, d.caption, d.icon);
}
