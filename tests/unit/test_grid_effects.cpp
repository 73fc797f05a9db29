// The flat effects where their pictures do not show it: the rain's reset
// limit, the worms at unusable times, and what odd timers, speeds and
// globals do to them (nothing outside the grid, no garbage). The pictures
// at fixed moments are in test_effect_snapshots.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>

#include "app/appstate.h"
#include "app/effects/grid_effects.h"
#include "tests/unit/grid_support.h"

namespace {

// Default speed and timer 0; the grid holds leftovers the effect must clear.
class GridEffects : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        memset(blockgrid, 44, sizeof blockgrid);
        effectTimer = 0;
        effectSpeed = 1.0f;
    }
    void TearDown() override
    {
        effectTimer = 0;
        effectSpeed = 1.0f;
    }
};

}  // namespace

// A drop is sent back to row 0 only once it is above 36: at 36.0 exactly
// it stays. Steps of 0.25 (speed 25) keep the sums exact.
TEST_F(GridEffects, RainResetsOnlyAbove36)
{
    const struct { float start, speed, want; } cases[] = {
        {36.0f, 0, 36.0f},    // standing exactly on the limit
        {36.5f, 0, 0},        // above it: reset on the first step
        {32.25f, 25, 36.0f},  // reaches 36.0 with the last step
        {33.25f, 25, 0.75f},  // over with step 12, three more from 0
    };
    for (const auto &t : cases) {
        effectSpeed = t.speed;
        for (int c = 0; c < amount; c++)
            xDroplet[c] = 3, yDroplet[c] = t.start;
        matrixrain(100);
        EXPECT_EQ(t.want, yDroplet[0]) << "from " << t.start << " at speed " << t.speed;
    }
}

// At an unusable time no worm disc has a place: nothing rather than garbage.
TEST_F(GridEffects, WormsSkipUnusableTimes)
{
    for (float t : {NAN, INFINITY, -INFINITY}) {
        endlessworms(t, BLEND_NORMAL);
        EXPECT_EQ(GRID_WIDTH * GRID_HEIGHT, CountCells(0)) << t;
    }
}

// Hours of user mode, negative or frozen timers, broken speeds: every
// effect still paints only the grid (the sanitizer build watches the
// bounds) and only colours 0-47, and the rain recovers afterwards.
TEST_F(GridEffects, ExtremeTimesAndSpeedsStayOnTheGrid)
{
    const std::function<void(float)> effects[] = {
        [](float) { Twisterbar(); },
        [](float) { SinusLines((e_blendMode)9); },
        [](float t) { matrixrain(t); },
        [](float t) { endlessworms(t, BLEND_MIXED); },
    };
    initmatrixrain();
    for (int timer : {0, INT_MAX, INT_MIN, -1})
        for (float speed : {0.0f, 1e30f, -1e30f, INFINITY, NAN, -1.0f})
            for (float t : {0.0f, 2147483648.0f, -1.0f, 1e30f, -INFINITY, NAN})
                for (size_t e = 0; e < sizeof effects / sizeof effects[0]; e++) {
                    effectTimer = timer, effectSpeed = speed;
                    effects[e](t);
                    ASSERT_LT(MaxCell(), 48) << "effect " << e << " timer " << timer << " speed " << speed << " t " << t;
                }
    // A drop that went NaN restarts at the top; back at a sane speed every
    // drop is a number on its way down again.
    effectSpeed = NAN;
    matrixrain(5);
    effectSpeed = 1;
    matrixrain(5);
    for (int c = 0; c < amount; c++)
        EXPECT_TRUE(yDroplet[c] >= 0 && yDroplet[c] <= 36) << c << ": " << yDroplet[c];
}
