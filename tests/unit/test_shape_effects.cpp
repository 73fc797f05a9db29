// The shape effects cell by cell: the depth sort, the balls' shapes and
// turning, the shape field's start and drift, the beating shape in the left
// half, the eyes following a fixed pointer, the petal dance between its
// stages; and extreme timers, speeds and pointers, which must never leave
// the grid or its colours. The pictures at fixed moments are in
// test_effect_snapshots.
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
#include "tests/unit/grid_support.h"

namespace {

int pointerx, pointery;

// Stands in for the window: every reading is the chosen frame position.
void fixedpointer(int *x, int *y)
{
    *x = pointerx;
    *y = pointery;
}

class ShapeEffects : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        effectTimer = 0;
        effectSpeed = 1.0f;
    }
    void TearDown() override
    {
        GridTest::TearDown();
        VXE_SetMouseMap(nullptr);
        effectTimer = 0;
        effectSpeed = 1.0f;
    }
};

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
        EXPECT_EQ(c.want, blockgrid[c.y][c.x]) << what << ", cell " << c.x << "," << c.y << "\n" << GridPicture();
}

}  // namespace

TEST_F(ShapeEffects, SortOrdersByDepthKeepingEqualDepthsInOrder)
{
    const struct { int n; float z[5]; int wantid[5]; } cases[] = {
        {3, {3, 1, 2}, {1, 2, 0}},        // ids are the input positions
        {4, {2, 1, 2, 1}, {1, 3, 0, 2}},  // equal depths keep their order
        {5, {5, 4, 3, 2, 1}, {4, 3, 2, 1, 0}},
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
// Discs and hearts in normal mode are in the snapshots; here the other
// shapes and a mode reach every ball.
TEST_F(ShapeEffects, BallsTakeEveryShapeAndMode)
{
    balls3d(SHAPE_DISC, BLEND_NORMAL);
    EXPECT_TRUE(sortedBalls[4].x == 0 && sortedBalls[4].y == 0 && sortedBalls[4].z == 1);
    const auto discs = GridCells();
    // Flowers are drawn as discs.
    balls3d(SHAPE_FLOWER, BLEND_NORMAL);
    EXPECT_EQ(discs, GridCells()) << GridPicture();

    // As butterflies the whole centre column stays dark.
    balls3d(SHAPE_BUTTERFLY, BLEND_NORMAL);
    for (int y = 0; y < GRID_HEIGHT; y++)
        EXPECT_EQ(0, blockgrid[y][22]) << y << "\n" << GridPicture();
    expectcells({{25, 7, 15}, {29, 7, 3}}, "butterflies");

    // Mixed, the outline makes (0 + 3) / 2 = 1, the inside over it (1 + 15) / 2 = 8.
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

// The field starts on its layers (8 shapes at depth 2, 4 at 3, 4 at 4)
// within reach of the grid; plain shapes take 3z (red: + 16), colourful
// ones only the two allowed bands 4-15 and 20-31. The exact draws of the
// plain field are in the butterfly snapshots.
TEST_F(ShapeEffects, InitShapeFieldStaysInItsRanges)
{
    for (unsigned seed : {1u, 4242u})
        for (bool colourful : {false, true}) {
            srand(seed);
            initshapefield(colourful);
            for (int i = 0; i < numShapes; i++) {
                const int first = colShapes[i][0], second = colShapes[i][1];
                EXPECT_EQ(i < 8 ? 2.0f : i < 12 ? 3.0f : 4.0f, zShapes[i]) << i;
                EXPECT_TRUE(xShapes[i] >= -10 && xShapes[i] <= 79 && yShapes[i] >= 0 && yShapes[i] <= 17) << i;
                EXPECT_TRUE(second == 15 || second == 31) << i;
                if (colourful) {
                    EXPECT_TRUE((first >= 4 && first <= 15) || (first >= 20 && first <= 31)) << i << ": " << first;
                } else {
                    EXPECT_EQ(3 * (int)zShapes[i] + second - 15, first) << i;
                }
            }
        }
}

// Each frame moves the shapes on from where they were: right by
// speed * z * 3/64, wrapping at 44, and up or down by z * speed * sin(x)/8.
TEST_F(ShapeEffects, ShapeFieldDriftsAndWraps)
{
    const struct { float x, z, speed, wantx; } cases[] = {
        {10, 2, 1, 10.09375f},
        {-5, 2, 1, -4.90625f},       // a negative start stays negative
        {-0.0625f, 4, 1, 0.125f},    // until it passes 0
        {43.9375f, 4, 2, 0.3125f},   // wraps at 44
        {20, 3, 0, 20},              // speed 0: standing still
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
    const auto first = GridCells();
    for (int frame = 0; frame < 5; frame++)
        shapefield(0, SHAPE_BUTTERFLY, BLEND_NORMAL);
    EXPECT_EQ(first, GridCells());
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
    for (const auto &t : cases) {
        FillBlock(0);
        t.direct();
        const auto want = GridCells();
        loneshape(10, 9, 2, 6, 15);
        shapefield(1, t.shape, t.mode);
        EXPECT_EQ(want, GridCells()) << t.shape << " mode " << t.mode << "\n" << GridPicture();
    }
    // The flower's centre in the first colour, a petal in the second.
    expectcells({{10, 9, 6}, {10, 6, 15}}, "flower turned by 2");
}

// The left half only: clipped to it, filled with 0, the shape at (10, 9);
// the gap and the right half keep what they had until the copy.
TEST_F(ShapeEffects, ShapeBeatStaysInTheLeftHalf)
{
    const struct { float t; e_shapeType shape; std::initializer_list<Cell> cells; } cases[] = {
        // s = 8 at a quarter period: the outline heart (30) reaches rows
        // 2-16 on the centre column, the inner one (20) rows 3-15.
        {(float)(100 * M_PI), SHAPE_HEART, {{10, 1, 0}, {10, 2, 30}, {10, 3, 20}, {10, 15, 20}, {10, 16, 30}}},
        // s = 3: a disc twice in the second colour.
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
        EXPECT_EQ((GRID_WIDTH - GRID_HALF) * GRID_HEIGHT, CountCells(7));  // the left half was cleared
        expectcells(t.cells, "shape " + std::to_string(t.shape) + " at " + std::to_string(t.t));
    }
}

// The pupils look two cells toward the pointer, from the eye centres at
// frame positions (183, 145) and (269, 145); the pictures are in the
// snapshots.
TEST_F(ShapeEffects, EyesFollowThePointer)
{
    const struct { int x, y, l, t, r, b; } cases[] = {
        // pointer: left eye dx, dy; right eye dx, dy.
        {183, 145, 0, 0, -2, 0},
        {269, 145, 2, 0, 0, 0},
        {200, 145, 2, 0, -2, 0},
        {183, 0, 0, -2, -2, -2},
        {269, 199, 2, 2, 0, 2},
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
    }
}

// Six stages of 1280 ticks; each one's own picture around the stage
// changes (the snapshots hold 0, 1920, 3840, 5760 and 7679).
TEST_F(ShapeEffects, PetalDanceStages)
{
    const struct { float t; const char *what; std::initializer_list<Cell> cells; } cases[] = {
        // Stage 1 ends fully open: size 4, centre radius 4.
        {2559, "opening", {{10, 6, 30}, {13, 6, 30}, {14, 6, 22}, {10, 17, 8}}},
        // Stage 2 begins with the butterfly at the right edge.
        {2560, "arriving", {{10, 6, 30}, {42, 6, 4}, {43, 6, 4}, {38, 6, 0}}},
        // Later in stage 3 the beat opens the wings to size 8: inner wings reach 7 cells.
        {4712, "resting, wings open", {{10, 6, 30}, {16, 6, 4}, {4, 6, 4}}},
        // Stage 4 begins with the butterfly at size 8 too.
        {5120, "leaving", {{10, 6, 30}, {16, 6, 4}, {4, 6, 4}}},
    };
    for (const auto &t : cases) {
        petaldance(t.t);
        expectcells(t.cells, t.what);
    }
}

// Extreme timers, speeds, modes, shapes and pointers: every effect keeps
// to the grid and to colours 0-47, and the clipping rectangle stays inside
// the grid.
TEST_F(ShapeEffects, ExtremeInputsStayInTheGrid)
{
    const float times[] = {0, 7680, 2147483647.0f, -7679, -1e30f, NAN, INFINITY, -INFINITY};
    const int timers[] = {0, INT_MAX, INT_MIN, 123456789};
    const float speeds[] = {0, 2.2f, -1, 1e30f, -1e30f, INFINITY, NAN};
    const auto sane = [](const char *what, double arg) {
        ASSERT_LT(MaxCell(), 48) << what << " " << arg;
        ASSERT_TRUE(clipLeft >= 0 && clipTop >= 0 && clipRight <= GRID_WIDTH && clipBottom <= GRID_HEIGHT);
    };
    srand(1);
    initshapefield(true);
    for (float speed : speeds) {
        effectSpeed = speed;
        // Every shape in every mode, 3 being an unknown mode drawn as normal.
        for (int k = 0; k < 16; k++) {
            const e_shapeType shape = (e_shapeType)(k % 4);
            const e_blendMode mode = (e_blendMode)(k / 4);
            for (int timer : timers) {
                effectTimer = timer;
                balls3d(shape, mode);
                sane("balls3d", timer);
                // The nearest ball always shows its centre in colour 14 or 15.
                if (shape == SHAPE_DISC && mode == BLEND_NORMAL) {
                    ASSERT_TRUE(MaxCell() == 14 || MaxCell() == 15) << timer;
                }
            }
            for (float t : times) {
                shapefield(t, shape, mode);
                sane("shapefield", t);
                shapebeat(t, 20, 30, shape, mode);
                sane("shapebeat", t);
                SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
            }
        }
        for (float t : times) {
            petaldance(t);
            sane("petaldance", t);
            if (!std::isfinite(t)) {
                ASSERT_EQ(GRID_WIDTH * GRID_HEIGHT, CountCells(0));  // no stage at all: a dark grid
            }
        }
        for (int i = 0; i < numShapes; i++)
            ASSERT_TRUE(std::isfinite(xShapes[i]) && std::isfinite(yShapes[i])) << "speed " << speed;
    }
    VXE_SetMouseMap(fixedpointer);
    for (int p : {INT_MIN, 0, INT_MAX})
        for (int mode = 0; mode < 4; mode++) {
            pointerx = p, pointery = ~p;
            Eyes((e_blendMode)mode);
            sane("Eyes", p);
        }
    // A speed back to normal after an absurd one moves the shapes again.
    effectSpeed = 1;
    const float before = xShapes[0];
    shapefield(1, SHAPE_BUTTERFLY, BLEND_NORMAL);
    EXPECT_NE(before, xShapes[0]);
}
