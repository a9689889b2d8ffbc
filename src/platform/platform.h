// The platform layer: the only code that talks to SDL2, SDL2_mixer and FLTK.
// Plain functions plus a few seams (message-box handler, clock source, event
// source, window system, audio backend) that tests replace,
// so that everything above this header runs without a display or a sound
// card.
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

// True when the live show can open a window a person sees: an X11 display
// or a Wayland display with a seat answers, or SDL_VIDEODRIVER names a
// driver explicitly (then the choice is the user's; "wayland" still needs
// the seat, as SDL's driver crashes without one). Without this SDL would
// quietly fall back to its offscreen driver and play the show to nobody.
// With X11 and a seatless Wayland display both there, SDL is told to use X11.
bool showDisplayReachable();

// Renders every later window offscreen (Mesa through EGL): no display is
// needed or used, and displayAvailable() says false from then on. For runs
// nobody watches (capture, the bench); call before the window is made.
void useOffscreenVideo();

// ---- Window title ------------------------------------------------------------
// Sets the GL window's title; does nothing while no window exists.
void setWindowTitle(const std::string& title);
// The last title set (also while no window exists); for tests.
const std::string& windowTitle();

// ---- Clock -------------------------------------------------------------------
// Milliseconds since an arbitrary start, wrapping at 2^32.
uint32_t ticks();
using ClockSource = std::function<uint32_t()>;
// Replaces the millisecond clock (tests); an empty source restores
// SDL_GetTicks.
void setClockSource(ClockSource source);

// ---- Process exit ------------------------------------------------------------
// Restores the desktop display mode (SDL_Quit) and ends the process.
[[noreturn]] void exitProcess(int code);

// ---- GL window -----------------------------------------------------------------
// One window per process, set up and taken down one step at a time; the
// window code above this layer (src/window) walks the steps in a fixed order
// and reports each failure in its own words. Tests put a system of their own
// in front of SDL's (to record the steps or make one fail); the shipping
// program only ever uses SDL's.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Set-up, in the order the window code takes the steps.
    virtual bool startVideo() = 0;  // the video subsystem is up
    // Chooses the full-screen mode width x height if the display offers it;
    // the switch itself happens when the window is shown. 0 x 0: full
    // screen at the desktop's own size, without a mode switch (false only
    // when the display cannot tell its size).
    virtual bool setDisplayMode(int width, int height, int colourBits) = 0;
    // A hidden window with an OpenGL visual (full screen at the chosen mode,
    // or a resizable window of that client size).
    virtual bool openWindow(const std::string& title, int width, int height, int colourBits,
                            bool fullscreen) = 0;
    virtual bool windowTakesGl() = 0;  // the window can carry a GL context
    // The buffers the GL context will have: RGBA (colour bits are a
    // minimum), double-buffered, depthBits of depth, no stencil.
    virtual bool requestGlBuffers(int colourBits, int depthBits) = 0;
    virtual bool loadGl() = 0;  // the GL library bound to the window
    virtual bool createGlContext() = 0;
    virtual bool makeGlContextCurrent() = 0;
    // Shows, raises and focuses the window, full screen as chosen last. False
    // when full screen was asked for and the display did not come out at the
    // chosen mode (the mode was refused after all); the window is then still
    // full screen.
    virtual bool showWindow() = 0;
    // Turns a full-screen window into a normal one of the given client size.
    virtual void makeWindowed(int width, int height) = 0;
    // Leaves full screen and so brings the desktop mode back; nothing if
    // the mode was never switched.
    virtual void restoreDesktopMode() = 0;
    virtual void showCursor(bool visible) = 0;

    // Release, in order. Each one does its work whatever happened before
    // and says whether there was something to release.
    virtual bool releaseGlContext() = 0;  // no context current any more
    virtual bool deleteGlContext() = 0;
    virtual bool unloadGl() = 0;
    virtual bool closeWindow() = 0;
    virtual bool stopVideo() = 0;
};
// The window system in use: SDL's unless a test put its own in front.
WindowSystem& windowSystem();
// SDL's window system, for a test system to pass the real work on to.
WindowSystem& sdlWindowSystem();
// nullptr restores SDL's. The caller keeps ownership.
void setWindowSystem(WindowSystem* system);

