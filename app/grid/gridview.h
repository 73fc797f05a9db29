// Drawing the block grid into the copier screen: each shown cell becomes a
// 4x4 block sprite over the track maps (side 0 at x 139, side 1 at x 233,
// from y 109). Cells outside the copier's sector range are not drawn, so
// the background's empty map shows through.
#pragma once

#include "app/grid/blockgrid.h"

// Whether cell column c (0-19) of row y in half `side` (0 left, 1 right)
// is drawn, given the copy range and the halves `mode` shows.
bool GridCellShown(int side, int c, int y, e_drawGridMode mode, int startSide, int startSector,
                   int endSide, int endSector);
// Draws the shown cells with the range of the copier settings.
void DrawGrid(e_drawGridMode mode);
