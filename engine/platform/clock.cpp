// Monotonic millisecond clock with a replaceable source.
#include "engine/platform/clock.h"

#include "engine/platform/backend.h"

#include <atomic>

static uint32_t (*g_clock)() = nullptr;
// Read by the message thread's input too, hence atomic.
static std::atomic<uint32_t> g_framestep{0};
static std::atomic<uint32_t> g_frametime{0};

static uint32_t frameclock()
{
    return g_frametime;
}

uint32_t VXE_GetMillis()
{
    return g_clock ? g_clock() : vxe_driver_millis();
}

void vxe_setclock(uint32_t (*clock)())
{
    g_clock = clock;
    g_framestep = 0;
}

void vxe_setframeclock(uint32_t step)
{
    g_clock = step ? frameclock : nullptr;
    g_frametime = 0;
    g_framestep = step;
}

uint32_t vxe_frameclockstep()
{
    return g_framestep;
}

void vxe_clockpresented()
{
    g_frametime += g_framestep;
}
