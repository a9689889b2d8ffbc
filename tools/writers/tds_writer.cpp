// .3ds writer: little-endian chunk building and a whole-file writer laid out
// like 3D Studio's own files.
#include "writers/tds_writer.h"

#include <cstring>
#include <fstream>

namespace tds {

void putU16(Bytes& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void putU32(Bytes& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((value >> (8 * i)) & 0xFF));
}

void putF32(Bytes& out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putU32(out, bits);
}

void putCString(Bytes& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

void append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) append(out, part);
    return out;
}

Bytes header(uint16_t id, uint32_t length) {
    Bytes out;
    putU16(out, id);
    putU32(out, length);
    return out;
}

Bytes chunkWithLength(uint16_t id, uint32_t length, const Bytes& body) {
    Bytes out = header(id, length);
    append(out, body);
    return out;
}

Bytes chunk(uint16_t id, const Bytes& body) {
    return chunkWithLength(id, static_cast<uint32_t>(6 + body.size()), body);
}

Bytes vertexListChunk(const std::vector<std::array<float, 3>>& vertices) {
    Bytes body;
    putU16(body, static_cast<uint16_t>(vertices.size()));
    for (const auto& v : vertices)
        for (float c : v) putF32(body, c);
    return chunk(kVertexList, body);
}

Bytes faceListChunk(const std::vector<std::array<uint16_t, 3>>& faces,
                    const std::vector<uint16_t>& flags, const Bytes& subchunks) {
    Bytes body;
    putU16(body, static_cast<uint16_t>(faces.size()));
    for (size_t i = 0; i < faces.size(); ++i) {
        for (uint16_t corner : faces[i]) putU16(body, corner);
        putU16(body, i < flags.size() ? flags[i] : 0);
    }
    append(body, subchunks);
    return chunk(kFaceList, body);
}

Bytes mappingListChunk(const std::vector<std::array<float, 2>>& uv) {
    Bytes body;
    putU16(body, static_cast<uint16_t>(uv.size()));
    for (const auto& t : uv) {
        putF32(body, t[0]);
        putF32(body, t[1]);
    }
    return chunk(kMappingList, body);
}

Bytes objectBlockChunk(const std::string& name, const Bytes& body) {
    Bytes all;
    putCString(all, name);
    append(all, body);
    return chunk(kObjectBlock, all);
}

namespace {

Bytes faceSubchunks(size_t faceCount) {
    Bytes material;
    putCString(material, "Default");
    putU16(material, static_cast<uint16_t>(faceCount));
    for (size_t i = 0; i < faceCount; ++i) putU16(material, static_cast<uint16_t>(i));
    Bytes smooth;
    for (size_t i = 0; i < faceCount; ++i) putU32(smooth, 1);
    return concat({chunk(kFaceMaterial, material), chunk(kSmoothGroups, smooth)});
}

Bytes localAxesChunk() {
    static const float axes[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    Bytes body;
    for (float f : axes) putF32(body, f);
    return chunk(kLocalAxes, body);
}

Bytes colorChunk(float r, float g, float b) {
    Bytes body;
    putF32(body, r);
    putF32(body, g);
    putF32(body, b);
    return chunk(kColorF, body);
}

Bytes u32Chunk(uint16_t id, uint32_t value) {
    Bytes body;
    putU32(body, value);
    return chunk(id, body);
}

}  // namespace

Bytes meshObjectChunk(const TdsObject& object) {
    Bytes mesh = vertexListChunk(object.vertices);
    if (!object.uv.empty()) append(mesh, mappingListChunk(object.uv));
    append(mesh, localAxesChunk());
    append(mesh, faceListChunk(object.faces, object.faceFlags,
                               object.faceSubchunks ? faceSubchunks(object.faces.size()) : Bytes{}));
    return objectBlockChunk(object.name, chunk(kTriMesh, mesh));
}

Bytes lightObjectChunk(const std::string& name, float x, float y, float z) {
    Bytes body;
    putF32(body, x);
    putF32(body, y);
    putF32(body, z);
    append(body, colorChunk(1, 1, 1));
    return objectBlockChunk(name, chunk(kLight, body));
}

Bytes cameraObjectChunk(const std::string& name, float x, float y, float z) {
    Bytes body;
    const float values[8] = {x, y, z, 0, 0, 0, 0, 45};  // eye, target, bank, lens
    for (float f : values) putF32(body, f);
    return objectBlockChunk(name, chunk(kCamera, body));
}

Bytes fileWith(const Bytes& editorBody) {
    return chunk(kMain, concat({u32Chunk(kVersion, 3), chunk(kEditor, editorBody)}));
}

Bytes write3ds(const std::vector<TdsObject>& objects) {
    Bytes materialName;
    putCString(materialName, "Default");
    Bytes editor = concat({u32Chunk(kMeshVersion, 3), chunk(kMaterial, chunk(kMaterialName, materialName))});
    for (const TdsObject& object : objects) append(editor, meshObjectChunk(object));
    Bytes file = fileWith(editor);
    // The keyframer section follows the editor section inside the main chunk.
    Bytes keyframer = chunk(kKeyframer);
    append(file, keyframer);
    const uint32_t total = static_cast<uint32_t>(file.size());
    for (int i = 0; i < 4; ++i) file[2 + i] = static_cast<uint8_t>((total >> (8 * i)) & 0xFF);
    return file;
}

bool writeBytesFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool write3dsFile(const std::string& path, const std::vector<TdsObject>& objects) {
    return writeBytesFile(path, write3ds(objects));
}

}  // namespace tds
