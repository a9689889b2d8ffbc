// The fountain (scene8): sprites spray up from below the scene's centre
// while the camera circles it, closer in (with a second flash) from 170.7 s.
// On entering, the scene's objects take the fountain's pictures.
#include "platform/gl.h"

#include <cmath>

#include "render/render.h"
#include "shell/sections/section.h"
#include "shell/sections/section_writes.h"
#include "shell/timeline.h"

namespace {

constexpr float kCloser = 1707.0f;  // the camera moves closer and the flash starts again
constexpr int kRimPicture = 13;     // objects 0 and 18
constexpr int kEvenPicture = 14;    // objects 2, 4, ..., 16
constexpr int kOddPicture = 15;     // objects 1, 3, ..., 15
constexpr int kPictures[] = {kRimPicture, kEvenPicture, kOddPicture, kParticleTexture};

void enter(Show& show, TimelineState& state) {
    Scene& scene8 = show.scene8;
    if (SceneObject* o = object(scene8, 17)) o->visible = false;
    if (SceneObject* o = object(scene8, 18)) o->textureId = kRimPicture;
    if (SceneObject* o = object(scene8, 0)) o->textureId = kRimPicture;
    for (int i = 1; i <= 15; i += 2)
        if (SceneObject* o = object(scene8, i)) o->textureId = kOddPicture;
    for (int i = 2; i <= 16; i += 2)
        if (SceneObject* o = object(scene8, i)) o->textureId = kEvenPicture;
    state.fountainPhase = 0;
}

void animate(float c, TimelineState& state, Show& show, ShowRandom& random) {
    const double cd = c;
    Scene& scene8 = show.scene8;
    scene8.cameraPosition.setVec3(f(10.0 * std::sin(0.1 * cd)), 2.0f, f(10.0 * std::cos(0.1 * cd)), 0.0f);
    scene8.cameraTarget.setVec3(f(2.0 * std::sin(0.03 * cd)), 0.0f, f(3.0 * std::cos(0.04 * cd)), 0.0f);
    if (c > kCloser) {
        if (state.fountainPhase == 0) {
            state.fountainPhase = 1;
            state.sceneStart = wholeClock(c);
        }
        scene8.cameraPosition.setVec3(f(-6.0 * std::sin(0.1 * cd)), f(std::sin(0.01 * cd) + 2.0),
                                      f(6.0 * std::cos(0.1 * cd)), 0.0f);
        scene8.cameraTarget.setVec3(f(-1.5 * std::sin(0.05 * cd)), 0.0f, f(2.0 * std::cos(0.03 * cd)), 0.0f);
    }
    Vec3 source;
    source.setVec3(0.0f, -1.5f, 0.0f, 0.0f);
    shedBurst(show.fountainSystem, source, 100, 0, 0.45f, 0.009f, c, state, random);
}

// Sprites shown for the last time by the section's previous frame give up
// their slots before the new ones spray.
void step(const SectionFrame& frame) {
    Show& show = frame.show;
    if (!frame.first) retireParticles(show.fountainSystem, frame.previousClock);
    animate(frame.clock, frame.state, show, frame.random);
    startSceneFrame(show.scene8);
    frame.state.flashAlpha = fadeFromEntry(frame.clock, frame.state, 0.08);
}

void draw(const SectionView& view) {
    drawScene(view.show.scene8);
    // The fountain was made on GL 1.1 drivers, which reject
    // (GL_DST_COLOR, GL_SRC_ALPHA_SATURATE) and so draw it with the
    // additive function in force. Newer drivers accept the pair and would
    // turn every sprite into a dark square, so the fountain is drawn with
    // the function it was seen with.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    drawParticles(view.show.fountainSystem, view.clock);
}

constexpr SceneUse kScenes[] = {{SceneId::scene8, {.objects = 19}}};

}  // namespace

extern const SectionUnit fountainSection{kScenes, kPictures, 65, -25.0f, FrameCount::Stepped, enter, step, draw};
