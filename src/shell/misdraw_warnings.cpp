// The texture count is the list's, read as the loader reads it; objects are
// those of the scenes the sections draw, one line per scene.
#include "shell/misdraw_warnings.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "assets/data_path.h"
#include "assets/file_read.h"
#include "assets/texture_table.h"
#include "scene/scene_script.h"
#include "shell/sections/section.h"
#include "shell/timeline.h"

namespace {

constexpr const char* kListPath = "data\\script\\texture.dat";
constexpr size_t kListed = 8;  // objects named before "and N more"

std::string asText(const FileBytes& file) {
    return std::string(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
}

}  // namespace

std::vector<std::string> misdrawWarnings(const Show& show) {
    std::vector<std::string> lines;
    Diagnostics reported;  // the show has shown these already
    const std::optional<TextureListFile> list = readTextureListFile(resolveDataPath(kListPath), reported);
    if (!list) return lines;  // the show stopped on it already
    const auto count = static_cast<int>(list->entries.size());
    if (list->unreadLastLine)
        lines.push_back(std::string(kListPath) + ": the last line \"" + *list->unreadLastLine +
                        "\" has no newline, so that picture is not loaded");
    if (count == 0) {
        lines.push_back(std::string(kListPath) + " lists no picture, so every object is drawn untextured and the "
                        "show's pictures come out white");
        return lines;
    }
    // One line per scene the sections draw, in the order they first draw them.
    std::vector<SceneId> scenes;
    for (size_t i = 0; i < kSectionCount; ++i)
        for (const SceneUse& use : sectionUnit(i).scenes)
            if (std::find(scenes.begin(), scenes.end(), use.id) == scenes.end()) scenes.push_back(use.id);
    for (SceneId id : scenes) {
        std::vector<size_t> objects;
        std::set<int> textures;
        const Scene& scene = showScene(show, id);
        for (size_t o = 0; o < scene.objects.size(); ++o) {
            if (scene.objects[o]->textureId < count) continue;
            objects.push_back(o);
            textures.insert(scene.objects[o]->textureId);
        }
        if (objects.empty()) continue;
        std::string names;
        for (size_t k = 0; k < objects.size() && k < kListed; ++k) names += (k ? ", " : "") + std::to_string(objects[k]);
        if (objects.size() > kListed) names += " and " + std::to_string(objects.size() - kListed) + " more";
        std::string numbers;
        for (int t : textures) numbers += (numbers.empty() ? "" : ", ") + std::to_string(t);
        lines.push_back(std::string(sceneSlot(id).script) + (objects.size() > 1 ? ": objects " : ": object ") + names +
                        (textures.size() > 1 ? " name textures " : " name texture ") + numbers +
                        " but the list holds " + std::to_string(count) + ", so they are drawn untextured");
    }
    std::string pictures;
    for (int picture : showPictures())
        if (picture >= count) pictures += (pictures.empty() ? "" : ", ") + std::to_string(picture);
    if (!pictures.empty())
        lines.push_back("the show draws pictures " + pictures + " but the list holds " + std::to_string(count) +
                        ", so they come out white");

    for (const SceneSlot& slot : kSceneSlots) {
        const FileBytes script = readFileBounded(resolveDataPath(slot.script), kScriptFileCap);
        if (!script.ok()) continue;
        if (const auto tail = textAfterEof(asText(script)))
            lines.push_back(std::string(slot.script) + ": line " + std::to_string(tail->first.number) + " \"" +
                            tail->first.text + "\" comes after the EOF line and is not read");
    }
    return lines;
}

void warnOfMisdraws(const Show& show) {
    for (const std::string& line : misdrawWarnings(show))
        std::fprintf(stderr, "orbelune: warning: %s (--check tells more)\n", line.c_str());
}
