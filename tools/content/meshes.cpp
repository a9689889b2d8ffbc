// Procedural mesh generators. Every surface is a grid over two parameters;
// triangles with (almost) no area are left out, so poles and closed profiles
// do not produce degenerate faces.
#include "content/meshes.h"

#include <cmath>
#include <numbers>

#include "content/rng.h"

namespace content {

namespace {
constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kTwoPi = 2.0f * kPi;
}  // namespace

V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 normalized(V3 a) {
    const float l = std::sqrt(dot(a, a));
    return l > 0 ? a * (1.0f / l) : V3{};
}

void Mesh::append(const Mesh& other) {
    const auto base = static_cast<uint16_t>(positions.size());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    uv.insert(uv.end(), other.uv.begin(), other.uv.end());
    for (const auto& f : other.faces)
        faces.push_back({static_cast<uint16_t>(f[0] + base), static_cast<uint16_t>(f[1] + base),
                         static_cast<uint16_t>(f[2] + base)});
}

void Mesh::translate(V3 offset) {
    for (V3& p : positions) p = p + offset;
}

void Mesh::flipWinding() {
    for (auto& f : faces) std::swap(f[1], f[2]);
}

void Mesh::rotateX(float a) {
    const float c = std::cos(a), s = std::sin(a);
    for (V3& p : positions) p = {p.x, p.y * c - p.z * s, p.y * s + p.z * c};
}

void Mesh::rotateY(float a) {
    const float c = std::cos(a), s = std::sin(a);
    for (V3& p : positions) p = {p.x * c + p.z * s, p.y, -p.x * s + p.z * c};
}

void Mesh::rotateZ(float a) {
    const float c = std::cos(a), s = std::sin(a);
    for (V3& p : positions) p = {p.x * c - p.y * s, p.x * s + p.y * c, p.z};
}

Mesh parametric(int cols, int rows, const std::function<V3(float, float)>& point, float uRepeat,
                float vRepeat) {
    Mesh m;
    for (int j = 0; j <= rows; ++j) {
        for (int i = 0; i <= cols; ++i) {
            const float s = static_cast<float>(i) / cols;
            const float t = static_cast<float>(j) / rows;
            m.positions.push_back(point(s, t));
            m.uv.push_back({s * uRepeat, t * vRepeat});
        }
    }
    const auto idx = [cols](int i, int j) { return static_cast<uint16_t>(j * (cols + 1) + i); };
    float extent = 0;
    for (const V3& p : m.positions) extent = std::max(extent, std::sqrt(dot(p, p)));
    const float minArea = 1e-7f * (extent * extent + 1e-6f);
    const auto addTri = [&](uint16_t a, uint16_t b, uint16_t c) {
        const V3 n = cross(m.positions[b] - m.positions[a], m.positions[c] - m.positions[a]);
        if (std::sqrt(dot(n, n)) > minArea) m.faces.push_back({a, b, c});
    };
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < cols; ++i) {
            addTri(idx(i, j), idx(i + 1, j), idx(i + 1, j + 1));
            addTri(idx(i, j), idx(i + 1, j + 1), idx(i, j + 1));
        }
    }
    return m;
}

Mesh sphere(float radius, int slices, int stacks, float uRepeat, float vRepeat) {
    return parametric(
        slices, stacks,
        [radius](float s, float t) {
            const float phi = kTwoPi * s;
            const float theta = kPi * (t - 0.5f);
            return V3{radius * std::cos(theta) * std::sin(phi), radius * std::sin(theta),
                      radius * std::cos(theta) * std::cos(phi)};
        },
        uRepeat, vRepeat);
}

Mesh torus(float major, float minor, int segments, int sides, float uRepeat, float vRepeat) {
    return parametric(
        segments, sides,
        [major, minor](float s, float t) {
            const float phi = kTwoPi * s;
            const float psi = kTwoPi * t;
            const float r = major + minor * std::cos(psi);
            return V3{r * std::sin(phi), minor * std::sin(psi), r * std::cos(phi)};
        },
        uRepeat, vRepeat);
}

Mesh torusKnot(int p, int q, float major, float minor, float tubeRadius, int segments, int sides) {
    const auto curve = [=](float phi) {
        const float r = major + minor * std::cos(q * phi);
        return V3{r * std::cos(p * phi), minor * std::sin(q * phi), r * std::sin(p * phi)};
    };
    // Parallel-transport frame round the closed curve, with the leftover
    // twist spread evenly so the tube closes without a seam.
    std::vector<V3> centre(static_cast<size_t>(segments) + 1), tangent(centre.size()), normal(centre.size());
    for (int i = 0; i <= segments; ++i) {
        const float phi = kTwoPi * i / segments;
        centre[static_cast<size_t>(i)] = curve(phi);
        tangent[static_cast<size_t>(i)] = normalized(curve(phi + 1e-3f) - curve(phi - 1e-3f));
    }
    V3 n = normalized(cross(tangent[0], V3{0, 1, 0}));
    if (dot(n, n) < 0.5f) n = normalized(cross(tangent[0], V3{1, 0, 0}));
    normal[0] = n;
    for (size_t i = 1; i < centre.size(); ++i) {
        const V3& t = tangent[i];
        n = normalized(n - t * dot(n, t));
        normal[i] = n;
    }
    const V3 b0 = cross(normal[0], tangent[0]);
    const float twist = std::atan2(dot(normal[centre.size() - 1], b0), dot(normal[centre.size() - 1], normal[0]));
    return parametric(
        segments, sides,
        [&](float s, float t) {
            const size_t i = static_cast<size_t>(std::lround(s * segments));
            const float psi = kTwoPi * t - twist * s;
            const V3 nn = normal[i];
            const V3 bb = cross(nn, tangent[i]);
            return centre[i] + (nn * std::cos(psi) + bb * std::sin(psi)) * tubeRadius;
        },
        8.0f, 1.0f);
}

