// Bitmaps: pixel memory plus a texture of the same size, the bitmap registry,
// pixel access, drawing, and loading images from the mounted archive.
//
// Depends on the texture and 2D drawing layer (draw2d.h) and on the virtual
// file system (corefile.h). Pixel memory is plain heap; every call runs on
// the thread that owns the GL context.
#include "engine/graphics/bitmap.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/corefile/corefile.h"
#include "engine/graphics/draw2d.h"
#include "engine/graphics/video.h"

s_bitmap *vxe_bitmaplist[VXE_MAXBITMAPS];
int vxe_numbitmaps;

namespace {

// No image the decoder accepts needs a larger file, even packed as badly as
// possible; a larger entry is refused before anything is allocated for it.
const uint32_t kMaxImageFile = 128u * 1024 * 1024;

inline unsigned char *pixelat(const s_bitmap &bitmap, int x, int y)
{
    return bitmap.pixels + ((size_t)y * bitmap.width + x) * 4;
}

inline bool inside(const s_bitmap &bitmap, int x, int y)
{
    return bitmap.pixels && x >= 0 && x < bitmap.width && y >= 0 && y < bitmap.height;
}

// Reads the whole file; null (with a message) when it is not there, too
// large, or cannot be read in full.
unsigned char *readwhole(const char *name, uint32_t *size)
{
    s_corefile file;
    memset(&file, 0, sizeof file);
    if (!corefile_open(name, &file, 0))
        return nullptr;
    unsigned char *data = nullptr;
    if (file.size > kMaxImageFile)
        printf(" %s: file of %u bytes is too large for an image\n", name, file.size);
    else if (!(data = (unsigned char *)malloc(file.size ? file.size : 1)))
        printf(" %s: no memory for %u bytes\n", name, file.size);
    else if (file.size && corefile_read(data, file.size, 1, &file) != 1) {
        printf(" %s: could not be read in full\n", name);
        free(data);
        data = nullptr;
    }
    corefile_close(&file);
    *size = file.size;
    return data;
}

// True when name ends in ".tga" in any case. A dot at the very start does
// not begin an extension.
bool istga(const char *name)
{
    const char *dot = strrchr(name, '.');
    if (!dot || dot == name)
        return false;
    char ext[8];
    if (strlen(dot) >= sizeof ext)
        return false;
    strcpy(ext, dot);
    return strcmp(upcase(ext), ".TGA") == 0;
}

}  // namespace

int VXE_CreateBitmap(int width, int height, s_bitmap *bitmap)
{
    memset(bitmap, 0, sizeof *bitmap);
    // Sizes the decoder would accept are the sane ones here as well.
    if (width <= 0 || height <= 0 || width > VXE_TGA_MAXSIDE || height > VXE_TGA_MAXSIDE) {
        printf("VXE_CreateBitmap: cannot make a bitmap of %dx%d\n", width, height);
        return 0;
    }
    bitmap->width = width;
    bitmap->height = height;
    bitmap->texwidth = PowerOfTwo(width);
    bitmap->texheight = PowerOfTwo(height);
    bitmap->numpixels = bitmap->texwidth * bitmap->texheight;
    bitmap->size = bitmap->numpixels * 4;
    // Zeroed so a fresh texture never shows leftover memory.
    bitmap->pixels = (unsigned char *)calloc((size_t)bitmap->size, 1);
    if (!bitmap->pixels) {
        printf("VXE_CreateBitmap: no memory for a bitmap of %dx%d\n", width, height);
        memset(bitmap, 0, sizeof *bitmap);
        return 0;
    }
    bitmap->s0 = 0;
    bitmap->t0 = 0;
    bitmap->s1 = (float)(width * 0.99999) / bitmap->texwidth;
    bitmap->t1 = (float)(height * 0.9999) / bitmap->texheight;
    bitmap->texture = VXE_CreateTexture(width, height, bitmap->pixels);
    // A bitmap beyond the table still works; it is only left out of the
    // bulk release.
    if (vxe_numbitmaps < VXE_MAXBITMAPS)
        vxe_bitmaplist[vxe_numbitmaps++] = bitmap;
    else
        printf("VXE_CreateBitmap: bitmap table full (%d)\n", VXE_MAXBITMAPS);
    return 1;
}

// The registry keeps deleted records, so the bulk release meets them again:
// clearing both handles makes the second call a no-op. A static bitmap has
// only its texture, which is released too.
void VXE_DeleteBitmap(s_bitmap *bitmap)
{
    if (!bitmap->pixels && !bitmap->texture)
        return;
    puts("deleting bitmap");
    if (bitmap->texture)
        VXE_DeleteTexture((int)bitmap->texture);
    free(bitmap->pixels);
    bitmap->pixels = nullptr;
    bitmap->texture = 0;
}

void VXE_UpdateBitmap(s_bitmap bitmap)
{
    VXE_UpdateTexture((int)bitmap.texture, bitmap.width, bitmap.height, bitmap.pixels);
}

void VXE_ClearBitmap(s_bitmap bitmap)
{
    if (!bitmap.pixels)
        return;
    memset(bitmap.pixels, 0, (size_t)bitmap.size);
    VXE_UpdateBitmap(bitmap);
}

