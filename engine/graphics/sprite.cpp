// Sprites: cutting rectangles out of bitmap textures, loaded and created
// sprites, the sprite registry, box collision, and alpha-tested drawing.
//
// Depends on bitmaps (bitmap.h) and the 2D drawing layer (draw2d.h).
#include "engine/graphics/sprite.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/graphics/draw2d.h"
#include "engine/graphics/video.h"

s_sprite *vxe_spritelist[VXE_MAXSPRITES];
int vxe_numsprites;
s_bitmap vxe_spritebmp[VXE_MAXSPRITES];

namespace {

// A sprite beyond the table still draws; it is only left out of the bulk
// release.
void registersprite(s_sprite *sprite)
{
    if (vxe_numsprites < VXE_MAXSPRITES)
        vxe_spritelist[vxe_numsprites++] = sprite;
    else
        printf("sprite table full (%d)\n", VXE_MAXSPRITES);
}

void fillbox(s_sprite *sprite, int width, int height)
{
    sprite->width = width;
    sprite->height = height;
    sprite->xorigin = sprite->yorigin = 0;
    sprite->colx1 = sprite->coly1 = 0;
    sprite->colx2 = width;
    sprite->coly2 = height;
}

inline void drawquad(int x, int y, float w, float h, const s_sprite &s, bool mirrored)
{
    if (mirrored)
        VXE_DrawQuad((float)x, (float)y, w, h, s.s1, s.t0, s.s0, s.t1);
    else
        VXE_DrawQuad((float)x, (float)y, w, h, s.s0, s.t0, s.s1, s.t1);
}

void begin(const s_sprite &sprite)
{
    VXE_EnableRenderState(VXE_STATE_ALPHATEST);
    VXE_BindTexture((int)sprite.texture);
}

}  // namespace

void VXE_GetSprite(int x, int y, int w, int h, s_bitmap bitmap, s_sprite *sprite)
{
    fillbox(sprite, w, h);
    sprite->pixels = nullptr;
    sprite->bitmap = nullptr;
    // An empty bitmap (a failed load) has no size to divide by: the sprite
    // gets an empty rectangle.
    sprite->s0 = sprite->t0 = sprite->s1 = sprite->t1 = 0;
    if (bitmap.texwidth > 0 && bitmap.texheight > 0) {
        sprite->s0 = (float)x / bitmap.texwidth;
        sprite->t0 = (float)y / bitmap.texheight;
        sprite->s1 = (float)(x + w) / bitmap.texwidth;
        sprite->t1 = (float)(y + h) / bitmap.texheight;
    }
    sprite->texture = bitmap.texture;
    registersprite(sprite);
}

void VXE_LoadSprite(const char *name, s_sprite *sprite)
{
    if (vxe_numsprites >= VXE_MAXSPRITES) {
        printf("VXE_LoadSprite: sprite table full, %s not loaded\n", name);
        memset(sprite, 0, sizeof *sprite);
        return;
    }
    s_bitmap *slot = &vxe_spritebmp[vxe_numsprites];
    VXE_LoadBitmap(name, slot);
    VXE_GetSprite(0, 0, slot->width, slot->height, *slot, sprite);
    sprite->bitmap = slot;
}

void VXE_CreateSprite(int width, int height, s_sprite *sprite)
{
    memset(sprite, 0, sizeof *sprite);
    width = PowerOfTwo(width);
    height = PowerOfTwo(height);
    if (width <= 0 || height <= 0 || width > VXE_TGA_MAXSIDE || height > VXE_TGA_MAXSIDE) {
        printf("VXE_CreateSprite: cannot make a sprite of %dx%d\n", width, height);
        return;
    }
    sprite->pixels = (unsigned char *)malloc((size_t)width * height * 4);
    if (!sprite->pixels) {
        printf("VXE_CreateSprite: no memory for a sprite of %dx%d\n", width, height);
        return;
    }
    fillbox(sprite, width, height);
    VXE_ClearSprite(*sprite);
    sprite->s0 = sprite->t0 = 0;
    sprite->s1 = (float)(width * 0.99999) / width;
    sprite->t1 = (float)(height * 0.9999) / height;
    registersprite(sprite);
}

// A created sprite gets a texture of its own the first time its pixels are
// uploaded; until then it draws untextured.
void VXE_UpdateSprite(s_sprite *sprite)
{
    if (!sprite->pixels)
        return;
    if (!sprite->texture)
        sprite->texture = VXE_CreateTexture(sprite->width, sprite->height, sprite->pixels);
    else
        VXE_UpdateTexture((int)sprite->texture, sprite->width, sprite->height, sprite->pixels);
}

