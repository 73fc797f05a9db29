// Frame pacing: a busy-wait on the millisecond tick, so a frame ends within
// about a millisecond of its slot. An overrun frame pushes every later slot
// back instead of being caught up.
#include "engine/graphics/refresh.h"

#include "engine/platform/clock.h"

uint32_t VXE_video_updatespeed = 1;
uint32_t VXE_video_time;
uint32_t VXE_video_numframes;
uint32_t VXE_video_oldtime;
uint32_t VXE_video_fps;

void VXE_SetRefreshRate(int rate)
{
    if (rate < 0) {
        VXE_video_updatespeed = (uint32_t)(-(int64_t)rate);
    } else if (rate == 0) {
        // No rate means no pacing; the quotient would be infinite.
        VXE_video_updatespeed = 1;
    } else {
        // The product is rounded to float, the division done in float and
        // truncated: 60 gives 15 ms, 50 gives 18, 100 gives 9.
        float product = (float)((double)rate * 1.1);
        VXE_video_updatespeed = (uint32_t)(1000.0f / product);
    }
    if (VXE_video_updatespeed == 0)
        VXE_video_updatespeed = 1;
    VXE_video_time = VXE_GetMillis();
}

float VXE_WaitRefresh()
{
    VXE_video_numframes++;
    // A frame clock only moves when a frame is presented: waiting on it
    // would never end, and the present is the slot anyway.
    if (vxe_frameclockstep()) {
        VXE_video_time = VXE_GetMillis();
        return 1.0f;
    }
    // Compare the elapsed time, not time + speed against the reading, so
    // the wait stays right across the wrap of the 32-bit tick.
    uint32_t reading;
    do {
        reading = VXE_GetMillis();
    } while (reading - VXE_video_time < VXE_video_updatespeed);
    float elapsed = (float)(VXE_GetMillis() - VXE_video_time);
    VXE_video_time = reading;
    return elapsed / (float)VXE_video_updatespeed;
}

unsigned int VXE_GetFPS()
{
    uint32_t now = VXE_GetMillis();
    if (now - VXE_video_oldtime >= 1000) {
        VXE_video_fps = VXE_video_numframes;
        VXE_video_numframes = 0;
        VXE_video_oldtime = now;
    }
    return VXE_video_fps;
}
