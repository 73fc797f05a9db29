// Monotonic millisecond clock with a replaceable source.
#include "engine/platform/clock.h"

#include "engine/platform/backend.h"

#include <atomic>

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
    return s_clock ? s_clock() : vxe_driver_millis();
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
