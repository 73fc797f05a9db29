// TGA decoding over files written byte by byte: origins, pixel depths,
// colour maps, run-length packets, the colour key, and hostile files.
#include "engine/tga.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/unit/test_tga_files.h"

namespace {

struct Decoded {
    bool ok = false;
    int width = 0, height = 0;
    std::vector<uint32_t> argb;  // top-down, as 0xAARRGGBB
    std::string error;
};

Decoded decode(const TgaFile &file)
{
    Decoded d;
    s_tgaimage image;
    d.ok = VXE_DecodeTGA(file.bytes.data(), file.bytes.size(), &image);
    d.error = image.error;
    if (d.ok) {
        d.width = image.width;
        d.height = image.height;
        for (int i = 0; i < image.width * image.height; i++) {
            const unsigned char *p = image.pixels + i * 4;
            d.argb.push_back((uint32_t)p[3] << 24 | p[0] << 16 | p[1] << 8 | p[2]);
        }
    } else {
        EXPECT_EQ(image.pixels, nullptr);
    }
    VXE_FreeTGA(&image);
    return d;
}

using Pixels = std::vector<uint32_t>;

TgaHeader header(int type, int width, int height, int bpp, int descriptor = 0x20)
{
    TgaHeader h;
    h.type = type;
    h.width = width;
    h.height = height;
    h.bpp = bpp;
    h.descriptor = descriptor;
    return h;
}

}  // namespace

TEST(TgaDecode, EveryOriginBecomesTopDown)
{
    // The file's pixels A, B, C, D in file order, for each first-pixel corner.
    const uint32_t A = 0x102030, B = 0x405060, C = 0x708090, D = 0xA0B0C0;
    struct Case {
        int descriptor;
        Pixels expected;
    } cases[] = {
        {0x00, {C, D, A, B}},  // bottom left: the last row is the top one
        {0x10, {D, C, B, A}},  // bottom right
        {0x20, {A, B, C, D}},  // top left: file order
        {0x30, {B, A, D, C}},  // top right
    };
    for (const Case &c : cases) {
        TgaFile f = tgaheader(header(2, 2, 2, 24, c.descriptor));
        f.bgr(A).bgr(B).bgr(C).bgr(D);
        Decoded d = decode(f);
        ASSERT_TRUE(d.ok) << d.error;
        Pixels want;
        for (uint32_t p : c.expected)
            want.push_back(0xFF000000 | p);
        EXPECT_EQ(d.argb, want) << "descriptor " << c.descriptor;
    }
}

TEST(TgaDecode, NonSquareBottomUpKeepsRowsAndColumnsApart)
{
    // 3 wide, 2 high, bottom-left origin: a mix-up of width and height or of
    // the row step shows here where a square image would hide it.
    TgaFile f = tgaheader(header(2, 3, 2, 24, 0x00));
    f.bgr(1).bgr(2).bgr(3).bgr(4).bgr(5).bgr(6);
    Decoded d = decode(f);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.width, 3);
    EXPECT_EQ(d.height, 2);
    EXPECT_EQ(d.argb, (Pixels{0xFF000004, 0xFF000005, 0xFF000006, 0xFF000001, 0xFF000002, 0xFF000003}));
}

TEST(TgaDecode, PixelDepthsConvertToArgb)
{
    // 16 and 15 bits: 5 bits a channel times 8, top bit ignored, opaque.
    TgaFile f16 = tgaheader(header(2, 4, 1, 16));
    f16.u16(0x7FFF).u16(0x7C00).u16(0x83E0).u16(0x001F);
    Decoded d = decode(f16);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.argb, (Pixels{0xFFF8F8F8, 0xFFF80000, 0xFF00F800, 0xFF0000F8}));

    f16.bytes[16] = 15;  // 15 bits read the same words
    EXPECT_EQ(decode(f16).argb, d.argb);

    // 32 bits keep the file's alpha.
    TgaFile f32 = tgaheader(header(2, 2, 1, 32));
    f32.bgra(0x11223344).bgra(0x00AABBCC);
    d = decode(f32);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.argb, (Pixels{0x11223344, 0x00AABBCC}));

    // 8-bit grey repeats the byte in all three channels.
    TgaFile grey = tgaheader(header(3, 3, 1, 8));
    grey.raw({0x00, 0x7F, 0xFF});
    d = decode(grey);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.argb, (Pixels{0xFF000000, 0xFF7F7F7F, 0xFFFFFFFF}));
}

