// The flat effects cell by cell: the twister's faces, the lattice's lines,
// the rain's trail and reset, the worms' blending, and what odd timers,
// speeds and globals do to them (nothing outside the grid, no garbage).
// The pictures at fixed moments are in test_effect_snapshots.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>

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
        shift = 9.0f, scale = 6.3f;
    }
};

// Column x from top to bottom as "r:c" pairs of its non-zero cells.
std::string column(int x)
{
    std::string out;
    for (int y = 0; y < GRID_HEIGHT; y++)
        if (blockgrid[y][x])
            out += (out.empty() ? "" : " ") + std::to_string(y) + ":" + std::to_string(blockgrid[y][x]);
    return out;
}

// The columns (or rows) drawn from edge to edge: the lattice's lines.
std::string fulllines(bool rows)
{
    std::string out;
    for (int i = 0; i < (rows ? GRID_HEIGHT : GRID_WIDTH); i++) {
        bool full = true;
        for (int j = 0; j < (rows ? GRID_WIDTH : GRID_HEIGHT); j++)
            full = full && (rows ? blockgrid[i][j] : blockgrid[j][i]);
        if (full)
            out += (out.empty() ? "" : " ") + std::to_string(i);
    }
    return out;
}

// Only the given drops on the grid; the rest stand in a column off it.
void onlydrops(std::initializer_list<std::pair<float, float>> drops)
{
    for (int c = 0; c < amount; c++)
        xDroplet[c] = 100, yDroplet[c] = 0;
    int c = 0;
    for (auto d : drops)
        xDroplet[c] = d.first, yDroplet[c] = d.second, c++;
}

}  // namespace

// Whatever the time, a column's faces meet edge to edge: one run of cells
// between rows 3 and 15, bright faces 15, shaded ones 11 at most.
TEST_F(GridEffects, TwisterColumnsAreOneRunOfFaces)
{
    for (int timer : {0, 1234, 7679, INT_MAX, INT_MIN}) {
        effectTimer = timer;
        Twisterbar();
        int drawn = 0;
        for (int x = 0; x < GRID_WIDTH; x++) {
            int first = -1, last = -1;
            for (int y = 0; y < GRID_HEIGHT; y++) {
                const int v = blockgrid[y][x];
                ASSERT_TRUE(v == 0 || v == 15 || v <= 11) << "timer " << timer << " cell " << x << "," << y;
                if (v) {
                    ASSERT_TRUE(last < 0 || last == y - 1) << "timer " << timer << " gap in column " << x;
                    first = first < 0 ? y : first, last = y;
                }
            }
            ASSERT_TRUE(first < 0 || (first >= 3 && last <= 14)) << "timer " << timer << " column " << x;
            drawn += first >= 0;
        }
        EXPECT_EQ(GRID_WIDTH, drawn) << "timer " << timer << ": the bar never vanishes";
    }
}

// Broken bar globals draw nothing or a clipped bar, never a stray cell.
TEST_F(GridEffects, TwisterSurvivesOddGlobals)
{
    const struct { float shift, scale; bool empty; } cases[] = {
        {9, 0, true}, {NAN, 6.3f, true}, {9, NAN, true}, {INFINITY, 6.3f, true}, {9, 1e30f, false}, {9, -6.3f, false},
        {1e9f, 6.3f, true},
    };
    for (const auto &t : cases) {
        shift = t.shift, scale = t.scale;
        for (int timer : {0, 777, INT_MAX}) {
            effectTimer = timer;
            Twisterbar();
            ASSERT_LT(MaxCell(), 48) << t.shift << "/" << t.scale;
            if (t.empty) {
                EXPECT_EQ(GRID_WIDTH * GRID_HEIGHT, CountCells(0)) << t.shift << "/" << t.scale << " timer " << timer;
            }
        }
    }
}

// Timer 0: columns at multiples of 4.7, rows at multiples of 2.5 (18 is
// off the grid) in every mode; additive blending makes the crossings 14.
TEST_F(GridEffects, LatticeAtTimerZero)
{
    for (int mode : {BLEND_NORMAL, BLEND_MIXED, BLEND_ADD}) {
        SinusLines((e_blendMode)mode);
        EXPECT_EQ("9 14 19 24 28 33 38 42", fulllines(false)) << "mode " << mode;
        EXPECT_EQ("5 8 10 13 15", fulllines(true)) << "mode " << mode;
        const int lines = 8 * GRID_HEIGHT + 5 * GRID_WIDTH - 8 * 5;
        EXPECT_EQ(GRID_WIDTH * GRID_HEIGHT - lines, CountCells(0)) << "mode " << mode;
    }
    EXPECT_EQ(8 * 5, CountCells(14)) << "crossings";
    EXPECT_EQ(7, blockgrid[0][9]) << "a line away from the crossings";
}

