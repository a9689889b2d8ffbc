// The authoring mode. One session owns the window, the show as loaded (kept
// untouched so that a seek can start again from it without reading the files
// again), the show being played and its timeline. The loaders' records are
// kept on the session (file, line, its text, message, hint) and become its
// problem text instead of boxes; a record that would stop the show only
// stops playing until the files are fixed.
//
// Clock: while playing, the clock of the live show (following the music
// when it plays); a seek lands on a frame of the 60-a-second step from 0,
// the music is moved there and the clock continues from there. While
// paused nothing is stepped and the last frame is drawn again.
#include "shell/author.h"

#include "platform/gl.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <thread>

#include "assets/data_path.h"
#include "assets/texture_table.h"
#include "platform/platform.h"
#include "scene/scene_script.h"
#include "shell/app.h"
#include "shell/frame.h"
#include "shell/music.h"
#include "shell/startup.h"
#include "shell/timeline.h"
#include "window/gl_state.h"
#include "window/gl_window.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kWatchMs = 500;   // the data folder is looked at twice a second
constexpr uint32_t kTitleMs = 250;   // the title changes four times a second
constexpr size_t kMaxWatched = 20000;
constexpr float kSecond = 10.0f;     // clock units
constexpr float kRestartWindow = 20.0f;  // PageUp within 2 s of a start goes one section further back
constexpr const char* kTitleHead = "orbelune author";

// Every field of a scene record; the objects are copied one by one.
void copyScene(const Scene& from, Scene& to) {
    to.objects.clear();
    to.objects.reserve(from.objects.size());
    for (const auto& object : from.objects) to.objects.push_back(std::make_unique<SceneObject>(*object));
    to.magnets = from.magnets;
    to.omniLights = from.omniLights;
    to.spotLights = from.spotLights;
    to.cameraPosition = from.cameraPosition;
    to.cameraTarget = from.cameraTarget;
    to.clearColor = from.clearColor;
    to.fogColor = from.fogColor;
    to.fogEnd = from.fogEnd;
    to.fogStart = from.fogStart;
    to.frameCount = from.frameCount;
    to.frameFraction = from.frameFraction;
    to.rollAmplitude = from.rollAmplitude;
    to.fogEnabled = from.fogEnabled;
    to.lightingEnabled = from.lightingEnabled;
    to.rollEnabled = from.rollEnabled;
    to.clearDepth = from.clearDepth;
    to.clearColorBuffer = from.clearColorBuffer;
}
// A field added to the scene record must be copied above too.
static_assert(sizeof(Scene) == 4 * sizeof(std::vector<int>) + 2 * sizeof(Vec3) + 2 * sizeof(Color4) +
                                   4 * sizeof(int32_t) + sizeof(float) + 12,  // five flags, then padding
              "copyScene copies every field of Scene");

std::unique_ptr<Show> copyShow(const Show& from) {
    auto to = std::make_unique<Show>();
    for (const SceneSlot& slot : kSceneSlots) copyScene(showScene(from, slot.id), showScene(*to, slot.id));
    to->dustField = from.dustField;
    to->sparkSystem = from.sparkSystem;
    to->fountainSystem = from.fountainSystem;
    return to;
}

// The frame of the live step from 0 at or after `time`, before `end`.
float frameAtOrAfter(float time, float end) {
    time = std::max(time, 0.0f);
    int64_t n = firstFrameAt(time, kStepRate);
    while (n > 0 && !(steppedClock(0.0, n, kStepRate) < end)) --n;
    return steppedClock(0.0, n, kStepRate);
}

}  // namespace

std::vector<WatchedFile> scanDataFolder(const std::string& folder) {
    std::vector<WatchedFile> files;
    std::error_code ec;
    const fs::path root(folder);
    for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end && files.size() < kMaxWatched; it.increment(ec)) {
        std::error_code fileError;
        if (!it->is_regular_file(fileError)) continue;
        WatchedFile file;
        file.path = it->path().lexically_relative(root).generic_string();
        file.size = it->file_size(fileError);
        const auto stamp = it->last_write_time(fileError);
        file.modified = std::chrono::duration_cast<std::chrono::nanoseconds>(stamp.time_since_epoch()).count();
        files.push_back(std::move(file));
    }
    std::sort(files.begin(), files.end(), [](const WatchedFile& a, const WatchedFile& b) { return a.path < b.path; });
    return files;
}

