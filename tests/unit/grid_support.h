// Shared by the grid, shape and effect tests: a fresh grid per test and
// what the block grid holds.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/grid/blockgrid.h"

// Every test starts as a frame does: a zeroed grid and the whole-grid clip.
class GridTest : public testing::Test {
protected:
    void SetUp() override
    {
        memset(blockgrid, 0, sizeof blockgrid);
        SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT);
    }
    void TearDown() override { SetClippingRegion(0, 0, GRID_WIDTH, GRID_HEIGHT); }
};

// Cells of the whole grid holding value, and the highest value held.
inline int CountCells(unsigned char value)
{
    return (int)std::count(&blockgrid[0][0], &blockgrid[0][0] + sizeof blockgrid, value);
}
inline int MaxCell() { return *std::max_element(&blockgrid[0][0], &blockgrid[0][0] + sizeof blockgrid); }

// Rows of the grid as text, for readable failures.
inline std::string GridPicture()
{
    std::string out;
    for (auto &row : blockgrid) {
        for (unsigned char v : row) out += v ? (char)('A' + v % 26) : '.';
        out += '\n';
    }
    return out;
}
