// popup: the copier's pop-up menus, drawn every frame while open.
#include "app/copier/popup.h"

#include <stdio.h>

#include "app/monitor/text.h"
#include "engine/graphics/draw2d.h"

// A box is its rows plus FRAME_HEIGHT pixels of border and margins.
enum { POPUP_WIDTH = 88, ROW_HEIGHT = 8, ROW_TOP = 4, FRAME_HEIGHT = 6 };

int PopupRowAt(int x, int y, int count, int px, int py)
{
    // Wide arithmetic: a pointer far outside the frame must not wrap into a row.
    const long long dx = (long long)px - x, dy = (long long)py - (y + ROW_TOP);
    if (count <= 0 || dx <= 0 || dx >= POPUP_WIDTH || dy <= 0) return -1;
    // A row's top and bottom lines belong to no row.
    if (dy % ROW_HEIGHT == 0) return -1;
    const long long row = dy / ROW_HEIGHT;
    return row < count ? (int)row : -1;
}

bool PopupCovers(int x, int y, int count, int px, int py)
{
    const long long dx = (long long)px - x, dy = (long long)py - y;
    return count >= 0 && dx >= 0 && dx < POPUP_WIDTH && dy >= 0 && dy < (long long)ROW_HEIGHT * count + FRAME_HEIGHT;
}

int HandlePopup(int x, int y, const char *const *items, int count, int px, int py)
{
    if (count < 0 || (count > 0 && !items)) {
        printf("HandlePopup: no menu of %d rows to show\n", count);
        return -1;
    }
    VXE_DrawBox(x, y, POPUP_WIDTH, ROW_HEIGHT * count + FRAME_HEIGHT, (int)0xFFFFFFFF);
    VXE_DrawBox(x + 1, y + 1, POPUP_WIDTH - 2, ROW_HEIGHT * count + FRAME_HEIGHT - 2, (int)0xFF000000);
    const int chosen = PopupRowAt(x, y, count, px, py);
    for (int i = 0; i < count; i++) {
        const int r = y + ROW_TOP + ROW_HEIGHT * i;
        if (i == chosen) VXE_DrawBox(x + 1, r - 2, POPUP_WIDTH - 2, 10, (int)0xFF006000);
        if (items[i]) DrawText(x + 4, r, items[i], 8);
    }
    return chosen;
}
