// Monotonic millisecond clock with a replaceable source.
#include "engine/platform/clock.h"

#include <time.h>

static uint32_t (*s_clock)() = nullptr;

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
}
