// The authoring mode (--author): the show in a window for the people who make
// its data. Space pauses and resumes (music too), Left/Right move one second
// (Shift: ten), PageUp/PageDown go to the previous/next section's start, Home
// starts over, Escape or the close box end it. Every move is an exact seek:
// the show's state is stepped from 0 without drawing, so the
// frame that follows is the one a run from the start shows. The title shows
// show time, section and frame rate. The data folder is watched; when a file
// in it changes, everything is loaded again and play goes on at the same show
// time. A loader problem does not end the process: it is shown in the title,
// on a red picture and on stderr, and play resumes once the files are fixed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "assets/diagnostic.h"
#include "shell/command_line.h"
#include "shell/music.h"
#include "shell/schedule.h"
#include "shell/settings.h"
#include "shell/show_clock.h"

struct Show;
class Timeline;

// Virtual-key codes of the keys the authoring mode acts on.
constexpr int kKeyShift = 16;
constexpr int kKeySpace = 32;
constexpr int kKeyPageUp = 33;
constexpr int kKeyPageDown = 34;
constexpr int kKeyHome = 36;
constexpr int kKeyLeft = 37;
constexpr int kKeyRight = 39;

// A file of the data folder as the watcher compares it.
struct WatchedFile {
    std::string path;  // relative to the data folder
    uintmax_t size = 0;
    int64_t modified = 0;  // nanoseconds, as the file system reports them
    bool operator==(const WatchedFile&) const = default;
};
// Every regular file under `folder` (at most 20 000), sorted by path.
std::vector<WatchedFile> scanDataFolder(const std::string& folder);

class AuthorSession {
public:
    explicit AuthorSession(const CommandLine& options);
    ~AuthorSession();
    AuthorSession(const AuthorSession&) = delete;
    AuthorSession& operator=(const AuthorSession&) = delete;

    // Opens the window and loads the data (a loader problem keeps the window
    // open and is shown). False when no window could be made (already said).
    bool open();
    // One frame: the waiting window events, the file watch when due, one
    // step of the show (or the held frame), present, and the title.
    void frame();
    bool finished() const { return quit_; }

    // Looks at the data folder now; loads again if anything changed.
    void watchFiles();
    // Loads textures, scenes and soundtrack again and goes on at the same time.
    void reload();
    // Moves to show time `target` (tenths of a second), exactly.
    void seek(float target);
    void setPaused(bool paused);

    bool paused() const { return paused_; }
    // Clock value of the frame on screen (tenths of a second).
    float showTime() const { return shown_; }
    // What went wrong while loading, one line per message; empty when the
    // show plays.
    const std::string& problem() const { return problem_; }
    // The same as the loaders' records, in the order they came (each with
    // its file, line, the line's text and hint where known).
    const Diagnostics& diagnostics() const { return diagnostics_; }
    // The show while it plays; nullptr during a problem.
    Show* show() { return show_.get(); }
    Timeline* timeline() { return timeline_.get(); }
    // The title as the frame set it last.
    std::string title() const;

private:
    void takeEvents();
    void keyPressed(int key);
    void drawFrame();
    void updateTitle();
    // False after a failure, whose record is in diagnostics_.
    bool startMusicAt(float time);
    void releaseShow();

    CommandLine options_;
    Settings settings_;             // the command line's; always windowed
    ShowClock clock_;               // the wall clock, restarted at each seek
    Soundtrack soundtrack_;
    float endOfPlay_ = kShowEnd;    // the show's end, or --end when earlier
    std::unique_ptr<Show> pristine_;  // as loaded, before the first step
    std::unique_ptr<Show> show_;
    std::unique_ptr<Timeline> timeline_;
    std::string problem_;
    Diagnostics diagnostics_;
    std::vector<WatchedFile> watched_;
    bool windowOpen_ = false;
    bool musicPlaying_ = false;
    bool paused_ = false;
    bool quit_ = false;
    bool stepOnce_ = false;   // paused, but the frame at `next_` is still to be stepped
    bool frameReady_ = false; // the timeline holds a stepped frame it can draw again
    float next_ = 0.0f;       // clock value of the next frame to step while paused
    float shown_ = 0.0f;
    uint32_t lastWatch_ = 0;
    uint32_t lastTitle_ = 0;
    int framesSinceTitle_ = 0;
    double fps_ = 0.0;
};

// --author: plays in a window until it is closed. 0, or 1 without a window.
int runAuthor(const CommandLine& options);
