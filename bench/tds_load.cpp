// .3ds loading speed: read3ds against the Open Asset Import Library
// (aiImportFileFromMemory / aiImportFile, no post-processing steps) on the
// same files: every mesh of the bundled show (the data folder the build
// generates) and one large generated file (four meshes, 131,768 vertices and
// 260,640 faces with texture coordinates). From memory, both parse the same bytes and free
// what they built; from files, both also open and read the files. The two
// sides alternate so that load from other processes hits both alike; the
// second of each pair reports assimpOverOurs, how many times longer the
// library took.
//
//   ./bench_tds_load [DATA_FOLDER]   (default: the build's data folder)
#include <assimp/cimport.h>
#include <assimp/scene.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "assets/file_read.h"
#include "scene/tds_reader.h"
#include "writers/tds_writer.h"

namespace fs = std::filesystem;

namespace {

struct MeshFile {
    std::string path;
    std::vector<uint8_t> bytes;
};

std::string dataFolder = ORBELUNE_BENCH_DATA;

// The whole file, as the show's mesh loader reads it.
std::vector<uint8_t> readFile(const std::string& path) { return readFileBounded(path, kMeshFileCap).bytes; }

const std::vector<MeshFile>& bundled() {
    static const std::vector<MeshFile> files = [] {
        std::vector<MeshFile> list;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(fs::path(dataFolder) / "meshes", ec))
            if (entry.path().extension() == ".3ds")
                list.push_back({entry.path().string(), readFile(entry.path().string())});
        return list;
    }();
    return files;
}

// Four objects, each a 181 x 182 grid near the limits of the 16-bit list
// counts (32,942 vertices, 65,160 faces, with texture coordinates): 131,768
// vertices and 260,640 faces in all, written to a file once.
const std::vector<MeshFile>& large() {
    static const std::vector<MeshFile> files = [] {
        std::vector<tds::TdsObject> objects(4);
        const int columns = 181, rows = 182;
        for (size_t k = 0; k < objects.size(); ++k) {
            tds::TdsObject& o = objects[k];
            o.name = "Large" + std::to_string(k);
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < columns; ++c) {
                    o.vertices.push_back({c * 0.1f, 0.05f * float((r * 7 + c * 3 + int(k)) % 11), r * 0.1f});
                    o.uv.push_back({c / 181.0f, r / 182.0f});
                }
            const auto at = [&](int rr, int cc) { return static_cast<uint16_t>(rr * columns + cc); };
            for (int r = 0; r + 1 < rows; ++r)
                for (int c = 0; c + 1 < columns; ++c) {
                    o.faces.push_back({at(r, c), at(r + 1, c), at(r, c + 1)});
                    o.faces.push_back({at(r, c + 1), at(r + 1, c), at(r + 1, c + 1)});
                }
        }
        MeshFile f{(fs::temp_directory_path() / "orbelune-bench-large.3ds").string(), tds::write3ds(objects)};
        tds::writeBytesFile(f.path, f.bytes);
        return std::vector<MeshFile>{f};
    }();
    return files;
}

size_t oursFaces(const std::vector<uint8_t>& bytes) {
    size_t faces = 0;
    for (const TdsMesh& m : read3ds(bytes, 1.0f).objects) faces += m.faces.size();
    return faces;
}

size_t assimpFaces(const aiScene* scene) {
    size_t faces = 0;
    for (unsigned i = 0; scene && i < scene->mNumMeshes; ++i) faces += scene->mMeshes[i]->mNumFaces;
    return faces;
}

const aiScene* assimpFromMemory(const MeshFile& f) {
    return aiImportFileFromMemory(reinterpret_cast<const char*>(f.bytes.data()),
                                  static_cast<unsigned>(f.bytes.size()), 0, "3ds");
}

std::map<std::string, double> secondsPerRun;

template <typename Body>
void timed(benchmark::State& state, const std::string& name, const std::vector<MeshFile>& files, Body body) {
    if (files.empty()) {
        state.SkipWithError("no .3ds files found");
        return;
    }
    double total = 0.0;
    int64_t runs = 0;
    size_t bytes = 0;
    for (const MeshFile& f : files) bytes += f.bytes.size();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (const MeshFile& f : files) body(f);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++runs;
    }
    secondsPerRun[name] = total / static_cast<double>(runs);
    state.counters["files"] = static_cast<double>(files.size());
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
}

