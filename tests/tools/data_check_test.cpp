// The data check against the generated show folder: clean as generated,
// every planted fault reported in the same pass, and each mistake an author
// makes found once, with the line it comes from and its hint.
#include "shell/data_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "tools/temp_show_folder.h"
#include "writers/bmp_writer.h"
#include "writers/tds_writer.h"

namespace fs = std::filesystem;

namespace {

size_t countMentions(const std::vector<std::string>& lines, const std::string& needle) {
    return static_cast<size_t>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return l.find(needle) != std::string::npos; }));
}

// `line N "text"` for the first line of a data file that is exactly `text`.
std::string lineOf(const TempShowFolder& folder, const std::string& file, const std::string& text) {
    std::istringstream in(folder.read(file));
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == text) return "line " + std::to_string(n) + " \"" + text + "\"";
    }
    ADD_FAILURE() << file << " has no line " << text;
    return {};
}

// A flat grid of side x side quads (2 side^2 triangles) as one object.
tds::TdsObject grid(int side, const std::string& name = "grid") {
    tds::TdsObject o;
    o.name = name;
    for (int y = 0; y <= side; ++y)
        for (int x = 0; x <= side; ++x) o.vertices.push_back({float(x), 0.0f, float(y)});
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const auto i = static_cast<uint16_t>(y * (side + 1) + x), j = static_cast<uint16_t>(i + side + 1);
            o.faces.push_back({i, j, static_cast<uint16_t>(i + 1)});
            o.faces.push_back({static_cast<uint16_t>(i + 1), j, static_cast<uint16_t>(j + 1)});
        }
    return o;
}

size_t listLength(const TempShowFolder& folder) {
    std::istringstream list(folder.read("data/script/texture.dat"));
    return readTextureList(list).size();
}

void writeMesh(const TempShowFolder& folder, const std::string& file, const std::vector<tds::TdsObject>& objects) {
    ASSERT_TRUE(tds::write3dsFile((folder.root / file).string(), objects));
}

TEST(DataCheck, GeneratedFolderIsClean) {
    TempShowFolder folder;
    std::ostringstream out;
    EXPECT_EQ(runDataCheck(out), 0) << out.str();
    // Each scene with its counts, then each mesh file with its objects.
    for (const char* piece : {"data\\script\\scene8.dat: 19 objects, ", "  data\\meshes\\column.3ds: 1 object, ",
                              " vertices (on 16 lines)\n", "data\\music\\drabelfinal.mp3: MP3, 231.0 s, 44100 Hz\n",
                              "\ndata folder OK\n"})
        EXPECT_NE(out.str().find(piece), std::string::npos) << piece;
}

// Each planted mistake gives findings that hold all of `problems` (each in
// exactly one finding) and `warnings`, nothing that holds `absent`, and a
// summary that holds each of `summary` once.
using Texts = std::vector<std::string>;

struct Mistake {
    const char* name;
    std::function<void(const TempShowFolder&)> plant;
    std::function<Texts(const TempShowFolder&)> problems;
    std::vector<std::string> warnings = {};
    std::vector<std::string> absent = {};
    std::vector<std::string> summary = {};
    std::vector<std::string> notes = {};
};

constexpr const char* kSoundtrack = "data/music/drabelfinal.mp3";

// A 32-bit picture for texture 7 whose fourth bytes are alpha, half of them 0.
void transparentPicture(const TempShowFolder& f) {
    bmpw::BmpOptions o;
    o.bitsPerPixel = 32;
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 16; ++i) pixels.insert(pixels.end(), {200, 200, 200, static_cast<uint8_t>(i < 8 ? 0 : 255)});
    o.overrides.pixelData = pixels;
    ASSERT_TRUE(bmpw::saveFile(f.resolve(f.textureListEntry(7)).string(),
                               bmpw::writeBmp(bmpw::RgbPicture{4, 4, std::vector<uint8_t>(48)}, o)));
}

constexpr const char* kScene8 = "data/script/scene8.dat";
constexpr const char* kScene6 = "data/script/scene6.dat";