AuthorSession::AuthorSession(const CommandLine& options) : options_(options), settings_(settingsFrom(options)) {
    settings_.fullscreen = false;
    settings_.music = options.music;
    if (options.endSeconds) endOfPlay_ = std::min(kShowEnd, static_cast<float>(*options.endSeconds * 10.0));
}

AuthorSession::~AuthorSession() {
    releaseShow();
    if (musicPlaying_) soundtrack_.stop();
    if (windowOpen_) {
        unloadTextures();
        closeGlWindow();
    }
}

bool AuthorSession::open() {
    if (!createGlWindow(kShowTitle, settings_.width, settings_.height, settings_.bits, false)) return false;
    windowOpen_ = true;
    quit_ = false;
    shown_ = static_cast<float>(options_.startSeconds * 10.0);
    watched_ = scanDataFolder(resolveDataPath("data"));
    lastWatch_ = lastTitle_ = platform::ticks();
    reload();
    return true;
}

void AuthorSession::releaseShow() {
    timeline_.reset();
    show_.reset();
    pristine_.reset();
    frameReady_ = false;
    stepOnce_ = false;
}

bool AuthorSession::startMusicAt(float time) {
    if (!settings_.music) return true;
    if (!soundtrack_.start(time / kSecond, diagnostics_)) return false;
    clock_.followMusic(soundtrack_.stream);
    musicPlaying_ = true;
    if (paused_) platform::audio().setPaused(soundtrack_.stream, true);
    return true;
}

void AuthorSession::reload() {
    const float at = !show_ ? shown_ : paused_ ? (stepOnce_ ? next_ : shown_) : clock_.now();
    releaseShow();
    if (musicPlaying_) soundtrack_.stop();
    musicPlaying_ = false;
    diagnostics_.clear();
    unloadTextures();
    if (setupGlState(diagnostics_)) {
        auto loaded = std::make_unique<Show>();
        resetLightCounter();  // lights are numbered over the whole show, from 0 each load
        loadShowScenes(*loaded, diagnostics_);
        if (!stopsShow(diagnostics_) && startMusicAt(frameAtOrAfter(at, endOfPlay_))) pristine_ = std::move(loaded);
    }
    const std::vector<std::string> lines = messageLines(diagnostics_);
    problem_.clear();
    for (const std::string& line : lines) problem_ += (problem_.empty() ? "" : "\n") + line;
    if (!problem_.empty()) {
        releaseShow();
        if (musicPlaying_) soundtrack_.stop();
        musicPlaying_ = false;
        shown_ = at;
        std::fprintf(stderr, "orbelune: the data cannot be played; fix it and it is loaded again:\n");
        for (const std::string& line : lines) std::fprintf(stderr, "  %s\n", line.c_str());
        updateTitle();
        return;
    }
    if (!pristine_) {  // failed without a word (should not happen)
        problem_ = "loading failed";
        updateTitle();
        return;
    }
    seek(at);
    updateTitle();
}

void AuthorSession::seek(float target) {
    const float c = frameAtOrAfter(target, endOfPlay_);
    shown_ = c;
    next_ = c;
    frameReady_ = false;
    if (!pristine_) return;
    show_.reset();
    timeline_.reset();
    show_ = copyShow(*pristine_);
    timeline_ = std::make_unique<Timeline>(*show_);
    startShowState(*show_, *timeline_);
    seekTimeline(*timeline_, c, kStepRate);
    // The music moves once the stepping is done, then the clock starts with it.
    if (musicPlaying_) platform::audio().setPosition(soundtrack_.stream, c / kSecond);
    if (paused_)
        stepOnce_ = true;
    else
        clock_.start(c);  // the next frame is drawn at exactly c
}

void AuthorSession::setPaused(bool paused) {
    if (paused == paused_) return;
    paused_ = paused;
    if (paused) {
        // The frame on screen stays; play goes on with the one that was next.
        next_ = show_ ? clock_.now() : shown_;
        stepOnce_ = false;
        if (next_ >= endOfPlay_) next_ = shown_;
    } else {
        if (stepOnce_) stepOnce_ = false;
        clock_.start(next_);
    }
    if (musicPlaying_) platform::audio().setPaused(soundtrack_.stream, paused);
}

