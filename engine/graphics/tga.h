// TGA decoder: file bytes in, top-down RGBA pixels out. No GL and no display,
// so tools and tests decode with no context.
//
// Reads uncompressed and run-length packed images (types 1, 2, 3, 9, 10, 11):
// 8-bit grey and colour-mapped, 15/16/24/32-bit pixels whatever the type,
// colour maps of 15/16/24-bit entries, all four origins. Magenta-like pixels (red > 240,
// green < 16, blue > 240) become 0, fully transparent. Anything else is
// refused with a reason; the input is never read past its end.
#ifndef VXE_TGA_H
#define VXE_TGA_H

#include <cstddef>

// Largest image accepted: 8192 pixels a side and 16M pixels (64 MB) in all.
#define VXE_TGA_MAXSIDE 8192
#define VXE_TGA_MAXPIXELS (16 * 1024 * 1024)

struct s_tgaimage {
    int width;
    int height;
    int bpp;                // bits per pixel of the file
    int imagetype;          // 8 and above: run-length packed
    unsigned char *pixels;  // width x height x 4 bytes R, G, B, A, top row first
    char error[128];        // why decoding failed, empty on success
};

// Colour key: 0 for magenta-like colours (red > 240, green < 16, blue > 240),
// whatever their alpha; any other colour unchanged. Colours are 0xAARRGGBB.
int ConvertTransp(int color);

// Returns 1 and fills image (pixels allocated with malloc), or 0 with
// image->error set and image->pixels null.
int VXE_DecodeTGA(const unsigned char *data, size_t size, s_tgaimage *image);
// Releases the pixels of a decoded image.
void VXE_FreeTGA(s_tgaimage *image);

#endif
