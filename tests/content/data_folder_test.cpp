// The generated data folder as the program sees it: read with the program's
// own loaders (texture list, BMP decoder, scene scripts, .3ds reader), with
// every message box recorded. The folder is the one the build generated;
// a separate case runs the generator twice and compares the bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "assets/image.h"
#include "assets/texture_table.h"
#include "platform/recorders.h"
#include "scene/scene.h"
#include "scene/scene_script.h"
#include "shell/app.h"
#include "shell/timeline.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

// Runs the test body with the working directory at the data folder's parent.
struct InDataFolder : WorkingDirectory {
    InDataFolder() : WorkingDirectory(CONTENT_DATA_PARENT) {}
};

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::map<std::string, std::string> folderContents(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file()) files[fs::relative(e.path(), root).generic_string()] = readAll(e.path());
    return files;
}

std::vector<std::string> textureEntries() {
    std::ifstream list("data/script/texture.dat", std::ios::binary);
    return readTextureList(list);
}

// Loads the ten scripts in slot order, as the program does at start-up.
struct LoadedShow {
    std::unique_ptr<Show> show = std::make_unique<Show>();
    BoxRecorder boxes;
    LoadedShow() {
        InDataFolder here;
        ExitCatcher exits;
        resetLightCounter();
        loadShowScenes(*show);
    }
};

int triangles(const Scene& s) {
    int n = 0;
    for (const auto& o : s.objects) n += o->faceCount();
    return n;
}

}  // namespace

TEST(GeneratedData, TwoRunsWriteTheSameBytes) {
    const ScratchFolder folder("orbelune-content-");
    const fs::path& base = folder.root();
    for (const char* run : {"a", "b"}) {
        const std::string cmd = std::string("\"") + CONTENT_TOOL + "\" \"" + (base / run).string() + "\"";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    const auto a = folderContents(base / "a");
    const auto b = folderContents(base / "b");
    ASSERT_GT(a.size(), 50u);
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [name, bytes] : a) {
        ASSERT_TRUE(b.count(name)) << name;
        EXPECT_TRUE(bytes == b.at(name)) << name << " differs between runs";
    }
    // The build's own folder came from the same generator.
    EXPECT_EQ(folderContents(fs::path(CONTENT_DATA_PARENT) / "data").size(), a.size());
}

// Overlays and sprites are added onto the scene: black stays transparent.
TEST(GeneratedData, OverlayPicturesAreLightOnBlack) {
    InDataFolder here;
    BoxRecorder boxes;
    const auto entries = textureEntries();
    const auto load = [&](int index) { return loadBitmap(entries.at(static_cast<size_t>(index))).value(); };
    const auto at = [](const RgbImage& img, int x, int y) {  // y from the bottom
        const size_t i = (static_cast<size_t>(y) * img.width + x) * 3;
        return img.data[i] + img.data[i + 1] + img.data[i + 2];
    };
    // Brightest pixel sum within rows [y0, y1) (fractions of the height from the bottom).
    const auto brightest = [&](const RgbImage& img, double y0, double y1) {
        int best = 0;
        for (int y = static_cast<int>(y0 * img.height); y < static_cast<int>(y1 * img.height); ++y)
            for (int x = 0; x < img.width; ++x) best = std::max(best, at(img, x, y));
        return best;
    };
    for (int index : {1, 3, 19, 23, 24, 25, 30, 31, 32, 33, 34, 35}) {
        const RgbImage img = load(index);
        EXPECT_EQ(at(img, 0, 0), 0) << index;
        EXPECT_EQ(at(img, img.width - 1, img.height - 1), 0) << index;
        EXPECT_GT(brightest(img, 0.0, 1.0), 600) << "picture " << index << " shows nothing";
    }
    // Credits 23-25 sit at the lower right of the view: only their top nine
    // tenths are on screen, so nothing may be lettered below that.
    for (int index : {23, 24, 25}) {
        const RgbImage img = load(index);
        EXPECT_LT(brightest(img, 0.0, 0.12), 30) << index;
        EXPECT_GT(brightest(img, 0.12, 1.0), 600) << index;
    }
    const RgbImage flash = load(5);
    for (size_t i = 0; i < flash.data.size(); ++i) ASSERT_EQ(flash.data[i], 255) << "fade picture must be white";
    const RgbImage glow = load(1);
    EXPECT_GT(at(glow, glow.width / 2, glow.height / 2), 700);
    EXPECT_EQ(at(glow, glow.width / 2, 0), 0);
    EXPECT_TRUE(boxes.texts().empty());
}

