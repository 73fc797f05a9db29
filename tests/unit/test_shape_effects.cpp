// The shape effects cell by cell: the depth sort, the circling balls at
// timer 0, the shape field's drift, the beating shape in the left half, the
// eyes following a fixed pointer, the stages of the petal dance; and
// extreme timers, speeds and pointers, which must never leave the grid or
// its colours.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "app/appstate.h"
#include "app/effects/shape_effects.h"
#include "app/effects/shapes.h"
#include "engine/platform/controller.h"

namespace {

int pointerx, pointery;

// Stands in for the window: every reading is the chosen frame position.
void fixedpointer(int *x, int *y)
{
    *x = pointerx;
    *y = pointery;
}

class ShapeEffects : public testing::Test {
protected:
    void SetUp() override
    {
        memset(blockgrid, 0, sizeof blockgrid);
        SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
        effectTimer = 0;
        effectSpeed = 1.0f;
    }
    void TearDown() override
    {
        VXE_SetMouseMap(nullptr);
        SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
        effectTimer = 0;
        effectSpeed = 1.0f;
    }
};

std::string picture()
{
    std::string out;
    for (auto &row : blockgrid) {
        for (unsigned char v : row)
            out += v ? (char)('A' + v % 26) : '.';
        out += '\n';
    }
    return out;
}

int count(unsigned char value)
{
    int n = 0;
    for (auto &row : blockgrid)
        for (unsigned char v : row)
            n += v == value;
    return n;
}

int maxcell()
{
    int m = 0;
    for (auto &row : blockgrid)
        for (unsigned char v : row)
            m = v > m ? v : m;
    return m;
}

// One shape of the field at a place of its own, every other one far below
// the grid where it draws nothing.
void loneshape(float x, float y, float z, unsigned char first, unsigned char second)
{
    for (int i = 0; i < numShapes; i++) {
        xShapes[i] = i ? 10 : x;
        yShapes[i] = i ? 1000 : y;
        zShapes[i] = i ? 2 : z;
        colShapes[i][0] = first;
        colShapes[i][1] = second;
    }
}

struct Cell {
    int x, y, want;
};

void expectcells(std::initializer_list<Cell> cells, const std::string &what)
{
    for (const Cell &c : cells)
        EXPECT_EQ(c.want, blockgrid[c.y][c.x]) << what << ", cell " << c.x << "," << c.y << "\n" << picture();
}

}  // namespace

TEST_F(ShapeEffects, SortOrdersByDepthKeepingEqualDepthsInOrder)
{
    const struct { int n; float z[5]; int wantid[5]; } cases[] = {
        {3, {3, 1, 2}, {1, 2, 0}},        // ids are the input positions
        {4, {2, 1, 2, 1}, {1, 3, 0, 2}},  // equal depths keep their order
        {5, {5, 4, 3, 2, 1}, {4, 3, 2, 1, 0}},
        {1, {7}, {0}},
        {5, {NAN, 1, 0, NAN, -1}, {0, 2, 1, 3, 4}},  // NaN never swaps
    };
    for (size_t k = 0; k < sizeof cases / sizeof cases[0]; k++) {
        const auto &t = cases[k];
        vector3f in[6], out[6];
        for (int i = 0; i < 6; i++) {
            in[i] = {(float)i, 0, i < t.n ? t.z[i] : -100.0f};  // beyond n: a smaller z that must stay out
            out[i] = {-1, -1, -1};
        }
        SortVector3f(in, out, t.n);
        for (int i = 0; i < t.n; i++)
            EXPECT_EQ(t.wantid[i], (int)out[i].x) << "case " << k << ", slot " << i;
        EXPECT_EQ(-1, out[t.n].x) << "case " << k << ": only n slots are written";
    }
    // Nothing to sort: nothing is touched.
    vector3f in = {1, 1, 1}, keep = {9, 9, 9};
    for (int n : {0, -1, INT_MIN}) {
        SortVector3f(&in, &keep, n);
        EXPECT_EQ(9, keep.x) << n;
    }
    SortVector3f(nullptr, nullptr, 5);
}

