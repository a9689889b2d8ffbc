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
#include <optional>
#include <stdexcept>

namespace content {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

struct Rgb {
    float r, g, b;
};

struct Rgba {
    float r, g, b;
    float a = 1.0f;  // 1
};

// Distance range of the fog, drawn in the scene's clear colour.
struct Fog {
    int start;
    int end;
};

// Ambient, diffuse and specular colours of a light or a material; those left
// out keep what the script set before.
struct Colours {
    std::optional<Rgba> ambient = std::nullopt;   // none: unchanged
    std::optional<Rgba> diffuse = std::nullopt;   // none: unchanged
    std::optional<Rgba> specular = std::nullopt;  // none: unchanged
};

// What the following objects are drawn with.
struct Material {
    std::optional<int> texture = std::nullopt;    // TEXTUREID; none: unchanged
    std::optional<Rgba> ambient = std::nullopt;   // none: unchanged
    std::optional<Rgba> diffuse = std::nullopt;   // none: unchanged
    std::optional<Rgba> specular = std::nullopt;  // none: unchanged
};

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

    // The lines a scene opens with: LIGHTS and CLEAR_COLOR, then with `fog`
    // FOG, FOG_COLOR (the clear colour, opaque), FOG_START and FOG_END.
    void backdrop(bool lights, Rgb clear, std::optional<Fog> fog = std::nullopt) {
        sw("LIGHTS", lights);
        vec("CLEAR_COLOR", {clear.r, clear.g, clear.b, 0.5f});
        if (!fog) return;
        sw("FOG", true);
        vec("FOG_COLOR", {clear.r, clear.g, clear.b, 1});
        integer("FOG_START", fog->start);
        integer("FOG_END", fog->end);
    }
    void camera(V3 position, V3 target) {
        vec("CAMERA_POSITION", {position.x, position.y, position.z, 1});
        vec("CAMERA_TARGET", {target.x, target.y, target.z, 1});
    }
    // LIGHT_* colours, then ADD_OMNI with `place` (x,y,z,w,flare size).
    void omni(const Colours& c, const char* place) {
        colours("LIGHT_", c);
        line(std::string("ADD_OMNI=") + place);
    }
    // TEXTUREID, then the MATERIAL_* colours.
    void material(const Material& m) {
        if (m.texture) integer("TEXTUREID", *m.texture);
        colours("MATERIAL_", {m.ambient, m.diffuse, m.specular});
    }
    // Added light seen from both sides (BLEND on, CULLFACE off), or back to
    // solid, culled objects.
    void translucent(bool on) {
        sw("BLEND", on);
        sw("CULLFACE", !on);
    }

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
    // OBJECT_POSITION, then the object.
    void place(V3 at, const std::string& name, const Mesh& mesh) {
        vec("OBJECT_POSITION", {at.x, at.y, at.z, 1});
        object(name, mesh);
    }
    // SCALEVALUE, OBJECT_POSITION, then the object.
    void placeScaled(float scale, V3 at, const std::string& name, const Mesh& mesh) {
        num("SCALEVALUE", scale);
        place(at, name, mesh);
    }
    // `count` copies evenly round the y axis at `radius` and height y; the
    // first stands `phase` of a step past +z.
    void ring(int count, float radius, float y, const std::string& name, const Mesh& mesh, float phase = 0.0f) {
        for (int i = 0; i < count; ++i) {
            const float a = 2 * kPi * (i + phase) / count;
            place({radius * std::sin(a), y, radius * std::cos(a)}, name, mesh);
        }
    }