// Surface pictures repeat across their objects (GL_REPEAT): the last column
// must join the first (and the top row the bottom one where the texture
// repeats downwards too) about as smoothly as the columns next to the edge.
TEST(GeneratedData, SurfacePicturesTileWithoutSeams) {
    InDataFolder here;
    const auto entries = textureEntries();
    const auto step = [](const RgbImage& img, int x0, int y0, int x1, int y1) {
        int d = 0;
        for (int ch = 0; ch < 3; ++ch) {
            const int a = img.data[(static_cast<size_t>(y0) * img.width + x0) * 3 + ch];
            const int b = img.data[(static_cast<size_t>(y1) * img.width + x1) * 3 + ch];
            d += std::abs(a - b);
        }
        return d;
    };
    // Mean step between neighbouring columns (or rows) a and b.
    const auto joint = [&](const RgbImage& img, bool acrossRows, int a, int b) {
        const int n = acrossRows ? img.width : img.height;
        double sum = 0;
        for (int i = 0; i < n; ++i) sum += acrossRows ? step(img, i, a, i, b) : step(img, a, i, b, i);
        return sum / n;
    };
    const auto check = [&](int index, bool acrossRows) {
        const RgbImage img = loadBitmap(entries.at(static_cast<size_t>(index))).value();
        const int n = acrossRows ? img.height : img.width;
        // Compared with the joints next to it, so that sharp lines (lead,
        // grout) lying along the edge do not count as a seam.
        double nearby = 0;
        for (int k = 1; k <= 3; ++k)
            nearby = std::max({nearby, joint(img, acrossRows, k - 1, k), joint(img, acrossRows, n - k - 1, n - k)});
        EXPECT_LT(joint(img, acrossRows, n - 1, 0), 1.25 * nearby + 2.0)
            << "texture " << index << (acrossRows ? " top/bottom" : " left/right");
    };
    for (int index : {0, 2, 4, 7, 8, 9, 10, 11, 13, 14, 15, 18, 20, 21, 22, 27, 28}) check(index, false);
    for (int index : {0, 4, 7, 8, 11, 13, 14, 15, 18, 20, 21, 22, 27, 28}) check(index, true);
}

// Counts, texture indices, the light limit and every listed picture decoding
// are the data check's business (tools/data_check_test); these are the
// effects each section shows.
TEST(GeneratedData, ScriptsSwitchOnTheEffectsTheirSectionsShow) {
    LoadedShow loaded;
    const Show& s = *loaded.show;
    EXPECT_TRUE(loaded.boxes.texts().empty()) << loaded.boxes.texts().front();
    EXPECT_GT(s.scene.omniLights.at(0).flareSize, 0.0f) << "the circling light shows its flare";
    ASSERT_GE(s.scene5.objectCount(), 2);
    EXPECT_TRUE(s.scene5.objects[0]->magnetic && s.scene5.objects[1]->magnetic);
    ASSERT_GE(s.scene10.objectCount(), 1);
    EXPECT_TRUE(s.scene10.objects[0]->vortex);
    EXPECT_GT(s.scene10.objects[0]->maxRing, 8) << "the twist needs rings to travel through";
    EXPECT_TRUE(s.scene4.fogEnabled && s.scene11.fogEnabled);
}

// Software rendering must keep up: each shown scene holds 5k to 30k
// triangles; the scene that is never shown stays small.
TEST(GeneratedData, ScenesStayWithinTheTriangleBudget) {
    LoadedShow loaded;
    const Show& s = *loaded.show;
    for (const Scene* scene : {&s.scene, &s.scene2, &s.scene3, &s.scene4, &s.scene6, &s.scene8, &s.scene11}) {
        EXPECT_GE(triangles(*scene), 5000);
        EXPECT_LE(triangles(*scene), 30000);
    }
    EXPECT_LE(triangles(s.scene5) + triangles(s.scene10), 30000) << "drawn together";
    EXPECT_LT(triangles(s.scene7), 1000);
}

