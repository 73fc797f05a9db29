// resources: the copier's sounds, pictures and sprites, loaded once at
// start-up and kept for the whole run (cut sprites refer to their sheets).
#include "app/monitor/resources.h"

#include "app/monitor/font8x8.h"

s_sound floppyCorrupt;
s_sound floppyRead;
s_sound FloxaFinished;
s_sound snd_mouseClick;

s_bitmap bmp_crt;
s_bitmap bmp_background;
s_bitmap bmp_blocks, bmp_blocks2, bmp_blocks3;
s_bitmap bmp_numbers;
s_bitmap bmp_font;

s_sprite spr_cursor, spr_lamp_on, spr_lamp_off, spr_toggle_on, spr_disk;
s_sprite spr_disk_0, spr_disk_1, spr_disk_2, spr_disk_3;
s_sprite spr_block[2][96];
s_sprite spr_number[10];
s_sprite spr_font[128];

void InitFont()
{
    for (int k = 0; k < 128; k++)
        for (int r = 0; r < 8; r++)
            for (int b = 0; b < 8; b++) {
                const bool lit = (font8x8_basic[k][r] >> b) & 1;
                VXE_DrawPixel(b, 8 * k + r, lit ? (int)0xFF00FF00 : (int)0xFF000000, bmp_font);
            }
    VXE_UpdateBitmap(bmp_font);
}

void LoadResources()
{
    Soundsystem_LoadSound("flop2sound.wav", &floppyCorrupt);
    Soundsystem_LoadSound("flop1read.wav", &floppyRead);
    Soundsystem_LoadSound("floxafinished.wav", &FloxaFinished);
    Soundsystem_LoadSound("click.wav", &snd_mouseClick);

    VXE_LoadBitmap("crt2048.tga", &bmp_crt);
    VXE_LoadBitmap("floxa2019_empty.tga", &bmp_background);
    VXE_LoadBitmap("blocks.tga", &bmp_blocks);
    VXE_LoadBitmap("blocksred.tga", &bmp_blocks2);
    VXE_LoadBitmap("blocksfill.tga", &bmp_blocks3);
    VXE_LoadBitmap("floxanumbers.tga", &bmp_numbers);

    VXE_LoadSprite("cursor.tga", &spr_cursor);
    VXE_LoadSprite("lamp_on.tga", &spr_lamp_on);
    VXE_LoadSprite("lamp_off.tga", &spr_lamp_off);
    VXE_LoadSprite("toggle_on.tga", &spr_toggle_on);
    VXE_LoadSprite("disk.tga", &spr_disk);
    VXE_LoadSprite("0.tga", &spr_disk_0);
    VXE_LoadSprite("1.tga", &spr_disk_1);
    VXE_LoadSprite("2.tga", &spr_disk_2);
    VXE_LoadSprite("3.tga", &spr_disk_3);

    // Each 8x8 tile becomes four 4x4 quarters: upper halves in set 0,
    // lower halves in set 1, so a 2x2 patch of cells shows one tile.
    const s_bitmap *sheets[3] = {&bmp_blocks, &bmp_blocks2, &bmp_blocks3};
    for (int c = 0; c < 32; c++)
        for (int s = 0; s < 3; s++) {
            VXE_GetSprite(4 * c, 0, 4, 4, *sheets[s], &spr_block[0][32 * s + c]);
            VXE_GetSprite(4 * c, 4, 4, 4, *sheets[s], &spr_block[1][32 * s + c]);
        }
    for (int d = 0; d < 10; d++)
        VXE_GetSprite(8 * d, 0, 7, 8, bmp_numbers, &spr_number[d]);

    VXE_CreateBitmap(8, 1024, &bmp_font);
    InitFont();
    for (int k = 0; k < 128; k++)
        VXE_GetSprite(0, 8 * k, 8, 8, bmp_font, &spr_font[k]);
}
