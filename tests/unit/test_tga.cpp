// TGA decoding over files written byte by byte: every layout the decoder
// reads, the colour key, and hostile files.
#include "engine/graphics/tga.h"

#include <gtest/gtest.h>

#include "engine/graphics/sprite.h"
#include "tests/unit/test_tga_files.h"

namespace {

using Pixels = std::vector<uint32_t>;
const uint32_t O = 0xFF000000;  // opaque

// The pixels top-down as 0xAARRGGBB; none when the file is refused.
Pixels decode(const TgaFile &file, std::string *error)
{
    s_tgaimage image;
    Pixels argb;
    int ok = VXE_DecodeTGA(file.bytes.data(), file.bytes.size(), &image);
    EXPECT_EQ(ok, image.pixels != nullptr);
    for (int i = 0; ok && i < image.width * image.height; i++) {
        const unsigned char *p = image.pixels + i * 4;
        argb.push_back((uint32_t)p[3] << 24 | p[0] << 16 | p[1] << 8 | p[2]);
    }
    *error = image.error;
    VXE_FreeTGA(&image);
    return argb;
}

// Pixels 1 to 6 of a 3x2 image in file order: a mix-up of width and height
// or of the row step shows where a square image would hide it.
TgaFile sixpixels(int descriptor)
{
    return tga(2, 3, 2, 24, descriptor).raw({1, 0, 0, 2, 0, 0, 3, 0, 0, 4, 0, 0, 5, 0, 0, 6, 0, 0});
}

}  // namespace

TEST(TgaDecode, EveryLayoutBecomesTopDownArgb)
{
    struct Case {
        const char *what;
        TgaFile file;
        Pixels expected;
    } cases[] = {
        {"bottom left", sixpixels(0x00), {O | 4, O | 5, O | 6, O | 1, O | 2, O | 3}},
        {"bottom right", sixpixels(0x10), {O | 6, O | 5, O | 4, O | 3, O | 2, O | 1}},
        {"top left", sixpixels(0x20), {O | 1, O | 2, O | 3, O | 4, O | 5, O | 6}},
        {"top right", sixpixels(0x30), {O | 3, O | 2, O | 1, O | 6, O | 5, O | 4}},
        // 5 bits a channel times 8, the top bit ignored.
        {"16-bit", tga(2, 3, 1, 16).u16(0x7C00).u16(0x83E0).u16(0x001F), {O | 0xF80000, O | 0xF800, O | 0xF8}},
        {"15-bit", tga(2, 2, 1, 15).u16(0x7C00).u16(0x801F), {O | 0xF80000, O | 0xF8}},
        {"32-bit", tga(2, 2, 1, 32).bgra(0x11223344).bgra(0x00AABBCC), {0x11223344, 0x00AABBCC}},
        {"grey", tga(3, 3, 1, 8).raw({0x00, 0x7F, 0xFF}), {O, O | 0x7F7F7F, O | 0xFFFFFF}},
        {"map from index 5", tga(1, 2, 1, 8, 0x20, 5, 2, 24).bgr(0x112233).bgr(0x445566).raw({6, 5}),
         {O | 0x445566, O | 0x112233}},
        {"16-bit map", tga(1, 2, 1, 8, 0x20, 0, 2, 16).u16(0x7C00).u16(0x801F).raw({1, 0}), {O | 0xF8, O | 0xF80000}},
        {"unused map", tga(2, 1, 1, 24, 0x20, 0, 2, 32).raw({9, 9, 9, 9, 9, 9, 9, 9}).bgr(0x123456), {O | 0x123456}},
        {"id field", tga(2, 1, 1, 24, 0x20, 0, 0, 0, 2).raw({'i', 'd'}).bgr(0x0A0B0C).raw({0, 'T'}), {O | 0x0A0B0C}},
        {"raw packets", tga(10, 2, 2, 24).u8(0x02).bgr(1).bgr(2).bgr(3).u8(0x00).bgr(4), {O | 1, O | 2, O | 3, O | 4}},
        // A run of 4 fills the bottom row right to left and starts the top one.
        {"row ends", tga(10, 3, 2, 24, 0x10).u8(0x83).bgr(7).u8(0x01).bgr(8).bgr(9),
         {O | 9, O | 8, O | 7, O | 7, O | 7, O | 7}},
        {"packed grey", tga(11, 3, 1, 8).raw({0x81, 0x40, 0x00, 0x80}), {O | 0x404040, O | 0x404040, O | 0x808080}},
        // Depth decides the decoding; the type only makes 8-bit pixels grey.
        {"16-bit grey type", tga(3, 1, 1, 16).u16(0x7FFF), {O | 0xF8F8F8}},
        {"24-bit map type", tga(1, 1, 1, 24, 0x20, 0, 1, 24).bgr(5).bgr(0x123456), {O | 0x123456}},
        {"packed map", tga(9, 3, 1, 8, 0x20, 0, 2, 24).bgr(1).bgr(2).raw({0x00, 1, 0x81, 0}), {O | 2, O | 1, O | 1}},
    };
    for (const Case &c : cases) {
        std::string error;
        EXPECT_EQ(decode(c.file, &error), c.expected) << c.what << ": " << error;
    }
}

