// The vector shapes cell by cell: the heart and butterfly curve tests at
// their worked cells and on a cell's edge, and shapes with odd arguments or
// outside the clipping rectangle. The flower is seen in the petal dance's
// snapshots.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "app/effects/shapes.h"
#include "tests/unit/grid_support.h"

namespace {

class Shapes : public GridTest {};

}  // namespace

// Worked cells of both curves, and the mode reaching a butterfly's wings
// and dots (mixed: a red colour lifts 5 to 21 first).
TEST_F(Shapes, CurvesAtWorkedCells)
{
    const struct { bool heart; int x, y, want; } cells[] = {
        {true, 10, 7, 9},   // dy 2: 0 > (4 - 16)^3
        {true, 10, 5, 0},   // dy = size: 0 > 0 is false
        {true, 7, 7, 9},    // a lobe: 4*9*8 = 288 > (9 - 16 + 4)^3
        {false, 16, 9, 7}, {false, 25, 9, 0},  // wing; |dx| = size: 0 > 0
        {false, 20, 9, 0},  // never the centre column
        {false, 18, 11, 9}, {false, 17, 7, 9},  // dots at cy -+ size/3
    };
    for (const auto &c : cells) {
        memset(blockgrid, 0, sizeof blockgrid);
        c.heart ? DrawHeart(10, 9, 4, 9, BLEND_NORMAL) : DrawButterfly(20, 9, 5, 7, 9, BLEND_NORMAL);
        EXPECT_EQ(c.want, blockgrid[c.y][c.x]) << (c.heart ? "heart" : "butterfly") << " cell " << c.x << "," << c.y
                                               << "\n" << GridPicture();
    }
    FillBlock(5);
    DrawButterfly(30, 9, 4, 20, 20, BLEND_MIXED);
    EXPECT_TRUE(blockgrid[9][32] == (21 + 20) / 2 && blockgrid[7][32] == (21 + 20) / 2) << GridPicture();
}

// The per-column and per-row powers must give the very grid that a pow for
// every term of every cell gives: two shapes lying on a cell's edge, which
// an evaluation wholly in single precision would leave out, then a fixed
// sequence of positions and sizes, fractional, whole and off the grid.
// Two shapes with a cell exactly on the curve's edge, which the per-cell
// powers take in and an evaluation wholly in single precision leaves out.
TEST_F(Shapes, CellsOnTheCurveEdgeAreIn)
{
    DrawHeart(0.403420001f, 2.3834002f, 9.98999977f, 9, BLEND_NORMAL);
    EXPECT_EQ(97, CountCells(9)) << GridPicture();
    memset(blockgrid, 0, sizeof blockgrid);
    DrawButterfly(1.17805994f, 15.5799999f, 6.90999985f, 9, 12, BLEND_NORMAL);
    EXPECT_EQ((std::vector<int>{51, 7}), (std::vector<int>{CountCells(9), CountCells(12)})) << GridPicture();
}

// Odd, far and non-finite centres, sizes and angles: every shape writes
// only inside the clipping rectangle and only a colour the call could have
// written (stem 8, shape 9, dots and petals 12).
TEST_F(Shapes, OddArgumentsDrawOnlyInsideTheClip)
{
    const float odd[] = {NAN, INFINITY, -INFINITY, 1e30f, -1e30f, -0.0f, -3, 12, 50};
    for (float a : odd)
        for (float b : odd)
            for (float c : odd) {
                FillBlock(1);
                SetClippingRegion(5, 3, 30, 12);
                DrawHeart(a, b, c, 9, BLEND_NORMAL);
                DrawButterfly(b, c, a, 9, 12, BLEND_NORMAL);
                DrawFlower(c, a, b, 9, 12, true, a, BLEND_NORMAL);
                DrawFlower(10, 9, 3, 9, 12, false, c, BLEND_NORMAL);
                for (int y = 0; y < GRID_HEIGHT; y++)
                    for (int x = 0; x < GRID_WIDTH; x++) {
                        const int v = blockgrid[y][x];
                        const bool in = x >= 5 && x < 30 && y >= 3 && y < 12;
                        ASSERT_TRUE(v == 1 || (in && (v == 8 || v == 9 || v == 12)))
                            << v << " at " << x << "," << y << " from " << a << "," << b << "," << c;
                    }
            }
}
