// Frame pacing and frame counting, driven by a virtual millisecond clock.
#include <gtest/gtest.h>

#include "engine/platform/clock.h"
#include "engine/graphics/refresh.h"

namespace {

uint32_t now;
uint32_t step;  // added after every reading: time passing while we spin

uint32_t virtualclock()
{
    now += step;
    return now - step;
}

TEST(Refresh, FrameTimeFromRateAndPacing)
{
    vxe_setclock(virtualclock);
    now = 1000, step = 0;
    // {rate, ms}: truncated; negative rates are the frame time; 910 and 0 would give 0 ms.
    const int cases[][2] = {{60, 15}, {50, 18}, {70, 12}, {1, 909},
                            {-20, 20}, {-1, 1}, {910, 1}, {0, 1}};
    for (const auto &c : cases) {
        VXE_SetRefreshRate(c[0]);
        EXPECT_EQ(VXE_video_updatespeed, (uint32_t)c[1]) << "rate " << c[0];
    }
    EXPECT_EQ(VXE_video_time, 1000u);  // the slot starts now

    VXE_SetRefreshRate(60);  // 15 ms slots from 1000
    now = 1030;  // the frame's work took two slots: no waiting
    EXPECT_FLOAT_EQ(VXE_WaitRefresh(), 2.0f);
    EXPECT_EQ(VXE_video_time, 1030u);
    // A quick frame spins till the next slot from 1030 (an overrun is not
    // caught up), which starts at the reading that ended the spin.
    step = 1;
    EXPECT_FLOAT_EQ(VXE_WaitRefresh(), 16.0f / 15.0f);
    EXPECT_EQ(VXE_video_time, 1045u);

    // Across the wrap of the tick: neither skipped nor waited for 49 days.
    VXE_SetRefreshRate(-15);
    now = VXE_video_time = 0xFFFFFFF8u;
    VXE_WaitRefresh();
    EXPECT_EQ(VXE_video_time, 7u);
    VXE_video_time = 0xFFFFFFF0u;
    now = 3, step = 0;
    EXPECT_FLOAT_EQ(VXE_WaitRefresh(), 19.0f / 15.0f);
}

// The waits count frames; the count is read once a whole second has passed.
TEST(Refresh, FramesPerSecondSampledOncePerSecond)
{
    vxe_setclock(virtualclock);
    now = VXE_video_oldtime = 1000, step = 1;
    VXE_video_numframes = 0;
    VXE_SetRefreshRate(-1);
    for (int i = 0; i < 57; i++) VXE_WaitRefresh();
    step = 0;
    const struct { uint32_t at, fps; } readings[] = {{1999, 0}, {2000, 57}, {2500, 57}};
    for (const auto &r : readings) {
        now = r.at;
        EXPECT_EQ(VXE_GetFPS(), r.fps) << r.at;
    }
}

}  // namespace

// The capture's clock: time moves only when a frame is presented, and the
// refresh wait, which would spin forever on it, takes the present as the slot.
TEST(Refresh, FrameClockMovesOnlyAtPresents)
{
    vxe_setframeclock(15);
    VXE_SetRefreshRate(60);
    EXPECT_EQ(VXE_GetMillis(), 0u);
    for (int frame = 0; frame < 3; frame++) {
        EXPECT_FLOAT_EQ(VXE_WaitRefresh(), 1.0f);
        EXPECT_EQ(VXE_GetMillis(), 15u * frame) << "nothing moves it but a present";
        vxe_clockpresented();
    }
    EXPECT_EQ(VXE_GetMillis(), 45u);
    vxe_setframeclock(0);
    vxe_clockpresented();  // a real clock ignores presents
    vxe_setclock(virtualclock);
    now = 7, step = 0;
    EXPECT_EQ(VXE_GetMillis(), 7u);
    vxe_setclock(nullptr);
}
