#include <gtest/gtest.h>

#include "scene/tds_reader.h"
#include "scene_fixtures.h"
#include "writers/tds_writer.h"

using namespace tds;

namespace {

TdsReadResult read(const Bytes& bytes, float scale = 1.0f) { return read3ds(bytes, scale); }

// A file with one object block: three vertices, then `extra` chunks.
Bytes fileWithMesh(const Bytes& extra) {
    return fileWith(
        objectBlockChunk("m", chunk(kTriMesh, concat({vertexListChunk({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), extra}))));
}

}  // namespace

TEST(TdsReader, ObjectsAmongMaterialsLightsCamerasAndKeyframes) {
    TdsObject second = triangle(10);
    second.vertices.push_back({10, 10, 10});
    second.faces.push_back({1, 2, 3});
    second.faceFlags = {0xFFFF, 7};  // flags carry nothing
    const TdsReadResult file = read(write3ds({triangle(), second}), 2.0f);
    ASSERT_TRUE(file.isTds);
    ASSERT_EQ(file.objects.size(), 2u);
    const TdsMesh& a = file.objects[0];
    ASSERT_EQ(a.vertices.size(), 3u);
    EXPECT_EQ(a.vertices[1].basePosition.x, 2.0f);  // scaled
    EXPECT_EQ(a.vertices[2].position.y, 2.0f);
    EXPECT_EQ(a.vertices[2].v, 1.0f);  // not inverted
    EXPECT_EQ(a.faces.size(), 1u);
    ASSERT_EQ(file.objects[1].faces.size(), 2u);
    EXPECT_EQ(file.objects[1].faces[1].index[2], 3u);

    // Light and camera blocks still make (empty) objects.
    const TdsReadResult mixed = read(
        fileWith(concat({lightObjectChunk("lamp", 1, 2, 3), meshObjectChunk(triangle()), cameraObjectChunk("c", 0, 0, 5)})));
    ASSERT_EQ(mixed.objects.size(), 3u);
    EXPECT_TRUE(mixed.objects[0].vertices.empty() && mixed.objects[0].faces.empty());
    EXPECT_EQ(mixed.objects[1].vertices.size(), 3u);
    EXPECT_TRUE(mixed.objects[2].vertices.empty());
}

TEST(TdsReader, ListsAreFollowedByTheNextHeaderRightAfterTheirRecords) {
    // The vertex list's length field is wrong (6); the walk must not use it.
    Bytes vertices;
    putU16(vertices, 3);
    for (int i = 0; i < 9; ++i) putF32(vertices, i == 3 || i == 7 ? 1.0f : 0.0f);
    const TdsReadResult file = read(fileWith(objectBlockChunk(
        "m", chunk(kTriMesh, concat({chunkWithLength(kVertexList, 6, vertices), faceListChunk({{0, 1, 2}, {0, 1, 3}})})))));
    ASSERT_EQ(file.objects.size(), 1u);
    EXPECT_EQ(file.objects[0].vertices.size(), 3u);
    EXPECT_EQ(file.objects[0].faces.size(), 1u);  // a corner one past the last vertex drops its face
}

TEST(TdsReader, MappingListsThatDoNotMatchTheVertices) {
    const TdsReadResult shorter = read(fileWithMesh(mappingListChunk({{0.5f, 0.25f}})));
    EXPECT_EQ(shorter.objects[0].vertices[0].u, 0.5f);
    EXPECT_EQ(shorter.objects[0].vertices[2].v, 0.0f);

    // Surplus entries are passed over and the face list after them is read.
    const TdsReadResult longer = read(fileWithMesh(
        concat({mappingListChunk(std::vector<std::array<float, 2>>(10, {0.75f, 0.5f})), faceListChunk({{2, 1, 0}})})));
    EXPECT_EQ(longer.objects[0].vertices[2].u, 0.75f);
    ASSERT_EQ(longer.objects[0].faces.size(), 1u);
    EXPECT_EQ(longer.objects[0].faces[0].index[0], 2u);

    // Lists before any object block, a mapping list before the vertex list.
    const Bytes early = concat({vertexListChunk({{9, 9, 9}}), faceListChunk({{0, 0, 0}}), mappingListChunk({{1, 1}})});
    const Bytes block = objectBlockChunk(
        "m", chunk(kTriMesh, concat({mappingListChunk({{0.5f, 0.5f}}), vertexListChunk({{1, 2, 3}})})));
    const TdsReadResult ownerless = read(fileWith(concat({early, block})));
    ASSERT_EQ(ownerless.objects.size(), 1u);
    ASSERT_EQ(ownerless.objects[0].vertices.size(), 1u);
    EXPECT_EQ(ownerless.objects[0].vertices[0].position.x, 1.0f);
    EXPECT_EQ(ownerless.objects[0].vertices[0].u, 0.0f);
}

// Broken chunks, short lists, bad face indices and files that are no .3ds
// at all are tests/data files (hardening/hostile_files_test).
TEST(TdsReader, MainChunkLengthIsNotUsed) {
    EXPECT_FALSE(read(chunk(kEditor, meshObjectChunk(triangle()))).isTds);
    // Reading runs to the end of the file.
    Bytes lying = write3ds({triangle(), triangle()});
    lying[2] = 6, lying[3] = lying[4] = lying[5] = 0;
    EXPECT_EQ(read(lying).objects.size(), 2u);
}