// The colour is stored as the word it is, so its lowest byte lands in red.
void VXE_ClearBitmapWithColor(s_bitmap bitmap, int color)
{
    if (!bitmap.pixels)
        return;
    unsigned c = (unsigned)color;
    unsigned char bytes[4] = {(unsigned char)c, (unsigned char)(c >> 8),
                              (unsigned char)(c >> 16), (unsigned char)(c >> 24)};
    for (int i = 0; i < bitmap.numpixels; i++)
        memcpy(bitmap.pixels + (size_t)i * 4, bytes, 4);
    VXE_UpdateBitmap(bitmap);
}

int VXE_GetPixel(int x, int y, s_bitmap bitmap)
{
    if (!inside(bitmap, x, y))
        return 0;
    const unsigned char *p = pixelat(bitmap, x, y);
    return (int)(((unsigned)p[3] << 24) | (p[0] << 16) | (p[1] << 8) | p[2]);
}

void VXE_DrawPixel(int x, int y, int color, s_bitmap bitmap)
{
    if (!inside(bitmap, x, y))
        return;
    unsigned c = (unsigned)color;
    unsigned char *p = pixelat(bitmap, x, y);
    p[0] = (unsigned char)(c >> 16);
    p[1] = (unsigned char)(c >> 8);
    p[2] = (unsigned char)c;
    p[3] = (unsigned char)(c >> 24);
}

void VXE_BindTextureFromBitmap(s_bitmap bitmap)
{
    VXE_BindTexture((int)bitmap.texture);
}

// Bitmaps draw with the alpha test off: transparent pixels are drawn too.
void VXE_DrawScaledBitmap(int x, int y, float w, float h, s_bitmap bitmap)
{
    VXE_DisableRenderState(VXE_STATE_ALPHATEST);
    VXE_BindTexture((int)bitmap.texture);
    VXE_DrawQuad((float)x, (float)y, w, h, bitmap.s0, bitmap.t0, bitmap.s1, bitmap.t1);
}

void VXE_DrawBitmap(int x, int y, s_bitmap bitmap)
{
    VXE_DrawScaledBitmap(x, y, (float)bitmap.width, (float)bitmap.height, bitmap);
}

void VXE_DrawZoomedBitmap(int x, int y, float percent, s_bitmap bitmap)
{
    VXE_DrawScaledBitmap(x, y, (float)(bitmap.width * (double)percent / 100.0),
                         (float)(bitmap.height * (double)percent / 100.0), bitmap);
}

void VXE_DrawBlendBitmap(int x, int y, s_bitmap bitmap, int mode)
{
    VXE_SetBlendMode(mode);
    VXE_EnableRenderState(VXE_STATE_BLEND);
    VXE_DrawBitmap(x, y, bitmap);
    VXE_DisableRenderState(VXE_STATE_BLEND);
}

void VXE_DrawAlphaBitmap(int x, int y, s_bitmap bitmap, float alpha)
{
    VXE_EnableAlphaBlend(alpha);
    VXE_DrawBitmap(x, y, bitmap);
    VXE_DisableAlphaBlend();
}

void VXE_DrawRotatedBitmap(int x, int y, s_bitmap bitmap, float angle)
{
    VXE_DisableRenderState(VXE_STATE_ALPHATEST);
    VXE_BindTexture((int)bitmap.texture);
    VXE_DrawRotatedQuad((float)x, (float)y, (float)bitmap.width, (float)bitmap.height,
                        bitmap.s0, bitmap.t0, bitmap.s1, bitmap.t1, angle);
}

char *upcase(char *text)
{
    for (char *c = text; *c; c++)
        if (*c >= 'a' && *c <= 'z')
            *c = (char)(*c - 'a' + 'A');
    return text;
}

// The image is decoded whole before the bitmap is made, so a bad file
// leaves the record as it was and registers nothing.
int LoadImageTGA(const char *name, s_bitmap *bitmap)
{
    uint32_t size = 0;
    unsigned char *data = readwhole(name, &size);
    if (!data)
        return 0;
    s_tgaimage image;
    int ok = VXE_DecodeTGA(data, size, &image);
    free(data);
    if (!ok) {
        printf(" %s: %s\n", name, image.error);
        return 0;
    }
    printf("width: %d, height: %d, bpp: %d\n", image.width, image.height, image.bpp);
    if (VXE_CreateBitmap(image.width, image.height, bitmap)) {
        memcpy(bitmap->pixels, image.pixels, (size_t)bitmap->size);
        if (image.imagetype >= 8)
            printf("TGA is RLE packed.");
    } else {
        ok = 0;
    }
    VXE_FreeTGA(&image);
    return ok;
}

int VXE_LoadBitmap(const char *name, s_bitmap *bitmap)
{
    if (!istga(name)) {
        puts("File format not supported.");
        return 0;
    }
    printf("Loading TGA image.");
    if (!LoadImageTGA(name, bitmap)) {
        printf("- ERROR: Image %s not loaded.\n", name);
        return 0;
    }
    // The texture was made before the decoded pixels were copied in.
    VXE_UpdateTexture(bitmap->texture, bitmap->width, bitmap->height, bitmap->pixels);
    return 1;
}

int VXE_LoadBitmapStatic(const char *name, s_bitmap *bitmap)
{
    if (!VXE_LoadBitmap(name, bitmap))
        return 0;
    free(bitmap->pixels);
    bitmap->pixels = nullptr;
    return 1;
}
