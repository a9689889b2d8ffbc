#include <gtest/gtest.h>

#include <random>

#include "scene/tds_reader.h"
#include "writers/tds_writer.h"

using namespace tds;

namespace {

TdsObject triangle(const std::string& name, float offset = 0.0f) {
    TdsObject object;
    object.name = name;
    object.vertices = {{offset, 0, 0}, {offset + 1, 0, 0}, {offset, 1, 0}};
    object.faces = {{0, 1, 2}};
    object.uv = {{0, 0}, {1, 0}, {0, 1}};
    return object;
}

TdsReadResult read(const Bytes& bytes, float scale = 1.0f) { return read3ds(bytes, scale); }

// Object block with a vertex list of three vertices and the given extra chunks.
Bytes meshBlock(const Bytes& extra) {
    return objectBlockChunk("m", chunk(kTriMesh, concat({vertexListChunk({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), extra})));
}

}  // namespace

TEST(TdsReader, TwoObjectsWithMaterialsAndKeyframerAroundThem) {
    TdsObject second = triangle("second", 10);
    second.vertices.push_back({10, 10, 10});
    second.faces.push_back({1, 2, 3});
    second.faceFlags = {0xFFFF, 7};  // flags carry nothing
    second.uv.clear();
    const TdsReadResult file = read(write3ds({triangle("first"), second}), 2.0f);
    ASSERT_TRUE(file.isTds);
    ASSERT_EQ(file.objects.size(), 2u);

    const TdsMesh& a = file.objects[0];
    ASSERT_EQ(a.vertices.size(), 3u);
    EXPECT_EQ(a.vertices[1].basePosition.x, 2.0f);  // scaled
    EXPECT_EQ(a.vertices[2].position.y, 2.0f);
    EXPECT_EQ(a.vertices[2].v, 1.0f);  // not inverted
    ASSERT_EQ(a.faces.size(), 1u);

    const TdsMesh& b = file.objects[1];
    ASSERT_EQ(b.vertices.size(), 4u);
    EXPECT_EQ(b.vertices[3].position.z, 20.0f);
    ASSERT_EQ(b.faces.size(), 2u);
    EXPECT_EQ(b.faces[1].index[2], 3u);
}

TEST(TdsReader, LightAndCameraBlocksGiveEmptyObjects) {
    const TdsReadResult file = read(fileWith(concat(
        {lightObjectChunk("lamp", 1, 2, 3), meshObjectChunk(triangle("t")), cameraObjectChunk("cam", 0, 0, -5)})));
    ASSERT_EQ(file.objects.size(), 3u);
    EXPECT_TRUE(file.objects[0].vertices.empty());
    EXPECT_TRUE(file.objects[0].faces.empty());
    EXPECT_EQ(file.objects[1].vertices.size(), 3u);
    EXPECT_TRUE(file.objects[2].vertices.empty());
}

TEST(TdsReader, ListsAreFollowedByTheNextHeaderRightAfterTheirRecords) {
    // The vertex list's length field is wrong (6); the walk must not use it.
    Bytes vertices;
    putU16(vertices, 3);
    for (float f : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f}) putF32(vertices, f);
    const Bytes block = objectBlockChunk(
        "m", chunk(kTriMesh, concat({chunkWithLength(kVertexList, 6, vertices), faceListChunk({{0, 1, 2}})})));
    const TdsReadResult file = read(fileWith(block));
    ASSERT_EQ(file.objects.size(), 1u);
    EXPECT_EQ(file.objects[0].vertices.size(), 3u);
    EXPECT_EQ(file.objects[0].faces.size(), 1u);
}

TEST(TdsReader, MappingListsShorterOrLongerThanTheVertices) {
    const TdsReadResult shorter = read(fileWith(meshBlock(mappingListChunk({{0.5f, 0.25f}}))));
    ASSERT_EQ(shorter.objects[0].vertices.size(), 3u);
    EXPECT_EQ(shorter.objects[0].vertices[0].u, 0.5f);
    EXPECT_EQ(shorter.objects[0].vertices[1].u, 0.0f);
    EXPECT_EQ(shorter.objects[0].vertices[2].v, 0.0f);

    // Surplus entries are passed over and the face list after them is read.
    std::vector<std::array<float, 2>> many(10, {0.75f, 0.5f});
    const TdsReadResult longer =
        read(fileWith(meshBlock(concat({mappingListChunk(many), faceListChunk({{2, 1, 0}})}))));
    ASSERT_EQ(longer.objects[0].vertices.size(), 3u);
    EXPECT_EQ(longer.objects[0].vertices[2].u, 0.75f);
    ASSERT_EQ(longer.objects[0].faces.size(), 1u);
    EXPECT_EQ(longer.objects[0].faces[0].index[0], 2u);
}