// Timer 0: ball 0 sits at (0, 0, 1), nearest, and is drawn last at X 22,
// Y 7 with size 2.1: radii 7.35 (outline, colour 3) and 6.55 (colour 15).
TEST_F(ShapeEffects, BallsAtTimerZero)
{
    balls3d(SHAPE_DISC, BLEND_NORMAL);
    EXPECT_TRUE(balls[0].x == 0 && balls[0].y == 0 && balls[0].z == 1);
    EXPECT_TRUE(sortedBalls[4].x == 0 && sortedBalls[4].y == 0 && sortedBalls[4].z == 1);
    expectcells({{22, 7, 15}, {28, 7, 15}, {29, 7, 3}, {15, 7, 3}, {22, 0, 3}, {22, 14, 3}, {30, 7, 0},
                 {22, 15, 0}, {27, 12, 3}, {26, 12, 15},
                 // Balls 1 and 4 at x 22 +- 15.2, depth 0.31: colour R(10.85) = 11.
                 {37, 7, 11}, {7, 7, 11},
                 // Balls 2 and 3 far behind: only an outline cell or two.
                 {31, 7, 3}, {13, 7, 3}},
                "discs");

    // The same balls as hearts, 2.5 rows lower, colours 27 and 30: on the
    // centre column rows 3-16 lie inside both (|dy| < 6.75).
    balls3d(SHAPE_HEART, BLEND_NORMAL);
    expectcells({{22, 2, 0}, {22, 3, 30}, {22, 9, 30}, {22, 16, 30}, {22, 17, 0}}, "hearts");
    EXPECT_GT(count(27), 0);

    // As butterflies the whole centre column stays dark.
    balls3d(SHAPE_BUTTERFLY, BLEND_NORMAL);
    for (int y = 0; y < GRID_HEIGHT; y++)
        EXPECT_EQ(0, blockgrid[y][22]) << y << "\n" << picture();
    expectcells({{25, 7, 15}, {29, 7, 3}}, "butterflies");

    // Flowers are drawn as discs; the mode reaches every disc: mixed, the
    // outline makes (0 + 3) / 2 = 1, the inside over it (1 + 15) / 2 = 8.
    balls3d(SHAPE_FLOWER, BLEND_NORMAL);
    expectcells({{22, 7, 15}, {29, 7, 3}}, "flowers");
    balls3d(SHAPE_DISC, BLEND_MIXED);
    expectcells({{22, 7, 8}, {29, 7, 1}}, "mixed");
}

// The timer is divided as a real number: the balls turn smoothly within a
// second instead of jumping once a second.
TEST_F(ShapeEffects, BallsTurnWithinASecond)
{
    for (const int timer : {999, 1, 1500, -700}) {
        effectTimer = timer;
        balls3d(SHAPE_DISC, BLEND_NORMAL);
        EXPECT_NEAR(std::sin(timer / 1000.0), balls[0].x, 1e-6) << timer;
        EXPECT_NEAR(std::cos(timer / 1000.0 + 2 * M_PI / 5), balls[1].z, 1e-6) << timer;
    }
}

// Random draws in their order: x, y, red, then (colourful) the colour
// until it lies in one of the two allowed bands.
TEST_F(ShapeEffects, InitShapeFieldDrawsInItsOrder)
{
    for (bool colourful : {false, true}) {
        srand(4242);
        initshapefield(colourful);
        srand(4242);
        for (int i = 0; i < numShapes; i++) {
            const int x = rand() % 90 - 10, y = rand() % 18, red = rand() % 2;
            const float z = i < 8 ? 2.0f : i < 12 ? 3.0f : 4.0f;
            int first = (int)z * 3 + 16 * red;
            if (colourful)
                do
                    first = rand() % 32;
                while (first < 4 || (first > 15 && first < 20));
            EXPECT_EQ(x, xShapes[i]) << i;
            EXPECT_EQ(y, yShapes[i]) << i;
            EXPECT_EQ(z, zShapes[i]) << i;
            EXPECT_EQ(first, colShapes[i][0]) << i << (colourful ? " colourful" : "");
            EXPECT_EQ(16 * red + 15, colShapes[i][1]) << i;
        }
    }
}

// Each frame moves the shapes on from where they were: right by
// speed * z * 3/64, wrapping at 44, and up or down by z * speed * sin(x)/8.
TEST_F(ShapeEffects, ShapeFieldDriftsAndWraps)
{
    const struct { float x, z, speed, wantx; } cases[] = {
        {10, 2, 1, 10.09375f},
        {-5, 2, 1, -4.90625f},         // a negative start stays negative
        {-0.0625f, 4, 1, 0.125f},      // until it passes 0
        {43.9375f, 2, 1, 0.03125f},    // wraps at 44
        {43.9375f, 4, 2, 0.3125f},
        {20, 3, 0, 20},                // speed 0: standing still
    };
    for (const auto &t : cases) {
        loneshape(t.x, 5, t.z, 6, 15);
        effectSpeed = t.speed;
        shapefield(1, SHAPE_DISC, BLEND_NORMAL);
        EXPECT_EQ(t.wantx, xShapes[0]) << t.x;
        EXPECT_NEAR(5 + t.z * t.speed * std::sin(t.wantx) / 8, yShapes[0], 1e-5) << t.x;
    }
}

