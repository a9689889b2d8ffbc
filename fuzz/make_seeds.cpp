// Writes the fuzzers' seed corpora and the hostile regression files, both
// from the fixture writers.
//
//   fuzz_make_seeds corpus DIR    DIR/{dib,tds,script,texture_list}/...
//   fuzz_make_seeds hostile DIR   one small file per attack (tests/data)
//
// The hostile files are committed; this program documents how each was
// made and remakes them byte for byte.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "writers/bmp_writer.h"
#include "writers/tds_writer.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

bool failed = false;

void save(const fs::path& path, const Bytes& bytes) {
    if (!tds::writeBytesFile(path.string(), bytes)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        failed = true;
    }
}

void saveText(const fs::path& path, const std::string& text) { save(path, Bytes(text.begin(), text.end())); }

// A small picture with every kind of pixel run: flat areas, gradients, noise.
bmpw::RgbPicture picture(int w, int h) {
    bmpw::RgbPicture p{w, h, {}};
    uint32_t seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const bool flat = x < w / 2;
            p.rgb.push_back(flat ? 40 : static_cast<uint8_t>(x * 16));
            p.rgb.push_back(flat ? 40 : static_cast<uint8_t>(y * 16));
            p.rgb.push_back(flat ? 200 : static_cast<uint8_t>(seed >> 24));
        }
    return p;
}

bmpw::IndexedPicture indexed(int w, int h, int colours) {
    bmpw::IndexedPicture p{w, h, {}, {}};
    for (int i = 0; i < colours; ++i)
        p.palette.push_back({static_cast<uint8_t>(i * 37), static_cast<uint8_t>(i * 91), static_cast<uint8_t>(255 - i)});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.indices.push_back(static_cast<uint8_t>((x / 3 + y) % colours));
    return p;
}

bmpw::BmpOptions options(int bits, bmpw::Encoding encoding = bmpw::Encoding::Plain,
                         bmpw::HeaderKind header = bmpw::HeaderKind::Info) {
    bmpw::BmpOptions o;
    o.bitsPerPixel = bits;
    o.encoding = encoding;
    o.header = header;
    return o;
}

tds::TdsObject triangleObject() {
    tds::TdsObject o;
    o.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0.5f}};
    o.faces = {{0, 1, 2}, {1, 3, 2}};
    o.uv = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    return o;
}

// ---- seed corpora -----------------------------------------------------------------

