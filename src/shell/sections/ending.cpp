// The ending (scene3 again): the title's camera path replayed from the
// section's start in the schedule, the title picture at full strength, and
// the flash closing over it from 226 s (above 1 from 227.25 s on, passed to
// GL as it is).
#include <GL/gl.h>

#include "render/render.h"
#include "shell/sections/section.h"
#include "shell/sections/section_writes.h"
#include "shell/sections/title.h"
#include "shell/timeline.h"

namespace {

constexpr double kStart = sectionStart(sectionIndex("ending"));
constexpr float kClosing = 2260.0f;  // the flash closes over the picture

void step(const SectionFrame& frame) {
    const float c = frame.clock;
    placeTitleCamera(static_cast<double>(c) - kStart, frame.show.scene3);
    startSceneFrame(frame.show.scene3);
    frame.state.flashAlpha = fadeFromEntry(c, frame.state, 0.05);
    if (c > kClosing) frame.state.flashAlpha = f((static_cast<double>(c) - kClosing) * 0.08);
}

void draw(const SectionView& view) {
    drawScene(view.show.scene3);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawOverlay(kTitlePicture, -20.0f);
}

constexpr SceneUse kScenes[] = {{SceneId::scene3, {.omniLights = 2}}};
constexpr int kPictures[] = {kTitlePicture};

}  // namespace

extern const SectionUnit endingSection{kScenes, kPictures, 90, -15.0f, FrameCount::Stepped, nullptr, step, draw};
