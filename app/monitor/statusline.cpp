// statusline: the texts of the status line and where each stands or
// scrolls at a given moment of the copier screen.
#include "app/monitor/statusline.h"

#include <math.h>

#include "app/appstate.h"
#include "app/monitor/text.h"

const char CopyMessageProgress[] = "Operation In Progress ! .";
const char CopyMessageFinished[] = "Operation Finished ! .";
const char *CopyMessage = CopyMessageProgress;

static const char banner[] =
    "* KALDERO RULEZ * KALDERO RULEZ * KALDERO RULEZ * KALDERO RULEZ * KALDERO RULEZ *";
static const char credits[] =
    "      * CODE: SYNTHAX * GRAPHICS: PIXELMOTH * MUSIC: TRACKRAT * CHIP-8: NIBBLER * SUPPORT: "
    "KALDERO CREW 2019 *";
static const char greetings[] =
    "                                          "
    "GREETINGS FLY TO  BYTEFIRE * COPPERHEADS * NULLPOINTER * SPRITEWERK * RASTERFARI * "
    "BITBUSTERS * VOIDCRAFT * DEMOLOGIC * SYNCWAVE * HEXAGONE * LOWRES LEGION * TRACKMOTION * "
    "SCANLINERS * AND ALL THE FLOPPY SWAPPERS"
    "              ";
static const char chip8hint[] =
    "                                         "
    "CHIP8 Emulator - Select Roms via Toolkit Menu. Use cursors for interactive roms."
    "                                      ";

// The scroll ranges below are made for these lengths.
static_assert(sizeof credits - 1 == 110, "credits line");
static_assert(sizeof greetings - 1 == 268, "greetings line");
static_assert(sizeof chip8hint - 1 == 159, "CHIP-8 line");

static const double PI = 3.14159265358979323846;

const char *StatusLineText(int mode)
{
    switch (mode) {
    case 1: return banner;
    case 2: return credits;
    case 3: return greetings;
    case 4: return CopyMessage;
    case 5: return chip8hint;
    default: return nullptr;
    }
}

int StatusLineX(int mode, uint32_t deltatime)
{
    switch (mode) {
    case 1: return (int)(sin(deltatime * PI / 1280) * 128 - 128);
    case 2: return (int)(sin(deltatime * PI / 4560) * 300 - 300);
    case 3: return -(int)((deltatime / 20) % 2200);
    case 4: return 8;
    case 5: return -(int)((deltatime / 20) % 1000);
    default: return 0;
    }
}

void DrawStatusLine(int mode)
{
    if (const char *text = StatusLineText(mode))
        DrawText(StatusLineX(mode, deltatime), 188, text, 8);
}
