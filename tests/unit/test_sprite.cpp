// Sprite and bitmap arithmetic that needs no GL: the texture rectangle of a
// cut sprite, collisions at their edges and pixel access at its bounds.
#include "engine/graphics/sprite.h"

#include <gtest/gtest.h>

using Ints = std::vector<int>;
using Floats = std::vector<float>;

TEST(Sprite, CuttingGivesTheTextureRectangleAndADefaultBox)
{
    static s_sprite s, fromempty;  // registered by address
    s_bitmap sheet = {};
    sheet.width = sheet.texwidth = 32;
    sheet.height = sheet.texheight = 16;
    sheet.texture = 77;
    VXE_GetSprite(8, 4, 8, 12, sheet, &s);
    EXPECT_EQ((Floats{s.s0, s.t0, s.s1, s.t1}), (Floats{0.25f, 0.25f, 0.5f, 1.0f}));
    EXPECT_EQ((Ints{s.width, s.height, (int)s.texture, s.colx1, s.coly1, s.colx2, s.coly2}),
              (Ints{8, 12, 77, 0, 0, 8, 12}));
    // The empty record a failed load leaves has no size to divide by.
    VXE_GetSprite(0, 0, 0, 0, s_bitmap{}, &fromempty);
    EXPECT_EQ((Floats{fromempty.s0, fromempty.s1, fromempty.t1}), (Floats{0, 0, 0}));
}

// Boxes that only touch do not collide; sprites compare their boxes (2, 2)-(6, 6).
TEST(Sprite, CollisionNeedsAPositiveOverlap)
{
    const struct { int x, y, w, collide; } boxes[] = {
        {10, 0, 5, 0}, {-5, 0, 5, 0}, {0, 10, 5, 0}, {0, -5, 5, 0}, {9, 9, 5, 1}, {2, 2, 3, 1}};
    for (const auto &b : boxes)
        EXPECT_EQ(VXE_CheckBoxCollision(0, 0, 10, 10, b.x, b.y, b.w, b.w), b.collide) << b.x << "," << b.y;
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
    EXPECT_EQ(VXE_GetPixel(1, 1, b), 0);
    VXE_DrawPixel(1, 1, 1, b);
}
