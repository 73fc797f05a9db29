// The vector shapes cell by cell: the heart and butterfly curve tests at
// their worked cells and against a per-cell reference, the flower's
// petals, centre and stem, and shapes that lie partly off the grid or
// outside the clipping rectangle.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "app/effects/shapes.h"
#include "tests/unit/grid_support.h"

namespace {

class Shapes : public GridTest {};

// The curve tests exactly as stated: offsets in single precision, every
// power a pow call for every cell.
void referenceheart(float cx, float cy, float size, unsigned char colour)
{
    for (int y = 0; y < GRID_HEIGHT; y++)
        for (int x = 0; x < GRID_WIDTH; x++) {
            const float dx = x - cx, dy = cy - y;
            const double a = pow(dx, 2) - pow(size, 2) + pow(dy, 2);
            if (size * pow(dx, 2) * pow(dy, 3) > pow(a, 3))
                DrawPixel(x, y, colour, BLEND_NORMAL);
        }
}

void referencebutterfly(float cx, float cy, float size, unsigned char colour, unsigned char dot)
{
    for (int y = 0; y < GRID_HEIGHT; y++)
        for (int x = 0; x < GRID_WIDTH; x++) {
            const float dx = x - cx, dy = cy - y;
            if (pow(size, 4) * pow(dx, 2) - pow(dx, 6) > pow(dy, 6))
                DrawPixel(x, y, colour, BLEND_NORMAL);
        }
    DrawCircle(cx - size / 2, cy + size / 3, size / 5, dot, BLEND_NORMAL);
    DrawCircle(cx + size / 2, cy + size / 3, size / 5, dot, BLEND_NORMAL);
    DrawCircle(cx - size / 2, cy - size / 3, size / 5, dot, BLEND_NORMAL);
    DrawCircle(cx + size / 2, cy - size / 3, size / 5, dot, BLEND_NORMAL);
}

// What draw leaves on a cleared grid.
std::vector<unsigned char> drawn(const std::function<void()> &draw)
{
    memset(blockgrid, 0, sizeof blockgrid);
    draw();
    return GridCells();
}

// A fixed sequence of positions and sizes, fractional and off the grid.
struct Lcg {
    unsigned s = 12345;
    float next(float lo, float hi)
    {
        s = s * 1664525u + 1013904223u;
        return lo + (hi - lo) * (float)(s >> 8) / (float)(1u << 24);
    }
};

}  // namespace

TEST_F(Shapes, HeartCellsFollowTheCurve)
{
    const struct { float cx, cy, size; int x, y; bool drawn; } cases[] = {
        {10, 9, 4, 10, 7, true},    // dy 2: 0 > (4 - 16)^3
        {10, 9, 4, 10, 5, false},   // dy = size: 0 > 0 is false
        {10, 9, 4, 10, 12, true},
        {10, 9, 4, 10, 13, false},  // the point at the bottom
        {10, 9, 4, 7, 7, true},     // a lobe: 4*9*8 = 288 > (9 - 16 + 4)^3
        {10, 9, 4, 14, 12, false},  // beside the point
        {0.5f, 0.5f, 1, 1, 1, true},
        // On the edge: evaluated wholly in single precision it is left out.
        {0.403420001f, 2.3834002f, 9.98999977f, 7, 7, true},
    };
    for (const auto &t : cases) {
        memset(blockgrid, 0, sizeof blockgrid);
        DrawHeart(t.cx, t.cy, t.size, 9, BLEND_NORMAL);
        EXPECT_EQ(t.drawn ? 9 : 0, blockgrid[t.y][t.x])
            << "heart at " << t.cx << "," << t.cy << " size " << t.size << ", cell " << t.x << "," << t.y << "\n"
            << GridPicture();
    }
}

