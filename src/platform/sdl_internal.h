// State shared between the SDL parts of the platform layer (window, events,
// title, exit). Never included above src/platform.
#pragma once

#include <SDL.h>

namespace platform::detail {

// The GL window, or nullptr.
SDL_Window* window();
// Leaves full screen, destroys the window and shuts SDL down; used on
// process exit so a switched display mode never outlives the process.
void shutdownVideo();
// Keeps SDL's queue to the events the show acts on (keys, quit, the window's
// close, resize, focus and visibility); called once video is up.
void keepOnlyShowEvents();

}  // namespace platform::detail
