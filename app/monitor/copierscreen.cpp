// copierscreen: the fixed part of the copier screen, drawn every frame
// before the parts fill the grid.
#include "app/monitor/copierscreen.h"

#include <stdio.h>

#include "app/appstate.h"
#include "app/copier/options.h"
#include "app/grid/blockgrid.h"
#include "app/monitor/resources.h"
#include "app/monitor/text.h"

unsigned char lampgrid[MUSICLAMP_COUNT];

void FormatElapsed(uint32_t deltatime, char minutes[12], char seconds[12])
{
    snprintf(minutes, 12, "%.2u", (unsigned)(deltatime / 60000));
    snprintf(seconds, 12, "%.2u", (unsigned)(deltatime / 1000 % 60));
}

void DrawLamps()
{
    DetectMusicLamps(lampgrid);
    for (int j = 0; j < 4; j++) {
        const int x = 16 + 31 * j;
        VXE_DrawSprite(x, 106, lampgrid[j] ? spr_lamp_on : spr_lamp_off);
        VXE_DrawSprite(x, 155, lampgrid[j + 4] ? spr_lamp_on : spr_lamp_off);
    }
}

// One settings value, printf-formatted into its field at y 62.
static void drawfield(int x, const char *format, int value)
{
    char text[16];
    snprintf(text, sizeof text, format, value);
    DrawText(x, 62, text, 8);
}

void DrawBackgroundUI()
{
    VXE_DrawBitmap(0, 0, bmp_background);

    static const int toggles[] = {11, 48, 182, 228, 272};
    for (int x : toggles) VXE_DrawSprite(x, 46, spr_toggle_on);
    const s_sprite *numbers[4] = {&spr_disk_0, &spr_disk_1, &spr_disk_2, &spr_disk_3};
    for (int j = 0; j < 4; j++) {
        VXE_DrawSprite(8 + 31 * j, 126, spr_disk);
        VXE_DrawSprite(18 + 31 * j, 136, *numbers[j]);
    }
    DrawLamps();

    DrawText(9, 62, ccOptions[demoMode ? 0 : clip(demoPart, 0, PART_COUNT - 1)], 8);
    drawfield(99, "%.2d", startSector);
    drawfield(123, "%.1d", startSide);
    drawfield(142, "%.2d", endSector);
    drawfield(166, "%.1d", endSide);
    DrawText(181, 62, ccSideOptions[clip(sideOption, 0, 2)], 8);
    drawfield(228, "%.4d", synch);
    DrawText(271, 62, ccBlendOptions[clip(blendMode, 0, 2)], 8);

    DrawNumberText(139, 101, "0123456789", 8);
    DrawNumberText(233, 101, "0123456789", 8);

    char minutes[12], seconds[12];
    FormatElapsed(deltatime, minutes, seconds);
    DrawNumberText(277, 173, minutes, 6);
    DrawNumberText(292, 173, seconds, 6);
}
