// Sending an object's triangles three ways: immediate mode, one glVertex call
// per corner (how drawScene used to send them); client-side vertex arrays
// filled each frame with three corners per face (the same values: normal,
// texture coordinate, position plus object offset); and what drawScene does
// now, one indexed draw over a per-vertex array, so that shared vertices are
// lit once. A lit, textured, fogged 50k-triangle mesh at 800 x 600 on
// llvmpipe; each iteration is one whole frame finished with glFinish.
//
//   env -u DISPLAY SDL_VIDEODRIVER=offscreen ./bench_draw_arrays
#include "platform/gl.h"
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "assets/texture_table.h"
#include "render/render.h"
#include "support/gl_context.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;

struct Fixture {
    TestGlContext gl{kWidth, kHeight};
    Scene scene;
    std::vector<float> interleaved;  // t2f n3f v3f per corner

    Fixture() {
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glMatrixMode(GL_PROJECTION);
        gluPerspective(65.0, static_cast<double>(kWidth) / kHeight, 0.1, 100.0);
        glMatrixMode(GL_MODELVIEW);
        std::vector<uint8_t> texels;
        for (int i = 0; i < 64 * 64; ++i) {
            const bool dark = ((i % 64) / 8 + (i / 64) / 8) % 2 == 0;
            texels.insert(texels.end(), {uint8_t(dark ? 50 : 220), 180, uint8_t(dark ? 90 : 40), 255});
        }
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, 64, 64, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        TextureTable[2] = name;

        scene.cameraPosition.setVec3(0, 3, 7, 0);
        scene.fogEnabled = scene.lightingEnabled = true;
        scene.fogEnd = 30;
        scene.clearColorBuffer = true;
        scene.addOmniLight(2, 4, 3, 1, {0.1f, 0.1f, 0.1f, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, 0, 0.0f);
        // A wavy sheet of 158 x 158 cells: 49 928 triangles.
        SceneObject& o = scene.addObject();
        o.textureId = 2;
        o.cullFace = false;
        const int n = 158;
        for (int j = 0; j <= n; ++j)
            for (int i = 0; i <= n; ++i) {
                MeshVertex v;
                const float x = -5.0f + 10.0f * i / n, z = -5.0f + 10.0f * j / n;
                v.position.setVec3(x, 0.3f * std::sin(2 * x) * std::cos(2 * z), z, 0);
                v.basePosition = v.position;
                v.normal.setVec3(0, 1, 0, 0);
                v.u = static_cast<float>(i) / 16, v.v = static_cast<float>(j) / 16;
                o.vertices.push_back(v);
            }
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                const uint32_t k = static_cast<uint32_t>(j * (n + 1) + i), up = k + n + 1;
                MeshFace a, b;
                a.index[0] = k, a.index[1] = up, a.index[2] = k + 1;
                b.index[0] = k + 1, b.index[1] = up, b.index[2] = up + 1;
                o.faces.push_back(a);
                o.faces.push_back(b);
            }
        o.ringTable.assign(1, Vec3{});
        interleaved.resize(o.faces.size() * 3 * 8);
    }

    void sendWithArrays(const SceneObject& o) {
        float* out = interleaved.data();
        for (const MeshFace& f : o.faces)
            for (int c = 0; c < 3; ++c) {
                const MeshVertex& v = o.vertices[f.index[c]];
                *out++ = v.u, *out++ = v.v;
                *out++ = v.normal.x, *out++ = v.normal.y, *out++ = v.normal.z;
                *out++ = v.position.x + o.position.x;
                *out++ = v.position.y + o.position.y;
                *out++ = v.position.z + o.position.z;
            }
        glInterleavedArrays(GL_T2F_N3F_V3F, 0, interleaved.data());
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(o.faces.size() * 3));
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }

    static void sendImmediate(const SceneObject& o) {
        glBegin(GL_TRIANGLES);
        for (const MeshFace& f : o.faces)
            for (int c = 0; c < 3; ++c) {
                const MeshVertex& v = o.vertices[f.index[c]];
                glNormal3f(v.normal.x, v.normal.y, v.normal.z);
                glTexCoord2f(v.u, v.v);
                glVertex3f(v.position.x + o.position.x, v.position.y + o.position.y,
                           v.position.z + o.position.z);
            }
        glEnd();
    }

    // drawScene with the triangle step replaced by another way of sending.
    template <typename Send>
    void drawSceneWith(Send send) {
        beginSceneFrame(scene);
        gluLookAt(scene.cameraPosition.x, scene.cameraPosition.y, scene.cameraPosition.z,
                  scene.cameraTarget.x, scene.cameraTarget.y, scene.cameraTarget.z, 0, 1, 0);
        for (const auto& o : scene.objects) {
            glPushMatrix();
            applyObjectSettings(*o);
            send(*o);
            glPopMatrix();
        }
        for (const OmniLight& light : scene.omniLights) setupOmniLight(light);
        endSceneFrame(scene);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// Whole frames drawn with `draw`, each finished with glFinish.
template <typename Draw>
void drawFrames(benchmark::State& state, Draw draw) {
    for (auto _ : state) {
        draw();
        glFinish();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                               benchmark::Counter::kIsRate);
}

void BM_DrawSceneImmediate(benchmark::State& state) {
    Fixture& f = fixture();
    drawFrames(state, [&] { f.drawSceneWith(Fixture::sendImmediate); });
}

void BM_DrawSceneClientArrays(benchmark::State& state) {
    Fixture& f = fixture();
    drawFrames(state, [&] { f.drawSceneWith([&](const SceneObject& o) { f.sendWithArrays(o); }); });
}

void BM_DrawSceneIndexed(benchmark::State& state) {
    Fixture& f = fixture();
    drawFrames(state, [&] { drawScene(f.scene); });
}

// Alternate the three so that load from other processes hits all alike.
BENCHMARK(BM_DrawSceneImmediate)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_DrawSceneClientArrays)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_DrawSceneIndexed)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_DrawSceneImmediate)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_DrawSceneClientArrays)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_DrawSceneIndexed)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // The paths must give the same picture for the comparison to mean anything.
    // (The first frame lights with the GL defaults; compare later frames.)
    Fixture& f = fixture();
    f.drawSceneWith(Fixture::sendImmediate);
    f.drawSceneWith(Fixture::sendImmediate);
    const std::vector<uint8_t> immediate = f.gl.readPixels();
    f.drawSceneWith([&](const SceneObject& o) { f.sendWithArrays(o); });
    const std::vector<uint8_t> arrays = f.gl.readPixels();
    drawScene(f.scene);
    const std::vector<uint8_t> indexed = f.gl.readPixels();
    size_t differing = 0, differingIndexed = 0;
    for (size_t i = 0; i < immediate.size(); ++i) {
        differing += immediate[i] != arrays[i];
        differingIndexed += immediate[i] != indexed[i];
    }
    std::fprintf(stderr, "bytes that differ from immediate mode: corner arrays %zu, indexed %zu, of %zu\n",
                 differing, differingIndexed, immediate.size());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
