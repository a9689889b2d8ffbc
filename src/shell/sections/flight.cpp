// The flight (scene11): the camera flies into the scene while five credit
// pictures fade in and out one after the other, each sliding sideways (and
// still sliding once it has gone), then the flash rises into the sparks.
#include <GL/gl.h>

#include <cmath>

#include "render/render.h"
#include "shell/sections/section.h"
#include "shell/sections/section_writes.h"
#include "shell/timeline.h"

namespace {

// A sliding credit: fades in after `in`, out after `out`, drifting by
// `direction` x 0.2 per clock unit from the time it came in; drawn at
// (x + drift, y).
struct SlidingCredit {
    int picture;
    float in, out;
    double direction;
    float x, y;
};

constexpr SlidingCredit kCredits[5] = {
    {30, 500.0f, 515.0f, -1.0, 19.0f, -15.0f}, {31, 535.0f, 555.0f, 1.0, -15.0f, 15.0f},
    {32, 595.0f, 615.0f, -1.0, 0.0f, -15.0f},  {33, 615.0f, 640.0f, 1.0, -19.0f, 18.0f},
    {34, 650.0f, 675.0f, -1.0, 19.0f, 10.0f},
};
constexpr int kPictures[] = {30, 31, 32, 33, 34};
constexpr float kFlashRise = 728.0f;  // the flash rises into the sparks

// The credits start from 0 (the credits section leaves its three alphas behind).
void enter(Show&, TimelineState& state) {
    for (float& alpha : state.creditAlpha) alpha = 0.0f;
}

void animate(float c, const TimelineState& state, Scene& scene11) {
    const double cd = c;
    scene11.cameraPosition.setVec3(f(5.0 * std::cos(0.04 * cd)), f(-6.0 * std::sin(0.03 * cd)),
                                   f(0.45 * (cd - state.sceneStart)), 0.0f);
    scene11.cameraTarget.setVec3(f(-6.0 * std::sin(0.02 * cd)), f(5.0 * std::cos(0.04 * cd)), 200.0f, 0.0f);
}

void settle(float c, TimelineState& state) {
    const double cd = c;
    for (size_t k = 0; k < 5; ++k) {
        const SlidingCredit& credit = kCredits[k];
        if (c > credit.in) {
            state.creditAlpha[k] = f((cd - credit.in) * 0.07);
            state.creditOffset[k] = f(credit.direction * (cd - credit.in) * 0.2);
        }
        if (c > credit.out) state.creditAlpha[k] = f(1.0 - (cd - credit.out) * 0.07);
    }
    state.flashAlpha = fadeFromEntry(c, state, 0.05);
    if (c > kFlashRise) state.flashAlpha = f((cd - kFlashRise) * 0.2);
}

void step(const SectionFrame& frame) {
    animate(frame.clock, frame.state, frame.show.scene11);
    startSceneFrame(frame.show.scene11);
    settle(frame.clock, frame.state);
}

// The alphas go to GL as they are, below 0 or above 1.
void draw(const SectionView& view) {
    drawScene(view.show.scene11);
    for (size_t k = 0; k < 5; ++k) {
        const SlidingCredit& credit = kCredits[k];
        glColor4f(1.0f, 1.0f, 1.0f, view.state.creditAlpha[k]);
        drawOverlayAt(credit.picture, view.state.creditOffset[k] + credit.x, credit.y, -44.0f);
    }
}

constexpr SceneUse kScenes[] = {{SceneId::scene11, {}}};

}  // namespace

extern const SectionUnit flightSection{kScenes, kPictures, 90, -15.0f, FrameCount::None, enter, step, draw};
