// gridview: the block grid turned into block sprites over the track maps,
// limited to the copier's sector range.
#include "app/grid/gridview.h"

#include "app/appstate.h"
#include "app/monitor/resources.h"
#include "engine/graphics/sprite.h"

namespace {

const int SCREEN_LEFT_X = 139, SCREEN_RIGHT_X = 233, SCREEN_Y = 109, CELL = 4;

}  // namespace

bool GridCellShown(int side, int c, int y, e_drawGridMode mode, int startSide, int startSector,
                   int endSide, int endSector)
{
    if (c < 0 || c >= GRID_HALF || y < 0 || y >= GRID_HEIGHT)
        return false;
    // The ninth map row holds sectors 80 and 81 only.
    if (y >= 16 && c >= 4)
        return false;
    const int s = 10 * (y / 2) + c / 2;
    // Blocks ordered side 0 first, then side 1: the range runs from
    // (startSide, startSector) to (endSide, endSector) inclusive.
    if (side == 0)
        return mode != GRID_LOWER && startSide != 1 && s >= startSector && (endSide != 0 || s <= endSector);
    return mode != GRID_UPPER && endSide != 0 && s <= endSector && (startSide != 1 || s >= startSector);
}

// One pass per block sheet: sprites never overlap, so the order is free,
// and grouping them binds each sheet's texture once instead of switching
// on nearly every cell (the CHIP-8 picture mixes all three sheets).
void DrawGrid(e_drawGridMode mode)
{
    for (int sheet = 0; sheet < 3; sheet++)
        for (int y = 0; y < GRID_HEIGHT; y++) {
            const int sy = SCREEN_Y + CELL * y;
            const s_sprite *set = spr_block[y & 1];
            for (int side = 0; side < 2; side++) {
                const unsigned char *row = &blockgrid[y][side ? GRID_RIGHT : 0];
                const int sx = side ? SCREEN_RIGHT_X : SCREEN_LEFT_X;
                for (int c = 0; c < GRID_HALF; c++) {
                    const int k = row[c] % 48;
                    if (k / 16 == sheet &&
                        GridCellShown(side, c, y, mode, startSide, startSector, endSide, endSector))
                        VXE_DrawSprite(sx + CELL * c, sy, set[k * 2 + (c & 1)]);
                }
            }
        }
}
