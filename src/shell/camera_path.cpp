// Stepping the timeline through a section for its camera path, the free
// camera's motion, and the path drawn as lines in the scene's space (no
// texture, light, fog or depth test, so it shows through the scene).
#include "shell/camera_path.h"

#include "platform/gl.h"

#include <algorithm>
#include <cmath>

#include "shell/frame.h"
#include "shell/sections/section.h"
#include "shell/startup.h"
#include "shell/timeline.h"
#include "window/gl_window.h"

std::vector<Vec3> cameraPath(Show& fresh, size_t section) {
    std::vector<Vec3> path;
    if (section >= kSectionCount) return path;
    Timeline timeline(fresh);
    startShowState(fresh, timeline);
    const Scene& scene = showScene(fresh, sectionUnit(section).scenes.front().id);
    for (int64_t n = 0;; ++n) {
        const float c = steppedClock(0.0, n, kStepRate);
        if (!(c < kSections[section].endTime) || !timeline.enter(c)) break;
        timeline.step(c, false);
        if (timeline.section() == section) path.push_back(scene.cameraPosition);
        timeline.finish();
    }
    return path;
}

Vec3 FreeCamera::target() const {
    Vec3 t = position;
    t.x += std::cos(pitch) * std::sin(yaw);
    t.y += std::sin(pitch);
    t.z -= std::cos(pitch) * std::cos(yaw);
    return t;
}

void FreeCamera::move(float forward, float right, float up) {
    position.x += forward * std::cos(pitch) * std::sin(yaw) + right * std::cos(yaw);
    position.y += forward * std::sin(pitch) + up;
    position.z += -forward * std::cos(pitch) * std::cos(yaw) + right * std::sin(yaw);
}

void FreeCamera::turn(int dx, int dy) {
    yaw += static_cast<float>(dx) * 0.005f;
    pitch = std::clamp(pitch - static_cast<float>(dy) * 0.005f, -1.5f, 1.5f);
}

FreeCamera cameraOutside(const std::vector<Vec3>& path, const Vec3& lookedAt) {
    Vec3 low = lookedAt, high = lookedAt;
    for (const Vec3& p : path) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    const Vec3 middle{(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
    // Far enough to see it all, near enough for the scene's far plane at 100.
    const float size = std::clamp(std::max({high.x - low.x, high.y - low.y, high.z - low.z}), 10.0f, 60.0f);
    FreeCamera camera;
    camera.pitch = -0.5f;  // looking down at about 30 degrees, along -z
    camera.position = {middle.x, middle.y + size * 0.6f, middle.z + size * 1.1f};
    return camera;
}

#ifdef ORBELUNE_GL_LAYER
// The browser's GL layer has no attribute stack, lines or points; the
// authoring mode that draws the path is native only.
void drawCameraPath(const std::vector<Vec3>&, const Vec3&, const Vec3&, const FreeCamera&, int) {}
#else
void drawCameraPath(const std::vector<Vec3>& path, const Vec3& showCamera, const Vec3& showTarget,
                    const FreeCamera& camera, int fieldOfView) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_POINT_BIT | GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(fieldOfView, kPictureAspect, 0.1, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const Vec3 t = camera.target();
    gluLookAt(camera.position.x, camera.position.y, camera.position.z, t.x, t.y, t.z, 0.0, 1.0, 0.0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glLineWidth(2.0f);
    glColor4f(1.0f, 0.85f, 0.1f, 1.0f);
    glBegin(GL_LINE_STRIP);
    for (const Vec3& p : path) glVertex3f(p.x, p.y, p.z);
    glEnd();
    glColor4f(0.2f, 1.0f, 0.3f, 1.0f);
    glBegin(GL_LINES);  // from the camera a quarter of the way to what it looks at
    glVertex3f(showCamera.x, showCamera.y, showCamera.z);
    glVertex3f(showCamera.x + (showTarget.x - showCamera.x) * 0.25f, showCamera.y + (showTarget.y - showCamera.y) * 0.25f,
               showCamera.z + (showTarget.z - showCamera.z) * 0.25f);
    glEnd();
    glPointSize(8.0f);
    glBegin(GL_POINTS);
    glVertex3f(showCamera.x, showCamera.y, showCamera.z);
    glEnd();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}
#endif