    void finish() {
        line("EOF");
        set_.scripts.push_back({fileName_, text_});
    }

private:
    void rgba(const std::string& key, Rgba c) { vec(key.c_str(), {c.r, c.g, c.b, c.a}); }
    void colours(const std::string& prefix, const Colours& c) {
        if (c.ambient) rgba(prefix + "AMBIENT", *c.ambient);
        if (c.diffuse) rgba(prefix + "DIFFUSE", *c.diffuse);
        if (c.specular) rgba(prefix + "SPECULAR", *c.specular);
    }

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
    s.backdrop(true, {0.02f, 0.02f, 0.05f}, Fog{22, 60});
    s.camera({-20, -2, -15}, {0, 0, 0});
    s.omni({.ambient = Rgba{0.3f, 0.27f, 0.25f}, .diffuse = Rgba{1.0f, 0.86f, 0.62f}, .specular = Rgba{1, 1, 0.9f}},
           "12,0,0,1,2.5");
    // Polished floor.
    s.sw("CULLFACE", true);
    s.material({.texture = 28,
                .ambient = Rgba{0.25f, 0.25f, 0.3f},
                .diffuse = Rgba{0.9f, 0.9f, 1.0f},
                .specular = Rgba{0.6f, 0.6f, 0.6f}});
    s.place({0, -6.5f, 0}, "floor60.3ds", terrain(60, 60, 64, 64, [](float, float) { return 0.0f; }, 8));
    // The copper knot at the centre.
    s.material({.texture = 18,
                .ambient = Rgba{0.6f, 0.45f, 0.35f},
                .diffuse = Rgba{1, 0.9f, 0.8f},
                .specular = Rgba{1, 0.9f, 0.7f}});
    // Stood upright, facing the camera's corner.
    Mesh knot = torusKnot(3, 2, 3.6f, 1.5f, 0.85f, 256, 20);
    knot.rotateX(kPi / 2);
    knot.rotateY(std::atan2(-20.0f, -15.0f));
    s.place({0, 0.8f, 0}, "knot32.3ds", knot);
    // Obelisks inside the light's circle, lit from every side in turn. This
    // block gives its colours specular first.
    s.integer("TEXTUREID", 0);
    s.vec("MATERIAL_SPECULAR", {0.3f, 0.3f, 0.3f, 1});
    s.vec("MATERIAL_DIFFUSE", {0.9f, 0.85f, 0.8f, 1});
    s.vec("MATERIAL_AMBIENT", {0.2f, 0.2f, 0.2f, 1});
    const Mesh obelisk = lathe({{0, 0}, {1.1f, 0}, {1.1f, 0.6f}, {0.75f, 0.8f}, {0.62f, 8.0f}, {0.0f, 9.2f}}, 4, 1.0f);
    s.ring(6, 8.5f, -6.5f, "obelisk.3ds", obelisk, 0.5f);
    s.finish();
}

