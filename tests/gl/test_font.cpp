// Bitmap fonts on a real GL context: the marker scan over font images from
// a mounted folder, and text whose glyphs are found again at the advances
// the widths and spacing give.
#include "engine/graphics/font.h"
#include "tests/gl/test_bitmap_support.h"
#include "tests/unit/test_tga_files.h"

namespace {

const int ROWS = 6;  // glyph rows below the marker row
const uint32_t BACKGROUND = 0xFF202020;

// Every glyph has its own width (2 to 4) and colour; the space (1) is clear.
int width(int g)
{
    return g == 0 ? 1 : 2 + g % 3;
}

uint32_t colour(int g)
{
    return 0xFF004080 | (uint32_t)(g * 2 + 1) << 16;
}

// Marker rows hold an opaque pixel at the first column of glyph 2 onwards.
// The test font's row: 96 glyphs, each as wide as width() says.
std::string glyphmarks()
{
    std::string marks(1 + width(1), '.');
    for (int g = 2; g < 96; g++)
        marks += "|" + std::string(width(g) - 1, '.');
    return marks;
}

// A 32-bit font image: the marker row, then ROWS rows in each glyph's colour.
std::string fontimage(const std::string &marks)
{
    TgaFile f = tga(2, (int)marks.size(), ROWS + 1, 32);
    for (char m : marks)
        f.bgra(m == '|' ? 0xFFFFFFFF : 0);
    for (int r = 0; r < ROWS; r++)
        for (size_t x = 0, g = 0; x < marks.size(); x++) {
            g += (x == 1) + (marks[x] == '|');
            f.bgra(g == 1 ? 0 : colour((int)g));
        }
    return f.str();
}

const testing::Environment *const environment = testing::AddGlobalTestEnvironment(new FolderEnvironment(
    {{"font.tga", fontimage(glyphmarks())}, {"column0.tga", fontimage("|..|..")}}));

// Glyph g drawn at columns x onwards of row y, with background on both sides.
void expectglyph(int g, int x, int y)
{
    for (int c = -1; c <= width(g); c++)
        EXPECT_EQ(at(x + c, y), c < 0 || c == width(g) ? BACKGROUND : colour(g)) << "glyph " << g << " column " << c;
}

// Fonts stay in use for the whole program: their glyphs are registered.
s_font font, column0, missing;
const int A = 'A' - 31, B = 'B' - 31, SPACE = 1;

}  // namespace

TEST(Font, MarkerScanFindsTheGlyphEdges)
{
    int fonts = vxe_numfonts, sprites = vxe_numsprites;
    EXPECT_NE(output([] { VXE_LoadFont("font.tga", &font); }).find("Num.Letters: 96\n"), std::string::npos);
    for (int g = 0; g < 96; g++)
        EXPECT_EQ(font.widths[g], width(g)) << "glyph " << g;
    EXPECT_EQ((std::vector<int>{font.height, vxe_numsprites - sprites}), (std::vector<int>{ROWS, 96}));

    // A marker on glyph 0's column is no edge (the scan's own cases are in
    // tests/unit/test_fontmarkers.cpp); the loader says it ignored it.
    EXPECT_NE(output([] { VXE_LoadFont("column0.tga", &column0); })
                  .find("VXE_LoadFont - column0.tga: marker in column 0 ignored\nVXE_LoadFont - Num.Letters: 3\n"),
              std::string::npos);
    EXPECT_EQ((std::vector<int>{column0.widths[0], column0.widths[1], column0.widths[2]}),
              (std::vector<int>{1, 2, 3}));

    // A missing image takes no slot and leaves a font that draws nothing.
    output([] { VXE_LoadFont("nofont.tga", &missing); });
    EXPECT_EQ(vxe_numfonts, fonts + 2);
    VXE_DrawText(0, 0, missing, "AB");
    VXE_DrawCenteredText(0, missing, "AB");
}

TEST(Font, TextAdvancesByWidthAndSpacingExceptAfterSpaces)
{
    VXE_SetFontSpacing(2, &font);
    clearto(BACKGROUND);
    VXE_DrawText(10, 10, font, "A B");
    expectglyph(A, 10, 12);
    int b = 10 + width(A) + 2 + width(SPACE);
    expectglyph(B, b, 12);
    EXPECT_EQ((Px{at(b, 10 + ROWS - 1), at(b, 10 + ROWS)}), (Px{colour(B), BACKGROUND})) << "glyphs are 6 rows high";

    // Formatting; control characters and codes outside the glyphs draw nothing.
    VXE_SetFontSpacing(0, &font);
    clearto(BACKGROUND);
    VXE_DrawText(10, 10, font, "%c\t\n%c}~\xC1%s", 'A', 'B', "A");
    int second = 10 + width(A) + width(B), end = second + width(A);
    EXPECT_EQ((Px{at(9, 12), at(10, 12), at(10 + width(A), 12), at(second, 12), at(end - 1, 12), at(end, 12)}),
              (Px{BACKGROUND, colour(A), colour(B), colour(A), colour(A), BACKGROUND}));
}

TEST(Font, CentredTextMeasuresSpacingAfterEveryGlyph)
{
    VXE_SetFontSpacing(2, &font);
    int measured = width(A) + 2 + width(SPACE) + 2 + width(B) + 2;
    // On the framebuffer's width; the space draws without its spacing.
    clearto(BACKGROUND);
    VXE_DrawCenteredText(5, font, "A B");
    int x = GL_W / 2 - measured / 2;
    expectglyph(A, x, 7);
    expectglyph(B, x + width(A) + 2 + width(SPACE), 7);

    // In a span; here the space advances by its width and the spacing.
    clearto(BACKGROUND);
    VXE_DrawCenteredTextXW(20, 5, 41, font, "A B");
    x = 20 + 41 / 2 - measured / 2;
    expectglyph(A, x, 7);
    expectglyph(B, x + width(A) + 2 + width(SPACE) + 2, 7);
}
