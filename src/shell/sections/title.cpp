// The title (scene3): the camera climbs past the scene while the title
// picture fades in from 11.5 s over 5 s, then from 17 s fades out in about
// 0.9 s while the flash rises. The picture is drawn with the alpha the frame
// before left it; the flash with this frame's.
#include "shell/sections/title.h"

#include <GL/gl.h>

#include <algorithm>

#include "shell/sections/section.h"
#include "shell/sections/section_writes.h"
#include "shell/timeline.h"

namespace {

constexpr float kFadeIn = 115.0f;   // the title picture starts to fade in after this
constexpr float kFadeOut = 170.0f;  // and to fade out, under a rising flash, after this

// The title's fade: phase 0 before the picture fades in, 1 fading in, 2
// fading out (each phase restarts the section's start time). One frame past
// both thresholds takes both steps.
void settleTitlePhase(float c, TimelineState& state) {
    const double cd = c;
    if (c > kFadeIn && state.titlePhase == 0) {
        state.sceneStart = wholeClock(c);
        state.titlePhase = 1;
    }
    if (state.titlePhase == 1) state.titleAlpha = f(std::min((cd - state.sceneStart) * 0.02, 1.0));
    if (c > kFadeOut && state.titlePhase == 1) {
        state.sceneStart = wholeClock(c);
        state.titlePhase = 2;
    }
    if (state.titlePhase == 2) {
        const double d = cd - state.sceneStart;
        state.flashAlpha = f(d * 0.025);
        state.titleAlpha = f(std::max(1.0 - d * 0.11, 0.0));
    }
}

void step(const SectionFrame& frame) {
    Scene& scene3 = frame.show.scene3;
    placeTitleCamera(frame.clock, scene3);
    startSceneFrame(scene3);
    frame.state.titlePictureAlpha = frame.state.titleAlpha;
    settleTitlePhase(frame.clock, frame.state);
}

void draw(const SectionView& view) {
    drawScene(view.show.scene3);
    glColor4f(1.0f, 1.0f, 1.0f, view.state.titlePictureAlpha);
    drawOverlay(kTitlePicture, -20.0f);
}

constexpr SceneUse kScenes[] = {{SceneId::scene3, {.omniLights = 2}}};
constexpr int kPictures[] = {kTitlePicture};

}  // namespace

void placeTitleCamera(double t, Scene& scene3) {
    scene3.cameraTarget.setVec3(0.0f, 20.0f, 0.0f, 0.0f);
    scene3.cameraPosition.setVec3(30.0f, f(0.16 * t - 7.0), f(0.1 * t - 10.0), 0.0f);
    placeLight(scene3, 0, 30.0, 10.0, 0.0, 1.0);
    placeLight(scene3, 1, 30.0, 30.0, 0.0, 1.0);
}

extern const SectionUnit titleSection{kScenes, kPictures, 90, -15.0f, FrameCount::Stepped, nullptr, step, draw};
