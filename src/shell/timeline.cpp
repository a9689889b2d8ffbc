// The nine sections as one frame-stepped machine. step() runs a frame's
// animation in the order the show has always run it (the animation before
// the scene draw, the fades after it, the frame counters where the schedule
// puts them) and keeps aside the few values the frame draws before they
// change again; draw() then sends the same GL calls, in the same order, that
// the frame has always sent. What a frame changes after its drawing (the
// orbit camera, the star drift, spent particles, magnets undone) is done at
// the start of the next step, before anything reads it.
//
// GL state: a section's first drawn frame sets its projection and the
// additive blend function (GL_SRC_ALPHA, GL_ONE) that every section starts
// from; the blend function changes only where a section says so. The
// current colour is left as the last overlay set it (the frame skeleton
// resets it after each swap).
#include "shell/timeline.h"

#include "platform/gl.h"

#include <algorithm>

#include "shell/frame.h"

namespace {

enum : size_t { kTitle, kCredits, kFlight, kSparks, kOrbit, kMagnets, kFountain, kStars, kEnding };
static_assert(kEnding + 1 == kSectionCount, "one case per section of the schedule");

float f(double value) { return static_cast<float>(value); }

}  // namespace

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
    switch (section_) {
        case kTitle:
            // The title's alpha and the sparks' sway are one value carried
            // from section to section: a title cut short leaves it non-zero.
            state_.cameraSway = state_.titleAlpha;
            break;
        case kCredits:
            for (float& alpha : state_.creditAlpha) alpha = 0.0f;
            break;
        case kOrbit:
            break;
        case kMagnets:
            prepareFountain(state_, show_.scene8);
            break;
        default:
            break;
    }
    ++section_;
    sectionEntered_ = false;
}

void Timeline::finishPreviousFrame() {
    AfterDraw& after = afterDraw_;
    if (after.orbitCamera) placeOrbitCamera(after.clock, show_.scene6);
    if (after.starDrift) driftStars(show_.dustField);
    if (after.retire) retireParticles(*after.retire, after.clock);
    for (Scene* scene : after.drawn)
        if (scene && scene->magnetCount() > 0) restoreMagneticObjects(*scene);
    after = AfterDraw{};
}

void Timeline::advance(Scene& scene) {
    advanceScene(scene);
    afterDraw_.drawn[afterDraw_.drawn[0] ? 1 : 0] = &scene;
}

void Timeline::step(float c) {
    finishPreviousFrame();
    if (!sectionEntered_) {
        state_.sceneStart = wholeClock(c);
        sectionEntered_ = true;
    }
    clock_ = c;
    ++steps_;
    afterDraw_.clock = c;
    const CounterStep counter = kSections[section_].counter;
    if (counter == CounterStep::BeforeDraw) frameCounter_ += 1;
    stepSection(c);
    flashDrawn_ = state_.flashAlpha;
    if (section_ == kTitle && state_.flashAlpha > 1.0f) state_.flashAlpha = 1.0f;  // drawn unclamped, kept clamped
    if (counter == CounterStep::AfterClock) frameCounter_ += 1;
}

void Timeline::stepSection(float c) {
    Show& s = show_;
    TimelineState& st = state_;
    switch (section_) {
        case kTitle:
            animateTitle(c, s.scene3);
            advance(s.scene3);
            titleAlphaDrawn_ = st.titleAlpha;
            settleTitlePhase(c, st);
            break;
        case kCredits:
            animateCredits(c, s.scene2);
            advance(s.scene2);
            settleCredits(c, st);
            break;
        case kFlight:
            animateFlight(c, st, s.scene11);
            advance(s.scene11);
            settleFlight(c, st);
            break;
        case kSparks:
            animateSparks(c, st, s, random_);
            advance(s.scene);
            afterDraw_.retire = &s.sparkSystem;
            settleSparks(c, st);
            break;
        case kOrbit:
            advance(s.scene6);
            afterDraw_.orbitCamera = true;
            st.flashAlpha = fadeFromEntry(c, st, 0.05);
            break;
        case kMagnets:
            animateMagnets(c, frameCounter_, s);
            advance(s.scene5);
            advance(s.scene10);
            st.flashAlpha = fadeFromEntry(c, st, 0.05);
            break;
        case kFountain:
            animateFountain(c, st, s, random_);
            advance(s.scene8);
            afterDraw_.retire = &s.fountainSystem;
            st.flashAlpha = fadeFromEntry(c, st, 0.08);
            break;
        case kStars:
            animateStars(c, st, s.scene4);
            advance(s.scene4);
            afterDraw_.starDrift = true;
            st.flashAlpha = f(std::clamp(1.0 - (static_cast<double>(c) - st.sceneStart) * 0.05, 0.0, 1.0));
            break;
        case kEnding:
            animateTitle(static_cast<double>(c) - 2178.0, s.scene3);
            advance(s.scene3);
            settleEnding(c, st);
            break;
        default:
            break;
    }
}

