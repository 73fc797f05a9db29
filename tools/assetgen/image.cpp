// image: canvas helpers shared by the painters.
#include "tools/assetgen/image.h"

#include <cstdio>
#include <cstring>

Image MakeImage(int w, int h, uint32_t fill)
{
    Image img;
    img.w = w;
    img.h = h;
    img.px.assign((size_t)w * h, fill);
    return img;
}

uint32_t Rgb(int r, int g, int b)
{
    auto c8 = [](int v) { return (uint32_t)(v < 0 ? 0 : v > 255 ? 255 : v); };
    return 0xFF000000u | c8(r) << 16 | c8(g) << 8 | c8(b);
}

bool ParseColour(const char *text, uint32_t *out)
{
    unsigned v = 0;
    int used = 0;
    if (!text || text[0] != '#' || strlen(text) != 7 || sscanf(text + 1, "%6x%n", &v, &used) != 1 || used != 6)
        return false;
    *out = 0xFF000000u | v;
    return true;
}

uint32_t Mix(uint32_t a, uint32_t b, double t)
{
    auto ch = [&](int s) {
        double va = (a >> s) & 255, vb = (b >> s) & 255;
        return (int)(va + (vb - va) * t + 0.5);
    };
    return Rgb(ch(16), ch(8), ch(0));
}

uint32_t Shade(uint32_t c, double f)
{
    return Rgb((int)(((c >> 16) & 255) * f + 0.5), (int)(((c >> 8) & 255) * f + 0.5), (int)((c & 255) * f + 0.5));
}

uint32_t GetPx(const Image &img, int x, int y)
{
    if (x < 0 || y < 0 || x >= img.w || y >= img.h)
        return CLEAR;
    return img.px[(size_t)y * img.w + x];
}

void PutPx(Image &img, int x, int y, uint32_t c)
{
    if (x < 0 || y < 0 || x >= img.w || y >= img.h)
        return;
    img.px[(size_t)y * img.w + x] = c;
}

void FillRect(Image &img, int x, int y, int w, int h, uint32_t c)
{
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            PutPx(img, i, j, c);
}

void FrameRect(Image &img, int x, int y, int w, int h, uint32_t c)
{
    FillRect(img, x, y, w, 1, c);
    FillRect(img, x, y + h - 1, w, 1, c);
    FillRect(img, x, y, 1, h, c);
    FillRect(img, x + w - 1, y, 1, h, c);
}

void Bevel(Image &img, int x, int y, int w, int h, uint32_t light, uint32_t dark)
{
    FillRect(img, x, y, w, 1, light);
    FillRect(img, x, y, 1, h, light);
    FillRect(img, x, y + h - 1, w, 1, dark);
    FillRect(img, x + w - 1, y, 1, h, dark);
}

void Blit(Image &dst, const Image &src, int x, int y)
{
    for (int j = 0; j < src.h; j++)
        for (int i = 0; i < src.w; i++) {
            uint32_t c = src.px[(size_t)j * src.w + i];
            if (c >> 24)
                PutPx(dst, x + i, y + j, c);
        }
}

Image ScaleUp(const Image &src, int factor)
{
    Image out = MakeImage(src.w * factor, src.h * factor, CLEAR);
    for (int y = 0; y < out.h; y++)
        for (int x = 0; x < out.w; x++)
            out.px[(size_t)y * out.w + x] = src.px[(size_t)(y / factor) * src.w + x / factor];
    return out;
}
