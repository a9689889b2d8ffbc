// The poses of the last three steps and the blend between two of them.
#include "shell/step_poses.h"

#include <cmath>

#include "shell/timeline.h"

namespace {

// A sprite that moved further than this between two steps was put somewhere
// else (a star that passed the camera starts again at the far end): it is
// not slid across.
constexpr float kSpriteJump = 1.0f;

float lerp(float prev, float next, float a) { return prev + (next - prev) * a; }

void addVec3(std::vector<float*>& fields, Vec3& v, bool withW) {
    fields.push_back(&v.x);
    fields.push_back(&v.y);
    fields.push_back(&v.z);
    if (withW) fields.push_back(&v.w);
}

ParticleSystem& pool(Show& show, size_t i) {
    return i == 0 ? show.dustField : i == 1 ? show.sparkSystem : show.fountainSystem;
}

// The same sprite in both steps, near enough to slide between its places.
bool slides(const Particle& p, const Particle& q) {
    return p.alive == 1 && q.alive == 1 && p.birthTime == q.birthTime && std::fabs(q.position.x - p.position.x) < kSpriteJump &&
           std::fabs(q.position.y - p.position.y) < kSpriteJump && std::fabs(q.position.z - p.position.z) < kSpriteJump;
}

}  // namespace

void StepPoses::collect() {
    for (const SceneSlot& slot : kSceneSlots) {
        Scene& scene = showScene(show_, slot.id);
        SceneFields& range = scenes_[static_cast<size_t>(slot.id)];
        range.begin = fields_.size();
        addVec3(fields_, scene.cameraPosition, false);
        addVec3(fields_, scene.cameraTarget, false);
        for (OmniLight& light : scene.omniLights) {
            addVec3(fields_, light.position, true);
            fields_.push_back(&light.flareSize);
        }
        for (SpotLight& light : scene.spotLights) {
            addVec3(fields_, light.position, true);
            addVec3(fields_, light.direction, false);
        }
        range.lightsEnd = fields_.size();
        for (Magnet& m : scene.magnets) addVec3(fields_, m, true);
        for (const auto& object : scene.objects) {
            addVec3(fields_, object->position, false);
            addVec3(fields_, object->rotation, false);
            if (!object->vortex) continue;
            for (MeshVertex& v : object->vertices) {
                addVec3(fields_, v.position, false);
                addVec3(fields_, v.normal, false);
            }
        }
        range.end = fields_.size();
    }
    stateBegin_ = fields_.size();
    fields_.push_back(&state_.flashAlpha);
    fields_.push_back(&state_.titlePictureAlpha);
    for (float& alpha : state_.creditAlpha) fields_.push_back(&alpha);
    for (float& offset : state_.creditOffset) fields_.push_back(&offset);

    for (StepPose& pose : poses_) {
        pose.values.resize(fields_.size());
        pose.frameCounts.resize(kSceneCount);
        for (size_t i = 0; i < 3; ++i) pose.pools[i].resize(pool(show_, i).particles.size());
    }
    collected_ = true;
}

void StepPoses::capture(float clock, size_t section) {
    if (!collected_) collect();
    newest_ = (newest_ + 1) % kKept;
    if (count_ < kKept) ++count_;
    StepPose& pose = poses_[newest_];
    pose.clock = clock;
    pose.section = section;
    for (size_t i = 0; i < fields_.size(); ++i) pose.values[i] = *fields_[i];
    for (const SceneSlot& slot : kSceneSlots)
        pose.frameCounts[static_cast<size_t>(slot.id)] = showScene(show_, slot.id).frameCount;
    for (size_t i = 0; i < 3; ++i) pose.pools[i] = pool(show_, i).particles;
}

void StepPoses::blendRange(size_t begin, size_t end, const StepPose& from, const StepPose& to, float a) {
    if (a == 0.0f) {
        for (size_t i = begin; i < end; ++i) *fields_[i] = from.values[i];
        return;
    }
    for (size_t i = begin; i < end; ++i) *fields_[i] = lerp(from.values[i], to.values[i], a);
}

// The roll follows the frame count: the whole count of the earlier step and
// the blended part of the way to the later one.
void StepPoses::blendFrameCount(SceneId id, const StepPose& from, const StepPose& to, float a) {
    const auto i = static_cast<size_t>(id);
    Scene& scene = showScene(show_, id);
    scene.frameCount = from.frameCounts[i];
    scene.frameFraction = a == 0.0f ? 0.0f : static_cast<float>(to.frameCounts[i] - from.frameCounts[i]) * a;
}

void StepPoses::blend(const StepPose& from, const StepPose& to, float a) {
    blendRange(0, fields_.size(), from, to, a);
    for (const SceneSlot& slot : kSceneSlots) blendFrameCount(slot.id, from, to, a);
    for (size_t i = 0; i < 3; ++i) {
        std::vector<Particle>& particles = pool(show_, i).particles;
        particles = from.pools[i];
        if (a == 0.0f) continue;
        for (size_t k = 0; k < particles.size(); ++k) {
            const Particle& next = to.pools[i][k];
            Particle& p = particles[k];
            if (!slides(p, next)) continue;
            p.position.x = lerp(p.position.x, next.position.x, a);
            p.position.y = lerp(p.position.y, next.position.y, a);
            p.position.z = lerp(p.position.z, next.position.z, a);
        }
    }
}

void StepPoses::blendLights(SceneId id, const StepPose& from, const StepPose& to, float a) {
    const SceneFields& range = scenes_[static_cast<size_t>(id)];
    blendRange(range.begin, range.lightsEnd, from, to, a);
    blendFrameCount(id, from, to, a);
}
