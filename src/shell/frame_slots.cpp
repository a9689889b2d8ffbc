// The grid of frame slots a capped show takes its displayed frames from.

#include "shell/frame_slots.h"

bool FrameSlots::due(double nowMs) {
    if (slotMs_ <= 0.0) return true;
    if (nowMs < nextMs_ - slotMs_ / 4) return false;  // the display runs faster than the cap
    nextMs_ += slotMs_;
    if (nowMs - nextMs_ > slotMs_) nextMs_ = nowMs;
    return true;
}
