// The platform layer: the only code that talks to SDL2, SDL2_mixer and FLTK.
// Plain functions plus a few seams (message-box handler, clock source, exit
// handler, event source, window-step failures, audio backend) that tests
// replace, so that everything above this header runs without a display or a
// sound card.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// X11's headers (pulled in by FLTK) define None as a macro; the enums below
// use it as a name.
#ifdef None
#undef None
#endif

namespace platform {

// ---- Message boxes ---------------------------------------------------------
enum class Icon { None, Exclamation, Stop, Information, Warning };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// Shows a modal box and returns the answer. On a display: FLTK's message box.
// Without one: "caption: text" on stderr and the default answer (Ok; Yes for
// a Yes/No question).
Answer messageBox(const std::string& text, const std::string& caption, Icon icon,
                  Buttons buttons = Buttons::Ok);

using MessageBoxHandler =
    std::function<Answer(const std::string& text, const std::string& caption, Icon, Buttons)>;
// Replaces the box (tests record calls here); an empty handler restores the default.
void setMessageBoxHandler(MessageBoxHandler handler);

// True when a person can see our windows: SDL's video driver (or, before
// SDL's video is up, the environment) names a real display and X opens.
// False on SDL's offscreen or dummy driver and without DISPLAY.
bool displayAvailable();

// True when the live show can open a window a person sees: an X11 or
// Wayland display answers, or SDL_VIDEODRIVER names a driver explicitly
// (then the choice is the user's). Without this SDL would quietly fall back
// to its offscreen driver and play the show to nobody.
bool showDisplayReachable();

// ---- Window title ------------------------------------------------------------
// Sets the GL window's title; does nothing while no window exists.
void setWindowTitle(const std::string& title);
// The last title set (also while no window exists); for tests.
const std::string& windowTitle();

// ---- Clock -------------------------------------------------------------------
// Milliseconds since an arbitrary start, wrapping at 2^32.
uint32_t ticks();
using ClockSource = std::function<uint32_t()>;
// Replaces the millisecond clock (tests, or a capture mode stepping by
// frames); an empty source restores SDL_GetTicks.
void setClockSource(ClockSource source);

// ---- Process exit ------------------------------------------------------------
// Restores the desktop display mode (SDL_Quit) and ends the process.
[[noreturn]] void exitProcess(int code);
using ExitHandler = std::function<void(int code)>;
// Tests and fuzz builds install a handler that throws or reports instead of
// exiting; if the handler returns, the process exits as usual.
void setExitHandler(ExitHandler handler);

// ---- GL window -----------------------------------------------------------------
// One window per process. The window code above this layer walks the steps
// in the order of a classic window set-up and reports each failure itself;
// each step here is the SDL equivalent and returns false on failure.
enum class WindowStep {
    RegisterClass,         // SDL video subsystem up
    ChangeDisplayMode,     // exclusive full-screen mode available
    CreateWindow,          // SDL window (hidden until showWindow)
    DeviceContext,         // the window can take a GL context
    ChoosePixelFormat,     // GL attributes: RGBA, double buffer, colour and depth bits
    SetPixelFormat,        // GL library bound to the window
    CreateContext,         // GL context created
    MakeCurrent,           // GL context current
    ShowFullscreen,        // the full-screen window came out at the requested size
    ReleaseCurrent,        // no context current
    DeleteContext,         // GL context deleted
    ReleaseDeviceContext,  // window's GL binding dropped
    DestroyWindow,         // SDL window destroyed
    UnregisterClass,       // SDL video subsystem down
};
// Seam for tests: make one step report failure (the real work of a failing
// release step still happens, so nothing leaks).
void setWindowStepFailure(WindowStep step, bool fail);
void clearWindowStepFailures();
// Steps taken since the last clear, by name ("registerClass", "showCursor 0",
// "restoreDisplayMode", ...); a few dozen entries per run at most.
const std::vector<std::string>& windowCallLog();
void clearWindowCallLog();

bool registerWindowClass();
// Checks that the display offers width x height; the switch itself happens
// when the full-screen window is shown.
bool changeDisplayMode(int width, int height, int colourBits);
// Leaves full screen and so restores the desktop mode; nothing if not switched.
void restoreDisplayMode();
void showCursor(bool visible);
bool createWindow(const std::string& title, int width, int height, int colourBits,
                  bool fullscreen);
bool getDeviceContext();
bool choosePixelFormat(int colourBits, int depthBits);
bool setPixelFormat();
bool createContext();
bool makeCurrent();
// Shows, raises and focuses the window. False when full screen was asked for
// and the display did not come out at the requested size (the mode was
// refused after all); the window is then still full screen.
bool showWindow();
// Turns a full-screen window into a normal one of the given client size.
void makeWindowed(int width, int height);
bool releaseCurrent();
bool deleteContext();
bool releaseDeviceContext();
bool destroyWindow();
bool unregisterWindowClass();

bool windowExists();
bool displayModeSwitched();  // a full-screen mode is in force
bool cursorVisible();

// Presents the back buffer (nothing without a window) and counts the frame.
void swapWindow();
uint64_t presentedFrames();

// ---- Events ----------------------------------------------------------------------
enum class EventKind {
    None,
    Quit,     // a posted quit was taken (the show ends after this frame)
    Close,    // the user asked to close the window
    KeyDown,  // key = virtual-key code below 256
    KeyUp,
    Resize,   // width, height = new client size
    Other,    // any other event; counts as the frame's one event
};
struct Event {
    EventKind kind = EventKind::None;  // None
    int key = 0;                       // 0; virtual-key code for key events
    int width = 0;                     // 0; client size for Resize
    int height = 0;                    // 0
};

// Takes at most one event. A posted quit comes first; then SDL's queue. False
// when nothing was waiting.
bool pollEvent(Event& event);
// Asks pollEvent to hand out a Quit event.
void postQuit();
using EventSource = std::function<bool(Event&)>;
// Replaces SDL's queue (not the posted quit); an empty source restores it.
void setEventSource(EventSource source);
// Virtual-key code of an SDL key name ("Escape", "A", "F1", "Left"), 0 if the
// key has none. Goes through the same table as real key events.
int virtualKeyForKeyName(const std::string& sdlKeyName);
// Push real SDL events (video must be up); false if SDL refused.
bool injectKey(const std::string& sdlKeyName, bool down);
bool injectCloseRequest();

// ---- Audio -------------------------------------------------------------------------
// The seven operations the show's soundtrack needs. Handles are non-zero.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;
    virtual uint32_t getVersion() = 0;
    virtual bool init(int device, int frequency, uint32_t flags) = 0;
    virtual bool start() = 0;
    virtual void streamFree(uint32_t handle) = 0;  // 0 is accepted and ignored
    virtual uint32_t streamCreateFile(const std::string& path) = 0;  // 0 on failure
    virtual bool streamPlay(uint32_t handle) = 0;  // false for an invalid handle
    virtual void free() = 0;                       // safe when init failed or never ran
    // Beyond the seven: seek a playing stream (--start) and read its position
    // (drift measurement). Backends without them report false / a negative value.
    virtual bool setPosition(uint32_t /*handle*/, double /*seconds*/) { return false; }
    virtual double position(uint32_t /*handle*/) { return -1.0; }
};
// Version the soundtrack code expects from getVersion.
constexpr uint32_t kAudioVersion = 0x00070000;
// The backend in use: SDL2_mixer unless a test installed its own.
AudioBackend& audio();
// nullptr restores SDL2_mixer. The caller keeps ownership.
void setAudioBackend(AudioBackend* backend);

}  // namespace platform
