// A section of the show as one unit. Each of the nine sections lives in its
// own file of this folder and says everything about itself there: the scenes
// it draws and what they must hold for its writes to land, its cue times, the
// pictures it draws by texture-list index, its projection and flash depth,
// which frames it counts, and what it does on being entered, on each step
// and on drawing. Its span (name and end time) is its entry in kSections
// (shell/schedule.h), found by name. The timeline walks the table of
// sectionUnit(i); the data check asks the same table what the show needs.
//
// A step writes only fields (no GL); a draw sends only GL calls and reads
// only what the steps left, so a frame can be drawn again, or not at all,
// without changing what follows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "shell/schedule.h"

struct Show;
struct TimelineState;
struct ShowRandom;

// The white fade picture every section draws over its frame (the flash).
inline constexpr int kFlashPicture = 5;

// What a section writes into or reads from one of its scenes: at least these
// many omni lights, objects and magnets, and the switches its effect shows.
struct SceneNeeds {
    int omniLights = 0;           // 0; lights it moves (by index)
    int objects = 0;              // 0; objects it moves or re-textures (by index)
    int magnets = 0;              // 0; magnets it moves (by index)
    bool magneticObject = false;  // false; an object with MAGNETIC=ON, or the magnets move nothing
    bool vortexObject = false;    // false; object 0 with VORTEX=ON, or the vortex turns nothing
    bool fog = false;             // false; FOG=ON: the star field is drawn through the scene's fog
};

struct SceneUse {
    SceneId id;
    SceneNeeds needs;
};

// Which of a section's frames advance the show's frame counter (which drives
// the magnets and nothing else that is drawn).
enum class FrameCount : uint8_t {
    None,       // none
    Stepped,    // every stepped frame, one that Escape cuts too
    Presented,  // every presented frame (counted once it is shown)
};

// What a section's step is given.
struct SectionFrame {
    Show& show;
    TimelineState& state;
    ShowRandom& random;
    float clock;           // c, the clock value the frame is drawn with
    bool first;            // the section's first frame
    float previousClock;   // the clock of the section's frame before this one (not first)
    int32_t frameCounter;  // the show's frame counter
};

// What a section's draw reads.
struct SectionView {
    const Show& show;
    const TimelineState& state;
    float clock;  // the clock of the last step
};

struct SectionUnit {
    std::span<const SceneUse> scenes;  // drawn in this order
    std::span<const int> pictures;     // texture-list indices drawn directly (besides the flash)
    int fieldOfView;                   // degrees, set before its first frame is drawn
    float flashDepth;                  // depth of the flash
    FrameCount counted;
    void (*enter)(Show&, TimelineState&);  // on moving on to the section; null: nothing
    void (*step)(const SectionFrame&);
    void (*draw)(const SectionView&);  // before the flash, which the timeline draws
};

// The section of kSections[i].
const SectionUnit& sectionUnit(size_t i);

// What the sections need of the scene `id`, over all sections that draw it.
SceneNeeds sceneNeeds(SceneId id);
// Every texture-list index the show draws directly, ascending: the loading
// picture, the flash and each section's pictures.
std::vector<int> showPictures();
