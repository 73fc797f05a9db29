// shapes: the heart, butterfly and flower, each a per-cell test against an
// implicit curve over the whole grid.
#include "app/effects/shapes.h"

#include <cmath>

namespace {

const double HALF_PI = 1.57079632679489661923;

// The curve tests take their offsets in single precision and raise them
// with the C library's pow in double, as the shapes were designed; the
// powers of a column's dx and a row's dy are the same for every cell, so
// each is computed once per call instead of once per cell (same calls,
// same arguments, hence the same grid).
void columnpowers(float cx, int exponent, double *out)
{
    for (int x = 0; x < GRID_WIDTH; x++) {
        const float dx = (float)x - cx;
        out[x] = pow(dx, exponent);
    }
}

void rowpowers(float cy, int exponent, double *out)
{
    for (int y = 0; y < GRID_HEIGHT; y++) {
        const float dy = cy - (float)y;
        out[y] = pow(dy, exponent);
    }
}

}  // namespace

void DrawHeart(float cx, float cy, float size, unsigned char colour, e_blendMode mode)
{
    double dx2[GRID_WIDTH], dy2[GRID_HEIGHT], dy3[GRID_HEIGHT];
    columnpowers(cx, 2, dx2);
    rowpowers(cy, 2, dy2);
    rowpowers(cy, 3, dy3);
    const double size2 = pow(size, 2);
    for (int y = 0; y < GRID_HEIGHT; y++)
        for (int x = 0; x < GRID_WIDTH; x++) {
            const double a = dx2[x] - size2 + dy2[y];
            if ((double)size * dx2[x] * dy3[y] > pow(a, 3))
                DrawPixel(x, y, colour, mode);
        }
}

void DrawButterfly(float cx, float cy, float size, unsigned char colour, unsigned char dotColour,
                   e_blendMode mode)
{
    double dx2[GRID_WIDTH], dx6[GRID_WIDTH], dy6[GRID_HEIGHT];
    columnpowers(cx, 2, dx2);
    columnpowers(cx, 6, dx6);
    rowpowers(cy, 6, dy6);
    const double size4 = pow(size, 4);
    for (int y = 0; y < GRID_HEIGHT; y++)
        for (int x = 0; x < GRID_WIDTH; x++)
            if (size4 * dx2[x] - dx6[x] > dy6[y])
                DrawPixel(x, y, colour, mode);

    // Rows grow downwards, so the first pair of dots sits below the centre.
    const float r = size / 5, ox = size / 2, oy = size / 3;
    DrawCircle(cx - ox, cy + oy, r, dotColour, mode);
    DrawCircle(cx + ox, cy + oy, r, dotColour, mode);
    DrawCircle(cx - ox, cy - oy, r, dotColour, mode);
    DrawCircle(cx + ox, cy - oy, r, dotColour, mode);
}

// The flower ignores mode: its petals and centre must stay solid whatever
// the user's blend choice.
void DrawFlower(float cx, float cy, float size, unsigned char centreColour, unsigned char petalColour,
                bool stem, float angle, e_blendMode mode)
{
    (void)mode;
    if (stem)
        DrawRectangle(cx, cy, cx + 2, GRID_HEIGHT, 8, BLEND_NORMAL);
    const float r = size / 2 + size;
    for (int i = 0; i < 4; i++) {
        const double a = angle + i * HALF_PI;
        const float px = (float)(cx + r * cos(a)), py = (float)(cy + r * sin(a));
        DrawCircle(px, py, size, petalColour, BLEND_NORMAL);
    }
    DrawCircle(cx, cy, size, centreColour, BLEND_NORMAL);
}
