// The authoring mode. One session owns the window, the show as loaded (kept
// untouched so that a seek can start again from it without reading the files
// again), the show being played and its timeline. The loaders' records are
// kept on the session (file, line, its text, message, hint) and become its
// problem text instead of boxes; a record that would stop the show only
// stops playing until the files are fixed.
//
// Clock: every frame on screen is a frame n of the 60-a-second step from 0,
// drawn at clock steppedClock(0, n, 60) as a capture draws it. While playing,
// frame n is due 1000 * speed / 60 ms after frame n - 1 on the platform's
// millisecond clock; frames a slow draw missed are stepped without drawing,
// so play keeps to the music's time. Stepping is lazy: a seek only names the
// frame, and the next draw steps the timeline there (from the frame it holds
// when that is earlier, else from a fresh copy of the show as loaded); the
// music is moved there and the pacing starts once the stepping is done. While
// paused nothing is stepped and the held frame is put back as first drawn.
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
#include "render/text.h"
#include "shell/app.h"
#include "shell/author_overlay.h"
#include "shell/frame.h"
#include "shell/music.h"
#include "shell/sections/section.h"
#include "shell/startup.h"
#include "shell/timeline.h"
#include "shell/timeline_bar.h"
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
constexpr size_t kSceneFieldBytes = 4 * sizeof(std::vector<int>) + 2 * sizeof(Vec3) + 2 * sizeof(Color4) +
                                    4 * sizeof(int32_t) + sizeof(float) + 5;  // five flags
static_assert(sizeof(Scene) == (kSceneFieldBytes + alignof(Scene) - 1) / alignof(Scene) * alignof(Scene),
              "copyScene copies every field of Scene");

std::unique_ptr<Show> copyShow(const Show& from) {
    auto to = std::make_unique<Show>();
    for (const SceneSlot& slot : kSceneSlots) copyScene(showScene(from, slot.id), showScene(*to, slot.id));
    to->dustField = from.dustField;
    to->sparkSystem = from.sparkSystem;
    to->fountainSystem = from.fountainSystem;
    return to;
}

// The frame of the live step from 0 at or after `time`, before the show's end.
int64_t frameAtOrAfter(float time) {
    int64_t n = firstFrameAt(std::max(time, 0.0f), kStepRate);
    while (n > 0 && !(steppedClock(0.0, n, kStepRate) < kShowEnd)) --n;
    return n;
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
    if (options.endSeconds) {
        loop_ = true;
        loopStart_ = static_cast<float>(options.startSeconds * 10.0);
        loopEnd_ = std::min(kShowEnd, static_cast<float>(*options.endSeconds * 10.0));
    }
}

AuthorSession::~AuthorSession() {
    releaseShow();
    if (musicPlaying_) soundtrack_.stop();
    if (windowOpen_) {
        platform::acceptMouse(false);
        unloadTextures();
        closeGlWindow();
    }
}

bool AuthorSession::open() {
    if (!createGlWindow(kShowTitle, settings_.width, settings_.height, settings_.bits, false)) return false;
    windowOpen_ = true;
    platform::acceptMouse(true);
    quit_ = false;
    frame_ = frameAtOrAfter(static_cast<float>(options_.startSeconds * 10.0));
    watched_ = scanDataFolder(resolveDataPath("data"));
    lastWatch_ = lastTitle_ = platform::ticks();
    reload();
    return true;
}

void AuthorSession::releaseShow() {
    timeline_.reset();
    show_.reset();
    pristine_.reset();
    held_ = -1;
    unfinished_ = false;
    picture_.forget();
}

#ifdef ORBELUNE_GL_LAYER
// The browser's GL layer has no pixel drawing: a held frame is drawn again.
void HeldPicture::take(int, int) {}
void HeldPicture::put() const {}
#else
void HeldPicture::take(int width, int height) {
    width_ = width;
    height_ = height;
    pixels_.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
    glPopClientAttrib();
    taken_ = true;
}

