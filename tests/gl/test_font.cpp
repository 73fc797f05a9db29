// Bitmap fonts on a real GL context: the marker scan over font images from
// a mounted archive, and text whose drawn glyphs are found again with
// glReadPixels at the advances the widths and spacing give.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <algorithm>

#include "engine/font.h"
#include "engine/framebuffer.h"
#include "engine/video.h"
#include "tests/gl/test_bitmap_archive.h"
#include "tests/unit/test_tga_files.h"

namespace {

const int W = 128, H = 32;
const int kRows = 6;  // glyph rows below the marker row
const uint32_t BACKGROUND = 0x202020;
int target = -1;

// Every glyph has its own width (2 to 4) and colour; the space is clear.
int glyphwidth(int g)
{
    return g == 0 ? 1 : 2 + g % 3;
}

uint32_t glyphcolour(int g)
{
    return (uint32_t)(g * 2 + 1) << 16 | 0x4080;
}

// A 32-bit font image of `glyphs` glyphs: markers (opaque) at the first
// column of glyph 2 onwards, everything else in row 0 of alpha 0.
std::vector<uint8_t> fontimage(int glyphs)
{
    int width = 0;
    for (int g = 0; g < glyphs; g++)
        width += glyphwidth(g);
    std::vector<uint32_t> pixels((size_t)width * (kRows + 1), 0);
    int x = 0;
    for (int g = 0; g < glyphs; g++) {
        if (g >= 2)
            pixels[x] = 0xFFFFFFFF;
        for (int c = 0; c < glyphwidth(g); c++)
            for (int r = 1; r <= kRows; r++)
                pixels[(size_t)r * width + x + c] = g == 1 ? 0 : 0xFF000000 | glyphcolour(g);
        x += glyphwidth(g);
    }
    TgaHeader h;
    h.width = width;
    h.height = kRows + 1;
    h.bpp = 32;
    TgaFile f = tgaheader(h);
    for (uint32_t p : pixels)
        f.bgra(p);
    return f.bytes;
}

// An image of the given width whose row 0 has markers at `markers`.
std::vector<uint8_t> markerrow(int width, std::vector<int> markers)
{
    TgaHeader h;
    h.width = width;
    h.height = 3;
    TgaFile f = tgaheader(h);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < width; x++) {
            bool marker = y == 0 && std::find(markers.begin(), markers.end(), x) != markers.end();
            f.bgr(y == 0 && !marker ? 0xFF00FF : 0x00FF00);  // keyed magenta has alpha 0
        }
    return f.bytes;
}

struct FontEnvironment : testing::Environment {
    void SetUp() override
    {
        VXE_InitVideo(W, H, 0);
        target = VXE_CreateFrameBuffer(W, H, 0);
        std::vector<int> many;
        for (int x = 1; x < 100; x++)
            many.push_back(x);
        ASSERT_TRUE(mountarchive({{"font.tga", fontimage(96)},
                                  {"twelve.tga", markerrow(12, {4, 8})},
                                  {"column0.tga", markerrow(6, {0, 3})},
                                  {"crowded.tga", markerrow(100, many)}}));
    }
    void TearDown() override { VXE_CloseVideo(); }
};

const testing::Environment *const environment =
    testing::AddGlobalTestEnvironment(new FontEnvironment);

uint32_t rgb(int x, int y)
{
    unsigned char p[4];
    glReadPixels(x, H - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (uint32_t)p[0] << 16 | p[1] << 8 | p[2];
}

void clear()
{
    VXE_SetFrameBuffer(target);
    VXE_ClearFrameBuffer(0xFF000000 | BACKGROUND);
}

// The glyph g drawn at columns x to x + width - 1 of row y, background on
// both sides of it unless it touches its neighbours.
void expectglyph(int g, int x, int y, bool alone = true)
{
    if (alone) {
        EXPECT_EQ(rgb(x - 1, y), BACKGROUND) << "left of glyph " << g << " at " << x;
    }
    for (int c = 0; c < glyphwidth(g); c++)
        EXPECT_EQ(rgb(x + c, y), glyphcolour(g)) << "glyph " << g << " column " << c;
    if (alone) {
        EXPECT_EQ(rgb(x + glyphwidth(g), y), BACKGROUND) << "right of glyph " << g << " at " << x;
    }
}

std::string loadfont(const char *name, s_font *font)
{
    testing::internal::CaptureStdout();
    VXE_LoadFont(name, font);
    return testing::internal::GetCapturedStdout();
}

// Fonts stay in use for the whole program: their glyphs are registered.
s_font font, twelve, column0, crowded, missing;
const int A = 'A' - 31, B = 'B' - 31, SPACE = 1;

}  // namespace

