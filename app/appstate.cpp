// The application's state and its defaults.
#include "app/appstate.h"

#include "engine/sound/soundsystem.h"

int gameactive;
int demoMode;
int demoPart = 1;
int effectTimer;
float effectSpeed = 1.0f;
int synch = 4489;
int speedDivider = 50;
uint32_t starttime;
uint32_t deltatime;
uint32_t prevFrameTimer;
int currentframe;
int partBegins;

int mx, my;
int mb, oldmb;
int mouseClicked;
int popupMenu;
int selectedChoice = -1;
int chipRom;

int footerMode = 1;
int startSector, endSector = 81;
int startSide, endSide = 1;
int sideOption;
int blendMode;

int framebuffer_id;
int crtbuffer_id;
int screenbuffer_id;
int postshader_id = -1;

s_sound demomusic;

float SpeedFromSynch(int value)
{
    return (float)(value / 4489.0);
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
    partBegins = 1;
    sideOption = 0;
    blendMode = 0;
}

void ResetPointerState()
{
    mx = my = mb = oldmb = mouseClicked = 0;
    popupMenu = 0;
    selectedChoice = -1;
}
