// State shared between the browser parts of the platform layer. Never
// included above src/platform.
#pragma once

namespace platform::detail {

// The clock the show runs on, in milliseconds: the page's clock, or while
// the soundtrack plays, the page's clock at the moment playback (re)started
// plus how far the AudioContext has played since, so that the picture
// follows the sound.
double clockMs();

}  // namespace platform::detail
