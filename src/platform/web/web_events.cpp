// Page events, one at a time, in the kinds the show knows. A key's
// virtual-key code is the browser's keyCode, which is the classic code for
// the keys the show and its tools read (Escape 27, letters, digits, F1..F12,
// arrows); auto-repeat is dropped as on the desktop. A page that was hidden
// and shows again reads as a minimised window restored; leaving the page
// asks the window to close. Events wait in a small ring; when the show does not
// take them (it takes one a frame) the newest are dropped, never queued
// without bound. A quit posted by the window's close handling is handed out
// before anything else.

#include <emscripten/html5.h>

#include <array>
#include <utility>

#include "platform/platform.h"

namespace platform {
namespace {

// What the page's callbacks leave for the frame pump; the callbacks have no
// other place to put it.
struct EventRing {
    std::array<Event, 64> events{};
    size_t first = 0;  // 0
    size_t count = 0;  // 0
    bool quitPosted = false;  // false
};
EventRing ring;
EventSource eventSource;

void push(const Event& event) {
    if (ring.count == ring.events.size()) return;
    ring.events[(ring.first + ring.count) % ring.events.size()] = event;
    ++ring.count;
}

int virtualKey(const EmscriptenKeyboardEvent& key) {
    return key.keyCode > 0 && key.keyCode < 256 ? static_cast<int>(key.keyCode) : 0;
}

EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* key, void*) {
    const int code = virtualKey(*key);
    if (code == 0 || key->repeat) return EM_FALSE;
    Event event;
    event.kind = type == EMSCRIPTEN_EVENT_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
    event.key = code;
    push(event);
    return code == 27 ? EM_TRUE : EM_FALSE;  // other keys keep their meaning in the page
}

// A hidden page gets no animation frames, so the show learns of a hidden
// spell only when it is over: then it takes both events at once (and catches
// up with the clock as after a minimised window).
EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* change, void*) {
    if (change->hidden) return EM_FALSE;
    Event event;
    event.kind = EventKind::Hidden;
    push(event);
    event.kind = EventKind::Shown;
    push(event);
    return EM_FALSE;
}

EM_BOOL onLeave(int, const void*, void*) {
    Event event;
    event.kind = EventKind::Close;
    push(event);
    return EM_FALSE;
}

// Listens from the first poll on: before it nothing reads the ring.
void listen() {
    static bool listening = false;
    if (listening) return;
    listening = true;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, onKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, onKey);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, onVisibility);
    emscripten_set_beforeunload_callback(nullptr, [](int type, const void* reserved, void* data) -> const char* {
        onLeave(type, reserved, data);
        return nullptr;
    });
}

}  // namespace

bool pollEvent(Event& event) {
    event = Event{};
    if (ring.quitPosted) {
        ring.quitPosted = false;
        event.kind = EventKind::Quit;
        return true;
    }
    if (eventSource) return eventSource(event);
    listen();
    if (ring.count == 0) return false;
    event = ring.events[ring.first];
    ring.first = (ring.first + 1) % ring.events.size();
    --ring.count;
    return true;
}

void postQuit() { ring.quitPosted = true; }

void setEventSource(EventSource source) { eventSource = std::move(source); }

}  // namespace platform