void Timeline::finish(bool presented) {
    if (presented) {
        if (kSections[section_].counter == CounterStep::AfterSwap) frameCounter_ += 1;
        return;
    }
    leaveSection();
}

// The fade picture of every scene change, at `depth`, when its level is positive.
void Timeline::drawFlash(float depth) const {
    if (flashDrawn_ > 0.0f) {
        glColor4f(1.0f, 1.0f, 1.0f, flashDrawn_);
        drawOverlay(5, depth);
    }
}

void Timeline::draw() {
    const Section& schedule = kSections[section_];
    if (drawnSection_ != section_) {
        setProjection(schedule.fieldOfView);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        drawnSection_ = section_;
    }
    const Show& s = show_;
    const TimelineState& st = state_;
    const float depth = schedule.flashDepth;
    switch (section_) {
        case kTitle:
            drawScene(s.scene3);
            glColor4f(1.0f, 1.0f, 1.0f, titleAlphaDrawn_);
            drawOverlay(19, -20.0f);
            drawFlash(depth);
            break;
        case kCredits:
            glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA);
            drawScene(s.scene2);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            for (int k = 0; k < 3; ++k) {
                glColor4f(1.0f, 1.0f, 1.0f, st.creditAlpha[k]);
                drawOverlayAt(23 + k, 14.0f, -15.0f, -33.0f);
            }
            drawFlash(depth);
            break;
        case kFlight: {
            drawScene(s.scene11);
            const float* a = st.creditAlpha;
            const float* o = st.creditOffset;
            glColor4f(1.0f, 1.0f, 1.0f, a[0]);
            drawOverlayAt(30, o[0] + 19.0f, -15.0f, -44.0f);
            glColor4f(1.0f, 1.0f, 1.0f, a[1]);
            drawOverlayAt(31, o[1] - 15.0f, 15.0f, -44.0f);
            glColor4f(1.0f, 1.0f, 1.0f, a[2]);
            drawOverlayAt(32, o[2], -15.0f, -44.0f);
            glColor4f(1.0f, 1.0f, 1.0f, a[3]);
            drawOverlayAt(33, o[3] - 19.0f, 18.0f, -44.0f);
            glColor4f(1.0f, 1.0f, 1.0f, a[4]);
            drawOverlayAt(34, o[4] + 19.0f, 10.0f, -44.0f);
            drawFlash(depth);
            break;
        }
        case kSparks:
            drawScene(s.scene);
            drawParticles(s.sparkSystem, clock_);
            drawFlash(depth);
            break;
        case kOrbit:
            drawScene(s.scene6);
            drawFlash(depth);
            break;
        case kMagnets:
            glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_DST_ALPHA);
            drawScene(s.scene5);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            drawScene(s.scene10);
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            drawOverlay(3, -25.0f);
            drawFlash(depth);
            break;
        case kFountain:
            drawScene(s.scene8);
            // The fountain was made on GL 1.1 drivers, which reject
            // (GL_DST_COLOR, GL_SRC_ALPHA_SATURATE) and so draw it with the
            // additive function in force. Newer drivers accept the pair and
            // would turn every sprite into a dark square, so the fountain is
            // drawn with the function it was seen with.
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            drawParticles(s.fountainSystem, clock_);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            drawFlash(depth);
            break;
        case kStars:
            drawScene(s.scene4);
            glEnable(GL_FOG);
            drawParticles(s.dustField, clock_);
            glDisable(GL_FOG);
            drawFlash(depth);
            break;
        case kEnding:
            drawScene(s.scene3);
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            drawOverlay(19, -20.0f);
            drawFlash(depth);
            break;
        default:
            break;
    }
}