// The lattice breathes smoothly: a real division, so 1 ms moves it. At
// 1571 (a near pi/2) the columns spread to multiples of 7.9.
TEST_F(GridEffects, LatticeFollowsTheTimerSmoothly)
{
    effectTimer = 1571;
    SinusLines(BLEND_NORMAL);
    EXPECT_EQ("16 24 32 40", fulllines(false));
    // b = 2.5 + 1.7 sin(1571 / 867): rows at 2b..7b, about 8.3 apart.
    EXPECT_EQ("8 12 17", fulllines(true));
    effectTimer = 999;
    SinusLines(BLEND_NORMAL);
    const std::string before = fulllines(false);
    effectTimer = 1000;
    SinusLines(BLEND_NORMAL);
    EXPECT_EQ(before, fulllines(false)) << "no jump at a whole second";
}

// A standing drop shows its whole trail: head 15, 13, seven 8s, then 6..1.
// At speed 1 every trail cell is 0.01 row lower but lands on the same rows.
TEST_F(GridEffects, RainTrailColours)
{
    const std::string trail = "2:1 3:2 4:3 5:4 6:5 7:6 8:8 9:8 10:8 11:8 12:8 13:8 14:8 15:13 16:15";
    for (float speed : {0.0f, 1.0f}) {
        effectSpeed = speed;
        onlydrops({{5.5f, 16.5f}});
        matrixrain(100);
        EXPECT_EQ(trail, column(5)) << "speed " << speed;
        EXPECT_EQ(GRID_WIDTH * GRID_HEIGHT - 15, CountCells(0)) << "speed " << speed;
        EXPECT_FLOAT_EQ(16.5f + 15 * speed / 100, yDroplet[0]) << "one step per trail cell";
    }
    // Partly on the grid: rows are cut toward zero, so the cell just above
    // row 0 (-0.5) still lands on row 0 and the third colour wins there.
    effectSpeed = 0;
    onlydrops({{0, 1.5f}, {43, 30.0f}, {20.9f, -0.5f}});
    matrixrain(100);
    EXPECT_EQ("0:8 1:15", column(0));
    EXPECT_EQ("16:1 17:2", column(43));
    EXPECT_EQ("0:15", column(20));
}

// A drop is sent back to row 0 only once it is above 36: at 36.0 exactly
// it stays. Steps of 0.25 (speed 25) keep the sums exact.
TEST_F(GridEffects, RainResetsOnlyAbove36)
{
    const struct { float start, speed, want; } cases[] = {
        {36.0f, 0, 36.0f},      // standing exactly on the limit
        {36.5f, 0, 0},          // above it: reset on the first step
        {32.25f, 25, 36.0f},    // reaches 36.0 with the last step
        {32.5f, 25, 0},         // 36.0 after 14 steps, 36.25 with the last one
        {33.25f, 25, 0.75f},    // over with step 12, three more from 0
        {-18.0f, 25, -14.25f},  // far above the grid: just falls
    };
    for (const auto &t : cases) {
        effectSpeed = t.speed;
        onlydrops({{3, t.start}});
        matrixrain(100);
        EXPECT_EQ(t.want, yDroplet[0]) << "from " << t.start << " at speed " << t.speed;
    }
}

// The rain never reseeds by itself: at speed 0 the timer stays 0 and two
// frames must show the same picture, with the drops where they were (a
// reseed would also pull the drops standing off the grid onto it).
TEST_F(GridEffects, RainDoesNotReseedAtTimeZero)
{
    effectSpeed = 0;
    onlydrops({{7.5f, 10}, {100.5f, 30}, {31, 4.25f}});
    float x0[amount], y0[amount];
    memcpy(x0, xDroplet, sizeof x0);
    memcpy(y0, yDroplet, sizeof y0);
    matrixrain(0);
    const auto first = GridCells();
    matrixrain(0);
    EXPECT_EQ(first, GridCells());
    EXPECT_EQ(0, memcmp(x0, xDroplet, sizeof x0));
    EXPECT_EQ(0, memcmp(y0, yDroplet, sizeof y0));
    EXPECT_EQ(15, blockgrid[10][7]);
    EXPECT_EQ(15, blockgrid[4][31]);
}

// Blended, the worms' discs add within their ramp and saturate; at an
// unusable time no disc has a place: nothing rather than garbage.
TEST_F(GridEffects, WormsSaturateAndSkipUnusableTimes)
{
    endlessworms(100, BLEND_ADD);
    EXPECT_LE(MaxCell(), 15);
    EXPECT_EQ(15, blockgrid[10][25]) << "the head at (24.6, 9.9)";
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
    const int timers[] = {0, 7680, INT_MAX, INT_MIN, -1};
    const float speeds[] = {0, 1, 1e30f, -1e30f, INFINITY, NAN, -1};
    const float ts[] = {0, 2147483648.0f, -1, 1e30f, -INFINITY, NAN};
    const std::function<void(float)> effects[] = {
        [](float) { Twisterbar(); },
        [](float) { SinusLines(BLEND_ADD); },
        [](float) { SinusLines((e_blendMode)9); },
        [](float t) { matrixrain(t); },
        [](float t) { endlessworms(t, BLEND_NORMAL); },
        [](float t) { endlessworms(t, BLEND_MIXED); },
    };
    initmatrixrain();
    for (int timer : timers)
        for (float speed : speeds)
            for (float t : ts)
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
