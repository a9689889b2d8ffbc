// The table of the nine sections in schedule order, and what the data check
// asks of it: the needs of each scene and every picture drawn by index.
#include <algorithm>
#include <string_view>

#include "shell/sections/section.h"

extern const SectionUnit titleSection, creditsSection, flightSection, sparksSection, orbitSection, magnetsSection,
    fountainSection, starsSection, endingSection;

namespace {

struct Entry {
    std::string_view name;  // its entry in kSections
    const SectionUnit* unit;
};

constexpr Entry kUnits[] = {
    {"title", &titleSection}, {"credits", &creditsSection},   {"flight", &flightSection},
    {"sparks", &sparksSection}, {"orbit", &orbitSection},     {"magnets", &magnetsSection},
    {"fountain", &fountainSection}, {"stars", &starsSection}, {"ending", &endingSection},
};

constexpr bool inScheduleOrder() {
    if (std::size(kUnits) != kSectionCount) return false;
    for (size_t i = 0; i < kSectionCount; ++i)
        if (kUnits[i].name != kSections[i].name) return false;
    return true;
}
static_assert(inScheduleOrder(), "one unit per section of the schedule, in its order");

}  // namespace

const SectionUnit& sectionUnit(size_t i) { return *kUnits[i].unit; }

SceneNeeds sceneNeeds(SceneId id) {
    SceneNeeds all;
    for (const Entry& entry : kUnits)
        for (const SceneUse& use : entry.unit->scenes) {
            if (use.id != id) continue;
            all.omniLights = std::max(all.omniLights, use.needs.omniLights);
            all.objects = std::max(all.objects, use.needs.objects);
            all.magnets = std::max(all.magnets, use.needs.magnets);
            all.magneticObject |= use.needs.magneticObject;
            all.vortexObject |= use.needs.vortexObject;
            all.fog |= use.needs.fog;
        }
    return all;
}

std::vector<int> showPictures() {
    std::vector<int> pictures{kLoadingPicture, kFlashPicture};
    for (const Entry& entry : kUnits) pictures.insert(pictures.end(), entry.unit->pictures.begin(), entry.unit->pictures.end());
    std::sort(pictures.begin(), pictures.end());
    pictures.erase(std::unique(pictures.begin(), pictures.end()), pictures.end());
    return pictures;
}
