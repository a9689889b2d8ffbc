// Which displayed frames a capped live show uses, when something else (a
// browser's animation frames) decides when frames come: at most `maxFps` a
// second on a grid of 1 / maxFps slots. A frame up to a quarter of a slot
// early takes its slot (the display's own rhythm jitters); a frame that
// comes more than a slot late starts a new grid instead of making up for the
// slots it missed with a burst.
#pragma once

class FrameSlots {
public:
    // maxFps 0: every frame is due.
    explicit FrameSlots(int maxFps) : slotMs_(maxFps > 0 ? 1000.0 / maxFps : 0.0) {}

    // The grid starts at `nowMs`.
    void start(double nowMs) { nextMs_ = nowMs; }
    // Whether the frame that comes at `nowMs` is drawn; taking a slot moves
    // the grid on.
    bool due(double nowMs);

private:
    double slotMs_ = 0.0;  // 0: no cap
    double nextMs_ = 0.0;  // 0; when the next slot begins
};
