// Window events from SDL's queue, one at a time, translated into the few
// kinds the show cares about. Keys carry the classic virtual-key codes below
// 256 (Escape 27, letters 'A'..'Z', digits '0'..'9', F1 112, arrows 37..40)
// so the key table is indexed the same way on every platform. A quit posted
// by the window's close handling is handed out before anything else.
//
// The show takes one event a frame, so only events it acts on may reach the
// queue: SDL queues every single mouse move (a moving mouse would put a close
// request or Escape seconds behind), so mouse, text, touch, controller and
// drop events are switched off at the source, and a filter lets through only
// keys (no auto-repeat), quit and the window's close, resize, focus and
// shown/hidden changes. The authoring mode takes every waiting event each
// frame and turns mouse buttons and moves back on.

#include <string>

#include "platform/platform.h"
#include "platform/sdl_internal.h"
#include "platform/signals.h"

namespace platform {
namespace {

// Beside SDL's own queue, which is process-wide too: the posted quit and a
// test's replacement queue.
bool quitPosted = false;
EventSource eventSource;
bool mouseAccepted = false;

int virtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 112 + (key - SDLK_F1);
    if (key >= SDLK_F13 && key <= SDLK_F24) return 124 + (key - SDLK_F13);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 97 + (key - SDLK_KP_1);
    switch (key) {
        case SDLK_BACKSPACE: return 8;
        case SDLK_TAB: return 9;
        case SDLK_RETURN: case SDLK_KP_ENTER: return 13;
        case SDLK_LSHIFT: case SDLK_RSHIFT: return 16;
        case SDLK_LCTRL: case SDLK_RCTRL: return 17;
        case SDLK_LALT: case SDLK_RALT: return 18;
        case SDLK_PAUSE: return 19;
        case SDLK_CAPSLOCK: return 20;
        case SDLK_ESCAPE: return 27;
        case SDLK_SPACE: return 32;
        case SDLK_PAGEUP: return 33;
        case SDLK_PAGEDOWN: return 34;
        case SDLK_END: return 35;
        case SDLK_HOME: return 36;
        case SDLK_LEFT: return 37;
        case SDLK_UP: return 38;
        case SDLK_RIGHT: return 39;
        case SDLK_DOWN: return 40;
        case SDLK_PRINTSCREEN: return 44;
        case SDLK_INSERT: return 45;
        case SDLK_DELETE: return 46;
        case SDLK_LGUI: return 91;
        case SDLK_RGUI: return 92;
        case SDLK_APPLICATION: return 93;
        case SDLK_KP_0: return 96;
        case SDLK_KP_MULTIPLY: return 106;
        case SDLK_KP_PLUS: return 107;
        case SDLK_KP_MINUS: return 109;
        case SDLK_KP_PERIOD: return 110;
        case SDLK_KP_DIVIDE: return 111;
        case SDLK_NUMLOCKCLEAR: return 144;
        case SDLK_SCROLLLOCK: return 145;
        case SDLK_SEMICOLON: return 186;
        case SDLK_EQUALS: return 187;
        case SDLK_COMMA: return 188;
        case SDLK_MINUS: return 189;
        case SDLK_PERIOD: return 190;
        case SDLK_SLASH: return 191;
        case SDLK_BACKQUOTE: return 192;
        case SDLK_LEFTBRACKET: return 219;
        case SDLK_BACKSLASH: return 220;
        case SDLK_RIGHTBRACKET: return 221;
        case SDLK_QUOTE: return 222;
        default: return 0;
    }
}

// Window coordinates to the GL's pixels (they differ on a high-density screen).
void toDrawable(int x, int y, Event& out) {
    out.x = x;
    out.y = y;
    SDL_Window* w = detail::window();
    if (!w) return;
    int ww = 0, wh = 0, dw = 0, dh = 0;
    SDL_GetWindowSize(w, &ww, &wh);
    SDL_GL_GetDrawableSize(w, &dw, &dh);
    if (ww > 0 && wh > 0 && dw > 0 && dh > 0) {
        out.x = static_cast<int>(static_cast<int64_t>(x) * dw / ww);
        out.y = static_cast<int>(static_cast<int64_t>(y) * dh / wh);
    }
}

void translate(const SDL_Event& in, Event& out) {
    out.kind = EventKind::Other;
    switch (in.type) {
        case SDL_QUIT:
            out.kind = EventKind::Close;
            break;
        case SDL_WINDOWEVENT:
            if (in.window.event == SDL_WINDOWEVENT_CLOSE) {
                out.kind = EventKind::Close;
            } else if (in.window.event == SDL_WINDOWEVENT_MINIMIZED || in.window.event == SDL_WINDOWEVENT_HIDDEN) {
                out.kind = EventKind::Hidden;
            } else if (in.window.event == SDL_WINDOWEVENT_RESTORED || in.window.event == SDL_WINDOWEVENT_SHOWN) {
                out.kind = EventKind::Shown;
            } else if (in.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                out.kind = EventKind::Resize;
                out.width = in.window.data1;
                out.height = in.window.data2;
                // The GL's size in pixels, where it differs from the window's.
                if (SDL_Window* w = detail::window(); w && SDL_GetWindowID(w) == in.window.windowID)
                    SDL_GL_GetDrawableSize(w, &out.width, &out.height);
            }
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (int code = virtualKey(in.key.keysym.sym); code > 0 && code < 256) {
                out.kind = in.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
                out.key = code;
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            out.kind = in.type == SDL_MOUSEBUTTONDOWN ? EventKind::MouseDown : EventKind::MouseUp;
            out.button = in.button.button;
            toDrawable(in.button.x, in.button.y, out);
            break;
        case SDL_MOUSEMOTION:
            out.kind = EventKind::MouseMove;
            out.buttons = static_cast<int>(in.motion.state & (SDL_BUTTON_LMASK | SDL_BUTTON_RMASK));
            toDrawable(in.motion.x, in.motion.y, out);
            break;
        default:
            break;
    }
}

// Event types SDL should not even generate.
constexpr Uint32 kIgnoredTypes[] = {
    SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_MOUSEWHEEL,
    SDL_TEXTEDITING, SDL_TEXTINPUT, SDL_KEYMAPCHANGED,
    SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION, SDL_JOYBUTTONDOWN, SDL_JOYBUTTONUP,
    SDL_JOYDEVICEADDED, SDL_JOYDEVICEREMOVED,
    SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONDOWN, SDL_CONTROLLERBUTTONUP,
    SDL_CONTROLLERDEVICEADDED, SDL_CONTROLLERDEVICEREMOVED, SDL_CONTROLLERDEVICEREMAPPED,
    SDL_FINGERDOWN, SDL_FINGERUP, SDL_FINGERMOTION,
    SDL_DOLLARGESTURE, SDL_DOLLARRECORD, SDL_MULTIGESTURE,
    SDL_CLIPBOARDUPDATE, SDL_DROPFILE, SDL_DROPTEXT, SDL_DROPBEGIN, SDL_DROPCOMPLETE,
    SDL_AUDIODEVICEADDED, SDL_AUDIODEVICEREMOVED, SDL_SENSORUPDATE,
    SDL_RENDER_TARGETS_RESET, SDL_RENDER_DEVICE_RESET,
};

// True for the events the show acts on.
bool wanted(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            return true;
        case SDL_KEYDOWN:
            return event.key.repeat == 0;  // a held key is already down in the table
        case SDL_KEYUP:
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEMOTION:
            return mouseAccepted;
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_HIDDEN:
                case SDL_WINDOWEVENT_MINIMIZED:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    return true;
                default:
                    return false;
            }
        default:
            return false;
    }
}

