// The shape effects where their pictures do not show it: the depth sort,
// the beating heart in the left half; and extreme timers, speeds and
// pointers, which must never leave the grid or its colours. The pictures at
// fixed moments (the field's drift and its standing still at speed 0, the
// balls half way through a second, the petal dance on both sides of a stage
// change among them) are in test_effect_snapshots.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/appstate.h"
#include "app/effects/shape_effects.h"
#include "app/effects/shapes.h"
#include "tests/unit/grid_support.h"

namespace {

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
        ResetPointerState();
        effectTimer = 0;
        effectSpeed = 1.0f;
    }
};

}  // namespace

TEST_F(ShapeEffects, SortOrdersByDepthKeepingEqualDepthsInOrder)
{
    const struct { int n; float z[5]; int wantid[5]; } cases[] = {
        {3, {3, 1, 2}, {1, 2, 0}},        // ids are the input positions
        {4, {2, 1, 2, 1}, {1, 3, 0, 2}},  // equal depths keep their order
        {5, {NAN, 1, 0, NAN, -1}, {0, 2, 1, 3, 4}},  // NaN never swaps
    };
    for (const auto &t : cases) {
        vector3f in[6], out[6];
        for (int i = 0; i < 6; i++) {
            in[i] = {(float)i, 0, i < t.n ? t.z[i] : -100.0f};  // beyond n: a smaller z that must stay out
            out[i] = {-1, -1, -1};
        }
        SortVector3f(in, out, t.n);
        for (int i = 0; i < t.n; i++)
            EXPECT_EQ(t.wantid[i], (int)out[i].x) << t.n << " depths, slot " << i;
        EXPECT_EQ(-1, out[t.n].x) << "only n slots are written";
    }
    // Nothing to sort: nothing is touched.
    vector3f in = {1, 1, 1}, keep = {9, 9, 9};
    for (int n : {0, INT_MIN}) {
        SortVector3f(&in, &keep, n);
        EXPECT_EQ(9, keep.x) << n;
    }
    SortVector3f(nullptr, nullptr, 5);
}

// The left half only: clipped to it and filled with 0, while the gap and
// the right half keep what they had until the part table's copy (the heart
// itself is in the heartbeat snapshots).
TEST_F(ShapeEffects, ShapeBeatStaysInTheLeftHalf)
{
    FillBlock(7);
    shapebeat((float)(100 * M_PI), 20, 30, SHAPE_HEART, BLEND_NORMAL);
    EXPECT_TRUE(clipLeft == 0 && clipTop == 0 && clipRight == GRID_HALF && clipBottom == GRID_HEIGHT);
    for (int y = 0; y < GRID_HEIGHT; y++)
        for (int x = GRID_HALF; x < GRID_WIDTH; x++)
            ASSERT_EQ(7, blockgrid[y][x]) << x << "," << y;
    EXPECT_EQ((GRID_WIDTH - GRID_HALF) * GRID_HEIGHT, CountCells(7));  // the left half was cleared
    EXPECT_EQ(30, blockgrid[2][10]) << "the outline at the top of the heart\n" << GridPicture();
}

// Extreme timers, speeds, modes, shapes and pointers: every effect keeps
// to the grid and to colours 0-47, and the clipping rectangle stays inside
// the grid.
TEST_F(ShapeEffects, ExtremeInputsStayInTheGrid)
{
    const float times[] = {0, 2147483647.0f, -7679, -1e30f, NAN, INFINITY};
    const auto sane = [](const char *what, double arg) {
        ASSERT_LT(MaxCell(), 48) << what << " " << arg;
        ASSERT_TRUE(clipLeft >= 0 && clipTop >= 0 && clipRight <= GRID_WIDTH && clipBottom <= GRID_HEIGHT);
    };
    srand(1);
    initshapefield(true);
    for (int i = 0; i < numShapes; i++) {
        const int c = colShapes[i][0];
        ASSERT_TRUE((c >= 4 && c <= 15) || (c >= 20 && c <= 31)) << "colourful shapes keep to 4-15 and 20-31: " << c;
    }
    for (float speed : {0.0f, -1.0f, 1e30f, -INFINITY, NAN}) {
        effectSpeed = speed;
        // Every shape in every mode, 3 being an unknown mode drawn as normal.
        for (int k = 0; k < 16; k++) {
            const e_shapeType shape = (e_shapeType)(k % 4);
            const e_blendMode mode = (e_blendMode)(k / 4);
            for (int timer : {0, INT_MAX, INT_MIN}) {
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
    for (int p : {INT_MIN, INT_MAX})
        for (int mode = 0; mode < 4; mode++) {
            mx = p, my = ~p;
            Eyes((e_blendMode)mode);
            sane("Eyes", p);
        }
}
