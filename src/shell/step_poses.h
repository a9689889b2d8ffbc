// What the show's last three steps left for drawing, so that a picture can
// be drawn at any time between two steps. A pose is every value a picture
// reads that moves from step to step: cameras, light positions and
// directions, flare sizes, magnets, object places and turns, the vertices of
// vortex objects, each scene's frame count (its roll), the fades and credit
// alphas and offsets, and the three particle pools.
//
// Drawing at a fraction a of the way from one step to the next writes
// prev + (next - prev) x a into the show's records (a = 0 writes prev
// itself), draws, and writes the newest pose back, so the steps read
// exactly what they left. Whatever is born or ends within a step appears or
// ends at that step: a sprite is drawn as the earlier step holds it (moved
// between the two places only while it is the same sprite in both and did
// not jump, as a star that passed the camera does), and discrete values
// (visibility, pictures, sections) are never blended.
//
// The fields are found once, at the first capture after loading; every
// later capture and blend copies into storage made then (nothing is
// allocated per step or per frame).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/render.h"
#include "shell/schedule.h"

struct Show;
struct TimelineState;

// One step's pose.
struct StepPose {
    float clock = 0.0f;   // 0; the step's clock value
    size_t section = 0;   // 0; the section the step belongs to
    std::vector<float> values;         // one per field, in field order
    std::vector<int32_t> frameCounts;  // one per scene, in slot order
    std::vector<Particle> pools[3];    // dust field, sparks, fountain
};

class StepPoses {
public:
    StepPoses(Show& show, TimelineState& state) : show_(show), state_(state) {}

    // Records the show as the step at `clock` of `section` left it, as the newest pose.
    void capture(float clock, size_t section);
    // Forgets every pose (the show goes on from a cut); keepNewest all but the newest.
    void clear() { count_ = 0; }
    void keepNewest() { count_ = count_ > 0 ? 1 : 0; }

    int count() const { return count_; }
    // age 0: the newest pose, 1 the one before, 2 the oldest kept.
    const StepPose& pose(int age) const { return poses_[(newest_ + kKept - age) % kKept]; }

    // The show as drawn at fraction a of the way from `from` to `to`.
    void blend(const StepPose& from, const StepPose& to, float a);
    // The same for one scene's camera, lights and frame count only.
    void blendLights(SceneId id, const StepPose& from, const StepPose& to, float a);
    // The newest pose back into the show.
    void restore() { blend(pose(0), pose(0), 0.0f); }

private:
    static constexpr int kKept = 3;

    // A scene's fields: [begin, lightsEnd) camera and lights, [lightsEnd, end) the rest.
    struct SceneFields {
        size_t begin = 0, lightsEnd = 0, end = 0;
    };

    void collect();
    void blendRange(size_t begin, size_t end, const StepPose& from, const StepPose& to, float a);
    void blendFrameCount(SceneId id, const StepPose& from, const StepPose& to, float a);

    Show& show_;
    TimelineState& state_;
    std::vector<float*> fields_;
    SceneFields scenes_[kSceneCount];
    size_t stateBegin_ = 0;
    bool collected_ = false;
    StepPose poses_[kKept];
    int newest_ = kKept - 1;
    int count_ = 0;
};