void oursMemory(benchmark::State& state, const std::vector<MeshFile>& files, const char* set) {
    timed(state, std::string("ours ") + set, files, [](const MeshFile& f) {
        TdsReadResult r = read3ds(f.bytes, 1.0f);
        benchmark::DoNotOptimize(r.objects.data());
    });
}

void assimpMemory(benchmark::State& state, const std::vector<MeshFile>& files, const char* set) {
    size_t mismatches = 0;
    timed(state, std::string("assimp ") + set, files, [&](const MeshFile& f) {
        const aiScene* scene = assimpFromMemory(f);
        if (!scene) return;
        benchmark::DoNotOptimize(scene->mMeshes);
        aiReleaseImport(scene);
    });
    for (const MeshFile& f : files) {
        const aiScene* scene = assimpFromMemory(f);
        if (!scene) std::fprintf(stderr, "assimp: %s: %s\n", f.path.c_str(), aiGetErrorString());
        if (!scene || assimpFaces(scene) != oursFaces(f.bytes)) ++mismatches;
        aiReleaseImport(scene);
    }
    state.counters["faceCountMismatches"] = static_cast<double>(mismatches);
    const double ours = secondsPerRun[std::string("ours ") + set];
    if (ours > 0.0) state.counters["assimpOverOurs"] = secondsPerRun[std::string("assimp ") + set] / ours;
}

void oursFile(benchmark::State& state, const std::vector<MeshFile>& files, const char* set) {
    timed(state, std::string("ours file ") + set, files, [](const MeshFile& f) {
        const std::vector<uint8_t> bytes = readFile(f.path);
        TdsReadResult r = read3ds(bytes, 1.0f);
        benchmark::DoNotOptimize(r.objects.data());
    });
}

void assimpFile(benchmark::State& state, const std::vector<MeshFile>& files, const char* set) {
    timed(state, std::string("assimp file ") + set, files, [](const MeshFile& f) {
        const aiScene* scene = aiImportFile(f.path.c_str(), 0);
        if (!scene) return;
        benchmark::DoNotOptimize(scene->mMeshes);
        aiReleaseImport(scene);
    });
    const double ours = secondsPerRun[std::string("ours file ") + set];
    if (ours > 0.0) state.counters["assimpOverOurs"] = secondsPerRun[std::string("assimp file ") + set] / ours;
}

void OursBundled(benchmark::State& s) { oursMemory(s, bundled(), "bundled"); }
void AssimpBundled(benchmark::State& s) { assimpMemory(s, bundled(), "bundled"); }
void OursLarge(benchmark::State& s) { oursMemory(s, large(), "large"); }
void AssimpLarge(benchmark::State& s) { assimpMemory(s, large(), "large"); }
void OursBundledFiles(benchmark::State& s) { oursFile(s, bundled(), "bundled"); }
void AssimpBundledFiles(benchmark::State& s) { assimpFile(s, bundled(), "bundled"); }
void OursLargeFile(benchmark::State& s) { oursFile(s, large(), "large"); }
void AssimpLargeFile(benchmark::State& s) { assimpFile(s, large(), "large"); }

}  // namespace

BENCHMARK(OursBundled)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(AssimpBundled)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(OursLarge)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(AssimpLarge)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(OursBundledFiles)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(AssimpBundledFiles)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(OursLargeFile)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(AssimpLargeFile)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (argc > 1) dataFolder = argv[1];
    std::fprintf(stderr, "meshes from %s/meshes: %zu files\n", dataFolder.c_str(), bundled().size());
    // One untimed pass of both loaders over every file first, so neither
    // side pays for first-touch page faults or cold caches in its timings.
    for (const auto* set : {&bundled(), &large()})
        for (const MeshFile& f : *set) {
            benchmark::DoNotOptimize(oursFaces(f.bytes));
            aiReleaseImport(assimpFromMemory(f));
        }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove(large().front().path, ec);
    return 0;
}
