// What only the browser build has: the page around the canvas. The page
// calls the program once per animation frame instead of the program running
// a loop of its own, so whatever would wait natively (the setup dialog, a
// message box, the soundtrack's decoding) is a state here that the caller
// looks at between frames. Implemented in platform/web/ (page.js draws the
// forms and boxes); nothing of it exists in the native build.
#pragma once

#include <functional>
#include <string>

#include "platform/dialog.h"

namespace platform::browser {

// Milliseconds on the page's clock (performance.now), for pacing frames.
double nowMs();

// Calls `frame` once per animation frame of the page until it returns false;
// returns at once (the page goes on calling). `unpaced`: as often as the
// page can, not waiting for the display (the bench).
void runEachAnimationFrame(std::function<bool()> frame, bool unpaced = false);

// The setup dialog as a form on the page. `proc` gets InitDialog at once, a
// Command for each click (the push button and Enter send its id, Escape the
// cancel id), Close for the form's close box; once it ends the dialog the
// form goes and `ended` runs, in the same click (the page's user gesture:
// sound may start, full screen may be asked for).
void openDialog(const DialogTemplate& dialog, DialogProc proc, std::function<void()> ended);

// True while a message box waits for its OK (start-up holds until then).
bool boxOpen();

// What the page says of the run (window.orbelune.state and the end panel).
enum class PageState { Dialog, Loading, Playing, Ended, Error };
// `text` is what the end panel says in Ended and Error.
void setPageState(PageState state, const std::string& text = "");
// After each presented frame: its show time in seconds and the frames
// presented so far.
void framePresented(double showSeconds, unsigned long long frames);
// Waits until the GL has drawn everything asked of it: WebGL's finish
// only flushes, so this reads a pixel back (for timing frames).
void finishDrawing();
// Hands a finished report (the bench's JSON) to the page and its console.
void publishReport(const std::string& json);

// Starts decoding the soundtrack at `path` (a file of the in-memory file
// system), so that the stream can be created at once when its turn comes.
void prepareSoundtrack(const std::string& path);
// True once the decoding begun by prepareSoundtrack succeeded or failed.
bool soundtrackSettled();

}  // namespace platform::browser