// Wings in the wing colour, dots in theirs, above and below the centre;
// the centre column itself is never drawn, whatever the size.
TEST_F(Shapes, ButterflyWingsAndDots)
{
    DrawButterfly(20, 9, 5, 7, 9, BLEND_NORMAL);
    const struct { int x, y, want; } cells[] = {
        {16, 9, 7}, {24, 9, 7}, {20, 9, 0}, {25, 9, 0}, {15, 9, 0},  // |dx| = size: 0 > 0
        {17, 10, 9}, {18, 11, 9}, {22, 10, 9}, {23, 11, 9},  // dots at cy + size/3
        {17, 7, 9}, {18, 8, 9}, {22, 7, 9}, {23, 8, 9},      // and at cy - size/3
        {17, 12, 7}, {17, 6, 7}, {19, 9, 7}, {21, 9, 7},
    };
    for (const auto &c : cells)
        EXPECT_EQ(c.want, blockgrid[c.y][c.x]) << c.x << "," << c.y << "\n" << GridPicture();
    for (float size : {1.0f, 4.0f, 7.5f}) {
        memset(blockgrid, 0, sizeof blockgrid);
        DrawButterfly(21, 8.25f, size, 9, 12, BLEND_NORMAL);
        for (int y = 0; y < GRID_HEIGHT; y++)
            ASSERT_EQ(0, blockgrid[y][21]) << "size " << size << "\n" << GridPicture();
    }
    // On the edge: evaluated wholly in single precision it is left out.
    memset(blockgrid, 0, sizeof blockgrid);
    DrawButterfly(1.17805994f, 15.5799999f, 6.90999985f, 7, 9, BLEND_NORMAL);
    EXPECT_EQ(7, blockgrid[10][5]) << GridPicture();
    // The mode reaches wings and dots: mixed, a red colour lifts 5 to 21 first.
    FillBlock(5);
    DrawButterfly(30, 9, 4, 20, 20, BLEND_MIXED);
    EXPECT_EQ((21 + 20) / 2, blockgrid[9][32]);
    EXPECT_EQ((21 + 20) / 2, blockgrid[7][32]);
}

// The per-column and per-row powers must give the very grid that a pow for
// every term of every cell gives.
TEST_F(Shapes, CurvesMatchThePerCellReference)
{
    Lcg lcg;
    for (int i = 0; i < 3000; i++) {
        const float cx = lcg.next(-12, 56), cy = lcg.next(-10, 28), size = lcg.next(-2, 14);
        const float q = i % 3 ? 0.0f : 0.25f;  // also whole and quarter centres
        const float x = i % 2 ? cx : std::round(cx) + q, y = i % 2 ? cy : std::round(cy) + q;
        ASSERT_TRUE(drawn([&] { referenceheart(x, y, size, 9); }) == drawn([&] { DrawHeart(x, y, size, 9, BLEND_NORMAL); }))
            << "heart " << x << "," << y << " size " << size;
        ASSERT_TRUE(drawn([&] { referencebutterfly(x, y, size, 9, 12); }) ==
                    drawn([&] { DrawButterfly(x, y, size, 9, 12, BLEND_NORMAL); }))
            << "butterfly " << x << "," << y << " size " << size;
    }
}

// Centre disc over four petals over the stem, all in normal mode whatever
// the mode says; a cell untouched by all three keeps its old value. Size 0
// leaves the stem alone, from the centre's row to the bottom.
TEST_F(Shapes, FlowerPetalsCentreAndStem)
{
    for (const int r : {2, 0}) {
        FillBlock(5);
        DrawFlower(10, 6, (float)r, 30, 22, true, 0, BLEND_ADD);
        const int d = 3 * r / 2, discs[5][2] = {{10, 6}, {10 + d, 6}, {10, 6 + d}, {10 - d, 6}, {10, 6 - d}};
        for (int y = 0; y < GRID_HEIGHT; y++)
            for (int x = 0; x < GRID_WIDTH; x++) {
                const auto inside = [&](int i) {
                    const int dx = x - discs[i][0], dy = y - discs[i][1];
                    return dx * dx + dy * dy < r * r;
                };
                int want = 5;
                if (inside(0))
                    want = 30;
                else if (inside(1) || inside(2) || inside(3) || inside(4))
                    want = 22;
                else if ((x == 10 || x == 11) && y >= 6)
                    want = 8;
                ASSERT_EQ(want, blockgrid[y][x]) << "size " << r << ", cell " << x << "," << y << "\n" << GridPicture();
            }
    }
}

