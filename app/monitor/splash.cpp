// splash: the boot sequence shown before the copier screen.
#include "app/monitor/splash.h"

#include "app/appstate.h"
#include "app/monitor/crt.h"
#include "app/monitor/text.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/refresh.h"
#include "engine/graphics/video.h"
#include "engine/platform/backend.h"

static const char blank[] = "          ";

const char *SplashText(int f)
{
    if (f >= 129 && f <= 383) return "LOADING...";
    if (f >= 385 && f <= 439) return blank;
    if (f >= 441 && f <= 767) return " KDR 2019 ";
    if (f >= 769) return blank;
    return nullptr;
}

void SplashScreen()
{
    // The frame's texture starts with whatever memory held: the first
    // boot frames draw nothing into it, so it must start black.
    VXE_SetFrameBuffer(framebuffer_id);
    VXE_ClearFrameBuffer((int)0xFF000000);
    for (int f = 0; f < SPLASH_FRAMES; f++) {
        // The boot reads no keys, but a closed window ends it at once.
        if (vxe_closerequested()) return;
        VXE_WaitRefresh();
        VXE_SetFrameBuffer(framebuffer_id);
        if (const char *text = SplashText(f)) DrawText(122, 100, text, 8);
        CRT_PostProcess();
        VXE_SwapBuffers();
        currentframe += 1;
    }
}