std::vector<Mistake> mistakes() {
    return {
        {"several faults, all reported in one pass; the script with the missing mesh read to its end",
         [](auto& f) {
             fs::remove(f.resolve(f.textureListEntry(7)));
             f.appendLineBeforeEof(kScene6, "FOG = ON");
             fs::remove(f.resolve(f.firstMeshOf("data/script/scene2.dat")));
             fs::remove(f.root / "data/music/drabelfinal.mp3");
         },
         [](auto& f) {
             return Texts{"Unable to open " + f.textureListEntry(7), "no valid attrib found on line",
                          lineOf(f, kScene6, "FOG = ON") + ": no spaces around \"=\"",
                          "soundtrack is missing",
                          "mesh file " + f.firstMeshOf("data/script/scene2.dat") + " cannot be opened"};
         },
         {},
         {"scene8.dat: the show needs"},
         {"data\\script\\scene2.dat: 20 objects"}},
        {"no texture list, no objects where the timeline needs some",
         [](auto& f) {
             fs::remove(f.root / "data/script/texture.dat");
             f.write("data/script/scene5.dat", "EOF\n");
         },
         [](auto&) {
             return Texts{"Unable to open texture.dat", "scene5.dat: the show needs 2 objects, the script has 0",
                          "scene5.dat: the show needs 2 magnets, the script has 0",
                          "the timeline uses textures 1, 3, 5, 13, 14, 15, 19, 23, 24, 25, 30, 31, "
                          "32, 33, 34 and 35 but the list holds 0"};
         }},
        {"mesh file with several objects",
         [](auto& f) {
             writeMesh(f, "data/meshes/basin.3ds", {grid(2, "a"), grid(3, "b"), grid(2, "c")});
         },
         [](auto& f) {
             return Texts{
                 "scene8.dat: " + lineOf(f, kScene8, "FILENAME=data\\meshes\\basin.3ds") +
                 ": the file holds 3 objects (objects 0 to 2 of the scene). Each FILENAME line stamps its "
                 "settings on one object (the n-th line on object n), so from here on settings reach: line 16 -> "
                 "object 0 (from basin.3ds), line 19 -> object 1 (from basin.3ds, line 16), line 21 -> object 2 "
                 "(from basin.3ds, line 16) and 16 more; objects 19 to 20 get no line's settings. Exporters write "
                 "one object per material or part"};
         }},
        {"mesh file an exporter split at 65,535 vertices",
         [](auto& f) {
             tds::TdsObject full = grid(1);
             full.vertices.resize(65535, {0.0f, 0.0f, 0.0f});
             writeMesh(f, "data/meshes/ribs.3ds", {full, grid(1)});
         },
         [](auto& f) {
             return Texts{lineOf(f, "data/script/scene11.dat", "FILENAME=data\\meshes\\ribs.3ds") +
                              ": the file holds 2 objects (objects 1 to 2 of the scene)",
                          "so the exporter split it"};
         }},
        {"empty mesh file named on 16 lines",
         [](auto& f) { writeMesh(f, "data/meshes/column.3ds", {}); },
         [](auto& f) {
             return Texts{lineOf(f, kScene8, "FILENAME=data\\meshes\\column.3ds") +
                              ": the file holds no object and is named on 16 lines.",
                          "scene8.dat: the show needs 19 objects, the script has 3"};
         },
         {},
         {"line 21 \"FILENAME=data\\meshes\\column.3ds\": the file"}},
        {"missing mesh file named on 16 lines", [](auto& f) { fs::remove(f.root / "data/meshes/column.3ds"); },
         [](auto& f) {
             return Texts{lineOf(f, kScene8, "FILENAME=data\\meshes\\column.3ds") +
                          ": mesh file data\\meshes\\column.3ds cannot be opened (named on 16 "
                          "lines); the show stops here"};
         }},
        {"a picture's name in place of a mesh",
         [](auto& f) { f.edit(kScene8, "FILENAME=data\\meshes\\pavement.3ds", "FILENAME=data\\textures\\glow.bmp"); },
         [](auto&) {
             return Texts{
                 "glow.bmp is not a .3ds file (export one with: assimp export in.obj "
                 "out.3ds -ptv)"};
         }},
        {"vortex scene without VORTEX=ON", [](auto& f) { f.edit("data/script/scene10.dat", "VORTEX=ON\n", ""); },
         [](auto& f) {
             return Texts{"scene10.dat: the show turns object 0 with its vortex, but object 0 (" +
                          lineOf(f, "data/script/scene10.dat", "FILENAME=data\\meshes\\vortexdisc.3ds") +
                          ") has VORTEX off: put VORTEX=ON before its FILENAME line"};
         }},
        {"magnet scene without MAGNETIC=ON",
         [](auto& f) { f.edit("data/script/scene5.dat", "MAGNETIC=ON", "MAGNETIC=OFF"); },
         [](auto& f) {
             return Texts{
                 "scene5.dat: the show's magnets move only objects with MAGNETIC=ON, and "
                 "none of its objects has it (" +
                 lineOf(f, "data/script/scene5.dat", "MAGNETIC=OFF") + ")"};
         }},
        {"star field scene with fog off", [](auto& f) { f.edit("data/script/scene4.dat", "FOG=ON", "FOG=OFF"); },
         [](auto& f) {
             return Texts{
                 "scene4.dat: the show draws its star field through this scene's fog, but "
                 "fog is off (" +
                 lineOf(f, "data/script/scene4.dat", "FOG=OFF") + "): add FOG=ON"};
         }},
        {"a section above the triangle budget",
         [](auto& f) { writeMesh(f, "data/meshes/ribs.3ds", {grid(180)}); },  // 64 800 + the tunnel
         [](auto&) { return Texts{}; },
         {"section 3 (flight) draws data\\script\\scene11.dat: 77280 triangles, above the 60000 that keep software "
          "GL at 60 frames per second"}},
        {"texture list without its last newline",
         [](auto& f) {  // lines 0 to 35 kept, the last one without its newline
             std::string list = f.read("data/script/texture.dat");
             size_t end = 0;
             for (int line = 0; line < 36; ++line) end = list.find('\n', end) + 1;
             list.erase(list.find_last_not_of("\r\n", end - 1) + 1);
             f.write("data/script/texture.dat", list);
         },
         [](auto& f) {
             const std::string list = f.read("data/script/texture.dat");
             return Texts{"the timeline uses texture 35 but the list holds 35 (the list's last line \"" +
                          list.substr(list.rfind('\n') + 1) +
                          "\" has no newline, and a line without "
                          "one is not read: end the file with a newline)"};
         },
         {"texture.dat: the last line"}},
        {"blank line in the texture list",
         [](auto& f) { std::ofstream(f.root / "data/script/texture.dat", std::ios::binary | std::ios::app) << "\r\n"; },
         [](auto& f) {
             const size_t blank = listLength(f) - 1;
             return Texts{"texture " + std::to_string(blank) + " (): Unable to open  (line " +
                          std::to_string(blank + 1) +
                          " of the list is blank: every line is a picture, so remove blank lines)"};
         }},
        {"bitmap with a header this reader does not know",
         [](auto& f) {
             bmpw::BmpOptions o;
             o.overrides.headerSize = 64;
             o.overrides.extraHeaderBytes = 24;
             ASSERT_TRUE(bmpw::saveFile(f.resolve(f.textureListEntry(7)).string(),
                                        bmpw::writeBmp(bmpw::RgbPicture{4, 1, std::vector<uint8_t>(12, 9)}, o)));
         },
         [](auto& f) {
             return Texts{"texture 7 (" + f.textureListEntry(7) +
                          "): Unknown DIB file format. (its header is 64 bytes; headers of 12, 40, "
                          "56, 108 and 124 bytes are read. Re-save it as a plain 24-bit bitmap, "
                          "e.g. convert in.png BMP3:out.bmp)"};
         }},
        {"TEXTUREID beyond the list", [](auto& f) { f.edit(kScene8, "TEXTUREID=15", "TEXTUREID=77"); },
         [](auto& f) {
             return Texts{"scene8.dat: " + lineOf(f, kScene8, "TEXTUREID=77") +
                          " gives object 17 texture 77 but the list holds " + std::to_string(listLength(f))};
         }},
        {"a soundtrack of 10 seconds",
         [](auto& f) {
             const std::string mp3 = f.read(kSoundtrack);
             f.write(kSoundtrack, mp3.substr(0, mp3.size() * 10 / 231));
         },
         [](auto&) { return Texts{}; },
         {"s long, shorter than the show's 231.0 s: the show and its captures go silent after "}},
        {"a PNG under a .bmp name",
         [](auto& f) { f.write(f.textureListEntry(7), "\x89PNG\r\n\x1a\n and the rest of a PNG"); },
         [](auto& f) {
             std::string path = f.textureListEntry(7);
             std::replace(path.begin(), path.end(), '\\', '/');
             return Texts{"texture 7 (" + f.textureListEntry(7) + "): Unknown DIB file format. (it is a PNG file named "
                          ".bmp, and the show reads BMP only: convert it with convert " + path + " BMP3:" + path + ")"};
         }},
        {"a bitmap whose alpha is transparent", transparentPicture, [](auto&) { return Texts{}; },
         {"8 of its 16 pixels are transparent or partly so, but the show ignores alpha"}},
        {"a picture above 2048 x 2048",
         [](auto& f) {
             ASSERT_TRUE(bmpw::saveFile(f.resolve(f.textureListEntry(7)).string(),
                                        bmpw::writeBmp(bmpw::RgbPicture{2100, 2100, std::vector<uint8_t>(2100 * 2100 * 3)},
                                                       bmpw::BmpOptions{})));
         },
         [](auto&) { return Texts{}; }, {}, {}, {},
         {"2100x2100 takes about 22 MiB as a texture with its mipmaps; 2048x2048 is plenty"}},
        {"lines after EOF",
         [](auto& f) { f.write(kScene6, f.read(kScene6) + "\nFOG=ON\nCLEAR_COLOR=1,0,0,1\n"); },
         [](auto&) { return Texts{}; },
         {"\"FOG=ON\" and 1 more lines after the EOF line (line "}},
        {"lower-case keyword", [](auto& f) { f.appendLineBeforeEof(kScene6, "fog=ON"); },
         [](auto& f) { return Texts{lineOf(f, kScene6, "fog=ON") + ": keywords are upper case: FOG"}; }},
        {"blank script line", [](auto& f) { f.appendLineBeforeEof(kScene6, ""); },
         [](auto&) { return Texts{"\"\": a blank line stops the script: remove it"}; }},
        {"script without EOF", [](auto& f) { f.edit(kScene6, "EOF", ""); },
         [](auto&) { return Texts{"the file ends without an EOF line"}; }},
        {"unknown shading word", [](auto& f) { f.appendLineBeforeEof(kScene6, "SHADING=SHINY"); },
         [](auto& f) {
             return Texts{lineOf(f, kScene6, "SHADING=SHINY") + ": SHADING takes TEXTUREMAPPING, ENVMAPPING or FLARE"};
         }},
    };
}