Mesh terrain(int cols, int rows, float sx, float sz, const std::function<float(float, float)>& height,
             float uvRepeat) {
    return parametric(
        cols, rows,
        [&](float s, float t) {
            const float x = (s - 0.5f) * sx;
            const float z = (0.5f - t) * sz;
            return V3{x, height(x, z), z};
        },
        uvRepeat, uvRepeat);
}

Mesh tube(int sides, int rings, float z0, float z1, const std::function<float(float, float)>& radius,
          float uRepeat, float vRepeat) {
    return parametric(
        sides, rings,
        [&](float s, float t) {
            const float a = kTwoPi * s;
            const float z = z0 + (z1 - z0) * t;
            const float r = radius(s < 1.0f ? a : 0.0f, z);
            return V3{r * std::cos(a), r * std::sin(a), z};
        },
        uRepeat, vRepeat);
}

Mesh lathe(const std::vector<std::array<float, 2>>& profile, int sides, float uRepeat) {
    const int rows = static_cast<int>(profile.size()) - 1;
    // Texture v follows the length along the profile.
    std::vector<float> along(profile.size(), 0.0f);
    for (size_t k = 1; k < profile.size(); ++k)
        along[k] = along[k - 1] + std::hypot(profile[k][0] - profile[k - 1][0], profile[k][1] - profile[k - 1][1]);
    const float total = along.back() > 0 ? along.back() : 1.0f;
    Mesh m = parametric(sides, rows, [&](float s, float t) {
        const auto k = static_cast<size_t>(std::lround(t * rows));
        const float phi = kTwoPi * s;
        return V3{profile[k][0] * std::sin(phi), profile[k][1], profile[k][0] * std::cos(phi)};
    });
    for (size_t n = 0; n < m.uv.size(); ++n) {
        const size_t k = n / static_cast<size_t>(sides + 1);
        m.uv[n][0] *= uRepeat;
        m.uv[n][1] = along[k] / total * (total / 4.0f);
    }
    return m;
}

Mesh disc(float r0, float r1, int rings, int sectors) {
    Mesh m = parametric(rings, sectors, [=](float s, float t) {
        const float r = r0 + (r1 - r0) * s;
        const float a = kTwoPi * t;
        return V3{r * std::cos(a), r * std::sin(a), 0.0f};
    });
    for (size_t n = 0; n < m.uv.size(); ++n)
        m.uv[n] = {0.5f + m.positions[n].x / (2 * r1), 0.5f + m.positions[n].y / (2 * r1)};
    return m;
}

namespace {

float hashLattice(int x, int y, int z, uint32_t seed) {
    return latticeHash(static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^
                       static_cast<uint32_t>(z) * 0xCB1AB31Fu ^ seed * 0x165667B1u);
}

float fade(float t) { return t * t * (3 - 2 * t); }

}  // namespace

float noise3(float x, float y, float z, uint32_t seed) {
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y)),
              z0 = static_cast<int>(std::floor(z));
    const float fx = fade(x - x0), fy = fade(y - y0), fz = fade(z - z0);
    float acc[2];
    for (int dz = 0; dz < 2; ++dz) {
        const float a = hashLattice(x0, y0, z0 + dz, seed), b = hashLattice(x0 + 1, y0, z0 + dz, seed);
        const float c = hashLattice(x0, y0 + 1, z0 + dz, seed), d = hashLattice(x0 + 1, y0 + 1, z0 + dz, seed);
        const float ab = a + (b - a) * fx, cd = c + (d - c) * fx;
        acc[dz] = ab + (cd - ab) * fy;
    }
    return acc[0] + (acc[1] - acc[0]) * fz;
}

Mesh rock(float radius, float roughness, int slices, int stacks, uint32_t seed) {
    Mesh m = sphere(radius, slices, stacks, 2.0f, 1.0f);
    for (V3& p : m.positions) {
        const V3 d = normalized(p);
        float n = 0, amp = 1, freq = 1.3f, norm = 0;
        for (int o = 0; o < 4; ++o) {
            n += amp * noise3(d.x * freq + 11, d.y * freq + 7, d.z * freq + 3, seed + static_cast<uint32_t>(o));
            norm += amp;
            amp *= 0.5f;
            freq *= 2.1f;
        }
        p = d * (radius * (1.0f + roughness * (2.0f * n / norm - 1.0f)));
    }
    return m;
}

}  // namespace content
