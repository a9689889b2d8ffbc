// Every file in tests/data loaded with the program's own loaders, each with
// the outcome it must have: the system's own message, or a load that keeps
// what was valid. Built with ORBELUNE_SANITIZE the same cases run under
// AddressSanitizer and UndefinedBehaviorSanitizer; fuzz/run seeds its targets
// with these files and checks the loaded meshes' invariants (face corners,
// rings). A file added to the folder without an expectation here fails the
// coverage case.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "assets/image.h"
#include "assets/texture_table.h"
#include "hardening/hostile_cases.h"
#include "scene/scene.h"
#include "scene/scene_script.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr float kFloatMax = std::numeric_limits<float>::max();

std::string hostile(const std::string& name) { return std::string(HOSTILE_DIR) + "/" + name; }

// ---- bitmaps --------------------------------------------------------------------

struct BitmapCase {
    const char* file;
    int width = 0;                 // 0 when the load must fail
    int height = 0;
    const char* message = "";      // the "Error" box text when it fails
    std::vector<std::pair<std::array<int, 2>, std::array<uint8_t, 3>>> pixels = {};  // (x, y): RGB on a load
};

std::array<uint8_t, 3> pixel(const RgbImage& image, int x, int y) {
    const size_t at = (static_cast<size_t>(y) * image.width + x) * 3;
    return {image.data[at], image.data[at + 1], image.data[at + 2]};
}

const std::vector<BitmapCase>& bitmapCases() {
    static const std::vector<BitmapCase> cases = {
        {"bmp_dimensions_overflow.bmp", 0, 0, "Out of memory."},
        {"bmp_height_int_min.bmp", 0, 0, "Out of memory."},
        {"bmp_side_above_cap.bmp", 0, 0, "Out of memory."},
        {"bmp_side_at_cap_rle.bmp", 16384, 16384},
        // The RLE8 clipping rules pixel by pixel: assets/bmp_hostile_test.
        {"bmp_rle8_run_past_row_end.bmp", 4, 2},
        {"bmp_rle8_delta_outside_picture.bmp", 4, 2},
        {"bmp_rle8_lines_past_last_row.bmp", 3, 2},
        // Index 1 of 16 grey steps first; the data runs out before x = 6.
        {"bmp_rle4_absolute_run_past_data.bmp", 8, 2, "",
         {{{0, 0}, {17, 17, 17}}, {{5, 0}, {102, 102, 102}}, {{6, 0}, {0, 0, 0}}}},
        {"bmp_rle8_absolute_run_past_row_end.bmp", 2, 1},
        {"bmp_palette_index_beyond_table.bmp", 4, 1, "",
         {{{1, 0}, {255, 255, 255}}, {{2, 0}, {0, 0, 0}}, {{3, 0}, {0, 0, 0}}}},
        {"bmp_colors_used_beyond_file.bmp", 4, 2},
        {"bmp_core_table_past_end.bmp", 0, 0, "Image file conversion error."},
        {"bmp_truncated_pixel_rows.bmp", 0, 0, "Image file conversion error."},
        {"bmp_truncated_header.bmp", 0, 0, "Image file conversion error."},
        {"bmp_pixel_offset_past_end.bmp", 0, 0, "Image file conversion error."},
        {"bmp_header_size_64.bmp", 0, 0, "Unknown DIB file format."},
        {"bmp_v5_profile_past_end.bmp", 0, 0, "Image file conversion error."},
        {"bmp_header_size_huge.bmp", 0, 0, "Unknown DIB file format."},
        {"bmp_negative_width.bmp", 0, 0, "Image file conversion error."},
        {"bmp_zero_height.bmp", 0, 0, "Image file conversion error."},
        {"bmp_empty.bmp", 0, 0, "Failed to open DIB file " HOSTILE_DIR "/bmp_empty.bmp."},
        {"bmp_bit_count_2.bmp", 0, 0, "Image file conversion error."},
        {"bmp_unknown_compression.bmp", 0, 0, "Image file conversion error."},
        {"bmp_bitfields_empty_masks.bmp", 2, 2, "", {{{1, 1}, {0, 0, 0}}}},
        {"bmp_bitfields_masks_past_end.bmp", 0, 0, "Image file conversion error."},
        {"bmp_bitfields_mask_all_bits.bmp", 1, 1},
    };
    return cases;
}