// Second section: the camera loops around the centre at height 6 to 8
// (passing right over it) while two directional lights circle.
void sceneGarden(SceneSet& set) {
    ScriptWriter s(set, "scene2.dat");
    s.backdrop(true, {0.45f, 0.62f, 0.85f});
    s.camera({15, 7, 0}, {0, 2, 6});
    s.omni({.ambient = Rgba{0.4f, 0.4f, 0.42f}, .diffuse = Rgba{1.0f, 0.9f, 0.7f}, .specular = Rgba{1, 1, 1}},
           "15,10,0,0,0");
    s.omni({.diffuse = Rgba{0.45f, 0.55f, 0.8f}, .specular = Rgba{0.4f, 0.5f, 0.7f}}, "-12,10,14,0,0");
    // Sky dome, lit by the lights' ambient alone.
    s.sw("CULLFACE", false);
    s.material({.texture = 21, .ambient = Rgba{1, 1, 1}, .diffuse = Rgba{0, 0, 0}});
    Mesh dome = hemisphere(75, 48, 12, 3, 1);
    dome.flipWinding();
    s.place({0, -8, 0}, "skydome.3ds", dome);
    // Ground.
    s.sw("CULLFACE", true);
    s.material({.texture = 8, .ambient = Rgba{0.2f, 0.2f, 0.2f}, .diffuse = Rgba{0.85f, 0.9f, 0.8f}});
    s.place({0, 0, 0}, "meadow.3ds",
            terrain(64, 64, 90, 90, [](float x, float z) { return hills(x, z, 16, 7, 301); }, 10));
    // A ring of marble columns with a copper ring beam, low enough for the
    // camera to pass over.
    s.material({.texture = 4, .diffuse = Rgba{0.95f, 0.92f, 0.88f}, .specular = Rgba{0.5f, 0.5f, 0.5f}});
    s.ring(8, 9, 0, "column_low.3ds", columnMesh(4.6f, 0.35f, 18));
    s.material({.texture = 18, .specular = Rgba{0.9f, 0.8f, 0.6f}});
    s.place({0, 4.75f, 0}, "ringbeam.3ds", torus(9, 0.3f, 96, 10, 24, 1));
    // Pedestal and mirror ball at the centre.
    s.material({.texture = 4, .specular = Rgba{0.2f, 0.2f, 0.2f}});
    s.place({0, 0, 0}, "pedestal.3ds",
            lathe({{0, 0}, {1.6f, 0}, {1.6f, 0.3f}, {1.0f, 0.5f}, {0.8f, 1.6f}, {1.2f, 1.8f}, {0, 1.8f}}, 32));
    s.material({.texture = 6});
    s.shading("ENVMAPPING");
    s.place({0, 3.1f, 0}, "ball13.3ds", sphere(1.3f, 40, 24));
    // Rocks out of the camera's way (specular given before diffuse here).
    s.shading("TEXTUREMAPPING");
    s.material({.texture = 7, .specular = Rgba{0, 0, 0}});
    s.material({.diffuse = Rgba{0.85f, 0.8f, 0.75f}});
    const Mesh rockA = rock(1.0f, 0.35f, 24, 14, 401);
    const Mesh rockB = rock(1.0f, 0.45f, 24, 14, 402);
    const float rocks[][4] = {{19, 0, 6, 2.2f}, {-20, 0, -8, 3.0f}, {6, 0, 22, 2.5f}, {-9, 0, 21, 1.8f},
                              {24, 0, -14, 3.4f}, {-4, 0, -24, 2.8f}, {-25, 0, 12, 2.0f}};
    for (int i = 0; i < 7; ++i) {
        const float x = rocks[i][0], z = rocks[i][2], scale = rocks[i][3];
        s.placeScaled(scale, {x, hills(x, z, 16, 7, 301) + scale * 0.3f, z}, i % 2 ? "rock_b.3ds" : "rock_a.3ds",
                      i % 2 ? rockB : rockA);
    }
    s.num("SCALEVALUE", 1);
    // A stained-glass dome over the centre, blended: it tints what lies behind.
    s.translucent(true);
    s.material({.texture = 22,
                .ambient = Rgba{1, 1, 1, 0.8f},
                .diffuse = Rgba{0.6f, 0.6f, 0.6f, 0.8f},
                .specular = Rgba{0.3f, 0.3f, 0.3f, 0.8f}});
    s.place({0, 0, 0}, "glassdome.3ds", hemisphere(4.4f, 40, 10, 4, 1));
    s.finish();
}

