// Pictures between two steps: the blend of two poses (halfway values, the
// earlier step itself at a = 0 whatever the later one holds, the newest
// pose back afterwards, sprites that appear or jump at a step, the roll's
// part frame), and on a real GL context the picture halfway between two
// steps of the title drawn with the halfway camera. That the step frames of
// any rate are the 60-fps frames bit for bit is tools/capture_test's.
#include "platform/gl.h"
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "shell/frame.h"
#include "shell/step_poses.h"
#include "shell/timeline.h"
#include "support/gl_context.h"

namespace {

Particle sprite(float x, float z, float birth) {
    Particle p;
    p.position.setVec3(x, 0.0f, z, 0.0f);
    p.startSize = 1.0f;
    p.birthTime = birth;
    p.alive = 1;
    return p;
}

}  // namespace

TEST(StepPoses, BlendHalfwayTheEarlierStepAtZeroAndTheNewestBack) {
    auto show = std::make_unique<Show>();
    TimelineState state;
    Scene& scene = show->scene2;
    scene.addOmniLight(0, 0, 0, 1, {}, {}, {}, 0, 0.0f);
    scene.addMagnet(0, 0, 0, 10);
    SceneObject& object = scene.addObject();
    StepPoses poses(*show, state);

    scene.cameraPosition.setVec3(1.0f, 2.0f, 3.0f, 0.0f);
    scene.omniLights[0].position.setVec3(4.0f, 0.0f, 0.0f, 1.0f);
    scene.magnets[0].setVec3(0.0f, 10.0f, 0.0f, 10.0f);
    object.rotation.z = 90.0f;
    scene.frameCount = 7;
    state.flashAlpha = 0.25f;
    show->dustField.particles[0] = sprite(0.0f, 0.02f, 0.0f);   // passes the camera
    show->dustField.particles[1] = sprite(0.0f, 10.0f, 0.0f);   // drifts
    show->sparkSystem.particles[0] = sprite(1.0f, 1.0f, 3.0f);  // ends with the next step
    poses.capture(10.0f, 3);

    scene.cameraPosition.setVec3(3.0f, 2.0f, -1.0f, 0.0f);
    scene.omniLights[0].position.setVec3(6.0f, 0.0f, 0.0f, 1.0f);
    scene.magnets[0].setVec3(0.0f, 20.0f, 0.0f, 10.0f);
    object.rotation.z = std::numeric_limits<float>::infinity();
    scene.frameCount = 8;
    state.flashAlpha = 0.75f;
    show->dustField.particles[0].position.z = 49.95f;
    show->dustField.particles[1].position.z = 9.93f;
    show->sparkSystem.particles[0] = sprite(2.0f, 2.0f, 4.0f);  // another spark in the slot
    show->sparkSystem.particles[1] = sprite(5.0f, 5.0f, 4.0f);  // born with the next step
    poses.capture(10.5f, 3);
    ASSERT_EQ(poses.count(), 2);

    poses.blend(poses.pose(1), poses.pose(0), 0.5f);
    EXPECT_EQ(scene.cameraPosition.x, 2.0f);
    EXPECT_EQ(scene.cameraPosition.z, 1.0f);
    EXPECT_EQ(scene.omniLights[0].position.x, 5.0f);
    EXPECT_EQ(scene.magnets[0].y, 15.0f);
    EXPECT_EQ(state.flashAlpha, 0.5f);
    EXPECT_EQ(scene.frameCount, 7);
    EXPECT_EQ(scene.frameFraction, 0.5f);
    EXPECT_EQ(show->dustField.particles[0].position.z, 0.02f);  // not slid across the field
    EXPECT_FLOAT_EQ(show->dustField.particles[1].position.z, 9.965f);
    EXPECT_EQ(show->sparkSystem.particles[0].position.x, 1.0f);  // the earlier spark, where it was
    EXPECT_EQ(show->sparkSystem.particles[0].birthTime, 3.0f);
    EXPECT_EQ(show->sparkSystem.particles[1].alive, 0);  // not there before its step

    poses.blend(poses.pose(1), poses.pose(0), 0.0f);
    EXPECT_EQ(object.rotation.z, 90.0f);  // the earlier step itself, even beside an infinite one
    EXPECT_EQ(scene.frameFraction, 0.0f);

    poses.restore();
    EXPECT_EQ(scene.cameraPosition.x, 3.0f);
    EXPECT_EQ(scene.magnets[0].y, 20.0f);
    EXPECT_EQ(scene.frameCount, 8);
    EXPECT_EQ(scene.frameFraction, 0.0f);
    EXPECT_EQ(show->dustField.particles[0].position.z, 49.95f);
    EXPECT_EQ(show->sparkSystem.particles[1].alive, 1);

    // Three are kept: the oldest goes.
    poses.capture(11.0f, 4);
    poses.capture(11.5f, 4);
    EXPECT_EQ(poses.count(), 3);
    EXPECT_EQ(poses.pose(2).clock, 10.5f);
    EXPECT_EQ(poses.pose(0).section, 4u);
}

