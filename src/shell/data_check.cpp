// The data check loads a data folder the way the show does, but without a
// window, a GL context or an audio device, and reports every problem in one
// pass instead of stopping at the first: the texture list and every bitmap
// it names, the ten scene scripts with their meshes, what the timeline
// expects each scene to hold (lights, magnets, objects), texture indices
// beyond the list, and the soundtrack. Loader messages that would be boxes
// become report lines; a mesh failure that would end the show ends only the
// check of that script.
#include "shell/data_check.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "assets/data_path.h"
#include "assets/dib.h"
#include "assets/texture_table.h"
#include "scene/scene_script.h"
#include "shell/collected_messages.h"
#include "shell/music.h"
#include "shell/timeline.h"

namespace {

constexpr const char* kTextureListPath = "data\\script\\texture.dat";

// OpenGL guarantees eight lights; higher light numbers are ignored by most drivers.
constexpr int kGuaranteedLights = 8;

const char* slotName(SceneId id) { return sceneSlot(id).script; }

bool readFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return static_cast<bool>(in) || in.eof();
}

// Names the mesh files of a script that do not exist or are no .3ds file,
// so that a mesh failure (which stops that script's loading) is reported
// with the file it concerns, and failures after it are found too.
void checkScriptMeshes(const std::string& script, DataCheckReport& report) {
    std::ifstream in(resolveDataPath(script), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("FILENAME=", 0) != 0) continue;
        std::string mesh = line.substr(9);
        std::string path = resolveDataPath(mesh);
        std::ifstream file(path, std::ios::binary);
        unsigned char head[2] = {0, 0};
        std::error_code ec;
        if (!file || !std::filesystem::is_regular_file(path, ec)) {
            report.problem(script + ": mesh file " + mesh + " cannot be opened");
        } else if (!file.read(reinterpret_cast<char*>(head), 2) || head[0] != 0x4D || head[1] != 0x4D) {
            report.problem(script + ": mesh file " + mesh + " is not a .3ds file");
        }
    }
}

size_t checkTextures(DataCheckReport& report) {
    std::ifstream list(resolveDataPath(kTextureListPath));
    if (!list) {
        report.problem(std::string(kTextureListPath) + ": Unable to open texture.dat");
        return 0;
    }
    std::vector<std::string> entries = readTextureList(list);
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        std::vector<uint8_t> bytes;
        std::string where = "texture " + std::to_string(i) + " (" + entry + "): ";
        if (entry.empty() || !readFile(resolveDataPath(entry), bytes) || bytes.empty()) {
            report.problem(where + "Unable to open " + entry);
            continue;
        }
        DibResult result = decodeDib(bytes.data(), bytes.size());
        if (!result.image) report.problem(where + dibErrorText(result.error));
    }
    return entries.size();
}

void checkTextureIndex(DataCheckReport& report, const std::string& where, int index, size_t count) {
    if (index < 0 || static_cast<size_t>(index) >= count)
        report.problem(where + " uses texture " + std::to_string(index) + " but the list holds " +
                       std::to_string(count));
}

}  // namespace

void DataCheckReport::problem(std::string line) { problems.push_back(std::move(line)); }
void DataCheckReport::note(std::string line) { notes.push_back(std::move(line)); }

DataCheckReport checkDataFolder() {
    DataCheckReport report;
    size_t textureCount = checkTextures(report);

    auto show = std::make_unique<Show>();
    resetLightCounter();
    for (const SceneSlot& slot : kSceneSlots) {
        CollectedMessages messages;
        bool aborted = false;
        try {
            showScene(*show, slot.id).loadScene(slot.script);
        } catch (const LoaderAbort&) {
            aborted = true;
        }
        for (const std::string& line : messages.lines) report.problem(std::string(slot.script) + ": " + line);
        if (aborted) checkScriptMeshes(slot.script, report);
    }

    for (const SceneNeeds& needs : kSceneNeeds) {
        const Scene& scene = showScene(*show, needs.id);
        std::string name = slotName(needs.id);
        auto need = [&](int have, int want, const char* what) {
            if (have < want)
                report.problem(name + ": the show needs " + std::to_string(want) + " " + what + ", the script has " +
                               std::to_string(have));
        };
        need(scene.omniCount(), needs.omniLights, "omni lights");
        need(scene.objectCount(), needs.objects, "objects");
        need(scene.magnetCount(), needs.magnets, "magnets");
    }

    for (const SceneSlot& slot : kSceneSlots) {
        const Scene& scene = showScene(*show, slot.id);
        for (int i = 0; i < scene.objectCount(); ++i)
            checkTextureIndex(report, std::string(slot.script) + ": object " + std::to_string(i),
                              scene.objects[static_cast<size_t>(i)]->textureId, textureCount);
        for (const OmniLight& light : scene.omniLights) {
            checkTextureIndex(report, std::string(slot.script) + ": light " + std::to_string(light.lightNumber),
                              light.flareTexture, textureCount);
            if (light.lightNumber >= kGuaranteedLights)
                report.note(std::string(slot.script) + ": light " + std::to_string(light.lightNumber) +
                            " is beyond the 8 lights OpenGL guarantees and may not shine");
        }
        for (const SpotLight& light : scene.spotLights) {
            checkTextureIndex(report, std::string(slot.script) + ": light " + std::to_string(light.lightNumber),
                              light.flareTexture, textureCount);
            if (light.lightNumber >= kGuaranteedLights)
                report.note(std::string(slot.script) + ": light " + std::to_string(light.lightNumber) +
                            " is beyond the 8 lights OpenGL guarantees and may not shine");
        }
    }
    for (int index : kTimelineTextures) checkTextureIndex(report, "the timeline", index, textureCount);

    std::string soundtrack = resolveDataPath(kSoundtrackPath);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(soundtrack, ec) || std::filesystem::file_size(soundtrack, ec) == 0)
        report.problem(std::string(kSoundtrackPath) + ": the soundtrack is missing or empty");
    return report;
}

int runDataCheck(std::ostream& out) {
    DataCheckReport report = checkDataFolder();
    for (const std::string& line : report.problems) out << "problem: " << line << '\n';
    for (const std::string& line : report.notes) out << "note: " << line << '\n';
    if (report.problems.empty()) {
        out << "data folder OK\n";
        return 0;
    }
    out << report.problems.size() << (report.problems.size() == 1 ? " problem\n" : " problems\n");
    return 1;
}