namespace {

struct P3 {
    double x, y, z;
};
P3 sub(P3 a, P3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(P3 a, P3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
P3 madd(P3 a, P3 b, double s) { return {a.x + b.x * s, a.y + b.y * s, a.z + b.z * s}; }

// Distance from p to triangle abc (closest-point regions).
double pointTriangle(P3 p, P3 a, P3 b, P3 c) {
    const P3 ab = sub(b, a), ac = sub(c, a), ap = sub(p, a);
    const double d1 = dot(ab, ap), d2 = dot(ac, ap);
    P3 q;
    if (d1 <= 0 && d2 <= 0) {
        q = a;
    } else {
        const P3 bp = sub(p, b);
        const double d3 = dot(ab, bp), d4 = dot(ac, bp);
        const P3 cp = sub(p, c);
        const double d5 = dot(ab, cp), d6 = dot(ac, cp);
        const double vc = d1 * d4 - d3 * d2, vb = d5 * d2 - d1 * d6, va = d3 * d6 - d5 * d4;
        if (d3 >= 0 && d4 <= d3) q = b;
        else if (d6 >= 0 && d5 <= d6) q = c;
        else if (vc <= 0 && d1 >= 0 && d3 <= 0) q = madd(a, ab, d1 / (d1 - d3));
        else if (vb <= 0 && d2 >= 0 && d6 <= 0) q = madd(a, ac, d2 / (d2 - d6));
        else if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) q = madd(b, sub(c, b), (d4 - d3) / ((d4 - d3) + (d5 - d6)));
        else {
            const double denom = 1.0 / (va + vb + vc);
            q = madd(madd(a, ab, vb * denom), ac, vc * denom);
        }
    }
    const P3 d = sub(p, q);
    return std::sqrt(dot(d, d));
}

// Nearest distance from any camera position to the scene's visible surfaces.
double clearance(const Scene& scene, const std::vector<P3>& cameras) {
    double best = 1e9;
    for (const auto& o : scene.objects) {
        if (!o->visible) continue;
        const auto world = [&](uint32_t i) {
            const Vec3& v = o->vertices[i].position;
            return P3{v.x + o->position.x, v.y + o->position.y, v.z + o->position.z};
        };
        for (const MeshFace& f : o->faces) {
            const P3 a = world(f.index[0]), b = world(f.index[1]), c = world(f.index[2]);
            for (const P3& cam : cameras) best = std::min(best, pointTriangle(cam, a, b, c));
        }
    }
    return best;
}

P3 eye(const Scene& s) { return {s.cameraPosition.x, s.cameraPosition.y, s.cameraPosition.z}; }

}  // namespace

// Every scene is laid out for its camera path: the camera never comes within
// reach of the near plane of a surface (no flying through columns, ground or
// tunnel walls), sampled along the whole of each section's path.
TEST(GeneratedData, CameraPathsStayClearOfEverySurface) {
    LoadedShow loaded;
    Show& show = *loaded.show;
    TimelineState state;
    ShowRandom random;
    // Steps the section from `from` to `to` in half units; the camera after each step.
    const auto stayClear = [&](Scene& scene, double from, double to, auto&& step) {
        std::vector<P3> eyes;
        for (double c = from; c < to; c += 0.5) {
            step(static_cast<float>(c));
            eyes.push_back(eye(scene));
        }
        EXPECT_GT(clearance(scene, eyes), 0.4) << "section from " << from;
    };
    stayClear(show.scene3, 0, 205, [&](float c) { animateTitle(c, show.scene3); });
    stayClear(show.scene2, 205, 463, [&](float c) { animateCredits(c, show.scene2); });
    state.sceneStart = 463;
    stayClear(show.scene11, 463, 763, [&](float c) { animateFlight(c, state, show.scene11); });
    state.sceneStart = 763;
    state.cameraSway = 0;
    stayClear(show.scene, 763, 1028, [&](float c) { animateSparks(c, state, show, random), settleSparks(c, state); });
    stayClear(show.scene6, 1028, 1310, [&](float c) { placeOrbitCamera(c, show.scene6); });
    prepareFountain(state, show.scene8);
    state.sceneStart = 1575;
    stayClear(show.scene8, 1575, 1840, [&](float c) { animateFountain(c, state, show, random); });
    state.cameraSway = 0;
    stayClear(show.scene4, 1840, 2178, [&](float c) { animateStars(c, state, show.scene4); });
    stayClear(show.scene3, 2178, 2310, [&](float c) { animateTitle(c - 2178.0, show.scene3); });
    // The magnet scene and the vortex over it keep their scripts' cameras,
    // well away from the swinging disc (radius 10 plus its own size).
    EXPECT_GT(std::sqrt(dot(eye(show.scene10), eye(show.scene10))), 25.0);
}

// The soundtrack is a full-length 44.1 kHz stereo MP3.
TEST(GeneratedData, SoundtrackIsAFullLengthStereoMp3) {
    InDataFolder here;
    const std::string b = readAll("data/music/drabelfinal.mp3");
    ASSERT_GT(b.size(), 4u);
    // Walk the MPEG-1 Layer III frames.
    static const int kBitrates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    size_t pos = 0;
    int frames = 0;
    while (pos + 4 <= b.size()) {
        const auto h0 = static_cast<uint8_t>(b[pos]), h1 = static_cast<uint8_t>(b[pos + 1]),
                   h2 = static_cast<uint8_t>(b[pos + 2]), h3 = static_cast<uint8_t>(b[pos + 3]);
        ASSERT_EQ(h0, 0xFF) << "frame " << frames;
        ASSERT_EQ(h1 & 0xFE, 0xFA) << "MPEG-1 layer III";
        ASSERT_EQ((h2 >> 2) & 3, 0) << "44.1 kHz";
        ASSERT_NE(h3 >> 6, 3) << "stereo";
        const int kbps = kBitrates[h2 >> 4];
        ASSERT_GT(kbps, 0);
        pos += static_cast<size_t>(144 * kbps * 1000 / 44100 + ((h2 >> 1) & 1));
        ++frames;
    }
    EXPECT_EQ(pos, b.size());
    EXPECT_GE(frames * 1152.0 / 44100.0, 231.0);
    EXPECT_LT(frames * 1152.0 / 44100.0, 232.0);
}
