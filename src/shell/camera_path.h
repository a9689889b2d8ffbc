// The authoring mode's camera view: where a section's camera goes, found by
// stepping the GL-free timeline through the section, and a free camera the
// author flies around the scene to look at that path from outside.
#pragma once

#include <cstddef>
#include <vector>

#include "assets/vec3.h"

struct Show;

// The camera positions of section `section`, one per frame of the live step
// (60 a second) from its start to its end, as the timeline writes them into
// the section's scene before each frame is drawn. `fresh` is a show as
// loaded, before its first step; it is stepped from 0 and left wherever the
// section ends.
std::vector<Vec3> cameraPath(Show& fresh, size_t section);

// A camera the author moves: a position and the direction it looks in.
struct FreeCamera {
    Vec3 position;       // 0
    float yaw = 0.0f;    // 0; radians about the y axis, 0 looking along -z
    float pitch = 0.0f;  // 0; radians up from the horizontal, within +-1.5

    // The point one unit ahead.
    Vec3 target() const;
    // Moves `forward` units ahead, `right` to the side and `up` upwards.
    void move(float forward, float right, float up);
    // Turns by mouse pixels (0.005 radians each).
    void turn(int dx, int dy);
};

// A free camera outside the path and the point the show's camera looks at,
// looking at the middle of both from above and behind.
FreeCamera cameraOutside(const std::vector<Vec3>& path, const Vec3& lookedAt);

// Draws the path as a line strip, and the show's camera at `showCamera`
// looking at `showTarget` as a point and a short line, seen from `camera`
// with a perspective of `fieldOfView` degrees over the 4:3 picture. Leaves
// the GL state as it found it.
void drawCameraPath(const std::vector<Vec3>& path, const Vec3& showCamera, const Vec3& showTarget,
                    const FreeCamera& camera, int fieldOfView);
