// Vertex normals on a large mesh (65,535 vertices, about 130,000 faces):
// the per-vertex scan over all faces, as first described, against
// SceneObject::computeNormals, which accumulates in the same order in one
// pass over the faces. Every normal must come out bit-identical; the ratio
// of the two times is reported as a counter.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <random>

#include "scene/scene.h"

namespace {

constexpr int kColumns = 255;
constexpr int kRows = 257;  // 255 * 257 = 65,535 vertices

// A bumpy grid with shuffled vertex numbers and shuffled face order.
SceneObject makeMesh() {
    SceneObject object;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> bump(-0.3f, 0.3f);
    std::vector<uint32_t> number(kColumns * kRows);
    std::iota(number.begin(), number.end(), 0u);
    std::shuffle(number.begin(), number.end(), random);
    object.vertices.resize(number.size());
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            Vec3& p = object.vertices[number[r * kColumns + c]].position;
            p.setVec3(c * 0.1f, bump(random), r * 0.1f, 0);
        }
    for (int r = 0; r + 1 < kRows; ++r)
        for (int c = 0; c + 1 < kColumns; ++c) {
            const uint32_t a = number[r * kColumns + c], b = number[r * kColumns + c + 1];
            const uint32_t d = number[(r + 1) * kColumns + c], e = number[(r + 1) * kColumns + c + 1];
            MeshFace f1, f2;
            f1.index[0] = a, f1.index[1] = d, f1.index[2] = b;
            f2.index[0] = b, f2.index[1] = d, f2.index[2] = e;
            object.faces.push_back(f1);
            object.faces.push_back(f2);
        }
    std::shuffle(object.faces.begin(), object.faces.end(), random);
    return object;
}

// The scan as described: for each vertex, walk every face and corner.
void literalNormals(SceneObject& object, bool flip) {
    for (MeshFace& face : object.faces) {
        const Vec3& a = object.vertices[face.index[0]].position;
        const Vec3& b = object.vertices[face.index[1]].position;
        const Vec3& c = object.vertices[face.index[2]].position;
        const float e1x = b.x - a.x, e1y = b.y - a.y, e1z = b.z - a.z;
        const float e2x = c.x - a.x, e2y = c.y - a.y, e2z = c.z - a.z;
        face.normal = Vec3{};
        face.normal.x = e1y * e2z - e2y * e1z;
        face.normal.y = e1z * e2x - e1x * e2z;
        face.normal.z = e1x * e2y - e1y * e2x;
        face.normal.normalize();
    }
    for (size_t k = 0; k < object.vertices.size(); ++k) {
        float sx = 0, sy = 0, sz = 0;
        int count = 0;
        for (const MeshFace& face : object.faces)
            for (uint32_t corner : face.index)
                if (corner == k) {
                    sx += face.normal.x;
                    sy += face.normal.y;
                    sz += face.normal.z;
                    ++count;
                }
        Vec3& n = object.vertices[k].normal;
        n = Vec3{};
        if (count == 0) continue;
        n.x = sx / static_cast<float>(count);
        n.y = sy / static_cast<float>(count);
        n.z = sz / static_cast<float>(count);
        if (flip) n.x = -n.x, n.y = -n.y, n.z = -n.z;
    }
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

double literalSeconds = 0.0;
double linearSeconds = 0.0;

void BM_LiteralScan(benchmark::State& state) {
    SceneObject object = makeMesh();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        literalNormals(object, false);
        literalSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(object.vertices.data());
    }
    // Check bit-identity once, against the linear pass.
    SceneObject linear = makeMesh();
    linear.computeNormals(false);
    size_t mismatches = 0;
    for (size_t i = 0; i < object.vertices.size(); ++i) {
        const Vec3& a = object.vertices[i].normal;
        const Vec3& b = linear.vertices[i].normal;
        if (!sameBits(a.x, b.x) || !sameBits(a.y, b.y) || !sameBits(a.z, b.z)) ++mismatches;
    }
    for (size_t i = 0; i < object.faces.size(); ++i)
        if (!sameBits(object.faces[i].normal.x, linear.faces[i].normal.x) ||
            !sameBits(object.faces[i].normal.y, linear.faces[i].normal.y) ||
            !sameBits(object.faces[i].normal.z, linear.faces[i].normal.z))
            ++mismatches;
    state.counters["vertices"] = static_cast<double>(object.vertices.size());
    state.counters["faces"] = static_cast<double>(object.faces.size());
    state.counters["mismatches"] = static_cast<double>(mismatches);
    if (mismatches != 0) state.SkipWithError("normals differ from the literal scan");
}

void BM_LinearPass(benchmark::State& state) {
    SceneObject object = makeMesh();
    double total = 0.0;
    int64_t runs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        object.computeNormals(false);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++runs;
        benchmark::DoNotOptimize(object.vertices.data());
    }
    linearSeconds = total / static_cast<double>(runs);
    if (literalSeconds > 0.0) state.counters["speedup"] = literalSeconds / linearSeconds;
}

}  // namespace

BENCHMARK(BM_LiteralScan)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinearPass)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
