// The data check loads a data folder the way the show does, but without a
// window, a GL context or an audio device, and reports every problem in one
// pass instead of stopping at the first. It is written for the people who
// make the content: each finding names the file and quotes the line it is
// about, says what the show will do with it, and where a common mistake is
// the likely cause, how to fix it.
//
// What it reads: the texture list and every bitmap it names; the ten scene
// scripts, through the show's own script reader with a watcher that sees
// each line (so the check and the show cannot disagree about a script);
// every mesh those scripts name, with its object, triangle and vertex
// counts; what the schedule says each scene must hold (lights, objects,
// magnets, a magnetic object, object 0 with its vortex, fog) and which
// pictures the timeline draws by number; the soundtrack. A mesh file that
// is missing or no .3ds file is skipped so that the rest of its script is
// still checked (the show would stop there).
#include "shell/data_check.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "assets/data_path.h"
#include "assets/file_read.h"
#include "assets/texture_table.h"
#include "scene/scene.h"
#include "scene/scene_script.h"
#include "shell/media_check.h"
#include "shell/music.h"
#include "shell/schedule.h"
#include "shell/sections/section.h"

namespace {

// OpenGL guarantees eight lights; higher light numbers are ignored by most drivers.
constexpr int kGuaranteedLights = 8;

// A .3ds object holds at most 65,535 vertices; exporters split larger ones.
constexpr int kSplitVertexCount = 65535;
constexpr const char* kSplitHint =
    ". An object reached the 65,535 vertices a .3ds object can hold, so the exporter split it: divide the model "
    "into parts below that (assimp may write three vertices per triangle) and give each part its own file and "
    "FILENAME line";
constexpr const char* kPartsHint =
    ". Exporters write one object per material or part: join the parts into one object with one material, or "
    "give each part its own file and FILENAME line";

// How many examples a finding lists before "and N more".
constexpr size_t kListedExamples = 3;

std::string quote(int number, const std::string& text) {
    return "line " + std::to_string(number) + " \"" + text + "\"";
}
std::string quote(const ScriptLine& line) { return quote(line.number, line.text); }
std::string quote(const Diagnostic& d) { return quote(d.line, d.lineText); }

// "a, b and c", or "a, b, c and 4 more" past kListedExamples.
std::string listed(const std::vector<std::string>& items, size_t limit = kListedExamples) {
    std::string out;
    const size_t shown = std::min(items.size(), limit);
    for (size_t i = 0; i < shown; ++i) {
        if (i > 0) out += i + 1 == shown && shown == items.size() ? " and " : ", ";
        out += items[i];
    }
    if (shown < items.size()) out += " and " + std::to_string(items.size() - shown) + " more";
    return out;
}

std::string plural(int64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Objects listed as "object 3", "objects 3 to 6" or "objects 1, 4 and 9".
std::string objectList(const std::vector<int>& objects) {
    if (objects.size() == 1) return "object " + std::to_string(objects[0]);
    bool run = true;
    for (size_t i = 1; i < objects.size(); ++i) run = run && objects[i] == objects[i - 1] + 1;
    if (run) return "objects " + std::to_string(objects.front()) + " to " + std::to_string(objects.back());
    std::vector<std::string> items;
    for (int o : objects) items.push_back(std::to_string(o));
    return "objects " + listed(items, 8);
}


bool endsWithSpace(const std::string& text) {
    return !text.empty() && (text.back() == ' ' || text.back() == '\t');
}

// ---- texture list and pictures ---------------------------------------------------------

struct TextureList {
    std::vector<std::string> entries;
    std::optional<std::string> unread;  // a last line without its newline (not loaded)
};

// Why an index equal to the list's length may be a surprise.
std::string listLengthHint(int index, const TextureList& list) {
    if (!list.unread || static_cast<size_t>(index) != list.entries.size()) return "";
    return " (the list's last line \"" + *list.unread +
           "\" has no newline, and a line without one is not read: end the file with a newline)";
}

// A record as a finding: its message, then its hint in brackets.
std::string withHint(const Diagnostic& d) { return d.text + (d.hint.empty() ? "" : " (" + d.hint + ")"); }

// The show's own reading of the list and its pictures, going on past each
// failure: one problem per picture, from its first record.
TextureList checkTextures(DataCheckReport& report) {
    TextureList list;
    Diagnostics found;
    const std::optional<TextureListFile> file = readTextureListFile(resolveDataPath(kTextureListPath), found);
    if (file) {
        list.entries = file->entries;
        list.unread = file->unreadLastLine;
        loadListedPictures(
            list.entries,
            [&](size_t i, RgbImage&& image) {
                checkPicture("texture " + std::to_string(i) + " (" + list.entries[i] + "): ", list.entries[i], image,
                             report);
            },
            found, ListFailure::goesOn);
    }
    int reported = -1;
    for (Diagnostic& d : found) {
        while (!d.text.empty() && d.text.back() == '\n') d.text.pop_back();
        if (d.line == 0) {
            report.problem(d.file + ": " + d.text);
        } else if (d.line != reported) {
            reported = d.line;
            report.problem("texture " + std::to_string(d.line - 1) + " (" + d.lineText + "): " + withHint(d));
        }
    }
    if (list.unread)
        report.warning(std::string(kTextureListPath) + ": the last line \"" + *list.unread +
                       "\" has no newline, so it is not read and is no texture: end the file with a newline");
    return list;
}

// ---- scene scripts -----------------------------------------------------------------------

// One FILENAME line and what it produced.
struct MeshLine {
    ScriptLine line;
    std::string mesh;  // the path as written
    bool loaded = false;
    int firstObject = 0;  // objects [firstObject, firstObject + objects) came from it
    int objects = 0;
    int stamped = -1;  // the object its settings reached
};

// The script reader's watcher: keeps the lines the findings quote.
class ScriptRecord : public ScriptWatcher {
public:
    std::vector<MeshLine> meshLines;
    std::map<int, ScriptLine> lastLineOf;                  // keyword -> its latest line
    std::map<int, std::optional<ScriptLine>> textureLine;  // stamped object -> its TEXTUREID line
    std::vector<std::pair<int, ScriptLine>> lights;        // light number, its ADD_ line
    std::map<std::string, std::pair<std::string, std::vector<ScriptLine>>> unreadableMeshes;  // path -> why, lines

    bool meshLine(const ScriptLine& line, const std::string& mesh) override {
        meshLines.push_back({line, mesh, false, objectsSoFar_});
        const FileBytes head = readFileBounded(resolveDataPath(mesh), 2, OverCap::ReadPrefix);
        std::string why;
        if (!head.ok()) {
            why = "cannot be opened";
            if (endsWithSpace(mesh)) why += " (the path ends with white space, which counts as part of it)";
        } else if (head.bytes.size() < 2 || head.bytes[0] != 0x4D || head.bytes[1] != 0x4D) {
            why = "is not a .3ds file (export one with: assimp export in.obj out.3ds -ptv)";
        }
        if (why.empty()) return meshLines.back().loaded = true;
        auto& entry = unreadableMeshes[mesh];
        entry.first = why;
        entry.second.push_back(line);
        return false;
    }

    void lineDone(const ScriptLine& line, const Scene& scene, int stampedObject) override {
        lastLineOf[line.keyword] = line;
        switch (line.keyword) {
            case KW_FILENAME: {
                MeshLine& m = meshLines.back();
                m.objects = scene.objectCount() - objectsSoFar_;
                m.stamped = stampedObject;
                objectsSoFar_ = scene.objectCount();
                if (stampedObject >= 0) textureLine[stampedObject] = texture_;
                break;
            }
            case KW_TEXTUREID: texture_ = line; break;
            case KW_ADD_OMNI:
            case KW_ADD_SPOT: lights.emplace_back(lightCounter - 1, line); break;
            default: break;
        }
    }

private:
    int objectsSoFar_ = 0;
    std::optional<ScriptLine> texture_;
};

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int64_t triangles(const Scene& scene, int first, int count) {
    int64_t n = 0;
    for (int i = first; i < first + count && i < scene.objectCount(); ++i)
        n += scene.objects[static_cast<size_t>(i)]->faceCount();
    return n;
}

int64_t vertices(const Scene& scene, int first, int count) {
    int64_t n = 0;
    for (int i = first; i < first + count && i < scene.objectCount(); ++i)
        n += scene.objects[static_cast<size_t>(i)]->vertexCount();
    return n;
}

// Per mesh file of a script: its counts (summary) and, when it holds other
// than one object, where the settings of its line and the lines after it go.
void reportMeshes(const std::string& script, const ScriptRecord& record, const Scene& scene,
                  DataCheckReport& report) {
    // Which FILENAME line's file each object came from.
    std::vector<size_t> ownerLine(static_cast<size_t>(scene.objectCount()), 0);
    for (size_t i = 0; i < record.meshLines.size(); ++i) {
        const MeshLine& m = record.meshLines[i];
        for (int o = m.firstObject; o < m.firstObject + m.objects && o < scene.objectCount(); ++o)
            ownerLine[static_cast<size_t>(o)] = i;
    }
    auto reachesOwn = [&](size_t i) {
        const MeshLine& m = record.meshLines[i];
        return m.objects == 1 && m.stamped == m.firstObject;
    };

    std::set<std::string> done;
    bool unstampedReported = false;
    for (size_t i = 0; i < record.meshLines.size(); ++i) {
        const MeshLine& m = record.meshLines[i];
        if (!m.loaded || !done.insert(m.mesh).second) continue;
        std::vector<ScriptLine> namedOn;
        for (const MeshLine& other : record.meshLines)
            if (other.mesh == m.mesh) namedOn.push_back(other.line);
        int empty = 0;
        for (int o = m.firstObject; o < m.firstObject + m.objects; ++o)
            empty += scene.objects[static_cast<size_t>(o)]->faceCount() == 0;
        report.summary.push_back("  " + m.mesh + ": " + plural(m.objects, "object", "objects") + ", " +
                                 plural(triangles(scene, m.firstObject, m.objects), "triangle", "triangles") +
                                 ", " + plural(vertices(scene, m.firstObject, m.objects), "vertex", "vertices") +
                                 (namedOn.size() > 1 ? " (on " + std::to_string(namedOn.size()) + " lines)" : ""));
        if (m.objects == 1) continue;

        std::string finding = script + ": " + quote(m.line) + ": the file holds " +
                              (m.objects == 0 ? std::string("no object")
                                              : plural(m.objects, "object", "objects") + " (objects " +
                                                    std::to_string(m.firstObject) + " to " +
                                                    std::to_string(m.firstObject + m.objects - 1) + " of the scene" +
                                                    (empty > 0 ? ", " + std::to_string(empty) +
                                                                     " without triangles: lights or cameras"
                                                               : "") +
                                                    ")");
        if (namedOn.size() > 1) finding += " and is named on " + std::to_string(namedOn.size()) + " lines";
        finding += ". Each FILENAME line stamps its settings on one object (the n-th line on object n), so ";
        std::vector<std::string> wrong;
        for (size_t j = i; j < record.meshLines.size(); ++j) {
            if (reachesOwn(j)) continue;
            const MeshLine& later = record.meshLines[j];
            std::string item = "line " + std::to_string(later.line.number) + " -> ";
            if (later.stamped < 0) {
                item += "no object";
            } else {
                const MeshLine& owner = record.meshLines[ownerLine[static_cast<size_t>(later.stamped)]];
                item += "object " + std::to_string(later.stamped) + " (from " + fileNameOf(owner.mesh) +
                        (owner.line.number == later.line.number ? "" : ", line " + std::to_string(owner.line.number)) +
                        ")";
            }
            wrong.push_back(item);
        }
        finding += "from here on settings reach: " + listed(wrong);
        if (!unstampedReported) {
            unstampedReported = true;
            std::vector<bool> stamped(static_cast<size_t>(scene.objectCount()), false);
            for (const MeshLine& line : record.meshLines)
                if (line.stamped >= 0) stamped[static_cast<size_t>(line.stamped)] = true;
            std::vector<int> rest;
            for (int o = 0; o < scene.objectCount(); ++o)
                if (!stamped[static_cast<size_t>(o)]) rest.push_back(o);
            if (!rest.empty())
                finding += "; " + objectList(rest) + (rest.size() == 1 ? " gets" : " get") + " no line's settings";
        }
        bool split = false;
        for (int o = m.firstObject; o < m.firstObject + m.objects; ++o)
            split = split || scene.objects[static_cast<size_t>(o)]->vertexCount() >= kSplitVertexCount;
        report.problem(finding + (split ? kSplitHint : m.objects > 1 ? kPartsHint : ". Export one object per mesh file") +
                       " (see docs/scene-scripts.md)");
    }

    for (const auto& [mesh, why] : record.unreadableMeshes) {
        std::string finding = script + ": " + quote(why.second.front()) + ": mesh file " + mesh + " " + why.first;
        if (why.second.size() > 1) finding += " (named on " + std::to_string(why.second.size()) + " lines)";
        report.problem(finding + "; the show stops here");
    }
}

// Texture indices of a script's objects and lights, one finding per
// TEXTUREID line (or per script for objects without one).
void reportScriptTextures(const std::string& script, const ScriptRecord& record, const Scene& scene,
                          const TextureList& list, DataCheckReport& report) {
    const int count = static_cast<int>(list.entries.size());
    std::map<int, std::pair<std::optional<ScriptLine>, std::vector<int>>> byLine;  // line number (0: none)
    for (int o = 0; o < scene.objectCount(); ++o) {
        const int id = scene.objects[static_cast<size_t>(o)]->textureId;
        if (id >= 0 && id < count) continue;
        const auto it = record.textureLine.find(o);
        const std::optional<ScriptLine> line = it == record.textureLine.end() ? std::nullopt : it->second;
        auto& group = byLine[line ? line->number : 0];
        group.first = line;
        group.second.push_back(o);
    }
    for (const auto& [number, group] : byLine) {
        const int id = scene.objects[static_cast<size_t>(group.second.front())]->textureId;
        const std::string uses =
            group.first ? quote(*group.first) + " gives " + objectList(group.second) + " texture "
                        : objectList(group.second) + " (no TEXTUREID line before them) use texture ";
        report.problem(script + ": " + uses + std::to_string(id) + " but the list holds " + std::to_string(count) +
                       listLengthHint(id, list));
    }

    std::vector<std::string> beyond;
    std::optional<ScriptLine> firstBeyond;
    for (const auto& [number, line] : record.lights) {
        if (number < kGuaranteedLights) continue;
        beyond.push_back(std::to_string(number));
        if (!firstBeyond) firstBeyond = line;
    }
    if (!beyond.empty())
        report.note(script + ": " + quote(*firstBeyond) + ": light" + (beyond.size() > 1 ? "s " : " ") +
                    listed(beyond, 8) + (beyond.size() > 1 ? " are" : " is") +
                    " beyond the 8 lights OpenGL guarantees and may not shine (lights are numbered over all scripts)");
    std::set<int> glows;
    for (const OmniLight& light : scene.omniLights) glows.insert(light.flareTexture);
    for (const SpotLight& light : scene.spotLights) glows.insert(light.flareTexture);
    for (int id : glows)
        if (id < 0 || id >= count)
            report.problem(script + ": its lights' glows use texture " + std::to_string(id) + " but the list holds " +
                           std::to_string(count) + listLengthHint(id, list));
}

// What the timeline writes into or reads from a scene.
void reportNeeds(const std::string& script, const SceneNeeds& needs, const ScriptRecord& record, const Scene& scene,
                 DataCheckReport& report) {
    auto need = [&](int have, int want, const char* what) {
        if (have < want)
            report.problem(script + ": the show needs " + std::to_string(want) + " " + what + ", the script has " +
                           std::to_string(have));
    };
    need(scene.omniCount(), needs.omniLights, "omni lights");
    need(scene.objectCount(), needs.objects, "objects");
    need(scene.magnetCount(), needs.magnets, "magnets");

    auto lastLine = [&](int keyword) {
        const auto it = record.lastLineOf.find(keyword);
        return it == record.lastLineOf.end() ? std::string() : " (" + quote(it->second) + ")";
    };
    if (needs.magneticObject && scene.objectCount() > 0 &&
        std::none_of(scene.objects.begin(), scene.objects.end(), [](const auto& o) { return o->magnetic; }))
        report.problem(script + ": the show's magnets move only objects with MAGNETIC=ON, and none of its objects has it" +
                       lastLine(KW_MAGNETIC) + ": put MAGNETIC=ON before the FILENAME lines of the objects to deform");
    if (needs.vortexObject && scene.objectCount() > 0 && !scene.objects[0]->vortex) {
        std::string line;
        for (const MeshLine& m : record.meshLines)
            if (m.stamped == 0) line = " (" + quote(m.line) + ")";
        report.problem(script + ": the show turns object 0 with its vortex, but object 0" + line +
                       " has VORTEX off: put VORTEX=ON before its FILENAME line");
    }
    if (needs.fog && !scene.fogEnabled)
        report.problem(script + ": the show draws its star field through this scene's fog, but fog is off" +
                       lastLine(KW_FOG) + ": add FOG=ON");
}

}  // namespace

void DataCheckReport::problem(std::string line) { problems.push_back(std::move(line)); }
void DataCheckReport::warning(std::string line) { warnings.push_back(std::move(line)); }
void DataCheckReport::note(std::string line) { notes.push_back(std::move(line)); }

DataCheckReport checkDataFolder() {
    DataCheckReport report;
    const TextureList list = checkTextures(report);

    auto scenes = std::make_unique<std::array<Scene, kSceneCount>>();
    auto sceneOf = [&](SceneId id) -> Scene& { return (*scenes)[static_cast<size_t>(id)]; };
    resetLightCounter();
    for (const SceneSlot& slot : kSceneSlots) {
        const std::string script = slot.script;
        Scene& scene = sceneOf(slot.id);
        ScriptRecord record;
        Diagnostics found;
        const bool read = scene.loadScene(script, found, &record);
        for (const Diagnostic& d : found) {
            const std::string message = messageLine(d);
            if (d.stops)
                report.problem(script + ": " + quote(d) + ": " + message + "; the show stops here");
            else if (d.line > 0)
                report.problem(script + ": " + quote(d) + ": " + d.hint + " (" + message + ")");
            else
                report.problem(script + ": " + message);
        }
        if (!read) continue;
        checkScriptTail(script, report);

        report.summary.push_back(script + ": " + plural(scene.objectCount(), "object", "objects") + ", " +
                                 plural(triangles(scene, 0, scene.objectCount()), "triangle", "triangles") + ", " +
                                 plural(vertices(scene, 0, scene.objectCount()), "vertex", "vertices") + ", " +
                                 plural(scene.omniCount() + scene.spotCount(), "light", "lights") + ", " +
                                 plural(scene.magnetCount(), "magnet", "magnets"));
        reportMeshes(script, record, scene, report);
        reportScriptTextures(script, record, scene, list, report);
        reportNeeds(script, sceneNeeds(slot.id), record, scene, report);
    }

    // Triangles per section: its scene, and the one drawn over it.
    for (size_t i = 0; i < kSectionCount; ++i) {
        const Section& section = kSections[i];
        int64_t count = 0;
        std::string drawn;
        for (const SceneUse& use : sectionUnit(i).scenes) {
            const Scene& scene = sceneOf(use.id);
            count += triangles(scene, 0, scene.objectCount());
            drawn += (drawn.empty() ? "" : " with ") + std::string(sceneSlot(use.id).script);
        }
        if (count > kSectionTriangleBudget)
            report.warning("section " + std::to_string(i + 1) + " (" + section.name + ") draws " + drawn + ": " +
                           std::to_string(count) + " triangles, above the " + std::to_string(kSectionTriangleBudget) +
                           " that keep software GL at 60 frames per second; the show may stutter there");
    }

    std::vector<std::string> missing;
    std::string hint;
    for (int index : showPictures()) {
        if (index < static_cast<int>(list.entries.size())) continue;
        missing.push_back(std::to_string(index));
        hint += listLengthHint(index, list);
    }
    if (!missing.empty())
        report.problem(std::string("the timeline uses texture") + (missing.size() > 1 ? "s " : " ") +
                       listed(missing, 16) + " but the list holds " + std::to_string(list.entries.size()) + hint);

    checkSoundtrack(report);
    return report;
}

int runDataCheck(std::ostream& out) {
    const DataCheckReport report = checkDataFolder();
    for (const std::string& line : report.summary) out << line << '\n';
    for (const std::string& line : report.problems) out << "problem: " << line << '\n';
    for (const std::string& line : report.warnings) out << "warning: " << line << '\n';
    for (const std::string& line : report.notes) out << "note: " << line << '\n';
    const std::string warnings =
        report.warnings.empty() ? "" : ", " + plural(static_cast<int64_t>(report.warnings.size()), "warning", "warnings");
    if (report.problems.empty()) {
        out << "data folder OK" << warnings << '\n';
        return 0;
    }
    out << plural(static_cast<int64_t>(report.problems.size()), "problem", "problems") << warnings << '\n';
    return 1;
}
