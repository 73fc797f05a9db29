// Shared by the grid, shape and effect tests: a fresh grid per test and
// what the block grid holds.
#pragma once

#include <gtest/gtest.h>

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

// Cells of the whole grid holding value.
inline int CountCells(unsigned char value)
{
    int n = 0;
    for (auto &row : blockgrid)
        for (unsigned char v : row) n += v == value;
    return n;
}

inline int MaxCell()
{
    int m = 0;
    for (auto &row : blockgrid)
        for (unsigned char v : row) m = v > m ? v : m;
    return m;
}

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
