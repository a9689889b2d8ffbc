// The inspector prints, as JSON, exactly what the show's loaders make of one
// file, so a content author sees what the show sees: a bitmap's size and a
// hash of its decoded pixels (or the decoder's message), a mesh file's
// objects with their counts and bounds, a texture list's entries, or a scene
// script's whole scene record with the warnings it produced. Nothing is
// shown in a box and nothing ends the process: the loaders' records become
// the report's messages.
#include "shell/inspect.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <limits>
#include <vector>

#include "assets/data_path.h"
#include "assets/dib.h"
#include "assets/file_read.h"
#include "assets/png_write.h"
#include "assets/texture_table.h"
#include "scene/scene.h"
#include "scene/tds_reader.h"
#include "shell/json_writer.h"

namespace {

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The refusal text of the bounded reader for a file of the given role, or ""
// when the file was read.
std::string readRefusal(const FileBytes& file, const std::string& path, size_t cap, const char* role,
                        const std::string& cannotOpen) {
    if (file.error == FileReadError::TooLarge)
        return path + " is larger than " + capText(cap) + ", the limit for " + role;
    return file.ok() ? std::string() : cannotOpen;
}

struct Bounds {
    float lo[3] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                   std::numeric_limits<float>::max()};
    float hi[3] = {std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
                   std::numeric_limits<float>::lowest()};
};

void writeBounds(JsonWriter& json, const std::vector<MeshVertex>& vertices) {
    if (vertices.empty()) return;
    Bounds b;
    for (const MeshVertex& v : vertices) {
        const float p[3] = {v.basePosition.x, v.basePosition.y, v.basePosition.z};
        for (int i = 0; i < 3; ++i) {
            b.lo[i] = std::min(b.lo[i], p[i]);
            b.hi[i] = std::max(b.hi[i], p[i]);
        }
    }
    json.numbers("boundsMin", b.lo, 3).numbers("boundsMax", b.hi, 3);
}

void writeVec4(JsonWriter& json, std::string_view key, const Vec3& v) {
    const float values[4] = {v.x, v.y, v.z, v.w};
    json.numbers(key, values, 4);
}

void writeColor(JsonWriter& json, std::string_view key, const Color4& c) {
    json.numbers(key, c.data(), 4);
}

void writeMessages(JsonWriter& json, const Diagnostics& found) {
    json.beginArray("messages");
    for (const Diagnostic& d : found) json.value({}, messageLine(d));
    json.endArray();
}

int inspectBitmap(const std::string& path, const std::string& pngOut, JsonWriter& json) {
    json.value("kind", "bitmap");
    const FileBytes file = readFileBounded(path, kBitmapFileCap);
    std::string refusal = readRefusal(file, path, kBitmapFileCap, "a bitmap", "Failed to open DIB file " + path + ".");
    if (refusal.empty() && file.bytes.empty()) refusal = "Failed to open DIB file " + path + ".";
    if (!refusal.empty()) {
        json.value("error", refusal);
        return 1;
    }
    DibResult result = decodeDib(file.bytes.data(), file.bytes.size());
    if (!result.image) {
        json.value("error", dibErrorText(result.error));
        return 1;
    }
    const RgbImage& image = *result.image;
    char hash[20];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(fnv1a64(image.data.data(), image.data.size())));
    json.value("width", image.width).value("height", image.height).value("fnv1a64", hash);
    if (!pngOut.empty()) {
        bool written = writePng(pngOut, image.data.data(), image.width, image.height);
        json.value("png", pngOut).value("pngWritten", written);
        if (!written) return 1;
    }
    return 0;
}

int inspectMesh(const std::string& path, JsonWriter& json) {
    json.value("kind", "mesh");
    const FileBytes file = readFileBounded(path, kMeshFileCap);
    const std::string refusal = readRefusal(file, path, kMeshFileCap, "a mesh file", "cannot open 3ds-file");
    if (!refusal.empty()) {
        json.value("error", refusal);
        return 1;
    }
    TdsReadResult result = read3ds(file.bytes, 1.0f);
    if (!result.isTds) {
        json.value("error", "3dsfile is fucked up");
        return 1;
    }
    json.beginArray("objects");
    for (const TdsMesh& mesh : result.objects) {
        json.beginObject()
            .value("vertexCount", static_cast<int64_t>(mesh.vertices.size()))
            .value("faceCount", static_cast<int64_t>(mesh.faces.size()));
        writeBounds(json, mesh.vertices);
        json.endObject();
    }
    json.endArray();
    return 0;
}