// The title's camera climbs along a straight line in its first seconds and
// nothing else it draws moves, so the picture halfway between its first two
// steps is the picture of the title stepped at the halfway clock. A white
// triangle just in front of the camera, with an edge across the picture,
// shows the camera's few pixels of climb.
TEST(Interpolation, AFrameHalfwayBetweenTwoStepsDrawsTheHalfwayCamera) {
    TestGlContext gl{160, 120};
    ASSERT_TRUE(gl.ok());
    auto picture = [&](auto&& drawIt) {
        auto show = std::make_unique<Show>();
        Scene& scene3 = show->scene3;
        SceneObject& wall = scene3.addObject();
        wall.cullFace = false;
        // 0.3 units from the camera at 0 toward its target (0, 20, 0).
        const double dx = -30.0, dy = 27.0, dz = 10.0, d = std::sqrt(dx * dx + dy * dy + dz * dz);
        const double cx = 30.0 + 0.3 * dx / d, cy = -7.0 + 0.3 * dy / d, cz = -10.0 + 0.3 * dz / d;
        const double ux = 10.0 / std::sqrt(1000.0), uz = 30.0 / std::sqrt(1000.0);  // level, across the view
        wall.vertices.resize(3);
        auto corner = [&](size_t i, double across, double up) {
            wall.vertices[i].position.setVec3(static_cast<float>(cx + across * ux), static_cast<float>(cy + up),
                                              static_cast<float>(cz + across * uz), 0.0f);
        };
        corner(0, -1.0, 0.0);
        corner(1, 1.0, 0.0);
        corner(2, 0.0, 1.0);
        wall.faces.resize(1);
        wall.faces[0].index[0] = 0;
        wall.faces[0].index[1] = 1;
        wall.faces[0].index[2] = 2;
        Timeline timeline(*show);
        drawIt(timeline);
        return gl.readPixels();
    };
    const float halfway = stepClock(1) / 2.0f;
    auto between = [&](float t) {
        return picture([&](Timeline& timeline) {
            stepTo(timeline, t);
            timeline.drawAt(t);
        });
    };
    const auto first = between(0.0f), middle = between(halfway);
    const auto second = picture([&](Timeline& timeline) {
        stepTo(timeline, stepClock(1));
        timeline.drawAt(stepClock(1));
    });
    const auto stepped = picture([&](Timeline& timeline) {
        ASSERT_TRUE(timeline.enter(halfway));
        timeline.step(halfway);
        timeline.drawAt(halfway);
    });
    EXPECT_NE(middle, first);
    EXPECT_NE(middle, second);
    size_t differing = 0;
    for (size_t i = 0; i < middle.size(); ++i) differing += middle[i] != stepped[i];
    EXPECT_LE(differing, 3u * 2u) << "a pixel or two on the edge may round the other way";
}