// ---- meshes -----------------------------------------------------------------------

struct MeshCase {
    const char* file;
    const char* message = "";  // the record that stops the show, or "" for a load
    std::vector<std::pair<int, int>> objects = {};  // vertices, faces of each object
};

const std::vector<MeshCase>& meshCases() {
    static const std::vector<MeshCase> cases = {
        {"mesh_triangle.3ds", "", {{4, 2}}},
        {"mesh_main_chunk_only.3ds", "", {}},
        {"tds_not_a_mesh.3ds", "3dsfile is fucked up"},
        {"tds_empty.3ds", "3dsfile is fucked up"},
        {"tds_header_truncated.3ds", "3dsfile is fucked up"},
        {"tds_zero_length_chunk.3ds", "", {{4, 2}}},
        {"tds_chunk_length_below_header.3ds", "", {{4, 2}}},
        {"tds_chunk_length_past_end.3ds", "", {{4, 2}}},
        {"tds_vertex_count_beyond_data.3ds", "", {{2, 0}}},
        {"tds_face_index_beyond_vertices.3ds", "", {{3, 1}}},
        {"tds_face_count_beyond_data.3ds", "", {{1, 1}}},
        {"tds_mapping_longer_than_vertices.3ds", "", {{2, 0}}},
        {"tds_lists_before_any_object.3ds", "", {{4, 2}}},
        {"tds_object_name_without_zero.3ds", "", {{0, 0}}},
        {"tds_object_block_flood.3ds", "", std::vector<std::pair<int, int>>((65539 - 12) / 7, {0, 0})},
        {"tds_far_vertices_ring_flood.3ds", "", std::vector<std::pair<int, int>>(200, {1, 0})},
        {"tds_nan_and_infinite_coordinates.3ds", "", {{4, 3}}},
    };
    return cases;
}

// ---- scripts -----------------------------------------------------------------------

struct ScriptCase {
    const char* file;
    std::vector<std::string> messages;  // every box, in order
    bool ends = false;                  // a mesh problem stops the show
    std::function<void(const Scene&)> check = nullptr;
};

std::string warning(int line, const std::string& file) {
    return "scenefile error: no valid attrib found on line " + std::to_string(line) + ", " + file + ".";
}

