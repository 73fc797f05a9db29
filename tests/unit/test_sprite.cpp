// Sprite arithmetic that needs no GL: texture rectangles of cut sprites,
// collision boxes, the transparency test, created sprites and pixel bounds.
#include "engine/sprite.h"

#include <gtest/gtest.h>

#include "engine/font.h"
#include "engine/graphics_report.h"

namespace {

// A bitmap record as creation fills it, without a texture behind it.
s_bitmap sheet(int width, int height)
{
    s_bitmap b = {};
    b.width = b.texwidth = width;
    b.height = b.texheight = height;
    b.texture = 77;
    return b;
}

// Records stay registered by address, so they must outlive each test.
s_sprite sprites[8];

class Sprites : public ::testing::Test {
protected:
    void SetUp() override { VXE_FlushGraphics(); }
    void TearDown() override { VXE_FlushGraphics(); }
};

}  // namespace

TEST_F(Sprites, CuttingGivesTheTextureRectangleAndADefaultBox)
{
    s_sprite &s = sprites[0];
    VXE_GetSprite(8, 0, 8, 8, sheet(32, 16), &s);
    EXPECT_FLOAT_EQ(s.s0, 0.25f);
    EXPECT_FLOAT_EQ(s.t0, 0.0f);
    EXPECT_FLOAT_EQ(s.s1, 0.5f);
    EXPECT_FLOAT_EQ(s.t1, 0.5f);
    EXPECT_EQ(s.width, 8);
    EXPECT_EQ(s.height, 8);
    EXPECT_EQ(s.texture, 77u);
    EXPECT_EQ(s.pixels, nullptr);
    EXPECT_EQ(s.bitmap, nullptr);
    EXPECT_EQ((std::vector<int>{s.colx1, s.coly1, s.colx2, s.coly2}), (std::vector<int>{0, 0, 8, 8}));
    EXPECT_EQ(vxe_numsprites, 1);
    EXPECT_EQ(vxe_spritelist[0], &s);

    // A tile of the block sheets: (4c, 4) of a 128x8 image.
    VXE_GetSprite(12, 4, 4, 4, sheet(128, 8), &sprites[1]);
    EXPECT_FLOAT_EQ(sprites[1].s0, 12.0f / 128);
    EXPECT_FLOAT_EQ(sprites[1].t0, 0.5f);
    EXPECT_FLOAT_EQ(sprites[1].s1, 16.0f / 128);
    EXPECT_FLOAT_EQ(sprites[1].t1, 1.0f);

    // Cut from the empty record a failed load leaves: size 0, nothing to draw.
    s_bitmap empty = {};
    VXE_GetSprite(0, 0, 0, 0, empty, &sprites[2]);
    EXPECT_EQ(sprites[2].width, 0);
    EXPECT_EQ(sprites[2].s1, 0.0f);
    EXPECT_EQ(sprites[2].texture, 0u);
}

TEST(SpriteCollision, BoxesOverlapOnlyWithPositiveArea)
{
    EXPECT_EQ(VXE_CheckBoxCollision(0, 0, 10, 10, 10, 0, 5, 5), 0);  // touching edges
    EXPECT_EQ(VXE_CheckBoxCollision(0, 0, 10, 10, 9, 9, 5, 5), 1);
    EXPECT_EQ(VXE_CheckBoxCollision(0, 0, 10, 10, 0, 10, 5, 5), 0);
    EXPECT_EQ(VXE_CheckBoxCollision(0, 0, 10, 10, 2, 2, 3, 3), 1);  // one inside the other

    s_sprite a = {}, b = {};
    a.colx2 = a.coly2 = b.colx2 = b.coly2 = 8;
    EXPECT_EQ(VXE_CheckSpriteCollision(0, 0, a, 8, 0, b), 0);
    EXPECT_EQ(VXE_CheckSpriteCollision(0, 0, a, 7, 7, b), 1);

    // Boxes offset inside the sprites: (2, 2)-(6, 6) on both.
    EXPECT_EQ(VXE_SetSpriteCollisionBox(&a, 2, 2, 6, 6), 1);
    VXE_SetSpriteCollisionBox(&b, 2, 2, 6, 6);
    EXPECT_EQ(VXE_CheckSpriteCollision(0, 0, a, 4, 4, b), 0);
    EXPECT_EQ(VXE_CheckSpriteCollision(0, 0, a, 3, 3, b), 1);
}

