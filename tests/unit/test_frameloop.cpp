#include "app/frameloop.h"

#include <gtest/gtest.h>

TEST(EffectTimer, DropsTheFractionOfEveryStep)
{
    int timer = 0;
    for (int i = 0; i < 100; i++) timer = AdvanceEffectTimer(timer, 16, SpeedFromSynch(4488));
    EXPECT_EQ(timer, 1500);  // not the 1599.6 an exact sum would give
    // Whole products lose nothing; speed 0 (the stop button) holds the timer.
    EXPECT_EQ(AdvanceEffectTimer(7000, 16, SpeedFromSynch(4489)), 7016);
    EXPECT_EQ(AdvanceEffectTimer(1234, 5000, 0.0f), 1234);
}

TEST(DemoTimeline, ChangesPartAt7680AndCyclesThreeToTwelve)
{
    // {timer, part} before and after
    const int rows[][4] = {{7679, 3, 7679, 3}, {7680, 3, 0, 4}, {7700, 11, 0, 12}, {9000, 12, 0, 3}};
    for (const auto &row : rows) {
        int timer = row[0], part = row[1];
        AdvanceDemoTimeline(&timer, &part);
        EXPECT_EQ(timer, row[2]) << row[0];
        EXPECT_EQ(part, row[3]) << row[0];
    }
}
