// The block grid: the copier's two track maps used as one 44x18 raster of
// colour numbers. Every sector block is 2x2 cells; columns 0-19 are side 0,
// 20-23 a hidden gap, 24-43 side 1. Colours 0-15 are the normal block ramp,
// 16-31 the red one, 32-47 the filled one; values from 48 up show as
// value mod 48. Everything here is plain state and arithmetic (no GL), so
// the effects, the disk copy and the CHIP-8 picture can be tested cell by
// cell; gridview.h draws the grid.
#pragma once

#include "engine/graphics/bitmap.h"

enum { GRID_WIDTH = 44, GRID_HEIGHT = 18, GRID_HALF = 20, GRID_RIGHT = 24 };

// How a new colour meets a cell's old value.
enum e_blendMode { BLEND_NORMAL = 0, BLEND_MIXED = 1, BLEND_ADD = 2 };
// Which halves DrawGrid shows.
enum e_drawGridMode { GRID_BOTH = 0, GRID_UPPER = 1, GRID_LOWER = 2 };

extern unsigned char blockgrid[GRID_HEIGHT][GRID_WIDTH];  // [row][column]
// Cells DrawPixel may write: left <= x < right, top <= y < bottom.
extern int clipLeft, clipTop, clipRight, clipBottom;

// min(max(v, low), high).
int clip(int v, int low, int high);
// Cells from an effect's arithmetic: the nearest integer (halves away from
// zero) and the integer toward zero. Values beyond 2^20 cells stop there and
// NaN gives 0 (rounded) or -2^20 (truncated), so no input makes the
// conversion undefined and far cells stay far outside the grid.
int RoundCell(double v);
int TruncCell(double v);

void SetClippingRegion(int left, int top, int right, int bottom);
// Every cell = c & 31, no clipping, no blending.
void FillBlock(unsigned char c);
// Clip test, then the rule of `mode` (any unknown mode is normal).
void DrawPixel(int x, int y, unsigned char c, e_blendMode mode);
void DrawPixelNormal(int x, int y, unsigned char c);
void DrawPixelMixed(int x, int y, unsigned char c);
void DrawPixelBlend(int x, int y, unsigned char c);
// The 2x2 cells of sector 0-81 of side 0-1.
void DrawSector(int side, int sector, unsigned char c, e_blendMode mode);
void FillGrid(int side, unsigned char c);
void DrawLineHorizontal(int x, int y, int length, unsigned char c, e_blendMode mode);
void DrawLineVertical(int x, int y, int length, unsigned char c, e_blendMode mode);
void DrawRectangle(float x1, float y1, float x2, float y2, unsigned char c, e_blendMode mode);
// Filled disc, strictly inside radius r.
void DrawCircle(float cx, float cy, float r, unsigned char c, e_blendMode mode);
// Side 0's cells copied onto side 1.
void CopyLeftRight();
// Rows 0-15 from the 64x32 CHIP-8 picture (columns 12-55, two picture rows
// a cell); rows 16-17 keep what they hold.
void ConvertBitmapToGrid(s_bitmap bitmap);
