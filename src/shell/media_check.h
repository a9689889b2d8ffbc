// The data check's look at what the loaders take on trust: the soundtrack
// (is it an MP3, how long, at what sample rate, damaged), pictures of the
// texture list (another format under a .bmp name, an alpha channel the show
// ignores, the memory of a large texture; another format under a .bmp name
// is the texture loader's own hint) and text after a script's EOF line. Each
// adds its findings to the report.
#pragma once

#include <string>

#include "assets/image.h"
#include "shell/data_check.h"

// The soundtrack: missing or empty, not an MP3 (what it is instead), damaged
// frames, shorter than the show, a low sample rate; its length and rate in
// the summary.
void checkSoundtrack(DataCheckReport& report);

// A picture of the list as decoded (its file is read again for its alpha):
// `where` leads each finding.
void checkPicture(const std::string& where, const std::string& entry, const RgbImage& image,
                  DataCheckReport& report);

// Lines after the EOF line of the script at data path `script`.
void checkScriptTail(const std::string& script, DataCheckReport& report);
