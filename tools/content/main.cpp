// Content generator: writes the complete data folder of the show (texture
// list and pictures, scene scripts and meshes, the soundtrack) below the
// given output directory. The output depends on nothing but this program, so
// every run writes the same bytes. With --icons it draws the program's icon
// instead, in an icon theme's layout.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "content/icon.h"
#include "content/music.h"
#include "content/scenes.h"
#include "content/textures.h"
#include "writers/tds_writer.h"

namespace fs = std::filesystem;

namespace {

bool writeFile(const fs::path& path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        std::fprintf(stderr, "content: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

tds::TdsObject toTds(const std::string& name, const content::Mesh& mesh) {
    tds::TdsObject o;
    o.name = name.substr(0, name.find('.'));
    for (const auto& p : mesh.positions) o.vertices.push_back({p.x, p.y, p.z});
    o.faces = mesh.faces;
    o.uv = mesh.uv;
    return o;
}

// Pictures, texture list, meshes and scripts.
bool writeVisuals(const fs::path& root, bool verbose) {
    const auto textures = content::buildTextures();
    for (const auto& t : textures)
        if (!writeFile(root / "textures" / t.fileName, t.bytes.data(), t.bytes.size())) return false;
    const std::string list = content::textureList(textures);
    if (!writeFile(root / "script" / "texture.dat", list.data(), list.size())) return false;

    const content::SceneSet scenes = content::buildScenes();
    for (const auto& [name, mesh] : scenes.meshes) {
        if (mesh.positions.size() > 65535 || mesh.faces.size() > 65535) {
            std::fprintf(stderr, "content: mesh %s is too large for a .3ds file\n", name.c_str());
            return false;
        }
        const tds::Bytes bytes = tds::write3ds({toTds(name, mesh)});
        if (!writeFile(root / "meshes" / name, bytes.data(), bytes.size())) return false;
        if (verbose)
            std::printf("%-18s %6zu vertices %6zu triangles\n", name.c_str(), mesh.positions.size(),
                        mesh.triangleCount());
    }
    for (const auto& script : scenes.scripts)
        if (!writeFile(root / "script" / script.fileName, script.text.data(), script.text.size())) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--icons") == 0) return content::writeIcons(argv[2], argv[3]) ? 0 : 1;
    const char* outDir = nullptr;
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--verbose") == 0)
            verbose = true;
        else
            outDir = argv[i];
    }
    if (!outDir) {
        std::fprintf(stderr, "usage: content [--verbose] OUTPUT_DIR\n"
                             "       content --icons ICON_DIR NAME\n"
                             "Writes OUTPUT_DIR/data with the show's pictures, scripts, meshes and music,\n"
                             "or the icon as ICON_DIR/NxN/apps/NAME.png in several sizes.\n");
        return 2;
    }
    const fs::path root = fs::path(outDir) / "data";
    std::error_code ec;
    for (const char* sub : {"script", "textures", "meshes", "music"}) fs::create_directories(root / sub, ec);

    // The soundtrack takes longest; it is made alongside the rest.
    std::vector<uint8_t> mp3;
    std::thread music([&mp3] { mp3 = content::encodeMp3(content::renderSoundtrack(), 160); });
    const bool visualsWritten = writeVisuals(root, verbose);
    music.join();
    if (!visualsWritten) return 1;
    if (mp3.empty()) {
        std::fprintf(stderr, "content: MP3 encoding failed\n");
        return 1;
    }
    return writeFile(root / "music" / "drabelfinal.mp3", mp3.data(), mp3.size()) ? 0 : 1;
}