void writeCorpus(const fs::path& dir) {
    using bmpw::Encoding;
    using bmpw::HeaderKind;
    const fs::path dib = dir / "dib", mesh = dir / "tds", script = dir / "script", list = dir / "texture_list";
    for (const fs::path& d : {dib, mesh, script, list}) fs::create_directories(d);

    int n = 0;
    auto bmp = [&](const Bytes& bytes) { save(dib / ("writer_" + std::to_string(n++) + ".bmp"), bytes); };
    for (HeaderKind header : {HeaderKind::Info, HeaderKind::Core}) {
        for (int bits : {1, 4, 8}) bmp(bmpw::writeBmp(indexed(13, 7, 1 << bits), options(bits, Encoding::Plain, header)));
        for (int bits : {16, 24, 32}) bmp(bmpw::writeBmp(picture(11, 5), options(bits, Encoding::Plain, header)));
    }
    bmp(bmpw::writeBmp(indexed(21, 9, 256), options(8, Encoding::Rle)));
    bmp(bmpw::writeBmp(indexed(21, 9, 16), options(4, Encoding::Rle)));
    for (int bits : {16, 32}) {
        bmpw::BmpOptions o = options(bits, Encoding::BitFields);
        o.redMask = bits == 16 ? 0xF800 : 0xFF0000;
        o.greenMask = bits == 16 ? 0x07E0 : 0x00FF00;
        o.blueMask = bits == 16 ? 0x001F : 0x0000FF;
        bmp(bmpw::writeBmp(picture(9, 4), o));
    }
    {
        bmpw::BmpOptions o = options(24);
        o.topDown = true;
        bmp(bmpw::writeBmp(picture(6, 6), o));
        o = options(8);
        o.fileHeader = false;
        bmp(bmpw::writeBmp(indexed(8, 3, 256), o));
    }

    tds::TdsObject tri = triangleObject();
    tds::TdsObject bare = tri;
    bare.uv.clear();
    bare.faceSubchunks = false;
    save(mesh / "one_object.3ds", tds::write3ds({tri}));
    save(mesh / "two_objects.3ds", tds::write3ds({tri, bare}));
    save(mesh / "light_and_camera.3ds",
         tds::fileWith(tds::concat({tds::lightObjectChunk("omni", 1, 2, 3), tds::cameraObjectChunk("cam", 0, 0, -5),
                                    tds::meshObjectChunk(bare)})));
    save(mesh / "main_only.3ds", tds::header(tds::kMain, 6));

    saveText(script / "objects.dat",
             "LIGHTS=ON\nFOG=ON\nFOG_START=5\nFOG_END=40\nFOG_COLOR=0.1,0.2,0.3,1\nCLEAR_COLOR=0,0,0,1\n"
             "LIGHT_DIFFUSE=1,0.9,0.8,1\nADD_OMNI=0,20,-10,1,2\nADD_SPOT=1,2,3,4\nADDMAGNET=0,0,0,5\n"
             "CAMERA_POSITION=0,5,-30,1\nCAMERA_TARGET=0,0,0,0\nTEXTUREID=3\nSHADING=ENVMAPPING\n"
             "SCALEVALUE=0.5\nFLIPNORMALS=ON\nMAGNETIC=ON\nBLEND=OFF\nCULLFACE=ON\nCULLBACK=OFF\n"
             "VORTEX=ON\nDEPTHTEST=ON\nOBJECT_POSITION=1,2,3,0\nMATERIAL_AMBIENT=0.2,0.2,0.2,1\n"
             "MATERIAL_DIFFUSE=1,0,0,1\nMATERIAL_SPECULAR=1,1,1,1\nFILENAME=m.3ds\nTEXTUREID=4\n"
             "SHADING=TEXTUREMAPPING\nFILENAME=two.3ds\nFILENAME=none.3ds\nFOGVALUE\nFLARE\nEOF\n");
    saveText(script / "far_vortex.dat", "VORTEX=ON\nSCALEVALUE=3\nFILENAME=far.3ds\nFILENAME=m.3ds\nEOF\n");
    saveText(script / "warnings.dat", "SHADING=NOPE\nLIGHTS=ONE\nFOG = ON\nEOF\n");
    saveText(script / "refused_mesh.dat", "FILENAME=bad.3ds\nEOF\n");
    saveText(script / "crlf.dat", "LIGHTS=ON\r\nADD_OMNI=0,10,0,1\r\nEOF\r\n");

    saveText(list / "three.dat", "data\\texture\\a.bmp\ndata\\texture\\b.bmp\ndata\\texture\\c.bmp\n");
    saveText(list / "crlf_no_final_newline.dat", "a.bmp\r\nb.bmp\r\nc.bmp");
    saveText(list / "long_line.dat", std::string(98, 'x') + "\n" + std::string(200, 'y') + "\n\n");
}

// ---- hostile files ----------------------------------------------------------------

Bytes u32le(uint32_t v) {
    Bytes b;
    tds::putU32(b, v);
    return b;
}

// A bare 40-byte info header (no file header) with the given fields, then `tail`.
Bytes infoHeader(int32_t w, int32_t h, uint16_t bits, uint32_t compression, uint32_t colorsUsed, const Bytes& tail) {
    Bytes b;
    tds::putU32(b, 40);
    tds::putU32(b, static_cast<uint32_t>(w));
    tds::putU32(b, static_cast<uint32_t>(h));
    tds::putU16(b, 1);
    tds::putU16(b, bits);
    tds::putU32(b, compression);
    for (int i = 0; i < 3; ++i) tds::putU32(b, 0);
    tds::putU32(b, colorsUsed);
    tds::putU32(b, 0);
    tds::append(b, tail);
    return b;
}

Bytes greyPalette(int entries) {
    Bytes b;
    for (int i = 0; i < entries; ++i) {
        const auto v = static_cast<uint8_t>(i * 255 / std::max(entries - 1, 1));
        b.insert(b.end(), {v, v, v, 0});
    }
    return b;
}

