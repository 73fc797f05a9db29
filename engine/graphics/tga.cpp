// TGA decoder. Every length in the file is checked against the bytes that are
// really there before it is used, and the image size is capped before the
// pixel buffer is allocated, so a hostile file costs at most a message.
#include "engine/graphics/tga.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int ConvertTransp(int color)
{
    unsigned c = (unsigned)color;
    if (((c >> 16) & 0xFF) > 240 && ((c >> 8) & 0xFF) < 16 && (c & 0xFF) > 240)
        return 0;
    return color;
}

namespace {

enum { kHeaderSize = 18 };

struct Decoder {
    const unsigned char *data;
    size_t size;
    size_t pos;
    int bytesperpixel;
    bool grey;
    uint32_t map[256];
    int mapfirst, mapend;  // indices that the file's colour map really holds
    int width;
    unsigned char *out;
};

unsigned le16(const unsigned char *p)
{
    return p[0] | (p[1] << 8);
}

uint32_t from24(const unsigned char *p)
{
    return 0xFF000000u | (p[2] << 16) | (p[1] << 8) | p[0];
}

uint32_t from16(unsigned w)
{
    uint32_t r = ((w >> 10) & 31) * 8, g = ((w >> 5) & 31) * 8, b = (w & 31) * 8;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

int fail(s_tgaimage *image, const char *format, ...) __attribute__((format(printf, 2, 3)));
int fail(s_tgaimage *image, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    vsnprintf(image->error, sizeof image->error, format, args);
    va_end(args);
    return 0;
}

// One pixel at p as 0xAARRGGBB; false for a colour index the map lacks.
inline bool decodepixel(const Decoder &d, const unsigned char *p, uint32_t *color)
{
    switch (d.bytesperpixel) {
    case 1:
        if (d.grey) {
            *color = 0xFF000000u + p[0] * 0x010101u;
            return true;
        }
        if (p[0] < d.mapfirst || p[0] >= d.mapend)
            return false;
        *color = d.map[p[0]];
        return true;
    case 2:
        *color = from16(le16(p));
        return true;
    case 3:
        *color = from24(p);
        return true;
    default:
        *color = ((uint32_t)p[3] << 24) | (p[2] << 16) | (p[1] << 8) | p[0];
        return true;
    }
}

inline void store(const Decoder &d, int x, int y, uint32_t color)
{
    color = (uint32_t)ConvertTransp((int)color);
    unsigned char *q = d.out + ((size_t)y * d.width + x) * 4;
    q[0] = (unsigned char)(color >> 16);
    q[1] = (unsigned char)(color >> 8);
    q[2] = (unsigned char)color;
    q[3] = (unsigned char)(color >> 24);
}

// Reads the colour map at d.pos and steps over it. Entries are only decoded
// when the pixels index them; any entry size can be stepped over.
int readmap(Decoder &d, const unsigned char *h, bool needed, s_tgaimage *image)
{
    int first = (int)le16(h + 3), length = (int)le16(h + 5), bits = h[7];
    size_t entrybytes = (size_t)(bits + 7) / 8;
    if (needed && bits != 15 && bits != 16 && bits != 24)
        return fail(image, "colour-map entries of %d bits are not supported", bits);
    if ((size_t)length * entrybytes > d.size - d.pos)
        return fail(image, "colour map runs past the end of the file");
    const unsigned char *p = d.data + d.pos;
    d.pos += (size_t)length * entrybytes;
    if (!needed)
        return 1;
    d.mapfirst = first > 255 ? 256 : first;
    d.mapend = first + length > 256 ? 256 : first + length;
    for (int i = d.mapfirst; i < d.mapend; i++, p += entrybytes)
        d.map[i] = entrybytes == 3 ? from24(p) : from16(le16(p));
    return 1;
}

// Bits 4-5 of the descriptor say which corner the first pixel belongs to;
// the output is always top-down, left to right. The file's pixel at
// (column, row) goes to (startx + column * xstep, starty + row * ystep).
struct Placement {
    int startx, starty;
    int xstep, ystep;
};

Placement placement(int descriptor, int width, int height)
{
    bool right = descriptor & 0x10, top = descriptor & 0x20;
    return {right ? width - 1 : 0, top ? 0 : height - 1, right ? -1 : 1, top ? 1 : -1};
}

int badindex(s_tgaimage *image, int index)
{
    return fail(image, "colour index %d is outside the colour map", index);
}

int decoderaw(Decoder &d, int descriptor, int height, s_tgaimage *image)
{
    Placement place = placement(descriptor, d.width, height);
    const unsigned char *p = d.data + d.pos;
    uint32_t color;
    for (int r = 0; r < height; r++) {
        for (int c = 0; c < d.width; c++, p += d.bytesperpixel) {
            if (!decodepixel(d, p, &color))
                return badindex(image, p[0]);
            store(d, place.startx + c * place.xstep, place.starty + r * place.ystep, color);
        }
    }
    return 1;
}

// Packets may run on from one row into the next, never past the image: a
// packet that overruns it marks a damaged file, which is refused.
int decodepacked(Decoder &d, int descriptor, int height, s_tgaimage *image)
{
    Placement place = placement(descriptor, d.width, height);
    size_t npixels = (size_t)d.width * height, written = 0;
    int column = 0, row = 0;
    uint32_t color = 0;
    while (written < npixels) {
        if (d.pos >= d.size)
            return fail(image, "run-length data is truncated");
        int header = d.data[d.pos++];
        size_t count = (size_t)(header & 0x7F) + 1;
        bool run = header & 0x80;
        if (count > npixels - written)
            return fail(image, "run-length packet overruns the image");
        if ((run ? 1 : count) * d.bytesperpixel > d.size - d.pos)
            return fail(image, "run-length data is truncated");
        for (size_t i = 0; i < count; i++) {
            if (i == 0 || !run) {
                const unsigned char *p = d.data + d.pos;
                if (!decodepixel(d, p, &color))
                    return badindex(image, p[0]);
                if (!run)
                    d.pos += d.bytesperpixel;
            }
            store(d, place.startx + column * place.xstep, place.starty + row * place.ystep, color);
            if (++column == d.width) {
                column = 0;
                row++;
            }
        }
        if (run)
            d.pos += d.bytesperpixel;
        written += count;
    }
    return 1;
}

}  // namespace

int VXE_DecodeTGA(const unsigned char *data, size_t size, s_tgaimage *image)
{
    memset(image, 0, sizeof *image);
    if (!data || size < kHeaderSize)
        return fail(image, "header is truncated (%zu of %d bytes)", data ? size : 0, kHeaderSize);

    const unsigned char *h = data;
    int idlength = h[0], maptype = h[1], type = h[2];
    int width = (int)le16(h + 12), height = (int)le16(h + 14), bpp = h[16], descriptor = h[17];
    image->width = width;
    image->height = height;
    image->bpp = bpp;
    image->imagetype = type;

    if (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11)
        return fail(image, "image type %d is not supported", type);
    if (maptype > 1)
        return fail(image, "colour-map type %d is not supported", maptype);
    if (bpp != 8 && bpp != 15 && bpp != 16 && bpp != 24 && bpp != 32)
        return fail(image, "%d bits per pixel are not supported", bpp);
    // Pixels decode by their depth alone: the type only decides whether an
    // 8-bit pixel is grey, so a 16-bit grey or mapped file reads as colour.
    bool grey = type == 3 || type == 11;
    // An 8-bit pixel that is not grey is a colour index, whatever the type says.
    bool usesmap = bpp == 8 && !grey;
    if (usesmap && maptype == 0)
        return fail(image, "colour-indexed pixels but no colour map");
    if (descriptor & 0xC0)
        return fail(image, "interleaved images are not supported");
    if (width == 0 || height == 0)
        return fail(image, "image is empty (%dx%d)", width, height);
    if (width > VXE_TGA_MAXSIDE || height > VXE_TGA_MAXSIDE || width * height > VXE_TGA_MAXPIXELS)
        return fail(image, "image of %dx%d is too large", width, height);

    Decoder d;
    memset(&d, 0, sizeof d);
    d.data = data;
    d.size = size;
    d.pos = kHeaderSize + (size_t)idlength;
    d.bytesperpixel = (bpp + 7) / 8;
    d.grey = grey;
    d.width = width;
    if (d.pos > size)
        return fail(image, "identification field runs past the end of the file");
    if (maptype && !readmap(d, h, usesmap, image))
        return 0;

    // Refuse data too short for the image before allocating for it: a raw
    // image needs every pixel, a packed one a packet per 128 pixels.
    size_t npixels = (size_t)width * height;
    size_t left = size - d.pos;
    bool packed = type >= 8;
    if (!packed && npixels * d.bytesperpixel > left)
        return fail(image, "pixel data is truncated");
    if (packed && (npixels + 127) / 128 * (1 + d.bytesperpixel) > left)
        return fail(image, "run-length data is truncated");

    d.out = (unsigned char *)malloc(npixels * 4);
    if (!d.out)
        return fail(image, "no memory for an image of %dx%d", width, height);

    if (!(packed ? decodepacked(d, descriptor, height, image) : decoderaw(d, descriptor, height, image))) {
        free(d.out);
        return 0;
    }
    image->pixels = d.out;
    return 1;
}

void VXE_FreeTGA(s_tgaimage *image)
{
    free(image->pixels);
    image->pixels = nullptr;
}
