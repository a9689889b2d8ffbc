// A small writer for 3D Studio .3ds mesh files, for test fixtures and the
// content generator. write3ds() produces a well-formed file laid out the way
// 3D Studio stores it (version chunks, one object block per object holding a
// triangle mesh with vertex, mapping and face lists, the face list followed by
// its material and smoothing sub-chunks, a local axis chunk). The chunk
// helpers below build arbitrary chunks, including ones with a lying length
// field, so that tests can assemble hostile files byte by byte.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tds {

using Bytes = std::vector<uint8_t>;

// Chunk ids.
constexpr uint16_t kMain = 0x4D4D;
constexpr uint16_t kVersion = 0x0002;
constexpr uint16_t kEditor = 0x3D3D;
constexpr uint16_t kMeshVersion = 0x3D3E;
constexpr uint16_t kObjectBlock = 0x4000;
constexpr uint16_t kTriMesh = 0x4100;
constexpr uint16_t kVertexList = 0x4110;
constexpr uint16_t kFaceList = 0x4120;
constexpr uint16_t kFaceMaterial = 0x4130;
constexpr uint16_t kMappingList = 0x4140;
constexpr uint16_t kSmoothGroups = 0x4150;
constexpr uint16_t kLocalAxes = 0x4160;
constexpr uint16_t kLight = 0x4600;
constexpr uint16_t kCamera = 0x4700;
constexpr uint16_t kColorF = 0x0010;
constexpr uint16_t kMaterial = 0xAFFF;
constexpr uint16_t kMaterialName = 0xA000;
constexpr uint16_t kKeyframer = 0xB000;

struct TdsObject {
    std::string name = "Object";                 // "Object"
    std::vector<std::array<float, 3>> vertices;  // x, y, z as stored in the file
    std::vector<std::array<uint16_t, 3>> faces;  // corners a, b, c
    std::vector<std::array<float, 2>> uv;        // empty: no mapping list
    std::vector<uint16_t> faceFlags;             // empty: flags 0; else one per face
    bool faceSubchunks = true;                   // true; material + smoothing after the faces
};

// A whole file: main chunk, version, editor chunk with a material and one
// object block per object, then an empty keyframer chunk.
Bytes write3ds(const std::vector<TdsObject>& objects);
bool write3dsFile(const std::string& path, const std::vector<TdsObject>& objects);
// Writes raw bytes (hostile fixtures); false when the file cannot be written.
bool writeBytesFile(const std::string& path, const Bytes& bytes);

// ---- Building blocks --------------------------------------------------------
void putU16(Bytes& out, uint16_t value);
void putU32(Bytes& out, uint32_t value);
void putF32(Bytes& out, float value);
// The characters of `text` followed by a zero byte.
void putCString(Bytes& out, const std::string& text);
void append(Bytes& out, const Bytes& more);
Bytes concat(std::initializer_list<Bytes> parts);

// id, length = 6 + body size, body.
Bytes chunk(uint16_t id, const Bytes& body = {});
// id, the given length field (true or not), body.
Bytes chunkWithLength(uint16_t id, uint32_t length, const Bytes& body = {});
// A bare 6-byte header.
Bytes header(uint16_t id, uint32_t length);

Bytes vertexListChunk(const std::vector<std::array<float, 3>>& vertices);
// Face records (flags 0 unless given), then `subchunks` inside the chunk.
Bytes faceListChunk(const std::vector<std::array<uint16_t, 3>>& faces,
                    const std::vector<uint16_t>& flags = {}, const Bytes& subchunks = {});
Bytes mappingListChunk(const std::vector<std::array<float, 2>>& uv);
// Object block: name with its zero byte, then `body`.
Bytes objectBlockChunk(const std::string& name, const Bytes& body);
// Object block holding the triangle mesh of `object`.
Bytes meshObjectChunk(const TdsObject& object);
// Object blocks holding an omni light or a camera instead of a mesh.
Bytes lightObjectChunk(const std::string& name, float x, float y, float z);
Bytes cameraObjectChunk(const std::string& name, float x, float y, float z);
// Main chunk wrapping an editor chunk wrapping `editorBody`.
Bytes fileWith(const Bytes& editorBody);

}  // namespace tds
