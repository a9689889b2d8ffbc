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
#include "assets/dib.h"
#include "assets/file_read.h"
#include "assets/texture_table.h"
#include "scene/scene.h"
#include "scene/scene_script.h"
#include "shell/collected_messages.h"
#include "shell/media_check.h"
#include "shell/misdraw_warnings.h"
#include "shell/music.h"
#include "shell/schedule.h"
#include "shell/sections/section.h"

namespace {

constexpr const char* kTextureListPath = "data\\script\\texture.dat";

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

std::string quote(const ScriptLine& line) {
    return "line " + std::to_string(line.number) + " \"" + line.text + "\"";
}

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
    bool opened = false;
    std::vector<std::string> entries;
    std::optional<std::string> unread;  // a last line without its newline (not loaded)
};

// Why an index equal to the list's length may be a surprise.
std::string listLengthHint(int index, const TextureList& list) {
    if (!list.unread || static_cast<size_t>(index) != list.entries.size()) return "";
    return " (the list's last line \"" + *list.unread +
           "\" has no newline, and a line without one is not read: end the file with a newline)";
}

std::string refusedBitmapHint(const DibResult& result) {
    const DibHeader& h = result.header;
    std::string hint;
    if (result.error == DibError::UnknownFormat) {
        hint = " Its header is " + std::to_string(h.size) +
               " bytes; headers of 12, 40, 56, 108 and 124 bytes are read.";
    } else if (result.error == DibError::ConversionError && h.size != 0) {
        hint = " Its header is " + std::to_string(h.size) + " bytes, " + std::to_string(h.bitCount) +
               " bits per pixel, compression " + std::to_string(h.compression) +
               (h.compression == 4 || h.compression == 5 ? " (a JPEG or PNG inside the bitmap)" : "") + ".";
    } else if (result.error == DibError::OutOfMemory) {
        return " Sides above " + std::to_string(kMaxDibSide) + " pixels are refused.";
    }
    return hint + " Re-save it as a plain 24-bit bitmap, e.g. convert in.png BMP3:out.bmp";
}

TextureList checkTextures(DataCheckReport& report) {
    TextureList list;
    const std::string path = resolveDataPath(kTextureListPath);
    const FileBytes file = readFileBounded(path, kTextureListCap, OverCap::ReadPrefix);
    if (!file.ok()) {
        report.problem(std::string(kTextureListPath) + ": Unable to open texture.dat");
        return list;
    }
    list.opened = true;
    const std::string_view text(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
    list.entries = readTextureList(text);

    // The last line, when it has no newline (a list read whole only).
    const bool whole = file.sizeAtOpen == file.bytes.size();
    if (whole && list.entries.size() < static_cast<size_t>(kTextureTableSize)) list.unread = unreadLastLine(text);

    uint64_t pixelsLeft = kTexturePixelBudget;
    for (size_t i = 0; i < list.entries.size(); ++i) {
        const std::string& entry = list.entries[i];
        const std::string where = "texture " + std::to_string(i) + " (" + entry + "): ";
        if (entry.empty()) {
            report.problem(where + "Unable to open  (line " + std::to_string(i + 1) +
                           " of the list is blank: every line is a picture, so remove blank lines)");
            continue;
        }
        const FileBytes picture = readFileBounded(resolveDataPath(entry), kBitmapFileCap);
        const std::vector<uint8_t>& bytes = picture.bytes;
        if (picture.error == FileReadError::TooLarge) {
            report.problem(where + entry + " is larger than " + capText(kBitmapFileCap) + ", the limit for a bitmap");
            continue;
        }
        if (!picture.ok()) {
            std::string hint;
            if (endsWithSpace(entry)) hint = " (the path ends with white space, which counts as part of it)";
            if (entry.size() == 97) hint = " (a path has at most 97 characters; a longer line is read as two)";
            report.problem(where + "Unable to open " + entry + hint);
            continue;
        }
        if (bytes.empty()) {
            report.problem(where + "Failed to open DIB file " + entry + ". (the file is empty)");
            continue;
        }
        const DibResult result = decodeDib(bytes.data(), bytes.size(), pixelsLeft);
        if (result.error == DibError::OverBudget) {
            report.problem(where + entry + " takes the textures past their budget of " +
                           std::to_string(kTexturePixelBudget) + " pixels");
        } else if (!result.image) {
            const std::string other = otherFormatFinding(entry, bytes);
            report.problem(where + (other.empty() ? dibErrorText(result.error) + refusedBitmapHint(result) : other));
        } else {
            checkPicture(where, entry, bytes, result, report);
            pixelsLeft -= static_cast<uint64_t>(result.image->width) * static_cast<uint64_t>(result.image->height);
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
    std::vector<std::pair<ScriptLine, std::string>> badLines;  // warned lines with a hint, in file order
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
            case KW_SHADING: {
                const std::string word = line.text.substr(std::min(line.text.size(), size_t{8}));
                if (keywordCode(word) != KW_TEXTUREMAPPING && keywordCode(word) != KW_ENVMAPPING &&
                    keywordCode(word) != KW_FLARE)
                    badLines.emplace_back(line, "SHADING takes TEXTUREMAPPING, ENVMAPPING or FLARE; the line after it "
                                                "is skipped");
                break;
            }
            default: break;
        }
    }

    void stopped(const ScriptLine& line, bool endOfFile) override {
        badLines.emplace_back(line, stopHint(line, endOfFile));
    }

    // The mesh line being loaded when the loader gave up, if any.
    const MeshLine* unfinishedMesh() const {
        if (meshLines.empty() || !meshLines.back().loaded) return nullptr;
        const auto done = lastLineOf.find(KW_FILENAME);
        const bool finished = done != lastLineOf.end() && done->second.number == meshLines.back().line.number;
        return finished ? nullptr : &meshLines.back();
    }

private:
    static std::string stopHint(const ScriptLine& line, bool endOfFile) {
        const std::string& t = line.text;
        if (t.rfind("\xEF\xBB\xBF", 0) == 0)
            return "the file starts with a byte-order mark: save it as plain text without one";
        if (t.empty())
            return endOfFile ? "the file ends without an EOF line: end every script with a line EOF"
                             : "a blank line stops the script: remove it";
        if (t.front() == ' ' || t.front() == '\t') return "no white space before the keyword";
        const size_t eq = t.find('=');
        const std::string word = t.substr(0, eq);
        if (endsWithSpace(word) || (eq != std::string::npos && eq + 1 < t.size() && t[eq + 1] == ' '))
            return "no spaces around \"=\"";
        std::string upper = word;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper != word && keywordCode(upper) != KW_NONE) return "keywords are upper case: " + upper;
        return "\"" + word + "\" is no keyword; the script is read up to here";
    }

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
        CollectedMessages messages;
        bool aborted = false;
        try {
            scene.loadScene(script, &record);
        } catch (const LoaderAbort&) {
            aborted = true;
        }
        size_t bad = 0;
        for (size_t i = 0; i < messages.lines.size(); ++i) {
            const std::string& message = messages.lines[i];
            std::string finding = script + ": " + message;
            if (message.find("no valid attrib found") != std::string::npos && bad < record.badLines.size()) {
                const auto& [line, hint] = record.badLines[bad++];
                finding = script + ": " + quote(line) + ": " + hint + " (" + message + ")";
            } else if (aborted && i + 1 == messages.lines.size() && record.unfinishedMesh()) {
                const MeshLine& m = *record.unfinishedMesh();
                finding = script + ": " + quote(m.line) + ": " + message + "; the show stops here";
            }
            report.problem(finding);
        }
        if (aborted) continue;
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