int inspectTextureList(const std::string& path, JsonWriter& json) {
    json.value("kind", "textureList");
    Diagnostics unread;
    const std::optional<TextureListFile> list = readTextureListFile(path, unread);
    if (!list) {
        json.value("error", unread.front().text);
        return 1;
    }
    int status = 0;
    json.beginArray("entries");
    int index = 0;
    for (const std::string& entry : list->entries) {
        json.beginObject().value("index", index++).value("path", entry);
        const FileBytes file = readFileBounded(resolveDataPath(entry), kBitmapFileCap);
        std::string refusal = readRefusal(file, entry, kBitmapFileCap, "a bitmap", "Unable to open " + entry);
        if (refusal.empty() && (entry.empty() || file.bytes.empty())) refusal = "Unable to open " + entry;
        if (!refusal.empty()) {
            json.value("error", refusal);
            status = 1;
        } else {
            DibResult result = decodeDib(file.bytes.data(), file.bytes.size());
            if (result.image) {
                json.value("width", result.image->width).value("height", result.image->height);
            } else {
                json.value("error", dibErrorText(result.error));
                status = 1;
            }
        }
        json.endObject();
    }
    json.endArray();
    return status;
}

void writeObject(JsonWriter& json, const SceneObject& o) {
    json.beginObject()
        .value("vertexCount", o.vertexCount())
        .value("faceCount", o.faceCount())
        .value("maxRing", o.maxRing)
        .value("textureId", o.textureId)
        .value("shading", o.shading);
    writeVec4(json, "position", o.position);
    writeColor(json, "materialAmbient", o.materialAmbient);
    writeColor(json, "materialDiffuse", o.materialDiffuse);
    writeColor(json, "materialSpecular", o.materialSpecular);
    json.value("magnetic", o.magnetic)
        .value("visible", o.visible)
        .value("blend", o.blend)
        .value("cullFace", o.cullFace)
        .value("cullBack", o.cullBack)
        .value("vortex", o.vortex)
        .value("depthTest", o.depthTest);
    writeBounds(json, o.vertices);
    json.endObject();
}

int inspectScript(const std::string& path, JsonWriter& json) {
    json.value("kind", "script");
    Scene scene;
    Diagnostics found;
    scene.loadScene(path, found);
    const bool stopped = stopsShow(found);
    json.value("loadedCompletely", !stopped);
    writeVec4(json, "cameraPosition", scene.cameraPosition);
    writeVec4(json, "cameraTarget", scene.cameraTarget);
    writeColor(json, "clearColor", scene.clearColor);
    writeColor(json, "fogColor", scene.fogColor);
    json.value("fogStart", scene.fogStart)
        .value("fogEnd", scene.fogEnd)
        .value("fogEnabled", scene.fogEnabled)
        .value("lightingEnabled", scene.lightingEnabled);
    json.beginArray("omniLights");
    for (const OmniLight& l : scene.omniLights) {
        json.beginObject();
        writeVec4(json, "position", l.position);
        writeColor(json, "ambient", l.ambient);
        writeColor(json, "diffuse", l.diffuse);
        writeColor(json, "specular", l.specular);
        json.value("flareSize", static_cast<double>(l.flareSize))
            .value("flareTexture", l.flareTexture)
            .value("lightNumber", l.lightNumber)
            .endObject();
    }
    json.endArray().beginArray("spotLights");
    for (const SpotLight& l : scene.spotLights) {
        json.beginObject();
        writeVec4(json, "position", l.position);
        json.value("flareTexture", l.flareTexture).value("lightNumber", l.lightNumber).endObject();
    }
    json.endArray().beginArray("magnets");
    for (const Magnet& m : scene.magnets) {
        const float values[4] = {m.x, m.y, m.z, m.w};
        json.numbers({}, values, 4);
    }
    json.endArray().beginArray("objects");
    int64_t triangles = 0;
    for (const auto& object : scene.objects) {
        writeObject(json, *object);
        triangles += object->faceCount();
    }
    json.endArray().value("triangles", triangles);
    writeMessages(json, found);
    return found.empty() ? 0 : 1;
}

}  // namespace

uint64_t fnv1a64(const uint8_t* data, size_t size) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (size_t i = 0; i < size; ++i) {
        hash ^= data[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

InspectKind inspectKind(const std::string& path) {
    std::string name = lower(std::filesystem::path(path).filename().string());
    std::string ext = lower(std::filesystem::path(path).extension().string());
    if (ext == ".bmp" || ext == ".dib") return InspectKind::Bitmap;
    if (ext == ".3ds") return InspectKind::Mesh;
    if (name == "texture.dat") return InspectKind::TextureList;
    const FileBytes head = readFileBounded(path, 2, OverCap::ReadPrefix);
    if (head.bytes.size() == 2) {
        if (head.bytes[0] == 'B' && head.bytes[1] == 'M') return InspectKind::Bitmap;
        if (head.bytes[0] == 0x4D && head.bytes[1] == 0x4D) return InspectKind::Mesh;
    }
    return InspectKind::Script;
}

int runInspect(const std::string& path, const std::string& pngOut, std::ostream& out) {
    JsonWriter json(out);
    json.beginObject().value("file", path);
    std::string resolved = resolveDataPath(path);
    int status = 1;
    switch (inspectKind(resolved)) {
        case InspectKind::Bitmap: status = inspectBitmap(resolved, pngOut, json); break;
        case InspectKind::Mesh: status = inspectMesh(resolved, json); break;
        case InspectKind::TextureList: status = inspectTextureList(resolved, json); break;
        case InspectKind::Script: status = inspectScript(path, json); break;
    }
    json.endObject();
    return status;
}