// Title and ending: seen from x = 30, looking at (0, 20, 0), rising from
// y = -7. The two lights sit on the camera's side.
void sceneTitle(SceneSet& set) {
    ScriptWriter s(set, "scene3.dat");
    s.backdrop(true, {0.01f, 0.012f, 0.04f});
    s.camera({30, -7, -10}, {0, 20, 0});
    s.omni({.ambient = Rgba{0.4f, 0.4f, 0.45f}, .diffuse = Rgba{0.9f, 0.9f, 1.0f}, .specular = Rgba{1, 1, 1}},
           "30,10,0,1,0");
    s.omni({.diffuse = Rgba{0.7f, 0.6f, 0.9f}}, "30,30,0,1,0");
    // Rocky ground far below the camera.
    s.sw("CULLFACE", true);
    s.material({.texture = 7, .ambient = Rgba{0.08f, 0.08f, 0.1f}, .diffuse = Rgba{0.7f, 0.68f, 0.72f}});
    s.place({0, -17, 0}, "badlands.3ds", terrain(52, 52, 110, 110, [](float x, float z) {
        return 5.0f * noise3(x * 0.05f, 0.3f, z * 0.05f, 311) + 1.5f * noise3(x * 0.2f, 0.7f, z * 0.2f, 312);
    }, 8));
    // The moon, up and to the left of the view's centre.
    s.material({.texture = 9, .ambient = Rgba{0.06f, 0.06f, 0.08f}, .diffuse = Rgba{1, 1, 1}});
    s.place({0, 26, 9}, "moon.3ds", sphere(9, 64, 40));
    // A glowing ring round the moon: added light, lit by ambient alone.
    s.translucent(true);
    s.material({.texture = 12, .ambient = Rgba{1, 1, 1, 0.7f}, .diffuse = Rgba{0, 0, 0, 0.7f}});
    Mesh ring = annulus(12, 18, 6, 96, 8);
    ring.rotateX(0.45f);
    ring.rotateZ(-0.3f);
    ring.translate({0, 26, 9});
    s.place({0, 0, 0}, "moonring.3ds", ring);
    // Aurora curtains behind the moon.
    s.material({.texture = 29, .ambient = Rgba{1, 1, 1, 0.8f}});
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
    s.backdrop(false, {0.015f, 0.01f, 0.04f}, Fog{15, 190});
    s.camera({0, 2, 2}, {6, 0, 15});
    s.line("ADD_SPOT=-18,10,45,4");
    // The planet; its texture carries the sunlit side.
    s.sw("CULLFACE", true);
    s.material({.texture = 10});
    s.place({10, -6, 72}, "planet.3ds", sphere(18, 64, 40));
    // Its ring, added onto the scene.
    s.translucent(true);
    s.material({.texture = 12, .diffuse = Rgba{1, 1, 1, 0.9f}});
    Mesh ring = annulus(23, 34, 6, 128, 12);
    ring.rotateX(-1.15f);
    ring.rotateZ(0.35f);
    s.object("planetring.3ds", ring);
    // A nebula far behind, at the edge of sight (hidden where the planet is).
    s.material({.texture = 26});
    Mesh veil = parametric(8, 8, [](float u, float v) { return V3{(u - 0.5f) * 150, (v - 0.5f) * 110, 0}; });
    s.place({-20, 15, 97}, "veil.3ds", veil);
    // Asteroids outside the star field, shaded by an environment map.
    s.translucent(false);
    s.shading("ENVMAPPING");
    s.material({.texture = 36, .diffuse = Rgba{1, 1, 1}});
    const Mesh rockA = rock(1.0f, 0.4f, 20, 12, 411);
    const Mesh rockB = rock(1.0f, 0.5f, 20, 12, 412);
    const float rocks[][4] = {{-9, 4, 18, 1.6f},  {8, -5, 24, 2.2f},  {-12, -7, 33, 2.8f}, {14, 6, 38, 2.4f},
                              {-6, 11, 44, 2.0f}, {16, -10, 52, 3.2f}, {-18, 2, 58, 3.6f},  {5, 13, 30, 1.4f},
                              {-15, -14, 26, 2.0f}, {20, 15, 64, 3.0f}, {-7, -12, 48, 1.8f}, {11, 2, 15, 1.0f}};
    for (int i = 0; i < 12; ++i)
        s.placeScaled(rocks[i][3], {rocks[i][0], rocks[i][1], rocks[i][2]}, i % 2 ? "asteroid_b.3ds" : "asteroid_a.3ds",
                      i % 2 ? rockB : rockA);
    s.finish();
}