bool windowExists();
// The size of display 0's desktop mode; false before video is up or when the
// display cannot tell.
bool desktopSize(int& width, int& height);
bool displayModeSwitched();  // a full-screen mode is in force
bool cursorVisible();
// The window's size in pixels as the GL draws it (0 x 0 without a window).
void drawableSize(int& width, int& height);

// Presents the back buffer (nothing without a window) and counts the frame.
void present();
// Asks the GL to present in step with the display: adaptive vsync where the
// driver offers it, else plain vsync. Returns the swap interval in force
// (-1 adaptive, 1, or 0 when the driver gives none).
int requestVsync();
// Refreshes a second of the display the window is on (0 when unknown).
int displayRefreshRate();
uint64_t presentedFrames();

// ---- Events ----------------------------------------------------------------------
enum class EventKind {
    None,
    Quit,     // a posted quit was taken (the show ends after this frame)
    Close,    // the user asked to close the window
    KeyDown,  // key = virtual-key code below 256
    KeyUp,
    Resize,   // width, height = new client size
    Hidden,   // minimised or hidden: nobody sees the window
    Shown,    // shown or restored again
    MouseDown,  // x, y, button; only after acceptMouse(true)
    MouseUp,    // x, y, button
    MouseMove,  // x, y, buttons = the buttons held (bit 0 left, bit 2 right)
    Other,    // any other event; counts as the frame's one event
};
struct Event {
    EventKind kind = EventKind::None;  // None
    int key = 0;                       // 0; virtual-key code for key events
    int width = 0;                     // 0; client size for Resize
    int height = 0;                    // 0
    int x = 0, y = 0;                  // 0; mouse position in drawable pixels from the top-left corner
    int button = 0;                    // 0; 1 left, 2 middle, 3 right (MouseDown, MouseUp)
    int buttons = 0;                   // 0; buttons held (MouseMove)
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
// A mouse button pressed or let go, or the mouse moved with the left button
// held or not, at (x, y) in window pixels (video must be up).
bool injectMouseButton(int x, int y, int button, bool down);
bool injectMouseMove(int x, int y, bool leftHeld);
// The show takes one event a frame, so mouse events are dropped at the
// source; the authoring mode, which takes every waiting event, turns them on.
void acceptMouse(bool accept);
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
    // Beyond the seven: seek a playing stream (--start, the authoring mode)
    // and read what is being heard of it (the show clock follows it).
    // Backends without them report false / a negative value.
    virtual bool setPosition(uint32_t /*handle*/, double /*seconds*/) { return false; }
    // Seconds into the stream of the sound leaving the device now (what was
    // handed to it, less what still waits in its buffers); negative while
    // the stream is not playing or the backend cannot tell.
    virtual double position(uint32_t /*handle*/) { return -1.0; }
    // Starts the stream `seconds` into it (0: at its start), so that the
    // first sound heard is already that moment's. False as streamPlay.
    virtual bool streamPlayFrom(uint32_t handle, double seconds) {
        if (!streamPlay(handle)) return false;
        if (seconds > 0.0) setPosition(handle, seconds);
        return true;
    }
    // Holds or resumes a playing stream where it is (the authoring mode's
    // pause). Backends without it report false.
    virtual bool setPaused(uint32_t /*handle*/, bool /*paused*/) { return false; }
};
// Version the soundtrack code expects from getVersion.
constexpr uint32_t kAudioVersion = 0x00070000;
// The backend in use: SDL2_mixer unless a test installed its own.
AudioBackend& audio();
// nullptr restores SDL2_mixer. The caller keeps ownership.
void setAudioBackend(AudioBackend* backend);

}  // namespace platform
