// The sparks (scene): a light circles the origin shedding five sparks a
// frame while the camera sways, the sway dying away with the flash within
// two seconds of the start.
#include <algorithm>
#include <cmath>

#include "render/render.h"
#include "shell/sections/section.h"
#include "shell/sections/section_writes.h"
#include "shell/timeline.h"

namespace {

// The sway and the title's alpha are one value carried from section to
// section: the sway starts from what the title left (0 unless it was cut
// short).
void enter(Show&, TimelineState& state) { state.cameraSway = state.titleAlpha; }

void animate(float c, TimelineState& state, Show& show, ShowRandom& random) {
    const double cd = c;
    Scene& scene = show.scene;
    scene.cameraPosition.setVec3(f(4.0 * std::sin(0.13 * cd) - 20.0),
                                 f(3.0 * state.cameraSway * std::sin(0.14 * cd) - 2.0),
                                 f(4.0 * std::cos(0.08 * cd) - 15.0), 1.0f);
    scene.cameraTarget.setVec3(0.0f, 0.0f, 0.0f, 1.0f);
    Vec3& emitter = state.emitterPosition;
    emitter.setVec3(f(12.0 * std::sin(0.12 * cd)), f(2.0 * std::sin(0.07 * cd)), f(12.0 * std::cos(0.12 * cd)),
                    1.0f);
    emitter.length = 0.0f;
    if (OmniLight* light = omniLight(scene, 0)) light->position = emitter;
    shedBurst(show.sparkSystem, emitter, 200, 100, 1.0f, 0.025f, c, state, random);
}

// Sparks shown for the last time by the section's previous frame give up
// their slots before the new ones are shed.
void step(const SectionFrame& frame) {
    Show& show = frame.show;
    if (!frame.first) retireParticles(show.sparkSystem, frame.previousClock);
    animate(frame.clock, frame.state, show, frame.random);
    startSceneFrame(show.scene);
    frame.state.flashAlpha = fadeFromEntry(frame.clock, frame.state, 0.1);
    frame.state.cameraSway = f(std::max(static_cast<double>(frame.state.flashAlpha) + 1.0, 0.0));
}

void draw(const SectionView& view) {
    drawScene(view.show.scene);
    drawParticles(view.show.sparkSystem, view.clock);
}

constexpr SceneUse kScenes[] = {{SceneId::scene, {.omniLights = 1}}};
constexpr int kPictures[] = {kParticleTexture};

}  // namespace

extern const SectionUnit sparksSection{kScenes, kPictures, 65, -25.0f, FrameCount::Stepped, enter, step, draw};
