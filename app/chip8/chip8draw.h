// CHIP-8 display: clearing, XOR sprite drawing with collision, and the
// presentation of the 64x32 picture into chip8bitmap.
#pragma once

#include "engine/graphics/bitmap.h"

// The 64x32 picture of the display. The application creates it with
// VXE_CreateBitmap(64, 32, &chip8bitmap) before the first chip8_drawscreen.
extern s_bitmap chip8bitmap;

// Clears the visible 256 bytes of chip_screen; the spill room keeps its bits.
void chip8_clearscreen();
// Draws an n-row, 8-pixel-wide sprite from I at (x, y) (start wrapped to
// the display, rows below the bottom dropped) and sets VF to the collision
// flag. Reads chip_characters when the font flag is set, and clears it.
void chip8_drawsprite(unsigned char x, unsigned char y, unsigned char n);
// 1 when visible pixel (x, y) of the display is lit, 0 when dark or outside.
int chip8_pixel(int x, int y);
// Paints the display into chip8bitmap (white lit, black dark) and uploads it.
void chip8_drawscreen();