// Sixth section, underneath: two magnetic objects that the timeline spins
// about z and two magnets roaming around z = 6 to 9. Seen from +z.
void sceneMagnets(SceneSet& set) {
    ScriptWriter s(set, "scene5.dat");
    s.backdrop(false, {0.03f, 0.01f, 0.06f});
    s.camera({0, -6, 42}, {0, 0, 3});
    s.line("ADDMAGNET=0,15,6,10");
    s.line("ADDMAGNET=-12,-8,9,20");
    s.sw("MAGNETIC", true);
    s.sw("CULLFACE", true);
    // Object 0: a dense mirror sphere.
    s.shading("ENVMAPPING");
    s.material({.texture = 16});
    s.object("magnetball.3ds", sphere(7, 80, 56));
    // Object 1: a gridded ring round it.
    s.shading("TEXTUREMAPPING");
    s.material({.texture = 20});
    Mesh ring = torus(14, 2.5f, 112, 28, 12, 1);
    ring.rotateX(kPi / 2);
    s.object("magnetring.3ds", ring);
    // A gridded backdrop, bent a little by the magnets as well.
    Mesh back = parametric(48, 48, [](float u, float v) { return V3{(u - 0.5f) * 80, (v - 0.5f) * 60, 0}; }, 6, 4.5f);
    s.place({0, 0, -8}, "magnetback.3ds", back);
    s.finish();
}

// Fifth section: the camera circles at radius 7, height 9, over chrome
// objects standing in the sand.
void sceneChrome(SceneSet& set) {
    ScriptWriter s(set, "scene6.dat");
    s.backdrop(true, {0.24f, 0.17f, 0.3f}, Fog{14, 48});
    s.camera({7, 9, 0}, {5, 3, 0});
    s.omni({.ambient = Rgba{0.25f, 0.2f, 0.25f}, .diffuse = Rgba{1.0f, 0.8f, 0.65f}, .specular = Rgba{1, 0.9f, 0.8f}},
           "10,16,6,1,0");
    s.sw("CULLFACE", true);
    s.material({.texture = 27, .diffuse = Rgba{1, 0.92f, 0.85f}});
    s.place({0, -2, 0}, "dunes.3ds", terrain(56, 56, 90, 90, [](float x, float z) {
        const float r = std::sqrt(x * x + z * z);
        return 1.2f * std::sin(x * 0.25f + std::sin(z * 0.1f) * 2) * std::clamp((r - 5) / 8, 0.0f, 1.0f) +
               2.5f * noise3(x * 0.04f, 2.0f, z * 0.04f, 321);
    }, 10));
    // A chrome knot, then spheres that keep its environment mapping.
    s.shading("ENVMAPPING");
    s.material({.texture = 16});
    s.placeScaled(1.1f, {0, 1.6f, 0}, "knot23.3ds", torusKnot(2, 3, 2.2f, 0.9f, 0.55f, 192, 16));
    s.num("SCALEVALUE", 1);
    s.shading("FLARE");
    const Mesh ball = sphere(1, 32, 20);
    const float balls[][4] = {{15, -0.5f, 4, 2.0f}, {-12, -0.6f, 11, 1.6f}, {-5, -0.4f, -16, 2.4f}, {10, -0.7f, -13, 1.4f},
                              {-16, -0.5f, -3, 1.8f}};
    for (int i = 0; i < 5; ++i)
        s.placeScaled(balls[i][3], {balls[i][0], balls[i][1] + balls[i][3], balls[i][2]}, "ball.3ds", ball);
    s.num("SCALEVALUE", 1);
    // A steel ring lying round the knot.
    s.shading("ENVMAPPING");
    s.material({.texture = 6});
    s.place({0, -1.2f, 0}, "basering.3ds", torus(5.5f, 0.45f, 96, 12));
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
    s.camera({0, 0, 10}, {0, 0, 0});
    s.material({.texture = 0});
    s.object("pebble.3ds", rock(1.0f, 0.3f, 10, 6, 7));
    s.finish();
}