TEST(TgaDecode, ColourMapsOfEachEntrySizeAndFirstIndex)
{
    // 24-bit entries starting at index 5: pixel 5 is the first entry.
    TgaHeader h = header(1, 3, 1, 8);
    h.maptype = 1;
    h.mapfirst = 5;
    h.maplength = 3;
    h.mapbits = 24;
    TgaFile f = tgaheader(h);
    f.bgr(0x112233).bgr(0x445566).bgr(0x778899);
    f.raw({7, 5, 6});
    Decoded d = decode(f);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.argb, (Pixels{0xFF778899, 0xFF112233, 0xFF445566}));

    // 16- and 15-bit entries convert like 16-bit pixels.
    for (int bits : {15, 16}) {
        h = header(1, 2, 1, 8);
        h.maptype = 1;
        h.maplength = 2;
        h.mapbits = bits;
        f = tgaheader(h);
        f.u16(0x7C00).u16(0x801F);
        f.raw({1, 0});
        d = decode(f);
        ASSERT_TRUE(d.ok) << d.error;
        EXPECT_EQ(d.argb, (Pixels{0xFF0000F8, 0xFFF80000})) << bits << "-bit entries";
    }

    // A map on a true-colour image is stepped over, whatever its entry size.
    h = header(2, 1, 1, 24);
    h.maptype = 1;
    h.maplength = 2;
    h.mapbits = 32;
    f = tgaheader(h);
    f.raw({9, 9, 9, 9, 9, 9, 9, 9});
    f.bgr(0x123456);
    d = decode(f);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.argb, Pixels{0xFF123456});
}

TEST(TgaDecode, IdentificationFieldAndTrailingBytesAreSkipped)
{
    TgaHeader h = header(2, 1, 1, 24);
    h.idlength = 3;
    TgaFile f = tgaheader(h);
    f.raw({'a', 'b', 'c'}).bgr(0x0A0B0C).raw({0, 0, 0, 0, 'T', 'R', 'U', 'E', 'V', 'I', 'S', 'I', 'O', 'N'});
    Decoded d = decode(f);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.argb, Pixels{0xFF0A0B0C});
}

TEST(TgaDecode, RunLengthPackets)
{
    // One run of 4 copies.
    TgaFile run = tgaheader(header(10, 2, 2, 24));
    run.u8(0x83).bgr(0x123456);
    Decoded d = decode(run);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.argb, Pixels(4, 0xFF123456));

    // A raw packet of 3 and a raw packet of 1 (raw headers have the top bit
    // clear).
    TgaFile rawpackets = tgaheader(header(10, 2, 2, 24));
    rawpackets.u8(0x02).bgr(1).bgr(2).bgr(3).u8(0x00).bgr(4);
    d = decode(rawpackets);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.argb, (Pixels{0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004}));

    // Packets crossing row ends in a bottom-right image, 3x2: a run of 4
    // fills the first file row (the bottom one, right to left) and the first
    // pixel of the next; a raw packet of 2 finishes that row.
    TgaFile crossing = tgaheader(header(10, 3, 2, 24, 0x10));
    crossing.u8(0x83).bgr(7).u8(0x01).bgr(8).bgr(9);
    d = decode(crossing);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.argb, (Pixels{0xFF000009, 0xFF000008, 0xFF000007,   // top row
                              0xFF000007, 0xFF000007, 0xFF000007}));

    // Packed grey and packed colour-mapped pixels.
    TgaFile grey = tgaheader(header(11, 3, 1, 8));
    grey.u8(0x81).u8(0x40).u8(0x00).u8(0x80);
    d = decode(grey);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.argb, (Pixels{0xFF404040, 0xFF404040, 0xFF808080}));

    TgaHeader h = header(9, 3, 1, 8);
    h.maptype = 1;
    h.maplength = 2;
    h.mapbits = 24;
    TgaFile mapped = tgaheader(h);
    mapped.bgr(0xAA0000).bgr(0x00BB00);
    mapped.u8(0x00).u8(1).u8(0x81).u8(0);
    d = decode(mapped);
    ASSERT_TRUE(d.ok) << d.error;
    EXPECT_EQ(d.argb, (Pixels{0xFF00BB00, 0xFFAA0000, 0xFFAA0000}));
}