const std::vector<ScriptCase>& scriptCases() {
    static const std::vector<ScriptCase> cases = {
        {"script_keyword_longer_than_buffer.dat", {warning(2, "script_keyword_longer_than_buffer.dat")}, false,
         [](const Scene& s) {
             EXPECT_TRUE(s.lightingEnabled);
             EXPECT_FALSE(s.fogEnabled);  // after the warning nothing is read
         }},
        {"script_argument_longer_than_buffer.dat", {}, false,
         [](const Scene& s) {
             EXPECT_FLOAT_EQ(s.clearColor[1], 0.25f);
             EXPECT_EQ(s.clearColor[3], kFloatMax);  // 1 and 87 sevens: the cut text overflows
             EXPECT_TRUE(s.fogEnabled);
         }},
        {"script_without_eof.dat", {warning(3, "script_without_eof.dat")}, false,
         [](const Scene& s) { EXPECT_TRUE(s.fogEnabled); }},
        {"script_binary_bytes.dat", {warning(2, "script_binary_bytes.dat")}, false,
         [](const Scene& s) { EXPECT_TRUE(s.fogEnabled); }},
        {"script_number_overflow.dat", {}, false,
         [](const Scene& s) {
             EXPECT_EQ(s.fogStart, std::numeric_limits<int32_t>::max());
             EXPECT_EQ(s.fogEnd, std::numeric_limits<int32_t>::min());
             // Never infinite or NaN: overflow is the largest float, "nan"
             // and "inf" do not parse (the value before stays).
             EXPECT_EQ(s.clearColor[0], kFloatMax);
             EXPECT_EQ(s.clearColor[1], -kFloatMax);
             EXPECT_EQ(s.clearColor[2], 0.0f);
             EXPECT_EQ(s.clearColor[3], 0.5f);
             ASSERT_EQ(s.omniCount(), 1);
             EXPECT_EQ(s.omniLights[0].position.x, kFloatMax);
             EXPECT_EQ(s.omniLights[0].flareSize, -kFloatMax);
             ASSERT_EQ(s.objectCount(), 1);
             EXPECT_EQ(s.objects[0]->textureId, std::numeric_limits<int32_t>::max());
             for (const MeshVertex& v : s.objects[0]->vertices)  // SCALEVALUE=inf left the scale at 1
                 EXPECT_TRUE(std::isfinite(v.basePosition.x) && std::abs(v.basePosition.x) <= 1.0f);
         }},
        {"script_keyword_flood.dat", {}, false,
         [](const Scene& s) {
             EXPECT_EQ(s.omniCount(), kScriptKeywordLimit);
             EXPECT_EQ(lightCounter, kScriptKeywordLimit);
         }},
        {"script_shading_not_a_keyword.dat", {warning(1, "script_shading_not_a_keyword.dat")}, false,
         [](const Scene& s) {
             EXPECT_FALSE(s.lightingEnabled);  // the line after the bad argument is dropped
             EXPECT_TRUE(s.fogEnabled);
         }},
        {"script_filename_mesh_without_object.dat", {}, false,
         [](const Scene& s) {
             ASSERT_EQ(s.objectCount(), 1);
             EXPECT_EQ(s.objects[0]->textureId, 0);  // line 0 had no object to stamp
             EXPECT_EQ(s.objects[0]->faceCount(), 2);
         }},
        {"script_filename_missing_mesh.dat", {"multimedia error: cannot open 3ds-file"}, true,
         [](const Scene& s) { EXPECT_TRUE(s.lightingEnabled); }},
        {"script_filename_not_a_mesh.dat", {"multimedia error: 3dsfile is fucked up"}, true},
        {"script_lone_carriage_returns.dat", {}, false,
         [](const Scene& s) {
             EXPECT_TRUE(s.lightingEnabled);
             EXPECT_FALSE(s.fogEnabled);  // part of the LIGHTS argument
         }},
        {"script_empty.dat", {warning(1, "script_empty.dat")}},
        {"script_tiny_decimals.dat", {}, false,
         [](const Scene& s) {
             EXPECT_EQ(s.clearColor[0], 0.0f);  // "0." and 50 zeros and a 1
             EXPECT_EQ(s.clearColor[1], 0.0f);  // 1e-50
             EXPECT_FLOAT_EQ(s.clearColor[3], 1e-30f);
             EXPECT_EQ(s.fogColor[0], 0.0f);  // 1e-99999, and 1e999999 at its largest
             EXPECT_EQ(s.fogColor[1], kFloatMax);
             EXPECT_EQ(s.fogColor[2], 0.0f);  // the tiny one negated
         }},
    };
    return cases;
}

// ---- texture lists -------------------------------------------------------------------

struct ListCase {
    const char* file;
    std::vector<std::string> entries;
};

const std::vector<ListCase>& listCases() {
    static const std::vector<ListCase> cases = [] {
        std::vector<std::string> hundred;
        for (int i = 0; i < 100; ++i) hundred.push_back("t" + std::to_string(i) + ".bmp");
        return std::vector<ListCase>{
            {"texture_list_line_longer_than_buffer.dat",
             {std::string(97, 'p'), std::string(97, 'p'), std::string(54, 'p'), "last.bmp"}},
            {"texture_list_more_than_100_lines.dat", hundred},
            {"texture_list_zero_bytes_in_path.dat", {"a", "", "c"}},
            {"texture_list_without_final_newline.dat", {"a.bmp", "b.bmp"}},
        };
    }();
    return cases;
}

}  // namespace

namespace hardening {

std::vector<HostileFile> hostileFiles() {
    std::vector<HostileFile> files;
    for (const auto& c : bitmapCases()) files.push_back({c.file, HostileKind::Bitmap});
    for (const auto& c : meshCases()) files.push_back({c.file, HostileKind::Mesh});
    for (const auto& c : scriptCases()) files.push_back({c.file, HostileKind::Script});
    for (const auto& c : listCases()) files.push_back({c.file, HostileKind::TextureList});
    return files;
}

std::vector<std::string> loadHostile(const HostileFile& file) {
    Diagnostics found;
    const std::string path = hostile(file.name);
    switch (file.kind) {
        case HostileKind::Bitmap:
            (void)loadDib(path, found);
            break;
        case HostileKind::Mesh: {
            Scene scene;
            scene.load3ds(path, 1.0f, false, found);
            break;
        }
        case HostileKind::Script: {
            const WorkingDirectory here(HOSTILE_DIR);  // scripts name meshes beside them
            resetLightCounter();
            Scene scene;
            scene.loadScene(file.name, found);
            break;
        }
        case HostileKind::TextureList: {
            std::ifstream in(path, std::ios::binary);
            (void)readTextureList(in);
            break;
        }
    }
    return messageLines(found);
}

}  // namespace hardening