// The angle is in radians: a quarter turn only swaps the petals, an eighth
// moves them.
TEST_F(Shapes, FlowerTurnsByRadians)
{
    const auto flower = [](double angle) {
        return drawn([&] { DrawFlower(20, 9, 2, 30, 22, false, (float)angle, BLEND_NORMAL); });
    };
    const auto straight = flower(0), quarter = flower(M_PI / 2), eighth = flower(M_PI / 4);
    EXPECT_TRUE(straight == quarter);
    EXPECT_TRUE(straight != eighth);
    EXPECT_EQ(22, blockgrid[11][22]) << GridPicture();  // petal at (22.1, 11.1)
}

// Whatever the centre, size or clipping rectangle, a shape changes exactly
// the cells it changes with the whole grid open that lie inside the
// rectangle, and nothing else.
TEST_F(Shapes, OffGridShapesDrawOnlyInsideGridAndClip)
{
    const std::function<void(float, float, float)> shapes[] = {
        [](float x, float y, float s) { DrawHeart(x, y, s, 9, BLEND_NORMAL); },
        [](float x, float y, float s) { DrawButterfly(x, y, s, 9, 12, BLEND_NORMAL); },
        [](float x, float y, float s) { DrawFlower(x, y, s, 9, 12, true, 0.3f, BLEND_NORMAL); },
    };
    const struct { float x, y, s; } places[] = {
        {-3, 9, 8}, {50, 9, 8}, {22, -4, 8}, {22, 25, 9}, {-6, -5, 12}, {48, 21, 12}, {-1e6f, 9, 4}, {22, 1e7f, 5},
    };
    const struct { int l, t, r, b; } clips[] = {{0, 0, 44, 18}, {0, 0, 20, 18}, {5, 3, 30, 12}, {40, 0, 44, 18}};
    int changed = 0;
    for (const auto &shape : shapes)
        for (const auto &p : places)
            for (const auto &c : clips) {
                FillBlock(1);
                SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
                shape(p.x, p.y, p.s);
                const auto open = GridCells();
                FillBlock(1);
                SetClippingRegion(c.l, c.t, c.r, c.b);
                shape(p.x, p.y, p.s);
                for (int y = 0; y < GRID_HEIGHT; y++)
                    for (int x = 0; x < GRID_WIDTH; x++) {
                        const bool in = x >= c.l && x < c.r && y >= c.t && y < c.b;
                        ASSERT_EQ(in ? open[y * GRID_WIDTH + x] : 1, blockgrid[y][x])
                            << "shape at " << p.x << "," << p.y << " clip " << c.l << "," << c.t << "," << c.r << ","
                            << c.b << ", cell " << x << "," << y;
                        changed += in && blockgrid[y][x] != 1;
                    }
            }
    EXPECT_GT(changed, 0);  // the big shapes reach into the grid
}

// Not-a-number and infinite arguments draw nothing unexpected: every cell
// stays a colour the call could have written.
TEST_F(Shapes, NonFiniteArgumentsStayInsideTheColours)
{
    const float odd[] = {NAN, INFINITY, -INFINITY, 1e30f, -1e30f, -0.0f, 3.5f};
    for (float a : odd)
        for (float b : odd)
            for (float c : odd) {
                FillBlock(1);
                DrawHeart(a, b, c, 9, BLEND_NORMAL);
                DrawButterfly(b, c, a, 9, 12, BLEND_NORMAL);
                DrawFlower(c, a, b, 9, 12, true, a, BLEND_NORMAL);
                DrawFlower(10, 9, 3, 9, 12, false, c, BLEND_NORMAL);
                for (auto &row : blockgrid)
                    for (unsigned char v : row)
                        ASSERT_TRUE(v == 1 || v == 8 || v == 9 || v == 12)
                            << (int)v << " from " << a << "," << b << "," << c;
            }
}