void writeHostileBitmaps(const fs::path& dir) {
    using bmpw::Encoding;
    auto withOverrides = [](bmpw::BmpOptions o, auto change) {
        change(o.overrides);
        return o;
    };
    // Sizes whose product overflows 32 bits, and sides just past the cap.
    save(dir / "bmp_dimensions_overflow.bmp",
         bmpw::writeBmp(picture(4, 4), withOverrides(options(24), [](bmpw::Overrides& v) {
                            v.width = 0x40000000;
                            v.height = 0x40000000;
                        })));
    save(dir / "bmp_height_int_min.bmp", infoHeader(4, std::numeric_limits<int32_t>::min(), 24, 0, 0, Bytes(64, 0)));
    save(dir / "bmp_side_above_cap.bmp", infoHeader(16385, 1, 8, 1, 2, tds::concat({greyPalette(2), {0, 1}})));
    // The largest picture the decoder takes, from a few dozen bytes: the cap.
    save(dir / "bmp_side_at_cap_rle.bmp", infoHeader(16384, 16384, 8, 1, 2, tds::concat({greyPalette(2), {0, 1}})));

    // RLE streams that try to write outside the picture.
    const Bytes pal256 = greyPalette(256);
    save(dir / "bmp_rle8_run_past_row_end.bmp", infoHeader(4, 2, 8, 1, 0, tds::concat({pal256, {200, 7, 0, 0, 255, 9, 0, 1}})));
    save(dir / "bmp_rle8_delta_outside_picture.bmp",
         infoHeader(4, 2, 8, 1, 0, tds::concat({pal256, {0, 2, 255, 255, 4, 9, 0, 2, 3, 0, 2, 5, 0, 1}})));
    save(dir / "bmp_rle8_lines_past_last_row.bmp",
         infoHeader(3, 2, 8, 1, 0, tds::concat({pal256, {0, 0, 0, 0, 0, 0, 0, 0, 3, 200, 0, 0, 3, 100, 0, 1}})));
    save(dir / "bmp_rle4_absolute_run_past_data.bmp",
         infoHeader(8, 2, 4, 2, 0, tds::concat({greyPalette(16), {0, 255, 0x12, 0x34, 0x56}})));
    save(dir / "bmp_rle8_absolute_run_past_row_end.bmp",
         infoHeader(2, 1, 8, 1, 0, tds::concat({pal256, {0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 1}})));

    // Colour tables: indices beyond the table, tables longer than the file.
    save(dir / "bmp_palette_index_beyond_table.bmp",
         infoHeader(4, 1, 8, 0, 2, tds::concat({greyPalette(2), {0, 1, 200, 255}})));
    save(dir / "bmp_colors_used_beyond_file.bmp",
         bmpw::writeBmp(indexed(4, 2, 16), withOverrides(options(4), [](bmpw::Overrides& v) {
                            v.colorsUsed = 0xFFFFFFFF;
                        })));
    {
        Bytes core;
        tds::putU32(core, 12);
        tds::putU16(core, 4);
        tds::putU16(core, 4);
        tds::putU16(core, 1);
        tds::putU16(core, 8);
        core.insert(core.end(), 30, 0x80);  // 10 of the 256 three-byte entries
        save(dir / "bmp_core_table_past_end.bmp", core);
    }

    // Headers, offsets and pixel data that lie about the file.
    save(dir / "bmp_truncated_pixel_rows.bmp",
         bmpw::writeBmp(picture(16, 16), withOverrides(options(24), [](bmpw::Overrides& v) { v.truncateTo = 54 + 16 * 48 / 2; })));
    save(dir / "bmp_truncated_header.bmp", Bytes{'B', 'M', 0x40, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 40, 0, 0, 0, 4, 0});
    save(dir / "bmp_pixel_offset_past_end.bmp",
         bmpw::writeBmp(picture(4, 4), withOverrides(options(24), [](bmpw::Overrides& v) { v.dataOffset = 0xFFFFFFF0u; })));
    save(dir / "bmp_header_size_64.bmp",
         bmpw::writeBmp(picture(4, 4), withOverrides(options(24), [](bmpw::Overrides& v) {
                            v.headerSize = 64;
                            v.extraHeaderBytes = 24;
                        })));
    {
        // A bare V5 bitmap whose colour profile, placed before the pixels,
        // claims to run far past the end of the file.
        bmpw::BmpOptions v5 = options(24, bmpw::Encoding::Plain, bmpw::HeaderKind::V5);
        v5.fileHeader = false;
        v5.profile = Bytes(8, 0x11);
        v5.profileBeforePixels = true;
        Bytes bytes = bmpw::writeBmp(picture(4, 4), v5);
        bytes[116] = 0xF0, bytes[117] = 0xFF, bytes[118] = 0xFF, bytes[119] = 0x7F;  // profile size
        save(dir / "bmp_v5_profile_past_end.bmp", bytes);
    }
    save(dir / "bmp_header_size_huge.bmp", tds::concat({u32le(0xFFFFFFF0u), Bytes(36, 0xFF)}));
    save(dir / "bmp_negative_width.bmp", infoHeader(-4, 4, 24, 0, 0, Bytes(64, 0)));
    save(dir / "bmp_zero_height.bmp", infoHeader(4, 0, 24, 0, 0, Bytes(64, 0)));
    save(dir / "bmp_empty.bmp", {});
    save(dir / "bmp_bit_count_2.bmp", infoHeader(4, 4, 2, 0, 0, Bytes(64, 0)));
    save(dir / "bmp_unknown_compression.bmp", infoHeader(4, 4, 24, 7, 0, Bytes(64, 0)));
    save(dir / "bmp_bitfields_empty_masks.bmp", infoHeader(2, 2, 32, 3, 0, tds::concat({Bytes(12, 0), Bytes(16, 0xAB)})));
    save(dir / "bmp_bitfields_masks_past_end.bmp", infoHeader(2, 2, 16, 3, 0, Bytes(6, 0xFF)));
    save(dir / "bmp_bitfields_mask_all_bits.bmp",
         infoHeader(1, 1, 32, 3, 0, tds::concat({u32le(0xFFFFFFFFu), u32le(0x80000001u), u32le(0), Bytes(4, 0x5A)})));
}

