// The authoring mode (--author): the show in a window for the people who make
// its data, stepped at the show's 60 frames a second so that every frame on
// screen is the frame a capture from 0 holds there. Space pauses and resumes
// (music too), Left/Right move one second (Shift: ten), PageUp/PageDown go to
// the previous/next section's start, Home to the start (of the loop, when one
// is set), comma and period one frame back and on (pausing first), 1, 2, 4
// and 8 play at full, half, quarter and eighth speed (the music only at full
// speed), I and O set the loop's start and end at the play head and U clears
// it (--start A --end B loops from A to B), H hides and shows the overlay, C
// switches to the free camera with the section's camera path drawn and back
// (W/S, A/D, R/F and a drag with the mouse move and turn it), Escape or the
// close box end it. A click or drag on the timeline bar at the bottom seeks.
// Every move is an exact seek: the show's state is stepped from 0 at the live
// step without drawing. The overlay and the title show show time, frame,
// section and frame rate. The data folder is watched; when a file in it
// changes, everything is loaded again and play goes on at the same show time.
// A loader problem does not end the process: it is shown over the picture,
// in the title and on stderr, and play resumes once the files are fixed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "assets/diagnostic.h"
#include "shell/camera_path.h"
#include "shell/command_line.h"
#include "shell/music.h"
#include "shell/schedule.h"
#include "shell/settings.h"
#include "shell/show_clock.h"

namespace platform {
struct Event;
}

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
constexpr int kKeyComma = 188;
constexpr int kKeyPeriod = 190;

// A file of the data folder as the watcher compares it.
struct WatchedFile {
    std::string path;  // relative to the data folder
    uintmax_t size = 0;
    int64_t modified = 0;  // nanoseconds, as the file system reports them
    bool operator==(const WatchedFile&) const = default;
};
// Every regular file under `folder` (at most 20 000), sorted by path.
std::vector<WatchedFile> scanDataFolder(const std::string& folder);

// The picture of a frame as first drawn, put back while the frame is held:
// drawing a frame again is not the same picture (the lights carry their
// parameters from one draw to the next), so a paused frame shows what the
// frame showed when it was played, as a capture holds it.
class HeldPicture {
public:
    void take(int width, int height);  // reads the window's colour buffer
    void put() const;                  // draws it back (GL state as it was)
    bool held(int width, int height) const { return taken_ && width == width_ && height == height_; }
    void forget() { taken_ = false; }

private:
    std::vector<uint8_t> pixels_;  // RGB rows, bottom row first; reused
    int width_ = 0, height_ = 0;
    bool taken_ = false;
};

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
    // Plays at 1 / `divisor` of the show's speed (1, 2, 4 or 8).
    void setSpeed(int divisor);

    bool paused() const { return paused_; }
    int speedDivisor() const { return speed_; }
    // Clock value of the frame on screen (tenths of a second), and its
    // number in the live step from 0.
    float showTime() const { return clockOf(frame_); }
    int64_t frameNumber() const { return frame_; }
    bool looping() const { return loop_; }
    float loopStart() const { return loopStart_; }
    float loopEnd() const { return loopEnd_; }
    bool overlayShown() const { return overlay_; }
    bool freeCamera() const { return freeCamera_; }
    // The camera path drawn in the free camera's view (empty otherwise).
    const std::vector<Vec3>& cameraPathShown() const { return path_; }
    // What went wrong while loading, one line per message; empty when the
    // show plays.
    const std::string& problem() const { return problem_; }
    // The same as the loaders' records, in the order they came (each with
    // its file, line, the line's text and hint where known).
    const Diagnostics& diagnostics() const { return diagnostics_; }
    // The show while it plays; nullptr during a problem.
    Show* show() { return show_.get(); }
    const Show* loadedShow() const { return pristine_.get(); }  // as loaded, before the first step
    Timeline* timeline() { return timeline_.get(); }
    // The title as the frame set it last.
    std::string title() const;
    // The overlay's status lines: time, frame, section, frame rate; play
    // state, loop range, camera.
    std::vector<std::string> statusLines() const;

private:
    static float clockOf(int64_t frame) { return steppedClock(0.0, frame, kAuthorFps); }
    void takeEvents();
    void keyPressed(int key);
    void mouse(const platform::Event& event);
    void moveCamera();
    void toggleCamera();
    bool advance();
    void drawFrame();
    void drawOverlay();
    void waitForFrame() const;
    void updateTitle();
    // False after a failure, whose record is in diagnostics_.
    bool startMusicAt(float time);
    void followWithMusic();
    void restartPacing();
    void releaseShow();
    void stepToFrame();

    static constexpr int kAuthorFps = 60;  // the live step (kStepRate)

    CommandLine options_;
    Settings settings_;             // the command line's; always windowed
    Soundtrack soundtrack_;
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
    int speed_ = 1;             // 1; plays at 1 / speed_ of the show's speed
    int64_t frame_ = 0;         // 0; frame of the live step on screen (or next to step)
    int64_t held_ = -1;         // -1; frame the timeline last stepped, -1 before the first
    bool unfinished_ = false;   // false; held_ is stepped but not yet drawn and finished
    bool resync_ = false;       // false; a seek named frame_: music and pacing start from it once it is stepped
    // Pacing: frame paceFrame_ was due at tick paceTicks_, and one more
    // each 1000 * speed_ / 60 ms from there.
    int64_t paceFrame_ = 0;
    uint32_t paceTicks_ = 0;
    bool loop_ = false;         // false; play wraps from loopEnd_ to loopStart_
    float loopStart_ = 0.0f;    // 0; clock units
    float loopEnd_ = kShowEnd;  // the show's end
    bool overlay_ = true;       // true; the overlay and the bar are drawn
    bool dragging_ = false;     // false; the left button went down on the bar and is held
    bool freeCamera_ = false;   // false; the free camera's view with the camera path
    FreeCamera camera_;
    HeldPicture picture_;
    std::vector<Vec3> path_;
    size_t pathSection_ = 0;
    int lastMouseX_ = 0, lastMouseY_ = 0;
    uint32_t lastMove_ = 0;
    uint32_t lastWatch_ = 0;
    uint32_t lastTitle_ = 0;
    int framesSinceTitle_ = 0;
    double fps_ = 0.0;
};

// --author: plays in a window until it is closed. 0, or 1 without a window.
int runAuthor(const CommandLine& options);
