// Sprites: rectangles of a bitmap's texture drawn with the alpha test on, so
// texels of alpha 0 leave the background visible. Each carries a collision
// box and a stored position and origin for the application.
//
// Records are owned by the caller and registered by address (font glyphs
// too), so a registered record must not move.
#ifndef VXE_SPRITE_H
#define VXE_SPRITE_H

#include "engine/graphics/bitmap.h"

struct s_sprite {
    int width;            // size in pixels
    int height;
    float s0, t0;         // texture rectangle in the source texture
    float s1, t1;
    unsigned texture;     // source texture name; 0 when none
    int xpos, ypos;       // kept for the application only
    int xorigin, yorigin;
    int colx1, coly1;     // collision box relative to the drawing position,
    int colx2, coly2;     // right and bottom exclusive
    unsigned char *pixels;  // own pixel memory (created sprites only)
    s_bitmap *bitmap;       // image slot of a loaded sprite, else null
};

#define VXE_MAXSPRITES 1024

extern s_sprite *vxe_spritelist[VXE_MAXSPRITES];
extern int vxe_numsprites;
// Images of loaded sprites; a load uses the slot at index vxe_numsprites.
extern s_bitmap vxe_spritebmp[VXE_MAXSPRITES];

// --- making sprites -------------------------------------------------------
// Cuts (x, y, w, h) of the bitmap's texture; the sprite owns nothing.
void VXE_GetSprite(int x, int y, int w, int h, s_bitmap bitmap, s_sprite *sprite);
// Loads an image file into a sprite slot and makes the whole image a sprite.
void VXE_LoadSprite(const char *name, s_sprite *sprite);
// A sprite with its own cleared pixel memory and no texture until
// VXE_UpdateSprite uploads one.
void VXE_CreateSprite(int width, int height, s_sprite *sprite);
// Uploads a created sprite's pixel memory, making its texture on first use.
void VXE_UpdateSprite(s_sprite *sprite);
// An unregistered bitmap sharing the sprite's pixel memory and texture.
s_bitmap VXE_GetBitmapFromSprite(s_sprite sprite);
// Releases a created sprite's own pixel memory (and texture); safe to repeat.
void VXE_DeleteSprite(s_sprite *sprite);
void VXE_ClearSprite(s_sprite sprite);

// --- stored values ----------------------------------------------------------
void VXE_SetSpritePosition(s_sprite *sprite, int x, int y);
void VXE_SetSpriteOrigin(s_sprite *sprite, int x, int y);
int VXE_SetSpriteCollisionBox(s_sprite *sprite, int x1, int y1, int x2, int y2);

// --- tests ----------------------------------------------------------------
// 1 when the collision boxes overlap with positive area (touching is not).
int VXE_CheckSpriteCollision(int x1, int y1, s_sprite sprite1, int x2, int y2, s_sprite sprite2);
int VXE_CheckBoxCollision(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);
// 1 for the colour key of loaded images (color as 0xAARRGGBB).
int VXE_CheckSpriteTransparency(int color);

// --- drawing at (x, y); the alpha test stays on afterwards ------------------
void VXE_DrawSprite(int x, int y, s_sprite sprite);
void VXE_DrawMirroredSprite(int x, int y, s_sprite sprite);
void VXE_DrawBlendSprite(int x, int y, s_sprite sprite, int mode);
void VXE_DrawAlphaSprite(int x, int y, s_sprite sprite, float alpha);
void VXE_DrawScaledSprite(int x, int y, float w, float h, s_sprite sprite);
void VXE_DrawRotatedSprite(int x, int y, s_sprite sprite, float angle);

#endif
