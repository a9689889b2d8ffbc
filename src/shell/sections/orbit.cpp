// The orbit (scene6): the camera circles the scene. Each frame shows the
// camera written with the clock of the section's frame before it, so the
// section's first frame shows the script's own camera.
#include <cmath>

#include "render/render.h"
#include "shell/sections/section.h"
#include "shell/sections/section_writes.h"
#include "shell/timeline.h"

namespace {

void placeCamera(float c, Scene& scene6) {
    const double cd = c;
    scene6.cameraPosition.setVec3(f(7.0 * std::cos(0.12 * cd)), f(std::sin(0.07 * cd) + 9.0),
                                  f(7.0 * std::sin(0.12 * cd)), 0.0f);
    scene6.cameraTarget.setVec3(f(5.0 * std::cos(0.05 * cd)), f(5.0 * std::sin(0.03 * cd) + 3.0),
                                f(6.0 * std::sin(0.04 * cd)), 0.0f);
    if (OmniLight* light = omniLight(scene6, 0)) light->flareSize = 0.0f;
}

void step(const SectionFrame& frame) {
    Scene& scene6 = frame.show.scene6;
    if (!frame.first) placeCamera(frame.previousClock, scene6);
    startSceneFrame(scene6);
    frame.state.flashAlpha = fadeFromEntry(frame.clock, frame.state, 0.05);
}

void draw(const SectionView& view) { drawScene(view.show.scene6); }

constexpr SceneUse kScenes[] = {{SceneId::scene6, {.omniLights = 1}}};

}  // namespace

extern const SectionUnit orbitSection{kScenes, {}, 90, -15.0f, FrameCount::None, nullptr, step, draw};