void AuthorSession::keyPressed(int key) {
    const float step = glWindow.keyDown[kKeyShift] ? 10.0f * kSecond : kSecond;
    switch (key) {
        case VK_ESCAPE_CODE:
            quit_ = true;
            break;
        case kKeySpace:
            setPaused(!paused_);
            break;
        case kKeyLeft:
            seek(shown_ - step);
            break;
        case kKeyRight:
            seek(shown_ + step);
            break;
        case kKeyPageDown: {
            const size_t i = sectionAt(shown_);
            if (i + 1 < kSectionCount && sectionStart(i + 1) < endOfPlay_) seek(sectionStart(i + 1));
            break;
        }
        case kKeyPageUp: {
            size_t i = sectionAt(shown_);
            if (shown_ - sectionStart(i) < kRestartWindow && i > 0) --i;
            seek(sectionStart(i));
            break;
        }
        case kKeyHome:
            seek(0.0f);
            break;
        default:
            break;
    }
}

void AuthorSession::takeEvents() {
    platform::Event event;
    for (int taken = 0; taken < 64 && platform::pollEvent(event); ++taken) {
        switch (event.kind) {
            case platform::EventKind::Quit:
                quit_ = true;
                break;
            case platform::EventKind::KeyDown:
                glWindowProc(event);
                keyPressed(event.key);
                break;
            default:
                glWindowProc(event);
                break;
        }
    }
}

void AuthorSession::watchFiles() {
    lastWatch_ = platform::ticks();
    std::vector<WatchedFile> now = scanDataFolder(resolveDataPath("data"));
    if (now == watched_) return;
    watched_ = std::move(now);
    std::fprintf(stderr, "orbelune: the data folder changed; loading it again\n");
    reload();
}

void AuthorSession::drawFrame() {
    paintBars();
    if (!timeline_) {
        // A problem: a dark red picture, the text in the title and on stderr.
        glClearColor(0.35f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
        return;
    }
    glClear(GL_COLOR_BUFFER_BIT);
    Timeline& timeline = *timeline_;
    bool stepNow = !paused_ || stepOnce_;
    const float c = paused_ ? next_ : clock_.now();
    if (stepNow && !(c < endOfPlay_)) {
        setPaused(true);  // the end: hold the last frame
        stepNow = false;
    }
    if (stepNow && timeline.playing(c)) {
        stepTo(timeline, c);
        timeline.drawAt(c);
        shown_ = c;
        frameReady_ = true;
        if (stepOnce_) {
            stepOnce_ = false;
            next_ = steppedClock(0.0, firstFrameAt(c, kStepRate) + 1, kStepRate);
        }
    } else if (frameReady_) {
        timeline.drawAt(shown_);
    }
    if (!paused_) clock_.update();
}

std::string AuthorSession::title() const {
    char time[32];
    std::snprintf(time, sizeof time, "%.1f s", static_cast<double>(shown_) / kSecond);
    std::string text = std::string(kTitleHead) + " | " + time;
    if (!problem_.empty()) return text + " | problem: " + problem_.substr(0, problem_.find('\n'));
    const size_t i = sectionAt(shown_);
    char rest[96];
    std::snprintf(rest, sizeof rest, " | section %zu/%zu %s | %.0f fps", i + 1, kSectionCount, kSections[i].name,
                  fps_);
    text += rest;
    if (paused_) text += " | paused";
    return text;
}

void AuthorSession::updateTitle() { platform::setWindowTitle(title()); }

void AuthorSession::frame() {
    takeEvents();
    if (quit_) return;
    if (platform::ticks() - lastWatch_ >= kWatchMs) watchFiles();
    drawFrame();
    platform::present();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    ++framesSinceTitle_;
    const uint32_t now = platform::ticks();
    if (now - lastTitle_ >= kTitleMs) {
        fps_ = paused_ || !timeline_ ? 0.0 : framesSinceTitle_ * 1000.0 / (now - lastTitle_);
        framesSinceTitle_ = 0;
        lastTitle_ = now;
        updateTitle();
    }
    // Held or broken: nothing moves, so there is no need to redraw flat out.
    if (paused_ || !timeline_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

int runAuthor(const CommandLine& options) {
    AuthorSession session(options);
    if (!session.open()) return 1;
    while (!session.finished()) session.frame();
    return 0;
}
