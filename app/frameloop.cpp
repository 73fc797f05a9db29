// coremain: engine start-up in its fixed order, then one frame per refresh
// slot until the user quits.
#include "app/frameloop.h"

#include "app/chip8/chip8.h"
#include "app/chip8/chip8draw.h"
#include "engine/graphics/bitmap.h"
#include "engine/corefile/corefile.h"
#include "engine/graphics/framebuffer.h"
#include "engine/platform/clock.h"
#include "engine/platform/controller.h"
#include "engine/platform/sdl_driver.h"
#include "engine/graphics/refresh.h"
#include "engine/sound/soundsystem.h"
#include "engine/graphics/video.h"

int gameactive;
int demoMode;
int demoPart = 1;
int effectTimer;
float effectSpeed = 1.0f;
int synch = 4489;
uint32_t starttime;
uint32_t deltatime;
uint32_t prevFrameTimer;
int currentframe;

int footerMode = 1;
int startSector, endSector = 81;
int startSide, endSide = 1;
int sideOption;
int blendMode;

int framebuffer_id;
int crtbuffer_id;
int screenbuffer_id;

s_sound demomusic;

float SpeedFromSynch(int value)
{
    return (float)(value / 4489.0);
}

int AdvanceEffectTimer(int timer, uint32_t elapsed, float speed)
{
    float sum = (float)timer + (float)elapsed * speed;
    return (int)sum;
}

void AdvanceDemoTimeline(int *timer, int *part)
{
    if (*timer < PART_DURATION) return;
    *timer = 0;
    *part += 1;
    if (*part > LAST_DEMO_PART) *part = FIRST_DEMO_PART;
}

void setDefaultValues()
{
    startSector = 0;
    startSide = 0;
    endSector = 81;
    endSide = 1;
    synch = 4489;
    effectTimer = 0;
    effectSpeed = SpeedFromSynch(synch);
    footerMode = 1;
    demoPart = FIRST_DEMO_PART;
    sideOption = 0;
    blendMode = 0;
}

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

    // The music starts before anything else loads, so it plays from the
    // first frame of the boot screen.
    Soundsystem_Init(44100, 16, 2);
    Soundsystem_LoadSound("flop3.wav", &demomusic);
    Soundsystem_PlayMusic(&demomusic, 1);

    // The first program is ready, but only runs when its part is chosen.
    VXE_CreateBitmap(64, 32, &chip8bitmap);
    chip8_resetcpu();
    chip8_loadrom("trip8.ch8");

    setDefaultValues();
    demoMode = 1;
    starttime = VXE_GetMillis();
    prevFrameTimer = starttime;
    currentframe = 0;
    gameactive = 1;
}

static void frame()
{
    deltatime = VXE_GetMillis() - starttime;

    int held = 0;
    VXE_GetKeys(&held, nullptr);
    // Closing the window ends the show the way Escape does: at the end of
    // this frame, with the video closed properly.
    if ((held & 0x8000) || vxe_closerequested()) gameactive = 0;

    VXE_WaitRefresh();
    VXE_SetFrameBuffer(framebuffer_id);
    // The copier screen and the current part draw into the frame here.
    VXE_ClearFrameBuffer((int)0xFF000000);
    // Presentation scales the 320x200 frame onto the window; the CRT pass
    // goes in front of it.
    VXE_SwapBuffers();

    uint32_t now = VXE_GetMillis();
    effectTimer = AdvanceEffectTimer(effectTimer, now - prevFrameTimer, effectSpeed);
    prevFrameTimer = VXE_GetMillis();
    if (demoMode) AdvanceDemoTimeline(&effectTimer, &demoPart);
}

int coremain(int argc, char **argv)
{
    (void)argc;
    (void)argv;
    startup();
    do {
        frame();
    } while (gameactive);
    VXE_CloseVideo();
    // Stop the mixer before the process takes SDL down under it.
    Soundsystem_CloseAudio();
    return 0;
}
