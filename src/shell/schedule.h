// The show's schedule, in one place: the ten scene records with the script
// each is loaded from and the nine sections played one after the other. The
// timeline, the sections, the data check, capture, the bench, the content
// generator and the tests all read these tables; no section time is written
// anywhere else.
//
// Times are show-clock values in tenths of a second. A section runs while
// the clock is below its end time; the first section starts at 0 and each
// later one where the one before it ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

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

// A section's span: it runs while the clock is below its end time. What it
// draws and does is its unit's (shell/sections/section.h), found by name.
struct Section {
    const char* name;  // short name (window titles, reports, its unit)
    float endTime;     // tenths of a second; the section runs while the clock is below it
};

inline constexpr Section kSections[] = {
    {"title", 205.0f},  {"credits", 463.0f}, {"flight", 763.0f}, {"sparks", 1028.0f}, {"orbit", 1310.0f},
    {"magnets", 1575.0f}, {"fountain", 1840.0f}, {"stars", 2178.0f}, {"ending", 2310.0f},
};
inline constexpr size_t kSectionCount = sizeof(kSections) / sizeof(kSections[0]);

// The index of the section called `name` (kSectionCount when none is).
constexpr size_t sectionIndex(std::string_view name) {
    for (size_t i = 0; i < kSectionCount; ++i)
        if (name == kSections[i].name) return i;
    return kSectionCount;
}

// Clock value at which section i starts and the show's end.
constexpr float sectionStart(size_t i) { return i == 0 ? 0.0f : kSections[i - 1].endTime; }
inline constexpr float kShowEnd = kSections[kSectionCount - 1].endTime;  // 2310: 231 s

// The section playing at clock value c (the last one at or after the end).
constexpr size_t sectionAt(float c) {
    for (size_t i = 0; i < kSectionCount; ++i)
        if (c < kSections[i].endTime) return i;
    return kSectionCount - 1;
}

// The picture shown while the scenes load, before the first section.
inline constexpr int kLoadingPicture = 35;
