// The block grid cell by cell: blend rules at their edges, the shapes and
// where they land, clipping and the CHIP-8 picture conversion. Which cells
// the grid view shows is read back on a GL context in tests/gl/test_gridview.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/grid/blockgrid.h"
#include "tests/unit/grid_support.h"

namespace {

class BlockGrid : public GridTest {};

// Non-zero cells as "x,y" in row order.
std::string cells()
{
    std::string out;
    for (int y = 0; y < GRID_HEIGHT; y++)
        for (int x = 0; x < GRID_WIDTH; x++)
            if (blockgrid[y][x])
                out += (out.empty() ? "" : " ") + std::to_string(x) + "," + std::to_string(y);
    return out;
}

}  // namespace

TEST_F(BlockGrid, BlendRulesMeetTheOldValue)
{
    const struct { int mode, old, c, want; } cases[] = {
        {BLEND_NORMAL, 0, 50, 2}, {BLEND_NORMAL, 9, 255, 15}, {3, 10, 20, 20},  // an unknown mode is normal
        {BLEND_MIXED, 10, 20, 23}, {BLEND_MIXED, 20, 4, 12}, {BLEND_MIXED, 15, 16, 23}, {BLEND_MIXED, 16, 16, 16},
        {BLEND_MIXED, 200, 255, 227}, {BLEND_ADD, 5, 3, 8}, {BLEND_ADD, 15, 1, 15}, {BLEND_ADD, 20, 20, 31},
        {BLEND_ADD, 250, 10, 4},
    };
    for (const auto &t : cases) {
        blockgrid[5][7] = (unsigned char)t.old;
        DrawPixel(7, 5, (unsigned char)t.c, (e_blendMode)t.mode);
        EXPECT_EQ(t.want, blockgrid[5][7]) << "mode " << t.mode << ": " << t.old << " + " << t.c;
    }
}

// Cells off the grid are ignored even by the unclipped rules: one step past
// an edge would otherwise land in the neighbouring row.
TEST_F(BlockGrid, RulesIgnoreCellsOffTheGrid)
{
    const struct { int x, y; } off[] = {{-1, 1}, {44, 0}, {0, 18}, {0, -1}, {INT_MIN, 0}, {3, INT_MAX}};
    for (const auto &p : off) {
        DrawPixelNormal(p.x, p.y, 9);
        DrawPixelMixed(p.x, p.y, 9);
        DrawPixelBlend(p.x, p.y, 9);
    }
    EXPECT_EQ("", cells());
}

TEST_F(BlockGrid, ShapesWriteExactlyTheirCells)
{
    const e_blendMode N = BLEND_NORMAL;
    const struct { const char *name; std::function<void()> draw; const char *want; } cases[] = {
        {"sector 1/81", [=] { DrawSector(1, 81, 9, N); }, "26,16 27,16 26,17 27,17"},
        {"sectors off the map", [=] { DrawSector(2, 0, 9, N), DrawSector(0, 90, 9, N), DrawSector(0, -1, 9, N); }, ""},
        {"circle strict", [=] { DrawCircle(10, 10, 1, 9, N); }, "10,10"},
        {"circle between cells", [=] { DrawCircle(10.5f, 10.5f, 1, 9, N); }, "10,10 11,10 10,11 11,11"},
        {"circle of NaN radius", [=] { DrawCircle(3, 3, NAN, 9, N); }, ""},
        {"rectangle truncates", [=] { DrawRectangle(2.5f, 1, 5, 3, 9, N); }, "2,1 3,1 4,1 2,2 3,2 4,2"},
        {"rectangle float ends", [=] { DrawRectangle(-0.5f, 0, 1.5f, 0.25f, 9, N); }, "0,0 1,0"},
        {"rectangle past the edges", [=] { DrawRectangle(-3, 16.5f, 1, 100, 9, N); }, "0,16 0,17"},
        {"rectangle with NaN", [=] { DrawRectangle(NAN, 0, 5, 5, 9, N), DrawRectangle(0, 0, 5, NAN, 9, N); }, ""},
        {"line right edge", [=] { DrawLineHorizontal(41, 3, 10, 9, N); }, "41,3 42,3 43,3"},
        {"line from the left", [=] { DrawLineHorizontal(-2, 0, 4, 9, N); }, "0,0 1,0"},
        {"line downwards", [=] { DrawLineVertical(5, 15, 100, 9, N); }, "5,15 5,16 5,17"},
        {"lines at int limits", [=] { DrawLineHorizontal(INT_MAX - 1, 0, 10, 9, N), DrawLineVertical(0, INT_MIN, INT_MAX, 9, N); }, ""},
    };
    for (const auto &t : cases) {
        memset(blockgrid, 0, sizeof blockgrid);
        t.draw();
        EXPECT_EQ(t.want, cells()) << t.name;
    }
}

