// The credits (scene2): the scene drawn multiplied into the picture, with
// the first three credit pictures cross-fading one into the next, then the
// flash rising into the flight.
#include <GL/gl.h>

#include <cmath>

#include "render/render.h"
#include "shell/sections/section.h"
#include "shell/sections/section_writes.h"
#include "shell/timeline.h"

namespace {

constexpr float kFirstIn = 210.0f;    // the first credit fades in
constexpr float kSecondIn = 270.0f;   // the first gives way to the second
constexpr float kThirdIn = 336.0f;    // the second to the third
constexpr float kThirdOut = 405.0f;   // the third fades out
constexpr float kFlashRise = 453.0f;  // the flash rises into the flight
constexpr int kPictures[] = {23, 24, 25};

void animate(float c, Scene& scene2) {
    const double cd = c;
    scene2.cameraTarget.setVec3(f(4.0 * std::sin(0.02 * cd)), 2.0f, f(6.0 * std::cos(0.01 * cd)), 0.0f);
    scene2.cameraPosition.setVec3(f(15.0 * std::sin(0.01 * cd)), f(7.0 + std::sin(0.02 * cd)),
                                  f(-14.0 * std::sin(0.02 * cd)), 0.0f);
    placeLight(scene2, 0, 15.0 * std::sin(0.01 * cd), 10.0, 15.0 * std::cos(0.009 * cd), 0.0);
    placeLight(scene2, 1, -12.0 * std::sin(0.02 * cd), 10.0, 14.0 * std::cos(0.01 * cd), 0.0);
}

// Each later rule overrides the earlier ones.
void settle(float c, TimelineState& state) {
    const double cd = c;
    float* a = state.creditAlpha;
    if (c > kFirstIn) {
        a[0] = f((cd - kFirstIn) * 0.045);
        a[1] = a[2] = 0.0f;
    }
    if (c > kSecondIn) {
        const double x = (cd - kSecondIn) * 0.065;
        a[0] = f(1.0 - x);
        a[1] = f(x);
        a[2] = 0.0f;
    }
    if (c > kThirdIn) {
        const double x = (cd - kThirdIn) * 0.065;
        a[0] = 0.0f;
        a[1] = f(1.0 - x);
        a[2] = f(x);
    }
    if (c > kThirdOut) {
        a[0] = a[1] = 0.0f;
        a[2] = f(1.0 - (cd - kThirdOut) * 0.045);
    }
    state.flashAlpha = fadeFromEntry(c, state, 0.05);
    if (c > kFlashRise) state.flashAlpha = f((cd - kFlashRise) * 0.1);
}

void step(const SectionFrame& frame) {
    animate(frame.clock, frame.show.scene2);
    startSceneFrame(frame.show.scene2);
    settle(frame.clock, frame.state);
}

// The alphas go to GL as they are, below 0 or above 1.
void draw(const SectionView& view) {
    glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA);
    drawScene(view.show.scene2);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    for (size_t k = 0; k < 3; ++k) {
        glColor4f(1.0f, 1.0f, 1.0f, view.state.creditAlpha[k]);
        drawOverlayAt(kPictures[k], 14.0f, -15.0f, -33.0f);
    }
}

constexpr SceneUse kScenes[] = {{SceneId::scene2, {.omniLights = 2}}};

}  // namespace

extern const SectionUnit creditsSection{kScenes, kPictures, 90, -15.0f, FrameCount::None, nullptr, step, draw};
