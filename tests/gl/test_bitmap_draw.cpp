// Bitmaps and sprites on a real GL context (Mesa under Xvfb), loaded from a
// mounted folder and read back from a framebuffer.
#include "engine/graphics/bitmap.h"
#include "engine/graphics/draw2d.h"
#include "engine/graphics/graphics_report.h"
#include "engine/graphics/sprite.h"
#include "tests/gl/test_bitmap_support.h"
#include "tests/unit/test_tga_files.h"

namespace {

const uint32_t RED = 0xFFFF0000, GREEN = 0xFF00FF00, BLUE = 0xFF0000FF, WHITE = 0xFFFFFFFF;
const uint32_t GREY = 0xFF808080, BLACK = 0xFF000000, DARK = 0xFF102030;

// 4x2, bottom-up: the file's first row is the picture's lower one, with keyed magenta in it.
const std::string picture = tga(2, 4, 2, 24, 0x00).bgr(DARK).bgr(0x405060).bgr(0xFF00FF).bgr(0x708090)
                                .bgr(RED).bgr(GREEN).bgr(BLUE).bgr(WHITE).str();
// 3x2 with alpha 0 in the middle of the top row and keyed magenta below it.
const std::string spriteimage =
    tga(2, 3, 2, 32).bgra(RED).bgra(0x0000FF00).bgra(BLUE).bgra(WHITE).bgra(0xFFFF00FF).bgra(GREEN).str();

const testing::Environment *const environment = testing::AddGlobalTestEnvironment(new FolderEnvironment(
    {{"pic.tga", picture}, {"a.b.tga", picture}, {"sprite.tga", spriteimage},
     {"bad.tga", picture.substr(0, picture.size() - 1)}}));

// Records stay registered by address: they live as long as the program.
s_bitmap bitmaps[8];
s_sprite sprites[4];

}  // namespace

TEST(Bitmap, LoadedPictureDrawsWithItsOwnPixels)
{
    s_bitmap &b = bitmaps[0];
    EXPECT_EQ(said([&] { EXPECT_EQ(VXE_LoadBitmap("pic.tga", &b), 1); }).rfind("Loading TGA image.", 0), 0u);

    // The alpha test is off: the keyed texel replaces the background.
    clearto(GREY);
    VXE_DrawBitmap(10, 5, b);
    EXPECT_EQ((Px{at(9, 5), at(10, 5), at(11, 5), at(12, 5), at(13, 5), at(14, 5)}),
              (Px{GREY, RED, GREEN, BLUE, WHITE, GREY}));
    EXPECT_EQ((Px{at(10, 6), at(11, 6), at(12, 6), at(13, 6), at(10, 7)}), (Px{DARK, 0xFF405060, 0, 0xFF708090, GREY}));
}

TEST(Bitmap, NameAndFileDecideWhetherAnImageLoads)
{
    const char *unsupported = "File format not supported.\n", *loaded = "width: 4, height: 2, bpp: 24\n";
    const char *cases[][2] = {
        {"PIC.TGA", loaded}, {"a.b.Tga", loaded}, {"pic.bmp", unsupported}, {"pic", unsupported},
        {".tga", unsupported}, {"pic.tgax", unsupported}, {"missing.tga", "- ERROR: Image missing.tga not loaded.\n"},
        {"bad.tga", "pixel data is truncated\n- ERROR: Image bad.tga not loaded.\n"},
    };
    s_bitmap *record = &bitmaps[5];
    for (auto &c : cases) {
        int before = vxe_numbitmaps, ok = 0, good = c[1] == loaded;
        std::string out = said([&] { ok = VXE_LoadBitmap(c[0], record); });
        EXPECT_NE(out.find(c[1]), std::string::npos) << c[0] << ": " << out;
        std::vector<int> got = {ok, vxe_numbitmaps - before, record->width};
        EXPECT_EQ(got, (std::vector<int>{good, good, 4 * good})) << c[0];
        record += good;
    }
}

TEST(Bitmap, PixelChangesReachTheScreenAfterAnUpdate)
{
    s_bitmap &b = bitmaps[1];
    ASSERT_EQ(VXE_CreateBitmap(2, 1, &b), 1);
    VXE_ClearBitmapWithColor(b, 0x11223344);  // stored as is: the lowest byte is red
    EXPECT_EQ(VXE_GetPixel(1, 0, b), 0x11443322);
    clearto(0);
    VXE_DrawBitmap(0, 0, b);
    EXPECT_EQ(at(1, 0), 0x11443322u);

    VXE_DrawPixel(1, 0, (int)GREEN, b);
    VXE_DrawBitmap(0, 0, b);
    EXPECT_EQ(at(1, 0), 0x11443322u) << "the texture changes only on update";
    VXE_UpdateBitmap(b);
    VXE_DrawBitmap(0, 0, b);
    EXPECT_EQ(at(1, 0), GREEN);
}

TEST(Sprite, TransparentTexelsAreLeftOutWhileTheBitmapDrawsThem)
{
    s_sprite &s = sprites[0];
    said([&] { VXE_LoadSprite("sprite.tga", &s); });
    ASSERT_NE(s.bitmap, nullptr);
    clearto(GREY);
    VXE_DrawSprite(5, 5, s);
    EXPECT_TRUE(VXE_renderstate & VXE_STATE_ALPHATEST) << "the alpha test stays on";
    EXPECT_EQ((Px{at(5, 5), at(6, 5), at(7, 5), at(6, 6), at(7, 6)}), (Px{RED, GREY, BLUE, GREY, GREEN}));
    VXE_DrawBitmap(5, 5, *s.bitmap);
    EXPECT_EQ((Px{at(6, 5), at(6, 6)}), (Px{0x0000FF00, 0}));
}

// Runs last. Records a program releases itself go once (a cut sprite leaves
// its bitmap's texture alone); the flush releases the rest, once.
TEST(GraphicsReport, EveryRecordIsReleasedOnce)
{
    s_bitmap &statik = bitmaps[2];
    said([&] { EXPECT_EQ(VXE_LoadBitmapStatic("pic.tga", &statik), 1); });
    s_sprite &created = sprites[2];
    VXE_CreateSprite(2, 2, &created);
    VXE_UpdateSprite(&created);
    VXE_GetSprite(1, 0, 2, 1, bitmaps[0], &sprites[1]);
    const unsigned textures[3] = {statik.texture, created.texture, bitmaps[0].texture};
    EXPECT_EQ(said([&] { VXE_DeleteBitmap(&statik), VXE_DeleteBitmap(&statik); }), "deleting bitmap\n");
    for (s_sprite *s : {&created, &created, &sprites[1]}) VXE_DeleteSprite(s);
    EXPECT_FALSE(glIsTexture(textures[0]) || glIsTexture(textures[1]));
    ASSERT_TRUE(glIsTexture(textures[2]));

    const std::string report = "Num.Bitmaps: " + std::to_string(vxe_numbitmaps) + " / 1024\n";
    EXPECT_NE(said(VXE_ShowGraphicsMemory).find(report), std::string::npos);
    const std::string counts[] = {"[" + std::to_string(vxe_numsprites) + " sprites deleted]\n",
                                  "[" + std::to_string(vxe_numbitmaps) + " bitmaps deleted]\n"};
    const std::string out = said(VXE_FlushGraphics);
    for (const std::string &count : counts) EXPECT_NE(out.find(count), std::string::npos) << out;
    EXPECT_FALSE(glIsTexture(textures[2]));
    EXPECT_EQ(vxe_numbitmaps + vxe_numsprites, 0);
}