// Seventh section: a fountain in a colonnade. Exactly 19 objects: the timeline
// hides object 17 and re-textures the others (0 and 18 with 13, odd columns
// with 15, even ones with 14). The particles rise from (0, -1.5, 0).
void sceneFountain(SceneSet& set) {
    ScriptWriter s(set, "scene8.dat");
    s.backdrop(true, {0.03f, 0.04f, 0.1f}, Fog{16, 42});
    s.camera({0, 2, 10}, {0, 0, 0});
    s.omni({.ambient = Rgba{0.3f, 0.3f, 0.35f}, .diffuse = Rgba{1.0f, 0.92f, 0.8f}, .specular = Rgba{1, 1, 1}},
           "0,7,0,1,1.2");
    s.sw("CULLFACE", true);
    s.material({.specular = Rgba{0.4f, 0.4f, 0.4f}});
    // 0: the basin with its spout.
    s.material({.texture = 13});
    s.object("basin.3ds", lathe({{0.0f, -2.5f}, {3.4f, -2.5f}, {3.5f, -1.9f}, {3.55f, -1.35f}, {3.35f, -1.1f},
                                 {3.0f, -1.15f}, {2.9f, -1.7f}, {2.5f, -1.95f}, {0.9f, -2.0f}, {0.55f, -1.9f},
                                 {0.42f, -1.7f}, {0.32f, -1.55f}, {0.0f, -1.5f}},
                                64, 3.0f));
    // 1 to 16: the colonnade at radius 12, behind the camera's circles.
    s.material({.texture = 14});
    s.ring(16, 12, -2.5f, "column.3ds", columnMesh(6.5f, 0.42f, 24));
    // 17: the architrave ring (hidden during the show).
    s.material({.texture = 15});
    s.place({0, 4.3f, 0}, "architrave.3ds", torus(12, 0.5f, 64, 8, 16, 1));
    // 18: the paved floor.
    s.material({.texture = 13});
    Mesh floorDisc = disc(0.0f, 22.0f, 24, 64);
    for (auto& t : floorDisc.uv) t = {t[0] * 8, t[1] * 8};
    floorDisc.rotateX(-kPi / 2);
    s.place({0, -2.5f, 0}, "pavement.3ds", floorDisc);
    s.finish();
}

// Sixth section, on top: object 0 carries the vortex; the timeline swings it
// on a circle of radius 10 and feeds twist into its innermost ring. Added
// onto the magnet scene underneath.
void sceneVortex(SceneSet& set) {
    ScriptWriter s(set, "scene10.dat");
    s.backdrop(false, {0.03f, 0.01f, 0.06f});
    s.camera({0, -6, 42}, {0, 0, 3});
    s.sw("VORTEX", true);
    s.sw("BLEND", true);
    s.sw("DEPTHTEST", false);
    s.sw("CULLFACE", false);
    s.material({.texture = 17, .diffuse = Rgba{1, 1, 1}});
    s.object("vortexdisc.3ds", disc(0.0f, 7.0f, 28, 96));
    s.finish();
}

// Third section: a flight along +z from z = 0 to 135, swaying up to 6 units
// off axis, through a fogged tunnel 260 long with glowing ribs.
void sceneTunnel(SceneSet& set) {
    ScriptWriter s(set, "scene11.dat");
    s.backdrop(false, {0, 0, 0}, Fog{8, 85});
    s.camera({0, 0, 0}, {0, 0, 200});
    // Wound to face outwards: flip the normals and cull the outer faces.
    s.sw("FLIPNORMALS", true);
    s.sw("CULLFACE", true);
    s.sw("CULLBACK", false);
    s.material({.texture = 11});
    s.object("tunnel.3ds", tube(48, 130, -15, 250, [](float a, float z) {
        return 12.5f + 0.8f * std::sin(z * 0.05f + std::cos(a * 3)) + 0.6f * noise3(std::cos(a) * 2, std::sin(a) * 2, z * 0.1f, 331);
    }, 6, 65));
    // Glowing ribs every 20 units, added onto the walls.
    s.sw("CULLFACE", false);
    s.sw("BLEND", true);
    s.material({.texture = 12});
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
