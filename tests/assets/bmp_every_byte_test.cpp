// The decoder hands out pictures it did not clear first, so every layout must
// write every byte of every row itself. Each picture is decoded twice into
// memory that held a different pattern just before (the allocator gives a
// block of the same size straight back); a byte left unwritten would show
// the old pattern and the two results would differ.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "bmp_test_util.h"

using namespace bmptest;

namespace {

// Allocates a block of `size` bytes, fills it with `pattern` and frees it.
void leaveInHeap(size_t size, int pattern) {
    void* block = std::malloc(size);
    ASSERT_NE(block, nullptr);
    std::memset(block, pattern, size);
    volatile uint8_t keep = static_cast<uint8_t*>(block)[size / 2];
    (void)keep;
    std::free(block);
}

std::vector<uint8_t> decodeOver(const std::vector<uint8_t>& file, size_t pictureBytes, int pattern) {
    leaveInHeap(pictureBytes, pattern);
    DibResult r = decodeDib(file.data(), file.size());
    EXPECT_TRUE(r.image);
    return r.image ? std::vector<uint8_t>(r.image->data.begin(), r.image->data.end()) : std::vector<uint8_t>{};
}

TEST(BmpEveryByte, EveryLayoutWritesEveryByteOfThePicture) {
    struct Layout {
        int bits;
        Encoding encoding;
        bool topDown;
    };
    const Layout layouts[] = {
        {1, Encoding::Plain, false},  {4, Encoding::Plain, false},     {8, Encoding::Plain, false},
        {4, Encoding::Rle, false},    {8, Encoding::Rle, false},       {16, Encoding::Plain, false},
        {24, Encoding::Plain, false}, {24, Encoding::Plain, true},     {32, Encoding::Plain, false},
        {16, Encoding::BitFields, false}, {32, Encoding::BitFields, false},
    };
    // Widths around the vector converters' steps (4 and 8 pixels, with tails).
    for (int width : {1, 2, 3, 5, 6, 7, 11, 12, 13, 19, 33}) {
        for (const Layout& layout : layouts) {
            SCOPED_TRACE(::testing::Message() << "width " << width << ", " << layout.bits << " bits, encoding "
                                              << static_cast<int>(layout.encoding));
            const int height = 3;
            const bmpw::IndexedPicture indexed = bmptest::patternPicture(width, height, 1 << std::min(layout.bits, 4));
            BmpOptions options;
            options.bitsPerPixel = layout.bits;
            options.encoding = layout.encoding;
            options.topDown = layout.topDown;
            const std::vector<uint8_t> file =
                layout.bits <= 8 ? bmpw::writeBmp(indexed, options)
                                 : bmpw::writeBmp(bmpw::RgbPicture{width, height, bmptest::expand(indexed)}, options);
            const size_t pictureBytes = size_t(width) * height * 3;
            const std::vector<uint8_t> overZeros = decodeOver(file, pictureBytes, 0x00);
            const std::vector<uint8_t> overOnes = decodeOver(file, pictureBytes, 0xFF);
            ASSERT_EQ(overZeros.size(), pictureBytes);
            EXPECT_EQ(overZeros, overOnes);
        }
    }
}

}  // namespace
