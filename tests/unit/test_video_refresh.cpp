// Frame pacing and frame counting, driven by a virtual millisecond clock.
#include <gtest/gtest.h>

#include "engine/platform/clock.h"
#include "engine/refresh.h"

namespace {

uint32_t now;
uint32_t step;   // added after every reading: time passing while we spin
int readings;

uint32_t virtualclock()
{
    readings++;
    uint32_t reading = now;
    now += step;
    return reading;
}

struct RefreshTest : testing::Test {
    void SetUp() override
    {
        now = 1000;
        step = 0;
        readings = 0;
        VXE_video_numframes = 0;
        vxe_setclock(virtualclock);
    }
    void TearDown() override { vxe_setclock(nullptr); }
};

TEST_F(RefreshTest, FrameTimeFromRate)
{
    struct {
        int rate;
        uint32_t ms;
    } cases[] = {
        {60, 15}, {50, 18}, {100, 9}, {30, 30}, {1, 909},
        {-20, 20}, {-1, 1},                 // negative: the frame time itself
        {909, 1}, {910, 1}, {1000, 1},      // would truncate to 0
        {0, 1},                             // no rate: no pacing, no division by 0
    };
    for (const auto &c : cases) {
        VXE_SetRefreshRate(c.rate);
        EXPECT_EQ(VXE_video_updatespeed, c.ms) << "rate " << c.rate;
    }
    now = 4242;
    VXE_SetRefreshRate(60);
    EXPECT_EQ(VXE_video_time, 4242u);
}

TEST_F(RefreshTest, WaitPacesFromTheEndOfTheLastWait)
{
    VXE_SetRefreshRate(60);  // 15 ms at t = 1000
    readings = 0;

    // The frame's work took 30 ms: no waiting, about two frame times.
    now = 1030;
    EXPECT_FLOAT_EQ(VXE_WaitRefresh(), 2.0f);
    EXPECT_EQ(VXE_video_time, 1030u);
    EXPECT_EQ(readings, 2);

    // A quick frame spins until the next slot, measured from 1030 (the
    // overrun is not caught up). The slot starts at the reading that ended
    // the spin, not at the extra reading taken for the duration.
    step = 1;
    float frames = VXE_WaitRefresh();
    EXPECT_EQ(VXE_video_time, 1045u);
    EXPECT_FLOAT_EQ(frames, 16.0f / 15.0f);
    EXPECT_EQ(VXE_video_numframes, 2u);
}

TEST_F(RefreshTest, WaitSurvivesTheWrapOfTheTick)
{
    VXE_SetRefreshRate(-15);
    // Slot ends just past the wrap: neither skipped nor waited for 49 days.
    now = 0xFFFFFFF8u;
    VXE_video_time = 0xFFFFFFF8u;
    step = 1;
    VXE_WaitRefresh();
    EXPECT_EQ(VXE_video_time, 0xFFFFFFF8u + 15u);
    EXPECT_EQ(VXE_video_time, 7u);

    // Slot ends right before the wrap while the clock is already past it.
    VXE_video_time = 0xFFFFFFF0u;
    now = 3;
    step = 0;
    EXPECT_FLOAT_EQ(VXE_WaitRefresh(), 19.0f / 15.0f);
}

TEST_F(RefreshTest, FramesPerSecondSampledOncePerSecond)
{
    VXE_video_oldtime = 1000;
    VXE_video_fps = 0;
    VXE_SetRefreshRate(-1);
    step = 1;
    for (int i = 0; i < 57; i++)
        VXE_WaitRefresh();
    step = 0;
    now = 1999;
    EXPECT_EQ(VXE_GetFPS(), 0u);  // not a whole second yet
    EXPECT_EQ(VXE_video_numframes, 57u);

    now = 2000;
    EXPECT_EQ(VXE_GetFPS(), 57u);
    VXE_WaitRefresh();
    now = 2500;
    // Asked again within the same second: same value, count kept going.
    EXPECT_EQ(VXE_GetFPS(), 57u);
    EXPECT_EQ(VXE_video_numframes, 1u);
}

}  // namespace