// Timer 0 does not reseed the field: at speed 0 the timer stays 0 and the
// picture must stand still, and the generator is left alone.
TEST_F(ShapeEffects, ShapeFieldNeverReseedsItself)
{
    loneshape(10, 9, 2, 6, 15);
    effectSpeed = 0;
    srand(77);
    const int next = rand();
    srand(77);
    shapefield(0, SHAPE_BUTTERFLY, BLEND_NORMAL);
    unsigned char first[GRID_HEIGHT][GRID_WIDTH];
    memcpy(first, blockgrid, sizeof first);
    for (int frame = 0; frame < 5; frame++)
        shapefield(0, SHAPE_BUTTERFLY, BLEND_NORMAL);
    EXPECT_EQ(0, memcmp(first, blockgrid, sizeof first));
    EXPECT_EQ(next, rand());
    EXPECT_EQ(10, xShapes[0]);
    EXPECT_EQ(9, yShapes[0]);

    // Moving again, it goes on from there.
    effectSpeed = 1;
    shapefield(0, SHAPE_BUTTERFLY, BLEND_NORMAL);
    shapefield(0, SHAPE_BUTTERFLY, BLEND_NORMAL);
    EXPECT_EQ(10.1875f, xShapes[0]);
}

// Each kind of shape with its colours; the flower turns by the mode's
// number and is drawn in normal mode.
TEST_F(ShapeEffects, ShapeFieldDrawsEachKind)
{
    const struct { e_shapeType shape; e_blendMode mode; std::function<void()> direct; } cases[] = {
        {SHAPE_DISC, BLEND_NORMAL, [] { DrawCircle(10, 9, 2, 15, BLEND_NORMAL); }},
        {SHAPE_HEART, BLEND_MIXED, [] { DrawHeart(10, 9, 2, 15, BLEND_MIXED); }},
        {SHAPE_BUTTERFLY, BLEND_ADD, [] { DrawButterfly(10, 9, 2, 6, 15, BLEND_ADD); }},
        {SHAPE_FLOWER, BLEND_NORMAL, [] { DrawFlower(10, 9, 2, 6, 15, false, 0, BLEND_NORMAL); }},
        {SHAPE_FLOWER, BLEND_ADD, [] { DrawFlower(10, 9, 2, 6, 15, false, 2, BLEND_NORMAL); }},
    };
    effectSpeed = 0;
    unsigned char want[GRID_HEIGHT][GRID_WIDTH];
    for (const auto &t : cases) {
        FillBlock(0);
        t.direct();
        memcpy(want, blockgrid, sizeof want);
        loneshape(10, 9, 2, 6, 15);
        shapefield(1, t.shape, t.mode);
        EXPECT_EQ(0, memcmp(want, blockgrid, sizeof want)) << t.shape << " mode " << t.mode << "\n" << picture();
    }
    // The flower's centre in the first colour, a petal in the second.
    expectcells({{10, 9, 6}, {10, 6, 15}}, "flower turned by 2");
}

// The left half only: clipped to it, filled with 0, the shape at (10, 9);
// the gap and the right half keep what they had until the copy.
TEST_F(ShapeEffects, ShapeBeatStaysInTheLeftHalf)
{
    const struct { float t; e_shapeType shape; std::initializer_list<Cell> cells; } cases[] = {
        // s = 3: the outline heart (30) reaches rows 7-11 on the centre
        // column, the inner one (20) rows 8-10.
        {0, SHAPE_HEART, {{10, 6, 0}, {10, 7, 30}, {10, 8, 20}, {10, 10, 20}, {10, 11, 30}, {10, 12, 0}, {0, 0, 0}}},
        // s = 8 at a quarter period: rows 2-16, inner 3-15.
        {(float)(100 * M_PI), SHAPE_HEART, {{10, 1, 0}, {10, 2, 30}, {10, 3, 20}, {10, 15, 20}, {10, 16, 30}}},
        // A disc twice in the second colour.
        {0, SHAPE_DISC, {{10, 9, 30}, {12, 9, 30}, {13, 9, 0}, {7, 9, 0}}},
        // Wings in the first colour, never the centre column.
        {0, SHAPE_BUTTERFLY, {{10, 9, 0}, {11, 9, 20}, {8, 9, 20}, {13, 9, 0}}},
        {0, SHAPE_FLOWER, {{10, 9, 20}, {14, 9, 30}, {10, 13, 30}}},
    };
    for (const auto &t : cases) {
        FillBlock(7);
        SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
        shapebeat(t.t, 20, 30, t.shape, BLEND_NORMAL);
        EXPECT_TRUE(clipLeft == 0 && clipTop == 0 && clipRight == GRID_HALF && clipBottom == GRID_HEIGHT);
        for (int y = 0; y < GRID_HEIGHT; y++)
            for (int x = GRID_HALF; x < GRID_WIDTH; x++)
                ASSERT_EQ(7, blockgrid[y][x]) << x << "," << y;
        EXPECT_EQ((GRID_WIDTH - GRID_HALF) * GRID_HEIGHT, count(7));  // the left half was cleared
        expectcells(t.cells, "shape " + std::to_string(t.shape) + " at " + std::to_string(t.t));
        CopyLeftRight();
        for (int y = 0; y < GRID_HEIGHT; y++)
            for (int x = 0; x < GRID_HALF; x++)
                ASSERT_EQ(blockgrid[y][x], blockgrid[y][GRID_RIGHT + x]) << x << "," << y;
    }
}

