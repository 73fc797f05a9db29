// The copier's frame, step by step.
#include "app/frameloop.h"

#include "app/copier/controls.h"
#include "app/copier/timeline.h"
#include "app/grid/blockgrid.h"
#include "app/grid/gridview.h"
#include "app/monitor/copierscreen.h"
#include "app/monitor/crt.h"
#include "app/monitor/crtgeometry.h"
#include "app/monitor/resources.h"
#include "app/monitor/statusline.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/refresh.h"
#include "engine/graphics/sprite.h"
#include "engine/graphics/video.h"
#include "engine/platform/backend.h"
#include "engine/platform/clock.h"
#include "engine/platform/controller.h"
#include "engine/platform/input.h"

void CreateFrameBuffers()
{
    framebuffer_id = VXE_CreateFrameBuffer(FRAME_WIDTH, FRAME_HEIGHT, VXE_FRAMEBUFFER_LINEAR);
    crtbuffer_id = VXE_CreateFrameBuffer(MONITOR_WIDTH, MONITOR_HEIGHT, VXE_FRAMEBUFFER_LINEAR);
    screenbuffer_id = VXE_CreateFrameBuffer(OUTPUT_WIDTH, OUTPUT_HEIGHT, VXE_FRAMEBUFFER_LINEAR);
    VXE_SetFrameBuffer(framebuffer_id);
    InitCRT();
}

void BeginFrame()
{
    deltatime = VXE_GetMillis() - starttime;
    int held = 0;
    VXE_GetKeys(&held, nullptr);
    // Closing the window ends the show the way Escape does: at the end of
    // this frame, with the video closed properly.
    if ((held & VXE_JOY_ESCAPE) || vxe_closerequested()) gameactive = 0;
    VXE_WaitRefresh();
}

void DrawCopierBackground()
{
    VXE_SetFrameBuffer(framebuffer_id);
    SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
    DrawBackgroundUI();
}

void ReadPointer(int *x, int *y, int *buttons)
{
    *x = *y = *buttons = 0;
    VXE_GetMouse(x, y, buttons);
}

void UpdateCopier(int x, int y, int buttons)
{
    HandleMouse(x, y, buttons);
    RunPart();
}

void DrawCopierFront()
{
    DrawGrid((e_drawGridMode)sideOption);
    DrawStatusLine(footerMode);
    VXE_DrawSprite(clip(mx, 0, 312), clip(my, 0, 192), spr_cursor);
}

void PresentFrame()
{
    CRT_PostProcess();
    VXE_SwapBuffers();
}

void RunFrame()
{
    BeginFrame();
    DrawCopierBackground();
    int x, y, buttons;
    ReadPointer(&x, &y, &buttons);
    UpdateCopier(x, y, buttons);
    DrawCopierFront();
    PresentFrame();
    AdvanceTimeline();
}