// The rectangle given ends up clamped into the grid; whatever is drawn
// afterwards lands only inside it.
TEST_F(BlockGrid, ClippingLimitsDrawingToItsRectangle)
{
    const struct { int l, t, r, b, wl, wt, wr, wb; } cases[] = {
        {0, 0, 20, 18, 0, 0, 20, 18}, {2, 3, 5, 6, 2, 3, 5, 6}, {-5, -5, 100, 100, 0, 0, 44, 18},
        {40, 16, 60, 30, 40, 16, 44, 18}, {50, 20, 60, 30, 44, 18, 44, 18}, {10, 10, 5, 5, 10, 10, 5, 5},
    };
    for (const auto &t : cases) {
        SetClippingRegion(t.l, t.t, t.r, t.b);
        EXPECT_EQ((std::vector<int>{t.wl, t.wt, t.wr, t.wb}), (std::vector<int>{clipLeft, clipTop, clipRight, clipBottom}));
        memset(blockgrid, 0, sizeof blockgrid);
        DrawRectangle(-100, -100, 100, 100, 1, BLEND_NORMAL);
        const int w = std::max(0, t.wr - t.wl), h = std::max(0, t.wb - t.wt);
        EXPECT_EQ(w * h, CountCells(1)) << t.l << "," << t.t << "," << t.r << "," << t.b;
        if (w && h) {
            EXPECT_TRUE(blockgrid[t.wt][t.wl] && blockgrid[t.wb - 1][t.wr - 1]);
        }
    }
}

namespace {

// A CHIP-8 picture in its own pixel memory of exactly its size, rows of
// `width` pixels, every pixel `argb` (stored red, green, blue, alpha).
struct Picture {
    s_bitmap bitmap = {};
    Picture(int width, int height, uint32_t argb)
    {
        bitmap.width = bitmap.texwidth = width;
        bitmap.height = bitmap.texheight = height;
        bitmap.numpixels = width * height;
        bitmap.size = bitmap.numpixels * 4;
        bitmap.pixels = (unsigned char *)malloc(bitmap.size);
        for (int i = 0; i < bitmap.numpixels; i++)
            set(i % width, i / width, argb);
    }
    ~Picture() { free(bitmap.pixels); }
    void set(int x, int y, uint32_t argb)
    {
        unsigned char *p = bitmap.pixels + (y * bitmap.width + x) * 4;
        p[0] = argb >> 16, p[1] = argb >> 8, p[2] = argb, p[3] = argb >> 24;
    }
};

const uint32_t LIT = 0xFFFFFFFF, DARK = 0xFF000000;

}  // namespace

// Grid cell (x, r) averages picture pixels (x + 12, 2r) and (x + 12, 2r + 1):
// both dark 32, one lit 53, both lit 74. The lost border columns are lit
// here, so any shift or wrong row length shows.
TEST_F(BlockGrid, PictureConvertsTwoRowsPerCell)
{
    Picture pic(64, 32, DARK);
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 64; x++) {
            const int k = (x - 12 + y / 2) & 3;  // 0 none, 1 upper, 2 lower, 3 both
            const bool lit = x < 12 || x >= 56 || (y % 2 == 0 ? k & 1 : k & 2);
            pic.set(x, y, lit ? LIT : DARK);
        }
    pic.set(13, 0, 0xFF00FFFF);  // only red counts: this one is dark
    pic.set(14, 0, 0x00FF0000);  // and this one lit
    for (int x = 0; x < GRID_WIDTH; x++)
        blockgrid[16][x] = blockgrid[17][x] = 9;

    ConvertBitmapToGrid(pic.bitmap);
    const int want[4] = {32, 53, 53, 74};
    for (int r = 0; r < 16; r++)
        for (int x = 0; x < GRID_WIDTH; x++) {
            const int w = r == 0 && x == 1 ? 32 : r == 0 && x == 2 ? 74 : want[(x + r) & 3];
            ASSERT_EQ(w, blockgrid[r][x]) << x << "," << r;
        }
    EXPECT_EQ(2 * GRID_WIDTH, CountCells(9)) << "rows 16-17 keep their cells";
}

// What the buffer does not hold reads as dark; nothing is read beyond it.
TEST_F(BlockGrid, PictureWithoutEnoughPixelsReadsDark)
{
    s_bitmap none = {};
    none.width = 64, none.height = 32, none.size = 64 * 32 * 4;  // size without memory
    memset(blockgrid, 9, sizeof blockgrid);
    ConvertBitmapToGrid(none);
    EXPECT_EQ(16 * GRID_WIDTH, CountCells(32));
    EXPECT_EQ(2 * GRID_WIDTH, CountCells(9));

    Picture narrow(16, 16, LIT);  // read with rows of 64: 4 picture rows' worth
    ConvertBitmapToGrid(narrow.bitmap);
    EXPECT_TRUE(blockgrid[0][0] == 74 && blockgrid[1][0] == 74 && blockgrid[2][0] == 32);
    EXPECT_EQ(14 * GRID_WIDTH, CountCells(32));
}
