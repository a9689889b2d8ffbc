// The soundtrack on WebAudio: the MP3 is decoded by the browser
// (decodeAudioData) into one buffer and played by a buffer source on the
// page's AudioContext. Decoding takes its time and answers later, so the
// page starts it early (browser::prepareSoundtrack) and the stream is made
// from its result: a file that is missing or that the browser cannot decode
// yields no stream, and playing handle 0 fails, as on the desktop. An
// AudioContext runs only after a user gesture on the page (the setup
// dialog's OK); until then the position stands still, and so does the show
// clock that follows it.

#include <emscripten.h>

#include <string>

#include "platform/browser.h"
#include "platform/platform.h"
#include "platform/web/web_internal.h"

namespace platform {
namespace {

// The JavaScript side keeps the decoded buffer and the playing source in
// Module.soundtrack: {path, buffer, settled, source, offset, startedAt}.
EM_JS(void, jsPrepare, (const char* path), {
    var entry = {path : UTF8ToString(path), buffer : null, settled : false, source : null, offset : 0, startedAt : 0};
    Module.soundtrack = entry;
    var bytes;
    try {
        bytes = FS.readFile(entry.path);
    } catch (e) {
        entry.settled = true;
        return;
    }
    // An offline context decodes without the user gesture a playing one
    // needs; its buffer plays on any context.
    var Offline = window.OfflineAudioContext || window.webkitOfflineAudioContext;
    if (!Offline) {
        entry.settled = true;
        return;
    }
    new Offline(2, 1, 44100).decodeAudioData(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength))
        .then(function(buffer) { entry.buffer = buffer; }, function() {})
        .then(function() { entry.settled = true; });
});

EM_JS(int, jsSettled, (), { return Module.soundtrack && Module.soundtrack.settled ? 1 : 0; });

EM_JS(int, jsDecoded, (const char* path), {
    var entry = Module.soundtrack;
    return entry && entry.buffer && entry.path == UTF8ToString(path) ? 1 : 0;
});

EM_JS(int, jsContextReady, (), { return Module.page.audioContext() ? 1 : 0; });

// Plays the decoded buffer from `seconds` on, replacing a source that plays.
EM_JS(void, jsPlayFrom, (double seconds), {
    var entry = Module.soundtrack;
    var context = Module.page.audioContext();
    if (entry.source) entry.source.stop();
    entry.source = context.createBufferSource();
    entry.source.buffer = entry.buffer;
    entry.source.connect(context.destination);
    entry.source.start(0, seconds);
    entry.offset = seconds;
    entry.startedAt = context.currentTime;
});

EM_JS(double, jsPosition, (), {
    var entry = Module.soundtrack;
    return entry.offset + Module.page.audioContext().currentTime - entry.startedAt;
});

EM_JS(void, jsStop, (), {
    var entry = Module.soundtrack;
    if (entry && entry.source) entry.source.stop();
    if (entry) entry.source = null;
});

class WebAudio final : public AudioBackend {
public:
    uint32_t getVersion() override { return kAudioVersion; }
    bool init(int, int, uint32_t) override { return jsContextReady() != 0; }
    bool start() override { return true; }

    void streamFree(uint32_t handle) override {
        if (handle == 0 || handle != handle_) return;
        jsStop();
        playing_ = false;
        handle_ = 0;
    }

    uint32_t streamCreateFile(const std::string& path) override {
        if (!jsDecoded(path.c_str())) return 0;
        streamFree(handle_);
        handle_ = nextHandle_++;
        return handle_;
    }

    bool streamPlay(uint32_t handle) override { return streamPlayFrom(handle, 0.0); }

    bool streamPlayFrom(uint32_t handle, double seconds) override {
        if (handle == 0 || handle != handle_) return false;
        playFrom(seconds);
        return true;
    }

    bool setPosition(uint32_t handle, double seconds) override {
        if (handle == 0 || handle != handle_ || !playing_) return false;
        playFrom(seconds);
        return true;
    }

    double position(uint32_t handle) override {
        return handle != 0 && handle == handle_ && playing_ ? jsPosition() : -1.0;
    }

    void free() override { streamFree(handle_); }

    // The wall-clock time the show clock reads now (see clockMs).
    double clockMs() const {
        if (!playing_) return emscripten_get_now();
        return anchorMs_ + (jsPosition() - anchorSeconds_) * 1000.0;
    }

private:
    void playFrom(double seconds) {
        // The clock goes on from where it is and from now on moves with the
        // playback position.
        anchorMs_ = clockMs();
        jsPlayFrom(seconds);
        anchorSeconds_ = seconds;
        playing_ = true;
    }

    uint32_t handle_ = 0;       // 0; the stream made from the decoded buffer
    uint32_t nextHandle_ = 1;   // 1
    bool playing_ = false;      // false
    double anchorMs_ = 0.0;     // 0; clock at the last (re)start of playback
    double anchorSeconds_ = 0.0;  // 0; playback position then
};

// The page has one AudioContext and one soundtrack; tests of the layers
// above put a backend of their own in front.
WebAudio webAudio;
AudioBackend* current = &webAudio;

}  // namespace

AudioBackend& audio() { return *current; }
void setAudioBackend(AudioBackend* backend) { current = backend ? backend : &webAudio; }

namespace detail {
double clockMs() { return webAudio.clockMs(); }
}  // namespace detail

namespace browser {
void prepareSoundtrack(const std::string& path) { jsPrepare(path.c_str()); }
bool soundtrackSettled() { return jsSettled() != 0; }
}  // namespace browser

}  // namespace platform