s_bitmap VXE_GetBitmapFromSprite(s_sprite sprite)
{
    s_bitmap bitmap;
    memset(&bitmap, 0, sizeof bitmap);
    bitmap.width = sprite.width;
    bitmap.height = sprite.height;
    bitmap.numpixels = sprite.width * sprite.height;
    bitmap.size = bitmap.numpixels * 4;
    bitmap.pixels = sprite.pixels;
    bitmap.s0 = sprite.s0;
    bitmap.t0 = sprite.t0;
    bitmap.s1 = sprite.s1;
    bitmap.t1 = sprite.t1;
    bitmap.texture = sprite.texture;
    return bitmap;
}

// Only created sprites own anything: their pixels and the texture made by
// VXE_UpdateSprite. A cut sprite's texture belongs to its bitmap.
void VXE_DeleteSprite(s_sprite *sprite)
{
    if (!sprite->pixels)
        return;
    free(sprite->pixels);
    sprite->pixels = nullptr;
    if (sprite->texture)
        VXE_DeleteTexture((int)sprite->texture);
    sprite->texture = 0;
}

void VXE_ClearSprite(s_sprite sprite)
{
    if (sprite.pixels)
        memset(sprite.pixels, 0, (size_t)sprite.width * sprite.height * 4);
}

void VXE_SetSpritePosition(s_sprite *sprite, int x, int y)
{
    sprite->xpos = x;
    sprite->ypos = y;
}

void VXE_SetSpriteOrigin(s_sprite *sprite, int x, int y)
{
    sprite->xorigin = x;
    sprite->yorigin = y;
}

int VXE_SetSpriteCollisionBox(s_sprite *sprite, int x1, int y1, int x2, int y2)
{
    sprite->colx1 = x1;
    sprite->coly1 = y1;
    sprite->colx2 = x2;
    sprite->coly2 = y2;
    return 1;
}

int VXE_CheckBoxCollision(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2)
{
    return x1 < x2 + w2 && x1 + w1 > x2 && y1 < y2 + h2 && y1 + h1 > y2;
}

int VXE_CheckSpriteCollision(int x1, int y1, s_sprite sprite1, int x2, int y2, s_sprite sprite2)
{
    return VXE_CheckBoxCollision(x1 + sprite1.colx1, y1 + sprite1.coly1,
                                 sprite1.colx2 - sprite1.colx1, sprite1.coly2 - sprite1.coly1,
                                 x2 + sprite2.colx1, y2 + sprite2.coly1,
                                 sprite2.colx2 - sprite2.colx1, sprite2.coly2 - sprite2.coly1);
}

// Keyed colours are never 0, and ConvertTransp maps exactly them to 0.
int VXE_CheckSpriteTransparency(int color)
{
    return color != 0 && ConvertTransp(color) == 0;
}

void VXE_DrawSprite(int x, int y, s_sprite sprite)
{
    begin(sprite);
    drawquad(x, y, (float)sprite.width, (float)sprite.height, sprite, false);
}

void VXE_DrawMirroredSprite(int x, int y, s_sprite sprite)
{
    begin(sprite);
    drawquad(x, y, (float)sprite.width, (float)sprite.height, sprite, true);
}

void VXE_DrawBlendSprite(int x, int y, s_sprite sprite, int mode)
{
    begin(sprite);
    VXE_SetBlendMode(mode);
    VXE_EnableRenderState(VXE_STATE_BLEND);
    drawquad(x, y, (float)sprite.width, (float)sprite.height, sprite, false);
    VXE_DisableRenderState(VXE_STATE_BLEND);
}

void VXE_DrawAlphaSprite(int x, int y, s_sprite sprite, float alpha)
{
    begin(sprite);
    VXE_EnableAlphaBlend(alpha);
    drawquad(x, y, (float)sprite.width, (float)sprite.height, sprite, false);
    VXE_DisableAlphaBlend();
}

void VXE_DrawScaledSprite(int x, int y, float w, float h, s_sprite sprite)
{
    begin(sprite);
    drawquad(x, y, w, h, sprite, false);
}

void VXE_DrawRotatedSprite(int x, int y, s_sprite sprite, float angle)
{
    begin(sprite);
    VXE_DrawRotatedQuad((float)x, (float)y, (float)sprite.width, (float)sprite.height,
                        sprite.s0, sprite.t0, sprite.s1, sprite.t1, angle);
}
