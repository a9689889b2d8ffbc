// The nine sections as one frame-stepped machine. The timeline owns what
// every section shares (the section's start time, the frame counter, the
// last stepped clock, which section's projection is set) and hands each
// frame to the section playing: its step, then its draw and the flash over
// it. Moving on to a section runs its entry.
//
// GL state: a section's first drawn frame sets its projection and the
// additive blend function (GL_SRC_ALPHA, GL_ONE) that every section starts
// from; the blend function changes only where a section says so. The
// current colour is left as the last overlay set it (the frame loop resets
// it after each swap).
#include "shell/timeline.h"

#include <GL/gl.h>

#include "shell/frame.h"
#include "shell/sections/section.h"
#include "shell/sections/section_writes.h"

Scene& showScene(Show& show, SceneId id) {
    switch (id) {
        case SceneId::scene: return show.scene;
        case SceneId::scene2: return show.scene2;
        case SceneId::scene3: return show.scene3;
        case SceneId::scene4: return show.scene4;
        case SceneId::scene5: return show.scene5;
        case SceneId::scene6: return show.scene6;
        case SceneId::scene7: return show.scene7;
        case SceneId::scene8: return show.scene8;
        case SceneId::scene10: return show.scene10;
        case SceneId::scene11: return show.scene11;
    }
    return show.scene;
}

const Scene& showScene(const Show& show, SceneId id) { return showScene(const_cast<Show&>(show), id); }

void Timeline::fillDustField() {
    const Vec3 still;
    for (int i = 0; i < 1000; ++i) {
        Vec3 place;
        place.z = f((random_.next() % 500) * 0.1);
        place.x = f((30 - random_.next() % 60) * 0.1);
        place.y = f((30 - random_.next() % 60) * 0.1);
        spawnParticle(show_.dustField, place, still, 0.15f, 0.0f, 0.0f);
    }
}

bool Timeline::enter(float c) {
    while (section_ < kSectionCount && !(c < kSections[section_].endTime)) leaveSection();
    return section_ < kSectionCount;
}

void Timeline::leaveSection() {
    ++section_;
    sectionStepped_ = false;
    if (section_ < kSectionCount)
        if (const auto enterSection = sectionUnit(section_).enter) enterSection(show_, state_);
}

void Timeline::step(float c) {
    const SectionUnit& unit = sectionUnit(section_);
    const bool first = !sectionStepped_;
    if (first) state_.sceneStart = wholeClock(c);
    sectionStepped_ = true;
    const float previousClock = clock_;
    clock_ = c;
    ++steps_;
    unit.step({show_, state_, random_, c, first, previousClock, frameCounter_});
    if (unit.counted == FrameCount::Stepped) frameCounter_ += 1;
}

void Timeline::finish(bool presented) {
    if (!presented) {
        leaveSection();
        return;
    }
    if (sectionUnit(section_).counted == FrameCount::Presented) frameCounter_ += 1;
}

void Timeline::draw() {
    const SectionUnit& unit = sectionUnit(section_);
    if (drawnSection_ != section_) {
        setProjection(unit.fieldOfView);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        drawnSection_ = section_;
    }
    unit.draw({show_, state_, clock_});
    if (state_.flashAlpha > 0.0f) {
        glColor4f(1.0f, 1.0f, 1.0f, state_.flashAlpha);
        drawOverlay(kFlashPicture, unit.flashDepth);
    }
}