void HeldPicture::put() const {
    beginPixelView(width_, height_);
    glDisable(GL_BLEND);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glRasterPos2i(0, height_);  // the bottom-left corner in the pixel view's y-down space
    glDrawPixels(width_, height_, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
    glPopClientAttrib();
    endPixelView();
}
#endif

bool AuthorSession::startMusicAt(float time) {
    if (!settings_.music) return true;
    if (!soundtrack_.start(time / kSecond, diagnostics_)) return false;
    musicPlaying_ = true;
    if (paused_ || speed_ != 1) platform::audio().setPaused(soundtrack_.stream, true);
    return true;
}

void AuthorSession::followWithMusic() {
    if (!musicPlaying_) return;
    platform::audio().setPosition(soundtrack_.stream, clockOf(frame_) / kSecond);
    platform::audio().setPaused(soundtrack_.stream, paused_ || speed_ != 1);
}

void AuthorSession::restartPacing() {
    paceFrame_ = frame_;
    paceTicks_ = platform::ticks();
}

void AuthorSession::reload() {
    const float at = clockOf(frame_);
    releaseShow();
    if (musicPlaying_) soundtrack_.stop();
    musicPlaying_ = false;
    diagnostics_.clear();
    unloadTextures();
    if (setupGlState(diagnostics_)) {
        auto loaded = std::make_unique<Show>();
        resetLightCounter();  // lights are numbered over the whole show, from 0 each load
        loadShowScenes(*loaded, diagnostics_);
        if (!stopsShow(diagnostics_) && startMusicAt(at)) pristine_ = std::move(loaded);
    }
    problem_.clear();
    for (const Diagnostic& record : diagnostics_) problem_ += (problem_.empty() ? "" : "\n") + recordText(record);
    if (!problem_.empty()) {
        releaseShow();
        if (musicPlaying_) soundtrack_.stop();
        musicPlaying_ = false;
        std::fprintf(stderr, "orbelune: the data cannot be played; fix it and it is loaded again:\n");
        for (const std::string& line : wrappedLines(problem_, 1000)) std::fprintf(stderr, "  %s\n", line.c_str());
        updateTitle();
        return;
    }
    if (!pristine_) {  // failed without a word (should not happen)
        problem_ = "loading failed";
        updateTitle();
        return;
    }
    seek(at);
    stepToFrame();
    updateTitle();
}

void AuthorSession::seek(float target) {
    frame_ = frameAtOrAfter(target);
    resync_ = true;
}

void AuthorSession::setPaused(bool paused) {
    if (paused == paused_) return;
    paused_ = paused;
    restartPacing();  // on resuming, the frame on screen is the one due now
    if (musicPlaying_) platform::audio().setPaused(soundtrack_.stream, paused_ || speed_ != 1);
}

void AuthorSession::setSpeed(int divisor) {
    if (divisor != 1 && divisor != 2 && divisor != 4 && divisor != 8) return;
    speed_ = divisor;
    restartPacing();
    followWithMusic();
}

void AuthorSession::toggleCamera() {
    freeCamera_ = !freeCamera_ && pristine_;
    path_.clear();
    if (!freeCamera_) return;
    pathSection_ = sectionAt(showTime());
    path_ = cameraPath(*copyShow(*pristine_), pathSection_);
    const SectionUnit& unit = sectionUnit(pathSection_);
    camera_ = cameraOutside(path_, show_ ? showScene(*show_, unit.scenes[0].id).cameraTarget : Vec3{});
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
            seek(showTime() - step);
            break;
        case kKeyRight:
            seek(showTime() + step);
            break;
        case kKeyPageDown: {
            const size_t i = sectionAt(showTime());
            if (i + 1 < kSectionCount) seek(sectionStart(i + 1));
            break;
        }
        case kKeyPageUp: {
            size_t i = sectionAt(showTime());
            if (showTime() - sectionStart(i) < kRestartWindow && i > 0) --i;
            seek(sectionStart(i));
            break;
        }
        case kKeyHome:
            seek(loop_ ? loopStart_ : 0.0f);
            break;
        case kKeyComma:
        case kKeyPeriod:
            setPaused(true);
            if (key == kKeyComma && frame_ > 0) --frame_;
            if (key == kKeyPeriod && clockOf(frame_ + 1) < kShowEnd) ++frame_;
            followWithMusic();
            break;
        case '1':
        case '2':
        case '4':
        case '8':
            setSpeed(key - '0');
            break;
        case 'I':
            loopStart_ = showTime();
            if (!(loopEnd_ > loopStart_)) loopEnd_ = kShowEnd;
            loop_ = true;
            break;
        case 'O':
            if (!(showTime() > 0.0f)) break;
            loopEnd_ = showTime();
            if (!(loopStart_ < loopEnd_)) loopStart_ = 0.0f;
            loop_ = true;
            break;
        case 'U':
            loop_ = false;
            loopStart_ = 0.0f;
            loopEnd_ = kShowEnd;
            break;
        case 'H':
            overlay_ = !overlay_;
            break;
        case 'C':
            toggleCamera();
            break;
        default:
            break;
    }
}

