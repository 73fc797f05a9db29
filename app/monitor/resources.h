// Everything the copier loads from the archive at start-up: its sounds,
// pictures and sprites, the block, digit and font sprites cut from their
// sheets, and the 8x8 text font built from a table in the program.
// A file missing from the archive leaves its object empty; the show runs on.
#pragma once

#include "engine/graphics/bitmap.h"
#include "engine/graphics/sprite.h"
#include "engine/sound/soundsystem.h"

extern s_sound floppyCorrupt;   // drive error noise
extern s_sound floppyRead;      // sector read noise
extern s_sound FloxaFinished;   // end-of-copy jingle
extern s_sound snd_mouseClick;  // mouse click

extern s_bitmap bmp_crt;        // the monitor bezel, 2048x1152
extern s_bitmap bmp_background; // the copier screen, 320x200
extern s_bitmap bmp_blocks, bmp_blocks2, bmp_blocks3;  // normal, red, filled sheets
extern s_bitmap bmp_numbers;    // the digit strip
extern s_bitmap bmp_font;       // 8x1024, the 128 glyphs stacked

extern s_sprite spr_cursor, spr_lamp_on, spr_lamp_off, spr_toggle_on, spr_disk;
extern s_sprite spr_disk_0, spr_disk_1, spr_disk_2, spr_disk_3;
// 4x4 quarters of the block tiles: [0] upper and [1] lower halves; entry
// 32s + c is column c (4 pixels wide) of sheet s. Colour v at grid column x
// uses entry 2(v mod 48) + (x & 1) of set (row & 1).
extern s_sprite spr_block[2][96];
extern s_sprite spr_number[10];  // digits, 7x8
extern s_sprite spr_font[128];   // glyphs, 8x8

// Loads and cuts everything above (the video must be up).
void LoadResources();
// Paints the glyph table into bmp_font (green on black) and uploads it.
void InitFont();
