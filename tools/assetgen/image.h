// image: the painters' canvas, 0xAARRGGBB pixels, top row first.
#pragma once
#include <cstdint>
#include <vector>

struct Image {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
};

// Fully transparent; written as the magenta key by formats without alpha.
const uint32_t CLEAR = 0x00000000u;
const uint32_t MAGENTA = 0xFFFF00FFu;

Image MakeImage(int w, int h, uint32_t fill);
uint32_t Rgb(int r, int g, int b);
// Parses "#rrggbb"; false when the text is not a colour.
bool ParseColour(const char *text, uint32_t *out);
// Linear mix of two colours, t in 0..1.
uint32_t Mix(uint32_t a, uint32_t b, double t);
// Scales red, green and blue by f, clamped.
uint32_t Shade(uint32_t c, double f);

uint32_t GetPx(const Image &img, int x, int y);
void PutPx(Image &img, int x, int y, uint32_t c);  // clipped
void FillRect(Image &img, int x, int y, int w, int h, uint32_t c);
void FrameRect(Image &img, int x, int y, int w, int h, uint32_t c);
// A raised (light top-left) or sunken (dark top-left) 1-pixel bevel.
void Bevel(Image &img, int x, int y, int w, int h, uint32_t light, uint32_t dark);
// Copies src onto dst at (x, y), skipping transparent pixels.
void Blit(Image &dst, const Image &src, int x, int y);
Image ScaleUp(const Image &src, int factor);
