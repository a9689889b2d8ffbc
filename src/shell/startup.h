// Start-up as a list of small stages, so that whoever runs it can let the
// window (or, in a browser, the page) draw between them: the textures, the
// loading picture, each scene script in slot order, the particle systems,
// the step to --start, the soundtrack. The native show runs the stages in a
// loop; each stage gives its loaders' records, which the caller turns into
// boxes or report lines.
#pragma once

#include <cstddef>

#include "assets/diagnostic.h"

struct Show;
class Timeline;
struct Soundtrack;

// A fresh show state at clock 0: empty particle systems, then the star field.
void startShowState(Show& show, Timeline& timeline);

// Loads the ten scene scripts in slot order, setting the roll of six scenes
// right after each is loaded; every script's records in `report`, reading
// stopped after a record that stops the show.
void loadShowScenes(Show& show, Diagnostics& report);

class Startup {
public:
    // `soundtrack` null: no music. `startSeconds` > 0: the show's state is
    // stepped there from 0 at `stepFps` frames a second, and the music
    // starts there.
    Startup(Show& show, Timeline& timeline, Soundtrack* soundtrack, double startSeconds, int stepFps);

    // Carries out the next stage (needs the GL window), its records added
    // to `report`. False when it failed; the show stops there.
    bool step(Diagnostics& report);
    bool done() const;
    // Whether the next stage is the textures (their failure closes the
    // window before its last box).
    bool atTextures() const { return stage_ == 0; }

private:
    Show& show_;
    Timeline& timeline_;
    Soundtrack* soundtrack_;
    double startSeconds_;
    int stepFps_;
    size_t stage_ = 0;  // 0; the next stage
};

// One stage with its records shown as the show's boxes. After failed
// textures the window is closed and "Initialization Failed." follows. False
// when the show must end with status 1 (a window still open goes with the
// process).
bool stepShown(Startup& startup);
