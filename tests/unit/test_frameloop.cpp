#include "app/frameloop.h"

#include <gtest/gtest.h>

TEST(EffectTimer, DropsTheFractionOfEveryStep)
{
    float slow = SpeedFromSynch(4488);
    EXPECT_EQ(AdvanceEffectTimer(0, 16, slow), 15);
    int timer = 0;
    for (int i = 0; i < 100; i++) timer = AdvanceEffectTimer(timer, 16, slow);
    EXPECT_EQ(timer, 1500);  // not the 1599.6 an exact sum would give

    // Whole products lose nothing.
    EXPECT_EQ(SpeedFromSynch(4489), 1.0f);
    EXPECT_EQ(AdvanceEffectTimer(7000, 16, SpeedFromSynch(4489)), 7016);
    EXPECT_EQ(AdvanceEffectTimer(100, 16, SpeedFromSynch(8978)), 132);
    // The stop button's speed 0 holds the timer.
    EXPECT_EQ(AdvanceEffectTimer(1234, 5000, 0.0f), 1234);
}

TEST(DemoTimeline, ChangesPartAt7680AndCyclesThreeToTwelve)
{
    int timer = 7679, part = 3;
    AdvanceDemoTimeline(&timer, &part);
    EXPECT_EQ(timer, 7679);
    EXPECT_EQ(part, 3);
    timer = 7680;
    AdvanceDemoTimeline(&timer, &part);
    EXPECT_EQ(timer, 0);
    EXPECT_EQ(part, 4);
    timer = 9000, part = 12;
    AdvanceDemoTimeline(&timer, &part);
    EXPECT_EQ(part, 3);

    // Frames of 15 ms at speed 1: each part lasts 512 frames, and the
    // cycle visits 3..12 and starts again at 3.
    timer = 0, part = 3;
    std::vector<int> seen{part};
    int frames_in_part = 0;
    for (int frame = 0; frame < 11 * 512; frame++) {
        timer = AdvanceEffectTimer(timer, 15, SpeedFromSynch(4489));
        int before = part;
        AdvanceDemoTimeline(&timer, &part);
        frames_in_part++;
        if (part != before) {
            EXPECT_EQ(frames_in_part, 512);
            frames_in_part = 0;
            seen.push_back(part);
        }
    }
    EXPECT_EQ(seen, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 3, 4}));
}

TEST(Defaults, RestoreTheAdjustableStateOnly)
{
    startSector = 40, startSide = 1, endSector = 3, endSide = 0;
    synch = 100, effectTimer = 500, effectSpeed = 0.0f;
    footerMode = 4, demoPart = 13, sideOption = 2, blendMode = 1;
    demoMode = 0;
    setDefaultValues();
    EXPECT_EQ(startSector, 0);
    EXPECT_EQ(startSide, 0);
    EXPECT_EQ(endSector, 81);
    EXPECT_EQ(endSide, 1);
    EXPECT_EQ(synch, 4489);
    EXPECT_EQ(effectTimer, 0);
    EXPECT_EQ(effectSpeed, 1.0f);
    EXPECT_EQ(footerMode, 1);
    EXPECT_EQ(demoPart, 3);
    EXPECT_EQ(sideOption, 0);
    EXPECT_EQ(blendMode, 0);
    EXPECT_EQ(demoMode, 0);
}