// The pupils look two cells toward the pointer; each pupil's centre of
// radius 1.5 is the 2x2 block of 0 around it, inside a ring of 5.
TEST_F(ShapeEffects, EyesFollowThePointer)
{
    const struct { int x, y, l, t, r, b; } cases[] = {
        // pointer: left eye dx, dy; right eye dx, dy. At the left eye's
        // centre its pupil is centred on (10.5, 8.5): cells 10-11, 8-9.
        {183, 145, 0, 0, -2, 0},
        {269, 145, 2, 0, 0, 0},
        {200, 145, 2, 0, -2, 0},
        {183, 0, 0, -2, -2, -2},
        {269, 199, 2, 2, 0, 2},
        {-100000, -100000, -2, -2, -2, -2},
        {100000, 100000, 2, 2, 2, 2},
        {INT_MIN, INT_MAX, -2, 2, -2, 2},
        {INT_MAX, INT_MIN, 2, -2, 2, -2},
    };
    VXE_SetMouseMap(fixedpointer);
    for (const auto &t : cases) {
        pointerx = t.x;
        pointery = t.y;
        Eyes(BLEND_NORMAL);
        EXPECT_TRUE(dxl == t.l && dyl == t.t && dxr == t.r && dyr == t.b)
            << t.x << "," << t.y << ": " << dxl << " " << dyl << " " << dxr << " " << dyr;
        for (const int ex : {10, 32}) {
            // Top-left of the pupil's 2x2 centre.
            const int px = ex + (ex == 10 ? t.l : t.r), py = 8 + (ex == 10 ? t.t : t.b);
            const std::string what = "pointer " + std::to_string(t.x) + "," + std::to_string(t.y);
            expectcells({{px, py, 0}, {px + 1, py, 0}, {px, py + 1, 0}, {px + 1, py + 1, 0},
                         {px - 1, py, 5}, {px + 2, py + 1, 5}, {px, py - 1, 5}, {px + 1, py + 2, 5},
                         {px - 2, py, 5}, {px - 3, py, 15}, {px + 4, py + 1, 15}},
                        what);
        }
        // The rim (0), the white (15) with its shade below (24), the frame (28).
        expectcells({{0, 0, 28}, {3, 8, 28}, {4, 8, 0}, {10, 1, 28}, {10, 2, 0}, {10, 15, 24}, {5, 11, 15},
                     {21, 8, 28}, {26, 11, 0}, {32, 15, 24}, {38, 11, 15}},
                    "eye");
    }
}

