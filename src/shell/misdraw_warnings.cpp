// The texture count is the list's, read as the loader reads it; objects are
// those of the scenes the sections draw, grouped per scene and texture.
#include "shell/misdraw_warnings.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "assets/data_path.h"
#include "assets/file_read.h"
#include "assets/texture_table.h"
#include "scene/scene_script.h"
#include "shell/sections/section.h"
#include "shell/timeline.h"

namespace {

constexpr const char* kListPath = "data\\script\\texture.dat";
constexpr size_t kLastLineLimit = 200;

std::string asText(const FileBytes& file) {
    return std::string(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
}

}  // namespace

std::optional<std::string> unreadLastLine(std::string_view list) {
    if (list.empty() || list.back() == '\n') return std::nullopt;
    const size_t newline = list.rfind('\n');
    std::string line(list.substr(newline == std::string_view::npos ? 0 : newline + 1));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kLastLineLimit) line.resize(kLastLineLimit);
    return line;
}

std::vector<std::string> misdrawWarnings(const Show& show) {
    std::vector<std::string> lines;
    const FileBytes list = readFileBounded(resolveDataPath(kListPath), kTextureListCap, OverCap::ReadPrefix);
    if (!list.ok()) return lines;  // the show stopped on it already
    const std::string text = asText(list);
    const auto count = static_cast<int>(readTextureList(text).size());
    const bool whole = list.sizeAtOpen == list.bytes.size();
    if (const auto unread = unreadLastLine(text); whole && unread && count < kTextureTableSize)
        lines.push_back(std::string(kListPath) + ": the last line \"" + *unread +
                        "\" has no newline, so that picture is not loaded");

    // Objects per scene and texture, in the order the sections first draw them.
    std::vector<SceneId> scenes;
    for (size_t i = 0; i < kSectionCount; ++i)
        for (const SceneUse& use : sectionUnit(i).scenes)
            if (std::find(scenes.begin(), scenes.end(), use.id) == scenes.end()) scenes.push_back(use.id);
    for (SceneId id : scenes) {
        std::map<int, std::string> objects;  // texture -> "3, 5, 9"
        const Scene& scene = showScene(show, id);
        for (size_t o = 0; o < scene.objects.size(); ++o) {
            const int texture = scene.objects[o]->textureId;
            if (texture < count) continue;
            std::string& names = objects[texture];
            names += (names.empty() ? "" : ", ") + std::to_string(o);
        }
        for (const auto& [texture, names] : objects)
            lines.push_back(std::string(sceneSlot(id).script) + ": object" + (names.find(',') != std::string::npos ? "s " : " ") +
                            names + " name texture " + std::to_string(texture) + " but the list holds " +
                            std::to_string(count) + ", so they are drawn untextured");
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
