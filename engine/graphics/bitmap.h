// Bitmaps: 32-bit images in main memory paired with an OpenGL texture of the
// same size. Pixel memory holds the bytes red, green, blue, alpha per pixel,
// rows top to bottom; integer colours are 0xAARRGGBB.
//
// Records are owned by the caller and registered by address, so a created or
// loaded record must not move while it is registered.
#ifndef VXE_BITMAP_H
#define VXE_BITMAP_H

#include "engine/graphics/tga.h"

struct s_bitmap {
    int width;           // image size in pixels
    int height;
    int texwidth;        // texture size: equals the image size
    int texheight;
    int size;            // bytes of pixel memory (texwidth x texheight x 4)
    int numpixels;       // texwidth x texheight
    unsigned char *pixels;  // null when the bitmap has no pixel memory
    float s0, t0;        // texture rectangle that draws exactly the image
    float s1, t1;
    unsigned texture;    // OpenGL texture name, 0 when none
};

#define VXE_MAXBITMAPS 1024

// Registry of every created bitmap, in creation order.
extern s_bitmap *vxe_bitmaplist[VXE_MAXBITMAPS];
extern int vxe_numbitmaps;

// --- creation and lifetime ------------------------------------------------
// Fills the record, allocates pixels and texture, registers it. Returns 1, or
// 0 (record left empty) for a size that is not positive or memory refused.
int VXE_CreateBitmap(int width, int height, s_bitmap *bitmap);
// Releases texture and pixel memory; safe to call again on the same record.
void VXE_DeleteBitmap(s_bitmap *bitmap);
// Uploads the pixel memory into the texture.
void VXE_UpdateBitmap(s_bitmap bitmap);

// --- pixels ---------------------------------------------------------------
void VXE_ClearBitmap(s_bitmap bitmap);                   // transparent black, uploaded
void VXE_ClearBitmapWithColor(s_bitmap bitmap, int color);  // stored as is (0xAABBGGRR), uploaded
int VXE_GetPixel(int x, int y, s_bitmap bitmap);          // 0xAARRGGBB, 0 outside
void VXE_DrawPixel(int x, int y, int color, s_bitmap bitmap);  // 0xAARRGGBB; texture untouched

// --- drawing at (x, y) in pixels of the current target ----------------------
void VXE_BindTextureFromBitmap(s_bitmap bitmap);
void VXE_DrawBitmap(int x, int y, s_bitmap bitmap);
void VXE_DrawScaledBitmap(int x, int y, float w, float h, s_bitmap bitmap);
void VXE_DrawZoomedBitmap(int x, int y, float percent, s_bitmap bitmap);
void VXE_DrawBlendBitmap(int x, int y, s_bitmap bitmap, int mode);
void VXE_DrawAlphaBitmap(int x, int y, s_bitmap bitmap, float alpha);
void VXE_DrawRotatedBitmap(int x, int y, s_bitmap bitmap, float angle);

// --- loading from the mounted archive ----------------------------------------
// Turns a..z of text into capitals in place; returns text.
char *upcase(char *text);
// Decodes a TGA file of the archive into a new bitmap. Returns 1, or 0 with
// the record untouched.
int LoadImageTGA(const char *name, s_bitmap *bitmap);
// Loads an image by its extension (.tga in any case) and uploads it.
// Returns 1 on success; prints why otherwise.
int VXE_LoadBitmap(const char *name, s_bitmap *bitmap);
// As VXE_LoadBitmap, then drops the pixel memory: drawable, not readable.
int VXE_LoadBitmapStatic(const char *name, s_bitmap *bitmap);

#endif