// Six stages of 1280 ticks; each one's own picture.
TEST_F(ShapeEffects, PetalDanceStages)
{
    const struct { float t; const char *what; std::initializer_list<Cell> cells; } cases[] = {
        // Stage 0 begins with the flower's centre on the bottom edge.
        {0, "rising", {{10, 17, 30}, {10, 16, 22}, {10, 14, 22}, {10, 13, 0}, {10, 0, 0}}},
        // Stage 2 begins with the butterfly at the right edge.
        {2560, "arriving", {{10, 6, 30}, {42, 6, 4}, {43, 6, 4}, {38, 6, 0}}},
        // Stage 3: resting on the flower, whose centre shows in the column
        // the butterfly never draws; the wings are 4, their edge 30.
        {3840, "resting", {{10, 6, 30}, {12, 6, 4}, {14, 6, 4}, {8, 6, 4}, {16, 6, 30}, {4, 6, 30}, {17, 6, 22}}},
        // Later in stage 3 the beat opens the wings to size 8: inner wings reach 7 cells.
        {4712, "resting, wings open", {{10, 6, 30}, {16, 6, 4}, {4, 6, 4}}},
        // Stage 4 begins with the butterfly at size 8 too.
        {5120, "leaving", {{10, 6, 30}, {16, 6, 4}, {4, 6, 4}}},
        // Stage 5 ends with the flower on the bottom edge again.
        {7679, "sinking", {{10, 17, 30}, {10, 12, 0}, {10, 0, 0}}},
        // Stage 1 ends fully open: size 4, centre radius 4.
        {2559, "opening", {{10, 6, 30}, {13, 6, 30}, {14, 6, 22}, {10, 17, 8}}},
    };
    for (const auto &t : cases) {
        petaldance(t.t);
        expectcells(t.cells, t.what);
    }
    // The last tick has no butterfly and nothing above row 13.
    petaldance(7679);
    EXPECT_EQ(0, count(4));
    for (int y = 0; y < 13; y++)
        for (int x = 0; x < GRID_WIDTH; x++)
            ASSERT_EQ(0, blockgrid[y][x]) << x << "," << y << "\n" << picture();
}

// Extreme timers, speeds, modes, shapes and pointers: every effect keeps
// to the grid and to colours 0-47, and the clipping rectangle stays inside
// the grid.
TEST_F(ShapeEffects, ExtremeInputsStayInTheGrid)
{
    const float times[] = {0, 7679, 7680, 2147483647.0f, -1, -7679, -2147483648.0f, 1e30f, -1e30f,
                           NAN, INFINITY, -INFINITY};
    const int timers[] = {0, 7679, INT_MAX, INT_MAX - 1, -1, INT_MIN, 123456789};
    const float speeds[] = {0, 1, 2.2f, -1, 1e30f, -1e30f, INFINITY, NAN, 3e38f};
    const int modes[] = {0, 1, 2, 3};  // 3: an unknown mode, drawn as normal
    const int shapes[] = {0, 1, 2, 3};
    const int pointers[] = {0, 183, 145, 269, -100000, 100000, INT_MIN, INT_MAX};
    const auto sane = [](const char *what, double arg) {
        ASSERT_LT(maxcell(), 48) << what << " " << arg;
        ASSERT_TRUE(clipLeft >= 0 && clipTop >= 0 && clipRight <= GRID_WIDTH && clipBottom <= GRID_HEIGHT);
    };
    VXE_SetMouseMap(fixedpointer);
    srand(1);
    initshapefield(true);
    for (float speed : speeds) {
        effectSpeed = speed;
        for (int timer : timers) {
            effectTimer = timer;
            for (int shape : shapes)
                for (int mode : modes) {
                    balls3d((e_shapeType)shape, (e_blendMode)mode);
                    sane("balls3d", timer);
                    // The nearest ball always shows its centre in colour 14 or 15.
                    if (shape == SHAPE_DISC && mode == BLEND_NORMAL) {
                        ASSERT_TRUE(maxcell() == 14 || maxcell() == 15) << timer;
                    }
                }
        }
        for (float t : times) {
            for (int shape : shapes)
                for (int mode : modes) {
                    shapefield(t, (e_shapeType)shape, (e_blendMode)mode);
                    sane("shapefield", t);
                    shapebeat(t, 20, 30, (e_shapeType)shape, (e_blendMode)mode);
                    sane("shapebeat", t);
                    CopyLeftRight();
                    SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
                }
            petaldance(t);
            sane("petaldance", t);
            if (!std::isfinite(t)) {
                ASSERT_EQ(GRID_WIDTH * GRID_HEIGHT, count(0));  // no stage at all: a dark grid
            }
        }
        for (int i = 0; i < numShapes; i++)
            ASSERT_TRUE(std::isfinite(xShapes[i]) && std::isfinite(yShapes[i])) << "speed " << speed;
    }
    for (int px : pointers)
        for (int py : pointers)
            for (int mode : modes) {
                pointerx = px;
                pointery = py;
                Eyes((e_blendMode)mode);
                sane("Eyes", px);
                ASSERT_TRUE(std::abs(dxl) <= 2 && std::abs(dyl) <= 2 && std::abs(dxr) <= 2 && std::abs(dyr) <= 2);
            }
    // A speed back to normal after an absurd one moves the shapes again.
    effectSpeed = 1;
    const float before = xShapes[0];
    shapefield(1, SHAPE_BUTTERFLY, BLEND_NORMAL);
    EXPECT_NE(before, xShapes[0]);
}
