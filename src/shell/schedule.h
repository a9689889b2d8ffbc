// The show's schedule, in one place: the ten scene records with the script
// each is loaded from, the nine sections played one after the other, and
// what each scene must hold for the timeline's writes to land. The timeline,
// the data check, capture, the bench, the content generator and the tests
// all read these tables; no section time is written anywhere else.
//
// Times are show-clock values in tenths of a second. A section runs while
// the clock is below its end time; the first section starts at 0 and each
// later one where the one before it ends.
#pragma once

#include <cstddef>
#include <cstdint>

// The ten scene records, named after their scripts.
enum class SceneId : uint8_t { scene, scene2, scene3, scene4, scene5, scene6, scene7, scene8, scene10, scene11 };
inline constexpr size_t kSceneCount = 10;

struct SceneSlot {
    SceneId id;
    const char* script;  // path inside the data folder's parent, backslashes as written by the show
    int roll;            // degrees of roll wobble set right after loading; 0: none
};

// Load order (the order the loading title walks through).
inline constexpr SceneSlot kSceneSlots[kSceneCount] = {
    {SceneId::scene, "data\\script\\scene.dat", 10},
    {SceneId::scene2, "data\\script\\scene2.dat", 18},
    {SceneId::scene3, "data\\script\\scene3.dat", 0},
    {SceneId::scene4, "data\\script\\scene4.dat", 30},
    {SceneId::scene5, "data\\script\\scene5.dat", 0},
    {SceneId::scene6, "data\\script\\scene6.dat", 25},
    {SceneId::scene7, "data\\script\\scene7.dat", 0},
    {SceneId::scene8, "data\\script\\scene8.dat", 15},
    {SceneId::scene10, "data\\script\\scene10.dat", 0},
    {SceneId::scene11, "data\\script\\scene11.dat", 15},
};

constexpr const SceneSlot& sceneSlot(SceneId id) {
    for (const SceneSlot& slot : kSceneSlots)
        if (slot.id == id) return slot;
    return kSceneSlots[0];
}

// Where in a frame a section advances the shared frame counter (which drives
// the magnets of section 6 and nothing else that is drawn).
enum class CounterStep : uint8_t {
    None,        // never
    BeforeDraw,  // before the section's first draw call of the frame
    AfterClock,  // after the clock update, before the Escape test
    AfterSwap,   // after the buffer swap
};

struct Section {
    const char* name;     // short name (window titles, reports)
    float endTime;        // tenths of a second; the section runs while the clock is below it
    SceneId scene;        // the scene drawn
    bool overScene;       // a second scene (scene10) is drawn over the first
    int fieldOfView;      // degrees, set before the section starts
    float flashDepth;     // depth of the white fade picture
    CounterStep counter;  // where the frame counter advances
};

inline constexpr Section kSections[] = {
    {"title", 205.0f, SceneId::scene3, false, 90, -15.0f, CounterStep::AfterClock},
    {"credits", 463.0f, SceneId::scene2, false, 90, -15.0f, CounterStep::None},
    {"flight", 763.0f, SceneId::scene11, false, 90, -15.0f, CounterStep::None},
    {"sparks", 1028.0f, SceneId::scene, false, 65, -25.0f, CounterStep::BeforeDraw},
    {"orbit", 1310.0f, SceneId::scene6, false, 90, -15.0f, CounterStep::None},
    {"magnets", 1575.0f, SceneId::scene5, true, 65, -25.0f, CounterStep::AfterSwap},
    {"fountain", 1840.0f, SceneId::scene8, false, 65, -25.0f, CounterStep::AfterClock},
    {"stars", 2178.0f, SceneId::scene4, false, 65, -25.0f, CounterStep::BeforeDraw},
    {"ending", 2310.0f, SceneId::scene3, false, 90, -15.0f, CounterStep::AfterClock},
};
inline constexpr size_t kSectionCount = sizeof(kSections) / sizeof(kSections[0]);

// Clock value at which section i starts and the show's end.
constexpr float sectionStart(size_t i) { return i == 0 ? 0.0f : kSections[i - 1].endTime; }
inline constexpr float kShowEnd = kSections[kSectionCount - 1].endTime;  // 2310: 231 s

// The section playing at clock value c (the last one at or after the end).
constexpr size_t sectionAt(float c) {
    for (size_t i = 0; i < kSectionCount; ++i)
        if (c < kSections[i].endTime) return i;
    return kSectionCount - 1;
}

// What the timeline writes into or reads from each scene: at least these
// many omni lights, objects and magnets, and the switches its effect shows.
struct SceneNeeds {
    SceneId id;
    int omniLights;      // lights the timeline moves (by index)
    int objects;         // objects the timeline moves or re-textures (by index)
    int magnets;         // magnets the timeline moves (by index)
    bool magneticObject; // an object with MAGNETIC=ON, or the magnets move nothing
    bool vortexObject;   // object 0 with VORTEX=ON, or the vortex turns nothing
    bool fog;            // FOG=ON: the star field is drawn through the scene's fog
};

inline constexpr SceneNeeds kSceneNeeds[] = {
    {SceneId::scene3, 2, 0, 0, false, false, false},  {SceneId::scene2, 2, 0, 0, false, false, false},
    {SceneId::scene, 1, 0, 0, false, false, false},   {SceneId::scene6, 1, 0, 0, false, false, false},
    {SceneId::scene5, 0, 2, 2, true, false, false},   {SceneId::scene10, 0, 1, 0, false, true, false},
    {SceneId::scene8, 0, 19, 0, false, false, false}, {SceneId::scene4, 0, 0, 0, false, false, true},
};

// Pictures the timeline draws by texture-list index (not through a scene
// script): the particle sprite, the section-6 overlay, the flash, the
// fountain's re-texturing, the title, the credits and the loading picture.
inline constexpr int kTimelineTextures[] = {1, 3, 5, 13, 14, 15, 19, 23, 24, 25, 30, 31, 32, 33, 34, 35};
