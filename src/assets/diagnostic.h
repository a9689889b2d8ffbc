// What a loader found wrong, as a record instead of a message box: the file
// and line it is about, the show's own message (caption and text, as its
// box shows them), a hint for the person who made the file where one is
// known, and whether the show must stop. Loaders append records to the list
// their caller hands them and return their value; the show turns the
// records into its boxes (showDiagnostics), the tools into report lines or
// the authoring overlay.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

struct Diagnostic {
    std::string file;                            // the file it is about, as named by the data ("" when none)
    int line = 0;                                // 0; line of that file, from 1 (0: the file as a whole)
    std::string lineText;                        // that line as read
    std::string caption;                         // the box's caption
    std::string text;                            // the box's text, exactly as shown
    std::string hint;                            // how to fix it, "" when none is known
    platform::Icon icon = platform::Icon::None;  // None; the box's icon
    bool stops = false;                          // false; the show cannot go on after it
};

using Diagnostics = std::vector<Diagnostic>;

// "caption: text" without the text's trailing line ends: the line the boxes
// print without a display.
std::string messageLine(const Diagnostic& diagnostic);
// messageLine of each record, in order.
std::vector<std::string> messageLines(const Diagnostics& diagnostics);
// Whether any record says the show must stop.
bool stopsShow(const Diagnostics& diagnostics);
// One box per record, in order.
void showDiagnostics(const Diagnostics& diagnostics);
