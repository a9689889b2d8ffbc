// Scene layouts. Light numbers are handed out over all scripts in loading
// order and the GL has eight, so the set holds exactly eight lights:
//   scene    omni 0        (circles the centre, sheds sparks)
//   scene2   omni 1, 2     (turned into circling directional lights)
//   scene3   omni 3, 4     (title and ending)
//   scene4   spot 5        (only its glow: a distant sun)
//   scene6   omni 6
//   scene8   omni 7        (lamp over the fountain)
// The other scenes are drawn unlit; their textures and environment maps
// carry the shading.
#include "content/scenes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <stdexcept>

namespace content {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

class ScriptWriter {
public:
    ScriptWriter(SceneSet& set, std::string fileName, bool crlf = false)
        : set_(set), fileName_(std::move(fileName)), eol_(crlf ? "\r\n" : "\n") {}

    void line(const std::string& text) { text_ += text + eol_; }
    void sw(const char* key, bool on) { line(std::string(key) + (on ? "=ON" : "=OFF")); }
    void num(const char* key, float v) { line(std::string(key) + "=" + formatNumber(v)); }
    void integer(const char* key, int v) { line(std::string(key) + "=" + std::to_string(v)); }
    void vec(const char* key, std::initializer_list<float> values) {
        std::string s = std::string(key) + "=";
        bool first = true;
        for (float v : values) {
            if (!first) s += ",";
            s += formatNumber(v);
            first = false;
        }
        line(s);
    }
    void shading(const char* word) { line(std::string("SHADING=") + word); }
    // FILENAME line for a mesh file; the mesh is stored once under its name.
    void object(const std::string& name, const Mesh& mesh) {
        auto it = set_.meshes.find(name);
        if (it == set_.meshes.end()) set_.meshes.emplace(name, mesh);
        object(name);
    }
    void object(const std::string& name) {
        if (!set_.meshes.count(name)) throw std::logic_error("mesh not registered: " + name);
        line("FILENAME=data\\meshes\\" + name);
    }
    void finish() {
        line("EOF");
        set_.scripts.push_back({fileName_, text_});
    }

private:
    SceneSet& set_;
    std::string fileName_;
    std::string eol_;
    std::string text_;
};

// ---- Shapes shared by several scenes --------------------------------------------

Mesh columnMesh(float height, float radius, int sides) {
    // Base, a slightly swelling shaft, and a capital; from y = 0 up.
    std::vector<std::array<float, 2>> profile = {
        {0.0f, 0.0f}, {radius * 1.7f, 0.0f}, {radius * 1.7f, 0.3f}, {radius * 1.3f, 0.42f}, {radius * 1.15f, 0.55f}};
    const int shaft = 10;
    for (int i = 0; i <= shaft; ++i) {
        const float t = static_cast<float>(i) / shaft;
        const float y = 0.6f + t * (height - 1.3f);
        profile.push_back({radius * (1.0f + 0.06f * std::sin(t * kPi) - 0.08f * t), y});
    }
    profile.push_back({radius * 1.25f, height - 0.55f});
    profile.push_back({radius * 1.7f, height - 0.3f});
    profile.push_back({radius * 1.75f, height});
    profile.push_back({0.0f, height});
    return lathe(profile, sides, 2.0f);
}

Mesh annulus(float r0, float r1, int rings, int sectors, float around) {
    // Flat ring in the x-z plane facing +y; u runs across the ring, v around it.
    Mesh m = parametric(rings, sectors, [=](float s, float t) {
        const float r = r0 + (r1 - r0) * s;
        const float a = -2 * kPi * t;
        return V3{r * std::cos(a), 0.0f, r * std::sin(a)};
    }, 1.0f, around);
    return m;
}

Mesh hemisphere(float radius, int slices, int stacks, float uRepeat, float vRepeat) {
    return parametric(slices, stacks, [=](float s, float t) {
        const float phi = 2 * kPi * s;
        const float theta = 0.5f * kPi * t;
        return V3{radius * std::cos(theta) * std::sin(phi), radius * std::sin(theta),
                  radius * std::cos(theta) * std::cos(phi)};
    }, uRepeat, vRepeat);
}

// Gentle hills that stay flat within `flatRadius` of the centre.
float hills(float x, float z, float flatRadius, float amplitude, uint32_t seed) {
    const float r = std::sqrt(x * x + z * z);
    const float w = std::clamp((r - flatRadius) / 10.0f, 0.0f, 1.0f);
    const float n = noise3(x * 0.07f, 0.5f, z * 0.07f, seed) * 0.7f + noise3(x * 0.2f, 1.5f, z * 0.2f, seed + 1) * 0.3f;
    return w * w * amplitude * (n - 0.3f);
}

// ---- The scenes -----------------------------------------------------------------

// Fourth section: a camera swaying around (-20, -2, -15) looks at the centre
// while light 0 circles it at radius 12 and sheds sparks.
void sceneLight(SceneSet& set) {
    ScriptWriter s(set, "scene.dat");
    s.sw("LIGHTS", true);
    s.vec("CLEAR_COLOR", {0.02f, 0.02f, 0.05f, 0.5f});
    s.sw("FOG", true);
    s.vec("FOG_COLOR", {0.02f, 0.02f, 0.05f, 1});
    s.integer("FOG_START", 22);
    s.integer("FOG_END", 60);
    s.vec("CAMERA_POSITION", {-20, -2, -15, 1});
    s.vec("CAMERA_TARGET", {0, 0, 0, 1});
    s.vec("LIGHT_AMBIENT", {0.3f, 0.27f, 0.25f, 1});
    s.vec("LIGHT_DIFFUSE", {1.0f, 0.86f, 0.62f, 1});
    s.vec("LIGHT_SPECULAR", {1, 1, 0.9f, 1});
    s.line("ADD_OMNI=12,0,0,1,2.5");
    // Polished floor.
    s.sw("CULLFACE", true);
    s.integer("TEXTUREID", 28);
    s.vec("MATERIAL_AMBIENT", {0.25f, 0.25f, 0.3f, 1});
    s.vec("MATERIAL_DIFFUSE", {0.9f, 0.9f, 1.0f, 1});
    s.vec("MATERIAL_SPECULAR", {0.6f, 0.6f, 0.6f, 1});
    s.vec("OBJECT_POSITION", {0, -6.5f, 0, 1});
    s.object("floor60.3ds", terrain(60, 60, 64, 64, [](float, float) { return 0.0f; }, 8));
    // The copper knot at the centre.
    s.integer("TEXTUREID", 18);
    s.vec("MATERIAL_AMBIENT", {0.6f, 0.45f, 0.35f, 1});
    s.vec("MATERIAL_DIFFUSE", {1, 0.9f, 0.8f, 1});
    s.vec("MATERIAL_SPECULAR", {1, 0.9f, 0.7f, 1});
    // Stood upright, facing the camera's corner.
    Mesh knot = torusKnot(3, 2, 3.6f, 1.5f, 0.85f, 256, 20);
    knot.rotateX(kPi / 2);
    knot.rotateY(std::atan2(-20.0f, -15.0f));
    s.vec("OBJECT_POSITION", {0, 0.8f, 0, 1});
    s.object("knot32.3ds", knot);
    // Obelisks inside the light's circle, lit from every side in turn.
    s.integer("TEXTUREID", 0);
    s.vec("MATERIAL_SPECULAR", {0.3f, 0.3f, 0.3f, 1});
    s.vec("MATERIAL_DIFFUSE", {0.9f, 0.85f, 0.8f, 1});
    s.vec("MATERIAL_AMBIENT", {0.2f, 0.2f, 0.2f, 1});
    const Mesh obelisk = lathe({{0, 0}, {1.1f, 0}, {1.1f, 0.6f}, {0.75f, 0.8f}, {0.62f, 8.0f}, {0.0f, 9.2f}}, 4, 1.0f);
    for (int i = 0; i < 6; ++i) {
        const float a = 2 * kPi * (i + 0.5f) / 6;
        s.vec("OBJECT_POSITION", {8.5f * std::sin(a), -6.5f, 8.5f * std::cos(a), 1});
        s.object("obelisk.3ds", obelisk);
    }
    s.finish();
}

// Second section: the camera loops around the centre at height 6 to 8
// (passing right over it) while two directional lights circle.
void sceneGarden(SceneSet& set) {
    ScriptWriter s(set, "scene2.dat");
    s.sw("LIGHTS", true);
    s.vec("CLEAR_COLOR", {0.45f, 0.62f, 0.85f, 0.5f});
    s.vec("CAMERA_POSITION", {15, 7, 0, 1});
    s.vec("CAMERA_TARGET", {0, 2, 6, 1});
    s.vec("LIGHT_AMBIENT", {0.4f, 0.4f, 0.42f, 1});
    s.vec("LIGHT_DIFFUSE", {1.0f, 0.9f, 0.7f, 1});
    s.vec("LIGHT_SPECULAR", {1, 1, 1, 1});
    s.line("ADD_OMNI=15,10,0,0,0");
    s.vec("LIGHT_DIFFUSE", {0.45f, 0.55f, 0.8f, 1});
    s.vec("LIGHT_SPECULAR", {0.4f, 0.5f, 0.7f, 1});
    s.line("ADD_OMNI=-12,10,14,0,0");
    // Sky dome, lit by the lights' ambient alone.
    s.sw("CULLFACE", false);
    s.integer("TEXTUREID", 21);
    s.vec("MATERIAL_AMBIENT", {1, 1, 1, 1});
    s.vec("MATERIAL_DIFFUSE", {0, 0, 0, 1});
    Mesh dome = hemisphere(75, 48, 12, 3, 1);
    dome.flipWinding();
    s.vec("OBJECT_POSITION", {0, -8, 0, 1});
    s.object("skydome.3ds", dome);
    // Ground.
    s.sw("CULLFACE", true);
    s.integer("TEXTUREID", 8);
    s.vec("MATERIAL_AMBIENT", {0.2f, 0.2f, 0.2f, 1});
    s.vec("MATERIAL_DIFFUSE", {0.85f, 0.9f, 0.8f, 1});
    s.vec("OBJECT_POSITION", {0, 0, 0, 1});
    s.object("meadow.3ds", terrain(64, 64, 90, 90, [](float x, float z) { return hills(x, z, 16, 7, 301); }, 10));
    // A ring of marble columns with a copper ring beam, low enough for the
    // camera to pass over.
    s.integer("TEXTUREID", 4);
    s.vec("MATERIAL_DIFFUSE", {0.95f, 0.92f, 0.88f, 1});
    s.vec("MATERIAL_SPECULAR", {0.5f, 0.5f, 0.5f, 1});
    const Mesh column = columnMesh(4.6f, 0.35f, 18);
    for (int i = 0; i < 8; ++i) {
        const float a = 2 * kPi * i / 8;
        s.vec("OBJECT_POSITION", {9 * std::sin(a), 0, 9 * std::cos(a), 1});
        s.object("column_low.3ds", column);
    }
    s.integer("TEXTUREID", 18);
    s.vec("MATERIAL_SPECULAR", {0.9f, 0.8f, 0.6f, 1});
    s.vec("OBJECT_POSITION", {0, 4.75f, 0, 1});
    s.object("ringbeam.3ds", torus(9, 0.3f, 96, 10, 24, 1));
    // Pedestal and mirror ball at the centre.
    s.integer("TEXTUREID", 4);
    s.vec("MATERIAL_SPECULAR", {0.2f, 0.2f, 0.2f, 1});
    s.vec("OBJECT_POSITION", {0, 0, 0, 1});
    s.object("pedestal.3ds", lathe({{0, 0}, {1.6f, 0}, {1.6f, 0.3f}, {1.0f, 0.5f}, {0.8f, 1.6f}, {1.2f, 1.8f}, {0, 1.8f}}, 32));
    s.integer("TEXTUREID", 6);
    s.shading("ENVMAPPING");
    s.vec("OBJECT_POSITION", {0, 3.1f, 0, 1});
    s.object("ball13.3ds", sphere(1.3f, 40, 24));
    // Rocks out of the camera's way.
    s.shading("TEXTUREMAPPING");
    s.integer("TEXTUREID", 7);
    s.vec("MATERIAL_SPECULAR", {0, 0, 0, 1});
    s.vec("MATERIAL_DIFFUSE", {0.85f, 0.8f, 0.75f, 1});
    const Mesh rockA = rock(1.0f, 0.35f, 24, 14, 401);
    const Mesh rockB = rock(1.0f, 0.45f, 24, 14, 402);
    const float rocks[][4] = {{19, 0, 6, 2.2f}, {-20, 0, -8, 3.0f}, {6, 0, 22, 2.5f}, {-9, 0, 21, 1.8f},
                              {24, 0, -14, 3.4f}, {-4, 0, -24, 2.8f}, {-25, 0, 12, 2.0f}};
    for (int i = 0; i < 7; ++i) {
        s.num("SCALEVALUE", rocks[i][3]);
        s.vec("OBJECT_POSITION", {rocks[i][0], hills(rocks[i][0], rocks[i][2], 16, 7, 301) + rocks[i][3] * 0.3f,
                                  rocks[i][2], 1});
        if (i % 2 == 0)
            s.object("rock_a.3ds", rockA);
        else
            s.object("rock_b.3ds", rockB);
    }
    s.num("SCALEVALUE", 1);
    // A stained-glass dome over the centre, blended: it tints what lies behind.
    s.sw("BLEND", true);
    s.sw("CULLFACE", false);
    s.integer("TEXTUREID", 22);
    s.vec("MATERIAL_AMBIENT", {1, 1, 1, 0.8f});
    s.vec("MATERIAL_DIFFUSE", {0.6f, 0.6f, 0.6f, 0.8f});
    s.vec("MATERIAL_SPECULAR", {0.3f, 0.3f, 0.3f, 0.8f});
    s.vec("OBJECT_POSITION", {0, 0, 0, 1});
    s.object("glassdome.3ds", hemisphere(4.4f, 40, 10, 4, 1));
    s.finish();
}

// Title and ending: seen from x = 30, looking at (0, 20, 0), rising from
// y = -7. The two lights sit on the camera's side.
void sceneTitle(SceneSet& set) {
    ScriptWriter s(set, "scene3.dat");
    s.sw("LIGHTS", true);
    s.vec("CLEAR_COLOR", {0.01f, 0.012f, 0.04f, 0.5f});
    s.vec("CAMERA_POSITION", {30, -7, -10, 1});
    s.vec("CAMERA_TARGET", {0, 20, 0, 1});
    s.vec("LIGHT_AMBIENT", {0.4f, 0.4f, 0.45f, 1});
    s.vec("LIGHT_DIFFUSE", {0.9f, 0.9f, 1.0f, 1});
    s.vec("LIGHT_SPECULAR", {1, 1, 1, 1});
    s.line("ADD_OMNI=30,10,0,1,0");
    s.vec("LIGHT_DIFFUSE", {0.7f, 0.6f, 0.9f, 1});
    s.line("ADD_OMNI=30,30,0,1,0");
    // Rocky ground far below the camera.
    s.sw("CULLFACE", true);
    s.integer("TEXTUREID", 7);
    s.vec("MATERIAL_AMBIENT", {0.08f, 0.08f, 0.1f, 1});
    s.vec("MATERIAL_DIFFUSE", {0.7f, 0.68f, 0.72f, 1});
    s.vec("OBJECT_POSITION", {0, -17, 0, 1});
    s.object("badlands.3ds", terrain(52, 52, 110, 110, [](float x, float z) {
        return 5.0f * noise3(x * 0.05f, 0.3f, z * 0.05f, 311) + 1.5f * noise3(x * 0.2f, 0.7f, z * 0.2f, 312);
    }, 8));
    // The moon, up and to the left of the view's centre.
    s.integer("TEXTUREID", 9);
    s.vec("MATERIAL_AMBIENT", {0.06f, 0.06f, 0.08f, 1});
    s.vec("MATERIAL_DIFFUSE", {1, 1, 1, 1});
    s.vec("OBJECT_POSITION", {0, 26, 9, 1});
    s.object("moon.3ds", sphere(9, 64, 40));
    // A glowing ring round the moon: added light, lit by ambient alone.
    s.sw("BLEND", true);
    s.sw("CULLFACE", false);
    s.integer("TEXTUREID", 12);
    s.vec("MATERIAL_AMBIENT", {1, 1, 1, 0.7f});
    s.vec("MATERIAL_DIFFUSE", {0, 0, 0, 0.7f});
    Mesh ring = annulus(12, 18, 6, 96, 8);
    ring.rotateX(0.45f);
    ring.rotateZ(-0.3f);
    ring.translate({0, 26, 9});
    s.vec("OBJECT_POSITION", {0, 0, 0, 1});
    s.object("moonring.3ds", ring);
    // Aurora curtains behind the moon.
    s.integer("TEXTUREID", 29);
    s.vec("MATERIAL_AMBIENT", {1, 1, 1, 0.8f});
    const Mesh curtain = parametric(64, 8, [](float u, float v) {
        const float a = kPi * (0.6f + 0.8f * u);
        const float r = 40 + 3 * std::sin(u * 17);
        return V3{r * std::cos(a), -4 + 52 * v, r * std::sin(a)};
    }, 3, 1);
    s.object("curtain.3ds", curtain);
    s.finish();
}

// Eighth section: looking toward +z from z = 2 through the star field (which
// is drawn with this scene's fog); a ringed planet far ahead, asteroids at
// the sides, and a distant sun (a spot light's glow).
void sceneStars(SceneSet& set) {
    ScriptWriter s(set, "scene4.dat");
    s.sw("LIGHTS", false);
    s.vec("CLEAR_COLOR", {0.015f, 0.01f, 0.04f, 0.5f});
    s.sw("FOG", true);
    s.vec("FOG_COLOR", {0.015f, 0.01f, 0.04f, 1});
    s.integer("FOG_START", 15);
    s.integer("FOG_END", 190);
    s.vec("CAMERA_POSITION", {0, 2, 2, 1});
    s.vec("CAMERA_TARGET", {6, 0, 15, 1});
    s.line("ADD_SPOT=-18,10,45,4");
    // The planet; its texture carries the sunlit side.
    s.sw("CULLFACE", true);
    s.integer("TEXTUREID", 10);
    s.vec("OBJECT_POSITION", {10, -6, 72, 1});
    s.object("planet.3ds", sphere(18, 64, 40));
    // Its ring, added onto the scene.
    s.sw("BLEND", true);
    s.sw("CULLFACE", false);
    s.integer("TEXTUREID", 12);
    s.vec("MATERIAL_DIFFUSE", {1, 1, 1, 0.9f});
    Mesh ring = annulus(23, 34, 6, 128, 12);
    ring.rotateX(-1.15f);
    ring.rotateZ(0.35f);
    s.object("planetring.3ds", ring);
    // A nebula far behind, at the edge of sight (hidden where the planet is).
    s.integer("TEXTUREID", 26);
    Mesh veil = parametric(8, 8, [](float u, float v) { return V3{(u - 0.5f) * 150, (v - 0.5f) * 110, 0}; });
    s.vec("OBJECT_POSITION", {-20, 15, 97, 1});
    s.object("veil.3ds", veil);
    // Asteroids outside the star field, shaded by an environment map.
    s.sw("BLEND", false);
    s.sw("CULLFACE", true);
    s.shading("ENVMAPPING");
    s.integer("TEXTUREID", 36);
    s.vec("MATERIAL_DIFFUSE", {1, 1, 1, 1});
    const Mesh rockA = rock(1.0f, 0.4f, 20, 12, 411);
    const Mesh rockB = rock(1.0f, 0.5f, 20, 12, 412);
    const float rocks[][4] = {{-9, 4, 18, 1.6f},  {8, -5, 24, 2.2f},  {-12, -7, 33, 2.8f}, {14, 6, 38, 2.4f},
                              {-6, 11, 44, 2.0f}, {16, -10, 52, 3.2f}, {-18, 2, 58, 3.6f},  {5, 13, 30, 1.4f},
                              {-15, -14, 26, 2.0f}, {20, 15, 64, 3.0f}, {-7, -12, 48, 1.8f}, {11, 2, 15, 1.0f}};
    for (int i = 0; i < 12; ++i) {
        s.num("SCALEVALUE", rocks[i][3]);
        s.vec("OBJECT_POSITION", {rocks[i][0], rocks[i][1], rocks[i][2], 1});
        s.object(i % 2 ? "asteroid_b.3ds" : "asteroid_a.3ds", i % 2 ? rockB : rockA);
    }
    s.finish();
}

// Sixth section, underneath: two magnetic objects that the timeline spins
// about z and two magnets roaming around z = 6 to 9. Seen from +z.
void sceneMagnets(SceneSet& set) {
    ScriptWriter s(set, "scene5.dat");
    s.sw("LIGHTS", false);
    s.vec("CLEAR_COLOR", {0.03f, 0.01f, 0.06f, 0.5f});
    s.vec("CAMERA_POSITION", {0, -6, 42, 1});
    s.vec("CAMERA_TARGET", {0, 0, 3, 1});
    s.line("ADDMAGNET=0,15,6,10");
    s.line("ADDMAGNET=-12,-8,9,20");
    s.sw("MAGNETIC", true);
    s.sw("CULLFACE", true);
    // Object 0: a dense mirror sphere.
    s.shading("ENVMAPPING");
    s.integer("TEXTUREID", 16);
    s.object("magnetball.3ds", sphere(7, 80, 56));
    // Object 1: a gridded ring round it.
    s.shading("TEXTUREMAPPING");
    s.integer("TEXTUREID", 20);
    Mesh ring = torus(14, 2.5f, 112, 28, 12, 1);
    ring.rotateX(kPi / 2);
    s.object("magnetring.3ds", ring);
    // A gridded backdrop, bent a little by the magnets as well.
    Mesh back = parametric(48, 48, [](float u, float v) { return V3{(u - 0.5f) * 80, (v - 0.5f) * 60, 0}; }, 6, 4.5f);
    s.vec("OBJECT_POSITION", {0, 0, -8, 1});
    s.object("magnetback.3ds", back);
    s.finish();
}

// Fifth section: the camera circles at radius 7, height 9, over chrome
// objects standing in the sand.
void sceneChrome(SceneSet& set) {
    ScriptWriter s(set, "scene6.dat");
    s.sw("LIGHTS", true);
    s.vec("CLEAR_COLOR", {0.24f, 0.17f, 0.3f, 0.5f});
    s.sw("FOG", true);
    s.vec("FOG_COLOR", {0.24f, 0.17f, 0.3f, 1});
    s.integer("FOG_START", 14);
    s.integer("FOG_END", 48);
    s.vec("CAMERA_POSITION", {7, 9, 0, 1});
    s.vec("CAMERA_TARGET", {5, 3, 0, 1});
    s.vec("LIGHT_AMBIENT", {0.25f, 0.2f, 0.25f, 1});
    s.vec("LIGHT_DIFFUSE", {1.0f, 0.8f, 0.65f, 1});
    s.vec("LIGHT_SPECULAR", {1, 0.9f, 0.8f, 1});
    s.line("ADD_OMNI=10,16,6,1,0");
    s.sw("CULLFACE", true);
    s.integer("TEXTUREID", 27);
    s.vec("MATERIAL_DIFFUSE", {1, 0.92f, 0.85f, 1});
    s.vec("OBJECT_POSITION", {0, -2, 0, 1});
    s.object("dunes.3ds", terrain(56, 56, 90, 90, [](float x, float z) {
        const float r = std::sqrt(x * x + z * z);
        return 1.2f * std::sin(x * 0.25f + std::sin(z * 0.1f) * 2) * std::clamp((r - 5) / 8, 0.0f, 1.0f) +
               2.5f * noise3(x * 0.04f, 2.0f, z * 0.04f, 321);
    }, 10));
    // A chrome knot, then spheres that keep its environment mapping.
    s.shading("ENVMAPPING");
    s.integer("TEXTUREID", 16);
    s.num("SCALEVALUE", 1.1f);
    s.vec("OBJECT_POSITION", {0, 1.6f, 0, 1});
    s.object("knot23.3ds", torusKnot(2, 3, 2.2f, 0.9f, 0.55f, 192, 16));
    s.num("SCALEVALUE", 1);
    s.shading("FLARE");
    const Mesh ball = sphere(1, 32, 20);
    const float balls[][4] = {{15, -0.5f, 4, 2.0f}, {-12, -0.6f, 11, 1.6f}, {-5, -0.4f, -16, 2.4f}, {10, -0.7f, -13, 1.4f},
                              {-16, -0.5f, -3, 1.8f}};
    for (int i = 0; i < 5; ++i) {
        s.num("SCALEVALUE", balls[i][3]);
        s.vec("OBJECT_POSITION", {balls[i][0], balls[i][1] + balls[i][3], balls[i][2], 1});
        s.object("ball.3ds", ball);
    }
    s.num("SCALEVALUE", 1);
    // A steel ring lying round the knot.
    s.shading("ENVMAPPING");
    s.integer("TEXTUREID", 6);
    s.vec("OBJECT_POSITION", {0, -1.2f, 0, 1});
    s.object("basering.3ds", torus(5.5f, 0.45f, 96, 12));
    s.finish();
}

// Loaded but never shown; it also carries the keywords that do nothing on a
// line of their own, and CR LF line ends.
void sceneSpare(SceneSet& set) {
    ScriptWriter s(set, "scene7.dat", true);
    s.line("FOGVALUE");
    s.line("TEXTUREMAPPING");
    s.line("ENVMAPPING");
    s.line("FLARE");
    s.sw("LIGHTS", false);
    s.vec("CAMERA_POSITION", {0, 0, 10, 1});
    s.vec("CAMERA_TARGET", {0, 0, 0, 1});
    s.integer("TEXTUREID", 0);
    s.object("pebble.3ds", rock(1.0f, 0.3f, 10, 6, 7));
    s.finish();
}

// Seventh section: a fountain in a colonnade. Exactly 19 objects: the timeline
// hides object 17 and re-textures the others (0 and 18 with 13, odd columns
// with 15, even ones with 14). The particles rise from (0, -1.5, 0).
void sceneFountain(SceneSet& set) {
    ScriptWriter s(set, "scene8.dat");
    s.sw("LIGHTS", true);
    s.vec("CLEAR_COLOR", {0.03f, 0.04f, 0.1f, 0.5f});
    s.sw("FOG", true);
    s.vec("FOG_COLOR", {0.03f, 0.04f, 0.1f, 1});
    s.integer("FOG_START", 16);
    s.integer("FOG_END", 42);
    s.vec("CAMERA_POSITION", {0, 2, 10, 1});
    s.vec("CAMERA_TARGET", {0, 0, 0, 1});
    s.vec("LIGHT_AMBIENT", {0.3f, 0.3f, 0.35f, 1});
    s.vec("LIGHT_DIFFUSE", {1.0f, 0.92f, 0.8f, 1});
    s.vec("LIGHT_SPECULAR", {1, 1, 1, 1});
    s.line("ADD_OMNI=0,7,0,1,1.2");
    s.sw("CULLFACE", true);
    s.vec("MATERIAL_SPECULAR", {0.4f, 0.4f, 0.4f, 1});
    // 0: the basin with its spout.
    s.integer("TEXTUREID", 13);
    s.object("basin.3ds", lathe({{0.0f, -2.5f}, {3.4f, -2.5f}, {3.5f, -1.9f}, {3.55f, -1.35f}, {3.35f, -1.1f},
                                 {3.0f, -1.15f}, {2.9f, -1.7f}, {2.5f, -1.95f}, {0.9f, -2.0f}, {0.55f, -1.9f},
                                 {0.42f, -1.7f}, {0.32f, -1.55f}, {0.0f, -1.5f}},
                                64, 3.0f));
    // 1 to 16: the colonnade at radius 12, behind the camera's circles.
    s.integer("TEXTUREID", 14);
    const Mesh column = columnMesh(6.5f, 0.42f, 24);
    for (int i = 0; i < 16; ++i) {
        const float a = 2 * kPi * i / 16;
        s.vec("OBJECT_POSITION", {12 * std::sin(a), -2.5f, 12 * std::cos(a), 1});
        s.object("column.3ds", column);
    }
    // 17: the architrave ring (hidden during the show).
    s.integer("TEXTUREID", 15);
    s.vec("OBJECT_POSITION", {0, 4.3f, 0, 1});
    s.object("architrave.3ds", torus(12, 0.5f, 64, 8, 16, 1));
    // 18: the paved floor.
    s.integer("TEXTUREID", 13);
    Mesh floorDisc = disc(0.0f, 22.0f, 24, 64);
    for (auto& t : floorDisc.uv) t = {t[0] * 8, t[1] * 8};
    floorDisc.rotateX(-kPi / 2);
    s.vec("OBJECT_POSITION", {0, -2.5f, 0, 1});
    s.object("pavement.3ds", floorDisc);
    s.finish();
}

// Sixth section, on top: object 0 carries the vortex; the timeline swings it
// on a circle of radius 10 and feeds twist into its innermost ring. Added
// onto the magnet scene underneath.
void sceneVortex(SceneSet& set) {
    ScriptWriter s(set, "scene10.dat");
    s.sw("LIGHTS", false);
    s.vec("CLEAR_COLOR", {0.03f, 0.01f, 0.06f, 0.5f});
    s.vec("CAMERA_POSITION", {0, -6, 42, 1});
    s.vec("CAMERA_TARGET", {0, 0, 3, 1});
    s.sw("VORTEX", true);
    s.sw("BLEND", true);
    s.sw("DEPTHTEST", false);
    s.sw("CULLFACE", false);
    s.integer("TEXTUREID", 17);
    s.vec("MATERIAL_DIFFUSE", {1, 1, 1, 1});
    s.object("vortexdisc.3ds", disc(0.0f, 7.0f, 28, 96));
    s.finish();
}

// Third section: a flight along +z from z = 0 to 135, swaying up to 6 units
// off axis, through a fogged tunnel 260 long with glowing ribs.
void sceneTunnel(SceneSet& set) {
    ScriptWriter s(set, "scene11.dat");
    s.sw("LIGHTS", false);
    s.vec("CLEAR_COLOR", {0, 0, 0, 0.5f});
    s.sw("FOG", true);
    s.vec("FOG_COLOR", {0, 0, 0, 1});
    s.integer("FOG_START", 8);
    s.integer("FOG_END", 85);
    s.vec("CAMERA_POSITION", {0, 0, 0, 1});
    s.vec("CAMERA_TARGET", {0, 0, 200, 1});
    // Wound to face outwards: flip the normals and cull the outer faces.
    s.sw("FLIPNORMALS", true);
    s.sw("CULLFACE", true);
    s.sw("CULLBACK", false);
    s.integer("TEXTUREID", 11);
    s.object("tunnel.3ds", tube(48, 130, -15, 250, [](float a, float z) {
        return 12.5f + 0.8f * std::sin(z * 0.05f + std::cos(a * 3)) + 0.6f * noise3(std::cos(a) * 2, std::sin(a) * 2, z * 0.1f, 331);
    }, 6, 65));
    // Glowing ribs every 20 units, added onto the walls.
    s.sw("CULLFACE", false);
    s.sw("BLEND", true);
    s.integer("TEXTUREID", 12);
    Mesh ribs;
    for (int k = 0; k < 13; ++k) {
        Mesh rib = torus(11.2f, 0.35f, 48, 6, 1, 1);
        rib.rotateX(kPi / 2);
        rib.translate({0, 0, 5.0f + 20.0f * k});
        ribs.append(rib);
    }
    s.object("ribs.3ds", ribs);
    s.finish();
}

}  // namespace

std::string formatNumber(float value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4f", static_cast<double>(value));
    std::string s = buf;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

SceneSet buildScenes() {
    SceneSet set;
    sceneLight(set);
    sceneGarden(set);
    sceneTitle(set);
    sceneStars(set);
    sceneMagnets(set);
    sceneChrome(set);
    sceneSpare(set);
    sceneFountain(set);
    sceneVortex(set);
    sceneTunnel(set);
    return set;
}

}  // namespace content