int filterEvent(void*, SDL_Event* event) { return wanted(*event) ? 1 : 0; }

}  // namespace

namespace detail {
void keepOnlyShowEvents() {
    for (Uint32 type : kIgnoredTypes) SDL_EventState(type, SDL_IGNORE);
    SDL_StopTextInput();
    SDL_SetEventFilter(filterEvent, nullptr);
}
}  // namespace detail

bool pollEvent(Event& event) {
    event = Event{};
    if (quitPosted) {
        quitPosted = false;
        event.kind = EventKind::Quit;
        return true;
    }
    if (stopSignalPending()) {  // SIGINT / SIGTERM: as if the window were closed
        takeStopSignal();
        event.kind = EventKind::Close;
        return true;
    }
    if (eventSource) return eventSource(event);
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
    SDL_Event in;
    if (!SDL_PollEvent(&in)) return false;
    translate(in, event);
    return true;
}

void postQuit() { quitPosted = true; }

void setEventSource(EventSource source) { eventSource = std::move(source); }

int virtualKeyForKeyName(const std::string& sdlKeyName) {
    return virtualKey(SDL_GetKeyFromName(sdlKeyName.c_str()));
}

bool injectKey(const std::string& sdlKeyName, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = SDL_GetKeyFromName(sdlKeyName.c_str());
    event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
    if (SDL_Window* w = detail::window()) event.key.windowID = SDL_GetWindowID(w);
    return SDL_PushEvent(&event) == 1;
}

void acceptMouse(bool accept) {
    mouseAccepted = accept;
    const Uint8 state = accept ? SDL_ENABLE : SDL_IGNORE;
    for (Uint32 type : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) SDL_EventState(type, state);
}

bool injectMouseButton(int x, int y, int button, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.button = static_cast<Uint8>(button);
    event.button.x = x;
    event.button.y = y;
    if (SDL_Window* w = detail::window()) event.button.windowID = SDL_GetWindowID(w);
    return SDL_PushEvent(&event) == 1;
}

bool injectMouseMove(int x, int y, bool leftHeld) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.state = leftHeld ? SDL_BUTTON_LMASK : 0;
    event.motion.x = x;
    event.motion.y = y;
    if (SDL_Window* w = detail::window()) event.motion.windowID = SDL_GetWindowID(w);
    return SDL_PushEvent(&event) == 1;
}

bool injectCloseRequest() {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    if (SDL_Window* w = detail::window()) event.window.windowID = SDL_GetWindowID(w);
    return SDL_PushEvent(&event) == 1;
}

}  // namespace platform
