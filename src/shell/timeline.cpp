// The show itself: nine scene loops played one after the other on the shared
// frame skeleton, each drawing its scene with the camera, lights, magnets and
// objects animated by timeline_steps.cpp, then its picture overlays,
// particles and white flash. Also the show's one pseudo-random generator and
// the star field filled at start-up.
//
// GL state: the blend function is changed only where a loop says so; after
// the whole timeline it is (GL_SRC_ALPHA, GL_ONE). The current colour is left
// as the last overlay set it (the frame skeleton resets it after each swap).
#include "shell/timeline.h"

#include <GL/gl.h>

#include <functional>

#include "shell/frame.h"
#include "shell/settings.h"

namespace {

uint32_t randState = 1;

// The fade picture of every scene change, at `depth`, when alpha is positive.
void drawFlash(float alpha, float depth) {
    if (alpha > 0.0f) {
        glColor4f(1.0f, 1.0f, 1.0f, alpha);
        drawOverlay(5, depth);
    }
}

// Runs one loop on the frame skeleton; sceneStart is taken from the clock
// the loop's first frame is drawn with (the clock does not move between the
// end of one loop and the first draw of the next). False when the loop drew
// nothing because the show started after its end (--start).
bool playLoop(TimelineState& state, float endTime, std::function<void(float)> draw,
              std::function<void()> afterClock = {}, std::function<void()> afterSwap = {}) {
    bool entering = true;
    SceneLoop loop;
    loop.endTime = endTime;
    loop.draw = [&](float c) {
        if (entering) {
            enterLoop(state, c);
            entering = false;
        }
        draw(c);
    };
    loop.afterClock = std::move(afterClock);
    loop.afterSwap = std::move(afterSwap);
    runSceneLoop(loop);
    return !entering;
}

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

int showRand() {
    randState = randState * 214013u + 2531011u;
    return static_cast<int>((randState >> 16) & 0x7fffu);
}

void resetShowRand(uint32_t state) { randState = state; }

void fillDustField(Show& show) {
    const Vec3 still;
    for (int i = 0; i < 1000; ++i) {
        Vec3 place;
        place.z = static_cast<float>((showRand() % 500) * 0.1);
        place.x = static_cast<float>((30 - showRand() % 60) * 0.1);
        place.y = static_cast<float>((30 - showRand() % 60) * 0.1);
        spawnParticle(show.dustField, place, still, 0.15f, 0.0f, 0.0f);
    }
}

void runTimeline(Show& show) {
    TimelineState state;
    runTimeline(show, state);
}

void runTimeline(Show& show, TimelineState& st) {
    // 1: the title over scene3.
    st.phase = 0;
    st.shake = 0.0f;
    st.flashAlpha = 0.0f;
    playLoop(
        st, 205.0f,
        [&](float c) {
            animateTitle(c, show.scene3);
            drawScene(show.scene3);
            glColor4f(1.0f, 1.0f, 1.0f, st.shake);
            drawOverlay(19, -20.0f);
            settleTitlePhase(c, st);
        },
        [&] {
            if (st.flashAlpha > 0.0f) {
                glColor4f(1.0f, 1.0f, 1.0f, st.flashAlpha);
                if (st.flashAlpha > 1.0f) st.flashAlpha = 1.0f;
                drawOverlay(5, -15.0f);
            }
            timelineFrames += 1;
        });
    glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA);

    // 2: scene2 with the first three credits.
    setProjection(90);
    bool drewCredits = playLoop(st, 463.0f, [&](float c) {
        animateCredits(c, show.scene2);
        glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA);
        drawScene(show.scene2);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        settleCredits(c, st);
        for (int k = 0; k < 3; ++k) {
            glColor4f(1.0f, 1.0f, 1.0f, st.creditAlpha[k]);
            drawOverlayAt(23 + k, 14.0f, -15.0f, -33.0f);
        }
        drawFlash(st.flashAlpha, -15.0f);
    });
    for (float& alpha : st.creditAlpha) alpha = 0.0f;
    // Every frame of loop 2 ends on the additive blend function; a show
    // started after it (--start) must not keep the one set after loop 1.
    if (!drewCredits) glBlendFunc(GL_SRC_ALPHA, GL_ONE);

    // 3: the flight through scene11 with five sliding credits.
    setProjection(90);
    playLoop(st, 763.0f, [&](float c) {
        animateFlight(c, st, show.scene11);
        drawScene(show.scene11);
        settleFlight(c, st);
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
        drawFlash(st.flashAlpha, -15.0f);
    });

    // 4: a light circling the origin of scene, shedding sparks.
    setProjection(65);
    playLoop(st, 1028.0f, [&](float c) {
        animateSparks(c, st, show);
        drawScene(show.scene);
        drawParticles(show.sparkSystem, c);
        settleSparks(c, st);
        drawFlash(st.flashAlpha, -25.0f);
    });

    // 5: scene6, its camera written after the draw.
    setProjection(90);
    playLoop(st, 1310.0f, [&](float c) {
        drawScene(show.scene6);
        settleOrbit(c, st, show.scene6);
        drawFlash(st.flashAlpha, -15.0f);
    });

    // 6: magnets in scene5, the vortex of scene10 over it.
    setProjection(65);
    playLoop(
        st, 1575.0f,
        [&](float c) {
            animateMagnets(c, show);
            glBlendFunc(GL_DST_COLOR, GL_ONE_MINUS_DST_ALPHA);
            drawScene(show.scene5);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            drawScene(show.scene10);
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            drawOverlay(3, -25.0f);
            settleMagnets(c, st);
            drawFlash(st.flashAlpha, -25.0f);
        },
        {}, [] { timelineFrames += 1; });

    // 7: the fountain in scene8.
    prepareFountain(st, show.scene8);
    setProjection(65);
    playLoop(
        st, 1840.0f,
        [&](float c) {
            animateFountain(c, st, show);
            drawScene(show.scene8);
            // The fountain was made on GL 1.1 drivers, which reject
            // (GL_DST_COLOR, GL_SRC_ALPHA_SATURATE) and so draw it with the
            // additive function in force. Newer drivers accept the pair and
            // would turn every sprite into a dark square, so the fountain is
            // drawn with the function it was seen with.
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            drawParticles(show.fountainSystem, c);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            settleFountain(c, st);
            drawFlash(st.flashAlpha, -25.0f);
        },
        [] { timelineFrames += 1; });
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);

    // 8: through the star field of scene4.
    setProjection(65);
    playLoop(st, 2178.0f, [&](float c) {
        animateStars(c, st, show.scene4);
        drawScene(show.scene4);
        glEnable(GL_FOG);
        drawParticles(show.dustField, c);
        glDisable(GL_FOG);
        settleStars(c, st, show.dustField);
        drawFlash(st.flashAlpha, -25.0f);
    });

    // 9: the ending, the opening camera path over scene3 under the title.
    setProjection(90);
    playLoop(
        st, 2310.0f,
        [&](float c) {
            animateTitle(static_cast<double>(c) - 2178.0, show.scene3);
            drawScene(show.scene3);
            settleEnding(c, st);
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            drawOverlay(19, -20.0f);
        },
        [&] {
            drawFlash(st.flashAlpha, -15.0f);
            timelineFrames += 1;
        });
}
