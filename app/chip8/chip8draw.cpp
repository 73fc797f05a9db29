// CHIP-8 display: sprite drawing into the bit-packed chip_screen and its
// presentation into chip8bitmap.
//
// The display is one linear bit stream: a sprite crossing the right edge
// continues in the next byte, which is the start of the next row (or, on
// the last row, the spill room behind the picture). Bytes past the picture
// stay addressable so that spill is kept and seen by later collisions.
#include "app/chip8/chip8draw.h"

#include <cstring>

#include "app/chip8/chip8.h"
#include "app/chip8/chip8tables.h"

s_bitmap chip8bitmap;

static const int ROW_BYTES = 8;  // 64 pixels

void chip8_clearscreen()
{
    int n = chip_screenheight * chip_screenwidth / 8;
    if (n < 0 || n > (int)sizeof chip_screen) n = sizeof chip_screen;
    memset(chip_screen, 0, n);
}

// Sprite row r: past the end of the character table a glyph reads as empty.
static unsigned char spriterow(int r)
{
    if (chip_charset) {
        int at = chip_iregister + r;
        return at < CHIP8_CHARACTERS_SIZE ? chip_characters[at] : 0;
    }
    return chip_memory[(chip_iregister + r) & 0xFFF];
}

static void xorbyte(int d, unsigned char part)
{
    if (!part) return;
    unsigned char old = chip_screen[d];
    if (!chip_vreg[0xF] && (old & part)) chip_vreg[0xF] = 1;
    chip_screen[d] = old ^ part;
}

void chip8_drawsprite(unsigned char x, unsigned char y, unsigned char n)
{
    chip_vreg[0xF] = 0;
    x &= 63;
    y &= 31;
    int rows = y + n > 32 ? 32 - y : n;  // rows below the bottom are dropped
    int d = y * ROW_BYTES + x / 8;
    int k = x % 8;
    for (int r = 0; r < rows; r++, d += ROW_BYTES) {
        unsigned char b = spriterow(r);
        xorbyte(d, b >> k);
        if (k) xorbyte(d + 1, (unsigned char)(b << (8 - k)));
    }
    chip_charset = 0;
}

int chip8_pixel(int x, int y)
{
    if (x < 0 || x >= 64 || y < 0 || y >= 32) return 0;
    return (chip_screen[y * ROW_BYTES + x / 8] >> (7 - x % 8)) & 1;
}

void chip8_drawscreen()
{
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 64; x++)
            VXE_DrawPixel(x, y, chip8_pixel(x, y) ? (int)0xFFFFFFFF : (int)0xFF000000, chip8bitmap);
    VXE_UpdateBitmap(chip8bitmap);
}
