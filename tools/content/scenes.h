// The ten scene scripts of the show and the meshes they name. Each scene is
// laid out for the camera path, lights, magnets and object changes that the
// show's timeline applies to it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "content/meshes.h"

namespace content {

struct SceneScript {
    std::string fileName;  // e.g. "scene2.dat", under data/script/
    std::string text;      // the script, every line ending in a line feed (or CR LF)
};

struct SceneSet {
    std::vector<SceneScript> scripts;    // in loading order: scene, scene2 ... scene8, scene10, scene11
    std::map<std::string, Mesh> meshes;  // file name under data/meshes/ -> mesh (one object per file)
};

SceneSet buildScenes();

// Number formatting used in scripts: at most four decimals, no trailing zeros.
std::string formatNumber(float value);

}  // namespace content
