// Bitmaps and sprites on a real GL context (Mesa under Xvfb), loaded from a
// mounted archive and read back from a framebuffer with glReadPixels.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include "engine/bitmap.h"
#include "engine/draw2d.h"
#include "engine/framebuffer.h"
#include "engine/graphics_report.h"
#include "engine/sprite.h"
#include "engine/video.h"
#include "tests/gl/test_bitmap_archive.h"
#include "tests/unit/test_tga_files.h"

namespace {

const int W = 64, H = 48;
const uint32_t RED = 0xFF0000, GREEN = 0x00FF00, BLUE = 0x0000FF, WHITE = 0xFFFFFF;
const uint32_t MAGENTA = 0xFF00FF;
int target = -1;

// 4x2, stored bottom-up: the file's first row is the picture's lower one.
std::vector<uint8_t> picture()
{
    TgaHeader h;
    h.width = 4;
    h.height = 2;
    h.descriptor = 0x00;
    TgaFile f = tgaheader(h);
    f.bgr(0x102030).bgr(0x405060).bgr(MAGENTA).bgr(0x708090);  // lower row
    f.bgr(RED).bgr(GREEN).bgr(BLUE).bgr(WHITE);                 // upper row
    return f.bytes;
}

// 3x2 with alpha: a transparent texel in the middle of the top row.
std::vector<uint8_t> spriteimage()
{
    TgaHeader h;
    h.width = 3;
    h.height = 2;
    h.bpp = 32;
    TgaFile f = tgaheader(h);
    f.bgra(0xFFFF0000).bgra(0x0000FF00).bgra(0xFF0000FF);
    f.bgra(0xFFFFFFFF).bgra(0xFFFF00FF).bgra(0xFF00FF00);  // magenta is keyed out
    return f.bytes;
}

struct BitmapEnvironment : testing::Environment {
    void SetUp() override
    {
        VXE_InitVideo(W, H, 0);
        target = VXE_CreateFrameBuffer(W, H, 0);
        std::vector<uint8_t> bad = picture();
        bad.resize(bad.size() - 1);
        ASSERT_TRUE(mountarchive({{"pic.tga", picture()},
                                  {"a.b.tga", picture()},
                                  {"bad.tga", bad},
                                  {"sprite.tga", spriteimage()}}));
    }
    void TearDown() override { VXE_CloseVideo(); }
};

const testing::Environment *const environment =
    testing::AddGlobalTestEnvironment(new BitmapEnvironment);

// 0x00RRGGBB of pixel (x, y) of the target, y from the top; alpha apart.
uint32_t rgb(int x, int y)
{
    unsigned char p[4];
    glReadPixels(x, H - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (uint32_t)p[0] << 16 | p[1] << 8 | p[2];
}

int alpha(int x, int y)
{
    unsigned char p[4];
    glReadPixels(x, H - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return p[3];
}

// A fresh target filled with a known colour (0xAABBGGRR).
void clearto(int color)
{
    VXE_SetFrameBuffer(target);
    VXE_ClearFrameBuffer(color);
}

std::string load(int (*loader)(const char *, s_bitmap *), const char *name, s_bitmap *b, int *ok)
{
    testing::internal::CaptureStdout();
    *ok = loader(name, b);
    return testing::internal::GetCapturedStdout();
}

// Records stay registered by address: they live as long as the program.
s_bitmap bitmaps[8];
s_sprite sprites[4];

}  // namespace

TEST(Bitmap, LoadedPictureDrawsWithItsOwnPixels)
{
    s_bitmap &b = bitmaps[0];
    int before = vxe_numbitmaps, ok = 0;
    std::string out = load(VXE_LoadBitmap, "pic.tga", &b, &ok);
    ASSERT_EQ(ok, 1) << out;
    EXPECT_EQ(out.rfind("Loading TGA image.", 0), 0u) << out;
    EXPECT_NE(out.find("width: 4, height: 2, bpp: 24\n"), std::string::npos) << out;
    EXPECT_EQ(vxe_numbitmaps, before + 1);
    EXPECT_EQ(vxe_bitmaplist[before], &b);
    EXPECT_EQ(b.size, 4 * 2 * 4);
    EXPECT_FLOAT_EQ(b.s1, (float)(4 * 0.99999) / 4);
    EXPECT_FLOAT_EQ(b.t1, (float)(2 * 0.9999) / 2);
    EXPECT_EQ(VXE_GetPixel(0, 0, b), (int)(0xFF000000 | RED));
    EXPECT_EQ(VXE_GetPixel(0, 1, b), (int)0xFF102030);  // the file's first pixel
    EXPECT_EQ(VXE_GetPixel(2, 1, b), 0);                // keyed magenta

    clearto(0xFF808080);
    VXE_DrawBitmap(10, 5, b);
    uint32_t top[] = {RED, GREEN, BLUE, WHITE}, bottom[] = {0x102030, 0x405060, 0, 0x708090};
    for (int x = 0; x < 4; x++) {
        EXPECT_EQ(rgb(10 + x, 5), top[x]) << "x " << x;
        EXPECT_EQ(rgb(10 + x, 6), bottom[x]) << "x " << x;
    }
    // Bitmaps draw with the alpha test off: the keyed texel replaces the
    // background with transparent black.
    EXPECT_EQ(alpha(12, 6), 0);
    EXPECT_EQ(rgb(9, 5), 0x808080u);
    EXPECT_EQ(rgb(14, 5), 0x808080u);
    EXPECT_EQ(rgb(10, 7), 0x808080u);
}

TEST(Bitmap, ExtensionDecidesTheFormatInAnyCase)
{
    int ok = 0, i = 5;
    for (const char *name : {"PIC.TGA", "Pic.Tga", "a.b.Tga"}) {
        s_bitmap &b = bitmaps[i++];
        std::string out = load(VXE_LoadBitmap, name, &b, &ok);
        EXPECT_EQ(ok, 1) << name << ": " << out;
        EXPECT_EQ(b.width, 4) << name;
    }
    int before = vxe_numbitmaps;
    for (const char *name : {"pic.bmp", "pic", ".tga", "pic.tgax"}) {
        s_bitmap b = {};
        std::string out = load(VXE_LoadBitmap, name, &b, &ok);
        EXPECT_EQ(ok, 0) << name;
        EXPECT_EQ(out, "File format not supported.\n") << name;
        EXPECT_EQ(b.pixels, nullptr);
    }
    EXPECT_EQ(vxe_numbitmaps, before);
}

TEST(Bitmap, MissingOrBrokenFilesLeaveTheRecordEmpty)
{
    int before = vxe_numbitmaps, ok = 1;
    for (const char *name : {"missing.tga", "bad.tga"}) {
        s_bitmap b = {};
        std::string out = load(VXE_LoadBitmap, name, &b, &ok);
        EXPECT_EQ(ok, 0) << name;
        EXPECT_NE(out.find(std::string("- ERROR: Image ") + name + " not loaded.\n"), std::string::npos)
            << out;
        EXPECT_EQ(b.pixels, nullptr);
        EXPECT_EQ(b.texture, 0u);
        EXPECT_EQ(b.width, 0);
    }
    EXPECT_EQ(vxe_numbitmaps, before);
}

TEST(Bitmap, PixelChangesReachTheScreenAfterAnUpdate)
{
    s_bitmap &b = bitmaps[1];
    ASSERT_EQ(VXE_CreateBitmap(2, 1, &b), 1);

    // Stored unchanged: the lowest byte is red.
    VXE_ClearBitmapWithColor(b, 0x11223344);
    EXPECT_EQ((std::vector<int>{b.pixels[0], b.pixels[1], b.pixels[2], b.pixels[3]}),
              (std::vector<int>{0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ(VXE_GetPixel(1, 0, b), 0x11443322);
    clearto(0);
    VXE_DrawBitmap(0, 0, b);
    EXPECT_EQ(rgb(1, 0), 0x443322u);
    EXPECT_EQ(alpha(1, 0), 0x11);

    VXE_DrawPixel(1, 0, (int)0xFF00FF00, b);
    VXE_DrawBitmap(0, 0, b);
    EXPECT_EQ(rgb(1, 0), 0x443322u) << "the texture changes only on update";
    VXE_UpdateBitmap(b);
    VXE_DrawBitmap(0, 0, b);
    EXPECT_EQ(rgb(1, 0), GREEN);

    VXE_ClearBitmap(b);
    EXPECT_EQ(VXE_GetPixel(0, 0, b), 0);
    VXE_DrawBitmap(0, 0, b);
    EXPECT_EQ(alpha(0, 0), 0);
}

TEST(Bitmap, ZoomedScaledAndRotatedDrawingPlaceThePicture)
{
    s_bitmap &b = bitmaps[2];
    int ok = 0;
    load(VXE_LoadBitmap, "pic.tga", &b, &ok);
    ASSERT_EQ(ok, 1);

    clearto(0xFF000000);
    VXE_DrawZoomedBitmap(0, 0, 200.0f, b);  // each texel becomes 2x2
    EXPECT_EQ(rgb(0, 0), RED);
    EXPECT_EQ(rgb(1, 1), RED);
    EXPECT_EQ(rgb(2, 0), GREEN);
    EXPECT_EQ(rgb(7, 3), 0x708090u);
    EXPECT_EQ(rgb(8, 0), 0u);

    clearto(0xFF000000);
    VXE_DrawScaledBitmap(0, 0, 4, 4, b);
    EXPECT_EQ(rgb(0, 1), RED);
    EXPECT_EQ(rgb(0, 2), 0x102030u);

    clearto(0xFF000000);
    VXE_DrawRotatedBitmap(20, 20, b, 180.0f);  // upside down about its centre
    EXPECT_EQ(rgb(23, 21), RED);
    EXPECT_EQ(rgb(20, 21), WHITE);
    EXPECT_EQ(rgb(20, 20), 0x708090u);
}

TEST(Bitmap, StaticBitmapDrawsWithoutPixelsAndDeletesOnce)
{
    s_bitmap &b = bitmaps[3];
    int ok = 0;
    load(VXE_LoadBitmapStatic, "pic.tga", &b, &ok);
    ASSERT_EQ(ok, 1);
    EXPECT_EQ(b.pixels, nullptr);
    EXPECT_EQ(VXE_GetPixel(0, 0, b), 0);
    clearto(0);
    VXE_DrawBitmap(0, 0, b);
    EXPECT_EQ(rgb(1, 0), GREEN);

    unsigned texture = b.texture;
    ASSERT_TRUE(glIsTexture(texture));
    testing::internal::CaptureStdout();
    VXE_DeleteBitmap(&b);
    VXE_DeleteBitmap(&b);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "deleting bitmap\n");
    EXPECT_FALSE(glIsTexture(texture));
}

TEST(Sprite, TransparentTexelsAreLeftOutWhileTheBitmapDrawsThem)
{
    s_sprite &s = sprites[0];
    int slot = vxe_numsprites;
    testing::internal::CaptureStdout();
    VXE_LoadSprite("sprite.tga", &s);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(s.bitmap, &vxe_spritebmp[slot]);
    EXPECT_EQ(s.width, 3);
    EXPECT_EQ(s.height, 2);
    EXPECT_EQ(s.texture, vxe_spritebmp[slot].texture);

    clearto(0xFF808080);
    VXE_DrawSprite(5, 5, s);
    EXPECT_TRUE(VXE_renderstate & VXE_STATE_ALPHATEST) << "the alpha test stays on";
    EXPECT_EQ(rgb(5, 5), RED);
    EXPECT_EQ(rgb(6, 5), 0x808080u);  // alpha 0 in the file
    EXPECT_EQ(rgb(7, 5), BLUE);
    EXPECT_EQ(rgb(6, 6), 0x808080u);  // keyed magenta
    EXPECT_EQ(rgb(7, 6), GREEN);

    VXE_DrawBitmap(5, 5, *s.bitmap);
    EXPECT_FALSE(VXE_renderstate & VXE_STATE_ALPHATEST);
    EXPECT_EQ(rgb(6, 5), GREEN) << "the bitmap draws the texel's colour";
    EXPECT_EQ(alpha(6, 5), 0);
    EXPECT_EQ(alpha(6, 6), 0);
}

TEST(Sprite, MirroredAndCutSpritesShowTheRightTexels)
{
    s_bitmap &b = bitmaps[4];
    int ok = 0;
    load(VXE_LoadBitmap, "pic.tga", &b, &ok);
    ASSERT_EQ(ok, 1);

    clearto(0xFF000000);
    VXE_DrawMirroredSprite(0, 0, sprites[0]);
    EXPECT_EQ(rgb(0, 0), BLUE);
    EXPECT_EQ(rgb(2, 0), RED) << "the leftmost column lands at the right edge";
    EXPECT_EQ(rgb(0, 1), GREEN);

    // The middle two texels of the upper row, twice as large.
    s_sprite &cut = sprites[1];
    VXE_GetSprite(1, 0, 2, 1, b, &cut);
    clearto(0xFF000000);
    VXE_DrawScaledSprite(0, 0, 4, 2, cut);
    EXPECT_EQ(rgb(0, 0), GREEN);
    EXPECT_EQ(rgb(1, 1), GREEN);
    EXPECT_EQ(rgb(2, 0), BLUE);
    EXPECT_EQ(rgb(4, 0), 0u);

    clearto(0xFF000000);
    VXE_DrawRotatedSprite(10, 10, cut, 180.0f);
    EXPECT_EQ(rgb(10, 10), BLUE);
    EXPECT_EQ(rgb(11, 10), GREEN);
}

TEST(Sprite, CreatedSpriteGetsATextureOnUpload)
{
    s_sprite &s = sprites[2];
    VXE_CreateSprite(2, 2, &s);
    VXE_DrawPixel(0, 0, (int)0xFF0000FF, VXE_GetBitmapFromSprite(s));
    VXE_UpdateSprite(&s);
    ASSERT_NE(s.texture, 0u);
    clearto(0xFF808080);
    VXE_DrawSprite(0, 0, s);
    EXPECT_EQ(rgb(0, 0), BLUE);
    EXPECT_EQ(rgb(1, 0), 0x808080u);  // still cleared: transparent

    unsigned texture = s.texture;
    VXE_DeleteSprite(&s);
    EXPECT_FALSE(glIsTexture(texture));
}

// Runs last in this file: everything registered above is released once,
// including records already deleted by hand.
TEST(GraphicsReport, FlushReleasesEverythingOnce)
{
    unsigned texture = bitmaps[0].texture;
    ASSERT_TRUE(glIsTexture(texture));
    testing::internal::CaptureStdout();
    VXE_ShowGraphicsMemory();
    std::string report = testing::internal::GetCapturedStdout();
    EXPECT_NE(report.find("Num.Bitmaps: " + std::to_string(vxe_numbitmaps) + " / 1024\n"),
              std::string::npos) << report;
    EXPECT_NE(report.find("Num.Fonts: 0 / 16\n"), std::string::npos);

    int nsprites = vxe_numsprites, nbitmaps = vxe_numbitmaps;
    testing::internal::CaptureStdout();
    VXE_FlushGraphics();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("[" + std::to_string(nsprites) + " sprites deleted]\n"), std::string::npos);
    EXPECT_NE(out.find("[" + std::to_string(nbitmaps) + " bitmaps deleted]\n"), std::string::npos);
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_EQ(bitmaps[0].pixels, nullptr);
    EXPECT_EQ(vxe_numbitmaps, 0);
    EXPECT_EQ(vxe_numsprites, 0);
}
