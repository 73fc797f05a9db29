// Shared by the grid and effect tests: what the block grid holds.
#pragma once

#include "app/monitor/blockgrid.h"

// Cells of the whole grid holding value.
inline int CountCells(unsigned char value)
{
    int n = 0;
    for (auto &row : blockgrid)
        for (unsigned char v : row) n += v == value;
    return n;
}
