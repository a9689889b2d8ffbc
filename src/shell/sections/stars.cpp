// The stars (scene4): the camera drifts through the dust field, drawn
// through the scene's fog. The field has drifted once for each of the
// section's frames before the one drawn.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "render/render.h"
#include "shell/sections/section.h"
#include "shell/sections/section_writes.h"
#include "shell/timeline.h"

namespace {

// The sway is what the sparks left (0 unless they were cut short).
void animate(float c, const TimelineState& state, Scene& scene4) {
    const double cd = c;
    scene4.cameraPosition.setVec3(f(2.5 * std::sin(0.07 * cd + 80.0)),
                                  f(2.0 * std::cos(40.0 - 0.035 * cd) + 2.0 * state.cameraSway * std::sin(cd)),
                                  2.0f, 0.0f);
    scene4.cameraTarget.setVec3(f(6.0 * std::cos(0.05 * cd)), f(-7.0 * std::sin(0.04 * cd)), 15.0f, 0.0f);
}

// One frame's drift toward the camera; a star that passes it goes to the far end.
void drift(ParticleSystem& dustField) {
    for (Particle& star : dustField.particles) {
        star.position.z = f(star.position.z - 0.07);
        if (star.position.z < 0.0f) star.position.z = f(star.position.z + 50.0);
    }
}

void step(const SectionFrame& frame) {
    if (!frame.first) drift(frame.show.dustField);
    animate(frame.clock, frame.state, frame.show.scene4);
    startSceneFrame(frame.show.scene4);
    const double since = static_cast<double>(frame.clock) - frame.state.sceneStart;
    frame.state.flashAlpha = f(std::clamp(1.0 - since * 0.05, 0.0, 1.0));
}

void draw(const SectionView& view) {
    drawScene(view.show.scene4);
    glEnable(GL_FOG);
    drawParticles(view.show.dustField, view.clock);
    glDisable(GL_FOG);
}

constexpr SceneUse kScenes[] = {{SceneId::scene4, {.fog = true}}};
constexpr int kPictures[] = {kParticleTexture};

}  // namespace

extern const SectionUnit starsSection{kScenes, kPictures, 65, -25.0f, FrameCount::Stepped, nullptr, step, draw};