TEST(TgaDecode, MagentaLikeColoursBecomeTransparent)
{
    struct Case {
        uint32_t file;  // 0xAARRGGBB written as 32-bit
        uint32_t expected;
    } cases[] = {
        {0xFFFF00FF, 0},           // magenta
        {0xFFF10AF5, 0},           // a neighbour
        {0x80FF00FF, 0},           // whatever the alpha
        {0xFFF00AF5, 0xFFF00AF5},  // red exactly 240 stays
        {0xFFF50AF0, 0xFFF50AF0},  // blue exactly 240 stays
        {0xFFF50FF5, 0},           // green 15 is still keyed
        {0xFFF510F5, 0xFFF510F5},  // green 16 is not
    };
    TgaFile f = tgaheader(header(2, 7, 1, 32));
    for (const Case &c : cases)
        f.bgra(c.file);
    Decoded d = decode(f);
    ASSERT_TRUE(d.ok) << d.error;
    for (size_t i = 0; i < d.argb.size(); i++)
        EXPECT_EQ(d.argb[i], cases[i].expected) << std::hex << cases[i].file;

    // The key applies to 24-bit pixels and colour-map entries too.
    TgaFile f24 = tgaheader(header(2, 1, 1, 24));
    f24.bgr(0xFF00FF);
    EXPECT_EQ(decode(f24).argb, Pixels{0});

    EXPECT_EQ(ConvertTransp((int)0xFFFF00FF), 0);
    EXPECT_EQ(ConvertTransp(0x12345678), 0x12345678);
}

TEST(TgaDecode, HostileFilesAreRefusedWithAReason)
{
    auto withmap = [](int type, int width, int first, int length, int bits) {
        TgaHeader h = header(type, width, 1, 8);
        h.maptype = 1;
        h.mapfirst = first;
        h.maplength = length;
        h.mapbits = bits;
        return tgaheader(h);
    };
    struct Case {
        const char *what;
        TgaFile file;
    };
    std::vector<Case> cases;
    cases.push_back({"empty file", TgaFile()});
    TgaFile shortheader = tgaheader(header(2, 1, 1, 24));
    shortheader.bytes.resize(17);
    cases.push_back({"header cut short", shortheader});
    cases.push_back({"width 0", tgaheader(header(2, 0, 4, 24))});
    cases.push_back({"height 0", tgaheader(header(2, 4, 0, 24))});
    cases.push_back({"absurd width", tgaheader(header(2, 65535, 1, 24))});
    cases.push_back({"absurd pixel count", tgaheader(header(10, 8192, 8192, 24))});
    cases.push_back({"no image data type", tgaheader(header(0, 1, 1, 24))});
    cases.push_back({"compressed type 32", tgaheader(header(32, 1, 1, 24))});
    cases.push_back({"12 bits per pixel", tgaheader(header(2, 1, 1, 12))});
    cases.push_back({"16-bit grey", tgaheader(header(3, 1, 1, 16))});
    cases.push_back({"16-bit colour indices", tgaheader(header(1, 1, 1, 16))});
    cases.push_back({"interleaved rows", tgaheader(header(2, 1, 1, 24, 0x60))});
    cases.push_back({"four-way interleave", tgaheader(header(2, 1, 1, 24, 0x80))});
    TgaHeader idlong = header(2, 1, 1, 24);
    idlong.idlength = 200;
    cases.push_back({"identification field longer than the file", tgaheader(idlong)});
    cases.push_back({"colour-mapped without a map", tgaheader(header(1, 1, 1, 8)).u8(0)});
    cases.push_back({"colour map past the end", withmap(1, 1, 0, 100, 24).raw({1, 2, 3})});
    cases.push_back({"32-bit map entries in use", withmap(1, 1, 0, 1, 32).raw({1, 2, 3, 4, 0})});
    cases.push_back({"index beyond the map", withmap(1, 1, 0, 2, 24).bgr(1).bgr(2).u8(2)});
    cases.push_back({"index below the map's first", withmap(1, 1, 4, 1, 24).bgr(1).u8(3)});
    cases.push_back({"packed index beyond the map", withmap(9, 2, 0, 1, 24).bgr(1).u8(0x81).u8(1)});
    TgaFile truncated = tgaheader(header(2, 2, 2, 24));
    truncated.bgr(1).bgr(2).bgr(3).u8(4).u8(4);
    cases.push_back({"raw data one byte short", truncated});
    cases.push_back({"packed data missing", tgaheader(header(10, 2, 2, 24))});
    cases.push_back({"packed run data cut", tgaheader(header(10, 2, 1, 24)).u8(0x81).u8(1)});
    cases.push_back({"packed raw packet cut", tgaheader(header(10, 4, 1, 24)).u8(0x03).bgr(1).bgr(2)});
    cases.push_back({"too few packets", tgaheader(header(10, 4, 1, 24)).u8(0x80).bgr(1)});
    cases.push_back({"run overruns the image", tgaheader(header(10, 2, 2, 24)).u8(0x84).bgr(1)});
    cases.push_back({"raw packet overruns the image",
                     tgaheader(header(10, 1, 1, 24)).u8(0x01).bgr(1).bgr(2)});

    for (const Case &c : cases) {
        Decoded d = decode(c.file);
        EXPECT_FALSE(d.ok) << c.what;
        EXPECT_FALSE(d.error.empty()) << c.what;
    }
}
