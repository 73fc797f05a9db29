// coremain: engine start-up in its fixed order, the boot screen, then one
// frame per refresh slot until the user quits.
#include "app/frameloop.h"

#include "app/chip8/chip8.h"
#include "app/chip8/chip8draw.h"
#include "app/copier/controls.h"
#include "app/copier/timeline.h"
#include "app/monitor/blockgrid.h"
#include "app/monitor/copierscreen.h"
#include "app/monitor/crt.h"
#include "app/monitor/gridview.h"
#include "app/monitor/resources.h"
#include "app/monitor/splash.h"
#include "app/monitor/statusline.h"
#include "engine/corefile/corefile.h"
#include "engine/graphics/framebuffer.h"
#include "engine/graphics/refresh.h"
#include "engine/graphics/video.h"
#include "engine/platform/clock.h"
#include "engine/platform/controller.h"
#include "engine/platform/sdl_driver.h"
#include "engine/sound/soundsystem.h"

static void startup()
{
    // A missing archive only leaves later loads empty; the show goes on.
    corefile_mountimage("floxa.dat", 0);
    VXE_InitVideo(1280, 720, 1);
    VXE_SetTitle("KALDERO - FLOXA");
    framebuffer_id = VXE_CreateFrameBuffer(320, 200, 2);
    crtbuffer_id = VXE_CreateFrameBuffer(2048, 1152, 2);
    screenbuffer_id = VXE_CreateFrameBuffer(1920, 1080, 2);
    VXE_SetFrameBuffer(framebuffer_id);
    InitCRT();
    InstallPointerMap();

    // The music starts before anything else loads, so it plays from the
    // first frame of the boot screen.
    Soundsystem_Init(44100, 16, 2);
    Soundsystem_LoadSound("flop3.wav", &demomusic);
    Soundsystem_PlayMusic(&demomusic, 1);

    LoadResources();
    SplashScreen();

    // The first program is ready, but only runs when its part is chosen.
    VXE_CreateBitmap(64, 32, &chip8bitmap);
    chip8_resetcpu();
    chip8_loadrom("trip8.ch8");
    chip8_setwaithook(Chip8KeepWaiting);

    setDefaultValues();
    demoMode = 1;
    starttime = VXE_GetMillis();
    prevFrameTimer = starttime;
    effectSpeed = SpeedFromSynch(synch);
    // A still time keeps the scanlines still on the copier screen.
    currentframe = 0;
    gameactive = 1;
}

static void runframe()
{
    deltatime = VXE_GetMillis() - starttime;

    int held = 0;
    VXE_GetKeys(&held, nullptr);
    // Closing the window ends the show the way Escape does: at the end of
    // this frame, with the video closed properly.
    if ((held & 0x8000) || vxe_closerequested()) gameactive = 0;

    VXE_WaitRefresh();
    VXE_SetFrameBuffer(framebuffer_id);
    SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
    DrawBackgroundUI();

    int x = 0, y = 0, buttons = 0;
    VXE_GetMouse(&x, &y, &buttons);
    HandleMouse(x, y, buttons);

    RunPart();
    DrawGrid((e_drawGridMode)sideOption);
    DrawStatusLine(footerMode);
    VXE_DrawSprite(clip(mx, 0, 312), clip(my, 0, 192), spr_cursor);

    CRT_PostProcess();
    VXE_SwapBuffers();
    AdvanceTimeline();
}

int coremain(int argc, char **argv)
{
    (void)argc;
    (void)argv;
    startup();
    // A window closed during the boot skips the loop.
    gameactive = !vxe_closerequested();
    while (gameactive) runframe();
    VXE_CloseVideo();
    // Stop the mixer before the process takes SDL down under it.
    Soundsystem_CloseAudio();
    return 0;
}