tds::Bytes vertexBody(uint16_t count, const std::vector<float>& coords) {
    tds::Bytes b;
    tds::putU16(b, count);
    for (float c : coords) tds::putF32(b, c);
    return b;
}

void writeHostileMeshes(const fs::path& dir) {
    using namespace tds;
    const TdsObject tri = triangleObject();
    save(dir / "mesh_triangle.3ds", write3ds({tri}));  // a valid mesh the hostile scripts name
    save(dir / "mesh_main_chunk_only.3ds", header(kMain, 6));
    save(dir / "tds_not_a_mesh.3ds", Bytes{'P', 'K', 3, 4, 0, 0, 0, 0});
    save(dir / "tds_empty.3ds", {});
    save(dir / "tds_header_truncated.3ds", Bytes{0x4D, 0x4D, 0x10, 0});

    const Bytes object = meshObjectChunk(tri);
    save(dir / "tds_zero_length_chunk.3ds", fileWith(concat({object, header(0x1234, 0), object})));
    save(dir / "tds_chunk_length_below_header.3ds", fileWith(concat({object, chunkWithLength(0xAFFF, 3, Bytes(8, 1)), object})));
    save(dir / "tds_chunk_length_past_end.3ds", fileWith(concat({object, chunkWithLength(0xB000, 0xFFFFFFFFu, Bytes(4, 0))})));
    save(dir / "tds_vertex_count_beyond_data.3ds",
         fileWith(objectBlockChunk("v", concat({header(kTriMesh, 6), chunk(kVertexList, vertexBody(65535, {1, 2, 3, 4, 5, 6, 7}))}))));
    save(dir / "tds_face_index_beyond_vertices.3ds",
         fileWith(objectBlockChunk("f", concat({chunk(kTriMesh, concat({vertexListChunk({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                                                                         faceListChunk({{0, 1, 2}, {0, 1, 60000}, {65535, 2, 1}})}))}))));
    {
        Bytes faces;
        putU16(faces, 40000);
        for (int i = 0; i < 5; ++i) putU16(faces, 0);
        save(dir / "tds_face_count_beyond_data.3ds",
             fileWith(objectBlockChunk("c", concat({vertexListChunk({{0, 0, 0}}), chunk(kFaceList, faces)}))));
    }
    save(dir / "tds_mapping_longer_than_vertices.3ds",
         fileWith(objectBlockChunk("m", concat({vertexListChunk({{0, 0, 0}, {1, 1, 1}}),
                                                mappingListChunk({{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}})}))));
    save(dir / "tds_lists_before_any_object.3ds",
         fileWith(concat({vertexListChunk({{1, 2, 3}}), faceListChunk({{0, 0, 0}}), mappingListChunk({{1, 1}}), object})));
    save(dir / "tds_object_name_without_zero.3ds", concat({header(kMain, 0), header(kEditor, 0), header(kObjectBlock, 0), Bytes(40, 'A')}));
    {
        Bytes flood = concat({header(kMain, 0), header(kEditor, 0)});
        while (flood.size() < 64 * 1024) append(flood, concat({header(kObjectBlock, 7), Bytes{0}}));
        save(dir / "tds_object_block_flood.3ds", flood);
    }
    {
        // Each object: one vertex a billion units out, so a full ring table
        // (65536 entries) for a few dozen bytes of file.
        Bytes far = concat({header(kMain, 0), header(kEditor, 0)});
        for (int i = 0; i < 200; ++i)
            append(far, concat({header(kObjectBlock, 0), Bytes{0}, chunk(kVertexList, vertexBody(1, {1e9f, 0, 0}))}));
        save(dir / "tds_far_vertices_ring_flood.3ds", far);
    }
    {
        const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
        TdsObject odd;
        odd.vertices = {{nan, 0, 0}, {inf, -inf, 0}, {3e38f, 3e38f, 3e38f}, {-0.0f, 1e-45f, 0}};
        odd.faces = {{0, 1, 2}, {1, 2, 3}, {3, 3, 3}};
        save(dir / "tds_nan_and_infinite_coordinates.3ds", write3ds({odd}));
    }
}

void writeHostileScripts(const fs::path& dir) {
    const std::string tiny = "0." + std::string(50, '0') + "1";
    saveText(dir / "script_tiny_decimals.dat",
             "CLEAR_COLOR=" + tiny + ",1e-50,0,1e-30\nFOG_COLOR=1e-99999,1e999999,-" + tiny + "\nEOF\n");
    saveText(dir / "script_keyword_longer_than_buffer.dat", "LIGHTS=ON\n" + std::string(5000, 'K') + "=ON\nFOG=ON\nEOF\n");
    saveText(dir / "script_argument_longer_than_buffer.dat",
             "CLEAR_COLOR=0.5,0.25,1,1" + std::string(5000, '7') + "\nFOG=ON\nEOF\n");
    saveText(dir / "script_without_eof.dat", "LIGHTS=ON\nFOG=ON");
    save(dir / "script_binary_bytes.dat", Bytes{'F', 'O', 'G', '=', 'O', 'N', '\n', 0, 0xFF, 0x80, '=', 0, '\n', 'E', 'O', 'F', '\n'});
    saveText(dir / "script_number_overflow.dat",
             "FOG_START=99999999999999999999999\nFOG_END=-99999999999999999999999\nTEXTUREID=4294967296\n"
             "CLEAR_COLOR=1e99999,-1e99999,1e-99999,nan\nSCALEVALUE=inf\nADD_OMNI=1e39,2,3,4,-1e40\n"
             "FILENAME=mesh_triangle.3ds\nEOF\n");
    {
        std::string flood;
        for (int i = 0; i < 2000; ++i) flood += "ADD_OMNI=0,10,0,1,1\n";
        saveText(dir / "script_keyword_flood.dat", flood + "EOF\n");
    }
    saveText(dir / "script_shading_not_a_keyword.dat", "SHADING=SPARKLE\nLIGHTS=ON\nFOG=ON\nSHADING=EOF\nEOF\n");
    saveText(dir / "script_filename_mesh_without_object.dat",
             "TEXTUREID=5\nFILENAME=mesh_main_chunk_only.3ds\nFILENAME=mesh_triangle.3ds\nEOF\n");
    saveText(dir / "script_filename_missing_mesh.dat", "LIGHTS=ON\nFILENAME=no_such_mesh.3ds\nFOG=ON\nEOF\n");
    saveText(dir / "script_filename_not_a_mesh.dat", "FILENAME=tds_not_a_mesh.3ds\nEOF\n");
    saveText(dir / "script_lone_carriage_returns.dat", "LIGHTS=ON\r\rFOG=ON\r\nEOF\r\n");
    saveText(dir / "script_empty.dat", "");

    saveText(dir / "texture_list_line_longer_than_buffer.dat", std::string(250, 'p') + "\nlast.bmp\n");
    {
        std::string many;
        for (int i = 0; i < 150; ++i) many += "t" + std::to_string(i) + ".bmp\n";
        saveText(dir / "texture_list_more_than_100_lines.dat", many);
    }
    save(dir / "texture_list_zero_bytes_in_path.dat", Bytes{'a', 0, 'b', '.', 'b', 'm', 'p', '\n', 0, '\n', 'c', '\n'});
    saveText(dir / "texture_list_without_final_newline.dat", "a.bmp\r\nb.bmp\r\nc.bmp");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::string(argv[1]) != "corpus" && std::string(argv[1]) != "hostile")) {
        std::fprintf(stderr, "usage: %s corpus|hostile DIR\n", argv[0]);
        return 2;
    }
    const fs::path dir = argv[2];
    fs::create_directories(dir);
    if (std::string(argv[1]) == "corpus") {
        writeCorpus(dir);
    } else {
        writeHostileBitmaps(dir);
        writeHostileMeshes(dir);
        writeHostileScripts(dir);
    }
    return failed ? 1 : 0;
}
