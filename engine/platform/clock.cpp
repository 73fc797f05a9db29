// Monotonic millisecond clock with a replaceable source.
#include "engine/platform/clock.h"

#include <atomic>
#include <time.h>

static uint32_t (*s_clock)() = nullptr;
// Read by the message thread's input too, hence atomic.
static std::atomic<uint32_t> s_framestep{0};
static std::atomic<uint32_t> s_frametime{0};

static uint32_t frameclock()
{
    return s_frametime;
}

uint32_t VXE_GetMillis()
{
    if (s_clock) return s_clock();
    // Monotonic: wall-clock steps (NTP, the user) must not stall the pacing.
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)((uint64_t)ts.tv_sec * 1000u + (uint64_t)ts.tv_nsec / 1000000u);
}

void vxe_setclock(uint32_t (*clock)())
{
    s_clock = clock;
    s_framestep = 0;
}

void vxe_setframeclock(uint32_t step)
{
    s_clock = step ? frameclock : nullptr;
    s_frametime = 0;
    s_framestep = step;
}

uint32_t vxe_frameclockstep()
{
    return s_framestep;
}

void vxe_clockpresented()
{
    s_frametime += s_framestep;
}