TEST(SpriteTransparency, MatchesTheColourKey)
{
    EXPECT_EQ(VXE_CheckSpriteTransparency(0xFF00FF), 1);
    EXPECT_EQ(VXE_CheckSpriteTransparency((int)0x80F10FF1), 1);
    EXPECT_EQ(VXE_CheckSpriteTransparency(0xF000FF), 0);  // red exactly 240
    EXPECT_EQ(VXE_CheckSpriteTransparency(0xFF10FF), 0);  // green 16
    EXPECT_EQ(VXE_CheckSpriteTransparency(0), 0);
}

TEST_F(Sprites, CreatedSpriteOwnsClearedPixelsAndIsReleasedOnce)
{
    s_sprite &s = sprites[0];
    VXE_CreateSprite(4, 2, &s);
    ASSERT_NE(s.pixels, nullptr);
    EXPECT_EQ(s.texture, 0u);
    EXPECT_EQ(vxe_numsprites, 1);
    EXPECT_EQ((std::vector<int>{s.colx1, s.coly1, s.colx2, s.coly2}), (std::vector<int>{0, 0, 4, 2}));

    // Its bitmap view shares the pixel memory.
    s_bitmap view = VXE_GetBitmapFromSprite(s);
    EXPECT_EQ(view.pixels, s.pixels);
    EXPECT_EQ(view.size, 4 * 2 * 4);
    EXPECT_EQ(VXE_GetPixel(3, 1, view), 0);
    VXE_DrawPixel(3, 1, 0x11223344, view);
    EXPECT_EQ(VXE_GetPixel(3, 1, view), 0x11223344);
    const unsigned char *p = s.pixels + (1 * 4 + 3) * 4;
    EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}), (std::vector<int>{0x22, 0x33, 0x44, 0x11}));

    VXE_ClearSprite(s);
    EXPECT_EQ(VXE_GetPixel(3, 1, view), 0);

    VXE_DeleteSprite(&s);
    EXPECT_EQ(s.pixels, nullptr);
    VXE_DeleteSprite(&s);  // a second release does nothing
}

TEST(BitmapPixels, AccessOutsideOrWithoutPixelMemoryDoesNothing)
{
    unsigned char memory[2 * 2 * 4] = {};
    s_bitmap b = {};
    b.width = b.height = b.texwidth = b.texheight = 2;
    b.numpixels = 4;
    b.size = 16;
    b.pixels = memory;
    VXE_DrawPixel(0, 0, (int)0xAABBCCDD, b);
    for (auto xy : {std::pair<int, int>{-1, 0}, {2, 0}, {0, -1}, {0, 2}}) {
        VXE_DrawPixel(xy.first, xy.second, -1, b);
        EXPECT_EQ(VXE_GetPixel(xy.first, xy.second, b), 0);
    }
    for (int i = 4; i < 16; i++)
        EXPECT_EQ(memory[i], 0) << "byte " << i;
    EXPECT_EQ(VXE_GetPixel(0, 0, b), (int)0xAABBCCDD);
    // Row-major with the image width: (1, 1) is the last pixel.
    VXE_DrawPixel(1, 1, 0x01020304, b);
    EXPECT_EQ(memory[12], 0x02);

    b.pixels = nullptr;
    EXPECT_EQ(VXE_GetPixel(0, 0, b), 0);
    VXE_DrawPixel(0, 0, 1, b);
}
