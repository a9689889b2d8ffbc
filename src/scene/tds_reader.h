// Bytes of a 3D Studio .3ds file to mesh geometry. A plain function with no
// file access and no messages, shared by the scene's mesh loader and the
// fuzzing and inspection tools.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "assets/mesh.h"

// Chunk ids the reader knows; every other id is skipped whole.
constexpr uint16_t CHUNK_MAIN = 0x4D4D;
constexpr uint16_t CHUNK_3DEDITOR = 0x3D3D;
constexpr uint16_t CHUNK_OBJBLOCK = 0x4000;
constexpr uint16_t CHUNK_TRIMESH = 0x4100;
constexpr uint16_t CHUNK_VERTLIST = 0x4110;
constexpr uint16_t CHUNK_FACELIST = 0x4120;
constexpr uint16_t CHUNK_MAPLIST = 0x4140;

// Geometry of one object block, in file order.
struct TdsMesh {
    std::vector<MeshVertex> vertices;  // position = basePosition = file coords * scale
    std::vector<MeshFace> faces;       // every index below vertices.size()
};

struct TdsReadResult {
    bool isTds = false;            // false: the file does not start with a main chunk
    std::vector<TdsMesh> objects;  // one per object block, lights and cameras included
};

// Walks the chunks as one flat run of headers: containers are entered by
// reading their header, lists are followed by the next header right after
// their last record, unknown chunks are skipped by their length. Damaged
// input never reads outside `bytes`:
// - a list whose records run past the end keeps the complete records;
// - a skipped chunk with a length below 6 ends the walk (what was read stays);
// - an object name without its zero byte ends the walk, the object kept;
// - lists before any object block, a mapping list before the vertex list and
//   mapping entries beyond the vertex count are ignored;
// - faces naming a vertex at or beyond the object's vertex count are dropped.
TdsReadResult read3ds(std::span<const uint8_t> bytes, float scale);
