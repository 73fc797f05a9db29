// Sprite and bitmap arithmetic that needs no GL: the texture rectangle of a
// cut sprite, collisions at their edges, pixel access at its bounds, and
// the font marker scan over pictures made in memory (each marker starts a
// glyph, a marker on glyph 0's own column is no edge, and more markers than
// the font has glyphs stay inside the picture).
#include "engine/graphics/font.h"
#include "engine/graphics/sprite.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

using Ints = std::vector<int>;

// A cut sprite's texture rectangle and default collision box; the empty
// record a failed load leaves has no size to divide by.
TEST(Sprite, CuttingGivesTheTextureRectangleAndADefaultBox)
{
    static s_sprite s, fromempty;  // registered by address
    s_bitmap sheet = {};
    sheet.width = sheet.texwidth = 32;
    sheet.height = sheet.texheight = 16;
    sheet.texture = 77;
    VXE_GetSprite(8, 4, 8, 12, sheet, &s);
    VXE_GetSprite(0, 0, 0, 0, s_bitmap{}, &fromempty);
    EXPECT_EQ((std::vector<float>{s.s0, s.t0, s.s1, s.t1, fromempty.s0, fromempty.s1, fromempty.t1}),
              (std::vector<float>{0.25f, 0.25f, 0.5f, 1.0f, 0, 0, 0}));
    EXPECT_EQ((Ints{s.width, s.height, (int)s.texture, s.colx1, s.coly1, s.colx2, s.coly2}),
              (Ints{8, 12, 77, 0, 0, 8, 12}));
}

// Boxes that only touch do not collide; sprites compare their boxes (2, 2)-(6, 6).
TEST(Sprite, CollisionNeedsAPositiveOverlap)
{
    const int boxes[][4] = {{10, 0, 5, 0}, {-5, 0, 5, 0}, {0, 10, 5, 0}, {0, -5, 5, 0}, {9, 9, 5, 1}, {2, 2, 3, 1}};
    for (const auto &b : boxes)
        EXPECT_EQ(VXE_CheckBoxCollision(0, 0, 10, 10, b[0], b[1], b[2], b[2]), b[3]) << b[0] << "," << b[1];
    s_sprite a = {};
    VXE_SetSpriteCollisionBox(&a, 2, 2, 6, 6);
    EXPECT_EQ((Ints{VXE_CheckSpriteCollision(0, 0, a, 4, 4, a), VXE_CheckSpriteCollision(0, 0, a, -3, 3, a)}),
              (Ints{0, 1}));
}

// Pixels are stored R, G, B, A; access outside the image or without pixel memory does nothing.
TEST(BitmapPixels, ByteOrderAndBounds)
{
    unsigned char memory[2 * 2 * 4] = {};
    s_bitmap b = {};
    b.width = b.height = b.texwidth = b.texheight = 2;
    b.pixels = memory;
    for (auto xy : {std::pair<int, int>{-1, 0}, {2, 0}, {0, -1}, {0, 2}}) {
        VXE_DrawPixel(xy.first, xy.second, -1, b);
        EXPECT_EQ(VXE_GetPixel(xy.first, xy.second, b), 0);
    }
    VXE_DrawPixel(1, 1, 0x11223344, b);  // the last pixel
    EXPECT_EQ(Ints(memory, memory + 16), (Ints{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x22, 0x33, 0x44, 0x11}));
    EXPECT_EQ(VXE_GetPixel(1, 1, b), 0x11223344);
    b.pixels = nullptr;
    VXE_DrawPixel(1, 1, 1, b);
    EXPECT_EQ(VXE_GetPixel(1, 1, b), 0);
}

// The widths found in a picture two rows high whose row 0 has an opaque pixel at every '|'.
static Ints Scan(const std::string &row)
{
    std::vector<unsigned char> pixels(row.size() * 2 * 4, 0);
    for (size_t x = 0; x < row.size(); x++) pixels[x * 4 + 3] = row[x] == '|' ? 255 : 0;
    s_bitmap picture{};
    picture.width = (int)row.size();
    picture.height = 2;
    picture.pixels = pixels.data();
    unsigned char widths[VXE_FONTGLYPHS];
    return Ints(widths, widths + VXE_ScanFontMarkers(picture, widths));
}

TEST(FontMarkers, EachMarkerStartsAGlyphThatRunsToTheNext)
{
    // Glyph 0 is column 0, the space runs from column 1 to the first marker.
    const struct { const char *row; Ints widths; } rows[] = {
        {"....|...|...", {1, 3, 4, 4}}, {".....", {1, 4}}, {".||", {1, 0, 1, 1}},
        // Read as an edge, a marker in column 0 gave the space 0 - 1 = 255
        // columns and shifted every later glyph by one.
        {"|..|..", {1, 2, 3}}, {"|", {1, 0}},
    };
    for (const auto &r : rows) EXPECT_EQ(Scan(r.row), r.widths) << r.row;

    // Glyphs past the last slot share it and stay inside the picture.
    const Ints crowded = Scan("." + std::string(99, '|'));
    ASSERT_EQ(crowded.size(), 96u);
    EXPECT_EQ(crowded[95], 1);
    EXPECT_LE(std::accumulate(crowded.begin(), crowded.end(), 0), 100);
}
