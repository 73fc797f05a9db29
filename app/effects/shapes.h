// Filled shapes drawn into the block grid by testing every cell against an
// implicit curve: a heart, a butterfly and a flower. Sizes and positions are
// in cells and may be fractional; every cell goes through DrawPixel, so the
// clipping rectangle and the blend mode apply.
#pragma once

#include "app/grid/blockgrid.h"

// The heart curve (x^2 + y^2 - 1)^3 = x^2 y^3 scaled by size, point down.
void DrawHeart(float cx, float cy, float size, unsigned char colour, e_blendMode mode);
// Two wing lobes left and right of the centre, with four dots.
void DrawButterfly(float cx, float cy, float size, unsigned char colour, unsigned char dotColour,
                   e_blendMode mode);
// Four petals turned by angle radians around a centre disc, with an
// optional stem to the bottom; always drawn in normal mode.
void DrawFlower(float cx, float cy, float size, unsigned char centreColour, unsigned char petalColour,
                bool stem, float angle, e_blendMode mode);