TEST(HostileFiles, EveryFileInTheFolderHasAnExpectedOutcome) {
    std::set<std::string> expected;
    for (const auto& f : hardening::hostileFiles()) EXPECT_TRUE(expected.insert(f.name).second) << f.name;
    std::set<std::string> present;
    for (const auto& entry : fs::directory_iterator(HOSTILE_DIR)) present.insert(entry.path().filename().string());
    EXPECT_EQ(present, expected);
}

TEST(HostileFiles, BitmapsFailWithTheirMessageOrKeepWhatIsValid) {
    for (const BitmapCase& c : bitmapCases()) {
        SCOPED_TRACE(c.file);
        Diagnostics found;
        const std::optional<RgbImage> image = loadDib(hostile(c.file), found);
        if (c.width == 0) {
            EXPECT_FALSE(image);
            EXPECT_EQ(messageLines(found), std::vector<std::string>{std::string("Error: ") + c.message});
            continue;
        }
        ASSERT_TRUE(image);
        EXPECT_TRUE(found.empty());
        EXPECT_EQ(image->width, c.width);
        EXPECT_EQ(image->height, c.height);
        ASSERT_EQ(image->data.size(), size_t(c.width) * size_t(c.height) * 3);
        for (const auto& [at, rgb] : c.pixels) EXPECT_EQ(pixel(*image, at[0], at[1]), rgb) << at[0] << ", " << at[1];
    }
    Diagnostics found;  // a path that cannot be opened as a file
    EXPECT_FALSE(loadDib(HOSTILE_DIR, found));
    EXPECT_EQ(messageLines(found), std::vector<std::string>{"Error: Failed to open DIB file " HOSTILE_DIR "."});
}

TEST(HostileFiles, MeshesEndWithTheirMessageOrKeepWhatIsValid) {
    for (const MeshCase& c : meshCases()) {
        SCOPED_TRACE(c.file);
        Diagnostics found;
        Scene scene;
        const bool read = scene.load3ds(hostile(c.file), 1.0f, false, found);
        if (*c.message) {
            EXPECT_FALSE(read);
            EXPECT_TRUE(stopsShow(found));
            EXPECT_EQ(messageLines(found), std::vector<std::string>{std::string("multimedia error: ") + c.message});
            continue;
        }
        EXPECT_TRUE(read);
        EXPECT_TRUE(found.empty());
        ASSERT_EQ(scene.objects.size(), c.objects.size());
        for (size_t i = 0; i < c.objects.size(); ++i) {
            const SceneObject& o = *scene.objects[i];
            EXPECT_EQ(o.vertexCount(), c.objects[i].first) << "object " << i;
            EXPECT_EQ(o.faceCount(), c.objects[i].second) << "object " << i;
        }
    }
}

TEST(HostileFiles, ScriptsWarnOrEndAsTheirProblemAsks) {
    const WorkingDirectory here(HOSTILE_DIR);
    for (const ScriptCase& c : scriptCases()) {
        SCOPED_TRACE(c.file);
        resetLightCounter();
        Diagnostics found;
        Scene scene;
        EXPECT_EQ(!scene.loadScene(c.file, found), c.ends);
        EXPECT_EQ(stopsShow(found), c.ends);
        EXPECT_EQ(messageLines(found), c.messages);
        if (c.check) c.check(scene);
    }
}

TEST(HostileFiles, TextureListsKeepTheirBoundedEntries) {
    for (const ListCase& c : listCases()) {
        SCOPED_TRACE(c.file);
        std::ifstream in(hostile(c.file), std::ios::binary);
        ASSERT_TRUE(in);
        EXPECT_EQ(readTextureList(in), c.entries);
    }
}