// Loaded pixels and the sprite transparency test share one key: magenta and
// its neighbours whatever their alpha, but not red or blue of exactly 240,
// green of 16, or black.
TEST(TgaDecode, MagentaLikeColoursBecomeTransparent)
{
    const Pixels file = {0xFFFF00FF, 0x80F10FF5, 0xFFF00AF5, 0xFFF50AF0, 0xFFF510F5, 0};
    const Pixels keyed = {0, 0, 0xFFF00AF5, 0xFFF50AF0, 0xFFF510F5, 0};
    TgaFile f = tga(2, 6, 1, 32);
    for (uint32_t p : file)
        f.bgra(p);
    std::string error;
    EXPECT_EQ(decode(f, &error), keyed) << error;
    for (size_t i = 0; i < file.size(); i++)
        EXPECT_EQ(VXE_CheckSpriteTransparency((int)file[i]), file[i] != keyed[i]) << std::hex << file[i];
    EXPECT_EQ(decode(tga(2, 1, 1, 24).bgr(0xFF00FF), &error), Pixels{0});
}

TEST(TgaDecode, HostileFilesAreRefusedWithAReason)
{
    struct Case {
        TgaFile file;
        const char *reason;
    } cases[] = {
        {TgaFile{std::vector<uint8_t>(17)}, "header is truncated"}, {tga(2, 0, 4, 24), "image is empty (0x4)"},
        {tga(2, 4, 0, 24), "image is empty (4x0)"}, {tga(2, 65535, 1, 24), "image of 65535x1 is too large"},
        {tga(10, 8192, 8192, 24), "image of 8192x8192 is too large"},
        {tga(32, 1, 1, 24), "image type 32 is not supported"}, {tga(2, 1, 1, 12), "12 bits per pixel"},
        {tga(2, 1, 1, 24, 0x60), "interleaved"}, {tga(2, 1, 1, 24, 0x80), "interleaved"},
        {tga(2, 1, 1, 24, 0x20, 0, 0, 0, 200).bgr(1), "identification field runs past"},
        {tga(1, 1, 1, 8).u8(0), "no colour map"},
        {tga(1, 1, 1, 8, 0x20, 0, 100, 24).raw({1, 2, 3}), "colour map runs past"},
        {tga(1, 1, 1, 8, 0x20, 0, 1, 32).raw({1, 2, 3, 4, 0}), "entries of 32 bits"},
        {tga(1, 1, 1, 8, 0x20, 0, 2, 24).bgr(1).bgr(2).u8(2), "colour index 2 is outside"},
        {tga(1, 1, 1, 8, 0x20, 4, 1, 24).bgr(1).u8(3), "colour index 3 is outside"},
        {tga(9, 2, 1, 8, 0x20, 0, 1, 24).bgr(1).u8(0x81).u8(1), "colour index 1 is outside"},
        {tga(2, 2, 2, 24).bgr(1).bgr(2).bgr(3).u8(4).u8(4), "pixel data is truncated"},
        {tga(10, 2, 2, 24), "run-length data is truncated"},
        {tga(10, 4, 1, 24).u8(0x03).bgr(1).bgr(2), "run-length data is truncated"},
        {tga(10, 4, 1, 24).u8(0x80).bgr(1), "run-length data is truncated"},
        {tga(10, 2, 2, 24).u8(0x84).bgr(1), "packet overruns the image"},
    };
    for (const Case &c : cases) {
        std::string error;
        EXPECT_TRUE(decode(c.file, &error).empty()) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.reason << " / " << error;
    }
}