void AuthorSession::mouse(const platform::Event& event) {
    const BarLayout bar = barLayout(glWindow.drawableWidth, glWindow.drawableHeight);
    using platform::EventKind;
    if (event.kind == EventKind::MouseDown && event.button == 1 && overlay_ && bar.contains(event.x, event.y)) {
        dragging_ = true;
        seek(timeAtX(bar, event.x));
    } else if (event.kind == EventKind::MouseUp && event.button == 1) {
        dragging_ = false;
    } else if (event.kind == EventKind::MouseMove) {
        if (dragging_ && (event.buttons & 1))
            seek(timeAtX(bar, event.x));
        else if (freeCamera_ && event.buttons != 0)
            camera_.turn(event.x - lastMouseX_, event.y - lastMouseY_);
        lastMouseX_ = event.x;
        lastMouseY_ = event.y;
    }
}

// W/S forward and back, A/D to the side, R/F up and down, while held; Shift
// five times as fast. Ten units a second on the platform's clock.
void AuthorSession::moveCamera() {
    const uint32_t now = platform::ticks();
    const float seconds = std::min(now - lastMove_, 100u) / 1000.0f;
    lastMove_ = now;
    if (!freeCamera_) return;
    const auto& down = glWindow.keyDown;
    const float d = seconds * (down[kKeyShift] ? 50.0f : 10.0f);
    camera_.move(d * (down['W'] - down['S']), d * (down['D'] - down['A']), d * (down['R'] - down['F']));
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
            case platform::EventKind::Resize:
                glWindowProc(event);
                picture_.forget();
                break;
            case platform::EventKind::MouseDown:
            case platform::EventKind::MouseUp:
            case platform::EventKind::MouseMove:
                mouse(event);
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

// The next frame due while playing: the loop wraps to its start (from its
// end or before it; a frame seeked past it plays on), the end of the show
// holds the last frame. False when the frame on screen is still due.
bool AuthorSession::advance() {
    if (resync_) return false;  // the frame a seek named comes first
    const uint32_t elapsed = platform::ticks() - paceTicks_;
    const int64_t due = paceFrame_ + static_cast<int64_t>(elapsed) * kAuthorFps / (1000 * speed_);
    if (due <= frame_) return false;
    if (loop_ && clockOf(frame_) <= loopEnd_ && !(clockOf(due) < loopEnd_)) {
        frame_ = frameAtOrAfter(loopStart_);
        restartPacing();
        followWithMusic();
        return true;
    }
    if (!(clockOf(due) < kShowEnd)) {
        setPaused(true);
        return false;
    }
    frame_ = due;
    return true;
}

// Brings the timeline to frame_ and steps that frame; the next draw draws
// and finishes it.
void AuthorSession::stepToFrame() {
    picture_.forget();
    unfinished_ = false;
    if (frame_ < held_ || !timeline_) {
        timeline_.reset();
        show_ = copyShow(*pristine_);
        timeline_ = std::make_unique<Timeline>(*show_);
        startShowState(*show_, *timeline_);
        held_ = -1;
    }
    const float c = clockOf(frame_);
    if (held_ < 0) seekTimeline(*timeline_, c, kAuthorFps);
    if (timeline_->playing(c)) {
        stepTo(*timeline_, c);
        unfinished_ = true;
    }
    held_ = frame_;
}

void AuthorSession::drawFrame() {
    paintBars();
    if (!pristine_) {
        // A problem: a dark red picture with the problem over it.
        glClearColor(0.35f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
        return;
    }
    if (held_ != frame_ || !timeline_) stepToFrame();  // may draw the frame before it
    if (resync_) {  // after a seek: music and pacing from the frame reached
        resync_ = false;
        restartPacing();
        followWithMusic();
    }
    if (!unfinished_ && !freeCamera_ && picture_.held(glWindow.drawableWidth, glWindow.drawableHeight)) {
        picture_.put();  // the frame again exactly as first drawn
        return;
    }
    glClear(GL_COLOR_BUFFER_BIT);
    const SectionUnit& section = sectionUnit(std::min(timeline_->section(), kSectionCount - 1));
    Scene* drawn[2] = {&showScene(*show_, section.scenes[0].id),
                       section.scenes.size() > 1 ? &showScene(*show_, section.scenes[1].id) : nullptr};
    const Vec3 showCamera = drawn[0]->cameraPosition, showTarget = drawn[0]->cameraTarget;
    Vec3 kept[2][2];
    if (freeCamera_) {  // the free camera for this draw only; the show's state is left as stepped
        for (int i = 0; i < 2 && drawn[i]; ++i) {
            kept[i][0] = drawn[i]->cameraPosition;
            kept[i][1] = drawn[i]->cameraTarget;
            drawn[i]->cameraPosition = camera_.position;
            drawn[i]->cameraTarget = camera_.target();
        }
    }
    timeline_->drawAt(clockOf(frame_));
    if (freeCamera_) {
        for (int i = 0; i < 2 && drawn[i]; ++i) {
            drawn[i]->cameraPosition = kept[i][0];
            drawn[i]->cameraTarget = kept[i][1];
        }
        if (pathSection_ != timeline_->section()) {
            pathSection_ = timeline_->section();
            path_ = cameraPath(*copyShow(*pristine_), pathSection_);
        }
        drawCameraPath(path_, showCamera, showTarget, camera_, section.fieldOfView);
    }
    unfinished_ = false;
    if (!freeCamera_) picture_.take(glWindow.drawableWidth, glWindow.drawableHeight);
}


std::vector<std::string> AuthorSession::statusLines() const {
    char line[160];
    const double seconds = static_cast<double>(showTime()) / kSecond;
    if (!pristine_) {
        std::snprintf(line, sizeof line, "%.2f s  frame %lld  problem: fix the file and it is loaded again",
                      seconds, static_cast<long long>(frame_));
        return {line};
    }
    const size_t i = sectionAt(showTime());
    std::snprintf(line, sizeof line, "%.2f s  frame %lld  section %zu/%zu %s  %.0f fps", seconds,
                  static_cast<long long>(frame_), i + 1, kSectionCount, kSections[i].name, fps_);
    std::vector<std::string> lines{line};
    std::string state = paused_ ? "paused" : speed_ == 1 ? "playing" : "playing at 1/" + std::to_string(speed_);
    if (loop_) {
        std::snprintf(line, sizeof line, "  loop %.1f-%.1f s", static_cast<double>(loopStart_) / kSecond,
                      static_cast<double>(loopEnd_) / kSecond);
        state += line;
    }
    if (freeCamera_) state += "  free camera, the show's path in yellow (C: back)";
    lines.push_back(state);
    return lines;
}

void AuthorSession::drawOverlay() {
    const int w = glWindow.drawableWidth, h = glWindow.drawableHeight;
    const std::vector<std::string> problem = wrappedLines(problem_, static_cast<size_t>(std::max(1, (w - 16) / kGlyphWidth)));
    if (!overlay_ && problem.empty()) return;
    beginPixelView(w, h);
    drawOverlayText(overlay_ ? statusLines() : std::vector<std::string>{}, problem, w);
    if (overlay_) drawTimelineBar(barLayout(w, h), {showTime(), loop_, loopStart_, loopEnd_});
    endPixelView();
}

std::string AuthorSession::title() const {
    char time[32];
    std::snprintf(time, sizeof time, "%.1f s", static_cast<double>(showTime()) / kSecond);
    std::string text = std::string(kTitleHead) + " | " + time;
    if (!problem_.empty())
        return text + " | problem: " +
               (diagnostics_.empty() ? problem_.substr(0, problem_.find('\n')) : messageLine(diagnostics_.front()));
    const size_t i = sectionAt(showTime());
    char rest[96];
    std::snprintf(rest, sizeof rest, " | section %zu/%zu %s | %.0f fps", i + 1, kSectionCount, kSections[i].name,
                  fps_);
    text += rest;
    if (paused_) text += " | paused";
    return text;
}

void AuthorSession::updateTitle() { platform::setWindowTitle(title()); }

// While playing, sleeps until the next frame is due (at most 20 ms, so that
// events are still taken at once at slow speeds).
void AuthorSession::waitForFrame() const {
    if (resync_) return;
    if (paused_ || !pristine_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return;
    }
    const int64_t ahead = frame_ + 1 - paceFrame_;
    const int64_t dueAt = (ahead * 1000 * speed_ + kAuthorFps - 1) / kAuthorFps;
    const int64_t wait = dueAt - static_cast<int64_t>(platform::ticks() - paceTicks_);
    if (wait > 0) std::this_thread::sleep_for(std::chrono::milliseconds(std::min<int64_t>(wait, 20)));
}

void AuthorSession::frame() {
    takeEvents();
    if (quit_) return;
    if (platform::ticks() - lastWatch_ >= kWatchMs) watchFiles();
    waitForFrame();
    if (!paused_ && pristine_ && advance()) ++framesSinceTitle_;
    moveCamera();
    drawFrame();
    drawOverlay();
    platform::present();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const uint32_t now = platform::ticks();
    if (now - lastTitle_ >= kTitleMs) {
        fps_ = paused_ || !pristine_ ? 0.0 : framesSinceTitle_ * 1000.0 / (now - lastTitle_);
        framesSinceTitle_ = 0;
        lastTitle_ = now;
        updateTitle();
    }
}

int runAuthor(const CommandLine& options) {
    AuthorSession session(options);
    if (!session.open()) return 1;
    while (!session.finished()) session.frame();
    return 0;
}
