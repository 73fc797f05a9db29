// blockgrid: the 44x18 cell raster, its blend rules, clipping and the
// drawing primitives the effects, the disk copy and the CHIP-8 part use.
#include "app/grid/blockgrid.h"

#include <math.h>

#include <cstring>

unsigned char blockgrid[GRID_HEIGHT][GRID_WIDTH];
int clipLeft = 0, clipTop = 0, clipRight = GRID_WIDTH, clipBottom = GRID_HEIGHT;

namespace {

inline bool ingrid(int x, int y)
{
    return (unsigned)x < (unsigned)GRID_WIDTH && (unsigned)y < (unsigned)GRID_HEIGHT;
}

// Red byte (the first of R, G, B, A) of picture pixel (x, y) at the fixed
// row length of 64; pixels the buffer does not hold read as dark.
int picturered(const s_bitmap &bitmap, int x, int y)
{
    const int offset = (y * 64 + x) * 4;
    if (!bitmap.pixels || offset + 4 > bitmap.size)
        return 0;
    return bitmap.pixels[offset];
}

}  // namespace

int clip(int v, int low, int high)
{
    if (v < low)
        v = low;
    if (v > high)
        v = high;
    return v;
}

// Far enough outside the grid for any shape, near enough for an int.
static const double FAR_CELL = 1 << 20;

int RoundCell(double v)
{
    if (v != v) return 0;
    return (int)round(v < -FAR_CELL ? -FAR_CELL : v > FAR_CELL ? FAR_CELL : v);
}

int TruncCell(double v)
{
    if (v != v) return -(int)FAR_CELL;
    return (int)(v < -FAR_CELL ? -FAR_CELL : v > FAR_CELL ? FAR_CELL : v);
}

// Clamped into the grid so that a rectangle given partly (or wholly)
// outside it can never let DrawPixel leave the grid; an inverted one
// simply lets nothing through.
void SetClippingRegion(int left, int top, int right, int bottom)
{
    clipLeft = clip(left, 0, GRID_WIDTH);
    clipTop = clip(top, 0, GRID_HEIGHT);
    clipRight = clip(right, 0, GRID_WIDTH);
    clipBottom = clip(bottom, 0, GRID_HEIGHT);
}

void FillBlock(unsigned char c)
{
    memset(blockgrid, c & 31, sizeof blockgrid);
}

void DrawPixel(int x, int y, unsigned char c, e_blendMode mode)
{
    if (x < clipLeft || x >= clipRight || y < clipTop || y >= clipBottom)
        return;
    if (mode == BLEND_ADD)
        DrawPixelBlend(x, y, c);
    else if (mode == BLEND_MIXED)
        DrawPixelMixed(x, y, c);
    else
        DrawPixelNormal(x, y, c);
}

// The three rules below skip cells outside the grid rather than trusting
// every caller (effects call them directly, and the clip globals are
// writable by anyone).
void DrawPixelNormal(int x, int y, unsigned char c)
{
    if (ingrid(x, y))
        blockgrid[y][x] = c % 48;
}

// A red colour lifts a normal-ramp cell into the red ramp before averaging,
// so the mix stays red.
void DrawPixelMixed(int x, int y, unsigned char c)
{
    if (!ingrid(x, y))
        return;
    int o = blockgrid[y][x];
    if (c > 15 && o <= 15)
        o += 16;
    blockgrid[y][x] = (unsigned char)((o + c) / 2);
}

// Adds within the cell's ramp: normal cells saturate at 15, red ones at 31.
void DrawPixelBlend(int x, int y, unsigned char c)
{
    if (!ingrid(x, y))
        return;
    const int o = blockgrid[y][x];
    const int s = (o + c) & 255;
    const int top = o > 15 ? 31 : 15;
    blockgrid[y][x] = (unsigned char)(s < top ? s : top);
}

void DrawSector(int side, int sector, unsigned char c, e_blendMode mode)
{
    const int x = GRID_RIGHT * side + 2 * (sector % 10), y = 2 * (sector / 10);
    DrawPixel(x, y, c, mode);
    DrawPixel(x, y + 1, c, mode);
    DrawPixel(x + 1, y, c, mode);
    DrawPixel(x + 1, y + 1, c, mode);
}

void FillGrid(int side, unsigned char c)
{
    const int base = GRID_RIGHT * (side % 2);
    for (int j = 0; j < GRID_HEIGHT; j++)
        for (int i = 0; i < GRID_HALF; i++)
            DrawPixel(base + i, j, c, BLEND_NORMAL);
}

// Lines only visit the part that overlaps the grid: nothing outside it can
// be written anyway, and a huge length or position cannot overflow.
void DrawLineHorizontal(int x, int y, int length, unsigned char c, e_blendMode mode)
{
    const long long end = (long long)x + length;
    for (long long i = x < 0 ? 0 : x; i < end && i < GRID_WIDTH; i++)
        DrawPixel((int)i, y, c, mode);
}

void DrawLineVertical(int x, int y, int length, unsigned char c, e_blendMode mode)
{
    const long long end = (long long)y + length;
    for (long long j = y < 0 ? 0 : y; j < end && j < GRID_HEIGHT; j++)
        DrawPixel(x, (int)j, c, mode);
}

// Starts are truncated toward zero, ends compared as floats. Starts are
// also raised to 0 (rows and columns before it are never written) and the
// conversion is only made once the start is known to be inside the grid,
// so NaN or enormous corners draw nothing instead of overflowing.
void DrawRectangle(float x1, float y1, float x2, float y2, unsigned char c, e_blendMode mode)
{
    if (!(x1 < GRID_WIDTH) || !(y1 < GRID_HEIGHT))
        return;
    const int i0 = x1 > 0 ? (int)x1 : 0, j0 = y1 > 0 ? (int)y1 : 0;
    for (int j = j0; j < GRID_HEIGHT && (float)j < y2; j++)
        for (int i = i0; i < GRID_WIDTH && (float)i < x2; i++)
            DrawPixel(i, j, c, mode);
}

void DrawCircle(float cx, float cy, float r, unsigned char c, e_blendMode mode)
{
    const double rr = (double)r * r;
    for (int y = 0; y < GRID_HEIGHT; y++) {
        const double dy = y - (double)cy;
        for (int x = 0; x < GRID_WIDTH; x++) {
            const double dx = x - (double)cx;
            if (dx * dx + dy * dy < rr)
                DrawPixel(x, y, c, mode);
        }
    }
}

void CopyLeftRight()
{
    for (int y = 0; y < GRID_HEIGHT; y++)
        memcpy(&blockgrid[y][GRID_RIGHT], &blockgrid[y][0], GRID_HALF);
}

// A bitmap without pixel memory, or one smaller than 64x32, still converts:
// whatever its buffer lacks counts as dark, so a missing picture shows as an
// all-dark one rather than leaving a stale frame behind.
void ConvertBitmapToGrid(s_bitmap bitmap)
{
    for (int r = 0; r < 16; r++)
        for (int x = 0; x < GRID_WIDTH; x++) {
            const int a = picturered(bitmap, x + 12, 2 * r), b = picturered(bitmap, x + 12, 2 * r + 1);
            blockgrid[r][x] = (unsigned char)(((a + b) >> 1) / 6 + 32);
        }
}
