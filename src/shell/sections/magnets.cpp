// The magnets (scene5, with scene10 drawn over it): two spinning objects
// pulled out of shape by two magnets whose paths follow the show's frame
// counter, under a swirling vortex object and a fixed overlay picture. The
// section counts its presented frames.
#include <GL/gl.h>

#include <cmath>

#include "render/render.h"
#include "shell/sections/section.h"
#include "shell/sections/section_writes.h"
#include "shell/timeline.h"

namespace {

constexpr int kOverlayPicture = 3;

void animate(float c, int32_t frameCounter, Show& show) {
    Scene& scene5 = show.scene5;
    if (SceneObject* spinner = object(scene5, 0)) spinner->rotation.z = f(spinner->rotation.z + 0.1);
    if (SceneObject* spinner = object(scene5, 1)) spinner->rotation.z = f(spinner->rotation.z - 0.1);
    const double n = frameCounter;
    if (Magnet* m = magnet(scene5, 0))
        m->setVec3(f(20.0 * std::sin(0.01 * n)), f(15.0 * std::cos(0.02 * n)), f(3.0 * std::sin(0.01 * n) + 6.0),
                   10.0f);
    if (Magnet* m = magnet(scene5, 1))
        m->setVec3(f(20.0 * std::cos(333.0 - 0.02 * n)), f(25.0 * std::cos(0.01 * n + 666.0)),
                   f(4.0 * std::sin(0.01 * n) + 9.0), 20.0f);

    if (SceneObject* swirl = object(show.scene10, 0)) {
        const double cd = c;
        swirl->position.setVec3(f(10.0 * std::sin(0.05 * cd)), f(10.0 * std::cos(0.05 * cd)), 0.0f, 0.0f);
        swirl->rotation.setVec3(f(100.0 * std::sin(0.05 * cd)), f(50.0 * std::cos(0.05 * cd)), 0.0f, 0.0f);
        // The innermost ring's angles; the vortex passes them outward ring by ring.
        setRingAngles(*swirl, 0.0f, 0.0f, f(0.02 * std::sin(0.2 * cd)));
    }
}

void step(const SectionFrame& frame) {
    animate(frame.clock, frame.frameCounter, frame.show);
    startSceneFrame(frame.show.scene5);
    startSceneFrame(frame.show.scene10);
    frame.state.flashAlpha = fadeFromEntry(frame.clock, frame.state, 0.05);
}

void draw(const SectionView& view) {
    glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_DST_ALPHA);
    drawScene(view.show.scene5);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    drawScene(view.show.scene10);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawOverlay(kOverlayPicture, -25.0f);
}

constexpr SceneUse kScenes[] = {
    {SceneId::scene5, {.objects = 2, .magnets = 2, .magneticObject = true}},
    {SceneId::scene10, {.objects = 1, .vortexObject = true}},
};
constexpr int kPictures[] = {kOverlayPicture};

}  // namespace

extern const SectionUnit magnetsSection{kScenes, kPictures, 65, -25.0f, FrameCount::Presented, nullptr, step, draw};
