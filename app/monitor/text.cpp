// text: the copier's 8x8 font and digit strip.
#include "app/monitor/text.h"

#include "app/monitor/resources.h"

void DrawText(int x, int y, const char *text, int spacing)
{
    for (const char *c = text; *c; c++, x += spacing)
        VXE_DrawSprite(x, y, spr_font[(unsigned char)*c & 0x7F]);
}

void DrawNumberText(int x, int y, const char *text, int spacing)
{
    // Anything but a digit would index past the strip: skip its place.
    for (const char *c = text; *c; c++, x += spacing)
        if (*c >= '0' && *c <= '9') VXE_DrawSprite(x, y, spr_number[*c - '0']);
}