TEST(Font, MarkerScanFindsTheGlyphEdges)
{
    int fonts = vxe_numfonts, sprites = vxe_numsprites;
    std::string out = loadfont("twelve.tga", &twelve);
    EXPECT_NE(out.find("VXE_LoadFont - Num.Letters: 4\n"), std::string::npos) << out;
    EXPECT_NE(out.find("VXE_LoadFont - Font Added (NumFonts: " + std::to_string(fonts + 1) + ")\n"),
              std::string::npos) << out;
    EXPECT_EQ(twelve.numletters, 4);
    EXPECT_EQ((std::vector<int>(twelve.widths, twelve.widths + 4)), (std::vector<int>{1, 3, 4, 4}));
    EXPECT_EQ(twelve.height, 2);
    EXPECT_EQ(twelve.spacing, 0);
    EXPECT_EQ(twelve.bitmap, &vxe_fontbmp[fonts]);
    EXPECT_EQ(vxe_numsprites, sprites + 4);
    // Glyph 2 is columns 4 to 7 from row 1 down.
    EXPECT_FLOAT_EQ(twelve.letters[2].s0, 4.0f / 12);
    EXPECT_FLOAT_EQ(twelve.letters[2].s1, 8.0f / 12);
    EXPECT_FLOAT_EQ(twelve.letters[2].t0, 1.0f / 3);
    EXPECT_EQ(twelve.letters[2].height, 2);

    // A marker in column 0 makes the space 0 - 1 wide, as a byte.
    loadfont("column0.tga", &column0);
    EXPECT_EQ(column0.widths[1], 255);
    EXPECT_EQ(column0.numletters, 4);

    // More than 95 markers: the later widths all land in the last slot.
    loadfont("crowded.tga", &crowded);
    EXPECT_EQ(crowded.numletters, 96);
    EXPECT_EQ(crowded.widths[95], 1);
}

TEST(Font, TextAdvancesByWidthAndSpacingExceptAfterSpaces)
{
    loadfont("font.tga", &font);
    ASSERT_EQ(font.numletters, 96);
    EXPECT_EQ(font.widths[A], glyphwidth(A));
    VXE_SetFontSpacing(2, &font);

    clear();
    VXE_DrawText(10, 10, font, "A B");
    expectglyph(A, 10, 12);
    int b = 10 + glyphwidth(A) + 2 + glyphwidth(SPACE);  // no spacing after the space
    expectglyph(B, b, 12);
    EXPECT_EQ(rgb(b, 10 + kRows), BACKGROUND) << "glyphs are " << kRows << " rows high";
    EXPECT_EQ(rgb(b, 10 + kRows - 1), glyphcolour(B));

    // Formatting, control characters and codes outside the glyph range.
    clear();
    VXE_SetFontSpacing(0, &font);
    VXE_DrawText(10, 10, font, "%c\t\n%c}~\xC1%s", 'A', 'B', "A");
    int end = 10 + glyphwidth(A) + glyphwidth(B) + glyphwidth(A);
    expectglyph(A, 10, 12, false);
    expectglyph(B, 10 + glyphwidth(A), 12, false);
    expectglyph(A, 10 + glyphwidth(A) + glyphwidth(B), 12, false);
    EXPECT_EQ(rgb(9, 12), BACKGROUND);
    EXPECT_EQ(rgb(end, 12), BACKGROUND);
}

TEST(Font, CentredTextMeasuresSpacingAfterEveryGlyph)
{
    ASSERT_EQ(font.numletters, 96);
    VXE_SetFontSpacing(2, &font);
    int measured = glyphwidth(A) + 2 + glyphwidth(SPACE) + 2 + glyphwidth(B) + 2;

    // On the framebuffer's width; the space draws without its spacing.
    clear();
    VXE_DrawCenteredText(5, font, "A B");
    int x = (W >> 1) - (measured >> 1);
    expectglyph(A, x, 7);
    expectglyph(B, x + glyphwidth(A) + 2 + glyphwidth(SPACE), 7);

    // In a span; here the space advances by its width and the spacing.
    clear();
    VXE_DrawCenteredTextXW(20, 5, 41, font, "A B");
    x = 20 + (41 >> 1) - (measured >> 1);
    expectglyph(A, x, 7);
    expectglyph(B, x + glyphwidth(A) + 2 + glyphwidth(SPACE) + 2, 7);
    VXE_SetFontSpacing(0, &font);
}

TEST(Font, MissingFontTakesNoSlotAndDrawsNothing)
{
    int fonts = vxe_numfonts;
    std::string out = loadfont("nofont.tga", &missing);
    EXPECT_NE(out.find("- ERROR: Image nofont.tga not loaded.\n"), std::string::npos) << out;
    EXPECT_EQ(vxe_numfonts, fonts);
    EXPECT_EQ(missing.numletters, 0);
    clear();
    VXE_DrawText(0, 0, missing, "AB");
    VXE_DrawCenteredText(0, missing, "AB");
    for (int x = 0; x < W; x += 3)
        EXPECT_EQ(rgb(x, 1), BACKGROUND);
}
