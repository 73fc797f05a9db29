// Bitmap fonts on a real GL context: font images loaded from a mounted
// folder, and text whose glyphs are found again at the advances the widths
// and spacing give.
#include "engine/graphics/font.h"
#include "tests/gl/test_bitmap_support.h"
#include "tests/unit/test_tga_files.h"

namespace {

const int ROWS = 6;  // glyph rows below the marker row
const uint32_t BACKGROUND = 0xFF202020;

// Every glyph has its own width (2 to 4) and colour; the space (1) is clear.
int width(int g) { return g == 0 ? 1 : 2 + g % 3; }
uint32_t colour(int g) { return 0xFF004080 | (uint32_t)(g * 2 + 1) << 16; }

// A 32-bit font image: the marker row, then ROWS rows in each glyph's colour.
std::string fontimage(const std::string &marks)
{
    TgaFile f = tga(2, (int)marks.size(), ROWS + 1, 32);
    for (char m : marks) f.bgra(m == '|' ? 0xFFFFFFFF : 0);
    for (int r = 0; r < ROWS; r++)
        for (size_t x = 0, g = 0; x < marks.size(); x++) {
            g += (x == 1) + (marks[x] == '|');
            f.bgra(g == 1 ? 0 : colour((int)g));
        }
    return f.str();
}

// The test font's marker row: a marker at the first column of glyph 2 onwards.
std::string glyphmarks()
{
    std::string marks(1 + width(1), '.');
    for (int g = 2; g < 96; g++) marks += "|" + std::string(width(g) - 1, '.');
    return marks;
}

const testing::Environment *const environment = testing::AddGlobalTestEnvironment(new FolderEnvironment(
    {{"font.tga", fontimage(glyphmarks())}, {"column0.tga", fontimage("|..|..")}}));

// Fonts stay in use for the whole program: their glyphs are registered.
s_font font, column0, missing;
const int A = 'A' - 31, B = 'B' - 31, SPACE = 1;

}  // namespace

// The loader cuts every glyph below the marker row and says it ignored a
// marker on glyph 0's column (the scan's own cases are in
// tests/unit/test_sprite.cpp); a missing image takes no slot and leaves a
// font that draws nothing. "A B" with spacing 2: the space advances by its
// width alone, except in a span, and centring measures the spacing after
// every glyph.
TEST(Font, TextAdvancesByWidthAndSpacing)
{
    const int fonts = vxe_numfonts, sprites = vxe_numsprites;
    EXPECT_NE(said([] { VXE_LoadFont("column0.tga", &column0); }).find("column0.tga: marker in column 0 ignored\n"),
              std::string::npos);
    said([] { VXE_LoadFont("font.tga", &font), VXE_LoadFont("nofont.tga", &missing); });
    EXPECT_EQ((std::vector<int>{vxe_numsprites - sprites, vxe_numfonts - fonts, font.height}),
              (std::vector<int>{3 + 96, 2, ROWS}));

    VXE_SetFontSpacing(2, &font);
    const int measured = width(A) + 2 + width(SPACE) + 2 + width(B) + 2, gap = width(A) + 2 + width(SPACE);
    const struct { void (*draw)(); int a, b; } rows[] = {
        {[] { VXE_DrawText(10, 5, font, "A B"); }, 10, 10 + gap},
        {[] { VXE_DrawCenteredText(5, font, "A B"); }, GL_W / 2 - measured / 2, GL_W / 2 - measured / 2 + gap},
        {[] { VXE_DrawCenteredTextXW(20, 5, 41, font, "A B"); }, 40 - measured / 2, 40 - measured / 2 + gap + 2},
    };
    for (const auto &r : rows) {
        clearto(BACKGROUND);
        r.draw();
        for (auto [g, x] : {std::pair<int, int>{A, r.a}, {B, r.b}})
            for (int c = -1; c <= width(g); c++)
                for (int y = 5; y <= 5 + ROWS; y++)
                    EXPECT_EQ(at(x + c, y), c < 0 || c == width(g) || y == 5 + ROWS ? BACKGROUND : colour(g))
                        << "row " << &r - rows << " glyph " << g << " at " << c << "," << y;
    }

    // Formatting; control characters and codes outside the glyphs draw nothing.
    VXE_SetFontSpacing(0, &font);
    clearto(BACKGROUND);
    VXE_DrawText(10, 10, font, "%c\t\n%c}~\xC1%s", 'A', 'B', "A");
    const int second = 10 + width(A) + width(B), end = second + width(A);
    EXPECT_EQ((Px{at(9, 12), at(10, 12), at(10 + width(A), 12), at(second, 12), at(end - 1, 12), at(end, 12),
                  at(10, 10 + ROWS)}),
              (Px{BACKGROUND, colour(A), colour(B), colour(A), colour(A), BACKGROUND, BACKGROUND}));
    clearto(BACKGROUND);
    VXE_DrawText(10, 10, missing, "AB");
    EXPECT_EQ(at(10, 12), BACKGROUND);
}
