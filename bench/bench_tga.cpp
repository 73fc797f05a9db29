// TGA decoding speed. The baseline copies a buffer of the decoded size, so
// each decode reads as a multiple of the cheapest possible pass over its
// output. Images: the 320x200 copier screen and the 2048x1152 bezel size.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "engine/graphics/tga.h"
#include "tests/unit/test_tga_files.h"

namespace {

// Gentle gradients with flat stretches, like the pictures the demo loads.
uint32_t sample(int x, int y)
{
    return 0xFF000000u | ((x / 7 % 256) << 16) | ((y / 5 % 256) << 8) | ((x + y) / 64 % 256);
}

TgaFile raw(int width, int height, int bpp)
{
    TgaFile f = tga(2, width, height, bpp, 0x00);  // bottom-up, the usual layout
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            bpp == 32 ? f.bgra(sample(x, y)) : f.bgr(sample(x, y));
    return f;
}

// Run-length packed 24-bit: runs of equal pixels, raw packets for the rest.
TgaFile packed(int width, int height)
{
    TgaFile f = tga(10, width, height, 24);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            pixels.push_back(sample(x, y));
    size_t i = 0;
    while (i < pixels.size()) {
        size_t run = 1;
        while (i + run < pixels.size() && run < 128 && pixels[i + run] == pixels[i])
            run++;
        if (run > 1) {
            f.u8(0x80 | (int)(run - 1)).bgr(pixels[i]);
            i += run;
            continue;
        }
        size_t n = 1;
        while (i + n < pixels.size() && n < 128 && pixels[i + n] != pixels[i + n - 1])
            n++;
        f.u8((int)(n - 1));
        for (size_t k = 0; k < n; k++)
            f.bgr(pixels[i + k]);
        i += n;
    }
    return f;
}

void decode(benchmark::State &state, const TgaFile &file)
{
    s_tgaimage image;
    for (auto _ : state) {
        if (!VXE_DecodeTGA(file.bytes.data(), file.bytes.size(), &image)) {
            state.SkipWithError(image.error);
            return;
        }
        benchmark::DoNotOptimize(image.pixels);
        VXE_FreeTGA(&image);
    }
    state.SetBytesProcessed(state.iterations() * (int64_t)file.bytes.size());
}

void BM_CopyBaseline(benchmark::State &state)
{
    size_t bytes = (size_t)state.range(0) * state.range(1) * 4;
    std::vector<unsigned char> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyBaseline)->Args({320, 200})->Args({2048, 1152});

void BM_DecodeRaw24(benchmark::State &state)
{
    decode(state, raw((int)state.range(0), (int)state.range(1), 24));
}
BENCHMARK(BM_DecodeRaw24)->Args({320, 200})->Args({2048, 1152});

void BM_DecodeRaw32(benchmark::State &state)
{
    decode(state, raw((int)state.range(0), (int)state.range(1), 32));
}
BENCHMARK(BM_DecodeRaw32)->Args({320, 200})->Args({2048, 1152});

void BM_DecodePacked24(benchmark::State &state)
{
    decode(state, packed((int)state.range(0), (int)state.range(1)));
}
BENCHMARK(BM_DecodePacked24)->Args({320, 200})->Args({2048, 1152});

}  // namespace