TEST(TdsReader, OwnerlessListsAreIgnored) {
    // Lists before any object block, a mapping list before the vertex list.
    const Bytes early = concat({vertexListChunk({{9, 9, 9}}), faceListChunk({{0, 0, 0}}), mappingListChunk({{1, 1}})});
    const Bytes block = objectBlockChunk(
        "m", chunk(kTriMesh, concat({mappingListChunk({{0.5f, 0.5f}}), vertexListChunk({{1, 2, 3}})})));
    const TdsReadResult file = read(fileWith(concat({early, block})));
    ASSERT_EQ(file.objects.size(), 1u);
    ASSERT_EQ(file.objects[0].vertices.size(), 1u);
    EXPECT_EQ(file.objects[0].vertices[0].position.x, 1.0f);
    EXPECT_EQ(file.objects[0].vertices[0].u, 0.0f);
}

TEST(TdsReader, FacesNamingMissingVerticesAreDropped) {
    const TdsReadResult file = read(fileWith(meshBlock(faceListChunk({{0, 1, 2}, {0, 1, 3}, {65535, 0, 1}, {2, 0, 1}}))));
    const auto& faces = file.objects[0].faces;
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[0].index[0], 0u);
    EXPECT_EQ(faces[1].index[0], 2u);
}

TEST(TdsReader, ShortListsKeepTheirWholeRecordsOnly) {
    // Count 1000, two vertices and half of a third present.
    Bytes body;
    putU16(body, 1000);
    for (float f : {1.f, 2.f, 3.f, 4.f, 5.f, 6.f, 7.f}) putF32(body, f);
    Bytes bytes = fileWith(objectBlockChunk("m", chunk(kTriMesh, {})));
    append(bytes, chunkWithLength(kVertexList, 9000, body));
    const TdsReadResult file = read(bytes);
    ASSERT_EQ(file.objects.size(), 1u);
    ASSERT_EQ(file.objects[0].vertices.size(), 2u);
    EXPECT_EQ(file.objects[0].vertices[1].position.z, 6.0f);

    // A face list cut in its count.
    Bytes cut = fileWith(meshBlock({}));
    append(cut, header(kFaceList, 100));
    cut.push_back(5);
    const TdsReadResult cutFile = read(cut);
    ASSERT_EQ(cutFile.objects.size(), 1u);
    EXPECT_TRUE(cutFile.objects[0].faces.empty());
}

TEST(TdsReader, BrokenChunkLengthsEndTheWalkKeepingWhatWasRead) {
    for (uint32_t length : {0u, 1u, 5u}) {
        const Bytes bytes = fileWith(concat({meshObjectChunk(triangle("a")), chunkWithLength(0x1234, length),
                                             meshObjectChunk(triangle("b"))}));
        const TdsReadResult file = read(bytes);
        ASSERT_EQ(file.objects.size(), 1u) << "length " << length;
        EXPECT_EQ(file.objects[0].faces.size(), 1u);
    }
    // A skipped chunk running past the end of the file.
    const TdsReadResult past = read(fileWith(concat(
        {meshObjectChunk(triangle("a")), chunkWithLength(0xB000, 0xFFFFFFFFu), meshObjectChunk(triangle("b"))})));
    EXPECT_EQ(past.objects.size(), 1u);
    // A header cut short at the end.
    Bytes cut = write3ds({triangle("a")});
    append(cut, {0x00, 0x40, 0x10});
    EXPECT_EQ(read(cut).objects.size(), 1u);
}

TEST(TdsReader, NameWithoutZeroEndsTheWalk) {
    Bytes bytes = fileWith(meshObjectChunk(triangle("a")));
    append(bytes, header(kObjectBlock, 50));
    append(bytes, {'a', 'b', 'c'});
    const TdsReadResult file = read(bytes);
    ASSERT_EQ(file.objects.size(), 2u);
    EXPECT_TRUE(file.objects[1].vertices.empty());
}

TEST(TdsReader, OnlyAMainChunkStartsAFile) {
    EXPECT_FALSE(read({}).isTds);
    EXPECT_FALSE(read({0x4D, 0x4D, 6, 0, 0}).isTds);
    EXPECT_FALSE(read(chunk(kEditor, meshObjectChunk(triangle("a")))).isTds);
    const TdsReadResult bare = read(header(kMain, 6));
    EXPECT_TRUE(bare.isTds);
    EXPECT_TRUE(bare.objects.empty());
    // The main chunk's own length is not used: reading runs to the end.
    Bytes lying = write3ds({triangle("a"), triangle("b")});
    lying[2] = 6;
    lying[3] = lying[4] = lying[5] = 0;
    EXPECT_EQ(read(lying).objects.size(), 2u);
}

TEST(TdsReader, MangledFilesStayInBounds) {
    const Bytes good = write3ds({triangle("a"), triangle("b", 3), triangle("c", 6)});
    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes = good;
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits; ++e) bytes[2 + random() % (bytes.size() - 2)] = static_cast<uint8_t>(random());
        if (round % 3 == 0) bytes.resize(6 + random() % (bytes.size() - 6));
        const TdsReadResult file = read(bytes);
        for (const TdsMesh& mesh : file.objects) {
            ASSERT_LE(mesh.vertices.size(), 65535u);
            for (const MeshFace& face : mesh.faces)
                for (uint32_t i : face.index) ASSERT_LT(i, mesh.vertices.size());
        }
    }
}
