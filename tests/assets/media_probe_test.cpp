// The soundtrack and picture probes on files built here byte by byte: MP3
// frames of each MPEG version and layer with their lengths, a tag before
// and after, damage in the middle, a last frame cut short, other formats by
// signature, hostile sizes; a 32-bit bitmap's alpha with and without a
// mask, the "unused" fourth byte, a file shorter than its pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "assets/picture_probe.h"
#include "assets/sound_probe.h"
#include "writers/bmp_writer.h"

namespace {

using namespace std::string_literals;
using Bytes = std::vector<uint8_t>;

// `count` frames with header bytes b1, b2 of `length` bytes each (the
// length the header implies, worked out by hand for each case).
void appendFrames(Bytes& out, uint8_t b1, uint8_t b2, size_t length, int count) {
    for (int i = 0; i < count; ++i) {
        const size_t at = out.size();
        out.resize(at + length, 0x55);
        out[at] = 0xFF;
        out[at + 1] = b1;
        out[at + 2] = b2;
        out[at + 3] = 0x44;
    }
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

SoundProbe probe(const Bytes& b) { return probeSound(b.data(), b.size()); }

TEST(SoundProbe, WalksTheFramesOfEachVersionAndLayer) {
    struct Case {
        const char* name;
        uint8_t b1, b2;
        size_t length;
        int rate, samples;
    };
    const Case cases[] = {
        {"MPEG 1 layer III 128 kbit/s 44.1 kHz", 0xFB, 0x90, 417, 44100, 1152},
        {"MPEG 1 layer III 128 kbit/s 44.1 kHz, padded", 0xFB, 0x92, 418, 44100, 1152},
        {"MPEG 1 layer II 192 kbit/s 48 kHz", 0xFD, 0xA4, 576, 48000, 1152},
        {"MPEG 1 layer I 384 kbit/s 32 kHz", 0xFF, 0xC8, 576, 32000, 384},
        {"MPEG 2 layer III 64 kbit/s 22.05 kHz", 0xF3, 0x80, 208, 22050, 576},
        {"MPEG 2.5 layer III 8 kbit/s 8 kHz", 0xE3, 0x18, 72, 8000, 576},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes mp3;
        appendFrames(mp3, c.b1, c.b2, c.length, 500);
        const SoundProbe p = probe(mp3);
        ASSERT_EQ(p.kind, SoundKind::Mp3);
        EXPECT_EQ(p.sampleRate, c.rate);
        EXPECT_EQ(p.frames, 500);
        EXPECT_DOUBLE_EQ(p.seconds, 500.0 * c.samples / c.rate);
        EXPECT_EQ(p.damagedAt, 0u);
    }
}

TEST(SoundProbe, TagsCutEndsAndDamage) {
    Bytes tagged = {'I', 'D', '3', 4, 0, 0, 0, 0, 1, 0};  // an ID3v2 tag of 128 bytes after its header
    tagged.resize(10 + 128, 0xFF);                       // sync-like bytes inside the tag are skipped
    appendFrames(tagged, 0xFB, 0x90, 417, 100);
    const Bytes trailer = text("TAG");
    tagged.insert(tagged.end(), trailer.begin(), trailer.end());
    tagged.resize(tagged.size() + 125, 'x');
    SoundProbe p = probe(tagged);
    EXPECT_EQ(p.kind, SoundKind::Mp3);
    EXPECT_EQ(p.frames, 100);
    EXPECT_EQ(p.damagedAt, 0u) << "a trailing ID3v1 tag is no damage";

    Bytes cut;
    appendFrames(cut, 0xFB, 0x90, 417, 100);
    cut.resize(cut.size() - 200);  // the last frame cut short
    p = probe(cut);
    EXPECT_EQ(p.frames, 99);
    EXPECT_EQ(p.damagedAt, 0u);

    Bytes damaged;
    appendFrames(damaged, 0xFB, 0x90, 417, 100);
    damaged.resize(damaged.size() + 5000, 0x00);
    appendFrames(damaged, 0xFB, 0x90, 417, 100);
    p = probe(damaged);
    EXPECT_EQ(p.damagedAt, 41700u);
    EXPECT_DOUBLE_EQ(p.secondsBeforeDamage, 100 * 1152 / 44100.0);
    EXPECT_EQ(p.frames, 200) << "the frames after the damage are counted, as a decoder plays them";
}

TEST(SoundProbe, OtherKindsAndHostileBytes) {
    const std::pair<Bytes, SoundKind> cases[] = {
        {text("OggS\0\x02"s), SoundKind::Ogg},
        {text("RIFF\x24\0\0\0WAVEfmt "s), SoundKind::Wav},
        {text("fLaC"), SoundKind::Flac},
        {text("\0\0\0\x20" "ftypM4A "s), SoundKind::Mp4},
        {text("not a song\r\n\tat all, caf\xC3\xA9\n"), SoundKind::Text},
        {Bytes{0xFF, 0xFB, 0x90}, SoundKind::Unknown},          // a header cut short
        {Bytes{'I', 'D', '3', 4, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F}, SoundKind::Unknown},  // a tag past the end
        {Bytes{}, SoundKind::Unknown},
    };
    for (const auto& [bytes, kind] : cases) {
        EXPECT_EQ(probe(bytes).kind, kind) << soundKindText(kind);
        EXPECT_EQ(probe(bytes).frames, 0);
    }
    Bytes lone;  // one valid header among junk is no MP3: three frames in a row are
    appendFrames(lone, 0xFB, 0x90, 417, 2);
    lone.resize(5000, 0x00);
    EXPECT_EQ(probe(lone).kind, SoundKind::Unknown);
}

Bytes bitmap32(const std::vector<uint8_t>& alphas, bmpw::HeaderKind header = bmpw::HeaderKind::Info) {
    bmpw::BmpOptions o;
    o.bitsPerPixel = 32;
    o.header = header;
    if (header != bmpw::HeaderKind::Info) o.encoding = bmpw::Encoding::BitFields;
    std::vector<uint8_t> pixels;
    for (uint8_t a : alphas) pixels.insert(pixels.end(), {10, 20, 30, a});
    o.overrides.pixelData = pixels;
    return bmpw::writeBmp(bmpw::RgbPicture{static_cast<int>(alphas.size()), 1, std::vector<uint8_t>(alphas.size() * 3)}, o);
}

TEST(PictureProbe, AlphaOfThirtyTwoBitBitmaps) {
    const Bytes mixed = bitmap32({255, 0, 128, 255});
    AlphaCoverage a = bitmapAlpha(mixed.data(), mixed.size());
    EXPECT_TRUE(a.hasAlpha);
    EXPECT_EQ(a.pixels, 4);
    EXPECT_EQ(a.notOpaque, 2);

    const Bytes unused = bitmap32({0, 0, 0, 0});
    EXPECT_FALSE(bitmapAlpha(unused.data(), unused.size()).hasAlpha) << "an all-zero fourth byte is unused";
    EXPECT_EQ(bitmapAlpha(unused.data(), unused.size()).notOpaque, 0);

    Bytes masked = bitmap32({0, 0, 0, 0}, bmpw::HeaderKind::V3);  // bit fields without an alpha mask
    EXPECT_FALSE(bitmapAlpha(masked.data(), masked.size()).hasAlpha);
    const uint8_t alphaMask[4] = {0, 0, 0, 0xFF};
    std::memcpy(masked.data() + 14 + 52, alphaMask, 4);
    a = bitmapAlpha(masked.data(), masked.size());
    EXPECT_TRUE(a.hasAlpha);
    EXPECT_EQ(a.notOpaque, 4) << "a mask makes zeros transparent";

    Bytes shortFile = bitmap32({0, 255, 0, 255});
    shortFile.resize(shortFile.size() - 1);
    EXPECT_FALSE(bitmapAlpha(shortFile.data(), shortFile.size()).hasAlpha);
    Bytes huge = bitmap32({0, 255});
    huge[18] = huge[19] = huge[20] = 0xFF;  // width near 2^24 pixels, far past the file
    EXPECT_FALSE(bitmapAlpha(huge.data(), huge.size()).hasAlpha);
}

TEST(PictureProbe, OtherFormatsAndTextureMemory) {
    const std::pair<Bytes, const char*> cases[] = {
        {text("\x89PNG\r\n\x1a\n...."), "PNG"}, {Bytes{0xFF, 0xD8, 0xFF, 0xE0}, "JPEG"}, {text("GIF89a"), "GIF"},
        {text("RIFF\0\0\0\0WEBPVP8 "s), "WebP"}, {text("II*\0"s), "TIFF"},
    };
    for (const auto& [bytes, name] : cases) {
        const char* found = otherPictureFormat(bytes.data(), bytes.size());
        ASSERT_NE(found, nullptr) << name;
        EXPECT_STREQ(found, name);
    }
    const Bytes bmp = bitmap32({255});
    EXPECT_EQ(otherPictureFormat(bmp.data(), bmp.size()), nullptr);
    EXPECT_EQ(otherPictureFormat(nullptr, 0), nullptr);
    EXPECT_EQ(textureBytes(4096, 4096), uint64_t{4096} * 4096 * 4 * 4 / 3);
    EXPECT_EQ(textureBytes(-1, 5), 0u);
}

}  // namespace