// Soundtracks the show cannot play, each named for what it is.
TEST(DataCheck, SoundtrackThatIsNoMp3IsNamed) {
    const std::pair<std::string, std::string> files[] = {
        {std::string("OggS\0\x02", 6) + std::string(4000, '\x11'), "is an Ogg file, not an MP3"},
        {std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(4000, '\0'), "is a WAV file, not an MP3"},
        {"this is not music\n", "is a text file, not an MP3"},
        {std::string(4000, '\xFF'), "holds no MP3 frames: it is damaged, or no sound file"},
    };
    for (const auto& [bytes, finding] : files) {
        TempShowFolder folder;
        folder.write(kSoundtrack, bytes);
        const DataCheckReport report = checkDataFolder();
        EXPECT_EQ(countMentions(report.problems, finding), 1u) << finding;
        EXPECT_EQ(countMentions(report.problems, "the show plays MP3 only and stops on \"Can't play stream\""), 1u);
    }
}

TEST(DataCheck, AuthorsMistakesAreFoundOnceWithTheirLineAndHint) {
    for (const Mistake& m : mistakes()) {
        SCOPED_TRACE(m.name);
        TempShowFolder folder;
        m.plant(folder);
        const DataCheckReport report = checkDataFolder();
        std::string all;
        for (const auto& l : report.problems) all += "problem: " + l + "\n";
        for (const auto& l : report.warnings) all += "warning: " + l + "\n";
        for (const std::string& p : m.problems(folder))
            EXPECT_EQ(countMentions(report.problems, p), 1u) << p << "\n" << all;
        for (const std::string& w : m.warnings) EXPECT_EQ(countMentions(report.warnings, w), 1u) << w << "\n" << all;
        for (const std::string& a : m.absent) EXPECT_EQ(countMentions(report.problems, a), 0u) << a << "\n" << all;
        for (const std::string& l : m.summary) EXPECT_EQ(countMentions(report.summary, l), 1u) << l;
        for (const std::string& n : m.notes) EXPECT_EQ(countMentions(report.notes, n), 1u) << n;
        std::ostringstream out;
        EXPECT_EQ(runDataCheck(out), report.problems.empty() ? 0 : 1);
    }
}

}  // namespace
