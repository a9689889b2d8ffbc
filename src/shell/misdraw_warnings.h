// What the show draws wrong without a word, said once at start-up on
// stderr: objects and pictures that name a texture past the list (drawn
// untextured or white), a list whose last line has no newline (that picture
// is not loaded), lines after a script's EOF line (never read). --check
// says the same with more detail.
#pragma once

#include <string>
#include <vector>

struct Show;

// One line per mis-draw of `show` as loaded from the data folder.
std::vector<std::string> misdrawWarnings(const Show& show);
// misdrawWarnings, each line on stderr after "orbelune: warning: ".
void warnOfMisdraws(const Show& show);
