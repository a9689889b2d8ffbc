// The one GL window of the show and its context, the key table and the
// event handling.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace platform {
struct Event;
}

// Where the picture goes in the window: x, y from the bottom-left corner, in
// pixels.
struct PictureRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PictureRect&) const = default;
};

// The window as the rest of the show sees it. One of the few globals, on
// purpose: the platform has exactly one window per process (SDL's state
// behind it is process-wide too), it outlives every part that reads it (the
// frame loop reads Escape, the event handling fills the key table, a resize
// moves the picture), and the event handling that writes it is called from
// the platform's event pump, which has no place to hand a record through.
struct GlWindow {
    bool fullscreen = true;             // true; as createGlWindow was asked, then as in force
    std::array<uint8_t, 256> keyDown{}; // all 0; 1 while the key with that virtual-key code is down
    // What exists right now, so a partial creation releases only that.
    bool windowOpen = false;            // false
    bool glBound = false;               // false; the window carries a GL context
    bool contextExists = false;         // false
    // The window's drawable size and the 4:3 picture inside it; bars
    // outside the picture are painted black each frame.
    int drawableWidth = 0, drawableHeight = 0;  // 0
    PictureRect picture;                // all 0
    int fieldOfView = 90;               // 90; degrees, of the projection in force (a resize keeps it)
};
extern GlWindow glWindow;

constexpr int VK_ESCAPE_CODE = 27;

// The show's picture is 4:3, the shape of all four screen modes; in a window
// or on a screen of another shape it keeps that shape, centred, with black
// bars beside or above and below it.
constexpr double kPictureAspect = 4.0 / 3.0;
// The largest 4:3 rectangle centred in width x height (each at least 1).
PictureRect pictureRect(int width, int height);

// Opens the window (full screen when asked: at width x height when the
// display takes that mode, else at the display's own size with the picture
// between bars), with a current double-buffered RGBA GL context, 16-bit
// depth, viewport and 90-degree projection. Width and height 0: the
// desktop's own size (full screen without a mode switch). False after
// telling the user what failed.
bool createGlWindow(const std::string& title, int width, int height, int colourBits,
                    bool fullscreenRequested);
// Releases display mode, context, window and video in that order; safe after
// a partial creation. Each failed release is reported and the rest goes on.
void closeGlWindow();
// Viewport (the 4:3 picture inside the client area, the GL scissored to it
// when bars remain) and the projection of the field of view in force
// (height 0 counts as 1), so a picture that filled the view before a
// resize fills it after.
void resizeGlView(int width, int height);
// The 4:3 perspective of `fieldOfView` degrees (near 0.1, far 100), kept for
// later resizes; leaves the model-view matrix selected and identity.
void projectPicture(int fieldOfView);
// Paints the bars beside the picture black; nothing when the picture fills
// the window. Called at the start of each frame (the back buffer holds
// anything after a swap).
void paintBars();
// Handles one window event: keys into the key table, a close request posts
// the quit the frame pump takes in a later frame, a resize resets the view.
void glWindowProc(const platform::Event& event);

// The colour bits per channel the GL context was granted (a 16-bit mode
// asks for at least 5-6-5; an X display of 24 bits grants 8-8-8). Zeros
// without a current context.
struct ColourBits {
    int red = 0, green = 0, blue = 0;
};
ColourBits grantedColourBits();
