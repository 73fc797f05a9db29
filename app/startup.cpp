// The program's entry on the engine: start-up in its fixed order, the boot
// screen, then one frame per refresh slot until the user quits.
#include "app/chip8/chip8.h"
#include "app/chip8/chip8draw.h"
#include "app/copier/timeline.h"
#include "app/frameloop.h"
#include "app/monitor/crt.h"
#include "app/monitor/crtgeometry.h"
#include "app/monitor/resources.h"
#include "app/monitor/splash.h"
#include "engine/corefile/corefile.h"
#include "engine/graphics/video.h"
#include "engine/platform/backend.h"
#include "engine/platform/clock.h"
#include "engine/platform/entry.h"
#include "engine/sound/soundsystem.h"

// A capture with no length of its own records the boot and one round of
// the demo's parts.
static const double SHOW_SECONDS = (SPLASH_FRAMES * 15 + (LAST_DEMO_PART - FIRST_DEMO_PART + 1) * PART_DURATION) / 1000.0;

const s_program vxe_program = {"floxa", "floxa.dat", FRAME_WIDTH, FRAME_HEIGHT, SHOW_SECONDS,
                               "the boot and every part of the demo once"};

static void startup()
{
    // A missing archive only leaves later loads empty; the show goes on.
    corefile_mountimage(vxe_program.archive, 0);
    VXE_InitVideo(1280, 720, 1);
    VXE_SetTitle("KALDERO - FLOXA");
    CreateFrameBuffers();
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

// The arguments were read by the engine's process entry before this runs.
int coremain(int, char **)
{
    startup();
    // A window closed during the boot skips the loop.
    gameactive = !vxe_closerequested();
    while (gameactive) RunFrame();
    VXE_CloseVideo();
    // Stop the mixer before the process takes the platform down under it.
    Soundsystem_CloseAudio();
    return 0;
}
